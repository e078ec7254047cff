// Fuzz entry point of the undo history a recovery keeps beside the song. Any bytes must be
// refused or read without a crash, a hang, undefined behaviour or unbounded allocation; a
// history that reads must come back from a write byte for byte.

#include "model/UndoHistory.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    std::vector<CProject> steps;
    if (!DecodeUndoHistory(bytes, steps)) {
        if (!steps.empty())
            std::abort();
        return 0;
    }
    const std::vector<uint8_t> written = EncodeUndoHistory(steps);
    std::vector<CProject> again;
    if (!DecodeUndoHistory(written, again) || again.size() != steps.size() ||
        EncodeUndoHistory(again) != written)
        std::abort();
    return 0;
}
