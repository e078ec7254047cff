#pragma once
// tsq --presets                                        lists the preset libraries
// tsq --apply-preset CATEGORY/NAME --track N IN.tqp OUT.tqp

#include <optional>
#include <string>
#include <vector>

// Runs `mode` with the words after it when it is one of the preset modes and returns the
// exit status; nullopt for any other mode.
std::optional<int> RunPresetCommand(const std::string& mode, const std::vector<std::string>& args);
