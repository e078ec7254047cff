#pragma once
// The info tag (Xing/LAME frame) of an MP3 file. The encoder reserves its first frame for
// it; once the encoding is complete the tag, which records the frame count, the seek table
// and the encoder delay and padding that decoders drop for an exact length, is written
// into that frame.

#include <lame/lame.h>

#include <cstdint>
#include <string>
#include <vector>

// The finished tag frame of an encoder after its flush; empty when it has none.
std::vector<uint8_t> TakeLameTagFrame(lame_t lame);

// Writes a tag frame over the reserved first frame of the file at path (after an ID3v2
// tag, if any). Refuses, leaving the file alone, when that frame is not the encoder's
// untouched reservation of the same size.
bool WriteLameTagFrame(const std::string& path, const std::vector<uint8_t>& tag);
