#pragma once
// A test case with an empty folder of its own, named after the suite and the case so that
// cases running in parallel never share one, and removed when the case ends.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              (std::string("tsq_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }

    std::string File(const std::string& name) const { return (dir / name).string(); }

    std::filesystem::path dir;
};
