#include "audio/CAudioFile.h"

#include "audio/CModule.h"
#include "audio/CTempFolder.h"
#include "audio/internal/CRiffReader.h"
#include "model/WavHeader.h"
#include "modules/api/vbmp3.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

struct CAudioFile::ENTRY_POINTS {
    VBMP3_INIT init = nullptr;
    VBMP3_FREE free = nullptr;
    VBMP3_OPEN open = nullptr;
    VBMP3_CLOSE close = nullptr;
    VBMP3_DECODEWAVE decodeWave = nullptr;
    VBMP3_GETSTATE getState = nullptr;
    VBMP3_PLAY play = nullptr;
    VBMP3_STOP stop = nullptr;

    bool Complete() const {
        return init && free && open && close && decodeWave && getState && play && stop;
    }
};

namespace {

// How long a decoding may take before the module is taken to be hung, and how often it is
// asked in the meantime.
constexpr auto kDecodeLimit = std::chrono::minutes(10);
constexpr auto kDecodePoll = std::chrono::milliseconds(1);

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
    format = ReadFormatRecord(record);
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

CAudioFile::CAudioFile() {
    LoadModule(CModule::ProgramDirectory());
}

CAudioFile::CAudioFile(const QString& moduleDirectory) {
    LoadModule(moduleDirectory);
}

CAudioFile::~CAudioFile() {
    if (m_module == nullptr)
        return;
    // The module serves every reader in the process: only this instance's own audition is
    // stopped, not one that another reader (the PCM dialog) is playing.
    if (m_auditioned)
        m_entry->stop();
    m_entry->close();
    m_entry->free();
}

// The module's library stays mapped once loaded: it holds Qt objects for the audition,
// and readers come and go for every sample the editor loads.
void CAudioFile::LoadModule(const QString& directory) {
    m_module = CModule::Load(directory, kModuleName, CModule::Unload::Never);
    if (m_module == nullptr)
        return;
    auto entry = std::make_unique<ENTRY_POINTS>();
    entry->init = m_module->Entry<VBMP3_INIT>("vbmp3_init");
    entry->free = m_module->Entry<VBMP3_FREE>("vbmp3_free");
    entry->open = m_module->Entry<VBMP3_OPEN>("vbmp3_open");
    entry->close = m_module->Entry<VBMP3_CLOSE>("vbmp3_close");
    entry->decodeWave = m_module->Entry<VBMP3_DECODEWAVE>("vbmp3_decodeWave");
    entry->getState = m_module->Entry<VBMP3_GETSTATE>("vbmp3_getState");
    entry->play = m_module->Entry<VBMP3_PLAY>("vbmp3_play");
    entry->stop = m_module->Entry<VBMP3_STOP>("vbmp3_stop");
    // A module that lacks an entry point is not the module this reader talks to.
    if (!entry->Complete()) {
        m_module.reset();
        return;
    }
    m_entry = std::move(entry);
    m_entry->init();
}

Result CAudioFile::Load(const QString& path, WAVE_FORMAT& format, std::vector<uint8_t>& data) {
    Result result = ReadWave(path, format, data);
    if (result || m_module == nullptr)
        return result;
    return Decode(path, format, data);
}

Result CAudioFile::Decode(const QString& path, WAVE_FORMAT& format, std::vector<uint8_t>& data) {
    CTempFolder folder;
    if (!folder.Create(kTempFolderName))
        return Result::Fail("cannot make the temporary folder for decoding");
    const QString wav = folder.GetTempFileName(QStringLiteral("audio.wav"));
    if (wav.isEmpty())
        return Result::Fail("no free name in the temporary folder for decoding");
    VBMP3_INFO info{};
    m_entry->close();
    m_entry->open(QFile::encodeName(path).constData(), &info);
    m_entry->decodeWave(QFile::encodeName(wav).constData());
    const bool finished = WaitForDecoder();
    // Closing also cancels a decoding that ran out of time, which removes its file.
    m_entry->close();
    Result result =
        finished ? ReadWave(wav, format, data) : Result::Fail("the decoder module did not finish");
    QFile::remove(wav);
    if (!result)
        result.message = path.toStdString() + ": the decoder module cannot read it";
    return result;
}

bool CAudioFile::WaitForDecoder() const {
    const auto deadline = std::chrono::steady_clock::now() + kDecodeLimit;
    VBMP3_STATE state{};
    while (m_entry->getState(&state) != 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(kDecodePoll);
    }
    return true;
}

bool CAudioFile::Audition(const QString& path) {
    if (m_module == nullptr)
        return false;
    m_entry->stop();
    m_entry->close();
    VBMP3_INFO info{};
    if (m_entry->open(QFile::encodeName(path).constData(), &info) == 0)
        return false;
    m_auditioned = true;
    return m_entry->play() != 0;
}

void CAudioFile::StopAudition() {
    if (m_module != nullptr)
        m_entry->stop();
}

bool CAudioFile::LoadSample(const std::string& path, std::vector<uint8_t>& data,
                            WAVE_FORMAT& format) {
    return bool(Load(QString::fromStdString(path), format, data));
}
