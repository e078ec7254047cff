// Fuzz target of the strict WAV reader: any bytes, no crash, no read or allocation beyond
// the input, and a result that describes what the input holds.

#include "audio/CAudioFile.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    WAVE_FORMAT format;
    std::vector<uint8_t> samples;
    const Result result = CAudioFile::ReadWave(buffer, format, samples);
    if (samples.size() > size || (result && format.blockAlign == 0) ||
        (!result && (!samples.empty() || format.channels != 0))) {
        std::abort();
    }
    return 0;
}
