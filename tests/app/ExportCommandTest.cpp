// `tsq --export`, run as the built program: stems that add up to the song, loop files that
// run seamlessly from their end into their start and carry their loop points, every format
// decoding to the song's length (MP3 through the decoder module), the cache that makes a
// second export quick, Ctrl+C that leaves no half-written file, and the exit statuses.

#include "ProgramRunner.h"
#include "audio/CAudioFile.h"
#include "audio/CSoundFileReader.h"
#include "model/CProject.h"

#include "../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kTsq = std::string(TSQ_BINARY_DIR) + "/tsq";
constexpr int kRate = 11025;             // not an Opus rate: Opus files are rendered at 48000 Hz
constexpr int32_t kTicksPerSecond = 960; // at 120 BPM

struct DECODED {
    int channels = 0;
    int rate = 0;
    std::vector<double> samples;
    int64_t Frames() const { return channels == 0 ? 0 : int64_t(samples.size()) / channels; }
};

DECODED Decode(const std::string& path) {
    DECODED d;
    CSoundFileReader reader;
    EXPECT_TRUE(reader.Open(path)) << path;
    if (reader.Channels() == 0)
        return d;
    d.channels = reader.Channels();
    d.rate = reader.Rate();
    d.samples.resize(size_t(reader.Frames()) * size_t(d.channels));
    EXPECT_TRUE(reader.Read(0, reader.Frames(), d.samples.data()));
    return d;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32At(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b.at(at))) | uint32_t(uint8_t(b.at(at + 1))) << 8 |
           uint32_t(uint8_t(b.at(at + 2))) << 16 | uint32_t(uint8_t(b.at(at + 3))) << 24;
}

class ExportCommand : public TempFolderTest {
protected:
    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), "--export");
        return RunProgram("'" + kTsq + "'", args, File("stderr.txt"), errors, File("out.txt"));
    }

    static CProject NewSong(int tracks) {
        CProject p;
        p.Reset();
        p.data.samplesPerSec = kRate;
        p.data.startDummy = 100;
        p.data.endDummy = 100;
        for (int t = 1; t < tracks; ++t)
            p.InsertTrack(t);
        return p;
    }

    static void AddNote(CTrack& track, int32_t position, int32_t length, int32_t key) {
        CNote n;
        n.position = position;
        n.length = length;
        n.key = key;
        track.AddNote(n);
    }

    // Three tracks panned apart, one note a second each, `seconds` long.
    std::string SaveMix(const std::string& name, int seconds, int tracks = 3) {
        CProject p = NewSong(tracks);
        for (int t = 0; t < tracks; ++t) {
            p.tracks[size_t(t)].settings.pan = (t - 1) * 200;
            p.tracks[size_t(t)].settings.waveform = kSine;
            for (int s = 0; s < seconds; ++s)
                AddNote(p.tracks[size_t(t)], s * kTicksPerSecond + 120 * t, 480, 40 + 5 * t);
        }
        return Save(p, name);
    }

    // A loop over seconds 1..4 and a sine note that rings on 1 s past its end, nothing
    // sounding at its start: without the tail folded back, its end would jump to silence.
    std::string SaveLoop(const std::string& name) {
        CProject p = NewSong(1);
        p.tracks[0].settings.waveform = kSine;
        p.data.loopEnabled = 1;
        p.data.loopStart = kTicksPerSecond;
        p.data.loopEnd = 4 * kTicksPerSecond;
        p.data.fadeOut = 500;
        AddNote(p.tracks[0], 0, kTicksPerSecond / 2, 50);
        AddNote(p.tracks[0], 2 * kTicksPerSecond, 3 * kTicksPerSecond, 60);
        AddNote(p.tracks[0], 6 * kTicksPerSecond, kTicksPerSecond, 30);
        return Save(p, name);
    }

    std::string Save(const CProject& p, const std::string& name) {
        const std::string path = File(name);
        EXPECT_TRUE(p.Save(path));
        return path;
    }

    std::string errors;
};

// 100 ms of silence on either side of the 1.625 s of a two-second mix.
int64_t SongFrames(int rate) {
    return 2 * (int64_t{rate} / 10) + int64_t(std::ceil(1.625 * rate));
}

double MaxStep(const DECODED& d, int64_t from, int64_t to) {
    double most = 0;
    for (int64_t f = from + 1; f < to; ++f)
        for (int c = 0; c < d.channels; ++c)
            most = std::max(most, std::abs(d.samples[size_t(f * d.channels + c)] -
                                           d.samples[size_t((f - 1) * d.channels + c)]));
    return most;
}

double Step(const DECODED& d, int64_t from, int64_t to) {
    double most = 0;
    for (int c = 0; c < d.channels; ++c)
        most = std::max(most, std::abs(d.samples[size_t(to * d.channels + c)] -
                                       d.samples[size_t(from * d.channels + c)]));
    return most;
}

} // namespace

TEST_F(ExportCommand, StemsSumToTheFullMix) {
    const std::string project = SaveMix("mix.tqp", 3);
    ASSERT_EQ(Run({project, "--format", "wav", "--output", File("full.wav")}), 0) << errors;
    ASSERT_EQ(Run({project, "--format", "wav", "--stems", "--output", File("stems")}), 0) << errors;

    const DECODED full = Decode(File("full.wav"));
    std::vector<std::string> stems;
    for (const auto& entry : fs::directory_iterator(File("stems")))
        stems.push_back(entry.path().string());
    ASSERT_EQ(stems.size(), 3u);
    std::vector<double> sum(full.samples.size(), 0.0);
    for (const std::string& stem : stems) {
        EXPECT_EQ(fs::path(stem).filename().string().rfind("mix - ", 0), 0u) << stem;
        const DECODED d = Decode(stem);
        ASSERT_EQ(d.samples.size(), full.samples.size()) << stem;
        for (size_t i = 0; i < sum.size(); ++i)
            sum[i] += d.samples[i];
    }
    // Each file rounds to 16 bits once: three stems differ from the mix by at most
    // two steps of 1/32768 (a master volume applied twice would be far off).
    double worst = 0;
    double loudest = 0;
    for (size_t i = 0; i < sum.size(); ++i) {
        worst = std::max(worst, std::abs(sum[i] - full.samples[i]));
        loudest = std::max(loudest, std::abs(full.samples[i]));
    }
    EXPECT_GT(loudest, 0.05);
    EXPECT_LE(worst, 2.0 / 32768);
}

TEST_F(ExportCommand, EveryFormatDecodesToTheSongsLength) {
    const std::string project = SaveMix("song.tqp", 2, 2);
    ASSERT_EQ(Run({project, "--format", "wav"}), 0) << errors;
    EXPECT_FALSE(fs::exists(File("song.wav"))) << "the build's own file keeps its name";
    const DECODED wav = Decode(File("song (export).wav"));
    ASSERT_GT(wav.Frames(), 0);
    // 100 ms of silence on either side of 1.625 s of song.
    EXPECT_EQ(wav.Frames(), SongFrames(kRate));

    struct CASE {
        const char* format;
        const char* file;
        int rate;
        bool lossless;
    };
    for (const CASE& c :
         {CASE{"flac", "song.flac", kRate, true}, CASE{"ogg", "song.ogg", kRate, false},
          CASE{"opus", "song.opus", 48000, false}}) {
        SCOPED_TRACE(c.format);
        ASSERT_EQ(Run({project, "--format", c.format}), 0) << errors;
        const DECODED d = Decode(File(c.file));
        EXPECT_EQ(d.rate, c.rate);
        EXPECT_NEAR(double(d.Frames()), double(SongFrames(c.rate)), 1.0);
        if (c.lossless) {
            EXPECT_EQ(d.samples, wav.samples);
        }
    }
}

TEST_F(ExportCommand, LoopRunsFromItsEndIntoItsStartAndCarriesItsPoints) {
    const std::string project = SaveLoop("game.tqp");
    ASSERT_EQ(Run({project, "--format", "wav", "--loop", "1"}), 0) << errors;
    const std::string path = File("game (loop).wav");
    const DECODED d = Decode(path);
    // The lead-in (1 s) once, then the loop (3 s); no silence, no fade-out, no outro.
    const int64_t start = kRate;
    const int64_t length = 3 * kRate;
    ASSERT_EQ(d.Frames(), start + length);
    const double inside = MaxStep(d, start, start + length);
    EXPECT_GT(inside, 0.0);
    EXPECT_LE(Step(d, start + length - 1, start), inside);
    // The tail is in the loop's start: something sounds there though no note starts.
    EXPECT_GT(std::abs(d.samples[size_t(start * d.channels)]), 0.01);

    const std::string bytes = ReadText(path);
    const size_t smpl = bytes.find("smpl");
    ASSERT_NE(smpl, std::string::npos);
    EXPECT_EQ(U32At(bytes, smpl + 36), 1u) << "one loop";
    EXPECT_EQ(U32At(bytes, smpl + 52), start);
    EXPECT_EQ(U32At(bytes, smpl + 56), start + length - 1);
    EXPECT_EQ(U32At(bytes, 4), bytes.size() - 8);
}

TEST_F(ExportCommand, OggLoopsCarryLoopComments) {
    const std::string project = SaveLoop("game.tqp");
    struct CASE {
        const char* format;
        const char* file;
        int rate;
    };
    for (const CASE& c :
         {CASE{"ogg", "game (loop).ogg", kRate}, CASE{"opus", "game (loop).opus", 48000}}) {
        SCOPED_TRACE(c.format);
        ASSERT_EQ(Run({project, "--format", c.format, "--loop", "2", "--fade", "500"}), 0)
            << errors;
        const std::string bytes = ReadText(File(c.file));
        EXPECT_NE(bytes.find("LOOPSTART=" + std::to_string(c.rate)), std::string::npos);
        EXPECT_NE(bytes.find("LOOPLENGTH=" + std::to_string(3 * c.rate)), std::string::npos);
        // Still a file every decoder reads to its whole length: lead-in, two passes, fade.
        const DECODED d = Decode(File(c.file));
        EXPECT_NEAR(double(d.Frames()), double(c.rate + 6 * c.rate + c.rate / 2), 1.0);
    }
}

TEST_F(ExportCommand, ExportingAgainRendersOnlyWhatChanged) {
    CProject p = NewSong(2);
    p.tracks[1].settings.name = "ベース";
    for (int s = 0; s < 4; ++s) {
        AddNote(p.tracks[0], s * kTicksPerSecond, 480, 40);
        AddNote(p.tracks[1], s * kTicksPerSecond, 480, 50);
    }
    const std::string project = Save(p, "song.tqp");
    ASSERT_EQ(Run({project, "--format", "flac", "--stems"}), 0) << errors;
    const fs::path cache = dir / ".song.export-cache";
    const fs::path first = cache / "track1-11025.wav";
    const fs::path second = cache / "track2-11025.wav";
    ASSERT_TRUE(fs::exists(first));
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(first, old);
    fs::last_write_time(second, old);

    AddNote(p.tracks[1], 2 * kTicksPerSecond + 480, 240, 60);
    Save(p, "song.tqp");
    ASSERT_EQ(Run({project, "--format", "flac", "--stems"}), 0) << errors;
    EXPECT_EQ(fs::last_write_time(first), old) << "the untouched stem is not rendered";
    EXPECT_NE(fs::last_write_time(second), old);
    // The stem rendered in part equals one rendered from scratch.
    const DECODED quick = Decode(File("song - ベース.flac"));
    fs::remove_all(cache);
    ASSERT_EQ(Run({project, "--format", "flac", "--stems"}), 0) << errors;
    EXPECT_EQ(Decode(File("song - ベース.flac")).samples, quick.samples);
}

TEST_F(ExportCommand, CtrlCLeavesNoHalfWrittenFile) {
    const std::string project = SaveMix("long.tqp", 3600, 5);
    const std::vector<std::string> command = {kTsq,   "--export",  project, "--format",
                                              "flac", "--threads", "1"};
    auto noFlacLeft = [this] {
        for (const auto& entry : fs::directory_iterator(dir))
            EXPECT_EQ(entry.path().string().find(".flac"), std::string::npos) << entry.path();
    };
    // Stopped while the song renders.
    pid_t pid = SpawnProgram(command, File("stderr.txt"));
    ASSERT_NE(pid, 0);
    int status = InterruptOnceWritten(pid, File(".long.export-cache/song-11025.wav"), 50);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    noFlacLeft();

    // Stopped while the file is written: its temporary name is the only one it had.
    ASSERT_EQ(Run({project, "--format", "wav", "--threads", "1"}), 0) << errors;
    pid = SpawnProgram(command, File("stderr.txt"));
    ASSERT_NE(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool writing = false;
    while (!writing && std::chrono::steady_clock::now() < deadline)
        for (const auto& entry : fs::directory_iterator(dir))
            writing = writing || entry.path().filename().string().rfind(".long.flac.", 0) == 0;
    EXPECT_TRUE(writing);
    status = InterruptOnceWritten(pid, project, 20);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    noFlacLeft();
}

TEST_F(ExportCommand, ExitStatusesSayWhatWentWrong) {
    const std::string project = SaveMix("song.tqp", 1, 1);
    struct CASE {
        std::vector<std::string> args;
        int status;
        const char* says;
    };
    const std::vector<CASE> cases = {
        {{project}, 2, "--format"},
        {{project, "--format", "mp4"}, 2, "wav, flac, ogg, opus or mp3"},
        {{project, "--format", "mp3", "--bitrate", "7"}, 2, "--bitrate takes"},
        {{project, "--format", "wav", "--bitrate", "128"}, 2, "--bitrate needs --format mp3"},
        {{project, "--format", "wav", "--threads", "0"}, 2, "--threads takes"},
        {{project, "--format", "wav", "--loop", "0"}, 2, "--loop takes"},
        {{project, "--format", "wav", "--fade", "100"}, 2, "--fade needs --loop"},
        {{project, project, "--format", "wav"}, 2, "one project file"},
        {{File("missing.tqp"), "--format", "wav"}, 1, "missing.tqp"},
        {{project, "--format", "wav", "--loop", "2"}, 1, "no endless loop"},
        {{project, "--format", "ogg", "--output", File("no/such/dir/x.ogg")}, 1, "x.ogg"},
        {{project, "--format", "ogg"}, 0, ""},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(Run(c.args), c.status) << errors;
        EXPECT_NE(errors.find(c.says), std::string::npos) << errors;
    }
    EXPECT_EQ(ReadText(File("out.txt")), File("song.ogg") + "\n");
}

namespace {

// MP3 exports with the modules beside the program and settings of the test's own (so the
// encoder is the default one, whatever the user running the tests chose).
class Mp3Export : public ExportCommand {
protected:
    void SetUp() override {
        ExportCommand::SetUp();
        fs::create_directories(dir / "config");
        setenv("XDG_CONFIG_HOME", File("config").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        ExportCommand::TearDown();
    }

    // Frames of an MP3 file decoded by the decoder module; -1 when it does not decode.
    static int64_t DecodedFrames(const std::string& path) {
        CAudioFile decoder(QString::fromUtf8(TSQ_BINARY_DIR));
        WAVE_FORMAT format;
        std::vector<uint8_t> data;
        if (!decoder.Load(QString::fromStdString(path), format, data) || format.blockAlign == 0)
            return -1;
        return int64_t(data.size() / format.blockAlign);
    }

    // Every file in the folder but the project and the cache: no temporary may stay behind.
    std::vector<std::string> Left() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file() && entry.path().extension() != ".tqp" &&
                entry.path().extension() != ".txt")
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Both encoder modules write the LAME Info tag with the encoder's delay and padding, and the
// decoder module's libmpg123 takes both off again, so the decoded length matches the song
// as closely as the other lossy formats do: one frame. Without the tag a file would be up
// to 1105 frames (delay) plus one MP3 frame (padding) longer.
constexpr double kMp3Tolerance = 1.0;

} // namespace

TEST_F(Mp3Export, SongStemsAndLoopDecodeToTheirLength) {
    const std::string mix = SaveMix("song.tqp", 2, 2);
    // The stored choice of encoder (1: gogo, 2: LAME) and a bit rate of the command line's.
    for (const char* encoder : {"1", "2"}) {
        SCOPED_TRACE(encoder);
        fs::create_directories(dir / "config/Ostrova");
        std::ofstream(File("config/Ostrova/Tesselaphon Editor.conf"))
            << "[Encoder]\nEncoder=" << encoder << "\nBitRate=96\n";
        ASSERT_EQ(Run({mix, "--format", "mp3", "--bitrate", "64"}), 0) << errors;
        EXPECT_NEAR(double(DecodedFrames(File("song.mp3"))), double(SongFrames(kRate)),
                    kMp3Tolerance);
    }
    ASSERT_EQ(Run({mix, "--format", "mp3", "--stems"}), 0) << errors;
    const std::string loop = SaveLoop("game.tqp");
    ASSERT_EQ(Run({loop, "--format", "mp3", "--loop", "2", "--fade", "500"}), 0) << errors;

    struct CASE {
        const char* file;
        int64_t frames;
    };
    for (const CASE& c : {CASE{"song - トラック1.mp3", SongFrames(kRate)},
                          CASE{"song - track2.mp3", SongFrames(kRate)},
                          CASE{"game (loop).mp3", kRate + 6 * kRate + kRate / 2}}) {
        SCOPED_TRACE(c.file);
        EXPECT_NEAR(double(DecodedFrames(File(c.file))), double(c.frames), kMp3Tolerance);
    }
    // An MP3 file has no loop points: no "smpl" chunk, no loop comments.
    const std::string bytes = ReadText(File("game (loop).mp3"));
    EXPECT_EQ(bytes.find("LOOPSTART"), std::string::npos);
    EXPECT_EQ(bytes.find("smpl"), std::string::npos);
    EXPECT_EQ(Left(), (std::vector<std::string>{"game (loop).mp3", "song - track2.mp3",
                                                "song - トラック1.mp3", "song.mp3"}));
}

TEST_F(Mp3Export, WithoutEncoderModulesItSaysSoAndWritesNothing) {
    const std::string project = SaveMix("song.tqp", 1, 1);
    const std::string lonely = File("tsq");
    fs::copy_file(kTsq, lonely);
    EXPECT_EQ(RunProgram("'" + lonely + "'", {"--export", project, "--format", "mp3"},
                         File("stderr.txt"), errors),
              1);
    EXPECT_NE(errors.find("エンコーダが見つかりません。"), std::string::npos) << errors;
    fs::remove(lonely);
    EXPECT_TRUE(Left().empty());
}

TEST_F(Mp3Export, CtrlCWhileEncodingLeavesNothingAtTheTarget) {
    const std::string project = SaveMix("long.tqp", 900, 2);
    ASSERT_EQ(Run({project, "--format", "wav", "--threads", "1"}), 0) << errors;
    fs::remove(File("long (export).wav"));
    const pid_t pid =
        SpawnProgram({kTsq, "--export", project, "--format", "mp3"}, File("stderr.txt"));
    ASSERT_NE(pid, 0);
    // The encoder writes its output beside the temporary WAV file under a hidden name.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool encoding = false;
    while (!encoding && std::chrono::steady_clock::now() < deadline)
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            encoding = encoding ||
                       (name.rfind(".long.mp3.", 0) == 0 && entry.path().extension() == ".mp3");
        }
    EXPECT_TRUE(encoding);
    const int status = InterruptOnceWritten(pid, project, 20);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(Left(), std::vector<std::string>{});
}
