// The preset file: what it holds, that applying it changes the sound only, and that a
// damaged or hostile file is refused whole, naming the key, with the ranges --convert uses.

#include "PresetTestSupport.h"

#include "model/CTrack.h"
#include "presets/CPreset.h"

#include <gtest/gtest.h>

using namespace presettest;

namespace {

const fs::path kFolder = "/nonexistent/presets/Leads";

std::string RefusalOf(const std::string& text) {
    CTrackData sound = EverySoundField(3);
    const CTrackData before = sound;
    const Result r = CPreset::FromJson(text, kFolder, sound);
    EXPECT_FALSE(r) << text.substr(0, 200);
    EXPECT_TRUE(sound == before) << "a refused preset must change nothing";
    return r.message;
}

std::string Field(const std::string& where, const char* key, int64_t value) {
    const std::string field = "{\"" + std::string(key) + "\":" + std::to_string(value) + "}";
    if (where.empty())
        return field;
    if (where == "operator")
        return R"({"fm":{"operators":[)" + field + "]}}";
    return "{\"" + where + "\":" + field + "}";
}

// Every field of a record: the ends of its range are taken, one step beyond is refused
// with the message --convert gives.
template <class R, size_t N>
void ExpectRangesOf(const std::array<soundranges::FIELD<R>, N>& fields, const std::string& where,
                    const std::string& path) {
    for (const auto& f : fields) {
        SCOPED_TRACE(where + "." + f.name);
        CTrackData sound;
        for (int64_t v : {int64_t{f.range.lo}, int64_t{f.range.hi}})
            EXPECT_TRUE(CPreset::FromJson(Field(where, f.name, v), kFolder, sound));
        for (int64_t v : {int64_t{f.range.lo} - 1, int64_t{f.range.hi} + 1})
            EXPECT_EQ(RefusalOf(Field(where, f.name, v)),
                      path + f.name + ": " + std::to_string(v) + " is out of range " + "(" +
                          std::to_string(f.range.lo) + ".." + std::to_string(f.range.hi) + ")");
    }
}

std::string Repeated(const std::string& open, const std::string& item, size_t count,
                     const std::string& close) {
    std::string text = open;
    for (size_t i = 0; i < count; ++i)
        text += (i == 0 ? "" : ",") + item;
    return text + close;
}

} // namespace

TEST(PresetFile, HoldsEverySoundFieldButNotTheTracksOwn) {
    for (int32_t kind = 0; kind < 8; ++kind) {
        SCOPED_TRACE(kind);
        CTrackData sound = EverySoundField(kind + 1);
        sound.waveform = kind;
        sound.pcm.fileName = "drums/kick.wav";
        const std::string text = CPreset::ToJson(sound);
        EXPECT_EQ(text.find("\"name\""), std::string::npos);
        EXPECT_EQ(text.find("\"mute\""), std::string::npos);
        EXPECT_EQ(text.find("\"notes\""), std::string::npos);
        CTrackData back;
        ASSERT_TRUE(CPreset::FromJson(text, kFolder, back));
        EXPECT_EQ(back.pcm.fileName, (kFolder / "drums/kick.wav").string());
        back.pcm.fileName = sound.pcm.fileName;
        EXPECT_TRUE(back == sound);
        EXPECT_EQ(CPreset::ToJson(back), text);
    }
}

TEST(PresetFile, MissingKeysTakeTheirDefaults) {
    CTrackData sound = EverySoundField(5);
    ASSERT_TRUE(CPreset::FromJson(R"({"waveform":4,"envelope":{"decay":40}})", kFolder, sound));
    CTrackData expected;
    expected.waveform = kNoise;
    expected.envelope.decay = 40;
    EXPECT_TRUE(sound == expected);
}

TEST(PresetFile, ApplyingChangesTheSoundAndKeepsNameNotesAndMute) {
    CTrack track;
    track.settings.name = "Melody";
    track.settings.mute = 1;
    CNote n;
    n.position = 480;
    n.length = 240;
    n.key = 40;
    track.AddNote(n);
    CPreset preset;
    preset.sound = EverySoundField(9);
    preset.sound.waveform = kFm;

    track.settings = preset.AppliedTo(track.settings);

    EXPECT_EQ(track.settings.name, "Melody");
    EXPECT_EQ(track.settings.mute, 1);
    ASSERT_EQ(track.NoteCount(), 1u);
    EXPECT_EQ(track.Notes()[0]->position, 480);
    EXPECT_TRUE(CPreset::SoundOf(track.settings) == preset.sound);
}

TEST(PresetFile, RefusesOutOfRangeValuesAsConvertDoes) {
    using namespace soundranges;
    ExpectRangesOf(kEnvelopeFields, "envelope", "envelope.");
    ExpectRangesOf(kLfoFields, "pitchLFO", "pitchLFO.");
    ExpectRangesOf(kLfoFields, "ampLFO", "ampLFO.");
    ExpectRangesOf(kPcmFields, "pcm", "pcm.");
    ExpectRangesOf(kOperatorFields, "operator", "fm.operators[0].");
    std::array<FIELD<CTrackData>, kTrackFields.size() - 1> sound{};
    std::copy_if(kTrackFields.begin(), kTrackFields.end(), sound.begin(),
                 [](const auto& f) { return f.member != &CTrackData::mute; });
    ExpectRangesOf(sound, "", "");
    EXPECT_EQ(RefusalOf(R"({"pitchLFO":{"depth":3073}})"),
              "pitchLFO.depth: 3073 is out of range (0..3072)");
    EXPECT_EQ(RefusalOf(R"({"fm":{"operators":[{"multiple":16.5}]}})"),
              "fm.operators[0].multiple: out of range (0.000000..16.000000)");
    EXPECT_EQ(RefusalOf(R"({"waveMemory":{"height":16,"samples":[9]}})"),
              "waveMemory.samples[0]: 9 is out of range (-8..8)");
    EXPECT_EQ(RefusalOf(R"({"noteColor":16777216})"),
              "noteColor: 16777216 is out of range (0..16777215)");
}

TEST(PresetFile, RefusesDamagedAndHostileTextNamingTheKey) {
    struct CASE {
        const char* what;
        std::string text;
        const char* message;
    } cases[] = {
        {"not JSON", "{\"waveform\":", "not valid JSON"},
        {"not an object", "[1,2]", "top level: must be an object"},
        {"a string for a number", R"({"volume":"loud"})", "volume: must be an integer"},
        {"a fraction for an integer", R"({"envelope":{"attack":1.5}})",
         "envelope.attack: must be an integer"},
        {"a number for a name", R"({"pcm":{"fileName":7}})", "pcm.fileName: must be a string"},
        {"a record that is no object", R"({"envelope":[]})", "envelope: must be an object"},
        {"a typing mistake", R"({"wavefrom":1})", "wavefrom: unknown key"},
        {"the track's name", R"({"name":"Lead"})", "name: unknown key"},
        {"the track's mute state", R"({"mute":1})", "mute: unknown key"},
        {"notes", R"({"notes":[]})", "notes: unknown key"},
        {"five operators", R"({"fm":{"operators":[{},{},{},{},{}]}})",
         "fm.operators: has more than four operators"},
        {"an empty wave", R"({"waveMemory":{"samples":[]}})",
         "waveMemory.samples: must hold (1..65536) samples"},
        {"a wave too long", Repeated(R"({"waveMemory":{"samples":[)", "0", 65537, "]}}"),
         "waveMemory.samples: must hold (1..65536) samples"},
        {"a huge array", Repeated(R"({"x":[)", "0", 70000, "]}"),
         "top level: holds more values than a sound can have"},
        {"deep nesting", R"({"fm":{"operators":[{"envelope":{"x":[1]}}]}})",
         "top level: nested deeper than a sound can be"},
        {"very deep nesting", std::string(100000, '[') + std::string(100000, ']'),
         "top level: nested deeper than a sound can be"},
        {"a huge file", "{" + std::string(CPreset::kMaxFileBytes, ' ') + "}",
         "larger than a preset can be"},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RefusalOf(c.text), c.message);
    }
}

// A preset's sample lies in the preset's own folder: any name that leads elsewhere is
// refused, however it is spelled.
TEST(PresetFile, RefusesSamplesOutsideThePresetsFolder) {
    for (const char* name : {"/etc/passwd", "../kick.wav", "..", ".", "drums/../../kick.wav",
                             "C:\\\\kick.wav", "\\\\\\\\server\\\\kick.wav",
                             "drums\\\\..\\\\..\\\\kick.wav", "kick\\u0000.wav", "\\\\kick.wav"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(RefusalOf(std::string(R"({"waveform":5,"pcm":{"fileName":")") + name + "\"}}"),
                  "pcm.fileName: must name a file inside the preset's folder");
    }
    CTrackData sound;
    ASSERT_TRUE(CPreset::FromJson(R"({"pcm":{"fileName":"kit\\\\snare.wav"}})", kFolder, sound));
    EXPECT_EQ(sound.pcm.fileName, (kFolder / "kit/snare.wav").string());
}

class PresetFileOnDisk : public TempFolderTest {};

TEST_F(PresetFileOnDisk, ReadNamesTheFileAndTakesCategoryAndNameFromIt) {
    const fs::path file = dir / "Bass" / "Deep.json";
    WriteText(file, R"({"waveform":1,"volume":200})");
    CPreset preset;
    ASSERT_TRUE(CPreset::Read(file, preset));
    EXPECT_EQ(preset.category, "Bass");
    EXPECT_EQ(preset.name, "Deep");
    EXPECT_EQ(preset.sound.volume, 200);

    WriteText(file, R"({"waveform":1,"volume":2000})");
    const Result r = CPreset::Read(file, preset);
    EXPECT_EQ(r.message, file.string() + ": volume: 2000 is out of range (0..1023)");
    EXPECT_EQ(preset.sound.volume, 200);
    EXPECT_EQ(CPreset::Read(dir / "Bass" / "missing.json", preset)
                  .message.find((dir / "Bass" / "missing.json").string() + ": cannot open"),
              0u);
}

TEST_F(PresetFileOnDisk, RefusesASampleLinkLeadingOutOfTheFolder) {
    WriteText(dir / "outside.wav", "RIFF");
    fs::create_directories(dir / "Kit" / "inner");
    fs::create_symlink(dir / "outside.wav", dir / "Kit" / "link.wav");
    fs::create_directory_symlink(dir, dir / "Kit" / "up");
    fs::create_symlink(dir / "Kit" / "inner", dir / "Kit" / "down");
    CTrackData sound;
    for (const char* name : {"link.wav", "up/outside.wav"})
        EXPECT_EQ(CPreset::FromJson(std::string(R"({"pcm":{"fileName":")") + name + "\"}}",
                                    dir / "Kit", sound)
                      .message,
                  "pcm.fileName: must name a file inside the preset's folder")
            << name;
    EXPECT_TRUE(CPreset::FromJson(R"({"pcm":{"fileName":"down/kick.wav"}})", dir / "Kit", sound));
}
