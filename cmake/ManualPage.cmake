# Turns the chapters of one language of the manual into one HTML page: the chapters are
# joined in order, converted by cmark-gfm (tables included), every second-level heading gets
# an anchor and an entry in the table of contents, and the page template wraps the result.
#
# cmake -DCMARK=<cmark-gfm> -DTEMPLATE=<page.html> -DOUTPUT=<index.html> -DTITLE=<text>
#       -DCONTENTS=<heading of the contents> -DCHAPTERS=<a.md|b.md|...> -P ManualPage.cmake

cmake_minimum_required(VERSION 3.25)

foreach(required CMARK TEMPLATE OUTPUT TITLE CONTENTS CHAPTERS)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "ManualPage.cmake needs -D${required}=...")
    endif()
endforeach()

get_filename_component(out_dir ${OUTPUT} DIRECTORY)
set(joined ${out_dir}/manual.md)
file(WRITE ${joined} "")
string(REPLACE "|" ";" chapters "${CHAPTERS}")
foreach(chapter ${chapters})
    file(READ ${chapter} text)
    file(APPEND ${joined} "${text}\n")
endforeach()

execute_process(COMMAND ${CMARK} --extension table --unsafe ${joined}
                OUTPUT_VARIABLE body RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cmark-gfm could not convert ${joined}")
endif()

# Headings come out of cmark-gfm one to a line as <h2>...</h2>; each gets id="sN".
set(page "")
set(toc "")
set(number 0)
while(TRUE)
    string(FIND "${body}" "<h2>" start)
    if(start EQUAL -1)
        break()
    endif()
    string(SUBSTRING "${body}" 0 ${start} before)
    math(EXPR after_tag "${start} + 4")
    string(SUBSTRING "${body}" ${after_tag} -1 body)
    string(FIND "${body}" "</h2>" end)
    string(SUBSTRING "${body}" 0 ${end} heading)
    math(EXPR number "${number} + 1")
    string(APPEND page "${before}<h2 id=\"s${number}\">")
    string(REGEX REPLACE "<[^>]*>" "" plain "${heading}")
    string(APPEND toc "<li><a href=\"#s${number}\">${plain}</a></li>\n")
endwhile()
string(APPEND page "${body}")

file(READ ${TEMPLATE} html)
string(REPLACE "@TITLE@" "${TITLE}" html "${html}")
string(REPLACE "@CONTENTS@" "${CONTENTS}" html "${html}")
string(REPLACE "@TOC@" "${toc}" html "${html}")
string(REPLACE "@BODY@" "${page}" html "${html}")
file(WRITE ${OUTPUT} "${html}")
file(REMOVE ${joined})
