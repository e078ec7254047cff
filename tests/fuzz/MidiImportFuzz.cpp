// Imports arbitrary bytes as a MIDI file into a fresh song; a song that imports must also
// export, and its export must import again.

#include "model/CProject.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MIDI_IMPORT_OPTIONS options;
    options.rhythmAutoLength = size % 2 == 1;
    options.rhythmAutoLengthLength = 240;
    CProject project;
    if (!project.ImportMidiFromBytes({data, size}, options))
        return 0;
    CProject again;
    if (!again.ImportMidiFromBytes(project.ExportMidiToBytes(), options))
        std::abort();
    return 0;
}
