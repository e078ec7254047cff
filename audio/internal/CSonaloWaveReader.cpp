#include "audio/internal/CSonaloWaveReader.h"

#include "audio/internal/CRiffReader.h"
#include "model/LittleEndian.h"
#include "model/WavHeader.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kSamplerHead = 36;
constexpr uint32_t kLoopRecord = 24;

struct WALK {
    WAVE_FORMAT format;
    bool hasFormat = false;
    RIFF_CHUNK data;
    bool hasData = false;
    SAMPLER sampler;
};

Result ReadFormat(CRiffReader& riff, const RIFF_CHUNK& chunk, WALK& walk) {
    uint8_t r[WAVE_FORMAT::kRecordSize] = {};
    if (!riff.Read(r, std::min<uint32_t>(chunk.size, sizeof r))) {
        return Result::Fail("the \"fmt \" chunk cannot be read");
    }
    walk.format = ReadFormatRecord(r);
    walk.hasFormat = true;
    return Result::Ok();
}

Result ReadSampler(CRiffReader& riff, const RIFF_CHUNK& chunk, WALK& walk) {
    if (!walk.hasFormat) {
        return Result::Fail("a \"smpl\" chunk comes before the \"fmt \" chunk");
    }
    uint8_t b[kSamplerHead + kLoopRecord] = {};
    if (chunk.size < kSamplerHead || !riff.Read(b, kSamplerHead)) {
        return Result::Fail("the \"smpl\" chunk is too short");
    }
    const uint32_t loops = le::Get32(b + 28);
    if (kSamplerHead + uint64_t(kLoopRecord) * loops > chunk.size) {
        return Result::Fail("the \"smpl\" chunk claims more loops than it holds");
    }
    if (loops > 0 && !riff.Read(b + kSamplerHead, kLoopRecord)) {
        return Result::Fail("the \"smpl\" loop cannot be read");
    }
    uint32_t* fields[] = {
        &walk.sampler.manufacturer,  &walk.sampler.product,           &walk.sampler.samplePeriod,
        &walk.sampler.midiUnityNote, &walk.sampler.midiPitchFraction, &walk.sampler.smpteFormat,
        &walk.sampler.smpteOffset,   &walk.sampler.loopCount,         &walk.sampler.samplerDataSize,
        &walk.sampler.cuePointId,    &walk.sampler.loopType,          &walk.sampler.loopStart,
        &walk.sampler.loopEnd,       &walk.sampler.loopFraction,      &walk.sampler.loopPlayCount};
    for (size_t i = 0; i < std::size(fields); ++i) {
        *fields[i] = le::Get32(b + 4 * i);
    }
    return Result::Ok();
}

Result WalkChunks(CRiffReader& riff, WALK& walk) {
    RIFF_CHUNK chunk;
    while (riff.NextChunk(chunk)) {
        const bool known = chunk.Is("fmt ") || chunk.Is("data") || chunk.Is("smpl");
        if (known && !riff.Fits(chunk)) {
            return Result::Fail(std::string("a \"") + std::string(chunk.id, 4) +
                                "\" chunk claims more than the file holds");
        }
        Result step = Result::Ok();
        if (chunk.Is("fmt ")) {
            step = ReadFormat(riff, chunk, walk);
        } else if (chunk.Is("data")) {
            walk.data = chunk;
            walk.hasData = true;
        } else if (chunk.Is("smpl")) {
            step = ReadSampler(riff, chunk, walk);
        }
        if (!step) {
            return step;
        }
        if (!riff.SkipToEnd(chunk)) {
            break; // an unknown chunk cut short by the end of the file ends the walk
        }
    }
    return Result::Ok();
}

// Whole frames in a span of seconds; the small allowance keeps 0.7 s at 1000 Hz at 700
// frames although 0.7 × 1000 comes out just below 700 in binary.
uint64_t FramesIn(double seconds, uint32_t rate, uint64_t limit) {
    if (!(seconds > 0.0)) {
        return 0;
    }
    const double frames = std::floor(seconds * rate + 1e-6);
    return frames >= double(limit) ? limit : uint64_t(frames);
}

// Moves the first loop from file frames into kept frames and keeps it inside the kept data.
void FitLoop(SAMPLER& s, uint64_t headFrames, uint64_t keptFrames) {
    if (s.loopCount == 0) {
        return;
    }
    const uint64_t keptEnd = headFrames + keptFrames; // one past the last kept frame
    const bool drop = (s.loopStart < headFrames && s.loopEnd > keptEnd) ||
                      s.loopStart > s.loopEnd || s.loopEnd < headFrames || s.loopStart >= keptEnd;
    if (drop) {
        s.loopCount = 0;
        return;
    }
    const uint64_t start = s.loopStart > headFrames ? s.loopStart - headFrames : 0;
    const uint64_t end = std::min<uint64_t>(s.loopEnd - headFrames, keptFrames - 1);
    s.loopStart = uint32_t(start);
    s.loopEnd = uint32_t(end);
}

} // namespace

Result CSonaloWaveReader::Read(QIODevice& in, double head, double tail, SONALO_WAVE& wave) {
    CRiffReader riff(in);
    if (!riff.ReadFileHeader()) {
        return Result::Fail("not a RIFF WAVE file");
    }
    WALK walk;
    if (Result walked = WalkChunks(riff, walk); !walked) {
        return walked;
    }
    if (!walk.hasFormat || !walk.hasData) {
        return Result::Fail("the file has no \"fmt \" or no \"data\" chunk");
    }
    const uint32_t frame = walk.format.blockAlign;
    const uint32_t rate = walk.format.samplesPerSec;
    if (frame == 0 || rate == 0) {
        return Result::Fail("the format has no block size or no sample rate");
    }
    const uint64_t size = walk.data.size;
    const uint64_t headFrames = FramesIn(head, rate, size / frame + 1);
    const uint64_t headBytes = headFrames * frame;
    const uint64_t tailBytes = FramesIn(tail, rate, size / frame + 1) * frame;
    if (size <= headBytes + tailBytes || size - headBytes - tailBytes < frame) {
        return Result::Fail("no whole frame is left after the head and tail cuts");
    }
    const uint64_t length = size - headBytes - tailBytes;
    wave.data.resize(length);
    if (!riff.Seek(walk.data.offset + qint64(headBytes)) ||
        !riff.Read(wave.data.data(), qint64(length))) {
        wave.data.clear();
        return Result::Fail("the \"data\" chunk cannot be read");
    }
    FitLoop(walk.sampler, headFrames, length / frame);
    wave.format = walk.format;
    wave.sampler = walk.sampler;
    wave.dataOffset = walk.data.offset + qint64(headBytes);
    return Result::Ok();
}
