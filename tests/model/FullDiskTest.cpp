// Every file the model writes, on a disk that fills up or a target that cannot be
// replaced: the write fails with a reason, the previous file keeps its bytes and no
// temporary file is left behind.

#include "model/CProject.h"
#include "model/FileIO.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Fill(const fs::path& path, size_t size) {
    std::ofstream out(path, std::ios::binary);
    out << std::string(size, 'x');
}

CProject LongSong() {
    CProject song;
    song.tracks.resize(40);
    for (CTrack& track : song.tracks)
        for (int32_t i = 0; i < 200; ++i) {
            CNote note;
            note.position = i * 480;
            note.length = 240;
            track.AddNote(note);
        }
    return song;
}

CProjectModified Map(size_t seconds) {
    CProjectModified map;
    map.resize(seconds, 1);
    return map;
}

struct FILE_KIND {
    const char* name;
    std::function<Result(const std::string&)> write;
};

std::vector<FILE_KIND> Kinds() {
    return {
        {"project", [](const std::string& p) { return LongSong().Save(p); }},
        {"build info", [](const std::string& p) { return CProject::SaveBuildInfo(p, Map(4000)); }},
        {"MIDI", [](const std::string& p) { return LongSong().ExportMidi(p); }},
    };
}

// A folder on a small file system of its own, filled up to the last block. Needs the right
// to mount; tests skip without it.
class FullFolder : public testing::Test {
protected:
    fs::path folder;
    bool mounted = false;

    void SetUp() override {
        folder = fs::temp_directory_path() / ("tsq-full-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        const std::string mount =
            "mount -t tmpfs -o size=256k tmpfs '" + folder.string() + "' 2>/dev/null";
        mounted = ::geteuid() == 0 && std::system(mount.c_str()) == 0;
        if (!mounted)
            GTEST_SKIP() << "cannot mount a small file system here";
    }
    void TearDown() override {
        if (mounted)
            std::system(("umount '" + folder.string() + "'").c_str());
        fs::remove_all(folder);
    }
    void FillUp() { Fill(folder / "filler", 1 << 20); }
    size_t Entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
    }
};

} // namespace

TEST_F(FullFolder, AFullDiskLeavesEveryPreviousFileIntact) {
    for (const FILE_KIND& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        const fs::path target = folder / "target";
        Fill(target, 100);
        const std::vector<uint8_t> before = Bytes(target);
        FillUp();
        const size_t entries = Entries();
        const Result r = kind.write(target.string());
        EXPECT_FALSE(r);
        EXPECT_NE(r.message.find("target"), std::string::npos) << r.message;
        EXPECT_EQ(Bytes(target), before);
        EXPECT_EQ(Entries(), entries) << "a temporary file was left behind";
        fs::remove(folder / "filler");
        fs::remove(target);
    }
}

TEST(FileIO, AWriteThatCannotReplaceItsTargetFailsAndCleansUp) {
    const fs::path folder =
        fs::temp_directory_path() / ("tsq-blocked-" + std::to_string(::getpid()));
    fs::create_directories(folder / "target" / "inside");
    for (const FILE_KIND& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        EXPECT_FALSE(kind.write((folder / "target").string()));
        EXPECT_TRUE(fs::is_directory(folder / "target" / "inside"));
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
    }
    fs::remove_all(folder);
}
