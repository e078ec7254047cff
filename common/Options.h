#pragma once
// The user's options, one field per value of the settings section "Options" and named after
// it ("PianoRollZoomX" -> pianoRollZoomX). A plain value: the settings store loads and saves
// it, the options dialog edits a copy. Colours are 0x00BBGGRR; flags are 0 or 1.

#include <cstdint>
#include <string>

struct OPTIONS {
    // Piano roll view
    int32_t pianoRollZoomX = 192; // pixels per whole note
    int32_t pianoRollZoomY = 12;  // pixels per key
    uint32_t crNote = 0x0000FF;
    int32_t viewInactiveNote = 0;
    int32_t viewInactiveNoteColor = 1;
    uint32_t crInactiveNote = 0x808000;
    int32_t viewInactiveMuteNoteColor = 0;
    uint32_t crInactiveMuteNote = 0xC0C0C0;
    uint32_t crSelectedNote = 0xD77800; // replaced by the desktop's highlight colour at run time
    int32_t viewGradation = 0;
    int32_t viewPortamento = 1;
    int32_t viewPosCaret = 1;
    int32_t viewNoteCaret = 1;
    int32_t scrollMeasure = 0; // 0 by beat, 1 by measure

    // Editing
    int32_t noteSingleClickAdd = 1;
    int32_t noteAdd = 2; // drag right after entering: 0 nothing, 1 position, 2 length
    int32_t noteRightDragLength = 1;
    int32_t noteSelectDefault = 1;
    int32_t notePlay = 1;
    int32_t keyboardPlay = 1;

    // Playback
    int32_t playBufferSize = 100; // ms
    int32_t playMove = 1;
    int32_t playScroll = 1;
    // Section "Playback", not "Options": an edit made while the song plays is built in the
    // background and heard while it plays; 0 plays the built file as it was when play began.
    int32_t livePlayback = 1;     // "Live"
    int32_t metronomeVolume = 50; // "MetronomeVolume": the clicks' level, percent

    // Build
    int32_t buildThreads = 1; // replaced by the processor count, 1..32, at run time
    int32_t buildSaveIncremental = 1;
    int32_t buildSaveProject = 0;
    int32_t buildEncode = 0;

    // Files, import and start-up
    std::string pcmDefaultPath; // "PCMDefaultPath", UTF-8; the documents folder at run time
    int32_t importRhythmAutoLength = 0;
    int32_t importRhythmAutoLengthLength = 480; // ticks, 1..2147483647
    int32_t restoreWindow = 1;
    std::string projectDefaultPath; // UTF-8; the documents folder at run time

    // Recovery: kept in a section of its own, "Recovery"/"AutosaveSeconds"
    int32_t autosaveSeconds = 60; // 0 = no autosave
    // Section "Interface"/"Language", read at start: 0 automatic ("auto"), 1 Japanese
    // ("ja"), 2 English ("en")
    int32_t interfaceLanguage = 0;
    // MIDI keyboard, section "MidiInput"
    std::string midiInputPort; // "Port": the input port's name, UTF-8; empty for none

    bool operator==(const OPTIONS&) const = default;
};

// Ranges the options dialog offers; the settings store can use them to bring stored values
// back into range.
namespace options_range {
constexpr int32_t kZoomXMin = 16, kZoomXMax = 8192;
constexpr int32_t kZoomYMin = 2, kZoomYMax = 64;
constexpr int32_t kPlayBufferMin = 10, kPlayBufferMax = 10000;
constexpr int32_t kBuildThreadsMin = 1, kBuildThreadsMax = 32;
constexpr int32_t kAutosaveMin = 0, kAutosaveMax = 3600;
constexpr int32_t kMetronomeVolumeMin = 0, kMetronomeVolumeMax = 100;
} // namespace options_range

// The defaults of a first run: the values above plus those only known at run time (the
// desktop's highlight colour, the processor count, the documents folder). Needs a
// QGuiApplication for the highlight colour; without one the fixed value above stays.
OPTIONS DefaultOptions();
