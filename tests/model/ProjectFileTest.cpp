// The project file layout: a new song byte for byte, and files of older versions assembled
// by hand with the defaults and conversions they need.

#include "FileBytes.h"
#include "ModelCompare.h"
#include "ModelInvariants.h"

#include "model/CProject.h"

#include <gtest/gtest.h>

namespace {

// Sets the application's note colour for one test and puts the old one back.
class NoteColor {
public:
    explicit NoteColor(uint32_t color) : saved(CTrackData::DefaultNoteColor()) {
        CTrackData::SetDefaultNoteColor(color);
    }
    ~NoteColor() { CTrackData::SetDefaultNoteColor(saved); }

private:
    uint32_t saved;
};

CProject Loaded(const std::vector<uint8_t>& bytes) {
    CProject p;
    Result r = p.LoadFromBytes(bytes);
    EXPECT_TRUE(r) << r.message;
    EXPECT_TRUE(HoldsInvariants(p));
    return p;
}

const CNote* NoteAt(const CTrack& t, int32_t position) {
    const CNote* found = nullptr;
    t.ForEachNote([&](const CNote* n) {
        if (n->position == position)
            found = n;
    });
    return found;
}

// Project data fields that every version has, after the lists: channels, rate, bits,
// lead-in, lead-out, fade-out.
FileBytes& WaveFields(FileBytes& b) {
    return b.u8(1).u32(22050).u8(8).u16(500).u16(700).u32(1500);
}

// "ピアノ" and "トラック" in the code page of old files.
const std::string kPianoCp932 = "\x83\x73\x83\x41\x83\x6D";
const std::string kTrackCp932 = "\x83\x67\x83\x89\x83\x62\x83\x4E";

} // namespace

TEST(ProjectFile, NewSongIsSavedByteForByte) {
    NoteColor color(0x00336699);
    CProject p;
    p.Reset();

    FileBytes e;
    e.raw("Tesselaphon Project").u8(0).raw({0x01, 0x09, 0x00, 0x00});
    e.raw({0x0A, 0x00});                                            // empty name
    e.raw({1, 0, 0, 0}).i32(0).i32(128);                            // volumes: one element
    e.raw({1, 0, 0, 0}).i32(0).raw({0, 0, 0, 0, 0, 0, 0x5E, 0x40}); // tempos: 120.0
    e.raw({0, 0});                                                  // transpose
    e.raw({1, 0, 0, 0}).i32(0).i32(4).i32(4);                       // beats: 4/4
    e.u8(0).i32(0).i32(0);                                          // loop off, start, end
    e.u8(2).raw({0x44, 0xAC, 0, 0}).u8(16);                         // 2 channels, 44100 Hz, 16 bits
    e.raw({0xE8, 0x03, 0xD0, 0x07});                                // 1000 ms, 2000 ms of silence
    e.u32(0).u32(0).u32(1); // no fade-out, linear, click reduction on
    e.raw({1, 0, 0, 0});    // one track
    e.raw({0xC8, 0x30, 0xE9, 0x30, 0xC3, 0x30, 0xAF, 0x30, 0x31, 0x00, 0x0A, 0x00}); // トラック1
    e.u8(0).raw({0x99, 0x66, 0x33, 0x00});  // track colour off, colour
    e.u8(0).u8(0).u16(0).i16(0);            // square wave, not inverted, no steps, duty 0
    e.raw({128, 0}).i16(0).i16(0);          // volume 128, pan, detune
    e.i32(0).i32(0).i32(0).i32(0);          // curve, delay, attack, decay
    e.raw({0xFF, 0xFF, 0xFF, 0xFF}).i32(0); // sustain held, release 0
    e.i32(0).i32(255).i32(255).i32(0);      // attack level, sustain level, level, key scaling
    for (int lfo = 0; lfo < 2; ++lfo)
        e.u8(1).u8(0).i32(0).i32(0).i32(0).i32(0); // triangle, off
    e.u32(0);                                      // not muted
    e.raw({0xFE, 0xFF, 0xFF, 0xFF});               // no notes
    ASSERT_EQ(e.bytes.size(), 220u);
    EXPECT_EQ(p.SaveToBytes(), e.bytes);

    // The same bytes through the field helpers the other tests use.
    EXPECT_EQ(
        CurrentFile(SongFields(), {DefaultTrackSettings(u"トラック1", 0x00336699).endNotes()}),
        e.bytes);

    CProject back = Loaded(e.bytes);
    EXPECT_TRUE(SameSong(back, p));
    EXPECT_EQ(back.lastBuildLength, 0.0);
}

TEST(ProjectFile, Version10HasNoFadeShapeClickReductionOrMute) {
    NoteColor color(0x00ABCDEF);
    FileBytes f;
    f.header(0x0001).line8(kPianoCp932);
    f.u16(200).u16(150).u8(3).u8(4); // volume, tempo, beat, base beat
    WaveFields(f).u32(1);
    f.line8(kTrackCp932).u8(2).i16(-128).u16(300).i16(-20).i16(5); // sawtooth
    f.i32(10).i32(20).i32(0).i32(30).i32(200); // attack, decay, sustain, release, sustain level
    f.lfo(3, 1, -5, 6, 7, 8).lfo(0, 0, 1, 2, 3, 4);
    f.note(100, 200, 10, 40, 90).endBucket().endNotes();

    CProject p = Loaded(f.bytes);
    EXPECT_EQ(p.data.name, "ピアノ");
    EXPECT_EQ(p.data.volumes.Items(), (std::vector<VOLUME>{{0, 200}}));
    EXPECT_EQ(p.data.tempos.Items(), (std::vector<TEMPO>{{0, 150.0}}));
    EXPECT_EQ(p.data.beats.Items(), (std::vector<BEAT>{{0, 3, 4}}));
    EXPECT_EQ(p.data.transpose, 0);
    EXPECT_EQ(p.data.loopEnabled, 0);
    EXPECT_EQ(p.data.samplesPerSec, 22050);
    EXPECT_EQ(p.data.fadeOut, 1500);
    EXPECT_EQ(p.data.fadeOutType, 0);
    EXPECT_EQ(p.data.reductionPuchiNoise, 0);
    ASSERT_EQ(p.tracks.size(), 1u);
    const CTrackData& s = p.tracks[0].settings;
    EXPECT_EQ(s.name, "トラック");
    EXPECT_EQ(s.useNoteColor, 0);
    EXPECT_EQ(s.noteColor, 0x00ABCDEFu);
    EXPECT_EQ(s.waveform, kSawtooth);
    EXPECT_EQ(s.duty, -128);
    EXPECT_EQ(s.volume, 300);
    EXPECT_EQ(s.pan, -20);
    EXPECT_EQ(s.detune, 5);
    CEnvelope envelope;
    envelope.attack = 10;
    envelope.decay = 20;
    envelope.sustain = -1; // 0 meant "hold"
    envelope.release = 30;
    envelope.sustainLevel = 200;
    EXPECT_EQ(s.envelope, envelope);
    EXPECT_EQ(s.pitchLFO, (CLFO{3, 1, -5, 6, 7, 8}));
    EXPECT_EQ(s.ampLFO, (CLFO{0, 0, 1, 2, 3, 4}));
    EXPECT_EQ(s.mute, 0);
    ASSERT_NE(NoteAt(p.tracks[0], 100), nullptr);
    EXPECT_EQ(NoteAt(p.tracks[0], 100)->volume, 90);
    EXPECT_DOUBLE_EQ(p.lastBuildLength, 300 * 0.125 / 150);
    EXPECT_EQ(p.lastBuildFadeOut, 1500);
}

TEST(ProjectFile, Version12AddsFadeShapeAndMuteAndConvertsPortamento) {
    FileBytes f;
    f.header(0x0201).line8("");
    f.u16(200).u16(150).u8(4).u8(4);
    WaveFields(f).u32(2).u32(1).u32(1);              // fade shape, click reduction; one track
    f.line8("").u8(6).i16(0).u16(128).i16(0).i16(0); // wave memory
    f.u32(4).i32(8).i32(-4).i32(-2).i32(2).i32(4);   // count, height, samples
    f.i32(0).i32(0).i32(5).i32(0).i32(255).defaultLfo().defaultLfo();
    f.u32(1); // muted
    // Portamento starting at once and lasting 1000 ms at 150 BPM: 1200 ticks.
    f.note(0, 960, 0, 50, 255, 0, 1000, 256).endBucket().endNotes();

    CProject p = Loaded(f.bytes);
    EXPECT_EQ(p.data.fadeOutType, 2);
    EXPECT_EQ(p.data.reductionPuchiNoise, 1);
    const CTrackData& s = p.tracks[0].settings;
    EXPECT_EQ(s.mute, 1);
    EXPECT_EQ(s.waveMemory.samples, (std::vector<int32_t>{-4, -2, 2, 4}));
    EXPECT_EQ(s.waveMemory.height, 8);
    EXPECT_EQ(s.envelope.sustain, 5) << "only a sustain of 0 is converted";
    const CNote* n = NoteAt(p.tracks[0], 0);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->portamentoStart, 0);
    EXPECT_EQ(n->portamentoLength, 1200);
    EXPECT_EQ(n->portamentoLevel, 256);
}

TEST(ProjectFile, Version13AddsNoteColourAndPseudoWave) {
    FileBytes f;
    f.header(0x0301).line8("");
    f.u16(128).u16(120).u8(4).u8(4);
    WaveFields(f).u32(0).u32(1).u32(1);
    f.line8(kTrackCp932).u8(1).u32(0x00123456);    // own note colour
    f.u8(5).u16(16).i16(0).u16(128).i16(0).i16(0); // PCM, 16 steps
    f.line8("\x89\xB9\x8C\xB9\\a.wav").u8(47);     // "音源\a.wav", base key; no loop fields
    f.i32(0).i32(0).i32(0).i32(0).i32(255).defaultLfo().defaultLfo().u32(0);
    f.endNotes();

    CProject p = Loaded(f.bytes);
    const CTrackData& s = p.tracks[0].settings;
    EXPECT_EQ(s.useNoteColor, 1);
    EXPECT_EQ(s.noteColor, 0x00123456u);
    EXPECT_EQ(s.waveform, kPcm);
    EXPECT_EQ(s.invert, 0);
    EXPECT_EQ(s.pseudoWave, 16);
    EXPECT_EQ(s.pcm.fileName, "音源\\a.wav");
    EXPECT_EQ(s.pcm.baseKey, 47);
    EXPECT_EQ(s.pcm.loopStart, 0);
    EXPECT_EQ(s.pcm.loopEnd, 0);
    EXPECT_EQ(s.pcm.loopCount, 1);
    EXPECT_EQ(s.pcm.loopUnit, 0);
    EXPECT_FALSE(p.tracks[0].HasNotes());
}

TEST(ProjectFile, Version14HasADoubleTempoAndTransposeAndOldFmEnvelopes) {
    FileBytes f;
    f.header(0x0401).line8("");
    f.u16(128).f64(132.5).i16(-12).u8(6).u8(8);
    WaveFields(f).u32(0).u32(1).u32(1);
    f.line8("").u8(0).u32(0).u8(7).u16(0).i16(0).u16(128).i16(0).i16(0); // FM
    f.i32(4);                                                            // algorithm
    for (int32_t op = 0; op < 4; ++op) {
        f.i32(op).i32(0).i32(0).i32(0).i32(100); // attack, decay, sustain 0, release, level
        f.defaultLfo().defaultLfo().i32(op).f64(op + 0.5).i32(-op);
    }
    f.i32(0).i32(0).i32(0).i32(0).i32(255).defaultLfo().defaultLfo().u32(0);
    f.endNotes();

    CProject p = Loaded(f.bytes);
    EXPECT_EQ(p.data.tempos.Items(), (std::vector<TEMPO>{{0, 132.5}}));
    EXPECT_EQ(p.data.transpose, -12);
    EXPECT_EQ(p.data.beats.Items(), (std::vector<BEAT>{{0, 6, 8}}));
    const CTrackData& s = p.tracks[0].settings;
    EXPECT_EQ(s.envelope.sustain, -1) << "a 1.4 sustain of 0 holds";
    EXPECT_EQ(s.fm.algorithm, 4);
    for (int32_t op = 0; op < 4; ++op) {
        const CFMOperator& o = s.fm.operators[static_cast<size_t>(op)];
        EXPECT_EQ(o.envelope.attack, op);
        EXPECT_EQ(o.envelope.sustain, -1);
        EXPECT_EQ(o.envelope.sustainLevel, 100);
        EXPECT_EQ(o.envelope.level, 255);
        EXPECT_EQ(o.feedback, op);
        EXPECT_EQ(o.multiple, op + 0.5);
        EXPECT_EQ(o.detune, -op);
    }
}

TEST(ProjectFile, Version15HasListsInvertAndTheFullEnvelope) {
    FileBytes f;
    f.header(0x0501).line8("");
    f.u16(100);                                                // volume
    f.u32(2).i32(0).f64(120).i32(1920).f64(60);                // tempos
    f.i16(3).u32(2).i32(0).i32(4).i32(4).i32(2).i32(3).i32(4); // transpose, beats
    WaveFields(f).u32(1).u32(0).u32(1);
    f.line8("").u8(0).u32(0).u8(3).u8(1).u16(0).i16(0).u16(128).i16(0).i16(0); // sine, inverted
    f.i32(2).i32(-100).i32(1).i32(2).i32(0).i32(3).i32(4).i32(200).i32(5);     // no attack level
    f.defaultLfo().defaultLfo().u32(0);
    f.note(2000, 400, 0, 50, 255).endBucket().endNotes();

    CProject p = Loaded(f.bytes);
    EXPECT_EQ(p.data.volumes.Items(), (std::vector<VOLUME>{{0, 100}}));
    EXPECT_EQ(p.data.tempos.Items(), (std::vector<TEMPO>{{0, 120}, {1920, 60}}));
    EXPECT_EQ(p.data.transpose, 3);
    EXPECT_EQ(p.data.beats.Items(), (std::vector<BEAT>{{0, 4, 4}, {2, 3, 4}}));
    EXPECT_EQ(p.data.loopEnabled, 0);
    const CTrackData& s = p.tracks[0].settings;
    EXPECT_EQ(s.invert, 1);
    EXPECT_EQ(s.envelope, (CEnvelope{2, -100, 1, 2, 0, 3, 0, 4, 200, 5}))
        << "from 1.5 a sustain of 0 stays 0";
    EXPECT_DOUBLE_EQ(p.GetLength(), 3.0);
    EXPECT_DOUBLE_EQ(p.lastBuildLength, 3.0);
}

TEST(ProjectFile, Version17StoresPortamentoInMilliseconds) {
    FileBytes f;
    f.header(0x0701).line8("");
    f.u16(128).u32(1).i32(0).f64(120).i16(0).u32(1).i32(0).i32(4).i32(4);
    f.u8(1).i32(480).i32(7680); // loop
    WaveFields(f).u32(0).u32(1).u32(1);
    f.line8("").u8(0).u32(0).u8(5).u8(0).u16(0).i16(0).u16(128).i16(0).i16(0);
    f.line8("/x.wav").u8(59).i32(10).i32(20).i32(0).i32(1); // PCM with loop fields
    f.i32(0).i32(0).i32(0).i32(0).i32(-1).i32(0).i32(255).i32(255).i32(0);
    f.defaultLfo().defaultLfo().u32(0);
    f.note(0, 960, 0, 50, 255, 500, 250, 128);
    f.note(100, 10, 0, 50, 255);              // no portamento: untouched
    f.note(200, 10, 0, 50, 255, 100, 0, 128); // starts late, no length
    f.endBucket();
    f.note(1920, 2000, 0, 50, 255, 500, 250, 128); // two buckets, converted once
    f.endBucket().endBucket().endNotes();

    CProject p = Loaded(f.bytes);
    EXPECT_EQ(p.data.loopEnabled, 1);
    EXPECT_EQ(p.data.loopStart, 480);
    EXPECT_EQ(p.data.loopEnd, 7680);
    const CPCM& pcm = p.tracks[0].settings.pcm;
    EXPECT_EQ(pcm.loopStart, 10);
    EXPECT_EQ(pcm.loopEnd, 20);
    EXPECT_EQ(pcm.loopCount, 0);
    EXPECT_EQ(pcm.loopUnit, 1);
    EXPECT_EQ(p.tracks[0].settings.envelope.sustain, -1);

    struct Expected {
        int32_t position, start, length;
    };
    for (Expected e : {Expected{0, 480, 240}, Expected{100, 0, 0}, Expected{200, 96, 0},
                       Expected{1920, 480, 240}}) {
        const CNote* n = NoteAt(p.tracks[0], e.position);
        ASSERT_NE(n, nullptr) << e.position;
        EXPECT_EQ(n->portamentoStart, e.start) << e.position;
        EXPECT_EQ(n->portamentoLength, e.length) << e.position;
    }
    EXPECT_TRUE(HoldsInvariants(p.tracks[0])) << "every segment converted alike";
}

TEST(ProjectFile, Version18HasTheVolumeListAttackLevelAndTickPortamento) {
    FileBytes f;
    f.header(0x0801).line8(kPianoCp932);
    f.u32(2).i32(0).i32(10).i32(960).i32(20); // volumes
    f.u32(1).i32(0).f64(120).i16(0).u32(1).i32(0).i32(4).i32(4).u8(0).i32(0).i32(0);
    WaveFields(f).u32(0).u32(1).u32(1);
    f.line8(kTrackCp932).u8(0).u32(0).u8(0).u8(0).u16(0).i16(0).u16(128).i16(0).i16(0);
    f.i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(77).i32(255).i32(255).i32(0);
    f.defaultLfo().defaultLfo().u32(0);
    f.note(0, 960, 0, 50, 255, 500, 250, -1).endBucket().endNotes();

    CProject p = Loaded(f.bytes);
    EXPECT_EQ(p.data.name, "ピアノ");
    EXPECT_EQ(p.data.volumes.Items(), (std::vector<VOLUME>{{0, 10}, {960, 20}}));
    EXPECT_EQ(p.tracks[0].settings.name, "トラック");
    EXPECT_EQ(p.tracks[0].settings.envelope.attackLevel, 77);
    EXPECT_EQ(p.tracks[0].settings.envelope.sustain, 0);
    const CNote* n = NoteAt(p.tracks[0], 0);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->portamentoStart, 500);
    EXPECT_EQ(n->portamentoLength, 250);
    EXPECT_EQ(n->portamentoLevel, -1);
}

TEST(ProjectFile, VersionWordDecidesWhatIsRead) {
    const std::vector<FileBytes> track{DefaultTrackSettings(u"t", 0).endNotes()};
    CProject p;
    EXPECT_FALSE(p.LoadFromBytes(CurrentFile(SongFields(), track, 0x0A01))) << "1.10";
    EXPECT_FALSE(p.LoadFromBytes(CurrentFile(SongFields(), track, 0x0902))) << "1.9 minor 2";
    EXPECT_FALSE(p.LoadFromBytes(CurrentFile(SongFields(), track, 0x0100))) << "0.1 is older";
    EXPECT_TRUE(p.LoadFromBytes(CurrentFile(SongFields(), track, 0x0002))) << "2.0 has it all";
    EXPECT_EQ(p.tracks.at(0).settings.name, "t");
    EXPECT_TRUE(p.LoadFromBytes(CurrentFile(SongFields(), track, 0x00010901)))
        << "the upper 16 bits take no part";
    EXPECT_EQ(p.tracks.at(0).settings.name, "t");
}

TEST(ProjectFile, WrongMagicIsRefused) {
    std::vector<uint8_t> bytes = CurrentFile(SongFields(), {});
    CProject p;
    ASSERT_TRUE(p.LoadFromBytes(bytes));
    for (size_t i = 0; i < 20; ++i) {
        std::vector<uint8_t> damaged = bytes;
        damaged[i] ^= 0x20;
        EXPECT_FALSE(p.LoadFromBytes(damaged)) << i;
    }
}

TEST(ProjectFile, TextLinesEndAtLineBreaksAndKeepEveryCharacter) {
    // A name closed by CR LF: the LF after the CR is consumed with it.
    SongFields song;
    song.name = u"a\r"; // the line's closing LF follows the CR
    CProject p = Loaded(CurrentFile(song, {}));
    EXPECT_EQ(p.data.name, "a");

    // Characters outside the basic plane survive; a line break in a name is written as a
    // blank so that the fields after it stay in place.
    p.Reset();
    p.data.name = "♪\xF0\x9F\x8E\xB5 x";
    p.tracks[0].settings.name = "two\nlines\r";
    CProject back = Loaded(p.SaveToBytes());
    EXPECT_EQ(back.data.name, p.data.name);
    EXPECT_EQ(back.tracks[0].settings.name, "two lines ");
}

TEST(ProjectFile, UndecodableOldTextBecomesReplacementCharacters) {
    FileBytes f;
    f.header(0x0801).line8("a\x85\x40"
                           "b\xFF\x81");
    f.u32(1).i32(0).i32(128).u32(1).i32(0).f64(120).i16(0).u32(1).i32(0).i32(4).i32(4);
    f.u8(0).i32(0).i32(0);
    WaveFields(f).u32(0).u32(1).u32(0);
    CProject p = Loaded(f.bytes);
    EXPECT_EQ(p.data.name.substr(0, 1), "a");
    EXPECT_NE(p.data.name.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_NE(p.data.name.find('b'), std::string::npos);
    EXPECT_TRUE(p.tracks.empty());
}

TEST(ProjectFile, NoteStreamNeedsNeitherMarkersNorGrouping) {
    FileBytes track = DefaultTrackSettings(u"", 0);
    track.note(5000, 10, 0, 1, 2).note(0, 4000, 0, 3, 4).endBucket().endBucket().endBucket();
    track.note(10, 10, 0, 5, 0xFFFF, 1, 2, -1).endNotes();
    CProject p = Loaded(CurrentFile(SongFields(), {track}));
    EXPECT_EQ(p.tracks[0].NoteCount(), 3u);
    const CNote* n = NoteAt(p.tracks[0], 10);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->volume, 0xFFFF);
    EXPECT_EQ(n->portamentoLevel, -1) << "0xFFFF is sign-extended";
    EXPECT_EQ(p.GetEndTick(), 5010);
    EXPECT_EQ(n->selected, 0u);
}
