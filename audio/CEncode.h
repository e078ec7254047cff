#pragma once
// The MP3 encoder bridge without its dialogs: loads the encoder modules libgogo.so and
// liblame_enc.so, keeps the stored choice of encoder and bit rate (section "Encoder" of the
// settings store), and encodes a built WAV file into an MP3 file beside it on a worker
// thread while the calling thread watches the progress and may cancel.
//
// Lives for one command. Thread: the thread that made it; Encode runs the worker.

#include "model/Result.h"

#include <QString>

#include <functional>
#include <memory>

class CModule;
class QSettings;
struct GOGO_ENTRY_POINTS;
struct LAME_ENTRY_POINTS;

class CEncode {
public:
    enum Choice : int { kNone = 0, kGogo = 1, kLame = 2 };

    static constexpr const char* kGogoModule = "libgogo.so";
    static constexpr const char* kLameModule = "liblame_enc.so";
    static constexpr const char* kSection = "Encoder";
    static constexpr int kDefaultBitRate = 128;

    // Loads the modules from moduleDirectory first; libgogo.so, when that fails, from
    // gogoInstallPath (a module file, or the folder holding it; empty for none). Reads the
    // stored choice and bit rate from settings, and takes the first loaded encoder in place
    // of a stored choice that is not loaded.
    CEncode(const QString& moduleDirectory, QSettings& settings,
            const QString& gogoInstallPath = StoredGogoPath());
    ~CEncode();
    CEncode(const CEncode&) = delete;
    CEncode& operator=(const CEncode&) = delete;

    // The "INSTPATH" that the gogo installer stores (organisation "MarineCat", application
    // "GOGO_DLL" of the settings store); empty when it is missing, not text or too long.
    static QString StoredGogoPath();

    bool IsGogoLoaded() const { return m_gogo != nullptr; }
    bool IsLameLoaded() const { return m_lame != nullptr; }
    bool IsAvailable() const { return m_encoderChoice != kNone; }

    int EncoderChoice() const { return m_encoderChoice; }
    int BitRate() const { return m_bitRate; }
    // Takes the choice of the options dialog and stores it.
    void SaveChoice(int encoderChoice, int bitRate);
    // For a single encoding that does not change the stored value.
    void SetBitRate(int bitRate) { m_bitRate = bitRate; }

    // song.wav gives song.mp3: the path up to its extension, then ".mp3".
    static QString OutputPath(const QString& wavPath);

    // Called on the encoding thread about every 100 ms with the fraction done (0..1);
    // returning false cancels the encoding after the current chunk or frame.
    using Watcher = std::function<bool(double fraction)>;

    // Encodes wavPath into OutputPath(wavPath) with the chosen encoder and returns when the
    // worker has finished: the worker's outcome. A cancelled encoding leaves the part written.
    Result Encode(const QString& wavPath, const Watcher& watcher);

private:
    void LoadGogo(const QString& moduleDirectory, const QString& installPath);
    void LoadLame(const QString& moduleDirectory);
    void ReadChoice();

    QSettings& m_settings;
    std::unique_ptr<CModule> m_gogo;
    std::unique_ptr<CModule> m_lame;
    std::unique_ptr<GOGO_ENTRY_POINTS> m_gogoEntry;
    std::unique_ptr<LAME_ENTRY_POINTS> m_lameEntry;
    int m_encoderChoice = kNone;
    int m_bitRate = kDefaultBitRate;
};
