// The factory library as the build tree holds it: complete, in the layout the program
// saves, covering what it promises, and every preset heard through the engine on keys 24
// to 84 at volume 255: audible on every key and never beyond full scale.

#include "PresetTestSupport.h"

#include "audio/CAudioFile.h"
#include "engine/CSongRenderer.h"
#include "model/CProject.h"
#include "presets/CPresetLibrary.h"
#include "presets/PresetFolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

using namespace presettest;

namespace {

constexpr int32_t kRate = 8000;
constexpr int32_t kLowestKey = 24;
constexpr int32_t kHighestKey = 84;
constexpr int32_t kNoteTicks = 240; // a quarter second at 120 BPM
// An audible note reaches at least this (about -34 dB of full scale).
constexpr double kAudible = 0.02;

const fs::path& FactoryFolder() {
    static const fs::path folder = presetfolders::Factory(TSQ_BINARY_DIR);
    return folder;
}

std::vector<CPreset> LoadFactoryLibrary() {
    const CPresetLibrary library(FactoryFolder(), fs::path());
    std::vector<CPreset> presets;
    for (const PRESET_ENTRY& entry : library.List()) {
        CPreset preset;
        const Result r = library.Load(entry, preset);
        EXPECT_TRUE(r) << r.message;
        presets.push_back(std::move(preset));
    }
    return presets;
}

const std::vector<CPreset>& Factory() {
    static const std::vector<CPreset> presets = LoadFactoryLibrary();
    return presets;
}

class SampleReader : public ISampleLoader {
public:
    bool LoadSample(const std::string& path, std::vector<uint8_t>& data,
                    WAVE_FORMAT& format) override {
        return static_cast<bool>(CAudioFile::ReadWave(QString::fromStdString(path), format, data));
    }
};

// One note on every key from the lowest to the highest, one after the other, at full
// track, note and master volume.
CProject KeySweep(const CPreset& preset) {
    CProject project;
    project.data.samplesPerSec = kRate;
    project.data.channels = 1;
    project.data.volumes.Assign({{0, 255}});
    CTrack& track = project.tracks.emplace_back();
    track.settings = preset.AppliedTo(track.settings);
    track.settings.volume = 255;
    for (int32_t key = kLowestKey; key <= kHighestKey; ++key) {
        CNote note;
        note.position = (key - kLowestKey) * kNoteTicks;
        note.length = kNoteTicks;
        note.keyoff = kNoteTicks / 4;
        note.key = key;
        note.volume = 255;
        track.AddNote(note);
    }
    if (track.settings.waveform == kPcm) {
        SampleReader reader;
        EXPECT_TRUE(track.settings.pcm.LoadSample(reader)) << track.settings.pcm.fileName;
    }
    return project;
}

std::vector<double> Render(const CProject& project) {
    const CSongRenderer renderer(project);
    const auto seconds = static_cast<int32_t>(std::ceil(renderer.LengthSeconds()));
    std::vector<double> samples(size_t(seconds) * kRate);
    for (int32_t s = 0; s < seconds; ++s)
        renderer.RenderSecond(s, kRate, samples.data() + size_t(s) * kRate);
    return samples;
}

} // namespace

TEST(FactoryLibrary, LoadsCompletely) {
    ASSERT_FALSE(FactoryFolder().empty()) << "no factory presets beside " << TSQ_BINARY_DIR;
    EXPECT_GE(Factory().size(), 60u);
    const CPresetLibrary library(FactoryFolder(), fs::path());
    EXPECT_EQ(library.Categories(),
              (std::vector<std::string>{"FM", "PCMドラム", "ドラム", "パッド", "ベース", "リード",
                                        "効果音", "波形メモリ"}));
    for (const CPreset& p : Factory())
        EXPECT_TRUE(p.factory) << p.name;
}

TEST(FactoryLibrary, CoversEverySourceKindAndTheClassicShapes) {
    std::set<int32_t> kinds, algorithms, squareDuties;
    int triangles = 0, noises = 0;
    for (const CPreset& p : Factory()) {
        const CTrackData& s = p.sound;
        kinds.insert(s.waveform);
        if (s.waveform == kFm)
            algorithms.insert(s.fm.algorithm);
        if (s.waveform == kSquare)
            squareDuties.insert(s.duty);
        triangles += s.waveform == kTriangle && p.category == "ベース";
        noises += s.waveform == kNoise && p.category == "ドラム";
    }
    EXPECT_EQ(kinds.size(), 8u);
    EXPECT_EQ(algorithms, (std::set<int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    for (int32_t duty : {-192, -128, 0})
        EXPECT_TRUE(squareDuties.count(duty)) << duty;
    EXPECT_GE(triangles, 2);
    EXPECT_GE(noises, 6);
}

// The committed files are exactly what saving their sounds would write, so a preset the
// user saves looks like a factory one, and the generator and the program agree.
TEST(FactoryLibrary, FilesAreInTheLayoutTheProgramSaves) {
    for (const CPreset& p : Factory()) {
        const fs::path file = FactoryFolder() / p.category / (p.name + CPreset::kExtension);
        CTrackData sound = p.sound;
        if (!sound.pcm.fileName.empty())
            sound.pcm.fileName = fs::path(sound.pcm.fileName).filename().string();
        EXPECT_EQ(CPreset::ToJson(sound), ReadText(file)) << file;
    }
}

TEST(FactoryLibrary, EveryPresetSoundsOnEveryKeyWithoutClipping) {
    for (const CPreset& p : Factory()) {
        SCOPED_TRACE(p.category + "/" + p.name);
        const std::vector<double> samples = Render(KeySweep(p));
        const size_t noteFrames = size_t(kRate) / 4;
        double loudest = 0;
        for (int32_t key = kLowestKey; key <= kHighestKey; ++key) {
            const size_t first = size_t(key - kLowestKey) * noteFrames;
            double peak = 0;
            for (size_t i = first; i < std::min(first + noteFrames, samples.size()); ++i)
                peak = std::max(peak, std::abs(samples[i]));
            EXPECT_GE(peak, kAudible) << "key " << key;
            loudest = std::max(loudest, peak);
        }
        EXPECT_LE(loudest, 1.0);
    }
}
