#include "ui/CBuildJob.h"

#include "engine/CBuild.h"
#include "model/CProject.h"
#include "model/ISampleLoader.h"

#include <QMetaObject>

#include <exception>
#include <system_error>

CBuildJob::CBuildJob(const CProject& song, REQUEST request, QObject* parent)
    : QObject(parent), m_song(std::make_unique<CProject>(song)), m_request(std::move(request)) {
}

CBuildJob::~CBuildJob() {
    Stop();
}

bool CBuildJob::Start() {
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
        m_outcome = {BuildStatus::Failed, std::string("cannot start the build: ") + e.what(), 0};
        return false;
    }
    return true;
}

void CBuildJob::Cancel() {
    m_stop = true;
}

void CBuildJob::Stop() {
    m_stop = true;
    {
        std::lock_guard guard(m_questionLock);
        m_stopping = true;
        m_answer = SampleAnswer::Abort;
    }
    m_answered.notify_all();
    Join();
    m_stopped = true;
}

void CBuildJob::AnswerSample(SampleAnswer answer) {
    Reply(answer);
}

void CBuildJob::AcknowledgeOutputError() {
    Reply(SampleAnswer::Ignore);
}

void CBuildJob::Run() {
    try {
        const std::unique_ptr<ISampleLoader> loader = m_request.loader();
        CBuild build(*this, *loader, m_request.threads, m_stop);
        build.SetOrigin(m_request.origin);
        build.Build(m_request.wavPath, *m_song, m_request.flags, m_request.rebuild);
    } catch (const std::exception& e) {
        // Whatever was rendered before stays rendered; the flags say what is left.
        Done({BuildStatus::Failed, std::string("the build stopped: ") + e.what(), 0});
    }
}

// Queued to this object's thread: the events arrive in the order they were sent, and none
// arrives once the object is gone.
void CBuildJob::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

CBuildJob::SampleAnswer CBuildJob::Ask(std::function<void()> show) {
    std::unique_lock guard(m_questionLock);
    if (m_stopping)
        return SampleAnswer::Abort;
    m_answer.reset();
    Post(std::move(show));
    m_answered.wait(guard, [this] { return m_answer.has_value(); });
    return *m_answer;
}

void CBuildJob::Reply(SampleAnswer answer) {
    {
        std::lock_guard guard(m_questionLock);
        m_answer = answer;
    }
    m_answered.notify_all();
}

void CBuildJob::Join() {
    if (m_thread.joinable())
        m_thread.join();
}

void CBuildJob::Progress(const BuildProgress& progress) {
    Post([this, progress] { emit this->progress(progress); });
}

CBuildJob::SampleAnswer CBuildJob::SampleFailed(const std::string& samplePath) {
    return Ask([this, path = QString::fromStdString(samplePath)] { emit sampleFailed(path); });
}

void CBuildJob::OutputFailed(const std::string& path) {
    Ask([this, file = QString::fromStdString(path)] { emit outputFailed(file); });
}

void CBuildJob::Done(const BuildOutcome& outcome) {
    if (m_ended)
        return;
    m_ended = true;
    m_outcome = outcome;
    if (m_request.ended)
        m_request.ended(outcome);
    Post([this] {
        // The thread has nothing left to do but return from the build.
        Join();
        if (!m_stopped)
            emit finished(m_outcome);
    });
}

void CBuildJob::SecondWritten(int32_t, uint64_t firstByte, uint64_t endByte) {
    if (m_request.written)
        m_request.written(int64_t(firstByte), int64_t(endByte));
}
