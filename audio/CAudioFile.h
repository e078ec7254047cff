#pragma once
// Turns the sound file of a PCM track into raw sample bytes and their 18-byte format record.
// WAV files are read by the strict reader. Files it refuses go to the decoder module
// libvbmp3.so (MP3, and whatever libsndfile reads: WAV with other chunks, FLAC, Ogg, AIFF),
// which decodes them into a temporary WAV file that is read the same way. Without the module
// (IsMp3Available false) the strict reader's answer is final.
//
// Constructing an instance loads the module, destroying it unloads it. Each user makes its
// own short-lived instance; every call belongs to the thread that made it.

#include "model/ISampleLoader.h"
#include "model/Result.h"
#include "model/WaveFormat.h"

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class CModule;

class CAudioFile : public ISampleLoader {
public:
    static constexpr const char* kModuleName = "libvbmp3.so";
    static constexpr const char* kTempFolderName = "tsq_temp_audio";

    // Loads the module from the program's own folder first.
    CAudioFile();
    // Loads the module from moduleDirectory first.
    explicit CAudioFile(const QString& moduleDirectory);
    ~CAudioFile() override;
    CAudioFile(const CAudioFile&) = delete;
    CAudioFile& operator=(const CAudioFile&) = delete;

    // Whether the decoder module is loaded, for files other than plain WAV.
    bool IsMp3Available() const { return m_module != nullptr; }

    // The strict WAV reader: "RIFF", "WAVE", then a "fmt " chunk directly followed by a
    // "data" chunk and nothing else before them. The format record takes the first 18 bytes
    // of "fmt " (missing ones zero; a longer chunk is stepped over whole). data receives the
    // "data" chunk's bytes as stored. Fails for any other layout, a chunk that runs past the
    // end of the file, or a format with no channels, rate or block alignment. On failure
    // format and data are left empty.
    static Result ReadWave(const QString& path, WAVE_FORMAT& format, std::vector<uint8_t>& data);
    static Result ReadWave(QIODevice& in, WAVE_FORMAT& format, std::vector<uint8_t>& data);

    // The sample of a PCM track: the strict reader, then the decoder route when available.
    // The decoder writes into a fresh name in the temporary folder "tsq_temp_audio", which
    // is emptied and removed again whatever the outcome.
    Result Load(const QString& path, WAVE_FORMAT& format, std::vector<uint8_t>& data);

    // Plays a file through the module, for a file the plain WAV player does not play: what
    // sounds stops first. False without the module or when it cannot open or play the file.
    // Needs the event loop of the application's thread.
    bool Audition(const QString& path);
    // Stops the audition; destroying the instance also stops it.
    void StopAudition();

    // ISampleLoader: Load with a UTF-8 path.
    bool LoadSample(const std::string& path, std::vector<uint8_t>& data,
                    WAVE_FORMAT& format) override;

private:
    struct ENTRY_POINTS;

    void LoadModule(const QString& directory);
    Result Decode(const QString& path, WAVE_FORMAT& format, std::vector<uint8_t>& data);
    bool WaitForDecoder() const;

    std::unique_ptr<CModule> m_module;
    std::unique_ptr<ENTRY_POINTS> m_entry;
    bool m_auditioned = false;
};
