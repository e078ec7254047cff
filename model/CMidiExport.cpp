#include "model/CProject.h"

Result CProject::ExportMidi(const std::string& path) const {
    return Result::Fail(path + ": MIDI export is not available");
}

std::vector<uint8_t> CProject::ExportMidiToBytes() const {
    return {};
}
