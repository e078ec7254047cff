#include "app/ProjectJson.h"

#include "ProgramRunner.h"

#include "model/SongLimits.h"
#include "model/SoundRanges.h"

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

// A JSON text of `count` tracks, each the given object.
std::string Tracks(size_t count, const std::string& track = "{}") {
    std::string text = R"({"tracks":[)";
    for (size_t i = 0; i < count; ++i)
        text += (i == 0 ? "" : ",") + track;
    return text + "]}";
}

// `{"a":{"b":...{"key":value}}}` along a dotted path such as "tracks[0].envelope".
std::string WithValue(const std::string& where, const char* key, int64_t value) {
    const std::string field = "\"" + std::string(key) + "\":" + std::to_string(value);
    if (where == "track")
        return R"({"tracks":[{)" + field + "}]}";
    if (where == "pcm" || where == "envelope" || where == "pitchLFO" || where == "ampLFO")
        return R"({"tracks":[{")" + where + R"(":{)" + field + "}}]}";
    return R"({"tracks":[{"fm":{"operators":[{)" + field + "}]}}]}"; // an operator
}

// For every field of a record, --convert accepts exactly the values the project loader
// keeps as they are: below, at and above both ends of the range.
template <class R, size_t N, class Clamp>
void ExpectConvertAcceptsWhatTheLoaderKeeps(const std::array<soundranges::FIELD<R>, N>& fields,
                                            const std::string& where, Clamp clamp) {
    for (const auto& field : fields) {
        for (int64_t v : {int64_t{field.range.lo} - 1, int64_t{field.range.lo},
                          int64_t{field.range.hi}, int64_t{field.range.hi} + 1}) {
            SCOPED_TRACE(where + "." + field.name + " = " + std::to_string(v));
            R record{};
            const auto stored = static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
            record.*field.member = stored;
            clamp(record);
            const bool kept = v == stored && record.*field.member == stored;
            CProject p;
            EXPECT_EQ(static_cast<bool>(ProjectFromJson(WithValue(where, field.name, v), p)), kept);
        }
    }
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
    CConstNoteArray notes = p.tracks[0].Notes();
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

TEST(ProjectJson, ConvertRefusesExactlyWhatTheLoaderWouldMend) {
    using namespace soundranges;
    ExpectConvertAcceptsWhatTheLoaderKeeps(kTrackFields, "track", [](CTrackData& r) { Clamp(r); });
    ExpectConvertAcceptsWhatTheLoaderKeeps(kEnvelopeFields, "envelope",
                                           [](CEnvelope& r) { Clamp(r); });
    ExpectConvertAcceptsWhatTheLoaderKeeps(kPcmFields, "pcm", [](CPCM& r) { Clamp(r); });
    ExpectConvertAcceptsWhatTheLoaderKeeps(kOperatorFields, "operator",
                                           [](CFMOperator& r) { Clamp(r); });
    ExpectConvertAcceptsWhatTheLoaderKeeps(kLfoFields, "pitchLFO",
                                           [](CLFO& r) { Clamp(r, kPitchDepth); });
    ExpectConvertAcceptsWhatTheLoaderKeeps(kLfoFields, "ampLFO",
                                           [](CLFO& r) { Clamp(r, kAmpDepth); });
    CProject p;
    EXPECT_TRUE(ProjectFromJson(WithValue("pitchLFO", "depth", 3072), p));
    EXPECT_FALSE(ProjectFromJson(WithValue("pitchLFO", "depth", 3073), p));
    EXPECT_TRUE(ProjectFromJson(WithValue("ampLFO", "depth", 255), p));
    EXPECT_FALSE(ProjectFromJson(WithValue("ampLFO", "depth", 256), p));
}

TEST(ProjectJson, RefusesSongsTheLoaderWouldRefuse) {
    CProject p;
    ASSERT_TRUE(ProjectFromJson(Tracks(songlimits::kMaxTracks), p));
    EXPECT_EQ(p.tracks.size(), size_t{songlimits::kMaxTracks});
    EXPECT_TRUE(songlimits::Check(p));
    struct Case {
        const char* what;
        std::string json;
        const char* message;
    } cases[] = {
        {"one track too many", Tracks(songlimits::kMaxTracks + 1),
         "tracks: more than 4096 tracks, the most a song can have"},
        // one segment, but more than a million bucket slots before it
        {"a note too far out", Tracks(1, R"({"notes":[[2100000000,10,0,50]]})"),
         "tracks[0].notes: the song's notes reach further than a song can"},
        // a million segments and slots, then 50000 segments more
        {"notes too long",
         R"({"tracks":[{"notes":[[0,960000000,0,50]]},{"notes":[[0,96000000,0,50]]}]})",
         "tracks[1].notes[0]: the song's notes are longer than a song can be"},
        {"a track that is no object", Tracks(2, "[]"), "tracks[0]: must be an object"},
        {"a note that is no array", Tracks(1, R"({"notes":[[0,1,0,0],7]})"),
         "tracks[0].notes[1]: must be [position, length, keyoff, key, volume, portamentoStart, "
         "portamentoLength, portamentoLevel] (the last four may be left out)"},
        {"notes that are no array", Tracks(1, R"({"notes":{}})"),
         "tracks[0].notes: must be an array"},
        {"a time-list element that is no array", R"({"volumes":[[0,1],{}]})",
         "volumes[1]: must have 2 elements"},
        {"nested too deeply", R"({"x":[[[[[[[1]]]]]]]})",
         "top level: nested deeper than a song can be"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RefusalOf(c.json), c.message);
    }
}

// However large the text, the reader keeps only a bounded document beside what it builds:
// unknown content that a song cannot hold is refused once it passes that bound, and the
// time lists, notes and tracks of a song are read without a document of their own.
TEST(ProjectJson, LargeTextsAreReadWithoutHoldingTheirDocument) {
    std::string unknown = R"({"x":[)";
    for (int i = 0; i < 200000; ++i)
        unknown += i == 0 ? "[]" : ",[]";
    EXPECT_EQ(RefusalOf(unknown + "]}"), "top level: holds more values than a song can have");

    std::string tempos = R"({"tempos":[)";
    std::string notes = R"({"tracks":[{"notes":[)";
    for (int i = 0; i < 200000; ++i) {
        tempos += (i == 0 ? "[" : ",[") + std::to_string(i) + ",120]";
        notes += (i == 0 ? "[" : ",[") + std::to_string(i * 20) + ",10,0,50]";
    }
    CProject p = FromJson(tempos + "]}");
    EXPECT_EQ(p.data.tempos.size(), 200000u);
    EXPECT_EQ(p.data.tempos[199999].position, 199999);
    p = FromJson(notes + "]}]}");
    EXPECT_EQ(p.tracks.at(0).NoteCount(), 200000u);
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

TEST(CommandLine, ConvertWritesNoSongTheProgramCouldNotOpen) {
    const auto dir = std::filesystem::temp_directory_path() / "tsq_cli_limit_test";
    std::filesystem::create_directories(dir);
    const std::string tsq = std::string(TSQ_BINARY_DIR) + "/tsq";
    const std::string out = (dir / "song.tqp").string();
    const std::string err = (dir / "err.txt").string();
    std::string errors;
    for (size_t count : {size_t{songlimits::kMaxTracks}, size_t{songlimits::kMaxTracks} + 1}) {
        std::ofstream(dir / "song.json") << Tracks(count);
        const bool fits = count <= songlimits::kMaxTracks;
        EXPECT_EQ(RunProgram(tsq, {"--convert", (dir / "song.json").string(), out}, err, errors),
                  fits ? 0 : 1)
            << count;
        EXPECT_EQ(errors.find("more than 4096 tracks") != std::string::npos, !fits) << errors;
        EXPECT_EQ(std::filesystem::exists(out), fits);
        if (fits) {
            EXPECT_EQ(RunProgram(tsq, {"--dump", out}, err, errors), 0) << errors;
            std::filesystem::remove(out);
        }
    }
    std::filesystem::remove_all(dir);
}
