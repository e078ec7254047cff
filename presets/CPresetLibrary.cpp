#include "presets/CPresetLibrary.h"

#include "model/FileIO.h"
#include "presets/PresetFolders.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace fs = std::filesystem;

namespace {

// Folder entries looked at per library, presets or not: a folder of a million other files
// is not read to its end.
constexpr size_t kMaxExamined = 100000;
constexpr size_t kMaxSampleBytes = size_t{256} << 20;

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return out;
}

// The entries of a folder, without exceptions and without end.
template <class F> void ForEachEntry(const fs::path& folder, size_t& examined, F&& f) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator() && examined < kMaxExamined;
         it.increment(error), ++examined)
        f(*it);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

CPresetLibrary::CPresetLibrary(fs::path factoryFolder, fs::path userFolder)
    : factoryFolder(std::move(factoryFolder)), userFolder(std::move(userFolder)) {
}

CPresetLibrary CPresetLibrary::OfThisProgram() {
    return CPresetLibrary(presetfolders::Factory(presetfolders::ProgramFolder()),
                          presetfolders::User(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
}

std::string CPresetLibrary::NameProblem(std::string_view name) {
    if (name.empty())
        return "must not be empty";
    if (name.size() > kMaxNameBytes)
        return "is longer than " + std::to_string(kMaxNameBytes) + " bytes";
    if (name[0] == '.')
        return "must not start with \".\"";
    for (char c : name)
        if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "must not hold \"/\" or control characters";
    return {};
}

void CPresetLibrary::Scan(const fs::path& root, bool factory,
                          std::vector<PRESET_ENTRY>& entries) const {
    if (root.empty())
        return;
    size_t examined = 0;
    ForEachEntry(root, examined, [&](const fs::directory_entry& category) {
        const std::string categoryName = category.path().filename().string();
        std::error_code error;
        if (!NameProblem(categoryName).empty() || !category.is_directory(error))
            return;
        ForEachEntry(category.path(), examined, [&](const fs::directory_entry& file) {
            const fs::path& path = file.path();
            if (entries.size() >= kMaxEntries || path.extension() != CPreset::kExtension ||
                !NameProblem(path.stem().string()).empty() || !file.is_regular_file(error))
                return;
            entries.push_back({categoryName, path.stem().string(), path, factory});
        });
    });
}

std::vector<PRESET_ENTRY> CPresetLibrary::List() const {
    std::vector<PRESET_ENTRY> found;
    Scan(factoryFolder, true, found);
    Scan(userFolder, false, found);
    // Later entries (the user's) replace earlier ones of the same category and name.
    std::map<std::pair<std::string, std::string>, PRESET_ENTRY> byKey;
    for (PRESET_ENTRY& e : found)
        byKey[{e.category, e.name}] = std::move(e);
    std::vector<PRESET_ENTRY> entries;
    entries.reserve(byKey.size());
    for (auto& [key, e] : byKey)
        entries.push_back(std::move(e));
    return entries;
}

std::vector<std::string> CPresetLibrary::Categories() const {
    std::vector<std::string> categories;
    for (const PRESET_ENTRY& e : List())
        if (categories.empty() || categories.back() != e.category)
            categories.push_back(e.category);
    return categories;
}

std::vector<PRESET_ENTRY> CPresetLibrary::Search(std::string_view text) const {
    const std::string wanted = Lower(text);
    std::vector<PRESET_ENTRY> entries = List();
    std::erase_if(entries, [&wanted](const PRESET_ENTRY& e) {
        return Lower(e.name).find(wanted) == std::string::npos;
    });
    return entries;
}

std::optional<PRESET_ENTRY> CPresetLibrary::Find(std::string_view category,
                                                 std::string_view name) const {
    for (PRESET_ENTRY& e : List())
        if (e.category == category && e.name == name)
            return std::move(e);
    return std::nullopt;
}

std::optional<PRESET_ENTRY> CPresetLibrary::Find(std::string_view key) const {
    const size_t slash = key.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    return Find(key.substr(0, slash), key.substr(slash + 1));
}

Result CPresetLibrary::Load(const PRESET_ENTRY& entry, CPreset& preset) const {
    CPreset read;
    if (Result r = CPreset::Read(entry.file, read); !r)
        return r;
    read.category = entry.category;
    read.factory = entry.factory;
    preset = std::move(read);
    return Result::Ok();
}

bool CPresetLibrary::Exists(const std::string& category, const std::string& name) const {
    std::error_code error;
    return !userFolder.empty() &&
           fs::exists(userFolder / category / (name + CPreset::kExtension), error);
}

Result CPresetLibrary::Save(const std::string& category, const std::string& name,
                            const CTrackData& sound, Overwrite overwrite) const {
    if (std::string problem = NameProblem(category); !problem.empty())
        return Result::Fail("category " + Quoted(category) + " " + problem);
    if (std::string problem = NameProblem(name); !problem.empty())
        return Result::Fail("preset name " + Quoted(name) + " " + problem);
    if (userFolder.empty())
        return Result::Fail("there is no folder for the user's presets");
    const fs::path folder = userFolder / category;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return Result::Fail(folder.string() + ": cannot create: " + error.message());
    const fs::path file = folder / (name + CPreset::kExtension);
    if (overwrite == Overwrite::No && fs::exists(file, error))
        return Result::Fail(file.string() + ": a preset of that name exists");
    CTrackData stored = CPreset::SoundOf(sound);
    if (Result r = CopySample(sound, folder, name, overwrite, stored.pcm.fileName); !r)
        return r;
    const std::string text = CPreset::ToJson(stored);
    const Result r = WriteFileAtomically(
        file.string(), std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    return r ? r : Result::Fail(file.string() + ": " + r.message);
}

// Only a sound that plays its sample takes it along; another kind's sample stays behind.
Result CPresetLibrary::CopySample(const CTrackData& sound, const fs::path& folder,
                                  const std::string& name, Overwrite overwrite,
                                  std::string& stored) const {
    stored.clear();
    if (sound.waveform != kPcm || sound.pcm.fileName.empty())
        return Result::Ok();
    const fs::path source = sound.pcm.GetPath();
    std::string extension = Lower(source.extension().string());
    if (extension.empty() || extension == CPreset::kExtension || extension.size() > 8)
        extension = ".wav";
    const fs::path target = folder / (name + extension);
    stored = target.filename().string();
    std::error_code error;
    if (fs::equivalent(source, target, error))
        return Result::Ok();
    if (overwrite == Overwrite::No && fs::exists(target, error))
        return Result::Fail(target.string() + ": a file of that name exists");
    std::vector<uint8_t> bytes;
    if (Result r = ReadWholeFile(source.string(), bytes, kMaxSampleBytes); !r)
        return Result::Fail(source.string() + ": " + r.message);
    if (Result r = WriteFileAtomically(target.string(), bytes); !r)
        return Result::Fail(target.string() + ": " + r.message);
    return Result::Ok();
}
