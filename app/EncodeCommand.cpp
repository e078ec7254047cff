#include "app/EncodeCommand.h"

#include "app/CArgumentParser.h"
#include "app/CInterruptGuard.h"
#include "app/CStoredEncoder.h"
#include "app/CommandLine.h"
#include "app/RenderCommand.h"

#include <QFileInfo>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace {

constexpr int kLowestBitRate = 8;
constexpr int kHighestBitRate = 320;

struct EncodeOptions {
    std::string project;
    std::optional<int> bitRate;
};

std::optional<std::string> ParseArguments(const std::vector<std::string>& args,
                                          EncodeOptions& options) {
    CArgumentParser parser(CArgumentParser::Style::Long, "--encode");
    parser
        .Value("--bitrate",
               [&options](const std::string& value) -> std::optional<std::string> {
                   int64_t rate = 0;
                   if (!CArgumentParser::WholeNumber(value, rate) || rate < kLowestBitRate ||
                       rate > kHighestBitRate)
                       return "--bitrate takes kilobits per second from 8 to 320, not \"" + value +
                              "\"";
                   options.bitRate = int(rate);
                   return std::nullopt;
               })
        .Files(1, 1, "--encode needs a project file", "--encode takes one project file");
    if (auto refusal = parser.Parse(args))
        return refusal;
    options.project = parser.FileNames()[0];
    return std::nullopt;
}

// Rewrites one terminal line; prints nothing when stderr is not a terminal.
class ProgressLine {
public:
    ProgressLine() : m_terminal(isatty(fileno(stderr)) != 0) {}
    void Show(double fraction) {
        const int percent = int(fraction * 100);
        if (!m_terminal || percent == m_shown)
            return;
        m_shown = percent;
        std::fprintf(stderr, "\rencoding: %3d%%", percent);
        std::fflush(stderr);
    }
    void End() {
        if (m_terminal && m_shown >= 0)
            std::fprintf(stderr, "\n");
    }

private:
    bool m_terminal;
    int m_shown = -1;
};

} // namespace

int RunEncodeCommand(const std::vector<std::string>& args) {
    EncodeOptions options;
    if (auto error = ParseArguments(args, options))
        return UsageError(*error);
    if (const int built = RunRenderCommand({options.project}); built != 0)
        return built;
    const std::string wav =
        std::filesystem::path(options.project).replace_extension(".wav").string();
    const QString wavPath = QString::fromStdString(wav);
    if (!QFileInfo(wavPath).isFile()) {
        std::fprintf(stderr, "tsq: %s was not built\n", wav.c_str());
        return 1;
    }
    CStoredEncoder stored;
    CEncode& encode = stored.Encode();
    if (!encode.IsAvailable()) {
        std::fprintf(stderr, "エンコーダが見つかりません。\n");
        return 1;
    }
    if (options.bitRate)
        encode.SetBitRate(*options.bitRate);
    ProgressLine line;
    const CInterruptGuard guard;
    const Result result = encode.Encode(wavPath, [&line](double fraction) {
        line.Show(fraction);
        return !CInterruptGuard::Interrupted();
    });
    line.End();
    if (CInterruptGuard::Interrupted()) {
        std::fprintf(stderr, "tsq: cancelled; the MP3 file holds the part encoded so far\n");
        return 130;
    }
    if (!result) {
        std::fprintf(stderr, "tsq: %s\n", result.message.c_str());
        return 1;
    }
    std::printf("%s\n", CEncode::OutputPath(wavPath).toStdString().c_str());
    return 0;
}
