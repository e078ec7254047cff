# Shared settings for the project's own targets.

function(tsq_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(TSQ_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# tsq_include_root(target scope): headers of the calling folder are included from the
# repository root ("model/CNote.h"), but a library must see only the folders of what it
# links. So each library gets an include root of its own in the build folder that holds a
# single link to its source folder, and nothing includes a layer it does not link.
function(tsq_include_root target scope)
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    get_filename_component(parent ${root}/${rel} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${rel} SYMBOLIC)
    target_include_directories(${target} ${scope} ${root})
endfunction()

# tsq_library(name SOURCES ... LIBS ...): a static library over the calling folder.
function(tsq_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    tsq_include_root(${name} PUBLIC)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    tsq_warnings(${name})
endfunction()

# tsq_test(name SOURCES ... LIBS ...): a GoogleTest or QTest executable run by ctest.
function(tsq_test name)
    cmake_parse_arguments(ARG "QTEST" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE
        TSQ_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
        TSQ_BINARY_DIR="${CMAKE_BINARY_DIR}")
    tsq_warnings(${name})
    if(ARG_QTEST)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES ENVIRONMENT
            "QT_QPA_PLATFORM=offscreen;TSQ_AUDIO_DEVICE=null")
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
        include(GoogleTest)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
            PROPERTIES ENVIRONMENT "TSQ_AUDIO_DEVICE=null;QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()

# tsq_fuzz(name SOURCES ... LIBS ... CORPUS dir): a libFuzzer entry point. Its seed corpus
# always replays as a ctest test through a small driver; with TSQ_FUZZ on a clang build
# also produces the real fuzzer binary <name>_fuzzer.
function(tsq_fuzz name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    add_executable(${name}_replay ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
    set_target_properties(${name}_replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
    tsq_warnings(${name}_replay)
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${ARG_CORPUS})
    if(TSQ_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        add_executable(${name}_fuzzer ${ARG_SOURCES})
        target_compile_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_libraries(${name}_fuzzer PRIVATE ${ARG_LIBS})
    endif()
endfunction()
