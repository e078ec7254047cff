// Fuzz target of the player's WAV reader: any bytes and cuts, no crash, no allocation
// beyond the input, and a loop that lies inside the kept data.

#include "audio/internal/CSonaloWaveReader.h"

#include <QBuffer>

#include <cstdlib>

namespace {

void Check(const uint8_t* data, size_t size, double head, double tail) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    SONALO_WAVE wave;
    if (!CSonaloWaveReader::Read(buffer, head, tail, wave)) {
        return;
    }
    const uint64_t frame = wave.format.blockAlign;
    const SAMPLER& s = wave.sampler;
    const bool loopInside = s.loopCount == 0 || (s.loopStart <= s.loopEnd &&
                                                 (s.loopEnd + 1ull) * frame <= wave.data.size());
    if (wave.data.size() > size || frame == 0 || wave.format.samplesPerSec == 0 ||
        wave.data.size() < frame || !loopInside) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(data, size, 0.0, 0.0);
    Check(data, size, 0.001, 0.002);
    return 0;
}
