#include "app/CSettingsStore.h"

#include "common/AppTitle.h"
#include "ui/widgets/InterfaceLanguage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
// An older version stored the identifier of the chosen option button of "NoteAdd".
constexpr int32_t kOldNoteAddBase = 1082;

// What to do with a value outside its range.
enum class OutOfRange { Default, Clamp };

struct INT_OPTION {
    const char* name;
    int32_t OPTIONS::*field;
    int32_t minimum;
    int32_t maximum;
    OutOfRange policy;
};

const INT_OPTION kIntOptions[] = {
    {"PianoRollZoomX", &OPTIONS::pianoRollZoomX, options_range::kZoomXMin, options_range::kZoomXMax,
     OutOfRange::Default},
    {"PianoRollZoomY", &OPTIONS::pianoRollZoomY, options_range::kZoomYMin, options_range::kZoomYMax,
     OutOfRange::Default},
    {"ViewInactiveNote", &OPTIONS::viewInactiveNote, 0, 1, OutOfRange::Clamp},
    {"ViewInactiveNoteColor", &OPTIONS::viewInactiveNoteColor, 0, 1, OutOfRange::Clamp},
    {"ViewInactiveMuteNoteColor", &OPTIONS::viewInactiveMuteNoteColor, 0, 1, OutOfRange::Clamp},
    {"ViewGradation", &OPTIONS::viewGradation, 0, 1, OutOfRange::Clamp},
    {"ViewPortamento", &OPTIONS::viewPortamento, 0, 1, OutOfRange::Clamp},
    {"ViewPosCaret", &OPTIONS::viewPosCaret, 0, 1, OutOfRange::Clamp},
    {"ViewNoteCaret", &OPTIONS::viewNoteCaret, 0, 1, OutOfRange::Clamp},
    {"ScrollMeasure", &OPTIONS::scrollMeasure, 0, 1, OutOfRange::Default},
    {"NoteSingleClickAdd", &OPTIONS::noteSingleClickAdd, 0, 1, OutOfRange::Clamp},
    {"NoteAdd", &OPTIONS::noteAdd, 0, 2, OutOfRange::Default},
    {"NoteRightDragLength", &OPTIONS::noteRightDragLength, 0, 1, OutOfRange::Clamp},
    {"NoteSelectDefault", &OPTIONS::noteSelectDefault, 0, 1, OutOfRange::Clamp},
    {"NotePlay", &OPTIONS::notePlay, 0, 1, OutOfRange::Clamp},
    {"KeyboardPlay", &OPTIONS::keyboardPlay, 0, 1, OutOfRange::Clamp},
    {"PlayBufferSize", &OPTIONS::playBufferSize, options_range::kPlayBufferMin,
     options_range::kPlayBufferMax, OutOfRange::Default},
    {"PlayMove", &OPTIONS::playMove, 0, 1, OutOfRange::Clamp},
    {"PlayScroll", &OPTIONS::playScroll, 0, 1, OutOfRange::Clamp},
    {"BuildThreads", &OPTIONS::buildThreads, options_range::kBuildThreadsMin,
     options_range::kBuildThreadsMax, OutOfRange::Clamp},
    {"BuildSaveIncremental", &OPTIONS::buildSaveIncremental, 0, 1, OutOfRange::Clamp},
    {"BuildSaveProject", &OPTIONS::buildSaveProject, 0, 1, OutOfRange::Clamp},
    {"BuildEncode", &OPTIONS::buildEncode, 0, 1, OutOfRange::Clamp},
    {"ImportRhythmAutoLength", &OPTIONS::importRhythmAutoLength, 0, 1, OutOfRange::Clamp},
    {"ImportRhythmAutoLengthLength", &OPTIONS::importRhythmAutoLengthLength, 1, kMaxInt,
     OutOfRange::Default},
    {"RestoreWindow", &OPTIONS::restoreWindow, 0, 1, OutOfRange::Clamp},
};

struct COLOR_OPTION {
    const char* name;
    uint32_t OPTIONS::*field;
};

const COLOR_OPTION kColorOptions[] = {
    {"crNote", &OPTIONS::crNote},
    {"crInactiveNote", &OPTIONS::crInactiveNote},
    {"crInactiveMuteNote", &OPTIONS::crInactiveMuteNote},
    {"crSelectedNote", &OPTIONS::crSelectedNote},
};

// The stored integer, or nullopt when missing or not a number. Wide enough that a huge
// stored number is seen as out of range rather than wrapped.
std::optional<int64_t> ReadInt(QSettings& settings, const char* key) {
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

int32_t Limit(std::optional<int64_t> value, int32_t current, int32_t minimum, int32_t maximum,
              OutOfRange policy) {
    if (!value)
        return current;
    if (*value >= minimum && *value <= maximum)
        return static_cast<int32_t>(*value);
    if (policy == OutOfRange::Default)
        return current;
    return static_cast<int32_t>(std::clamp<int64_t>(*value, minimum, maximum));
}

void ReadString(QSettings& settings, const char* key, std::string& target) {
    const QString value = settings.value(key, QString::fromStdString(target)).toString();
    if (!value.isEmpty())
        target = value.toStdString();
}

} // namespace

CSettingsStore::CSettingsStore()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, kCompanyName, kAppTitle) {
    // Qt then writes the file through a temporary and a rename, like every other file of
    // the program, and never in place where a full disk could cut it short.
    m_settings.setAtomicSyncRequired(true);
}

bool CSettingsStore::Flush() {
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

void CSettingsStore::LoadOptions(OPTIONS& options) {
    m_settings.beginGroup("Options");
    for (const INT_OPTION& option : kIntOptions) {
        std::optional<int64_t> value = ReadInt(m_settings, option.name);
        if (option.field == &OPTIONS::noteAdd && value && *value >= kOldNoteAddBase)
            *value -= kOldNoteAddBase;
        int32_t& field = options.*option.field;
        field = Limit(value, field, option.minimum, option.maximum, option.policy);
    }
    for (const COLOR_OPTION& option : kColorOptions) {
        const std::optional<int64_t> value = ReadInt(m_settings, option.name);
        if (value && *value >= 0 && *value <= 0xFFFFFFFFLL)
            options.*option.field = static_cast<uint32_t>(*value) & 0xFFFFFFu;
    }
    ReadString(m_settings, "PCMDefaultPath", options.pcmDefaultPath);
    ReadString(m_settings, "ProjectDefaultPath", options.projectDefaultPath);
    m_settings.endGroup();
    m_settings.beginGroup("Recovery");
    options.autosaveSeconds =
        Limit(ReadInt(m_settings, "AutosaveSeconds"), options.autosaveSeconds,
              options_range::kAutosaveMin, options_range::kAutosaveMax, OutOfRange::Clamp);
    m_settings.endGroup();
    options.interfaceLanguage = static_cast<int32_t>(LoadLanguageChoice(m_settings));
    m_settings.beginGroup("MidiInput");
    ReadString(m_settings, "Port", options.midiInputPort);
    m_settings.endGroup();
    m_settings.beginGroup("Playback");
    options.livePlayback =
        Limit(ReadInt(m_settings, "Live"), options.livePlayback, 0, 1, OutOfRange::Clamp);
    options.metronomeVolume = Limit(ReadInt(m_settings, "MetronomeVolume"), options.metronomeVolume,
                                    options_range::kMetronomeVolumeMin,
                                    options_range::kMetronomeVolumeMax, OutOfRange::Clamp);
    m_settings.endGroup();
}

void CSettingsStore::SaveOptions(const OPTIONS& options) {
    m_settings.beginGroup("Options");
    for (const INT_OPTION& option : kIntOptions)
        m_settings.setValue(option.name, options.*option.field);
    for (const COLOR_OPTION& option : kColorOptions)
        m_settings.setValue(option.name, options.*option.field);
    m_settings.setValue("PCMDefaultPath", QString::fromStdString(options.pcmDefaultPath));
    m_settings.setValue("ProjectDefaultPath", QString::fromStdString(options.projectDefaultPath));
    m_settings.endGroup();
    m_settings.beginGroup("Recovery");
    m_settings.setValue("AutosaveSeconds", options.autosaveSeconds);
    m_settings.endGroup();
    SaveLanguageChoice(m_settings, static_cast<LanguageChoice>(options.interfaceLanguage));
    m_settings.beginGroup("MidiInput");
    m_settings.setValue("Port", QString::fromStdString(options.midiInputPort));
    m_settings.endGroup();
    m_settings.beginGroup("Playback");
    m_settings.setValue("Live", options.livePlayback);
    m_settings.setValue("MetronomeVolume", options.metronomeVolume);
    m_settings.endGroup();
}

namespace {

bool IsPowerOfTwoBeat(int64_t value) {
    return value >= 1 && value <= 64 && (value & (value - 1)) == 0;
}

bool IsSampleWidth(int64_t value) {
    return value == 8 || value == 16 || value == 24 || value == 32 || value == 64;
}

// "Volume": the four bytes of a 32-bit level, little-endian; shorter blocks are damaged.
std::optional<int32_t> ReadVolumeBlock(QSettings& settings) {
    const QByteArray block = settings.value("Volume").toByteArray();
    if (block.size() < 4)
        return std::nullopt;
    return qFromLittleEndian<qint32>(block.constData());
}

// "Tempo": the eight bytes of a double, little-endian.
std::optional<double> ReadTempoBlock(QSettings& settings) {
    const QByteArray block = settings.value("Tempo").toByteArray();
    if (block.size() < 8)
        return std::nullopt;
    const quint64 bits = qFromLittleEndian<quint64>(block.constData());
    double tempo = 0;
    std::memcpy(&tempo, &bits, sizeof tempo);
    if (!std::isfinite(tempo) || tempo <= 0)
        return std::nullopt;
    return std::clamp(tempo, 10.0, 1000.0);
}

} // namespace

void CSettingsStore::LoadDefaultProject(CProjectData& data) {
    m_settings.beginGroup("DefaultProject");
    ReadString(m_settings, "Name", data.name);
    if (const auto volume = ReadVolumeBlock(m_settings))
        data.volumes.SetAt(0, VOLUME{0, std::clamp(*volume, 0, 255)});
    if (const auto tempo = ReadTempoBlock(m_settings))
        data.tempos.SetAt(0, TEMPO{0, *tempo});
    BEAT beat = data.beats[0];
    const auto baseBeat = ReadInt(m_settings, "BaseBeat");
    if (baseBeat && IsPowerOfTwoBeat(*baseBeat))
        beat.baseBeat = static_cast<int32_t>(*baseBeat);
    beat.beat = Limit(ReadInt(m_settings, "Beat"), beat.beat, 1, 64, OutOfRange::Default);
    beat.measure = 0;
    data.beats.SetAt(0, beat);
    data.transpose =
        Limit(ReadInt(m_settings, "Transpose"), data.transpose, -100, 100, OutOfRange::Clamp);
    data.channels =
        Limit(ReadInt(m_settings, "Channels"), data.channels, 1, 2, OutOfRange::Default);
    data.samplesPerSec = Limit(ReadInt(m_settings, "SamplesPerSec"), data.samplesPerSec, 1000,
                               384000, OutOfRange::Clamp);
    const auto bits = ReadInt(m_settings, "BitsPerSample");
    if (bits && IsSampleWidth(*bits))
        data.bitsPerSample = static_cast<int32_t>(*bits);
    data.startDummy =
        Limit(ReadInt(m_settings, "StartDummy"), data.startDummy, 0, 10000, OutOfRange::Clamp);
    data.endDummy =
        Limit(ReadInt(m_settings, "EndDummy"), data.endDummy, 0, 10000, OutOfRange::Clamp);
    data.fadeOut =
        Limit(ReadInt(m_settings, "FadeOut"), data.fadeOut, 0, 100000, OutOfRange::Clamp);
    data.fadeOutType =
        Limit(ReadInt(m_settings, "FadeOutType"), data.fadeOutType, 0, 2, OutOfRange::Default);
    data.reductionPuchiNoise = Limit(ReadInt(m_settings, "ReductionPuchiNoise"),
                                     data.reductionPuchiNoise, 0, 1, OutOfRange::Clamp);
    m_settings.endGroup();
}

void CSettingsStore::SaveDefaultProject(const CProjectData& data) {
    m_settings.beginGroup("DefaultProject");
    m_settings.setValue("Name", QString::fromStdString(data.name));
    QByteArray volume(4, '\0');
    qToLittleEndian<qint32>(data.volumes[0].volume, volume.data());
    m_settings.setValue("Volume", volume);
    quint64 bits = 0;
    std::memcpy(&bits, &data.tempos[0].tempo, sizeof bits);
    QByteArray tempo(8, '\0');
    qToLittleEndian<quint64>(bits, tempo.data());
    m_settings.setValue("Tempo", tempo);
    m_settings.setValue("Transpose", data.transpose);
    m_settings.setValue("BaseBeat", data.beats[0].baseBeat);
    m_settings.setValue("Beat", data.beats[0].beat);
    m_settings.setValue("Channels", data.channels);
    m_settings.setValue("SamplesPerSec", data.samplesPerSec);
    m_settings.setValue("BitsPerSample", data.bitsPerSample);
    m_settings.setValue("StartDummy", data.startDummy);
    m_settings.setValue("EndDummy", data.endDummy);
    m_settings.setValue("FadeOut", data.fadeOut);
    m_settings.setValue("FadeOutType", data.fadeOutType);
    m_settings.setValue("ReductionPuchiNoise", data.reductionPuchiNoise);
    m_settings.endGroup();
}

void CSettingsStore::LoadCustomColors(CColorButton::CustomColors& colors) {
    const QByteArray block = m_settings.value("Settings/crCustom").toByteArray();
    const qsizetype count = std::min<qsizetype>(block.size() / 4, std::ssize(colors));
    for (qsizetype i = 0; i < count; ++i)
        colors[static_cast<size_t>(i)] =
            qFromLittleEndian<quint32>(block.constData() + i * 4) & 0xFFFFFFu;
}

void CSettingsStore::SaveCustomColors(const CColorButton::CustomColors& colors) {
    QByteArray block(static_cast<qsizetype>(colors.size() * 4), '\0');
    for (size_t i = 0; i < colors.size(); ++i)
        qToLittleEndian<quint32>(colors[i], block.data() + i * 4);
    m_settings.setValue("Settings/crCustom", block);
}

double CSettingsStore::LoadVolume() {
    const auto percent = ReadInt(m_settings, "Settings/Volume");
    return std::clamp<int64_t>(percent.value_or(100), 0, 100) / 100.0;
}

void CSettingsStore::SaveVolume(double volume) {
    // Rounded: truncating 0.29 * 100 would store 28 and lose a step on every run.
    m_settings.setValue("Settings/Volume",
                        static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

bool CSettingsStore::RemoveAll() {
    m_settings.clear();
    m_settings.sync();
    const QString file = m_settings.fileName();
    const bool removed = !QFileInfo::exists(file) || QFile::remove(file);
    QDir().rmdir(QFileInfo(file).absolutePath());
    return removed;
}
