#pragma once
// Where the two preset libraries live. The user's is under the XDG data folder; the
// factory library is installed with the program and found relative to it, like the
// modules: beside the program in a build tree, in the installed data folder otherwise, so
// an installed tree can be moved.

#include <filesystem>

namespace presetfolders {

// "$XDG_DATA_HOME/Tesselaphon Editor/presets", or "$HOME/.local/share/…" when
// XDG_DATA_HOME is unset, empty or relative. The caller passes the two variables (null
// when unset); empty when neither gives an absolute folder.
std::filesystem::path User(const char* xdgDataHome, const char* home);
// The first existing candidate folder of the factory library for a program in
// `programFolder`; empty when there is none.
std::filesystem::path Factory(const std::filesystem::path& programFolder);
// The folder of the running program (links resolved); empty when it cannot be told.
std::filesystem::path ProgramFolder();

} // namespace presetfolders
