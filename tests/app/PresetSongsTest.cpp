// The example songs of the factory presets: every preset is heard in one of them, with the
// sound its file holds, so a preset changed without its song is caught.

#include "app/ProjectJson.h"
#include "presets/CPresetLibrary.h"
#include "presets/PresetFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

TEST(PresetSongs, EveryFactoryPresetIsHeardWithItsOwnSound) {
    const CPresetLibrary library(presetfolders::Factory(TSQ_BINARY_DIR), fs::path());
    const fs::path examples = fs::path(TSQ_TEST_DATA) / ".." / ".." / "examples";
    std::set<std::string> heard;
    for (const auto& entry : fs::directory_iterator(examples)) {
        const std::string file = entry.path().filename().string();
        if (file.rfind("presets-", 0) != 0 || entry.path().extension() != ".json")
            continue;
        SCOPED_TRACE(file);
        std::ifstream in(entry.path());
        std::string text((std::istreambuf_iterator<char>(in)), {});
        const std::string placeholder = "@TSQ_FACTORY_PRESETS@";
        for (size_t at; (at = text.find(placeholder)) != std::string::npos;)
            text.replace(at, placeholder.size(), library.FactoryFolder().string());
        CProject song;
        ASSERT_TRUE(ProjectFromJson(text, song));
        for (const CTrack& track : song.tracks) {
            const std::optional<PRESET_ENTRY> found = library.Find(track.settings.name);
            ASSERT_TRUE(found) << track.settings.name;
            CPreset preset;
            ASSERT_TRUE(library.Load(*found, preset));
            EXPECT_TRUE(CPreset::SoundOf(track.settings) == preset.sound) << track.settings.name;
            EXPECT_TRUE(track.HasNotes());
            heard.insert(track.settings.name);
        }
    }
    EXPECT_EQ(heard.size(), library.List().size());
}
