#pragma once
// Songs and reference renders for the preview tests; capture and event-loop helpers come
// from the shared test support.

#include "CaptureSupport.h"
#include "model/CProject.h"

#include <cstdint>
#include <vector>

namespace previewtest {

// A song with one track of the given source at full track and master volume and without
// click reduction, so a sine key's samples are plain sines of full scale.
CProject Song(int32_t rate, int32_t waveform);

// What a key of the song's first track renders from its start, as 16-bit samples.
std::vector<int16_t> Reference(const CProject& song, int key, size_t frames, double gain = 1.0);

} // namespace previewtest
