#include "app/RenderCommand.h"

#include "app/CArgumentParser.h"
#include "app/CInterruptGuard.h"
#include "app/CommandLine.h"
#include "app/TerminalBuildObserver.h"
#include "engine/CBuild.h"
#include "model/CProject.h"
#include "model/ISampleLoader.h"

#ifdef TSQ_HAVE_AUDIO
#include "audio/CAudioFile.h"

#include <QStandardPaths>
#endif

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct RenderOptions {
    std::string project;
    std::string output;
    bool rebuild = false;
    bool ignoreMissingSamples = false;
    int64_t threads = CBuild::DefaultThreadCount();
};

#ifdef TSQ_HAVE_AUDIO
using SampleLoader = CAudioFile;
#else
// Without the audio library no sample file can be decoded.
class SampleLoader : public ISampleLoader {
public:
    bool LoadSample(const std::string&, std::vector<uint8_t>&, WAVE_FORMAT&) override {
        return false;
    }
};
#endif

// Returns a usage error, or nothing when the arguments are complete.
std::optional<std::string> ParseArguments(const std::vector<std::string>& args,
                                          RenderOptions& options) {
    CArgumentParser parser(CArgumentParser::Style::Long, "--render");
    parser.Flag("--rebuild", options.rebuild)
        .Flag("--ignore-missing-samples", options.ignoreMissingSamples)
        .Value("--output",
               [&options](const std::string& value) -> std::optional<std::string> {
                   if (value.empty())
                       return "--output needs a file name";
                   options.output = value;
                   return std::nullopt;
               })
        .Value("--threads", ThreadCountInto(options.threads))
        .Files(1, 1, "--render needs a project file", "--render takes one project file");
    if (auto refusal = parser.Parse(args))
        return refusal;
    options.project = parser.FileNames()[0];
    return std::nullopt;
}

std::string WithExtension(const std::string& path, const char* extension) {
    return fs::path(path).replace_extension(extension).string();
}

bool SamePath(const std::string& a, const std::string& b) {
    std::error_code ec1;
    std::error_code ec2;
    const fs::path ca = fs::weakly_canonical(fs::absolute(a), ec1);
    const fs::path cb = fs::weakly_canonical(fs::absolute(b), ec2);
    return !ec1 && !ec2 && ca == cb;
}

bool CanRead(const std::string& path) {
    return std::ifstream(path, std::ios::binary).is_open();
}

// What the editor's Open assumes without a ".tqb": the WAV is current when both files can
// be read and the project is not newer than the WAV.
bool WavIsCurrent(const std::string& project, const std::string& wav) {
    if (!CanRead(project) || !CanRead(wav))
        return false;
    std::error_code ec1;
    std::error_code ec2;
    const auto projectTime = fs::last_write_time(project, ec1);
    const auto wavTime = fs::last_write_time(wav, ec2);
    return !ec1 && !ec2 && projectTime <= wavTime;
}

void DeriveUnbuiltSet(const CProject& project, const std::string& projectPath,
                      const std::string& wav, CProjectModified& map) {
    const int32_t flag = WavIsCurrent(projectPath, wav) ? 0 : 1;
    const double seconds = std::ceil(std::min(project.GetLength(), 7.0 * 24 * 3600));
    map.assign(size_t(seconds), flag);
}

} // namespace

CArgumentParser::TakeValue ThreadCountInto(int64_t& threads) {
    return [&threads](const std::string& value) -> std::optional<std::string> {
        int64_t n = 0;
        if (!CArgumentParser::WholeNumber(value, n) || n < 1)
            return "--threads takes a whole number of at least 1, not \"" + value + "\"";
        threads = CBuild::ClampThreadCount(n);
        return std::nullopt;
    };
}

int ExitStatus(BuildStatus status, const std::string& message, const char* cancelled) {
    switch (status) {
    case BuildStatus::Complete:
        return 0;
    case BuildStatus::Cancelled:
        std::fprintf(stderr, "tsq: cancelled; %s\n", cancelled);
        return 130;
    case BuildStatus::Failed:
        break;
    }
    std::fprintf(stderr, "tsq: %s\n", message.c_str());
    return 1;
}

void UseDocumentsFolder() {
    if (!CPCM::DocumentsFolder().empty())
        return;
#ifdef TSQ_HAVE_AUDIO
    CPCM::SetDocumentsFolder(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
#else
    if (const char* home = std::getenv("HOME"))
        CPCM::SetDocumentsFolder(std::string(home) + "/Documents");
#endif
}

int RunRenderCommand(const std::vector<std::string>& args) {
    RenderOptions options;
    if (auto error = ParseArguments(args, options))
        return UsageError(*error);
    const std::string defaultWav = WithExtension(options.project, ".wav");
    const std::string wav = options.output.empty() ? defaultWav : options.output;
    // The ".tqb" describes the WAV file beside the project; another output gets no memory
    // of its own and is judged by its file time alone.
    const bool useBuildInfo = SamePath(wav, defaultWav);
    const std::string buildInfo = WithExtension(options.project, ".tqb");

    CProject project;
    if (Result r = project.Load(options.project); !r) {
        std::fprintf(stderr, "tsq: %s\n", r.message.c_str());
        return 1;
    }
    UseDocumentsFolder();
    CProjectModified unbuilt;
    if (!useBuildInfo || !CProject::LoadBuildInfo(buildInfo, unbuilt))
        DeriveUnbuiltSet(project, options.project, wav, unbuilt);
    project.PrepareBuild(unbuilt, options.rebuild);

    const CInterruptGuard guard;
    TerminalBuildObserver observer(wav, isatty(fileno(stderr)) != 0, options.ignoreMissingSamples);
    SampleLoader loader;
    CBuild build(observer, loader, options.threads, CInterruptGuard::Flag());
    const BuildOutcome outcome = build.Build(wav, project, unbuilt, options.rebuild);
    if (useBuildInfo) {
        if (Result r = CProject::SaveBuildInfo(buildInfo, unbuilt); !r)
            std::fprintf(stderr, "tsq: warning: %s\n", r.message.c_str());
    }
    return ExitStatus(outcome.status, outcome.message, "the rest is rendered by the next --render");
}
