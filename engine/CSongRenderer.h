#pragma once
// Renders song time into sample values (1.0 = full scale, before output conversion).
// Built once per build from a project whose PCM samples are already loaded; afterwards
// read-only, so any number of threads may render different seconds at once.

#include <cstdint>
#include <memory>

class CProject;

// Receives a second as it is rendered, piece by piece in order: `count` frames from frame
// `first` of the second, channels interleaved. The values are valid during the call only.
class IRenderSink {
public:
    virtual void Consume(int32_t first, int32_t count, const double* values) = 0;

protected:
    ~IRenderSink() = default;
};

class CSongRenderer {
public:
    // The project must stay unchanged and outlive the renderer.
    explicit CSongRenderer(const CProject& project);
    ~CSongRenderer();
    CSongRenderer(const CSongRenderer&) = delete;
    CSongRenderer& operator=(const CSongRenderer&) = delete;

    int Channels() const;
    int Rate() const;
    // Song length in seconds (GetLength of the project when the renderer was made).
    double LengthSeconds() const;

    // Renders `frames` frames of song second `second` (frame j at t = second + j / rate)
    // into `out`, channels interleaved, left first: every unmuted track's sounding notes
    // summed and spread over the channels by the track's pan. Each call starts with fresh
    // oscillator state, so the result does not depend on what was rendered before.
    void RenderSecond(int32_t second, int32_t frames, double* out) const;
    // The same values, handed to `sink` in pieces of a few thousand frames, so that a
    // caller converting them needs no buffer for the whole second. Channel counts other
    // than 1 and 2 hand nothing to the sink.
    void RenderSecond(int32_t second, int32_t frames, IRenderSink& sink) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};
