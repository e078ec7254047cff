#include "app/CommandLine.h"

#include "app/CArgumentParser.h"
#include "app/PresetCommand.h"
#include "app/ProjectJson.h"
#include "app/RenderCommand.h"
#ifdef TSQ_HAVE_AUDIO
#include "app/EncodeCommand.h"
#include "app/ExportCommand.h"
#endif
#include "model/CProject.h"
#include "model/FileIO.h"

#include <cctype>
#include <cstdio>
#include <iostream>

namespace {

constexpr size_t kMaxJsonFile = size_t{256} << 20;

int Fail(const std::string& message) {
    std::fprintf(stderr, "tsq: %s\n", message.c_str());
    return 1;
}

// A project, MIDI file or (for conversion) JSON file, read into `project`.
Result ReadSong(const std::string& path, CProject& project, bool allowJson) {
    std::vector<uint8_t> head;
    if (allowJson && ReadFileHead(path, head, 64)) {
        size_t i = 0;
        while (i < head.size() && std::isspace(head[i]))
            ++i;
        if (i < head.size() && head[i] == '{') {
            std::vector<uint8_t> bytes;
            if (Result r = ReadWholeFile(path, bytes, kMaxJsonFile); !r)
                return Result::Fail(path + ": " + r.message);
            Result r = ProjectFromJson(
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                project);
            if (!r)
                r.message = path + ": " + r.message;
            return r;
        }
    }
    return project.Import(path);
}

// The file names of a mode that takes exactly `count` of them and no options; false after
// reporting a usage error.
bool ReadFileNames(const std::vector<std::string>& words, size_t count, const std::string& usage,
                   std::vector<std::string>& files) {
    CArgumentParser parser(CArgumentParser::Style::Plain);
    parser.Files(count, count, usage, usage);
    if (auto refusal = parser.Parse(words)) {
        UsageError(*refusal);
        return false;
    }
    files = parser.FileNames();
    return true;
}

int Dump(const std::vector<std::string>& words) {
    std::vector<std::string> a;
    if (!ReadFileNames(words, 1, "--dump takes one file", a))
        return 2;
    CProject project;
    if (Result r = ReadSong(a[0], project, false); !r)
        return Fail(r.message);
    std::cout << ProjectToJson(project);
    return std::cout.good() ? 0 : Fail("cannot write to standard output");
}

int Convert(const std::vector<std::string>& words) {
    std::vector<std::string> a;
    if (!ReadFileNames(words, 2, "--convert takes an input file and an output .tqp file", a))
        return 2;
    CProject project;
    if (Result r = ReadSong(a[0], project, true); !r)
        return Fail(r.message);
    if (Result r = project.Save(a[1]); !r)
        return Fail(r.message);
    return 0;
}

int ExportMidi(const std::vector<std::string>& words) {
    std::vector<std::string> a;
    if (!ReadFileNames(words, 2, "--export-midi takes a project file and an output .mid file", a))
        return 2;
    CProject project;
    if (Result r = project.Import(a[0]); !r)
        return Fail(r.message);
    if (Result r = project.ExportMidi(a[1]); !r)
        return Fail(r.message);
    return 0;
}

} // namespace

int UsageError(const std::string& message) {
    std::fprintf(stderr, "tsq: %s\n", message.c_str());
    PrintUsage(true);
    return 2;
}

void PrintUsage(bool toError) {
    std::FILE* out = toError ? stderr : stdout;
    std::fprintf(out, "Usage: tsq [--lang ja|en] [FILE.tqp]  start the editor\n"
                      "       tsq --dump FILE                print a project or MIDI file as JSON\n"
                      "       tsq --convert IN OUT.tqp       write a project from a project, MIDI\n"
                      "                                      or JSON file\n"
                      "       tsq --export-midi IN.tqp OUT.mid\n"
                      "       tsq --render FILE.tqp [--output OUT.wav] [--rebuild] [--threads N]\n"
                      "                             [--ignore-missing-samples]\n"
                      "       tsq --encode FILE.tqp [--bitrate N]\n"
                      "       tsq --export FILE.tqp --format wav|flac|ogg|opus|mp3 [--stems]\n"
                      "                             [--loop N [--fade MS]] [--quality 0-100]\n"
                      "                             [--bitrate N]\n"
                      "                             [--output PATH] [--threads N]\n"
                      "                             [--ignore-missing-samples]\n"
                      "       tsq --presets                  list the sound presets\n"
                      "       tsq --apply-preset CATEGORY/NAME --track N IN.tqp OUT.tqp\n"
                      "       tsq --help\n");
}

std::optional<int> RunCommandLine(const std::vector<std::string>& args) {
    // "--lang" belongs to the editor's own line.
    if (args.empty() || args[0].rfind("--", 0) != 0 || args[0] == "--lang")
        return std::nullopt;
    const std::string& mode = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (mode == "--help") {
        PrintUsage(false);
        return 0;
    }
    if (mode == "--dump")
        return Dump(rest);
    if (mode == "--convert")
        return Convert(rest);
    if (mode == "--export-midi")
        return ExportMidi(rest);
    if (mode == "--render")
        return RunRenderCommand(rest);
    if (std::optional<int> status = RunPresetCommand(mode, rest))
        return status;
#ifdef TSQ_HAVE_AUDIO
    if (mode == "--encode")
        return RunEncodeCommand(rest);
    if (mode == "--export")
        return RunExportCommand(rest);
#endif
    return UsageError("unknown option " + mode);
}
