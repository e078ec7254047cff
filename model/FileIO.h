#pragma once
// Whole-file reads and crash-safe writes for the model's file formats.

#include "model/Result.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Reads a whole file; files larger than `limit` bytes are refused.
Result ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit);
// Reads at most `count` bytes from the start of a file.
Result ReadFileHead(const std::string& path, std::vector<uint8_t>& bytes, size_t count);
// Writes through a temporary file in the same folder that is flushed to disk and then
// renamed over the target, so a failed or interrupted write leaves the old file intact.
Result WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);
