#include "app/ProjectJson.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

CProject FromJson(const std::string& text) {
    CProject p;
    Result r = ProjectFromJson(text, p);
    EXPECT_TRUE(r) << r.message;
    return p;
}

std::string RefusalOf(const std::string& text) {
    CProject p;
    p.Reset();
    p.data.name = "kept";
    Result r = ProjectFromJson(text, p);
    EXPECT_FALSE(r);
    EXPECT_EQ(p.data.name, "kept") << "a refused conversion must leave the project alone";
    return r.message;
}

} // namespace

TEST(ProjectJson, MissingKeysTakeTheirDefaults) {
    CProject p = FromJson(R"({"tracks":[{"name":"A","waveform":7}]})");
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(p.tracks[0].settings.name, "A");
    EXPECT_EQ(p.tracks[0].settings.waveform, kFm);
    EXPECT_EQ(p.tracks[0].settings.volume, 128);
    EXPECT_EQ(p.data.samplesPerSec, 44100);
    EXPECT_EQ(p.data.tempos[0].tempo, 120.0);
    EXPECT_EQ(p.tracks[0].settings.fm.operators[3].multiple, 1.0);
}

TEST(ProjectJson, NotesMayLeaveOutVolumeAndPortamento) {
    CProject p =
        FromJson(R"({"tracks":[{"notes":[[0,480,0,50],[480,480,10,52,100,0,240,-256]]}]})");
    CNoteArray notes = p.tracks[0].Notes();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0]->volume, 255);
    EXPECT_EQ(notes[1]->portamentoLevel, -256);
    EXPECT_EQ(notes[1]->keyoff, 10);
}

TEST(ProjectJson, RefusesValuesOutOfRangeNamingTheKey) {
    EXPECT_EQ(RefusalOf(R"({"tracks":[{"envelope":{"attack":20000}}]})"),
              "tracks[0].envelope.attack: 20000 is out of range (0..10000)");
    EXPECT_EQ(RefusalOf(R"({"tempos":[[0,5]]})"),
              "tempos[0][1]: out of range (10.000000..1000.000000)");
    EXPECT_NE(RefusalOf(R"({"tempos":[[480,120]]})").find("tempos[0]"), std::string::npos);
    EXPECT_NE(RefusalOf(R"({"beats":[[0,3,3]]})").find("power of two"), std::string::npos);
    EXPECT_NE(RefusalOf(R"({"bitsPerSample":12})").find("bitsPerSample"), std::string::npos);
    EXPECT_NE(RefusalOf(R"({"tracks":[{"notes":[[0,0,0,50]]}]})").find("notes[0][1]"),
              std::string::npos);
    EXPECT_NE(RefusalOf(R"({"tracks":[{"notes":[[0,10,0,96]]}]})").find("notes[0][3]"),
              std::string::npos);
    EXPECT_NE(RefusalOf(R"({"tracks":[{"wavefrom":1}]})").find("tracks[0].wavefrom: unknown key"),
              std::string::npos);
    EXPECT_NE(RefusalOf(R"({"tracks":[{"volume":1.5}]})").find("must be an integer"),
              std::string::npos);
    EXPECT_EQ(RefusalOf("[1,2"), "not valid JSON");
    EXPECT_EQ(RefusalOf("[]"), "top level: must be an object");
}

TEST(ProjectJson, DumpReadsBackToTheSameProject) {
    std::mt19937 random(7);
    CProject p;
    p.Reset();
    p.data.name = "曲, \"quoted\"";
    p.data.tempos.Set({1920, 97.123456789012345});
    p.data.volumes.Set({960, 200});
    p.data.beats.Set({2, 6, 8});
    p.data.loopEnabled = 1;
    p.data.loopEnd = 3840;
    for (int k = 0; k < 8; ++k) {
        CTrack& t = p.tracks[static_cast<size_t>(p.InsertTrack(k + 1))];
        t.settings.waveform = k;
        t.settings.fm.operators[2].multiple = 0.1 * k + 1.0 / 3.0;
        t.settings.waveMemory.SetSize(64, 32);
        t.settings.waveMemory.samples[5] = -16;
        for (int i = 0; i < 50; ++i) {
            CNote n;
            n.position = static_cast<int32_t>(random() % 20000);
            n.length = 1 + static_cast<int32_t>(random() % 3000);
            n.key = static_cast<int32_t>(random() % 96);
            n.volume = static_cast<int32_t>(random() % 256);
            n.portamentoLevel = static_cast<int32_t>(random() % 512) - 256;
            t.AddNote(n);
        }
    }
    const std::string json = ProjectToJson(p);
    CProject back = FromJson(json);
    EXPECT_EQ(ProjectToJson(back), json);
    EXPECT_EQ(back.SaveToBytes(), p.SaveToBytes());
}

TEST(CommandLine, ConvertsAndDumpsThroughTheProgram) {
    const auto dir = std::filesystem::temp_directory_path() / "tsq_cli_test";
    std::filesystem::create_directories(dir);
    const std::string tsq = std::string(TSQ_BINARY_DIR) + "/tsq";
    std::ofstream(dir / "song.json")
        << R"({"name":"歌","tracks":[{"name":"A","notes":[[0,480,0,50]]}]})";
    auto run = [&](const std::string& args) {
        return WEXITSTATUS(std::system((tsq + " " + args + " >" + (dir / "out.txt").string() +
                                        " 2>" + (dir / "err.txt").string())
                                           .c_str()));
    };
    EXPECT_EQ(run("--convert " + (dir / "song.json").string() + " " + (dir / "song.tqp").string()),
              0);
    EXPECT_EQ(run("--dump " + (dir / "song.tqp").string()), 0);
    CProject dumped;
    std::ifstream in(dir / "out.txt");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    ASSERT_TRUE(ProjectFromJson(text, dumped));
    EXPECT_EQ(dumped.data.name, "歌");
    EXPECT_EQ(dumped.tracks[0].NoteCount(), 1u);

    EXPECT_EQ(run("--dump " + (dir / "missing.tqp").string()), 1);
    std::ifstream err(dir / "err.txt");
    std::string message((std::istreambuf_iterator<char>(err)), {});
    EXPECT_NE(message.find("missing.tqp"), std::string::npos);
    EXPECT_EQ(run("--dump"), 2);
    EXPECT_EQ(run("--convert only-one"), 2);
    EXPECT_EQ(run("--frobnicate"), 2);
    std::filesystem::remove_all(dir);
}
