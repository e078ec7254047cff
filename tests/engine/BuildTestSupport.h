#pragma once
// Helpers for the build tests: a listener that records what a build reports and answers
// its questions, a sample loader under the test's control, small songs and file access.

#include "engine/CBuild.h"
#include "engine/IBuildEvents.h"
#include "model/CProject.h"
#include "model/ISampleLoader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace buildtest {

class RecordingObserver : public IBuildEvents {
public:
    // Answers given to sample failures, in turn; the last one repeats.
    std::vector<SampleAnswer> answers{SampleAnswer::Abort};
    // Sets the stop flag once rendering has started and this many seconds were reported
    // done (-1: never).
    int cancelAfterSteps = -1;
    // The build's stop flag; shared so that a finished run can be returned by value.
    std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);

    std::vector<BuildProgress> progress;
    std::vector<std::string> sampleQuestions;
    std::vector<std::string> outputErrors;
    std::vector<BuildOutcome> done;

    bool AnythingShown() const { return !progress.empty() || !outputErrors.empty(); }
    // The seconds reported done by the last progress event.
    int32_t Steps() const { return progress.empty() ? 0 : progress.back().secondsDone; }

    void Progress(const BuildProgress& p) override {
        EXPECT_TRUE(done.empty()) << "no event after Done";
        if (!progress.empty()) {
            EXPECT_GE(int(p.phase), int(progress.back().phase));
            EXPECT_GE(p.secondsDone, progress.back().secondsDone);
        }
        EXPECT_LE(p.secondsDone, p.secondsTotal);
        EXPECT_GE(p.secondsLeft, p.secondsDone == 0 ? -1 : 0);
        progress.push_back(p);
        if (p.phase == BuildPhase::Rendering && cancelAfterSteps >= 0 &&
            p.secondsDone >= cancelAfterSteps)
            *stop = true;
    }
    SampleAnswer SampleFailed(const std::string& path) override {
        sampleQuestions.push_back(path);
        const size_t i = std::min(sampleQuestions.size(), answers.size()) - 1;
        return answers[i];
    }
    void OutputFailed(const std::string& path) override { outputErrors.push_back(path); }
    void Done(const BuildOutcome& outcome) override {
        EXPECT_TRUE(done.empty()) << "Done comes once";
        done.push_back(outcome);
    }
};

// Hands out a one-second 16-bit mono sample; fails the first `failures` calls.
class FakeSampleLoader : public ISampleLoader {
public:
    int failures = 0;
    int calls = 0;
    std::vector<std::string> paths;

    bool LoadSample(const std::string& path, std::vector<uint8_t>& data,
                    WAVE_FORMAT& format) override {
        ++calls;
        paths.push_back(path);
        if (calls <= failures)
            return false;
        format = WAVE_FORMAT::Pcm(1, 8000, 16);
        data.assign(16000, 0);
        for (size_t i = 0; i < data.size(); i += 2)
            data[i + 1] = (i / 2) % 16 < 8 ? 0x20 : 0xE0;
        return true;
    }
};

// A folder of its own under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::temp_directory_path() /
               ("tsq_build_" + std::string(info->test_suite_name()) + "_" + info->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string File(const std::string& name) const { return (path / name).string(); }

    std::filesystem::path path;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}

inline int16_t I16At(const std::vector<uint8_t>& b, size_t at) {
    return int16_t(uint16_t(b.at(at) | b.at(at + 1) << 8));
}

// At 120 BPM one tick lasts 1/960 s.
constexpr int32_t kTicksPerSecond = 960;

// A song at 120 BPM with one square track; format and silences as given.
inline CProject Song(int channels, int rate, int bits, int startMs = 0, int endMs = 0) {
    CProject p;
    p.Reset();
    p.data.channels = channels;
    p.data.samplesPerSec = rate;
    p.data.bitsPerSample = bits;
    p.data.startDummy = startMs;
    p.data.endDummy = endMs;
    p.tracks[0].settings.volume = 200;
    return p;
}

// A note on key 50 (440 Hz) from `fromSecond` lasting `seconds`.
inline void AddNote(CProject& p, size_t track, double fromSecond, double seconds,
                    int32_t key = 50) {
    CNote n;
    n.position = int32_t(fromSecond * kTicksPerSecond);
    n.length = int32_t(seconds * kTicksPerSecond);
    n.key = key;
    p.tracks.at(track).AddNote(n);
}

// A song of `seconds` seconds with one short note in every second, each a different key.
inline CProject BusySong(int seconds, int rate = 8000, int bits = 16, int channels = 1) {
    CProject p = Song(channels, rate, bits, 250, 250);
    for (int s = 0; s < seconds; ++s)
        AddNote(p, 0, s + 0.25, 0.5, 40 + s % 20);
    return p;
}

struct Built {
    BuildOutcome outcome;
    RecordingObserver observer;
};

inline Built BuildSong(CProject& p, const std::string& path, CProjectModified& map, bool rebuild,
                       int threads = 2) {
    Built b;
    FakeSampleLoader loader;
    CBuild build(b.observer, loader, threads, *b.observer.stop);
    b.outcome = build.Build(path, p, map, rebuild);
    return b;
}

inline BuildOutcome FullBuild(CProject& p, const std::string& path, int threads = 2) {
    CProjectModified map;
    return BuildSong(p, path, map, true, threads).outcome;
}

// Checks the RIFF and data sizes against the file's real size and returns D.
inline uint32_t CheckValidWave(const std::vector<uint8_t>& b) {
    EXPECT_GE(b.size(), 44u);
    if (b.size() < 44)
        return 0;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(U32At(b, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    const uint32_t d = U32At(b, 40);
    EXPECT_LE(44 + uint64_t(d), b.size());
    return d;
}

} // namespace buildtest
