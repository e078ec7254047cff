// What the project loader mends instead of refusing: loop ticks, the output format, and sound
// settings outside the ranges the program offers, which reach the renderer otherwise. Notes
// and time lists stay as stored. Also the song limits every writer keeps, so that a song is never
// saved in a form the loader refuses.

#include "FileBytes.h"
#include "ModelCompare.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/CProject.h"
#include "model/SongLimits.h"
#include "model/SoundRanges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

CProject Loaded(const std::vector<uint8_t>& bytes) {
    CProject p;
    Result r = p.LoadFromBytes(bytes);
    EXPECT_TRUE(r) << r.message;
    return p;
}

// A track record of the given kind up to its source record, with ordinary values.
FileBytes PlainTrackHead(uint8_t waveform) {
    FileBytes b;
    return b.line16(u"x").u8(0).u32(0).u8(waveform).u8(0).u16(0).i16(0).u16(128).i16(0).i16(0);
}

// A track record of the given kind up to its source record, every field but the kind as
// far below or above its range as the field's width allows.
FileBytes ExtremeTrackHead(uint8_t waveform, bool low) {
    const uint8_t u8 = low ? 0 : 255;
    const uint16_t u16 = low ? 0 : 65535;
    const int16_t i16 = low ? -32768 : 32767;
    FileBytes b;
    b.line16(u"x").u8(u8).u32(0).u8(waveform).u8(u8).u16(u16).i16(i16).u16(u16);
    return b.i16(i16).i16(i16);
}

FileBytes& ExtremeLfo(FileBytes& b, bool low) {
    const int32_t v = low ? kMin : kMax;
    return b.lfo(low ? 0 : 255, low ? 0 : 255, v, v, v, v);
}

FileBytes& Envelope(FileBytes& b, std::initializer_list<int32_t> values) {
    for (int32_t v : values)
        b.i32(v);
    return b;
}

// Every field of a record lies in its range, at the bound nearest to `low` or `high`.
template <class R, size_t N>
void ExpectAtBounds(const R& record, const std::array<soundranges::FIELD<R>, N>& fields, bool low,
                    const char* what) {
    for (const auto& f : fields)
        EXPECT_EQ(record.*f.member, low ? f.range.lo : f.range.hi) << what << " " << f.name;
}

} // namespace

TEST(ProjectRepair, DamagedLoopIsMendedNotRefused) {
    struct Case {
        const char* what;
        uint8_t enabled;
        int32_t start, end;
        int32_t wantEnabled, wantStart, wantEnd;
    } cases[] = {
        {"start before the song", 1, -10, 100, 1, 0, 100},
        {"both ends before the song", 1, kMin, -1, 0, 0, 0},
        {"end before the start", 1, 3840, 1920, 0, 3840, 1920},
        {"empty loop", 1, 1920, 1920, 0, 1920, 1920},
        {"switch value other than 1", 7, 0, 1920, 1, 0, 1920},
        {"switched off, before the song", 0, -5, -1, 0, 0, 0},
        {"switched off, reversed", 0, 3840, 1920, 0, 3840, 1920},
        {"whole range", 1, 0, kMax, 1, 0, kMax},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SongFields song;
        song.loopEnabled = c.enabled;
        song.loopStart = c.start;
        song.loopEnd = c.end;
        const CProject p = Loaded(CurrentFile(song, {DefaultTrackSettings(u"t", 0).endNotes()}));
        EXPECT_EQ(p.data.loopEnabled, c.wantEnabled);
        EXPECT_EQ(p.data.loopStart, c.wantStart);
        EXPECT_EQ(p.data.loopEnd, c.wantEnd);
        EXPECT_EQ(p.tracks.size(), 1u);
    }
}

TEST(ProjectRepair, DamagedOutputFormatComesBackAsTheNearestOffered) {
    struct Case {
        uint8_t channels;
        uint32_t rate;
        uint8_t bits;
        int32_t wantChannels, wantRate, wantBits;
    } cases[] = {
        {0, 0, 0, 1, 1000, 8},          {254, 100498983, 255, 2, 384000, 64},
        {3, 999, 12, 2, 1000, 8},       {1, 4294967295u, 40, 1, 1000, 32},
        {2, 384001, 20, 2, 384000, 16}, {1, 22050, 24, 1, 22050, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.channels) + " channels, " + std::to_string(c.rate) + " Hz, " +
                     std::to_string(c.bits) + " bits");
        SongFields song;
        song.channels = c.channels;
        song.samplesPerSec = c.rate;
        song.bitsPerSample = c.bits;
        const CProject p = Loaded(CurrentFile(song, {DefaultTrackSettings(u"t", 0).endNotes()}));
        EXPECT_EQ(p.data.channels, c.wantChannels);
        EXPECT_EQ(p.data.samplesPerSec, c.wantRate);
        EXPECT_EQ(p.data.bitsPerSample, c.wantBits);
    }
}

TEST(ProjectRepair, SoundValuesComeBackClampedAndNotesAsStored) {
    // [GIVEN] a square-wave track whose envelope and LFOs hold values no dialog offers, and
    // a note of volume 65535 on key 255
    FileBytes track = PlainTrackHead(kSquare);
    Envelope(track, {0, 0, 0, 1953459714, -1, -2044193280, 0, 255, 255, 0});
    track.lfo(150, 3, -16777216, -1768554496, -1768515946, -2036951402);
    track.lfo(150, 0, 0, 0, 0, 0).u32(0);
    track.note(960, 480, 0, 255, 65535).endNotes();
    // [WHEN] it is loaded
    const CProject p = Loaded(CurrentFile(SongFields(), {track}));
    // [THEN] each value is the nearest one the program offers
    const CTrackData& s = p.tracks.at(0).settings;
    EXPECT_EQ(s.pitchLFO, (CLFO{3, 1, -10000, 0, 0, 0}));
    EXPECT_EQ(s.ampLFO, (CLFO{3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(s.envelope.decay, 10000);
    EXPECT_EQ(s.envelope.release, -1);
    EXPECT_EQ(s.envelope.sustain, -1);
    // and the note is kept exactly
    const CConstNoteArray notes = p.tracks[0].Notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->position, 960);
    EXPECT_EQ(notes[0]->length, 480);
    EXPECT_EQ(notes[0]->key, 255);
    EXPECT_EQ(notes[0]->volume, 65535);
}

TEST(ProjectRepair, EverySoundFieldGoesToItsNearestBound) {
    for (const bool low : {true, false}) {
        SCOPED_TRACE(low ? "below" : "above");
        const int32_t v = low ? kMin : kMax;
        // [GIVEN] an FM track and a PCM track with every value as far out as it can be
        FileBytes fm = ExtremeTrackHead(kFm, low);
        fm.i32(v);
        for (int op = 0; op < 4; ++op) {
            Envelope(fm, {v, v, v, v, v, v, v, v, v, v});
            ExtremeLfo(ExtremeLfo(fm, low), low);
            fm.i32(v).f64(low ? -std::numeric_limits<double>::infinity() : 1e300).i32(v);
        }
        Envelope(fm, {v, v, v, v, v, v, v, v, v, v});
        ExtremeLfo(ExtremeLfo(fm, low), low).i32(v).endNotes();
        FileBytes pcm = PlainTrackHead(kPcm);
        pcm.line16(u"a.wav").u8(low ? 0 : 255).i32(v).i32(v).i32(v).i32(v);
        Envelope(pcm, {0, 0, 0, 0, -1, 0, 0, 255, 255, 0}).defaultLfo().defaultLfo().u32(0);
        pcm.endNotes();
        // [WHEN] loaded
        const CProject p = Loaded(CurrentFile(SongFields(), {fm, pcm}));
        // [THEN] every field sits at the bound on its side
        const CTrackData& s = p.tracks.at(0).settings;
        EXPECT_EQ(s.waveform, kFm);
        for (const auto& f : soundranges::kTrackFields) {
            if (f.member != &CTrackData::waveform) {
                EXPECT_EQ(s.*f.member, low ? f.range.lo : f.range.hi) << f.name;
            }
        }
        ExpectAtBounds(s.envelope, soundranges::kEnvelopeFields, low, "envelope");
        ExpectAtBounds(s.pitchLFO, soundranges::kLfoFields, low, "pitch LFO");
        ExpectAtBounds(s.ampLFO, soundranges::kLfoFields, low, "amplitude LFO");
        EXPECT_EQ(s.pitchLFO.depth, low ? 0 : 3072);
        EXPECT_EQ(s.ampLFO.depth, low ? 0 : 255);
        EXPECT_EQ(s.fm.algorithm, low ? 0 : 7);
        for (const CFMOperator& op : s.fm.operators) {
            ExpectAtBounds(op, soundranges::kOperatorFields, low, "operator");
            ExpectAtBounds(op.envelope, soundranges::kEnvelopeFields, low, "operator envelope");
            ExpectAtBounds(op.pitchLFO, soundranges::kLfoFields, low, "operator pitch LFO");
            ExpectAtBounds(op.ampLFO, soundranges::kLfoFields, low, "operator amplitude LFO");
            EXPECT_EQ(op.pitchLFO.depth, low ? 0 : 3072);
            EXPECT_EQ(op.ampLFO.depth, low ? 0 : 255);
            EXPECT_EQ(op.multiple, low ? 0.0 : 16.0);
        }
        ExpectAtBounds(p.tracks.at(1).settings.pcm, soundranges::kPcmFields, low, "PCM");
        // and the repaired song saves and loads unchanged
        EXPECT_TRUE(SameSong(Loaded(p.SaveToBytes()), p));
    }
}

TEST(ProjectRepair, FmMultipleThatIsNotANumberTakesTheDefault) {
    CFM fm;
    fm.operators[2].multiple = std::numeric_limits<double>::quiet_NaN();
    CArchiveWriter w;
    fm.Serialize(w);
    CFM back;
    CArchiveReader r(w.Data());
    back.Serialize(r, 0x0901);
    EXPECT_EQ(back.operators[2].multiple, 1.0);
}

TEST(ProjectRepair, WaveTablesComeBackInRange) {
    struct Case {
        const char* what;
        uint32_t count;
        int32_t height;
        int32_t sample; // every stored sample
        size_t wantCount;
        int32_t wantHeight, wantSample;
    } cases[] = {
        {"no height", 32, 0, 5, 32, 2, 1},
        {"negative height", 32, kMin, -5, 32, 2, -1},
        {"too high", 16, 0x7FFFFFFF, kMax, 16, 0x10000, 0x8000},
        {"samples beyond the height", 64, 32, -100, 64, 32, -16},
        {"no samples", 0, 16, 0, 1, 16, 0},
        {"too many samples", 0x10001, 16, 3, 0x10000, 16, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // [GIVEN] a "TSQ_WAVEMEMORY" record, the same bytes a track stores
        FileBytes b;
        b.u32(c.count).i32(c.height);
        for (uint32_t i = 0; i < c.count; ++i)
            b.i32(c.sample);
        CWaveMemory wave;
        CArchiveReader r(b.bytes);
        wave.Serialize(r);
        EXPECT_EQ(wave.samples.size(), c.wantCount);
        EXPECT_EQ(wave.height, c.wantHeight);
        for (int32_t s : wave.samples)
            ASSERT_EQ(s, c.wantSample);
    }
}

TEST(ProjectRepair, ASourceKindBeyondTheLastBecomesFmWithItsDefaults) {
    // [GIVEN] kind 9, for which no source record is stored
    FileBytes track = ExtremeTrackHead(9, false);
    Envelope(track, {0, 0, 0, 0, -1, 0, 0, 255, 255, 0}).defaultLfo().defaultLfo().u32(0);
    track.endNotes();
    const CProject p = Loaded(CurrentFile(SongFields(), {track}));
    EXPECT_EQ(p.tracks.at(0).settings.waveform, kFm);
    EXPECT_EQ(p.tracks[0].settings.fm, CFM());
}

TEST(SongLimits, SavingRefusesWhatLoadingWouldRefuse) {
    const std::filesystem::path path = TSQ_BINARY_DIR "/song-limits-test.tqp";
    CProject p;
    p.Reset();
    p.tracks.resize(songlimits::kMaxTracks);
    ASSERT_TRUE(p.Save(path.string()));
    CProject back;
    ASSERT_TRUE(back.Load(path.string()));
    EXPECT_EQ(back.tracks.size(), size_t{songlimits::kMaxTracks});

    // [GIVEN] one track more [THEN] the save fails and names the limit
    p.tracks.emplace_back();
    Result r = p.Save(path.string());
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find("too many tracks (4097"), std::string::npos) << r.message;

    // [GIVEN] one note a budget of buckets away [THEN] it is refused as well
    p.Reset();
    CNote far;
    far.position = static_cast<int32_t>(songlimits::kSegmentBudget) * CTrack::kBucketTicks;
    p.tracks[0].AddNote(far);
    EXPECT_EQ(songlimits::Find(p), songlimits::Breach::kSegments);
    r = p.Save(path.string());
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find(path.string()), std::string::npos) << r.message;
    ASSERT_TRUE(back.Load(path.string())) << "the file of the earlier save is still whole";
    std::filesystem::remove(path);
}

TEST(SongLimits, StorageCostIsWhatTheTrackHolds) {
    struct Case {
        std::vector<std::pair<int32_t, int32_t>> notes; // position, length
        uint64_t cost;
    } cases[] = {
        {{}, 0},
        {{{0, 1}}, 2},
        {{{0, 1920}}, 2},
        {{{0, 1921}}, 4},
        {{{1919, 2}, {0, 480}}, 5},
        {{{19200, 1}}, 12},
    };
    for (const Case& c : cases) {
        CTrack track;
        std::vector<CNote> values;
        for (auto [position, length] : c.notes) {
            CNote n;
            n.position = position;
            n.length = length;
            values.push_back(n);
            track.AddNote(n);
        }
        EXPECT_EQ(track.StorageCost(), c.cost);
        EXPECT_EQ(songlimits::StorageCost(values), c.cost);
    }
}
