#pragma once
// The consumer side of a wave-out device: something that pulls bytes out of the stream
// queue at the pace of the format. CWaveOut starts it on the first Write and stops it on
// Reset and Close. Both calls come from the owner thread only.

class IWaveBackend {
public:
    virtual ~IWaveBackend() = default;
    // Starts consuming; true when the consumer runs (also when it already ran).
    virtual bool Start() = 0;
    // Stops consuming. When it returns the consumer no longer touches the queue.
    virtual void Stop() = 0;
};
