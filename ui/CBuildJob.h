#pragma once
// One build on a thread of its own. The job copies the song when it is made, on the
// user-interface thread, so edits made while it runs reach neither the build nor its
// workers; it owns the flags it renders until it ends. CBuild runs on the job's thread and
// its events come back to the user-interface thread as signals, in the order the build sent
// them. The two events a build waits on — a sample that will not load, an output file it
// cannot write — hold the job's thread until the user-interface thread answers.
//
// Thread: made, started, answered, stopped and destroyed on the user-interface thread (its
// QObject's thread); the IBuildEvents calls run on the job's own thread.

#include "engine/IBuildEvents.h"
#include "model/CProjectModified.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class CProject;
class ISampleLoader;

class CBuildJob : public QObject, private IBuildEvents {
    Q_OBJECT
public:
    using SampleAnswer = IBuildEvents::SampleAnswer;
    // Makes the sample loader; called on the job's thread, which the loader's calls belong to.
    using LoaderFactory = std::function<std::unique_ptr<ISampleLoader>()>;

    // Bytes [firstByte, endByte) of the WAV file were written; called on the job's thread.
    using WrittenHandler = std::function<void(int64_t firstByte, int64_t endByte)>;
    // The build has ended; called on the job's thread before finished() is queued.
    using EndHandler = std::function<void(const BuildOutcome& outcome)>;

    struct REQUEST {
        std::string wavPath;
        CProjectModified flags; // the seconds to render; the build clears what it renders
        bool rebuild = false;
        int64_t threads = 1;
        LoaderFactory loader;
        // Live playback: the second the build renders first (see CBuild::SetOrigin) and
        // who reads the written bytes and the finished file again. Unset for a build
        // nobody plays while it runs.
        const std::atomic<int32_t>* origin = nullptr;
        WrittenHandler written{};
        EndHandler ended{};
    };

    // Copies `song`: the snapshot the build renders.
    CBuildJob(const CProject& song, REQUEST request, QObject* parent = nullptr);
    ~CBuildJob() override;
    CBuildJob(const CBuildJob&) = delete;
    CBuildJob& operator=(const CBuildJob&) = delete;

    // Starts the thread; false when none could be made (Outcome() then says so).
    bool Start();
    // The abort button: the build stops after the seconds being rendered.
    void Cancel();
    // Cancels, answers any question with Abort and waits for the thread. finished() is not
    // emitted afterwards; Outcome() and Flags() hold the result.
    void Stop();
    // The answer to sampleFailed(); the build goes on with it.
    void AnswerSample(SampleAnswer answer);
    // outputFailed() has been shown; the build goes on to its end.
    void AcknowledgeOutputError();

    // Only while the thread is not running: before Start, after finished() or Stop().
    const BuildOutcome& Outcome() const { return m_outcome; }
    CProjectModified& Flags() { return m_request.flags; }
    const CProject& Song() const { return *m_song; }

signals:
    void progress(const BuildProgress& progress);
    void sampleFailed(const QString& samplePath);
    void outputFailed(const QString& path);
    // The build has ended and its thread is gone.
    void finished(const BuildOutcome& outcome);

private:
    void Run();
    void Post(std::function<void()> call);
    SampleAnswer Ask(std::function<void()> show);
    void Reply(SampleAnswer answer);
    void Join();

    void Progress(const BuildProgress& progress) override;
    SampleAnswer SampleFailed(const std::string& samplePath) override;
    void OutputFailed(const std::string& path) override;
    void Done(const BuildOutcome& outcome) override;
    void SecondWritten(int32_t second, uint64_t firstByte, uint64_t endByte) override;

    std::unique_ptr<CProject> m_song;
    REQUEST m_request;
    BuildOutcome m_outcome;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    bool m_ended = false;   // Done was sent (the job's thread)
    bool m_stopped = false; // Stop ran (the user-interface thread)

    std::mutex m_questionLock; // guards m_answer and m_stopping
    std::condition_variable m_answered;
    std::optional<SampleAnswer> m_answer;
    bool m_stopping = false;
};
