#include "ModuleTestSupport.h"

#include <QFile>

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

void PutLe(std::vector<uint8_t>& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void PutSample(std::vector<uint8_t>& out, const WAVE_FORMAT& f, double v) {
    const int bytes = f.bitsPerSample / 8;
    if (f.formatTag == WAVE_FORMAT::kFloat && bytes == 4) {
        const float x = float(v);
        uint32_t bits;
        std::memcpy(&bits, &x, 4);
        PutLe(out, bits, 4);
    } else if (f.formatTag == WAVE_FORMAT::kFloat) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        PutLe(out, bits, 8);
    } else if (bytes == 1) {
        out.push_back(uint8_t(std::lround(v * 127) + 128));
    } else {
        const double full = std::ldexp(1.0, 8 * bytes - 1) - 1;
        PutLe(out, uint64_t(int64_t(std::llround(v * full))), bytes);
    }
}

int64_t ReadLe(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= uint64_t(p[i]) << (8 * i);
    const int shift = 64 - 8 * bytes;
    return int64_t(v << shift) >> shift;
}

double ReadSample(const uint8_t* p, const WAVE_FORMAT& f) {
    const int bytes = f.bitsPerSample / 8;
    if (f.formatTag == WAVE_FORMAT::kFloat && bytes == 4) {
        float x;
        std::memcpy(&x, p, 4);
        return x;
    }
    if (f.formatTag == WAVE_FORMAT::kFloat) {
        double x;
        std::memcpy(&x, p, 8);
        return x;
    }
    if (bytes == 1)
        return (int(p[0]) - 128) / 128.0;
    return double(ReadLe(p, bytes)) / std::ldexp(1.0, 8 * bytes - 1);
}

} // namespace

QString ModuleDirectory() {
    return QStringLiteral(TSQ_BINARY_DIR);
}

WAVE_FORMAT MakeFormat(int channels, uint32_t rate, int bits, bool isFloat) {
    WAVE_FORMAT f = WAVE_FORMAT::Pcm(channels, rate, bits);
    f.formatTag = isFloat ? WAVE_FORMAT::kFloat : WAVE_FORMAT::kPcm;
    f.avgBytesPerSec = rate * f.blockAlign;
    return f;
}

std::vector<uint8_t> SineSamples(const WAVE_FORMAT& format, int frames, double hz,
                                 double amplitude) {
    std::vector<uint8_t> out;
    out.reserve(size_t(frames) * format.blockAlign);
    for (int i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(2 * std::numbers::pi * hz * i / format.samplesPerSec);
        for (int c = 0; c < format.channels; ++c)
            PutSample(out, format, v);
    }
    return out;
}

QByteArray PlainWav(const WAVE_FORMAT& f, const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> b;
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    PutLe(b, 36 + samples.size(), 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(b, 16, 4);
    PutLe(b, f.formatTag, 2);
    PutLe(b, f.channels, 2);
    PutLe(b, f.samplesPerSec, 4);
    PutLe(b, uint64_t(f.samplesPerSec) * f.blockAlign, 4);
    PutLe(b, f.blockAlign, 2);
    PutLe(b, f.bitsPerSample, 2);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    PutLe(b, samples.size(), 4);
    b.insert(b.end(), samples.begin(), samples.end());
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

QByteArray ExtensibleFmt(const WAVE_FORMAT& f) {
    std::vector<uint8_t> b;
    PutLe(b, 0xFFFE, 2);
    PutLe(b, f.channels, 2);
    PutLe(b, f.samplesPerSec, 4);
    PutLe(b, uint64_t(f.samplesPerSec) * f.blockAlign, 4);
    PutLe(b, f.blockAlign, 2);
    PutLe(b, f.bitsPerSample, 2);
    PutLe(b, 22, 2);
    PutLe(b, f.bitsPerSample, 2);
    PutLe(b, f.channels == 1 ? 4 : 3, 4); // front centre, or front left and right
    PutLe(b, f.formatTag, 2);
    const uint8_t guidTail[] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    b.insert(b.end(), std::begin(guidTail), std::end(guidTail));
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

std::vector<double> FirstChannel(const WAVE_FORMAT& format, const std::vector<uint8_t>& data) {
    std::vector<double> out;
    if (format.blockAlign == 0)
        return out;
    for (size_t i = 0; i + format.blockAlign <= data.size(); i += format.blockAlign)
        out.push_back(ReadSample(data.data() + i, format));
    return out;
}

double ZeroCrossingHz(const std::vector<double>& s, uint32_t rate) {
    const size_t first = s.size() / 10;
    const size_t last = s.size() - s.size() / 10;
    size_t start = 0;
    size_t end = 0;
    int crossings = 0;
    for (size_t i = first + 1; i < last; ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) {
            if (crossings == 0)
                start = i;
            end = i;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0;
    return double(crossings - 1) * rate / double(end - start);
}

double Rms(const std::vector<double>& s) {
    double sum = 0;
    for (const double v : s)
        sum += v * v;
    return s.empty() ? 0 : std::sqrt(sum / double(s.size()));
}
