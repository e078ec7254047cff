#include "audio/CWaveOut.h"

#include "audio/internal/CCaptureFile.h"
#include "audio/internal/CNoticePump.h"
#include "audio/internal/CPacedBackend.h"
#include "audio/internal/CPortAudioBackend.h"
#include "audio/internal/CSampleCodec.h"
#include "audio/internal/CStreamQueue.h"
#include "audio/internal/IWaveBackend.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

// Every public method belongs to the thread the device lives on.
#define TSQ_OWNER_THREAD_ONLY() Q_ASSERT(QThread::currentThread() == thread())

namespace {

const QEvent::Type kFinishedEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

std::unique_ptr<IWaveBackend> MakeBackend(const WAVE_FORMAT& format, CStreamQueue& queue,
                                          CNoticePump& pump, const std::atomic<uint32_t>& volume,
                                          QString& error) {
    const QString device = qEnvironmentVariable("TSQ_AUDIO_DEVICE");
    if (device.isEmpty()) {
        return CPortAudioBackend::Open(format, queue, pump, volume, error);
    }
    if (device == QLatin1String("null")) {
        return std::make_unique<CPacedBackend>(format, queue, pump, volume, nullptr);
    }
    if (device.startsWith(QLatin1String("capture:")) && device.size() > 8) {
        auto capture = CCaptureFile::Create(device.mid(8), format, error);
        if (!capture) {
            return nullptr;
        }
        return std::make_unique<CPacedBackend>(format, queue, pump, volume, std::move(capture));
    }
    error = QStringLiteral("TSQ_AUDIO_DEVICE: unknown device \"%1\"").arg(device);
    return nullptr;
}

} // namespace

CWaveOut::CWaveOut(QObject* parent) : QObject(parent) {
}

CWaveOut::~CWaveOut() {
    Close();
}

Result CWaveOut::Open(const WAVE_FORMAT& format) {
    TSQ_OWNER_THREAD_ONLY();
    Close();
    if (const QString problem = CSampleCodec::Check(format); !problem.isEmpty()) {
        return Result::Fail(problem.toStdString());
    }
    auto queue = std::make_unique<CStreamQueue>(format.blockAlign);
    auto pump = std::make_unique<CNoticePump>([this] { WakeOwner(); });
    QString error;
    auto backend = MakeBackend(format, *queue, *pump, m_volume, error);
    if (!backend) {
        return Result::Fail(error.toStdString());
    }
    m_format = format;
    m_queue = std::move(queue);
    m_pump = std::move(pump);
    m_backend = std::move(backend);
    return Result::Ok();
}

void CWaveOut::Close() {
    TSQ_OWNER_THREAD_ONLY();
    if (!m_backend) {
        return;
    }
    m_backend.reset();
    m_pump.reset(); // joins the watcher: nothing posts to this object any more
    QCoreApplication::removePostedEvents(this, kFinishedEvent);
    m_wakePosted.store(false);
    for (WAVE_HEADER* header : m_queued) {
        header->flags = (header->flags & ~WAVE_HEADER::kInQueue) | WAVE_HEADER::kDone;
    }
    m_queued.clear();
    m_finished.clear();
    m_queue.reset();
    m_collected = 0;
    m_started = false;
    m_format = WAVE_FORMAT{};
}

bool CWaveOut::Prepare(WAVE_HEADER& header) {
    TSQ_OWNER_THREAD_ONLY();
    if (header.flags & WAVE_HEADER::kInQueue) {
        return false;
    }
    header.flags |= WAVE_HEADER::kPrepared;
    return true;
}

bool CWaveOut::Unprepare(WAVE_HEADER& header) {
    TSQ_OWNER_THREAD_ONLY();
    if (header.flags & WAVE_HEADER::kInQueue) {
        return false;
    }
    header.flags &= ~WAVE_HEADER::kPrepared;
    return true;
}

bool CWaveOut::Write(WAVE_HEADER& header) {
    TSQ_OWNER_THREAD_ONLY();
    if (!m_backend || !(header.flags & WAVE_HEADER::kPrepared) ||
        (header.flags & WAVE_HEADER::kInQueue) || (header.length > 0 && !header.data)) {
        return false;
    }
    if (!m_started && !(m_started = m_backend->Start())) {
        return false;
    }
    if (!m_queue->Push(header.data, header.length)) {
        return false;
    }
    header.flags = (header.flags & ~WAVE_HEADER::kDone) | WAVE_HEADER::kInQueue;
    m_queued.push_back(&header);
    return true;
}

void CWaveOut::Reset() {
    TSQ_OWNER_THREAD_ONLY();
    if (!m_backend) {
        return;
    }
    m_backend->Stop();
    m_started = false;
    CollectFinished();
    for (WAVE_HEADER* header : m_queued) {
        header->flags = (header->flags & ~WAVE_HEADER::kInQueue) | WAVE_HEADER::kDone;
        m_finished.push_back(header);
    }
    m_queued.clear();
    m_queue->Clear();
    m_collected = 0;
    if (!m_finished.empty()) {
        WakeOwner();
    }
}

uint64_t CWaveOut::GetPosition() const {
    TSQ_OWNER_THREAD_ONLY();
    return m_queue ? m_queue->BytesPlayed() : 0;
}

void CWaveOut::SetVolume(uint32_t volume) {
    TSQ_OWNER_THREAD_ONLY();
    m_volume.store(volume, std::memory_order_relaxed);
}

void CWaveOut::WakeOwner() {
    if (!m_wakePosted.exchange(true)) {
        QCoreApplication::postEvent(this, new QEvent(kFinishedEvent));
    }
}

void CWaveOut::customEvent(QEvent* event) {
    if (event->type() != kFinishedEvent) {
        QObject::customEvent(event);
        return;
    }
    m_wakePosted.store(false);
    if (m_queue) {
        CollectFinished();
    }
    DeliverNotices();
}

void CWaveOut::CollectFinished() {
    const uint64_t completed = m_queue->Completed();
    while (m_collected < completed && !m_queued.empty()) {
        WAVE_HEADER* header = m_queued.front();
        m_queued.pop_front();
        ++m_collected;
        header->flags = (header->flags & ~WAVE_HEADER::kInQueue) | WAVE_HEADER::kDone;
        m_finished.push_back(header);
    }
}

void CWaveOut::DeliverNotices() {
    // One at a time: a slot may write, reset or close, which changes the list.
    while (!m_finished.empty()) {
        WAVE_HEADER* header = m_finished.front();
        m_finished.pop_front();
        emit bufferDone(header);
    }
}
