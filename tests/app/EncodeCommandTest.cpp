// `tsq --encode`, run as the built program: it builds what is stale, writes the MP3 file
// beside the WAV file with the modules beside the program, says so when there is no
// encoder, and refuses bad arguments.

#include "ProgramRunner.h"
#include "model/CProject.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class EncodeCommand : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("tsq_encode_") + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "config");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    std::string File(const std::string& name) const { return (dir / name).string(); }

    // Runs a tsq program with its settings in the test's own folder; keeps stderr.
    int Run(const std::string& program, const std::vector<std::string>& args) {
        return RunProgram("XDG_CONFIG_HOME='" + File("config") + "' '" + program + "'", args,
                          File("stderr.txt"), errors);
    }

    // A song of two short notes, the second at `lastSecond`.
    std::string SaveSong(int lastSecond = 1, uint32_t rate = 8000) {
        CProject p;
        p.Reset();
        p.data.channels = 1;
        p.data.samplesPerSec = int32_t(rate);
        for (const int s : {0, lastSecond}) {
            CNote n;
            n.position = s * 960; // 120 BPM: 960 ticks a second
            n.length = 480;
            n.key = 40;
            p.tracks[0].AddNote(n);
        }
        const std::string path = File("song.tqp");
        EXPECT_TRUE(p.Save(path));
        return path;
    }

    fs::path dir;
    std::string errors;
};

const std::string kTsq = std::string(TSQ_BINARY_DIR) + "/tsq";

} // namespace

TEST_F(EncodeCommand, BuildsAndWritesTheMp3BesideTheWav) {
    const std::string song = SaveSong();
    for (const char* rate : {"64", "320"}) {
        SCOPED_TRACE(rate);
        EXPECT_EQ(Run(kTsq, {"--encode", song, "--bitrate", rate}), 0) << errors;
        EXPECT_TRUE(fs::exists(File("song.wav")));
        std::ifstream mp3(File("song.mp3"), std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(mp3), {}};
        ASSERT_GT(bytes.size(), 4u);
        // An MPEG audio frame starts the file: eleven set sync bits.
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1] & 0xE0, 0xE0);
    }
}

TEST_F(EncodeCommand, WithoutEncoderModulesItSaysSoAndFails) {
    const std::string song = SaveSong();
    // A copy of the program in a folder without modules.
    const std::string lonely = File("tsq");
    fs::copy_file(kTsq, lonely);
    EXPECT_EQ(Run(lonely, {"--encode", song}), 1);
    EXPECT_NE(errors.find("エンコーダが見つかりません。"), std::string::npos) << errors;
    EXPECT_TRUE(fs::exists(File("song.wav")));
    EXPECT_FALSE(fs::exists(File("song.mp3")));
}

TEST_F(EncodeCommand, BadArgumentsAreUsageErrors) {
    const std::string song = SaveSong();
    EXPECT_EQ(Run(kTsq, {"--encode"}), 2);
    EXPECT_EQ(Run(kTsq, {"--encode", song, "--bitrate"}), 2);
    EXPECT_EQ(Run(kTsq, {"--encode", song, "--bitrate", "7"}), 2);
    EXPECT_EQ(Run(kTsq, {"--encode", song, "--bitrate", "fast"}), 2);
    EXPECT_EQ(Run(kTsq, {"--encode", song, "--loud"}), 2);
    EXPECT_EQ(Run(kTsq, {"--encode", song, song}), 2);
    EXPECT_FALSE(fs::exists(File("song.wav")));
    EXPECT_EQ(Run(kTsq, {"--encode", File("missing.tqp")}), 1);
}

TEST_F(EncodeCommand, CtrlCStopsTheEncodingAndKeepsThePartWritten) {
    // [GIVEN] a song built already, twenty minutes long: encoding it takes far longer than
    // the 100 ms after which the encoder first looks for Ctrl+C
    const std::string song = SaveSong(1200, 22050);
    ASSERT_EQ(Run(kTsq, {"--render", song}), 0) << errors;
    const std::string mp3 = File("song.mp3");
    const pid_t pid = SpawnProgram({kTsq, "--encode", song}, File("stderr.txt"));
    ASSERT_NE(pid, 0);

    // [WHEN] Ctrl+C arrives once the MP3 file has been started
    const int status = InterruptOnceWritten(pid, mp3, 20);

    // [THEN] exit status 130 and a part of the MP3 file; the whole, at 128 kbit/s, would
    // hold 19.2 MB
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_GT(fs::file_size(mp3), 0u);
    EXPECT_LT(fs::file_size(mp3), 1200u * 128000 / 8 / 2);
}
