// Seed inputs of the project loader's fuzz target: valid files of several versions,
// truncated and damaged ones, and incremental-build files. The test checks that each seed
// is read as intended; run with TSQ_WRITE_CORPUS=1 to (re)write them into
// tests/data/corpus/ProjectLoadFuzz.

#include "FileBytes.h"
#include "RandomProject.h"

#include "model/CArchiveReader.h"
#include "model/CProject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

struct Seed {
    std::string name;
    std::vector<uint8_t> bytes;
    bool loads; // as a project file
};

// A version 1.0 song: single values instead of lists, code-page names, no mute.
std::vector<uint8_t> Version10() {
    FileBytes f;
    f.header(0x0001).line8("\x83\x73\x83\x41\x83\x6D").u16(128).u16(140).u8(3).u8(4);
    f.u8(2).u32(44100).u8(16).u16(1000).u16(2000).u32(0).u32(1);
    f.line8("t").u8(3).i16(0).u16(128).i16(0).i16(0).i32(1).i32(2).i32(0).i32(3).i32(255);
    f.defaultLfo().defaultLfo();
    f.note(0, 480, 0, 50, 200, 10, 100, 256).note(1900, 100, 0, 40, 200).endBucket().endNotes();
    return f.bytes;
}

// A version 1.7 song with a PCM track (loop fields) and millisecond portamento.
std::vector<uint8_t> Version17() {
    FileBytes f;
    f.header(0x0701).line8("");
    f.u16(128).u32(2).i32(0).f64(120).i32(3840).f64(90).i16(2);
    f.u32(2).i32(0).i32(4).i32(4).i32(3).i32(6).i32(8).u8(1).i32(0).i32(7680);
    f.u8(2).u32(48000).u8(24).u16(0).u16(0).u32(2500).u32(1).u32(1).u32(2);
    f.line8("pcm").u8(0).u32(0).u8(5).u8(0).u16(0).i16(0).u16(128).i16(0).i16(0);
    f.line8("samples\\a.wav").u8(59).i32(0).i32(0).i32(2).i32(1);
    for (int32_t v : {0, 0, 0, 0, -1, 0, 255, 255, 0})
        f.i32(v);
    f.defaultLfo().defaultLfo().u32(0);
    f.note(0, 960, 0, 50, 255, 500, 250, 512).endBucket().endNotes();
    f.line8("fm").u8(0).u32(0).u8(7).u8(0).u16(0).i16(0).u16(128).i16(0).i16(0).i32(3);
    for (int op = 0; op < 4; ++op) {
        for (int32_t v : {0, 0, 10, 20, -1, 30, 255, 255, 0})
            f.i32(v);
        f.defaultLfo().defaultLfo().i32(op).f64(1.0).i32(0);
    }
    for (int32_t v : {0, 0, 0, 0, -1, 0, 255, 255, 0})
        f.i32(v);
    f.defaultLfo().defaultLfo().u32(1).note(100, 4000, 0, 30, 100).endNotes();
    return f.bytes;
}

std::vector<Seed> Seeds() {
    CProject fresh;
    fresh.Reset();
    CProject varied = RandomSong(17).Make(3, 12);
    varied.tracks[0].settings.waveform = kWaveMemory;
    varied.tracks[0].settings.pcm = CPCM();
    varied.tracks[0].settings.fm = CFM();
    varied.tracks[0].settings.waveMemory.SetSize(64, 32);
    const std::vector<uint8_t> variedBytes = varied.SaveToBytes();

    std::vector<uint8_t> truncated(variedBytes.begin(), variedBytes.begin() + 300);
    std::vector<uint8_t> unclosed = fresh.SaveToBytes();
    unclosed.resize(unclosed.size() - 4);
    FileBytes negative;
    negative.append(FileBytes{std::vector<uint8_t>(unclosed)}).note(-7, 10, 0, 1, 1).endNotes();
    SongFields badTempo;
    badTempo.tempos = {{0, 120}, {960, 0.0}};
    SongFields badBeat;
    badBeat.beats = {{{0, 4, 0}}};
    FileBytes hugeCount;
    hugeCount.header(0x0901).line16(u"").u32(0xFFFFFFF0).i32(0).i32(128);

    return {
        {"new-song-1.9.tqp", fresh.SaveToBytes(), true},
        {"varied-1.9.tqp", variedBytes, true},
        {"v1.0.tqp", Version10(), true},
        {"v1.7-pcm-fm.tqp", Version17(), true},
        {"truncated.tqp", truncated, false},
        {"unclosed-notes.tqp", unclosed, false},
        {"negative-note.tqp", negative.bytes, false},
        {"zero-tempo.tqp", CurrentFile(badTempo, {}), false},
        {"zero-base-beat.tqp", CurrentFile(badBeat, {}), false},
        {"huge-count.tqp", hugeCount.bytes, false},
        {"newer-1.10.tqp", CurrentFile(SongFields(), {}, 0x0A01), false},
        {"build-info.tqb", FileBytes().u16(4).i32(1).i32(0).i32(0).i32(1).bytes, false},
        {"build-info-long.tqb", FileBytes().u16(0xFFFF).u32(0xFFFFFFFF).u64(1).i32(1).bytes, false},
    };
}

} // namespace

TEST(ProjectLoadCorpus, SeedsAreReadAsIntended) {
    const char* write = std::getenv("TSQ_WRITE_CORPUS");
    const std::filesystem::path folder =
        std::filesystem::path(TSQ_TEST_DATA) / "corpus" / "ProjectLoadFuzz";
    for (const Seed& seed : Seeds()) {
        CProject p;
        Result r = p.LoadFromBytes(seed.bytes);
        EXPECT_EQ(static_cast<bool>(r), seed.loads) << seed.name << ": " << r.message;
        if (seed.name.ends_with(".tqb")) {
            CProjectModified map;
            CArchiveReader ar(seed.bytes);
            EXPECT_NO_THROW(map.Serialize(ar)) << seed.name;
        }
        if (write != nullptr && *write != '\0') {
            std::filesystem::create_directories(folder);
            std::ofstream out(folder / seed.name, std::ios::binary);
            out.write(reinterpret_cast<const char*>(seed.bytes.data()),
                      static_cast<std::streamsize>(seed.bytes.size()));
        }
    }
}
