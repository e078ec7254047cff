// `tsq --presets` and `tsq --apply-preset`, run as the built program with a preset folder
// of the test's own: what they print and write, what they leave alone, and their exit
// status for success (0), failure (1) and usage errors (2).

#include "../presets/PresetTestSupport.h"
#include "ProgramRunner.h"

#include "model/CProject.h"
#include "presets/CPresetLibrary.h"
#include "presets/PresetFolders.h"

#include <gtest/gtest.h>

#include <set>

using namespace presettest;

namespace {

const std::string kTsq = std::string(TSQ_BINARY_DIR) + "/tsq";

class PresetCommand : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        user = presetfolders::User((dir / "data").c_str(), nullptr);
    }

    // Runs tsq with the test's own user preset folder; keeps stdout and stderr.
    int Run(const std::vector<std::string>& args) {
        const int status =
            RunProgram("XDG_DATA_HOME='" + (dir / "data").string() + "' '" + kTsq + "'", args,
                       File("stderr.txt"), errors, File("stdout.txt"));
        output = ReadText(File("stdout.txt"));
        return status;
    }

    void WritePreset(const std::string& key, const std::string& text) {
        WriteText(user / (key + ".json"), text);
    }

    // Two tracks: "Lead" with three notes in the first second, "Drums" (muted) with two in
    // the fourth.
    std::string SaveSong(const std::string& name) {
        CProject p;
        p.Reset();
        p.tracks[0].settings.name = "Lead";
        p.InsertTrack(1);
        p.tracks[1].settings.name = "Drums";
        p.tracks[1].settings.mute = 1;
        for (int i = 0; i < 3; ++i)
            p.tracks[0].AddNote(Note(i * 240, 240, 40 + i));
        for (int i = 0; i < 2; ++i)
            p.tracks[1].AddNote(Note(2880 + i * 240, 120, 70));
        const std::string path = File(name);
        EXPECT_TRUE(p.Save(path));
        return path;
    }

    static CNote Note(int32_t position, int32_t length, int32_t key) {
        CNote n;
        n.position = position;
        n.length = length;
        n.key = key;
        return n;
    }

    fs::path user;
    std::string errors;
    std::string output;
};

std::multiset<std::pair<int32_t, int32_t>> Positions(const CTrack& track) {
    std::multiset<std::pair<int32_t, int32_t>> notes;
    track.ForEachNote([&notes](const CNote* n) { notes.insert({n->position, n->key}); });
    return notes;
}

CPreset FactoryPreset(const std::string& key) {
    const CPresetLibrary library(presetfolders::Factory(TSQ_BINARY_DIR), fs::path());
    CPreset preset;
    EXPECT_TRUE(library.Load(*library.Find(key), preset)) << key;
    return preset;
}

} // namespace

TEST_F(PresetCommand, ListsTheFactoryAndTheUsersPresetsOneALine) {
    WritePreset("Mine/Warm", "{}");
    WritePreset("リード/矩形波リード 25%", "{}");
    ASSERT_EQ(Run({"--presets"}), 0) << errors;
    EXPECT_EQ(errors, "");
    std::string expected;
    const CPresetLibrary library(presetfolders::Factory(TSQ_BINARY_DIR), user);
    for (const PRESET_ENTRY& e : library.List())
        expected += e.Key() + "\n";
    EXPECT_EQ(output, expected);
    EXPECT_NE(output.find("\nMine/Warm\n"), std::string::npos);
    EXPECT_EQ(library.List().size(), CPresetLibrary(library.FactoryFolder(), {}).List().size() + 1)
        << "the user's preset of a factory name stands in for it";
    EXPECT_EQ(Run({"--presets", "extra"}), 2);
}

TEST_F(PresetCommand, AppliesTheSoundToOneTrackKeepingItsNameNotesAndMute) {
    const std::string in = SaveSong("song.tqp");
    const std::string out = File("out.tqp");
    ASSERT_EQ(Run({"--apply-preset", "FM/FMベル", "--track", "2", in, out}), 0) << errors;
    EXPECT_EQ(errors, "");
    CProject before, after;
    ASSERT_TRUE(before.Load(in));
    ASSERT_TRUE(after.Load(out));
    const CTrackData& drums = after.tracks[1].settings;
    EXPECT_TRUE(CPreset::SoundOf(drums) == FactoryPreset("FM/FMベル").sound);
    EXPECT_EQ(drums.name, "Drums");
    EXPECT_EQ(drums.mute, 1);
    for (size_t t = 0; t < 2; ++t)
        EXPECT_EQ(Positions(after.tracks[t]), Positions(before.tracks[t])) << t;
    EXPECT_TRUE(after.tracks[0].settings == before.tracks[0].settings);

    // The sample of a PCM preset is named by its full path in the factory library.
    ASSERT_EQ(Run({"--apply-preset", "PCMドラム/PCMキック", "--track", "1", out, out}), 0)
        << errors;
    ASSERT_TRUE(after.Load(out));
    const fs::path sample = after.tracks[0].settings.pcm.fileName;
    EXPECT_TRUE(sample.is_absolute());
    EXPECT_TRUE(fs::is_regular_file(sample)) << sample;
    EXPECT_EQ(after.tracks[0].settings.name, "Lead");
}

TEST_F(PresetCommand, UsageErrorsExitWithTwo) {
    const std::string in = SaveSong("song.tqp");
    const std::string out = File("out.tqp");
    const std::vector<std::vector<std::string>> cases = {
        {"--apply-preset"},
        {"--apply-preset", "FM/FMベル", in, out},
        {"--apply-preset", "FM/FMベル", "--track", "0", in, out},
        {"--apply-preset", "FM/FMベル", "--track", "two", in, out},
        {"--apply-preset", "FM/FMベル", "--track", "1x", in, out},
        {"--apply-preset", "FM/FMベル", in, out, "--track"},
        {"--apply-preset", "FM/FMベル", "--track", "1", "--force", in, out},
        {"--apply-preset", "FM/FMベル", "--track", "1", in},
        {"--apply-preset", "FM/FMベル", "--track", "1", in, out, out},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(Run(args), 2) << args.size();
        EXPECT_NE(errors.find("Usage:"), std::string::npos) << errors;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(PresetCommand, FailuresExitWithOneSayWhyAndWriteNothing) {
    const std::string in = SaveSong("song.tqp");
    const std::string out = File("out.tqp");
    WritePreset("Mine/Loud", R"({"volume":5000})");
    struct CASE {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--apply-preset", "FM/None", "--track", "1", in, out},
         "tsq: no preset \"FM/None\" (tsq --presets lists them)\n"},
        {{"--apply-preset", "FM/FMベル", "--track", "3", in, out},
         "tsq: " + in + ": has 2 tracks, no track 3\n"},
        {{"--apply-preset", "FM/FMベル", "--track", "1", File("missing.tqp"), out},
         "tsq: " + File("missing.tqp") + ": cannot open: No such file or directory\n"},
        {{"--apply-preset", "Mine/Loud", "--track", "1", in, out},
         "tsq: " + (user / "Mine" / "Loud.json").string() +
             ": volume: 5000 is out of range (0..1023)\n"},
        {{"--apply-preset", "FM/FMベル", "--track", "1", in, File("no/such/folder/out.tqp")}, ""},
    };
    for (const CASE& c : cases) {
        EXPECT_EQ(Run(c.args), 1) << c.args[1];
        if (!c.message.empty()) {
            EXPECT_EQ(errors, c.message);
        }
        EXPECT_NE(errors.find("tsq: "), std::string::npos);
        EXPECT_FALSE(fs::exists(out));
    }
}

// A render after the change must not keep the WAV file's old sound of the track.
TEST_F(PresetCommand, FlagsTheTracksSecondsInTheBuildInfoBesideTheSong) {
    const std::string song = SaveSong("song.tqp");
    const std::string buildInfo = File("song.tqb");
    ASSERT_TRUE(CProject::SaveBuildInfo(buildInfo, CProjectModified(6, 0)));
    ASSERT_EQ(Run({"--apply-preset", "ドラム/スネア", "--track", "2", song, song}), 0) << errors;
    CProjectModified unbuilt;
    ASSERT_TRUE(CProject::LoadBuildInfo(buildInfo, unbuilt));
    EXPECT_EQ(unbuilt, (CProjectModified{0, 0, 0, 1, 0, 0}))
        << "the drums play from 3 s to 3.375 s at 120 BPM";

    // Written over another song, every second of that song's WAV file is stale.
    const std::string other = SaveSong("other.tqp");
    ASSERT_TRUE(CProject::SaveBuildInfo(File("other.tqb"), CProjectModified(6, 0)));
    ASSERT_EQ(Run({"--apply-preset", "ドラム/スネア", "--track", "2", song, other}), 0) << errors;
    ASSERT_TRUE(CProject::LoadBuildInfo(File("other.tqb"), unbuilt));
    EXPECT_EQ(unbuilt, CProjectModified(4, 1));
}
