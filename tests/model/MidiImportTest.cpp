#include "model/CProject.h"
#include "model/SongLimits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes VarLen(uint32_t v) {
    Bytes out{static_cast<uint8_t>(v & 0x7F)};
    while ((v >>= 7) != 0)
        out.insert(out.begin(), static_cast<uint8_t>(0x80 | (v & 0x7F)));
    return out;
}

Bytes BigEndian(uint32_t v, int count) {
    Bytes out;
    for (int i = count - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return out;
}

// One event: its delta time, then its bytes as written.
Bytes Ev(uint32_t delta, std::initializer_list<int> bytes) {
    Bytes out = VarLen(delta);
    for (int b : bytes)
        out.push_back(static_cast<uint8_t>(b));
    return out;
}
Bytes On(uint32_t delta, int channel, int key, int velocity) {
    return Ev(delta, {0x90 | channel, key, velocity});
}
Bytes Off(uint32_t delta, int channel, int key) {
    return Ev(delta, {0x80 | channel, key, 0x40});
}
Bytes Tempo(uint32_t delta, uint32_t microseconds) {
    return VarLen(delta) + Bytes{0xFF, 0x51, 0x03} + BigEndian(microseconds, 3);
}
Bytes TimeSignature(uint32_t delta, int nn, int dd) {
    return Ev(delta, {0xFF, 0x58, 0x04, nn, dd, 0x18, 0x08});
}
Bytes Control(uint32_t delta, int channel, int controller, int value) {
    return Ev(delta, {0xB0 | channel, controller, value});
}
const Bytes kEnd = Ev(0, {0xFF, 0x2F, 0x00});

Bytes Chunk(const char* type, const Bytes& body, uint32_t declared) {
    return Bytes(type, type + 4) + BigEndian(declared, 4) + body;
}
Bytes Chunk(const char* type, const Bytes& body) {
    return Chunk(type, body, static_cast<uint32_t>(body.size()));
}
Bytes Header(uint16_t division, uint16_t chunks) {
    return Chunk("MThd", BigEndian(1, 2) + BigEndian(chunks, 2) + BigEndian(division, 2));
}
// A whole file of the given track bodies.
Bytes Smf(uint16_t division, std::initializer_list<Bytes> tracks) {
    Bytes file = Header(division, static_cast<uint16_t>(tracks.size()));
    for (const Bytes& t : tracks)
        file = file + Chunk("MTrk", t);
    return file;
}

struct NoteValues {
    int32_t position, length, key, volume;
    bool operator==(const NoteValues&) const = default;
};
std::ostream& operator<<(std::ostream& os, const NoteValues& n) {
    return os << "{" << n.position << ", " << n.length << ", key " << n.key << ", vol " << n.volume
              << "}";
}

std::vector<NoteValues> NotesOf(const CTrack& track) {
    std::vector<NoteValues> out;
    track.ForEachNote([&](const CNote* n) {
        EXPECT_EQ(n->keyoff, 0);
        EXPECT_FALSE(n->HasPortamento());
        out.push_back({n->position, n->length, n->key, n->volume});
    });
    std::sort(out.begin(), out.end(), [](const NoteValues& a, const NoteValues& b) {
        return std::tie(a.position, a.key) < std::tie(b.position, b.key);
    });
    return out;
}

CProject Imported(const Bytes& file, const MIDI_IMPORT_OPTIONS& options = {}) {
    CProject project;
    Result r = project.ImportMidiFromBytes(file, options);
    EXPECT_TRUE(r) << r.message;
    return project;
}

} // namespace

TEST(MidiImport, ConvertsTicksKeysAndVolumes) {
    // [GIVEN] 96 ticks per quarter; A4 (MIDI 69) from tick 96 to 192 with velocity 100
    CProject p = Imported(Smf(96, {On(96, 0, 69, 100) + Off(96, 0, 69) + kEnd}));
    // [THEN] one track for channel 1, the note a quarter long at the second quarter
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(p.tracks[0].settings.name, "インポート MIDI チャンネル 1");
    EXPECT_EQ(p.tracks[0].settings.volume, 128);
    EXPECT_EQ(NotesOf(p.tracks[0]), (std::vector<NoteValues>{{480, 480, 50, 200}}));
    EXPECT_EQ(p.modified, 1);
}

TEST(MidiImport, LevelsComeFromVelocityExpressionAndFirstChannelVolume) {
    CProject p = Imported(Smf(480, {Control(0, 0, 7, 100) + Control(0, 0, 7, 50) +
                                    On(0, 0, 60, 100) + On(0, 0, 62, 127) + Control(10, 0, 11, 64) +
                                    Off(10, 0, 60) + Control(0, 0, 11, 127) + Off(0, 0, 62) +
                                    On(0, 1, 60, 1) + Off(1, 1, 60) + kEnd}));
    ASSERT_EQ(p.tracks.size(), 2u);
    // the first controller 7 value counts: 100 × 255 / 127
    EXPECT_EQ(p.tracks[0].settings.volume, 200);
    EXPECT_EQ(p.tracks[1].settings.volume, 128);
    // expression in force at each note-off: 64 × 100 × 255 / 16129, then 127 × 127 × ...
    EXPECT_EQ(NotesOf(p.tracks[0]), (std::vector<NoteValues>{{0, 20, 57, 255}, {0, 20, 59, 101}}));
    EXPECT_EQ(NotesOf(p.tracks[1]), (std::vector<NoteValues>{{20, 1, 59, 2}}));
}

TEST(MidiImport, TempoEventsRoundToThreeDecimalsAndStayInRange) {
    CProject p = Imported(Smf(480, {Tempo(0, 500000) + Tempo(960, 600000) + Tempo(0, 700000) +
                                    Tempo(960, 0xFFFFFF) + Tempo(960, 1) + kEnd}));
    const auto& t = p.data.tempos.Items();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0], (TEMPO{0, 120.0}));
    // a later event at the same tick replaces the earlier one
    EXPECT_EQ(t[1].position, 960);
    EXPECT_DOUBLE_EQ(t[1].tempo, 85.714);
    EXPECT_EQ(t[2], (TEMPO{1920, 10.0}));
    EXPECT_EQ(t[3], (TEMPO{2880, 1000.0}));
    EXPECT_TRUE(p.data.tempos.IsValid());
}

TEST(MidiImport, TimeSignaturesGoToTheMeasureContainingThem) {
    CProject sixEight = Imported(Smf(480, {TimeSignature(0, 6, 3) + kEnd}));
    EXPECT_EQ(sixEight.data.beats.Items(), (std::vector<BEAT>{{0, 6, 8}}));

    // 3/4 after one 4/4 measure; then a signature in the middle of the fourth measure
    CProject p = Imported(Smf(480, {TimeSignature(1920, 3, 2) + TimeSignature(3360, 2, 2) + kEnd}));
    EXPECT_EQ(p.data.beats.Items(), (std::vector<BEAT>{{0, 4, 4}, {1, 3, 4}, {3, 2, 4}}));
}

TEST(MidiImport, TimeSignaturesOfAllChunksAreMeasuredInTickOrder) {
    // [GIVEN] 3/4 at tick 10000 in the first chunk, 6/8 at tick 1920 in the second
    const Bytes file =
        Smf(480, {TimeSignature(10000, 3, 2) + kEnd, TimeSignature(1920, 6, 3) + kEnd});
    // [THEN] the 3/4 is measured after the 6/8 it follows in time: (10000 - 1920) / 1440
    // measures after measure 1, and stays near its tick
    CProject p = Imported(file);
    EXPECT_EQ(p.data.beats.Items(), (std::vector<BEAT>{{0, 4, 4}, {1, 6, 8}, {6, 3, 4}}));
    EXPECT_EQ(p.data.beats.MeasureToTick(6), 9120);

    // [GIVEN] a song with 3/4 from measure 4: its element keeps its measure, and later
    // signatures are measured with it
    CProject song;
    song.Reset();
    song.data.beats.Set({4, 3, 4});
    ASSERT_TRUE(song.ImportMidiFromBytes(
        Smf(480, {TimeSignature(1920, 6, 3) + TimeSignature(18080, 2, 2) + kEnd}), {}));
    EXPECT_EQ(song.data.beats.Items(),
              (std::vector<BEAT>{{0, 4, 4}, {1, 6, 8}, {4, 3, 4}, {13, 2, 4}}));
}

TEST(MidiImport, OnlyChannelsWithNotesKeepTheirTrack) {
    CProject p = Imported(Smf(480, {Ev(0, {0xC0, 5}) + Control(0, 2, 7, 90) + On(0, 9, 36, 100) +
                                    Off(120, 9, 36) + kEnd}));
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(p.tracks[0].settings.name, "インポート MIDI チャンネル 10");
    EXPECT_EQ(NotesOf(p.tracks[0]), (std::vector<NoteValues>{{0, 120, 83, 200}}));
}

TEST(MidiImport, RhythmAutoLengthFitsDrumHitsOfChannel10Only) {
    const Bytes file =
        Smf(480, {On(0, 9, 36, 127) + Off(10, 9, 36) + On(0, 0, 60, 127) + Off(10, 0, 60) +
                  On(220, 9, 36, 127) + On(0, 9, 38, 127) + Off(10, 9, 36) + Off(0, 9, 38) + kEnd});
    MIDI_IMPORT_OPTIONS options;
    options.rhythmAutoLength = true;
    options.rhythmAutoLengthLength = 480;
    CProject p = Imported(file, options);
    ASSERT_EQ(p.tracks.size(), 2u);
    EXPECT_EQ(NotesOf(p.tracks[0]), (std::vector<NoteValues>{{10, 10, 59, 255}}));
    EXPECT_EQ(
        NotesOf(p.tracks[1]),
        (std::vector<NoteValues>{{0, 240, 83, 255}, {240, 480, 81, 255}, {240, 480, 83, 255}}));

    options.rhythmAutoLength = false;
    CProject off = Imported(file, options);
    EXPECT_EQ(NotesOf(off.tracks[1]),
              (std::vector<NoteValues>{{0, 10, 83, 255}, {240, 10, 81, 255}, {240, 10, 83, 255}}));
}

TEST(MidiImport, AppendsTracksAfterThoseOfTheSong) {
    CProject p;
    p.Reset();
    p.InsertTrack(1);
    p.InsertTrack(2);
    p.tracks[2].settings.name = "third";
    ASSERT_TRUE(p.ImportMidiFromBytes(
        Smf(480, {On(0, 3, 60, 127) + On(0, 0, 60, 127) + Off(480, 3, 60) + Off(0, 0, 60) + kEnd}),
        {}));
    ASSERT_EQ(p.tracks.size(), 5u);
    EXPECT_EQ(p.tracks[0].settings.name, "トラック1");
    EXPECT_EQ(p.tracks[2].settings.name, "third");
    EXPECT_EQ(p.tracks[3].settings.name, "インポート MIDI チャンネル 1");
    EXPECT_EQ(p.tracks[4].settings.name, "インポート MIDI チャンネル 4");
}

TEST(MidiImport, DropsNotesItCannotHold) {
    CProject p = Imported(
        Smf(480, {// the lowest and highest keys the song holds, and one beyond each
                  On(0, 0, 23, 127) + On(0, 0, 24, 127) + On(0, 0, 119, 127) + On(0, 0, 120, 127) +
                  Off(100, 0, 23) + Off(0, 0, 24) + Off(0, 0, 119) + Off(0, 0, 120) +
                  // a second note-on of a held key is ignored; velocity 0 switches off
                  On(0, 0, 60, 127) + On(100, 0, 60, 10) + On(100, 0, 60, 0) +
                  // a note-off without a note-on, a note never switched off
                  Off(0, 0, 61) + On(0, 0, 62, 127) +
                  // a status byte where a key belongs, a velocity beyond 127
                  Ev(0, {0x90, 0xC0, 0x40}) + Ev(0, {0x80, 0xC0, 0x40}) + On(0, 0, 64, 0xFF) +
                  Off(5, 0, 64) + kEnd}));
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(NotesOf(p.tracks[0]),
              (std::vector<NoteValues>{
                  {0, 100, 0, 255}, {0, 100, 95, 255}, {100, 200, 59, 255}, {300, 5, 55, 255}}));
}

TEST(MidiImport, NotesAndTablesCarryOverBetweenChunks) {
    CProject p =
        Imported(Smf(480, {Control(0, 0, 11, 0) + On(480, 0, 60, 127) + kEnd,
                           // measured with this chunk's ticks; running status for a note-off that
                           // keeps the shortest length
                           Control(0, 0, 11, 127) + Tempo(0, 400000) + On(960, 0, 62, 100) +
                               Ev(0, {62, 0}) + Ev(0, {0x80, 60, 0}) + kEnd}));
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(NotesOf(p.tracks[0]),
              (std::vector<NoteValues>{{480, 480, 59, 255}, {960, 1, 57, 200}}));
    EXPECT_EQ(p.data.tempos.Items(), (std::vector<TEMPO>{{0, 150.0}}));
}

TEST(MidiImport, SkipsEverythingButNotesTemposAndSignatures) {
    CProject p = Imported(
        Header(480, 3) + Chunk("XFIh", Bytes{1, 2, 3, 4, 5}) +
        Chunk("MTrk", Ev(0, {0xFF, 0x03, 0x03, 'a', 'b', 'c'}) + Ev(0, {0xC0, 0x05}) +
                          Ev(0, {0xD0, 0x40}) + Ev(0, {0xE0, 0x00, 0x40}) +
                          Ev(0, {0xA0, 0x3C, 0x10}) + Ev(0, {0xF0, 0x03, 0x7E, 0x7F, 0xF7}) +
                          Ev(0, {0xF7, 0x02, 0x90, 0x3C}) + Ev(0, {0xFF, 0x7F, 0x02, 0x90, 0x3C}) +
                          On(240, 0, 60, 127) + Off(240, 0, 60) + kEnd) +
        Chunk("MTrk", kEnd));
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(NotesOf(p.tracks[0]), (std::vector<NoteValues>{{240, 240, 59, 255}}));
}

TEST(MidiImport, DataBytesAfterMetaAndSysExRepeatThoseEvents) {
    // After a system-exclusive event a data byte starts another one (here 2 bytes long);
    // after a text event, "2F 00" is an end-of-track event, so the later note is not read.
    CProject p =
        Imported(Smf(480, {Ev(0, {0xF0, 0x01, 0xF7}) + Ev(0, {0x02, 0x90, 0x3C}) +
                           On(0, 0, 60, 127) + Off(480, 0, 60) + Ev(0, {0xFF, 0x01, 0x00}) +
                           Ev(0, {0x2F, 0x00}) + On(0, 0, 62, 127) + Off(480, 0, 62) + kEnd}));
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(NotesOf(p.tracks[0]), (std::vector<NoteValues>{{0, 480, 59, 255}}));
}

TEST(MidiImport, ToleratesLastTracksWhoseDataIsAllThere) {
    const Bytes notes = On(0, 0, 60, 127) + Off(480, 0, 60);
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        // [GIVEN] no end-of-track event, the data ending where the chunk length says
        {"without end-of-track", Header(480, 1) + Chunk("MTrk", notes)},
        // [GIVEN] events running on past the chunk length up to the end-of-track event
        {"longer than its length", Header(480, 1) + Chunk("MTrk", notes + kEnd, 4)},
        // [GIVEN] more data after the chunks the header announces
        {"data after the last chunk", Header(480, 1) + Chunk("MTrk", notes + kEnd) + Bytes{1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CProject p = Imported(c.file);
        ASSERT_EQ(p.tracks.size(), 1u);
        EXPECT_EQ(NotesOf(p.tracks[0]), (std::vector<NoteValues>{{0, 480, 59, 255}}));
    }
}

TEST(MidiImport, SkipsTimeEventsTooShortOrImpossible) {
    // [GIVEN] 100 quarter notes per minute and 3/4, then at the same tick tempos and
    // signatures too short to hold a value, or impossible
    CProject p = Imported(
        Smf(480, {Tempo(0, 600000) + TimeSignature(0, 3, 2) + Ev(0, {0xFF, 0x51, 0x00}) +
                  Ev(0, {0xFF, 0x51, 0x01, 0x01}) + Ev(0, {0xFF, 0x51, 0x02, 0xEA, 0x60}) +
                  Ev(0, {0xFF, 0x51, 0x03, 0, 0, 0}) + Ev(0, {0xFF, 0x51, 0x05, 1, 2, 3, 4, 5}) +
                  Ev(0, {0xFF, 0x58, 0x00}) + Ev(0, {0xFF, 0x58, 0x03, 6, 3, 24}) +
                  TimeSignature(0, 0, 2) + TimeSignature(0, 3, 7) + TimeSignature(0, 3, 255) +
                  On(0, 0, 60, 127) + Off(1, 0, 60) + kEnd}));
    // [THEN] they change nothing, not even the tempo and signature placed before them
    EXPECT_EQ(p.data.tempos.Items(), (std::vector<TEMPO>{{0, 100.0}}));
    EXPECT_EQ(p.data.beats.Items(), (std::vector<BEAT>{{0, 3, 4}}));
    EXPECT_EQ(p.tracks.size(), 1u);
}

TEST(MidiImport, FarTicksSaturateInsteadOfWrapping) {
    Bytes events;
    for (int i = 0; i < 40; ++i)
        events = events + Ev(0x0FFFFFFF, {0xFF, 0x01, 0x00});
    CProject p = Imported(Smf(1, {events + Tempo(0, 500000) + TimeSignature(0, 3, 2) + kEnd}));
    EXPECT_EQ(p.data.tempos.Items().back(), (TEMPO{INT_MAX, 120.0}));
    EXPECT_EQ(p.data.beats.Items().back(), (BEAT{INT_MAX / 1920, 3, 4}));
}

TEST(MidiImport, RefusesDamagedFilesAndLeavesTheSongAlone) {
    const Bytes track = On(0, 0, 60, 127) + Off(480, 0, 60) + kEnd;
    const Bytes head = Header(480, 1);
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"another format", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 4, 'W', 'A', 'V', 'E'}},
        {"header shorter than 6", Chunk("MThd", Bytes{0, 1, 0, 1, 1})},
        {"header cut off", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0}},
        {"header longer than the data", Chunk("MThd", Bytes{0, 1, 0, 1, 1, 0xE0}, 12)},
        {"division 0", Chunk("MThd", Bytes{0, 1, 0, 1, 0, 0}) + Chunk("MTrk", track)},
        {"SMPTE division", Chunk("MThd", Bytes{0, 1, 0, 1, 0xE7, 0x28}) + Chunk("MTrk", track)},
        {"the only track missing",
         Bytes{0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x01, 0xE0}},
        {"one of three tracks missing",
         Header(480, 3) + Chunk("MTrk", track) + Chunk("MTrk", track)},
        {"chunk header cut off", head + Bytes{'M', 'T', 'r', 'k', 0, 0}},
        {"chunk longer than the data", head + Chunk("XFIh", Bytes{1, 2, 3}, 100)},
        {"note-on cut off", head + Chunk("MTrk", On(0, 0, 60, 127) + Ev(0, {0x80, 60}), 9)},
        {"meta event cut off", head + Chunk("MTrk", Ev(0, {0xFF, 0x03, 0x05, 'a', 'b'}), 9)},
        {"track ends before its length", head + Chunk("MTrk", On(0, 0, 60, 127), 20)},
        {"end-of-track without length", head + Chunk("MTrk", Ev(0, {0xFF, 0x2F}))},
        {"delta time of five bytes",
         head + Chunk("MTrk", Bytes{0x81, 0x81, 0x81, 0x81, 0x01} + kEnd)},
        {"data byte before any status", head + Chunk("MTrk", Ev(0, {0x3C, 0x40}) + kEnd)},
        // a few bytes claiming four notes weeks long, over a million buckets each
        {"notes weeks long",
         Chunk("MThd", Bytes{0, 1, 0, 1, 0, 1}) +
             Chunk("MTrk", On(0, 0, 60, 127) + On(0, 0, 61, 127) + On(0, 0, 62, 127) +
                               On(0, 0, 63, 127) + Off(0x0FFFFFFF, 0, 60) + Off(0, 0, 61) +
                               Off(0, 0, 62) + Off(0, 0, 63) + kEnd)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CProject p;
        p.Reset();
        p.tracks[0].AddNote(CNote{});
        p.modified = 0;
        Result r = p.ImportMidiFromBytes(c.file, {});
        EXPECT_FALSE(r);
        EXPECT_FALSE(r.message.empty());
        ASSERT_EQ(p.tracks.size(), 1u);
        EXPECT_EQ(p.tracks[0].NoteCount(), 1u);
        EXPECT_EQ(p.data, CProjectData());
        EXPECT_EQ(p.modified, 0);
    }
}

TEST(MidiImport, KeepsTheSongWithinWhatAProjectFileMayHold) {
    // one note on each of the 16 channels
    Bytes events;
    for (int c = 0; c < 16; ++c)
        events = events + On(0, c, 60, 100) + Off(480, c, 60);
    const Bytes sixteen = Smf(480, {events + kEnd});
    for (size_t before : {songlimits::kMaxTracks - 16, songlimits::kMaxTracks - 15}) {
        CProject p;
        p.tracks.resize(before);
        Result r = p.ImportMidiFromBytes(sixteen, {});
        const bool fits = before + 16 <= songlimits::kMaxTracks;
        EXPECT_EQ(static_cast<bool>(r), fits) << before << ": " << r.message;
        EXPECT_EQ(p.tracks.size(), fits ? size_t{songlimits::kMaxTracks} : before);
    }
    // [GIVEN] a song whose one note lies 1 040 000 buckets out [WHEN] importing a note of
    // 10 000 buckets [THEN] the import is refused
    CProject p;
    p.Reset();
    CNote far;
    far.position = 1040000 * CTrack::kBucketTicks;
    p.tracks[0].AddNote(far);
    Result r = p.ImportMidiFromBytes(Smf(1, {On(0, 0, 60, 100) + Off(40000, 0, 60) + kEnd}), {});
    EXPECT_FALSE(r);
    EXPECT_EQ(p.tracks.size(), 1u);
}

TEST(MidiImport, ReadsFilesThroughImport) {
    const std::filesystem::path path = TSQ_BINARY_DIR "/midi-import-test.mid";
    const Bytes file = Smf(480, {On(0, 0, 60, 127) + Off(480, 0, 60) + kEnd});
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()),
                  static_cast<std::streamsize>(file.size()));
    }
    CProject p;
    Result r = p.Import(path.string());
    std::filesystem::remove(path);
    ASSERT_TRUE(r) << r.message;
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(p.tracks[0].NoteCount(), 1u);

    Result missing = p.ImportMidi(path.string());
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message.find(path.string()), std::string::npos);
}
