#include "audio/CSoundFileWriter.h"

#include "audio/internal/OggLoopComments.h"
#include "model/WavHeader.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

int IntegerSubtype(SoundFileKind kind, int bits) {
    if (bits <= 8)
        return kind == SoundFileKind::Wav ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_S8;
    return bits <= 16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24;
}

int FormatCode(const SOUND_FILE_SPEC& spec) {
    switch (spec.kind) {
    case SoundFileKind::Wav:
        if (spec.bitsPerSample > 32)
            return SF_FORMAT_WAV | SF_FORMAT_DOUBLE;
        if (spec.bitsPerSample > 24)
            return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        return SF_FORMAT_WAV | IntegerSubtype(spec.kind, spec.bitsPerSample);
    case SoundFileKind::Flac:
        return SF_FORMAT_FLAC | IntegerSubtype(spec.kind, std::min(spec.bitsPerSample, 24));
    case SoundFileKind::OggVorbis:
        return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    case SoundFileKind::Opus:
        return SF_FORMAT_OGG | SF_FORMAT_OPUS;
    case SoundFileKind::Mp3:
        break;
    }
    return 0;
}

int StoredBits(const SOUND_FILE_SPEC& spec) {
    if (spec.bitsPerSample <= 8)
        return 8;
    return spec.bitsPerSample <= 16 ? 16 : 24;
}

// Appends the "smpl" chunk the build writes, so players that loop a build loop these too.
Result AppendSamplerChunk(const std::string& path, const SOUND_FILE_LOOP& loop) {
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out | std::ios::ate);
    if (!f)
        return Result::Fail(path + ": cannot add the loop points");
    if (static_cast<int64_t>(f.tellp()) % 2 != 0)
        f.put('\0');
    const auto chunk = MakeSamplerChunk(static_cast<uint32_t>(loop.start),
                                        static_cast<uint32_t>(loop.start + loop.length - 1));
    f.write(reinterpret_cast<const char*>(chunk.data()), std::streamsize(chunk.size()));
    const auto riffSize = static_cast<uint32_t>(static_cast<int64_t>(f.tellp()) - 8);
    const uint8_t size[4] = {uint8_t(riffSize), uint8_t(riffSize >> 8), uint8_t(riffSize >> 16),
                             uint8_t(riffSize >> 24)};
    f.seekp(4);
    f.write(reinterpret_cast<const char*>(size), 4);
    f.flush();
    return f ? Result::Ok() : Result::Fail(path + ": cannot add the loop points");
}

} // namespace

CSoundFileWriter::~CSoundFileWriter() {
    Discard();
}

Result CSoundFileWriter::Open(const std::string& path, const SOUND_FILE_SPEC& wanted) {
    Discard();
    spec = wanted;
    target = path;
    if (spec.kind == SoundFileKind::Opus && OpusRateFor(spec.rate) != spec.rate)
        return Result::Fail(path + ": Opus files take 8000, 12000, 16000, 24000 or 48000 Hz");
    const fs::path p(path);
    std::string pattern = (p.parent_path() / ("." + p.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        return Result::Fail(path + ": cannot create the file in its folder");
    temporary = pattern;
    SF_INFO info{};
    info.samplerate = spec.rate;
    info.channels = spec.channels;
    info.format = FormatCode(spec);
    fchmod(fd, 0644);
    file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (file == nullptr) {
        ::close(fd);
        return Failure("cannot be written in this format");
    }
    integerSamples = spec.kind == SoundFileKind::Flac ||
                     (spec.kind == SoundFileKind::Wav && spec.bitsPerSample <= 24);
    double quality = std::clamp(spec.quality, 0.0, 1.0);
    if (spec.kind == SoundFileKind::Flac) {
        double level = 1.0 - quality;
        sf_command(file, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
    } else if (spec.kind != SoundFileKind::Wav) {
        sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    }
    return Result::Ok();
}

Result CSoundFileWriter::Write(const double* frames, int64_t count) {
    if (file == nullptr)
        return Result::Fail(target + ": the file is not open");
    if (integerSamples)
        return WriteIntegers(frames, count);
    if (sf_writef_double(file, frames, count) != count)
        return Failure("cannot be written (is the disk full?)");
    return Result::Ok();
}

Result CSoundFileWriter::WriteIntegers(const double* frames, int64_t count) {
    const int bits = StoredBits(spec);
    const double scale = std::ldexp(1.0, bits - 1);
    const double top = scale - 1;
    const size_t samples = static_cast<size_t>(count) * static_cast<size_t>(spec.channels);
    integers.resize(samples);
    for (size_t i = 0; i < samples; ++i) {
        const double n = std::clamp(std::floor(frames[i] * scale + 0.5), -scale, top);
        integers[i] =
            static_cast<int32_t>(static_cast<uint32_t>(static_cast<int32_t>(n)) << (32 - bits));
    }
    if (sf_writef_int(file, integers.data(), count) != count)
        return Failure("cannot be written (is the disk full?)");
    return Result::Ok();
}

Result CSoundFileWriter::Commit() {
    if (file == nullptr)
        return Result::Fail(target + ": the file is not open");
    const int error = sf_close(file);
    file = nullptr;
    if (error != 0)
        return Failure("cannot be finished");
    if (Result r = AddLoopMarks(); !r) {
        Discard();
        return r;
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec)
        return Failure("cannot take the place of the old file: " + ec.message());
    temporary.clear();
    return Result::Ok();
}

Result CSoundFileWriter::AddLoopMarks() {
    if (!spec.loop || spec.loop->length <= 0)
        return Result::Ok();
    if (spec.kind == SoundFileKind::Wav)
        return AppendSamplerChunk(temporary, *spec.loop);
    if (spec.kind == SoundFileKind::OggVorbis || spec.kind == SoundFileKind::Opus) {
        if (!AddOggLoopComments(temporary, spec.loop->start, spec.loop->length))
            return Result::Fail(target + ": cannot add the loop comments");
    }
    return Result::Ok();
}

Result CSoundFileWriter::Failure(const std::string& what) {
    std::string reason = target + ": " + what;
    if (file != nullptr)
        reason += std::string(" (") + sf_strerror(file) + ")";
    Discard();
    return Result::Fail(reason);
}

void CSoundFileWriter::Discard() {
    if (file != nullptr) {
        sf_close(file);
        file = nullptr;
    }
    if (!temporary.empty()) {
        std::error_code ec;
        fs::remove(temporary, ec);
        temporary.clear();
    }
}
