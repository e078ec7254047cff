#pragma once
// The text of a song or a sound as `tsq --dump` prints it: objects one key per line,
// arrays of numbers on one line, so that it reads and diffs well — one note, tempo or
// operator setting per line.

#include "presets/CJsonFields.h"

#include <string>

// The document as text, ending in a line break.
std::string JsonText(const Json& root);
