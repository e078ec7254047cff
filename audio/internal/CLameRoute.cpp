#include "audio/internal/CLameRoute.h"

#include "audio/internal/CEncoderInput.h"

#include <QFile>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Sizes a sound module never asks for; beyond them the module is taken to be broken.
constexpr uint32_t kMaxChunkSamples = 1u << 20;
constexpr uint32_t kMaxBufferBytes = 1u << 24;

std::string Failure(const char* call, BE_ERR code) {
    return std::string("the encoder module refused ") + call + " (" + std::to_string(code) + ")";
}

bool WriteOut(QFile& out, const std::vector<uint8_t>& bytes, uint32_t count) {
    return count <= bytes.size() &&
           out.write(reinterpret_cast<const char*>(bytes.data()), qint64(count)) == qint64(count);
}

struct STREAM_CHUNKS {
    HBE_STREAM stream = 0;
    uint32_t samples = 0;    // per chunk, all channels
    uint32_t bufferSize = 0; // output bytes
};

Result Feed(const LAME_ENTRY_POINTS& entry, const STREAM_CHUNKS& s, CEncoderInput& input,
            QFile& out, CEncodeProgress& progress) {
    const int channels = input.Format().channels;
    std::vector<int16_t> pcm(s.samples);
    std::vector<uint8_t> mp3(s.bufferSize);
    const double total = double(input.DataBytes());
    for (;;) {
        const int64_t frames = input.Read(pcm.data(), s.samples / uint32_t(channels));
        if (frames < 0)
            return Result::Fail("cannot read the WAV file");
        if (frames == 0)
            break;
        uint32_t produced = 0;
        const auto count = uint32_t(frames * channels);
        if (const BE_ERR e = entry.encodeChunk(s.stream, count, pcm.data(), mp3.data(), &produced))
            return Result::Fail(Failure("beEncodeChunk", e));
        if (!WriteOut(out, mp3, produced))
            return Result::Fail("cannot write the MP3 file");
        if (!progress.Report(total > 0 ? double(input.BytesRead()) / total : 1.0))
            return Result::Fail("cancelled");
    }
    uint32_t produced = 0;
    if (const BE_ERR e = entry.deinitStream(s.stream, mp3.data(), &produced))
        return Result::Fail(Failure("beDeinitStream", e));
    if (!WriteOut(out, mp3, produced))
        return Result::Fail("cannot write the MP3 file");
    return Result::Ok();
}

} // namespace

BE_CONFIG CLameRoute::MakeConfig(uint32_t samplesPerSec, int channels, int bitRate) {
    BE_CONFIG config;
    std::memset(&config, 0, sizeof config);
    config.dwConfig = BE_CONFIG_LAME;
    config.dwStructVersion = 1;
    config.dwStructSize = BE_CONFIG_SIZE;
    config.dwSampleRate = samplesPerSec;
    config.nMode = channels == 1 ? BE_MP3_MODE_MONO : BE_MP3_MODE_STEREO;
    config.dwBitrate = uint32_t(bitRate);
    config.dwMpegVersion = 1;
    config.bOriginal = 1;
    config.bEnableVBR = 1;
    config.bNoRes = 1;
    return config;
}

Result CLameRoute::Run(const QString& wav, const QString& mp3, int bitRate,
                       CEncodeProgress& progress) {
    QFile in(wav);
    if (!in.open(QIODevice::ReadOnly))
        return Result::Fail("cannot open " + wav.toStdString());
    CEncoderInput input;
    if (Result r = input.Open(in); !r)
        return Result::Fail(wav.toStdString() + ": " + r.message);
    const WAVE_FORMAT& f = input.Format();
    const BE_CONFIG config = MakeConfig(f.samplesPerSec, f.channels, bitRate);
    STREAM_CHUNKS s;
    if (const BE_ERR e = m_entry.initStream(&config, &s.samples, &s.bufferSize, &s.stream))
        return Result::Fail(Failure("beInitStream", e));
    if (s.samples < f.channels || s.samples > kMaxChunkSamples || s.bufferSize == 0 ||
        s.bufferSize > kMaxBufferBytes) {
        m_entry.closeStream(s.stream);
        return Result::Fail("the encoder module asks for impossible buffer sizes");
    }
    QFile out(mp3);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_entry.closeStream(s.stream);
        return Result::Fail("cannot create " + mp3.toStdString());
    }
    const Result result = Feed(m_entry, s, input, out, progress);
    m_entry.closeStream(s.stream);
    in.close();
    out.close();
    if (!result)
        return result;
    const QByteArray path = QFile::encodeName(mp3);
    if (m_entry.writeInfoTag != nullptr)
        m_entry.writeInfoTag(s.stream, path.constData());
    else if (m_entry.writeVBRHeader != nullptr)
        m_entry.writeVBRHeader(path.constData());
    return out.error() == QFileDevice::NoError ? result : Result::Fail("cannot write the MP3 file");
}
