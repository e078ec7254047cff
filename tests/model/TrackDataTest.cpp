// Track settings and sound records: defaults, copies, wave-table resizing, PCM paths and
// sample loading, and the byte layout of the source records.

#include "FileBytes.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/CTrack.h"
#include "model/FileVersion.h"
#include "model/ISampleLoader.h"

#include <gtest/gtest.h>

namespace {

// Sets the documents folder for one test and puts the old one back.
class DocumentsFolder {
public:
    explicit DocumentsFolder(const std::string& folder) : saved(CPCM::DocumentsFolder()) {
        CPCM::SetDocumentsFolder(folder);
    }
    ~DocumentsFolder() { CPCM::SetDocumentsFolder(saved); }

private:
    std::string saved;
};

class FakeLoader : public ISampleLoader {
public:
    bool LoadSample(const std::string& path, std::vector<uint8_t>& data,
                    WAVE_FORMAT& format) override {
        paths.push_back(path);
        if (!succeed)
            return false;
        data = {1, 2, 3, 4};
        format = WAVE_FORMAT::Pcm(1, 8000, 16);
        return true;
    }
    bool succeed = true;
    std::vector<std::string> paths;
};

std::vector<uint8_t> Record(const CTrackData& settings) {
    CArchiveWriter ar;
    settings.Serialize(ar);
    return ar.Take();
}

// Bytes of a default track record up to the source record.
FileBytes DefaultTrackHead(uint8_t waveform) {
    FileBytes b;
    b.line16(u"")
        .u8(0)
        .u32(CTrackData::DefaultNoteColor())
        .u8(waveform)
        .u8(0)
        .u16(0)
        .i16(0)
        .u16(128)
        .i16(0)
        .i16(0);
    return b;
}

FileBytes& DefaultEnvelope(FileBytes& b) {
    for (int32_t v : {0, 0, 0, 0, -1, 0, 0, 255, 255, 0})
        b.i32(v);
    return b;
}

// Envelope, both LFOs and the mute flag of a default track.
FileBytes& DefaultTrackTail(FileBytes& b) {
    return DefaultEnvelope(b).defaultLfo().defaultLfo().u32(0);
}

} // namespace

TEST(TrackData, NewTrackHasTheDefaultSound) {
    const CTrackData s;
    EXPECT_EQ(s.waveform, kSquare);
    EXPECT_EQ(s.volume, 128);
    EXPECT_EQ(s.noteColor, CTrackData::DefaultNoteColor());
    EXPECT_EQ(s.envelope.sustain, -1);
    EXPECT_EQ(s.envelope.release, 0);
    EXPECT_EQ(s.envelope.sustainLevel, 255);
    EXPECT_EQ(s.envelope.level, 255);
    EXPECT_EQ(s.pitchLFO.waveform, 1);
    EXPECT_EQ(s.ampLFO.period, 0);
    EXPECT_EQ(s.pcm.baseKey, 59);
    EXPECT_EQ(s.pcm.loopCount, 1);
    EXPECT_EQ(s.waveMemory.samples, std::vector<int32_t>(32, 0));
    EXPECT_EQ(s.waveMemory.height, 16);
    EXPECT_EQ(s.fm.algorithm, 0);
    for (const CFMOperator& o : s.fm.operators) {
        EXPECT_EQ(o.multiple, 1.0);
        EXPECT_EQ(o.envelope, CEnvelope());
    }
}

TEST(TrackData, GrowingAWaveTableRepeatsAndScalesEverySample) {
    CWaveMemory w;
    for (int32_t i = 0; i < 32; ++i)
        w.samples[static_cast<size_t>(i)] = i - 8;
    w.SetSize(64, 32);
    ASSERT_EQ(w.samples.size(), 64u);
    EXPECT_EQ(w.height, 32);
    for (size_t i = 0; i < 64; ++i)
        EXPECT_EQ(w.samples[i], (static_cast<int32_t>(i / 2) - 8) * 2) << i;
}

TEST(TrackData, ShrinkingAWaveTableKeepsEvenSamplesAndTruncatesTowardZero) {
    CWaveMemory w;
    w.SetSize(64, 32);
    for (size_t i = 0; i < 64; ++i)
        w.samples[i] = i % 2 ? 99 : static_cast<int32_t>(i / 2 % 4) - 3; // -3, -2, -1, 0, ...
    w.SetSize(32, 16);
    ASSERT_EQ(w.samples.size(), 32u);
    EXPECT_EQ(w.height, 16);
    EXPECT_EQ(std::vector<int32_t>(w.samples.begin(), w.samples.begin() + 4),
              (std::vector<int32_t>{-1, -1, 0, 0}));
    w.samples.assign(32, 3);
    w.SetSize(16, 8);
    EXPECT_EQ(w.samples, std::vector<int32_t>(16, 1));
}

TEST(TrackData, ResizingAnEmptyOrFlatTableGivesZeros) {
    CWaveMemory w;
    w.samples.clear();
    w.SetSize(8, 16);
    EXPECT_EQ(w.samples, std::vector<int32_t>(8, 0));
    w.samples.assign(8, 5);
    w.height = 0; // only a damaged file has this
    w.SetSize(4, 16);
    EXPECT_EQ(w.samples, std::vector<int32_t>(4, 0));
    w.SetSize(0, 16);
    EXPECT_TRUE(w.samples.empty());
}

TEST(TrackData, PcmPathsResolveAgainstTheDocumentsFolder) {
    DocumentsFolder docs("/home/user/Documents");
    struct Case {
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"/srv/samples/kick.wav", "/srv/samples/kick.wav"},
        {"C:\\Samples\\kick.wav", "C:\\Samples\\kick.wav"},
        {"\\\\server\\share\\kick.wav", "\\\\server\\share\\kick.wav"},
        {"kick.wav", "/home/user/Documents/kick.wav"},
        {"音源\\drums\\kick.wav", "/home/user/Documents/音源/drums/kick.wav"},
        {"\\kick.wav", "/home/user/Documents//kick.wav"},
    };
    for (const Case& c : cases) {
        CPCM pcm;
        pcm.fileName = c.name;
        EXPECT_EQ(pcm.GetPath(), c.path) << c.name;
        EXPECT_EQ(pcm.fileName, c.name) << "the stored name is never rewritten";
    }
    DocumentsFolder slash("/data/");
    CPCM pcm;
    pcm.fileName = "a.wav";
    EXPECT_EQ(pcm.GetPath(), "/data/a.wav");
}

TEST(TrackData, LoadSampleReadsTheResolvedPathAndReplacesTheOldSample) {
    DocumentsFolder docs("/docs");
    FakeLoader loader;
    CPCM pcm;
    pcm.fileName = "dir\\a.wav";
    ASSERT_TRUE(pcm.LoadSample(loader));
    EXPECT_EQ(loader.paths, std::vector<std::string>{"/docs/dir/a.wav"});
    EXPECT_EQ(pcm.sampleData.size(), 4u);
    EXPECT_EQ(pcm.sampleFormat.samplesPerSec, 8000u);

    loader.succeed = false;
    EXPECT_FALSE(pcm.LoadSample(loader));
    EXPECT_FALSE(pcm.HasSample()) << "a failed reload leaves no stale sample";
    EXPECT_EQ(pcm.sampleFormat.samplesPerSec, 0u);

    // Folder-only names are not handed to the loader.
    loader.succeed = true;
    for (const char* name : {"", "dir\\", "/abs/dir/", "C:\\dir\\"}) {
        pcm.fileName = name;
        loader.paths.clear();
        EXPECT_FALSE(pcm.LoadSample(loader)) << name;
        EXPECT_TRUE(loader.paths.empty()) << name;
    }
}

TEST(TrackData, CopiesCarryTheSettingsButNoSample) {
    FakeLoader loader;
    CTrack track;
    track.settings.waveform = kPcm;
    track.settings.pcm.fileName = "/a.wav";
    track.settings.pcm.loopCount = 0;
    ASSERT_TRUE(track.settings.pcm.LoadSample(loader));

    const CTrack copy = track;
    EXPECT_TRUE(copy.settings == track.settings);
    EXPECT_FALSE(copy.settings.pcm.HasSample());
    EXPECT_TRUE(track.settings.pcm.HasSample());

    CTrackData assigned;
    assigned.pcm.fileName = "/b.wav";
    ASSERT_TRUE(assigned.pcm.LoadSample(loader));
    assigned = track.settings;
    EXPECT_EQ(assigned.pcm.fileName, "/a.wav");
    EXPECT_FALSE(assigned.pcm.HasSample()) << "the old sample of the target is dropped";
}

TEST(TrackData, SwitchingTheSourceKindKeepsTheOtherSettings) {
    CTrackData s;
    s.waveform = kPcm;
    s.pcm.fileName = "x.wav";
    s.pcm.loopStart = 100;
    s.waveform = kFm;
    s.fm.algorithm = 5;
    s.waveform = kPcm;
    EXPECT_EQ(s.pcm.fileName, "x.wav");
    EXPECT_EQ(s.pcm.loopStart, 100);
    EXPECT_EQ(s.fm.algorithm, 5);
}

TEST(TrackData, OnlyTheSoundingSourceRecordIsStored) {
    CTrackData s;
    s.waveform = kSine;
    s.pcm.fileName = "unused.wav";
    s.fm.algorithm = 3;
    FileBytes plain = DefaultTrackHead(kSine);
    EXPECT_EQ(Record(s), DefaultTrackTail(plain).bytes);

    s.waveform = kPcm;
    s.pcm.fileName = "a\\b.wav";
    s.pcm.baseKey = 47;
    s.pcm.loopStart = 10;
    s.pcm.loopEnd = 20;
    s.pcm.loopCount = 0;
    s.pcm.loopUnit = 1;
    FileBytes pcm = DefaultTrackHead(kPcm);
    pcm.line16(u"a\\b.wav").u8(47).i32(10).i32(20).i32(0).i32(1);
    EXPECT_EQ(Record(s), DefaultTrackTail(pcm).bytes);

    s.waveform = kWaveMemory;
    s.waveMemory.samples = {-2, 0, 2};
    s.waveMemory.height = 4;
    FileBytes wave = DefaultTrackHead(kWaveMemory);
    wave.u32(3).i32(4).i32(-2).i32(0).i32(2);
    EXPECT_EQ(Record(s), DefaultTrackTail(wave).bytes);

    s.waveform = kFm;
    s.fm.operators[2].feedback = 7;
    s.fm.operators[2].multiple = 0.5;
    s.fm.operators[2].detune = -3;
    FileBytes fm = DefaultTrackHead(kFm);
    fm.i32(3);
    for (int i = 0; i < 4; ++i) {
        DefaultEnvelope(fm).defaultLfo().defaultLfo();
        fm.i32(i == 2 ? 7 : 0).f64(i == 2 ? 0.5 : 1.0).i32(i == 2 ? -3 : 0);
    }
    EXPECT_EQ(Record(s), DefaultTrackTail(fm).bytes);

    CTrackData loaded;
    const std::vector<uint8_t> bytes = Record(s);
    CArchiveReader ar(bytes);
    loaded.Serialize(ar, kFileVersion);
    EXPECT_TRUE(ar.AtEnd());
    EXPECT_EQ(loaded.fm, s.fm);
    EXPECT_EQ(loaded.pcm.fileName, "") << "the PCM record was not stored";
    EXPECT_EQ(loaded.waveMemory, CWaveMemory());
}
