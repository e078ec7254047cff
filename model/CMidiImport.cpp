#include "model/CProject.h"

Result CProject::ImportMidi(const std::string& path, const MIDI_IMPORT_OPTIONS&) {
    return Result::Fail(path + ": MIDI import is not available");
}

Result CProject::ImportMidiFromBytes(std::span<const uint8_t>, const MIDI_IMPORT_OPTIONS&) {
    return Result::Fail("MIDI import is not available");
}
