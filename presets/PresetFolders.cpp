#include "presets/PresetFolders.h"

namespace fs = std::filesystem;

namespace presetfolders {

namespace {

constexpr const char* kApplicationFolder = "Tesselaphon Editor";
constexpr const char* kBuildTreePresets = TSQ_BUILD_TREE_PRESETS;
constexpr const char* kInstalledPresets = TSQ_INSTALLED_PRESETS;

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

} // namespace

fs::path User(const char* xdgDataHome, const char* home) {
    fs::path data;
    if (IsAbsolute(xdgDataHome))
        data = xdgDataHome;
    else if (IsAbsolute(home))
        data = fs::path(home) / ".local" / "share";
    else
        return {};
    return data / kApplicationFolder / "presets";
}

fs::path Factory(const fs::path& programFolder) {
    if (programFolder.empty())
        return {};
    for (const fs::path& candidate :
         {programFolder / kBuildTreePresets, programFolder / kInstalledPresets}) {
        std::error_code error;
        if (fs::is_directory(candidate, error))
            return candidate.lexically_normal();
    }
    return {};
}

fs::path ProgramFolder() {
    std::error_code error;
    const fs::path program = fs::canonical("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

} // namespace presetfolders
