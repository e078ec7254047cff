#include "audio/CEncode.h"

#include "audio/CModule.h"
#include "audio/internal/CEncodeProgress.h"
#include "audio/internal/CGogoRoute.h"
#include "audio/internal/CLameRoute.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <chrono>
#include <future>
#include <thread>

namespace {

// The installer's value holds at most 520 bytes of UTF-16 text with its terminator.
constexpr int kMaxInstallPathChars = 259;
constexpr auto kWatchStep = std::chrono::milliseconds(100);
constexpr int kLowestBitRate = 8;
constexpr int kHighestBitRate = 320;

int ReadInt(QSettings& settings, const char* name, int fallback) {
    bool ok = false;
    const int value = settings.value(QString::fromLatin1(name), fallback).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

CEncode::CEncode(const QString& moduleDirectory, QSettings& settings,
                 const QString& gogoInstallPath)
    : m_settings(settings) {
    LoadGogo(moduleDirectory, gogoInstallPath);
    LoadLame(moduleDirectory);
    ReadChoice();
}

CEncode::~CEncode() = default;

QString CEncode::StoredGogoPath() {
    const QSettings store(QStringLiteral("MarineCat"), QStringLiteral("GOGO_DLL"));
    const QVariant value = store.value(QStringLiteral("INSTPATH"));
    if (value.typeId() != QMetaType::QString)
        return {};
    const QString path = value.toString();
    return path.size() > kMaxInstallPathChars ? QString() : path;
}

void CEncode::LoadGogo(const QString& moduleDirectory, const QString& installPath) {
    m_gogo = CModule::Load(moduleDirectory, kGogoModule);
    if (m_gogo == nullptr && !installPath.isEmpty()) {
        const QFileInfo place(installPath);
        m_gogo = place.isDir() ? CModule::Load(place.absoluteFilePath(), kGogoModule)
                               : CModule::Load(place.absolutePath(), place.fileName());
    }
    if (m_gogo == nullptr)
        return;
    auto e = std::make_unique<GOGO_ENTRY_POINTS>();
    e->initializeWork = m_gogo->Entry<MPGE_INITIALIZEWORK>("MPGE_initializeWork");
    e->setConfigure = m_gogo->Entry<MPGE_SETCONFIGURE>("MPGE_setConfigure");
    e->getConfigure = m_gogo->Entry<MPGE_GETCONFIGURE>("MPGE_getConfigure");
    e->detectConfigure = m_gogo->Entry<MPGE_DETECTCONFIGURE>("MPGE_detectConfigure");
    e->processFrame = m_gogo->Entry<MPGE_PROCESSFRAME>("MPGE_processFrame");
    e->closeCoder = m_gogo->Entry<MPGE_CLOSECODER>("MPGE_closeCoder");
    e->endCoder = m_gogo->Entry<MPGE_ENDCODER>("MPGE_endCoder");
    e->getUnitStates = m_gogo->Entry<MPGE_GETUNITSTATES>("MPGE_getUnitStates");
    e->getVersion = m_gogo->Entry<MPGE_GETVERSION>("MPGE_getVersion");
    // A library without the calls an encoding makes is not this encoder.
    if (!e->Complete()) {
        m_gogo.reset();
        return;
    }
    m_gogoEntry = std::move(e);
}

void CEncode::LoadLame(const QString& moduleDirectory) {
    m_lame = CModule::Load(moduleDirectory, kLameModule);
    if (m_lame == nullptr)
        return;
    auto e = std::make_unique<LAME_ENTRY_POINTS>();
    e->initStream = m_lame->Entry<BEINITSTREAM>("beInitStream");
    e->encodeChunk = m_lame->Entry<BEENCODECHUNK>("beEncodeChunk");
    e->deinitStream = m_lame->Entry<BEDEINITSTREAM>("beDeinitStream");
    e->closeStream = m_lame->Entry<BECLOSESTREAM>("beCloseStream");
    e->version = m_lame->Entry<BEVERSION>("beVersion");
    e->writeVBRHeader = m_lame->Entry<BEWRITEVBRHEADER>("beWriteVBRHeader");
    e->writeInfoTag = m_lame->Entry<BEWRITEINFOTAG>("beWriteInfoTag");
    if (!e->Complete()) {
        m_lame.reset();
        return;
    }
    m_lameEntry = std::move(e);
}

void CEncode::ReadChoice() {
    m_settings.beginGroup(QString::fromLatin1(kSection));
    m_encoderChoice = ReadInt(m_settings, "Encoder", kNone);
    m_bitRate = ReadInt(m_settings, "BitRate", kDefaultBitRate);
    m_settings.endGroup();
    if (m_bitRate < kLowestBitRate || m_bitRate > kHighestBitRate)
        m_bitRate = kDefaultBitRate;
    const bool loaded = (m_encoderChoice == kGogo && IsGogoLoaded()) ||
                        (m_encoderChoice == kLame && IsLameLoaded());
    if (!loaded)
        m_encoderChoice = IsGogoLoaded() ? kGogo : IsLameLoaded() ? kLame : kNone;
}

void CEncode::SaveChoice(int encoderChoice, int bitRate) {
    m_encoderChoice = encoderChoice;
    m_bitRate = bitRate;
    m_settings.beginGroup(QString::fromLatin1(kSection));
    m_settings.setValue(QStringLiteral("Encoder"), encoderChoice);
    m_settings.setValue(QStringLiteral("BitRate"), bitRate);
    m_settings.endGroup();
}

QString CEncode::OutputPath(const QString& wavPath) {
    const QFileInfo info(wavPath);
    const QString suffix = info.suffix();
    // A dot in a folder name is no extension.
    const QString stem =
        suffix.isEmpty() ? wavPath : wavPath.left(wavPath.size() - suffix.size() - 1);
    return stem + QStringLiteral(".mp3");
}

Result CEncode::Encode(const QString& wavPath, const Watcher& watcher) {
    if (!IsAvailable())
        return Result::Fail("no encoder module is loaded");
    const QString mp3 = OutputPath(wavPath);
    const int bitRate = m_bitRate;
    CEncodeProgress progress;
    std::packaged_task<Result()> task([&]() -> Result {
        if (m_encoderChoice == kGogo)
            return CGogoRoute(*m_gogoEntry).Run(wavPath, mp3, bitRate, progress);
        return CLameRoute(*m_lameEntry).Run(wavPath, mp3, bitRate, progress);
    });
    std::future<Result> done = task.get_future();
    std::thread worker(std::move(task));
    while (done.wait_for(kWatchStep) == std::future_status::timeout) {
        if (watcher && !watcher(progress.Fraction()))
            progress.Cancel();
    }
    worker.join();
    return done.get();
}
