#pragma once
// Which frame of the data the device plays at a given point of its stream: the live player
// queues stretches of the data in any order (loop wraps, seeks), and the device only counts
// the frames it played since its last reset.
//
// Not thread-safe: the player thread only. Lookups must come with a stream position that
// never goes back until the next Clear, so stretches already played can be dropped and the
// map stays as long as the sound queued at the device.

#include <cstdint>
#include <deque>

class CStreamMap {
public:
    void Clear() { m_spans.clear(); }
    // The next `count` frames of the stream, from stream frame `streamFrame` on, play data
    // frames from `dataFrame` on. Stretches must come in stream order without gaps.
    void Append(uint64_t streamFrame, uint64_t dataFrame, uint64_t count);
    // The data frame heard at stream frame `played`; past the last stretch, the frame after
    // it. `fallback` when nothing was queued.
    uint64_t FrameAt(uint64_t played, uint64_t fallback);
    // Whether the stream from `played` on plays data frame `frame` directly followed by
    // frame + 1: a loop ending after `frame` has been passed by what is queued.
    bool Crosses(uint64_t played, uint64_t frame) const;

private:
    struct SPAN {
        uint64_t stream;
        uint64_t data;
        uint64_t count;
    };
    std::deque<SPAN> m_spans;
};
