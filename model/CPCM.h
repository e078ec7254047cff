#pragma once
// Sample playback settings of a track, and the decoded sample once it is loaded. The
// sample itself is never stored in the project; it is read again from fileName.

#include "model/WaveFormat.h"

#include <cstdint>
#include <string>
#include <vector>

class CArchiveReader;
class CArchiveWriter;
class ISampleLoader;

class CPCM {
public:
    std::string fileName;            // absolute, or relative to the documents folder
    int32_t baseKey = 59;            // key at which the sample plays at its recorded pitch (C4)
    int32_t loopStart = 0;           // in loopUnit
    int32_t loopEnd = 0;             // in loopUnit; 0 = end of the data
    int32_t loopCount = 1;           // 1 no loop, 0 endless, n >= 2 the stretch sounds n times
    int32_t loopUnit = 0;            // 0 milliseconds, 1 sample frames
    std::vector<uint8_t> sampleData; // decoded data as stored in the file; not copied
    WAVE_FORMAT sampleFormat{};

    CPCM() = default;
    // A copy carries the settings but no sample: it loads its own when it needs one.
    CPCM(const CPCM& other);
    CPCM& operator=(const CPCM& other);
    CPCM(CPCM&&) noexcept = default;
    CPCM& operator=(CPCM&&) noexcept = default;

    bool SameSettings(const CPCM& other) const;

    // Full path of fileName: names starting with "/" (or, from Windows, "X:" or "\\") are
    // used unchanged; other names are relative to the documents folder, with backslashes
    // read as folder separators.
    std::string GetPath() const;
    // Frees any loaded sample and reads it afresh; false for a name that ends in a folder
    // separator or a file the loader cannot decode (the sample then stays empty).
    bool LoadSample(ISampleLoader& loader);
    void FreeSample();
    bool HasSample() const { return !sampleData.empty(); }

    // Folder that relative names resolve against; set once at start-up.
    static void SetDocumentsFolder(const std::string& folder);
    static const std::string& DocumentsFolder();

    void Serialize(CArchiveWriter& ar) const;
    void Serialize(CArchiveReader& ar, uint32_t version);
};
