#include "model/CProject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Chunk {
    std::string type;
    Bytes body;
};

// Splits a file into its chunks by their stated lengths.
std::vector<Chunk> Chunks(const Bytes& file) {
    std::vector<Chunk> chunks;
    size_t at = 0;
    while (at + 8 <= file.size()) {
        const size_t length = size_t{file[at + 4]} << 24 | size_t{file[at + 5]} << 16 |
                              size_t{file[at + 6]} << 8 | file[at + 7];
        EXPECT_LE(at + 8 + length, file.size());
        chunks.push_back(
            {std::string(file.begin() + static_cast<long>(at),
                         file.begin() + static_cast<long>(at) + 4),
             Bytes(file.begin() + static_cast<long>(at + 8),
                   file.begin() + static_cast<long>(std::min(at + 8 + length, file.size())))});
        at += 8 + length;
    }
    EXPECT_EQ(at, file.size());
    return chunks;
}

const Bytes kConductorStart = {0x00, 0xFF, 0x03, 0x00,                          // name
                               0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        // 120
                               0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08}; // 4/4
const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};

// Conductor events after the three that every file starts with.
Bytes ConductorEvents(const CProject& p) {
    const Bytes body = Chunks(p.ExportMidiToBytes()).at(1).body;
    EXPECT_TRUE(std::equal(kConductorStart.begin(), kConductorStart.end(), body.begin()));
    return Bytes(body.begin() + static_cast<long>(kConductorStart.size()), body.end());
}

// Note events of a track chunk: what follows its name and the 20 bytes of set-up events.
Bytes NoteEvents(const Chunk& track) {
    const size_t nameEnd = 4 + size_t{track.body.at(3)};
    return Bytes(track.body.begin() + static_cast<long>(nameEnd + 20), track.body.end());
}

CProject SongWithNotes(std::initializer_list<CNote> notes) {
    CProject p;
    p.Reset();
    for (const CNote& n : notes)
        p.tracks[0].AddNote(n);
    return p;
}

CNote Note(int32_t position, int32_t length, int32_t key, int32_t volume = 255) {
    CNote n;
    n.position = position;
    n.length = length;
    n.key = key;
    n.volume = volume;
    return n;
}

// Channel of a note track, from its first set-up event.
int ChannelOf(const Chunk& track) {
    const size_t nameEnd = 4 + size_t{track.body.at(3)};
    return track.body.at(nameEnd + 2) & 0x0F;
}

} // namespace

TEST(MidiExport, NewSongGivesConductorAndOneSetUpTrack) {
    CProject p;
    p.Reset();
    const Bytes expected = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0, //
        'M', 'T', 'r', 'k', 0, 0, 0, 0x27,                      //
        0x00, 0xFF, 0x03, 0x00,                                 //
        0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,               //
        0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,         //
        0x8F, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,         // tempo {0, 120} at 1920
        0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,         // beat {0, 4, 4} there too
        0x00, 0xFF, 0x2F, 0x00,                                 //
        'M', 'T', 'r', 'k', 0, 0, 0, 0x25,                      //
        // "トラック1" in CP932
        0x00, 0xFF, 0x03, 0x09, 0x83, 0x67, 0x83, 0x89, 0x83, 0x62, 0x83, 0x4E, 0x31, //
        0x83, 0x60, 0xB0, 0x00, 0x00,                                                 //
        0x3C, 0xB0, 0x20, 0x00,                                                       //
        0x3C, 0xC0, 0x00,                                                             //
        0x3C, 0xB0, 0x07, 0x64,                                                       //
        0x3C, 0xB0, 0x0B, 0x7F,                                                       //
        0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(p.ExportMidiToBytes(), expected);
}

TEST(MidiExport, ConductorMergesTemposAndSignaturesByTick) {
    CProject p;
    p.Reset();
    p.data.tempos.Set({1920, 60.0});
    EXPECT_EQ(ConductorEvents(p), (Bytes{0x8F, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, //
                                         0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, //
                                         0x8F, 0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, //
                                         0x00, 0xFF, 0x2F, 0x00}));

    // 1000 quarter notes per minute, whose value would fit two bytes, still takes three; 6/8
    // at measure 2 is two measures later
    p.data.tempos.Assign({{0, 1000.0}});
    p.data.beats.Set({2, 6, 8});
    EXPECT_EQ(ConductorEvents(p), (Bytes{0x8F, 0x00, 0xFF, 0x51, 0x03, 0x00, 0xEA, 0x60,       //
                                         0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,       //
                                         0x9E, 0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x18, 0x08, //
                                         0x00, 0xFF, 0x2F, 0x00}));

    // 2 quarter notes per minute need a fourth byte
    p.Reset();
    p.data.tempos.Assign({{0, 2.0}});
    EXPECT_EQ(ConductorEvents(p), (Bytes{0x8F, 0x00, 0xFF, 0x51, 0x04, 0x01, 0xC9, 0xC3, 0x80, //
                                         0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08,       //
                                         0x00, 0xFF, 0x2F, 0x00}));
}

TEST(MidiExport, NotesStartAWholeNoteLateAndOffsComeBeforeOns) {
    CProject one = SongWithNotes({Note(0, 480, 50)});
    EXPECT_EQ(NoteEvents(Chunks(one.ExportMidiToBytes()).at(2)),
              (Bytes{0x89, 0x30, 0x90, 69, 127, 0x83, 0x60, 0x80, 69, 0, 0x00, 0xFF, 0x2F, 0x00}));

    CProject repeated = SongWithNotes({Note(480, 480, 50, 128), Note(0, 480, 50, 0)});
    EXPECT_EQ(NoteEvents(Chunks(repeated.ExportMidiToBytes()).at(2)),
              (Bytes{0x89, 0x30, 0x90, 69, 1, // volume 0 still sounds: velocity 1
                     0x83, 0x60, 0x80, 69, 0, //
                     0x00, 0x90, 69,   63,    // 128 × 127 / 255
                     0x83, 0x60, 0x80, 69, 0, 0x00, 0xFF, 0x2F, 0x00}));
}

TEST(MidiExport, TransposedKeysOutsideTheMidiRangeAreLeftOut) {
    CProject p = SongWithNotes({Note(0, 10, 0), Note(0, 10, 8), Note(0, 10, 95)});
    p.data.transpose = 8; // key 0 would be MIDI 127 + 0; key 8 gives 119
    Bytes events = NoteEvents(Chunks(p.ExportMidiToBytes()).at(2));
    EXPECT_EQ(events,
              (Bytes{0x89, 0x30, 0x90, 32,  127,  0x00, 0x90, 119, 127,  0x00, 0x90, 127, 127,
                     0x0A, 0x80, 32,   0,   0x00, 0x80, 119,  0,   0x00, 0x80, 127,  0, //
                     0x00, 0xFF, 0x2F, 0x00}));

    p.data.transpose = 9;
    events = NoteEvents(Chunks(p.ExportMidiToBytes()).at(2));
    EXPECT_EQ(events, (Bytes{0x89, 0x30, 0x90, 33, 127,  0x00, 0x90, 120, 127, //
                             0x0A, 0x80, 33,   0,  0x00, 0x80, 120,  0,   0x00, 0xFF, 0x2F, 0x00}));

    p.data.transpose = -25; // key 95 would be MIDI -1
    events = NoteEvents(Chunks(p.ExportMidiToBytes()).at(2));
    EXPECT_EQ(events, (Bytes{0x89, 0x30, 0x90, 86, 127,  0x00, 0x90, 94, 127, //
                             0x0A, 0x80, 86,   0,  0x00, 0x80, 94,   0,  0x00, 0xFF, 0x2F, 0x00}));
}

TEST(MidiExport, ChannelsSkipMutedTracksAndMidiChannel10) {
    CProject p;
    p.Reset();
    p.InsertTrack(1);
    p.InsertTrack(2);
    p.tracks[1].settings.mute = 1;
    Bytes file = p.ExportMidiToBytes();
    EXPECT_EQ(file[11], 3); // track count: conductor, A and C
    auto chunks = Chunks(file);
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(ChannelOf(chunks[2]), 0);
    EXPECT_EQ(ChannelOf(chunks[3]), 2);

    for (int i = 0; i < 14; ++i)
        p.InsertTrack(3);
    p.tracks[1].settings.mute = 0;
    chunks = Chunks(p.ExportMidiToBytes());
    ASSERT_EQ(chunks.size(), 19u);
    std::vector<int> channels;
    for (size_t i = 2; i < chunks.size(); ++i)
        channels.push_back(ChannelOf(chunks[i]));
    EXPECT_EQ(channels,
              (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 0, 1}));
}

TEST(MidiExport, LongGapsAreBridgedWithinFourByteDeltas) {
    CProject p = SongWithNotes({Note(300000000, 10, 50)});
    const Bytes events = NoteEvents(Chunks(p.ExportMidiToBytes()).at(2));
    // 300001200 ticks after the set-up: the longest delta, an empty text event, the rest
    const uint32_t rest = 300001200 - 0x0FFFFFFF;
    const Bytes expected = {0xFF,
                            0xFF,
                            0xFF,
                            0x7F,
                            0xFF,
                            0x01,
                            0x00,
                            static_cast<uint8_t>(0x80 | (rest >> 21)),
                            static_cast<uint8_t>(0x80 | ((rest >> 14) & 0x7F)),
                            static_cast<uint8_t>(0x80 | ((rest >> 7) & 0x7F)),
                            static_cast<uint8_t>(rest & 0x7F),
                            0x90,
                            69,
                            127};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), events.begin()));
}

TEST(MidiExport, ImportReadsTheExportBack) {
    CProject p = SongWithNotes({Note(0, 480, 50), Note(960, 1, 95, 128), Note(1900, 100, 0)});
    p.data.tempos.Assign({{0, 1000.0}, {960, 85.5}});
    p.data.beats.Set({2, 6, 8});
    CProject back;
    ASSERT_TRUE(back.ImportMidiFromBytes(p.ExportMidiToBytes(), {}));
    ASSERT_EQ(back.tracks.size(), 1u);
    std::vector<std::pair<int32_t, int32_t>> notes;
    back.tracks[0].ForEachNote([&](const CNote* n) {
        EXPECT_EQ(n->volume, n->key == 95 ? 126 : 255);
        notes.emplace_back(n->position, n->length);
    });
    std::sort(notes.begin(), notes.end());
    EXPECT_EQ(notes,
              (std::vector<std::pair<int32_t, int32_t>>{{1920, 480}, {2880, 1}, {3820, 100}}));
    EXPECT_EQ(back.data.tempos.Items(),
              (std::vector<TEMPO>{{0, 120.0}, {1920, 1000.0}, {2880, 85.5}}));
    EXPECT_EQ(back.data.beats.Items(), (std::vector<BEAT>{{0, 4, 4}, {1, 4, 4}, {3, 6, 8}}));
}

TEST(MidiExport, WritesFilesAndReportsFailures) {
    CProject p;
    p.Reset();
    const std::filesystem::path path = TSQ_BINARY_DIR "/midi-export-test.mid";
    ASSERT_TRUE(p.ExportMidi(path.string()));
    std::ifstream in(path, std::ios::binary);
    const Bytes written{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(path);
    EXPECT_EQ(written, p.ExportMidiToBytes());

    const std::string missing = TSQ_BINARY_DIR "/no-such-folder/song.mid";
    Result r = p.ExportMidi(missing);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find(missing), std::string::npos);
}
