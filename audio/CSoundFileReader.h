#pragma once
// Reads the frames of a sound file through libsndfile as interleaved doubles, 1.0 being
// full scale: an integer sample n of b bits reads as n / 2^(b-1) exactly, so what
// CSoundFileWriter writes at the same width comes back bit for bit. Reads any stretch at
// any place, which is what mixing a loop's tail into its start needs.

#include "model/Result.h"

#include <cstdint>
#include <string>
#include <vector>

struct sf_private_tag;

class CSoundFileReader {
public:
    CSoundFileReader() = default;
    ~CSoundFileReader();
    CSoundFileReader(const CSoundFileReader&) = delete;
    CSoundFileReader& operator=(const CSoundFileReader&) = delete;

    Result Open(const std::string& path);
    int Channels() const { return channels; }
    int Rate() const { return rate; }
    int64_t Frames() const { return frames; }
    // Reads `count` frames from frame `at` into `out`; frames beyond the end read as zero.
    Result Read(int64_t at, int64_t count, double* out);

private:
    sf_private_tag* file = nullptr;
    std::string path;
    int channels = 0;
    int rate = 0;
    int64_t frames = 0;
    bool integerSamples = false;
    std::vector<int32_t> integers;
};
