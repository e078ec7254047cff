// The preset libraries: what a listing shows of the factory and the user's folders, search,
// saving with and without consent to replace, samples travelling with their preset, and
// where the folders are.

#include "PresetTestSupport.h"

#include "presets/CPresetLibrary.h"
#include "presets/PresetFolders.h"

#include <gtest/gtest.h>

using namespace presettest;

namespace {

std::vector<std::string> Keys(const std::vector<PRESET_ENTRY>& entries) {
    std::vector<std::string> keys;
    for (const PRESET_ENTRY& e : entries)
        keys.push_back(e.Key() + (e.factory ? " (factory)" : ""));
    return keys;
}

class PresetLibrary : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        factory = dir / "factory";
        user = dir / "user";
    }

    CPresetLibrary Library() const { return CPresetLibrary(factory, user); }

    fs::path factory;
    fs::path user;
};

} // namespace

TEST_F(PresetLibrary, ListsCategoriesOfBothFoldersTheUsersStandingInForTheFactorys) {
    for (const char* file : {"Lead/Square.json", "Lead/Saw.json", "Bass/Deep.json"})
        WriteText(factory / file, "{}");
    for (const char* file : {"Lead/Square.json", "Pad/Warm.json"})
        WriteText(user / file, "{}");
    // Not presets: other files, hidden ones, folders named like presets, loose files.
    for (const char* file : {"Lead/notes.txt", "Lead/.Hidden.json", ".cache/Old.json", "Loose.json",
                             "Pad/Warm.json.~123.tmp"})
        WriteText(user / file, "{}");
    fs::create_directories(user / "Pad" / "Folder.json");

    const CPresetLibrary library = Library();
    EXPECT_EQ(Keys(library.List()),
              (std::vector<std::string>{"Bass/Deep (factory)", "Lead/Saw (factory)", "Lead/Square",
                                        "Pad/Warm"}));
    EXPECT_EQ(library.Categories(), (std::vector<std::string>{"Bass", "Lead", "Pad"}));
    EXPECT_EQ(Keys(library.Search("sQ")), std::vector<std::string>{"Lead/Square"});
    EXPECT_EQ(library.Search("").size(), 4u);
    EXPECT_TRUE(library.Search("Lead").empty()) << "search looks at names, not categories";
    ASSERT_TRUE(library.Find("Lead/Square"));
    EXPECT_EQ(library.Find("Lead/Square")->file, user / "Lead" / "Square.json");
    EXPECT_EQ(library.Find("Bass", "Deep")->file, factory / "Bass" / "Deep.json");
    EXPECT_FALSE(library.Find("Lead/Deep"));
    EXPECT_FALSE(library.Find("Square"));
    EXPECT_TRUE(CPresetLibrary(fs::path(), dir / "nowhere").List().empty());
}

TEST_F(PresetLibrary, LoadMarksFactoryPresetsAndNamesADamagedFile) {
    WriteText(factory / "Lead" / "Square.json", R"({"duty":-128})");
    WriteText(user / "Lead" / "Broken.json", R"({"duty":-300})");
    const CPresetLibrary library = Library();
    CPreset preset;
    ASSERT_TRUE(library.Load(*library.Find("Lead/Square"), preset));
    EXPECT_TRUE(preset.factory);
    EXPECT_EQ(preset.sound.duty, -128);
    const Result r = library.Load(*library.Find("Lead/Broken"), preset);
    EXPECT_EQ(r.message, (user / "Lead" / "Broken.json").string() +
                             ": duty: -300 is out of range (-256..256)");
    EXPECT_EQ(preset.name, "Square");
}

TEST_F(PresetLibrary, SavesOnlyWithConsentToReplace) {
    const CPresetLibrary library = Library();
    CTrackData sound = EverySoundField(4);
    sound.waveform = kSawtooth;
    sound.name = "Track 1";
    sound.mute = 1;
    ASSERT_FALSE(library.Exists("Lead", "Mine"));
    ASSERT_TRUE(library.Save("Lead", "Mine", sound, CPresetLibrary::Overwrite::No));
    EXPECT_TRUE(library.Exists("Lead", "Mine"));
    const fs::path file = user / "Lead" / "Mine.json";
    const std::string saved = ReadText(file);
    EXPECT_EQ(saved, CPreset::ToJson(CPreset::SoundOf(sound)));

    CTrackData other = sound;
    other.volume = 7;
    const Result refused = library.Save("Lead", "Mine", other, CPresetLibrary::Overwrite::No);
    EXPECT_EQ(refused.message, file.string() + ": a preset of that name exists");
    EXPECT_EQ(ReadText(file), saved);
    ASSERT_TRUE(library.Save("Lead", "Mine", other, CPresetLibrary::Overwrite::Yes));
    CPreset back;
    ASSERT_TRUE(library.Load(*library.Find("Lead/Mine"), back));
    EXPECT_EQ(back.sound.volume, 7);
    EXPECT_EQ(back.sound.name, "");
    EXPECT_EQ(back.sound.mute, 0);

    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(user / "Lead"))
        left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"Mine.json"}) << "no temporary files stay behind";
}

// Saved and loaded again, every field of every source kind comes back; only the sample's
// name changes, to the copy beside the preset (a PCM sound) or to none (any other kind).
TEST_F(PresetLibrary, SaveAndLoadKeepEveryFieldOfEverySourceKind) {
    const CPresetLibrary library = Library();
    WriteText(dir / "kick.wav", "RIFF");
    for (int32_t kind = 0; kind < 8; ++kind) {
        SCOPED_TRACE(kind);
        CTrackData sound = EverySoundField(kind + 11);
        sound.waveform = kind;
        sound.pcm.fileName = (dir / "kick.wav").string();
        const std::string name = "Kind " + std::to_string(kind);
        ASSERT_TRUE(library.Save("All", name, sound, CPresetLibrary::Overwrite::No));
        CPreset back;
        ASSERT_TRUE(library.Load(*library.Find("All", name), back));
        CTrackData expected = sound;
        expected.pcm.fileName = kind == kPcm ? (user / "All" / (name + ".wav")).string() : "";
        EXPECT_TRUE(back.sound == expected);
        EXPECT_EQ(back.name, name);
        EXPECT_EQ(back.category, "All");
        EXPECT_FALSE(back.factory);
    }
}

TEST_F(PresetLibrary, RefusesNamesThatAreNoFileNames) {
    const CPresetLibrary library = Library();
    const CTrackData sound;
    for (const std::string& name :
         {std::string(), std::string("a/b"), std::string(".hidden"), std::string(".."),
          std::string("tab\there"), std::string(CPresetLibrary::kMaxNameBytes + 1, 'x')}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(library.Save("Lead", name, sound, CPresetLibrary::Overwrite::Yes));
        EXPECT_FALSE(library.Save(name, "Fine", sound, CPresetLibrary::Overwrite::Yes));
    }
    EXPECT_FALSE(fs::exists(user));
    EXPECT_FALSE(CPresetLibrary(factory, fs::path())
                     .Save("Lead", "Fine", sound, CPresetLibrary::Overwrite::Yes));
    EXPECT_TRUE(library.Save("リード", "矩形波 12.5%", sound, CPresetLibrary::Overwrite::No));
}

// A sound that plays a sample takes a copy along, named after the preset, so the preset
// still sounds when the original file is gone or the folder is handed to someone else.
TEST_F(PresetLibrary, APcmSoundTakesItsSampleAlong) {
    const CPresetLibrary library = Library();
    WriteText(dir / "samples" / "Kick.WAV", "RIFF-kick");
    CTrackData sound = EverySoundField(6);
    sound.waveform = kPcm;
    sound.pcm.fileName = (dir / "samples" / "Kick.WAV").string();
    ASSERT_TRUE(library.Save("Kit", "Big kick", sound, CPresetLibrary::Overwrite::No));
    fs::remove(dir / "samples" / "Kick.WAV");

    CPreset back;
    ASSERT_TRUE(library.Load(*library.Find("Kit/Big kick"), back));
    EXPECT_EQ(back.sound.pcm.fileName, (user / "Kit" / "Big kick.wav").string());
    EXPECT_EQ(ReadText(back.sound.pcm.fileName), "RIFF-kick");
    EXPECT_NE(ReadText(user / "Kit" / "Big kick.json").find("\"fileName\": \"Big kick.wav\""),
              std::string::npos);
    CTrackData expected = CPreset::SoundOf(sound);
    expected.pcm.fileName = back.sound.pcm.fileName;
    EXPECT_TRUE(back.sound == expected);

    // Saving the loaded preset again finds its sample in place.
    ASSERT_TRUE(library.Save("Kit", "Big kick", back.sound, CPresetLibrary::Overwrite::Yes));
    EXPECT_EQ(ReadText(user / "Kit" / "Big kick.wav"), "RIFF-kick");
}

TEST_F(PresetLibrary, OnlyAPcmSoundCarriesASampleAndAMissingOneIsRefused) {
    const CPresetLibrary library = Library();
    CTrackData sound;
    sound.waveform = kPcm;
    sound.pcm.fileName = (dir / "gone.wav").string();
    const Result r = library.Save("Kit", "Gone", sound, CPresetLibrary::Overwrite::No);
    EXPECT_EQ(r.message.find((dir / "gone.wav").string() + ": cannot open"), 0u) << r.message;
    EXPECT_FALSE(library.Exists("Kit", "Gone"));

    sound.waveform = kSquare;
    ASSERT_TRUE(library.Save("Kit", "Square", sound, CPresetLibrary::Overwrite::No));
    CPreset back;
    ASSERT_TRUE(library.Load(*library.Find("Kit/Square"), back));
    EXPECT_EQ(back.sound.pcm.fileName, "");
}

TEST(PresetFolders, UserFolderFollowsTheXdgRules) {
    struct CASE {
        const char* xdg;
        const char* home;
        const char* folder;
    } cases[] = {
        {"/data", "/home/u", "/data/Tesselaphon Editor/presets"},
        {nullptr, "/home/u", "/home/u/.local/share/Tesselaphon Editor/presets"},
        {"", "/home/u", "/home/u/.local/share/Tesselaphon Editor/presets"},
        {"relative/data", "/home/u", "/home/u/.local/share/Tesselaphon Editor/presets"},
        {nullptr, nullptr, ""},
        {nullptr, "relative", ""},
    };
    for (const CASE& c : cases)
        EXPECT_EQ(presetfolders::User(c.xdg, c.home), fs::path(c.folder))
            << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
}

class FactoryFolder : public TempFolderTest {};

TEST_F(FactoryFolder, IsFoundBesideTheProgramOrInTheInstalledDataFolder) {
    fs::create_directories(dir / "bin");
    EXPECT_EQ(presetfolders::Factory(dir / "bin"), fs::path());
    fs::create_directories(dir / "share" / "tesselaphon" / "presets");
    EXPECT_EQ(presetfolders::Factory(dir / "bin"), dir / "share" / "tesselaphon" / "presets");
    fs::create_directories(dir / "bin" / "factory-presets");
    EXPECT_EQ(presetfolders::Factory(dir / "bin"), dir / "bin" / "factory-presets");
    EXPECT_EQ(presetfolders::Factory(fs::path()), fs::path());
    EXPECT_FALSE(presetfolders::ProgramFolder().empty());
}
