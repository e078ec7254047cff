#include "audio/CSoundFileReader.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

CSoundFileReader::~CSoundFileReader() {
    if (file != nullptr)
        sf_close(file);
}

Result CSoundFileReader::Open(const std::string& name) {
    if (file != nullptr)
        sf_close(file);
    path = name;
    SF_INFO info{};
    file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
        return Result::Fail(path + ": cannot be read (" + sf_strerror(nullptr) + ")");
    channels = info.channels;
    rate = info.samplerate;
    frames = info.frames;
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    integerSamples = subtype == SF_FORMAT_PCM_U8 || subtype == SF_FORMAT_PCM_S8 ||
                     subtype == SF_FORMAT_PCM_16 || subtype == SF_FORMAT_PCM_24 ||
                     subtype == SF_FORMAT_PCM_32;
    return Result::Ok();
}

Result CSoundFileReader::Read(int64_t at, int64_t count, double* out) {
    const size_t samples = static_cast<size_t>(count) * static_cast<size_t>(channels);
    std::fill(out, out + samples, 0.0);
    const int64_t available = std::clamp<int64_t>(frames - at, 0, count);
    if (available == 0)
        return Result::Ok();
    if (sf_seek(file, at, SEEK_SET) < 0)
        return Result::Fail(path + ": cannot be read");
    if (!integerSamples)
        return sf_readf_double(file, out, available) == available
                   ? Result::Ok()
                   : Result::Fail(path + ": cannot be read");
    integers.resize(static_cast<size_t>(available) * static_cast<size_t>(channels));
    if (sf_readf_int(file, integers.data(), available) != available)
        return Result::Fail(path + ": cannot be read");
    const double scale = std::ldexp(1.0, -31);
    for (size_t i = 0; i < integers.size(); ++i)
        out[i] = integers[i] * scale;
    return Result::Ok();
}
