#include "modules/vbmp3/CAudition.h"

#include "audio/Sonalo.h"
#include "modules/vbmp3/DecodeToWav.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <atomic>
#include <cstdlib>
#include <unistd.h>

namespace {

// A fresh name in the temporary directory, claimed by mkstemp and freed again for the
// writer, which creates it exclusively.
std::string TemporaryWavName() {
    const QByteArray pattern = QFile::encodeName(QDir(QDir::tempPath()).filePath("vbmp3XXXXXX"));
    std::string name(pattern.constData(), size_t(pattern.size()));
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return {};
    ::close(fd);
    ::unlink(name.c_str());
    return name;
}

} // namespace

CAudition::CAudition() = default;

CAudition::~CAudition() {
    Stop();
}

bool CAudition::Play(const std::string& sourcePath) {
    Stop();
    const QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread())
        return false;
    const std::string wav = TemporaryWavName();
    const std::atomic<bool> never{false};
    if (wav.empty() || !DecodeToWav(sourcePath, wav, never))
        return false;
    auto player = std::make_unique<Sonalo>();
    const bool opened = player->Open(QFile::decodeName(wav.c_str()), 0, 0);
    ::unlink(wav.c_str());
    if (!opened || !player->Play())
        return false;
    m_player = std::move(player);
    return true;
}

void CAudition::Stop() {
    if (m_player) {
        m_player->Stop();
        m_player.reset();
    }
}

bool CAudition::IsPlaying() const {
    return m_player && m_player->IsPlaying();
}

double CAudition::Position() const {
    return m_player ? m_player->GetPosition() : 0.0;
}
