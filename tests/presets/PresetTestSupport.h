#pragma once
// Shared pieces of the preset tests: a fresh folder per test, files written in one call,
// and sounds whose every field differs from its default.

#include "model/SoundRanges.h"

#include "../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace presettest {

namespace fs = std::filesystem;

inline void WriteText(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

inline std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A folder of its own for each test, removed afterwards.
// Every field of every record in its range and away from its default, `seed` telling sounds
// apart. The caller sets the source kind.
template <class R, size_t N>
void FillFields(R& record, const std::array<soundranges::FIELD<R>, N>& fields, int64_t& seed) {
    for (const auto& field : fields) {
        const int64_t span = int64_t{field.range.hi} - field.range.lo + 1;
        record.*field.member = static_cast<int32_t>(field.range.lo + (seed * 7919 + 13) % span);
        ++seed;
    }
}

inline void FillLfo(CLFO& lfo, soundranges::VALUE_RANGE depth, int64_t& seed) {
    FillFields(lfo, soundranges::kLfoFields, seed);
    lfo.depth = static_cast<int32_t>(depth.lo + seed++ % (depth.hi - depth.lo + 1));
}

inline CTrackData EverySoundField(int64_t seed) {
    using namespace soundranges;
    CTrackData s;
    FillFields(s, kTrackFields, seed);
    s.noteColor = static_cast<uint32_t>(seed * 104729 % 0x1000000);
    FillFields(s.envelope, kEnvelopeFields, seed);
    FillLfo(s.pitchLFO, kPitchDepth, seed);
    FillLfo(s.ampLFO, kAmpDepth, seed);
    FillFields(s.pcm, kPcmFields, seed);
    s.waveMemory.SetSize(64, 32);
    for (size_t i = 0; i < s.waveMemory.samples.size(); ++i)
        s.waveMemory.samples[i] = static_cast<int32_t>((seed + int64_t(i) * 5) % 33) - 16;
    s.fm.algorithm = static_cast<int32_t>(seed % 8);
    for (CFMOperator& o : s.fm.operators) {
        FillFields(o.envelope, kEnvelopeFields, seed);
        FillLfo(o.pitchLFO, kPitchDepth, seed);
        FillLfo(o.ampLFO, kAmpDepth, seed);
        FillFields(o, kOperatorFields, seed);
        o.multiple = double(seed++ % 150) / 10 + 1.0 / 3.0;
    }
    s.mute = 0;
    return s;
}

} // namespace presettest
