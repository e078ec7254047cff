#include "engine/internal/CPcmVoice.h"

#include "model/CPCM.h"
#include "model/LittleEndian.h"

#include <cmath>

namespace {

double KeyFrequency(int32_t key) {
    return 27.5 * std::exp2((98.0 - key) / 12);
}

} // namespace

CPcmVoice::CPcmVoice(const CPCM& pcm)
    : data(pcm.sampleData.data()), bytes(pcm.sampleData.size()),
      channels(pcm.sampleFormat.channels), bits(pcm.sampleFormat.bitsPerSample),
      rate(pcm.sampleFormat.samplesPerSec), baseKey(pcm.baseKey), loopStart(pcm.loopStart),
      loopEnd(pcm.loopEnd), loopCount(pcm.loopCount), loopInFrames(pcm.loopUnit == 1) {
    const bool knownWidth = bits == 8 || bits == 16 || bits == 24 || bits == 32 || bits == 64;
    audible = bytes > 0 && (channels == 1 || channels == 2) && knownWidth;
    if (!audible)
        return;
    frameBytes = static_cast<size_t>(channels) * static_cast<size_t>(bits / 8);
    frames = static_cast<int64_t>(bytes / frameBytes);
    baseFrequency = KeyFrequency(baseKey);
    fullScale = bits == 8 ? 127.0 : bits == 16 ? 32767.0 : 8388607.0;
}

PCM_LOOP CPcmVoice::LoopFor(int32_t noteKey) const {
    PCM_LOOP loop;
    if (!audible || loopCount == 1 || loopCount < 0)
        return loop;
    const double fNote = KeyFrequency(noteKey);
    const double dataFrames = double(bytes) / channels * 8 / bits;
    if (loopInFrames) {
        loop.start = loopStart;
        loop.end = loopEnd == 0 ? dataFrames : loopEnd;
    } else {
        loop.start = loopStart * rate * fNote / baseFrequency / 1000;
        loop.end = loopEnd == 0 ? dataFrames * fNote / baseFrequency
                                : loopEnd * rate * fNote / baseFrequency / 1000;
    }
    loop.on = loop.start < loop.end;
    loop.maxWraps = loopCount == 0 ? -1 : int64_t{loopCount} - 1;
    return loop;
}

double CPcmVoice::GetSample(double phase, const PCM_LOOP& loop) const {
    if (!audible)
        return 0;
    double p = phase / baseFrequency * rate;
    if (loop.on && p >= loop.end) {
        // The closed form of subtracting the loop length while past the loop's end (at
        // most maxWraps times), which could otherwise take arbitrarily many steps.
        const double length = loop.end - loop.start;
        const double wraps = std::floor((p - loop.end) / length) + 1;
        if (loop.maxWraps < 0 || wraps <= double(loop.maxWraps))
            p = loop.start + std::fmod(p - loop.start, length);
        else
            p -= double(loop.maxWraps) * length;
    }
    return Interpolate(p);
}

double CPcmVoice::Interpolate(double position) const {
    // Frames a and a + 1 both lie outside the data beyond these bounds (and NaN fails).
    if (!(position > -2 && position < double(frames)))
        return 0;
    const auto a = static_cast<int64_t>(std::trunc(position));
    const double frac = position - std::floor(position);
    if (bits >= 32) {
        const double x = FloatFrame(a);
        const double y = FloatFrame(a + 1);
        return x + frac * (y - x);
    }
    const double x = IntegerFrame(a);
    const double y = IntegerFrame(a + 1);
    return (std::floor(frac * (y - x) + 0.5) + x) / fullScale;
}

double CPcmVoice::IntegerFrame(int64_t frame) const {
    if (frame < 0 || frame >= frames)
        return 0;
    const size_t offset = static_cast<size_t>(frame) * frameBytes;
    const auto left = static_cast<int32_t>(IntegerSample(offset));
    if (channels == 1)
        return left;
    const auto right = static_cast<int32_t>(IntegerSample(offset + frameBytes / 2));
    return (left + right) / 2; // integer mean, truncated toward zero
}

double CPcmVoice::FloatFrame(int64_t frame) const {
    if (frame < 0 || frame >= frames)
        return 0;
    const size_t offset = static_cast<size_t>(frame) * frameBytes;
    const double left = FloatSample(offset);
    if (channels == 1)
        return left;
    return (left + FloatSample(offset + frameBytes / 2)) / 2;
}

double CPcmVoice::IntegerSample(size_t offset) const {
    const uint8_t* p = data + offset;
    switch (bits) {
    case 8:
        return int32_t{p[0]} - 128;
    case 16:
        return le::GetSigned(p, 2);
    default:
        return le::GetSigned(p, 3);
    }
}

double CPcmVoice::FloatSample(size_t offset) const {
    const uint8_t* p = data + offset;
    double v;
    if (bits == 32)
        v = le::GetValue<float>(p);
    else
        v = le::GetValue<double>(p);
    // A damaged float file may hold NaN or infinity; such a sample is silent.
    return std::isfinite(v) ? v : 0;
}
