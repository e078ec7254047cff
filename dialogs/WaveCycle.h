#pragma once
// One cycle of a sound file turned into the wave of a wave-memory sound: the file's frames
// (read as the PCM voice reads them, stereo as the mean of its channels) resampled to the
// wave's length and quantised to its levels, the loudest frame at full scale, so that even
// a quiet recording uses every level the wave has.

#include "model/CWaveMemory.h"
#include "model/SoundRanges.h"
#include "model/WaveFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wavecycle {

// A longer file is no single cycle of a wave the program can hold.
inline constexpr size_t kMaxFrames = soundranges::kWaveSamples.hi;

// Whole frames in `bytes` of data in `format`; 0 for a format the PCM voice does not play.
size_t FrameCount(const WAVE_FORMAT& format, size_t bytes);
// The frames of the data, about -1..1.
std::vector<double> Frames(const WAVE_FORMAT& format, std::vector<uint8_t> data);
// The cycle as `count` samples of `height` levels. A cycle shorter than the wave is read
// between its frames (linearly, the last frame leading back to the first); a longer one
// gives each sample the mean of the frames nearest to it. Samples are rounded to the
// nearest level.
CWaveMemory Quantise(const std::vector<double>& cycle, int32_t count, int32_t height);

} // namespace wavecycle
