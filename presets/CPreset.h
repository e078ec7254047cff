#pragma once
// A sound worth starting from: a track's whole sound — source kind and every sound field
// (envelope, both LFOs, duty, PCM, wave memory, FM, volume, pan, detune, note colour) —
// under a name, in a category. A preset file holds it as JSON with the keys `tsq --dump`
// writes for a track, less the track's own "name", "mute" and "notes", so presets read,
// diff and travel like songs do. Applying a preset to a track replaces the sound and keeps
// the track's name, notes and mute state.
//
// A sound that plays a PCM sample carries it beside its file: the file names it relative
// to its own folder, and reading a preset turns that name into the full path a track
// needs. A name that leaves the folder ("..", an absolute path, a link pointing outside)
// is refused.

#include "model/CTrackData.h"
#include "model/Result.h"

#include <filesystem>
#include <string>
#include <string_view>

class CPreset {
public:
    // Preset files are small; anything beyond this is not one.
    static constexpr size_t kMaxFileBytes = size_t{1} << 20;
    static constexpr const char* kExtension = ".json";

    std::string category; // the folder the file lies in
    std::string name;     // the file's name without ".json"
    CTrackData sound;     // name and mute state unused
    bool factory = false; // from the read-only library installed with the program

    // The sound of a track: its settings less its name and mute state.
    static CTrackData SoundOf(const CTrackData& settings);
    // The track's settings with this preset's sound: name and mute state stay the track's.
    // Pure, so that the caller makes it one undoable change.
    CTrackData AppliedTo(const CTrackData& settings) const;

    // Reads a preset file in full or not at all; a refusal names the file and the key.
    static Result Read(const std::filesystem::path& file, CPreset& preset);
    // Reads the text of a preset file whose folder is `folder` (where its sample lies).
    // The message of a refusal names the key.
    static Result FromJson(std::string_view text, const std::filesystem::path& folder,
                           CTrackData& sound);
    // The text of a preset file, with pcm.fileName written as it stands.
    static std::string ToJson(const CTrackData& sound);
};
