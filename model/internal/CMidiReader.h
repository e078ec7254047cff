#pragma once
// Reads a Standard MIDI File into what import keeps of it: the notes of each channel, the
// tempo and time-signature changes merged into the song's own lists, and each channel's
// first volume setting. The reader fills only its own tables, so a damaged file leaves the
// song untouched; the caller turns a successful read into tracks.
//
// Every read is bounds-checked: data that ends inside a chunk or an event fails the read,
// and no table is sized from a number in the file.

#include "model/CBeats.h"
#include "model/CTempoList.h"
#include "model/Result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <utility>
#include <vector>

// A finished note in project units.
struct MIDI_NOTE {
    int32_t position = 0; // tick
    int32_t length = 1;   // ticks; below 1 when switched off at its start tick (or, from a
                          // later chunk, before it)
    int32_t key = 0;      // project key 0..95
    int32_t volume = 0;   // 0..255
};

class CMidiReader {
public:
    static constexpr int kChannels = 16;
    static constexpr int kKeys = 128;

    // Starts from the song's lists; Tempos() and Beats() give them with the file's changes
    // merged in.
    CMidiReader(const CTempoList& tempos, const CBeats& beats);

    // Reads one file; a reader is used once.
    Result Read(std::span<const uint8_t> bytes);

    // Notes of a channel (0..15) in the order their note-offs were read.
    std::vector<MIDI_NOTE>& Notes(int channel) { return notes[static_cast<size_t>(channel)]; }
    // First value of controller 7 seen on a channel, or -1.
    int FirstVolume(int channel) const { return firstVolume[static_cast<size_t>(channel)]; }
    std::vector<TEMPO> Tempos() const;
    std::vector<BEAT> Beats() const;

private:
    // Byte access; each throws ArchiveError when the data ends first.
    uint8_t U8();
    uint32_t BigEndian(size_t count);
    uint32_t VarLen();
    std::span<const uint8_t> Take(size_t count);
    bool AtEnd() const { return position == data.size(); }

    uint16_t ReadHeader();
    void ReadChunk(uint16_t index);
    void ReadTrack(uint64_t declaredEnd);
    bool ReadEvent(int64_t tick);
    void ReadChannelMessage(uint8_t status, int64_t tick);
    void ReadSystemMessage(uint8_t status);
    bool ReadMetaEvent(int64_t tick);

    void NoteOn(int channel, int key, int velocity, int64_t tick);
    void NoteOff(int channel, int key, int64_t tick);
    void ControlChange(int channel, int controller, int value);
    void SetTempo(std::span<const uint8_t> payload, int64_t tick);
    void SetTimeSignature(std::span<const uint8_t> payload, int64_t tick);

    int32_t ProjectTicks(int64_t fileTicks) const;

    std::span<const uint8_t> data;
    size_t position = 0;
    uint32_t division = 0;
    uint8_t runningStatus = 0;

    std::array<std::array<int64_t, kKeys>, kChannels> noteStart{};
    std::array<std::array<uint8_t, kKeys>, kChannels> velocity{};
    std::array<int, kChannels> expression{};
    std::array<int, kChannels> firstVolume{};
    std::array<std::vector<MIDI_NOTE>, kChannels> notes;

    std::map<int32_t, double> tempos;
    std::vector<BEAT> songBeats;
    // Time signatures read, by project tick (`measure` not yet known).
    std::vector<std::pair<int32_t, BEAT>> signatures;
};
