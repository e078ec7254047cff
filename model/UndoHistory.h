#pragma once
// The undo steps an autosave keeps beside the song, so that a restored window can undo what
// the user could undo before the crash. Layout: the magic "TSQUNDO1", a little-endian
// 32-bit step count, then per step, oldest first, a 32-bit length and that many bytes of a
// project file (format version 1.9). Plain C++ for the editor's writer thread and the fuzz
// target alike.

#include "model/CProject.h"
#include "model/Result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The editor's undo ring holds at most 99 steps; a file claiming more is damaged.
constexpr uint32_t kMostUndoSteps = 99;
// What the history file may hold at most. A song of a million notes takes tens of megabytes
// per step, so a long history of a large song would otherwise grow the file into gigabytes
// written at every autosave: the oldest steps are dropped until the rest fits.
constexpr size_t kUndoHistoryBudget = 64 * 1024 * 1024;

// `steps` oldest first; keeps the newest steps that fit into `budget` bytes.
std::vector<uint8_t> EncodeUndoHistory(std::span<const CProject> steps,
                                       size_t budget = kUndoHistoryBudget);
// Refuses anything but a whole, well-formed history; `steps` is left empty then.
Result DecodeUndoHistory(std::span<const uint8_t> bytes, std::vector<CProject>& steps);
