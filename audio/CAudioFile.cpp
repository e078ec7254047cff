#include "audio/CAudioFile.h"

#include "audio/internal/CRiffReader.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

WAVE_FORMAT FormatFromRecord(const uint8_t* r) {
    WAVE_FORMAT f;
    f.formatTag = Le16(r);
    f.channels = Le16(r + 2);
    f.samplesPerSec = Le32(r + 4);
    f.avgBytesPerSec = Le32(r + 8);
    f.blockAlign = Le16(r + 12);
    f.bitsPerSample = Le16(r + 14);
    f.extraSize = Le16(r + 16);
    return f;
}

Result ReadFormatChunk(CRiffReader& riff, WAVE_FORMAT& format) {
    RIFF_CHUNK chunk;
    if (!riff.NextChunk(chunk) || !chunk.Is("fmt ")) {
        return Result::Fail("the \"fmt \" chunk does not follow the WAVE header");
    }
    if (!riff.Fits(chunk)) {
        return Result::Fail("the \"fmt \" chunk runs past the end of the file");
    }
    uint8_t record[WAVE_FORMAT::kRecordSize] = {};
    const auto kept = std::min<uint32_t>(chunk.size, WAVE_FORMAT::kRecordSize);
    if (!riff.Read(record, kept) || !riff.SkipToEnd(chunk)) {
        return Result::Fail("the \"fmt \" chunk cannot be read");
    }
    format = FormatFromRecord(record);
    if (format.channels == 0 || format.samplesPerSec == 0 || format.blockAlign == 0) {
        return Result::Fail("the format has no channels, no sample rate or no block size");
    }
    return Result::Ok();
}

Result ReadDataChunk(CRiffReader& riff, std::vector<uint8_t>& data) {
    RIFF_CHUNK chunk;
    if (!riff.NextChunk(chunk) || !chunk.Is("data")) {
        return Result::Fail("the \"data\" chunk does not follow the \"fmt \" chunk");
    }
    if (!riff.Fits(chunk)) {
        return Result::Fail("the \"data\" chunk runs past the end of the file");
    }
    data.resize(chunk.size);
    if (!riff.Read(data.data(), chunk.size)) {
        return Result::Fail("the \"data\" chunk cannot be read");
    }
    return Result::Ok();
}

} // namespace

Result CAudioFile::ReadWave(const QString& path, WAVE_FORMAT& format, std::vector<uint8_t>& data) {
    format = WAVE_FORMAT{};
    data.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Result::Fail("cannot open " + path.toStdString());
    }
    return ReadWave(file, format, data);
}

Result CAudioFile::ReadWave(QIODevice& in, WAVE_FORMAT& format, std::vector<uint8_t>& data) {
    format = WAVE_FORMAT{};
    data.clear();
    CRiffReader riff(in);
    if (!riff.ReadFileHeader()) {
        return Result::Fail("not a RIFF WAVE file");
    }
    WAVE_FORMAT read;
    std::vector<uint8_t> bytes;
    Result result = ReadFormatChunk(riff, read);
    if (result) {
        result = ReadDataChunk(riff, bytes);
    }
    if (result) {
        format = read;
        data = std::move(bytes);
    }
    return result;
}

Result CAudioFile::Load(const QString& path, WAVE_FORMAT& format, std::vector<uint8_t>& data) {
    return ReadWave(path, format, data);
}

bool CAudioFile::LoadSample(const std::string& path, std::vector<uint8_t>& data,
                            WAVE_FORMAT& format) {
    return bool(Load(QString::fromStdString(path), format, data));
}
