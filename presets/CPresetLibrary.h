#pragma once
// The presets a user can choose from: the factory library installed with the program
// (read-only) and the user's own folder. Each folder directly inside either is a category;
// each "*.json" file in a category is a preset named after the file. A user's preset of
// the same category and name stands in for the factory one. New presets are saved into
// the user's folder only.
//
// The folders are scanned afresh on every call; nothing is cached, so a preset added or
// removed outside the program shows at once.

#include "model/CTrackData.h"
#include "model/Result.h"
#include "presets/CPreset.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PRESET_ENTRY {
    std::string category;
    std::string name;
    std::filesystem::path file;
    bool factory = false;

    // "category/name", as the command line names a preset.
    std::string Key() const { return category + "/" + name; }
};

class CPresetLibrary {
public:
    enum class Overwrite { No, Yes };

    // A hostile folder cannot make a listing unbounded: what lies beyond is not listed.
    static constexpr size_t kMaxEntries = 10000;
    static constexpr size_t kMaxNameBytes = 200;

    // Either folder may be empty or missing: it then holds no presets.
    CPresetLibrary(std::filesystem::path factoryFolder, std::filesystem::path userFolder);
    // The factory library of the running program and the user's folder its environment
    // names (PresetFolders.h).
    static CPresetLibrary OfThisProgram();

    const std::filesystem::path& FactoryFolder() const { return factoryFolder; }
    const std::filesystem::path& UserFolder() const { return userFolder; }

    // Every preset, sorted by category and then by name.
    std::vector<PRESET_ENTRY> List() const;
    std::vector<std::string> Categories() const;
    // The presets whose name holds `text`, ignoring the case of Latin letters; all of them
    // for an empty text. Sorted as List.
    std::vector<PRESET_ENTRY> Search(std::string_view text) const;
    std::optional<PRESET_ENTRY> Find(std::string_view category, std::string_view name) const;
    // By "category/name".
    std::optional<PRESET_ENTRY> Find(std::string_view key) const;
    Result Load(const PRESET_ENTRY& entry, CPreset& preset) const;

    // Whether the user's folder holds a preset of that category and name.
    bool Exists(const std::string& category, const std::string& name) const;
    // Saves a sound into the user's folder (the category's folder is made when missing).
    // An existing preset of the same name is replaced only with Overwrite::Yes. A sound
    // that plays a PCM sample takes a copy of it, named after the preset, into the
    // category's folder. Every file is written whole or not at all.
    Result Save(const std::string& category, const std::string& name, const CTrackData& sound,
                Overwrite overwrite) const;

    // Why a category or preset name cannot be a file name; empty when it can: not empty,
    // at most kMaxNameBytes bytes, no "/" or control character, not starting with ".".
    static std::string NameProblem(std::string_view name);

private:
    void Scan(const std::filesystem::path& root, bool factory,
              std::vector<PRESET_ENTRY>& entries) const;
    Result CopySample(const CTrackData& sound, const std::filesystem::path& folder,
                      const std::string& name, Overwrite overwrite, std::string& stored) const;

    std::filesystem::path factoryFolder;
    std::filesystem::path userFolder;
};
