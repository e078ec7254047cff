#pragma once
// Game engines find the loop of an Ogg Vorbis or Opus file in the comments LOOPSTART and
// LOOPLENGTH (in frames; at 48000 Hz for Opus). libsndfile writes only its fixed set of
// comment names, so the comment header is rewritten after it has closed the file: the
// header pages are paged anew and the audio pages that follow keep their contents, with
// their sequence numbers and checksums brought in step.

#include <cstdint>
#include <string>
#include <vector>

// Adds the two comments to the single stream of the Ogg file at `path`, in place (through a
// temporary file renamed over it). False when the file is not one stream of Vorbis or Opus
// or cannot be rewritten; the file is then unchanged.
bool AddOggLoopComments(const std::string& path, int64_t start, int64_t length);

// The comment header packet with `comments` ("NAME=value") appended to its list; empty
// when the packet is malformed. Works on Vorbis ("\x03vorbis") and Opus ("OpusTags")
// packets alike; whatever follows the list (a framing bit, padding) is kept.
std::vector<uint8_t> WithComments(const std::vector<uint8_t>& packet,
                                  const std::vector<std::string>& comments);
