#pragma once
// What a build reports while it runs: how far it has come, the sample that will not load
// (and the build waits for the answer), the output file it cannot write, and how it ended.
// Events only: the texts, the windows and the abort button belong to whoever listens — the
// editor's progress window, the command line's progress line, a test's recorder. Stopping a
// build is not an event but a flag the caller hands to CBuild and sets from anywhere.
//
// Every event comes from the thread that runs CBuild::Build, never from a render worker, so
// a listener on that thread needs no locking; one on another thread hands them over itself.

#include <cstdint>
#include <string>

enum class BuildPhase {
    LoadingSamples, // the samples of unmuted PCM tracks are read; cannot be stopped
    Rendering,      // the flagged seconds are rendered; the stop flag is honoured
};

struct BuildProgress {
    BuildPhase phase = BuildPhase::LoadingSamples;
    int32_t secondsDone = 0;  // flagged seconds written so far
    int32_t secondsTotal = 0; // flagged seconds of this build
    // Estimate of the wall-clock seconds still to wait, rounded up; -1 until a second is done.
    int64_t secondsLeft = -1;
};

enum class BuildStatus {
    Complete,  // every flagged second is rendered (or nothing needed rendering)
    Cancelled, // the stop flag was set; the file is valid, unrendered seconds stay flagged
    Failed,    // a sample was refused with Abort, or the file could not be written
};

struct BuildOutcome {
    BuildStatus status = BuildStatus::Complete;
    std::string message;         // why it did not complete, for logs and the command line
    int32_t secondsRendered = 0; // seconds written by this build
    explicit operator bool() const { return status == BuildStatus::Complete; }
};

class IBuildEvents {
public:
    enum class SampleAnswer { Abort, Retry, Ignore };

    virtual ~IBuildEvents() = default;

    // The first event of a build that has seconds to render, then one when rendering starts
    // (nothing done yet) and one whenever seconds were written, at most every 100 ms.
    virtual void Progress(const BuildProgress& progress) = 0;
    // A sample of an unmuted PCM track cannot be loaded (`samplePath` is its full path). The
    // build waits for the answer: Abort ends it, Retry tries the same track again, Ignore
    // leaves the track's notes silent.
    virtual SampleAnswer SampleFailed(const std::string& samplePath) = 0;
    // The output WAV file at `path` cannot be opened or written; the build then fails. The
    // build waits until this returns, so a listener may show it before the build ends.
    virtual void OutputFailed(const std::string& path) = 0;
    // The last event of every build, also of one that had nothing to do.
    virtual void Done(const BuildOutcome& outcome) = 0;
    // Bytes [firstByte, endByte) of the output file now hold the song's second `second`;
    // sent soon after each second is written (before the next progress), so a player of the
    // file can read them again while the build goes on.
    virtual void SecondWritten(int32_t second, uint64_t firstByte, uint64_t endByte) {
        (void)second;
        (void)firstByte;
        (void)endByte;
    }
};
