#pragma once
// Writes a sound file through libsndfile, under a temporary name in the target's folder
// that becomes the target only on Commit: an abort, a failure or a crash never leaves a
// half-written file at the target's name, and an older file there survives until then.
// Samples arrive as interleaved doubles, 1.0 being full scale; integer files store
// round(x * 2^(bits-1)), so samples read from an integer file of the same width come back
// bit for bit. Plain C++ over libsndfile, usable by the headless modes.

#include "audio/SoundFileFormat.h"
#include "model/Result.h"

#include <cstdint>
#include <string>
#include <vector>

struct sf_private_tag;

class CSoundFileWriter {
public:
    CSoundFileWriter() = default;
    ~CSoundFileWriter();
    CSoundFileWriter(const CSoundFileWriter&) = delete;
    CSoundFileWriter& operator=(const CSoundFileWriter&) = delete;

    Result Open(const std::string& path, const SOUND_FILE_SPEC& spec);
    Result Write(const double* frames, int64_t count);
    // Finishes the file, adds the loop marks and puts it in place of the target.
    Result Commit();
    // Drops the temporary file; the target stays as it was.
    void Discard();

private:
    Result WriteIntegers(const double* frames, int64_t count);
    Result Failure(const std::string& what);
    Result AddLoopMarks();

    sf_private_tag* file = nullptr;
    SOUND_FILE_SPEC spec;
    std::string target;
    std::string temporary;
    std::vector<int32_t> integers;
    bool integerSamples = false;
};
