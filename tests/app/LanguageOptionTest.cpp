// "--lang" on the editor's command line: a bad value is a usage error, told before any
// window or display is needed.

#include "../support/TempFolderTest.h"
#include "ProgramRunner.h"

#include <gtest/gtest.h>

namespace {

const std::string kTsq = std::string(TSQ_BINARY_DIR) + "/tsq";

class LanguageOption : public TempFolderTest {};

TEST_F(LanguageOption, BadValueIsAUsageErrorWithoutADisplay) {
    const std::vector<std::vector<std::string>> cases = {
        {"--lang"}, {"--lang", "fr"}, {"song.tqp", "--lang", "auto"}, {"--lang", "EN"}};
    for (const auto& args : cases) {
        std::string errors;
        const int status =
            RunProgram("QT_QPA_PLATFORM=none DISPLAY= WAYLAND_DISPLAY= '" + kTsq + "'", args,
                       File("stderr.txt"), errors);
        EXPECT_EQ(status, 2) << args.back();
        EXPECT_NE(errors.find("tsq: --lang takes ja or en"), std::string::npos) << errors;
        EXPECT_NE(errors.find("Usage:"), std::string::npos) << errors;
    }
}

} // namespace
