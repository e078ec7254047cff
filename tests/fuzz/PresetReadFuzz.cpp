// Reads arbitrary bytes as a preset file. Any text must be refused or read without a
// crash, a hang, undefined behaviour or unbounded allocation; a refusal changes nothing,
// and a sound that reads must write out and read back the same.

#include "model/CTrack.h"
#include "presets/CPreset.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// No file lies here, so no sample name can be found, only judged.
constexpr const char* kFolder = "/nonexistent/tesselaphon-fuzz/presets/Category";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CTrackData untouched;
    untouched.name = "untouched";
    CTrackData sound = untouched;
    if (!CPreset::FromJson(text, kFolder, sound)) {
        if (!(sound == untouched))
            std::abort();
        return 0;
    }
    // The sample name read back is the full path; a file names it relative to its folder.
    sound.pcm.fileName.clear();
    CTrackData again;
    if (!CPreset::FromJson(CPreset::ToJson(sound), kFolder, again) || !(again == sound))
        std::abort();
    CTrack track;
    CPreset preset;
    preset.sound = sound;
    track.settings.name = "kept";
    if (preset.AppliedTo(track.settings).name != "kept")
        std::abort();
    return 0;
}
