#include "audio/CLivePlayer.h"

#include "audio/internal/CLiveEngine.h"
#include "audio/internal/CSonaloWaveReader.h"
#include "audio/internal/LiveStatus.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <type_traits>

#define TSQ_OWNER_THREAD_ONLY() Q_ASSERT(QThread::currentThread() == m_owner)

namespace {

// Bytes re-read and handed over at a time: the player thread copies one piece between two
// buffers, however large the range.
constexpr qint64 kPieceBytes = 256 * 1024;

// Runs f on the player thread and returns its result once it ran there.
template <typename F> auto OnPlayerThread(CLiveEngine* engine, F f) {
    using R = std::invoke_result_t<F>;
    if constexpr (std::is_void_v<R>) {
        QMetaObject::invokeMethod(engine, f, Qt::BlockingQueuedConnection);
    } else {
        R result{};
        QMetaObject::invokeMethod(engine, f, Qt::BlockingQueuedConnection, &result);
        return result;
    }
}

Result ReadWave(const QString& path, double head, double tail, SONALO_WAVE& wave) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Result::Fail("cannot open " + path.toStdString() + ": " +
                            file.errorString().toStdString());
    }
    return CSonaloWaveReader::Read(file, head, tail, wave);
}

} // namespace

CLivePlayer::CLivePlayer(const LIVE_PLAYER_OPTIONS& options)
    : m_status(std::make_unique<LIVE_STATUS>()), m_thread(std::make_unique<QThread>()),
      m_engine(std::make_unique<CLiveEngine>(options, *m_status)),
      m_owner(QThread::currentThread()) {
    m_thread->setObjectName(QStringLiteral("tsq live player"));
    m_engine->moveToThread(m_thread.get());
    m_thread->start(QThread::TimeCriticalPriority);
}

CLivePlayer::~CLivePlayer() {
    TSQ_OWNER_THREAD_ONLY();
    Close();
    OnPlayerThread(m_engine.get(), [this, home = m_owner] { m_engine->Shutdown(home); });
    m_thread->quit();
    m_thread->wait();
}

Result CLivePlayer::Open(const QString& path, double head, double tail) {
    TSQ_OWNER_THREAD_ONLY();
    std::lock_guard lock(m_fileLock);
    m_layout = LAYOUT{};
    OnPlayerThread(m_engine.get(), [this] { m_engine->Close(); });
    SONALO_WAVE wave;
    if (Result read = ReadWave(path, head, tail, wave); !read) {
        return read;
    }
    const LAYOUT layout{
        true, path, head, tail, wave.dataOffset, qint64(wave.data.size()), wave.format.blockAlign};
    Result opened = OnPlayerThread(m_engine.get(), [&] { return m_engine->Open(wave); });
    if (opened) {
        m_layout = layout;
    }
    return opened;
}

void CLivePlayer::Close() {
    TSQ_OWNER_THREAD_ONLY();
    std::lock_guard lock(m_fileLock);
    m_layout = LAYOUT{};
    OnPlayerThread(m_engine.get(), [this] { m_engine->Close(); });
}

bool CLivePlayer::Play() {
    TSQ_OWNER_THREAD_ONLY();
    return OnPlayerThread(m_engine.get(), [this] { return m_engine->Play(); });
}

void CLivePlayer::Stop() {
    TSQ_OWNER_THREAD_ONLY();
    OnPlayerThread(m_engine.get(), [this] { m_engine->Stop(); });
}

bool CLivePlayer::Pause() {
    TSQ_OWNER_THREAD_ONLY();
    return OnPlayerThread(m_engine.get(), [this] { return m_engine->Pause(); });
}

bool CLivePlayer::Seek(double seconds) {
    TSQ_OWNER_THREAD_ONLY();
    if (!(seconds >= 0.0)) {
        return false;
    }
    return OnPlayerThread(m_engine.get(), [this, seconds] { return m_engine->Seek(seconds); });
}

void CLivePlayer::SetLoop(bool loop) {
    TSQ_OWNER_THREAD_ONLY();
    OnPlayerThread(m_engine.get(), [this, loop] { m_engine->SetLoop(loop); });
}

bool CLivePlayer::SetLoopRange(double startSeconds, double endSeconds) {
    TSQ_OWNER_THREAD_ONLY();
    if (!(startSeconds >= 0.0) || !(endSeconds >= 0.0)) {
        return false;
    }
    return OnPlayerThread(m_engine.get(), [this, startSeconds, endSeconds] {
        return m_engine->SetLoopRange(startSeconds, endSeconds);
    });
}

void CLivePlayer::ClearLoopRange() {
    TSQ_OWNER_THREAD_ONLY();
    OnPlayerThread(m_engine.get(), [this] { m_engine->ClearLoopRange(); });
}

void CLivePlayer::SetVolume(double volume) {
    TSQ_OWNER_THREAD_ONLY();
    OnPlayerThread(m_engine.get(), [this, volume] { m_engine->SetVolume(volume); });
}

void CLivePlayer::SetClicks(std::vector<LIVE_CLICK> clicks) {
    TSQ_OWNER_THREAD_ONLY();
    // Sorted here, so the player thread only looks clicks up.
    std::stable_sort(clicks.begin(), clicks.end(),
                     [](const LIVE_CLICK& a, const LIVE_CLICK& b) { return a.frame < b.frame; });
    OnPlayerThread(m_engine.get(), [&] { m_engine->SetClicks(std::move(clicks)); });
}

void CLivePlayer::SetClickVolume(double volume) {
    TSQ_OWNER_THREAD_ONLY();
    OnPlayerThread(m_engine.get(), [this, volume] { m_engine->SetClickVolume(volume); });
}

Result CLivePlayer::Invalidate(qint64 firstByte, qint64 endByte) {
    Q_ASSERT(QThread::currentThread() != m_thread.get());
    std::lock_guard lock(m_fileLock);
    if (!m_layout.open) {
        return Result::Fail("no file is open");
    }
    // Into the kept data, widened to whole frames.
    const qint64 frame = m_layout.frame;
    const qint64 first = std::clamp(firstByte, m_layout.offset, m_layout.offset + m_layout.length);
    const qint64 end = std::clamp(endByte, m_layout.offset, m_layout.offset + m_layout.length);
    const qint64 keptFirst = (first - m_layout.offset) / frame * frame;
    const qint64 keptEnd =
        std::min((end - m_layout.offset + frame - 1) / frame * frame, m_layout.length);
    if (keptFirst >= keptEnd) {
        return Result::Ok();
    }
    QFile file(m_layout.path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Result::Fail("cannot open " + m_layout.path.toStdString() + ": " +
                            file.errorString().toStdString());
    }
    const qint64 piece = std::max(kPieceBytes / frame, qint64(1)) * frame;
    for (qint64 at = keptFirst; at < keptEnd; at += piece) {
        if (Result read = ReadPiece(file, at, std::min(piece, keptEnd - at)); !read) {
            return read;
        }
    }
    return Result::Ok();
}

Result CLivePlayer::ReadPiece(QIODevice& file, qint64 keptByte, qint64 count) {
    std::vector<uint8_t> bytes(size_t(count), 0);
    if (!file.seek(m_layout.offset + keptByte) ||
        file.read(reinterpret_cast<char*>(bytes.data()), count) != count) {
        return Result::Fail("cannot read the changed bytes of " + m_layout.path.toStdString());
    }
    OnPlayerThread(m_engine.get(), [&] { m_engine->Patch(uint64_t(keptByte), bytes); });
    return Result::Ok();
}

Result CLivePlayer::Reload() {
    Q_ASSERT(QThread::currentThread() != m_thread.get());
    std::lock_guard lock(m_fileLock);
    if (!m_layout.open) {
        return Result::Fail("no file is open");
    }
    SONALO_WAVE wave;
    if (Result read = ReadWave(m_layout.path, m_layout.head, m_layout.tail, wave); !read) {
        return read;
    }
    const qint64 offset = wave.dataOffset;
    const qint64 length = qint64(wave.data.size());
    Result replaced = OnPlayerThread(m_engine.get(), [&] { return m_engine->Replace(wave); });
    if (replaced) {
        m_layout.offset = offset;
        m_layout.length = length;
    }
    return replaced;
}

bool CLivePlayer::IsOpen() const {
    return m_status->open.load();
}

bool CLivePlayer::IsPlaying() const {
    return m_status->playing.load();
}

double CLivePlayer::GetPosition() const {
    const uint32_t rate = m_status->rate.load();
    return rate ? double(m_status->position.load()) / rate : 0.0;
}

uint64_t CLivePlayer::GetPositionFrame() const {
    return m_status->position.load();
}

double CLivePlayer::GetLength() const {
    const uint32_t rate = m_status->rate.load();
    return rate ? double(m_status->frames.load()) / rate : 0.0;
}

uint64_t CLivePlayer::GetFrameCount() const {
    return m_status->frames.load();
}

uint32_t CLivePlayer::GetSampleRate() const {
    return m_status->rate.load();
}

bool CLivePlayer::HasLoop() const {
    return m_status->fileLoop.load();
}

double CLivePlayer::GetLoopStart() const {
    const uint32_t rate = m_status->rate.load();
    return rate ? double(m_status->fileLoopStart.load()) / rate : 0.0;
}

double CLivePlayer::GetLoopEnd() const {
    const uint32_t rate = m_status->rate.load();
    return rate ? double(m_status->fileLoopEnd.load()) / rate : 0.0;
}

bool CLivePlayer::GetLoop() const {
    return m_status->loop.load();
}

double CLivePlayer::GetVolume() const {
    return m_status->volume.load();
}

uint32_t CLivePlayer::Underruns() const {
    return m_status->underruns.load();
}
