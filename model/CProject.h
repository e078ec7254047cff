#pragma once
// The open song: its properties, its tracks and the seconds touched since the last undo
// snapshot. Plain data with whole-song operations; the editor owns one and copies it for
// undo.

#include "model/CProjectData.h"
#include "model/CProjectModified.h"
#include "model/CTrack.h"
#include "model/Result.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Options the caller passes to MIDI import (the editor takes them from its settings).
struct MIDI_IMPORT_OPTIONS {
    bool rhythmAutoLength = false;
    int32_t rhythmAutoLengthLength = 480;
};

class CProject {
public:
    CProjectData data;
    std::vector<CTrack> tracks;
    CProjectModified changed;
    int32_t modified = 0;
    int32_t currentTrack = 0;
    double lastBuildLength = 0;
    int32_t lastBuildFadeOut = 0;

    static constexpr const char* kMagic = "Tesselaphon Project";
    static constexpr size_t kHeaderSize = 24;

    // A new song: the given project properties, one default track named "トラック1".
    void Reset(const CProjectData& defaults = CProjectData());
    // Inserts a default track at index (the track count appends); returns the index.
    int InsertTrack(int index);
    void RemoveTrack(int index);
    // The track being edited; null when currentTrack names none.
    const CTrack* CurrentTrack() const;
    CTrack* CurrentTrack();

    // Greatest note end over all tracks, muted or not; at least loopEnd when the loop is on.
    int32_t GetEndTick() const;
    // The same end in seconds; silence and fade-out of a build are not included.
    double GetLength() const;

    bool CanInsertMeasure(int32_t measure) const;
    bool InsertMeasures(int32_t measure, int32_t count);
    bool CanDeleteMeasures(int32_t measure, int32_t count) const;
    bool DeleteMeasures(int32_t measure, int32_t count);

    // Marks the seconds a note covers in `changed`.
    void SetModified(const CNote& note);
    // Marks every note of a track (used when a track appears, vanishes or changes sound).
    void SetTrackModified(const CTrack& track);
    void SetAllModified();
    static void Merge(CProjectModified& target, const CProjectModified& source) {
        target.Merge(source);
    }
    // Prepares a change map for a build: all flags on a full build; otherwise the seconds
    // that carried the old and the new fade-out when the song length changed.
    void PrepareBuild(CProjectModified& changeMap, bool full);

    // Project file. Save writes a complete file or leaves the old one untouched.
    Result Save(const std::string& path) const;
    Result Load(const std::string& path);
    Result Import(const std::string& path, const MIDI_IMPORT_OPTIONS& options = {});
    std::vector<uint8_t> SaveToBytes() const;
    Result LoadFromBytes(std::span<const uint8_t> bytes);

    // Standard MIDI files.
    Result ImportMidi(const std::string& path, const MIDI_IMPORT_OPTIONS& options = {});
    Result ImportMidiFromBytes(std::span<const uint8_t> bytes, const MIDI_IMPORT_OPTIONS& options);
    Result ExportMidi(const std::string& path) const;
    std::vector<uint8_t> ExportMidiToBytes() const;

    // Incremental-build file (".tqb") beside a project.
    static Result SaveBuildInfo(const std::string& path, const CProjectModified& map);
    static Result LoadBuildInfo(const std::string& path, CProjectModified& map);

private:
    void MarkNotesFrom(CTrack& track, int32_t tick);
    void ShiftLoop(int32_t start, int32_t amount, bool inserting);
    void ConvertOldPortamento();
};
