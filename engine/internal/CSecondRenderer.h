#pragma once
// Renders one second of the song from a CSongPlan. The work is organised around runs of
// frames that share one tick: within a run the set of sounding notes and the master volume
// are fixed, so each sounding note renders the whole run in one loop. The per-frame sums
// are formed in the same order as frame-by-frame evaluation would (tracks in project order,
// notes in bucket-list order), so the result is the same.
//
// One instance per render call. Its working memory lives in a RENDER_SCRATCH that the
// caller keeps per thread, so repeated calls reuse it instead of allocating; calls on
// different threads share nothing but the read-only plan.

#include "engine/CSongRenderer.h"
#include "engine/internal/CVoice.h"

#include <cstdint>
#include <vector>

class CSongPlan;
struct TRACK_PLAN;

// The segments of one track that overlap a second, as voices listed per bucket.
struct TRACK_VOICES {
    int32_t firstBucket = 0;
    std::vector<int32_t> bucketFirst; // into `entries`, one more than the buckets
    std::vector<int32_t> entries;     // indexes into RENDER_SCRATCH::voices
};

struct VOICE_SLOT {
    int32_t position;
    int64_t end;
};

struct RENDER_SCRATCH {
    std::vector<double> times;  // t of each frame
    std::vector<int32_t> ticks; // tick of each frame
    std::vector<double> fades;  // fade-out gain of each frame
    std::vector<double> acc;    // one track's sum over a run
    std::vector<double> mixed;  // the chunk's frames, channels interleaved
    std::vector<CVoice> voices;
    std::vector<VOICE_SLOT> slots;
    std::vector<TRACK_VOICES> trackVoices;
};

class CSecondRenderer {
public:
    CSecondRenderer(const CSongPlan& plan, RENDER_SCRATCH& scratch);

    // Renders `frames` frames of song second `second` and hands them to `sink` chunk by
    // chunk. Channel counts other than 1 and 2 have no rendering: the sink gets nothing.
    void Render(int32_t second, int32_t frames, IRenderSink& sink);

private:
    // Frames are prepared and rendered in chunks, which bounds the working memory.
    static constexpr int32_t kChunkFrames = 4096;

    double FrameTime(int32_t second, int32_t frame) const;
    void PrepareFrames(int32_t second, int32_t chunk, int32_t count);
    void PrepareVoices(int32_t tickLo, int32_t tickHi);
    void RenderRun(int32_t first, int32_t count, int32_t tick, double* out);
    void Mix(const TRACK_PLAN& track, int32_t first, int32_t count, double* out) const;

    const CSongPlan& plan;
    std::vector<double>& times;
    std::vector<int32_t>& ticks;
    std::vector<double>& fades;
    std::vector<double>& acc;
    std::vector<double>& mixed;
    std::vector<CVoice>& voices;
    std::vector<VOICE_SLOT>& slots;
    std::vector<TRACK_VOICES>& trackVoices;
};
