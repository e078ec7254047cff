#include "app/ExportCommand.h"

#include "app/CArgumentParser.h"
#include "app/CExporter.h"
#include "app/CInterruptGuard.h"
#include "app/CStoredEncoder.h"
#include "app/CommandLine.h"
#include "app/RenderCommand.h"
#include "app/TerminalBuildObserver.h"
#include "audio/CAudioFile.h"
#include "engine/CBuild.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int64_t kMostPasses = 1000;
constexpr int64_t kLongestFadeMs = 600000;
constexpr int64_t kLowestBitRate = 8;
constexpr int64_t kHighestBitRate = 320;

struct ExportOptions {
    std::string project;
    std::string output;
    std::optional<SoundFileKind> kind;
    bool ignoreMissingSamples = false;
    EXPORT_REQUEST request;
};

CArgumentParser::TakeValue WholeIn(const char* option, int64_t least, int64_t most, int& target) {
    return [=, &target](const std::string& value) -> std::optional<std::string> {
        int64_t n = 0;
        if (!CArgumentParser::WholeNumber(value, n) || n < least || n > most)
            return std::string(option) + " takes a whole number from " + std::to_string(least) +
                   " to " + std::to_string(most) + ", not \"" + value + "\"";
        target = int(n);
        return std::nullopt;
    };
}

std::optional<std::string> ParseArguments(const std::vector<std::string>& args,
                                          ExportOptions& options) {
    EXPORT_REQUEST& request = options.request;
    int quality = 70;
    request.threads = CBuild::DefaultThreadCount();
    CArgumentParser parser(CArgumentParser::Style::Long, "--export");
    parser.Flag("--stems", request.stems)
        .Flag("--ignore-missing-samples", options.ignoreMissingSamples)
        .Value("--format",
               [&options](const std::string& value) -> std::optional<std::string> {
                   options.kind = SoundFileKindNamed(value);
                   if (!options.kind)
                       return "--format takes wav, flac, ogg, opus or mp3, not \"" + value + "\"";
                   return std::nullopt;
               })
        .Value("--output",
               [&options](const std::string& value) -> std::optional<std::string> {
                   if (value.empty())
                       return "--output needs a file or folder name";
                   options.output = value;
                   return std::nullopt;
               })
        .Value("--loop", WholeIn("--loop", 1, kMostPasses, request.loopPasses))
        .Value("--fade", WholeIn("--fade", 0, kLongestFadeMs, request.fadeMs))
        .Value("--quality", WholeIn("--quality", 0, 100, quality))
        .Value("--bitrate", WholeIn("--bitrate", kLowestBitRate, kHighestBitRate, request.bitRate))
        .Value("--threads", ThreadCountInto(request.threads))
        .Files(1, 1, "--export needs a project file", "--export takes one project file");
    if (auto refusal = parser.Parse(args))
        return refusal;
    if (!options.kind)
        return "--export needs --format wav, flac, ogg, opus or mp3";
    if (request.fadeMs > 0 && request.loopPasses == 0)
        return "--fade needs --loop";
    if (request.bitRate > 0 && options.kind != SoundFileKind::Mp3)
        return "--bitrate needs --format mp3";
    options.project = parser.FileNames()[0];
    request.kind = *options.kind;
    request.quality = quality / 100.0;
    return std::nullopt;
}

// A folder (the stems', or one that exists) takes the files; any other name is the file.
void PlaceOutput(const ExportOptions& options, EXPORT_REQUEST& request) {
    if (options.output.empty()) {
        request.folder = fs::path(options.project).parent_path().string();
        return;
    }
    std::error_code ec;
    if (request.stems || fs::is_directory(options.output, ec)) {
        request.folder = options.output;
        return;
    }
    request.folder = fs::path(options.output).parent_path().string();
    request.fileName = fs::path(options.output).filename().string();
}

} // namespace

int RunExportCommand(const std::vector<std::string>& args) {
    ExportOptions options;
    if (auto error = ParseArguments(args, options))
        return UsageError(*error);
    PlaceOutput(options, options.request);
    std::error_code ec;
    if (options.request.stems && !options.request.folder.empty())
        fs::create_directories(options.request.folder, ec);
    if (ec) {
        std::fprintf(stderr, "tsq: %s: cannot create the folder\n", options.request.folder.c_str());
        return 1;
    }
    CProject project;
    if (Result r = project.Load(options.project); !r) {
        std::fprintf(stderr, "tsq: %s\n", r.message.c_str());
        return 1;
    }
    UseDocumentsFolder();
    const CInterruptGuard guard;
    TerminalBuildObserver observer(options.project, isatty(fileno(stderr)) != 0,
                                   options.ignoreMissingSamples);
    CAudioFile loader;
    CExporter exporter(observer, loader, CInterruptGuard::Flag());
    std::optional<CStoredEncoder> encoder;
    if (options.request.kind == SoundFileKind::Mp3) {
        if (!encoder.emplace().Encode().IsAvailable()) {
            std::fprintf(stderr, "エンコーダが見つかりません。\n");
            return 1;
        }
        exporter.UseEncoder(&encoder->Encode());
    }
    const EXPORT_OUTCOME outcome = exporter.Export(project, options.project, options.request);
    for (const std::string& file : outcome.files)
        std::printf("%s\n", file.c_str());
    return ExitStatus(outcome.status, outcome.message, "no file was left half-written");
}
