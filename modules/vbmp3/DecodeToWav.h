#pragma once
// The decoding itself: a whole source into a new WAV file.

#include "modules/vbmp3/ISourceDecoder.h"

#include <atomic>
#include <string>

// Decodes the source at sourcePath into a new file at wavPath. False when the source
// cannot be decoded, the file cannot be made, the data outgrows a WAV file, or cancel was
// set, or the source yields no frame; the output file is removed then.
bool DecodeToWav(const std::string& sourcePath, const std::string& wavPath,
                 const std::atomic<bool>& cancel);
