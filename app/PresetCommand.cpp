#include "app/PresetCommand.h"

#include "app/CArgumentParser.h"
#include "app/CommandLine.h"
#include "model/CProject.h"
#include "presets/CPresetLibrary.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

struct APPLY_OPTIONS {
    std::string preset;
    std::string in;
    std::string out;
    int64_t track = 0; // from 1
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "tsq: %s\n", message.c_str());
    return 1;
}

int ListPresets(const std::vector<std::string>& args) {
    if (!args.empty())
        return UsageError("--presets takes no arguments");
    for (const PRESET_ENTRY& entry : CPresetLibrary::OfThisProgram().List())
        std::cout << entry.Key() << '\n';
    std::cout.flush();
    return std::cout.good() ? 0 : Fail("cannot write to standard output");
}

// Returns a usage error, or nullopt when the arguments are complete.
std::optional<std::string> ParseApply(const std::vector<std::string>& args, APPLY_OPTIONS& o) {
    const std::string usage = "--apply-preset takes CATEGORY/NAME --track N IN.tqp OUT.tqp";
    CArgumentParser parser(CArgumentParser::Style::Long, "--apply-preset");
    parser
        .Value("--track",
               [&o](const std::string& text) -> std::optional<std::string> {
                   if (!CArgumentParser::WholeNumber(text, o.track) || o.track < 1)
                       return "--track takes a track number from 1, not \"" + text + "\"";
                   return std::nullopt;
               })
        .Files(3, 3, usage, usage);
    if (auto refusal = parser.Parse(args))
        return refusal;
    if (o.track == 0)
        return usage;
    o.preset = parser.FileNames()[0];
    o.in = parser.FileNames()[1];
    o.out = parser.FileNames()[2];
    return std::nullopt;
}

// The ".tqb" beside OUT tells a later --render what its WAV file holds. Over the song
// itself only the track's seconds are stale; over another song every second is.
Result MarkUnbuilt(const APPLY_OPTIONS& o, CProject& project, const CTrack& track) {
    const std::string buildInfo = fs::path(o.out).replace_extension(".tqb").string();
    std::error_code error;
    if (!fs::exists(buildInfo, error))
        return Result::Ok();
    CProjectModified unbuilt;
    project.changed.clear();
    if (fs::equivalent(o.in, o.out, error) && CProject::LoadBuildInfo(buildInfo, unbuilt))
        project.SetTrackModified(track);
    else
        project.SetAllModified();
    CProject::Merge(unbuilt, project.changed);
    return CProject::SaveBuildInfo(buildInfo, unbuilt);
}

int ApplyPreset(const std::vector<std::string>& args) {
    APPLY_OPTIONS o;
    if (auto error = ParseApply(args, o))
        return UsageError(*error);
    const CPresetLibrary library = CPresetLibrary::OfThisProgram();
    const std::optional<PRESET_ENTRY> entry = library.Find(o.preset);
    if (!entry)
        return Fail("no preset \"" + o.preset + "\" (tsq --presets lists them)");
    CPreset preset;
    if (Result r = library.Load(*entry, preset); !r)
        return Fail(r.message);
    CProject project;
    if (Result r = project.Import(o.in); !r)
        return Fail(r.message);
    if (o.track > static_cast<int64_t>(project.tracks.size()))
        return Fail(o.in + ": has " + std::to_string(project.tracks.size()) + " tracks, no track " +
                    std::to_string(o.track));
    CTrack& track = project.tracks[static_cast<size_t>(o.track - 1)];
    track.settings = preset.AppliedTo(track.settings);
    if (Result r = project.Save(o.out); !r)
        return Fail(r.message);
    if (Result r = MarkUnbuilt(o, project, track); !r)
        std::fprintf(stderr, "tsq: warning: %s\n", r.message.c_str());
    return 0;
}

} // namespace

std::optional<int> RunPresetCommand(const std::string& mode, const std::vector<std::string>& args) {
    if (mode == "--presets")
        return ListPresets(args);
    if (mode == "--apply-preset")
        return ApplyPreset(args);
    return std::nullopt;
}
