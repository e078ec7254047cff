// `tsq --render`, run as the built program: what it writes, what it remembers in the
// ".tqb" file, and its exit status for success (0), failure (1), usage errors (2) and
// Ctrl+C (130).

#include "ProgramRunner.h"
#include "model/CProject.h"

#include "../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string kTsq = std::string(TSQ_BINARY_DIR) + "/tsq";

class RenderCommand : public TempFolderTest {
protected:
    // Runs tsq with the arguments (each quoted); returns its exit status and keeps stderr.
    int Run(const std::vector<std::string>& args) {
        return RunProgram("'" + kTsq + "'", args, File("stderr.txt"), errors);
    }

    // A song of `seconds` seconds, one note a second, at 8000 Hz mono.
    std::string SaveSong(const std::string& name, int seconds, int tracks = 1) {
        CProject p;
        p.Reset();
        p.data.channels = 1;
        p.data.samplesPerSec = 8000;
        p.data.startDummy = 100;
        p.data.endDummy = 100;
        for (int t = 1; t < tracks; ++t)
            p.InsertTrack(t);
        for (CTrack& track : p.tracks)
            for (int s = 0; s < seconds; ++s) {
                CNote n;
                n.position = s * 960 + 240; // 120 BPM: 960 ticks a second
                n.length = 480;
                n.key = 40 + s % 12;
                track.AddNote(n);
            }
        if (!sample.empty()) {
            p.tracks[0].settings.waveform = kPcm;
            p.tracks[0].settings.pcm.fileName = sample;
        }
        const std::string path = File(name);
        EXPECT_TRUE(p.Save(path));
        return path;
    }

    std::string errors;
    std::string sample;
};

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}

void SetTime(const std::string& path, fs::file_time_type::duration offset) {
    fs::last_write_time(path, fs::file_time_type::clock::now() + offset);
}

} // namespace

TEST_F(RenderCommand, RendersBesideTheProjectAndRemembersWhatIsBuilt) {
    const std::string project = SaveSong("song.tqp", 3);
    ASSERT_EQ(Run({"--render", project}), 0) << errors;
    EXPECT_EQ(errors, "") << "no progress line when stderr is not a terminal";
    const auto wav = ReadBytes(File("song.wav"));
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(U32At(wav, 4), wav.size() - 8);
    CProjectModified unbuilt;
    ASSERT_TRUE(CProject::LoadBuildInfo(File("song.tqb"), unbuilt));
    EXPECT_EQ(unbuilt, (CProjectModified{0, 0, 0}));

    // Nothing changed: the WAV file is not touched.
    SetTime(File("song.wav"), -std::chrono::hours(1));
    const auto time = fs::last_write_time(File("song.wav"));
    ASSERT_EQ(Run({"--render", project}), 0) << errors;
    EXPECT_EQ(fs::last_write_time(File("song.wav")), time);

    // --rebuild renders everything again, the same on any number of threads.
    ASSERT_EQ(Run({"--render", project, "--rebuild", "--threads", "3"}), 0) << errors;
    EXPECT_NE(fs::last_write_time(File("song.wav")), time);
    EXPECT_EQ(ReadBytes(File("song.wav")), wav);
}

TEST_F(RenderCommand, WithoutBuildInfoFileTimesDecide) {
    const std::string project = SaveSong("song.tqp", 2);
    ASSERT_EQ(Run({"--render", project}), 0) << errors;
    fs::remove(File("song.tqb"));

    // The WAV file is newer than the project: taken as current.
    SetTime(project, -std::chrono::hours(2));
    SetTime(File("song.wav"), -std::chrono::hours(1));
    const auto time = fs::last_write_time(File("song.wav"));
    ASSERT_EQ(Run({"--render", project}), 0) << errors;
    EXPECT_EQ(fs::last_write_time(File("song.wav")), time);
    EXPECT_TRUE(fs::exists(File("song.tqb")));

    // The project is newer: everything is rendered.
    fs::remove(File("song.tqb"));
    SetTime(project, std::chrono::seconds(0));
    ASSERT_EQ(Run({"--render", project}), 0) << errors;
    EXPECT_NE(fs::last_write_time(File("song.wav")), time);
}

TEST_F(RenderCommand, OtherOutputLeavesTheProjectsBuildInfoAlone) {
    const std::string project = SaveSong("song.tqp", 2);
    ASSERT_EQ(Run({"--render", project, "--output", File("elsewhere.wav")}), 0) << errors;
    EXPECT_TRUE(fs::exists(File("elsewhere.wav")));
    EXPECT_FALSE(fs::exists(File("song.wav")));
    EXPECT_FALSE(fs::exists(File("song.tqb")));
}

TEST_F(RenderCommand, UsageErrorsExitWithTwo) {
    const std::string project = SaveSong("song.tqp", 1);
    const std::vector<std::vector<std::string>> cases = {
        {"--render"},
        {"--render", project, project},
        {"--render", project, "--output"},
        {"--render", project, "--output", ""},
        {"--render", project, "--threads", "0"},
        {"--render", project, "--threads", "-2"},
        {"--render", project, "--threads", "two"},
        {"--render", project, "--threads", "4x"},
        {"--render", project, "--louder"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(Run(args), 2) << args.back();
        EXPECT_NE(errors.find("Usage"), std::string::npos) << errors;
    }
    EXPECT_FALSE(fs::exists(File("song.wav")));
    EXPECT_EQ(Run({"--render", project, "--threads", "500"}), 0) << "more than 32 is limited";
}

TEST_F(RenderCommand, FailuresExitWithOneAndSayWhy) {
    EXPECT_EQ(Run({"--render", File("missing.tqp")}), 1);
    EXPECT_NE(errors.find("missing.tqp"), std::string::npos) << errors;

    std::ofstream(File("text.tqp")) << "not a project";
    EXPECT_EQ(Run({"--render", File("text.tqp")}), 1);
    EXPECT_FALSE(fs::exists(File("text.wav")));

    const std::string project = SaveSong("song.tqp", 1);
    EXPECT_EQ(Run({"--render", project, "--output", File("no/such/folder/a.wav")}), 1);
    EXPECT_NE(errors.find("no/such/folder/a.wav"), std::string::npos) << errors;
}

TEST_F(RenderCommand, MissingSampleStopsTheRenderUnlessIgnored) {
    sample = File("gone.wav");
    const std::string project = SaveSong("drums.tqp", 2);
    EXPECT_EQ(Run({"--render", project}), 1);
    EXPECT_NE(errors.find(sample), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(File("drums.wav")));
    CProjectModified unbuilt;
    ASSERT_TRUE(CProject::LoadBuildInfo(File("drums.tqb"), unbuilt));
    EXPECT_EQ(unbuilt, (CProjectModified{1, 1}));

    EXPECT_EQ(Run({"--render", project, "--ignore-missing-samples"}), 0) << errors;
    EXPECT_NE(errors.find("warning"), std::string::npos) << errors;
    EXPECT_NE(errors.find(sample), std::string::npos) << errors;
    EXPECT_TRUE(fs::exists(File("drums.wav")));
    ASSERT_TRUE(CProject::LoadBuildInfo(File("drums.tqb"), unbuilt));
    EXPECT_EQ(unbuilt, (CProjectModified{0, 0}));
}

TEST_F(RenderCommand, CtrlCStopsCleanlyAndRemembersTheRest) {
    // [GIVEN] an hour-long song on five tracks, rendering on one thread (seconds of work)
    const std::string project = SaveSong("long.tqp", 3600, 5);
    const std::string wav = File("long.wav");
    const pid_t pid =
        SpawnProgram({kTsq, "--render", project, "--threads", "1"}, File("stderr.txt"));
    ASSERT_NE(pid, 0);

    // [WHEN] Ctrl+C arrives once the WAV file has been started
    const int status = InterruptOnceWritten(pid, wav, 50);

    // [THEN] exit status 130, a valid WAV file, and the unrendered seconds still flagged
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    std::vector<uint8_t> head(44);
    std::ifstream(wav, std::ios::binary).read(reinterpret_cast<char*>(head.data()), 44);
    EXPECT_EQ(U32At(head, 4), fs::file_size(wav) - 8);
    EXPECT_EQ(44 + U32At(head, 40), fs::file_size(wav));
    CProjectModified unbuilt;
    ASSERT_TRUE(CProject::LoadBuildInfo(File("long.tqb"), unbuilt));
    EXPECT_EQ(unbuilt.size(), 3600u);
    EXPECT_GT(unbuilt.CountSet(3600), 0u);
}
