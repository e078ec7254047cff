#pragma once
// What a PCM track needs from the outside to turn its sample file into data. The audio
// layer implements it; the model stays free of file formats and modules.

#include "model/WaveFormat.h"

#include <cstdint>
#include <string>
#include <vector>

class ISampleLoader {
public:
    virtual ~ISampleLoader() = default;
    // Reads the file at path. On success fills data with the sample bytes as stored and
    // format with their description; on failure returns false and leaves both empty.
    virtual bool LoadSample(const std::string& path, std::vector<uint8_t>& data,
                            WAVE_FORMAT& format) = 0;
};
