#pragma once
// Plays one PCM WAV file: the whole sample data in memory, streamed to a wave-out device
// through two buffers of two seconds that are refilled as they come back, with an optional
// head and tail cut and the loop of the file's "smpl" chunk.
//
// Looping on with a loop in the file: the sound runs to the loop's end and then repeats
// from the loop's start. Looping on without a loop: the whole data repeats. Looping off, or
// once the position lies beyond the loop's end: the data plays to its end once.
//
// Thread: the thread that calls Open (it must run a Qt event loop, where the buffer
// notices arrive). The end of playback is not announced: owners poll IsPlaying.

#include "audio/SonaloWave.h"
#include "audio/WaveHeader.h"
#include "model/WaveFormat.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CWaveOut;

class Sonalo {
public:
    Sonalo();
    virtual ~Sonalo();
    Sonalo(const Sonalo&) = delete;
    Sonalo& operator=(const Sonalo&) = delete;

    // Loads a file, cutting head and tail seconds off the sample data, and opens the
    // device; leaves the player stopped at position 0. False (and closed) when the file is
    // unreadable or malformed, nothing is left after the cuts, or the device refuses.
    bool Open(const QString& path, double head, double tail);
    // Stops and releases the file and the device. The loop switch and the volume carry over.
    void Close();
    // Starts streaming at the current position. True also when already playing.
    bool Play();
    // Stops and forgets the position.
    void Stop();
    // Stops and keeps the position.
    bool Pause();
    // Moves the position (seconds); keeps playing if it was. Beyond the end it lands on
    // the last frame. False for a negative time or with no file open.
    bool Seek(double seconds);
    // Switches looping; takes effect at once while playing.
    void SetLoop(bool loop);
    // Output level 0.0 to 1.0 (clamped), applied as the device volume.
    void SetVolume(double volume);

    double GetPosition() const;
    double GetLength() const;
    bool IsOpen() const { return m_device != nullptr; }
    bool IsPlaying() const { return m_playing; }
    bool HasLoop() const { return m_sampler.loopCount != 0; }
    bool GetLoop() const { return m_loopEnabled; }
    double GetLoopStart() const;
    double GetLoopEnd() const;
    double GetVolume() const { return m_volume; }
    // The device's volume word (0 when no file is open).
    uint32_t GetDeviceVolume() const;

private:
    uint32_t FrameSize() const { return m_format.blockAlign; }
    uint64_t LoopStartByte() const;
    uint64_t LoopEndByte() const;
    bool LoopActive() const;
    uint64_t ActiveEnd() const;
    uint64_t PositionBytes() const;
    void SeekBytes(uint64_t offset);
    uint32_t FillBuffer(int index);
    void OnBufferDone(WAVE_HEADER* header);

    std::unique_ptr<CWaveOut> m_device;
    WAVE_FORMAT m_format;
    SAMPLER m_sampler;
    std::vector<uint8_t> m_data;
    uint64_t m_startOffset = 0; // where the device's byte count started, into m_data
    uint64_t m_readCursor = 0;  // next byte to queue
    std::array<std::vector<uint8_t>, 2> m_buffers;
    std::array<WAVE_HEADER, 2> m_headers;
    bool m_playing = false;
    bool m_loopEnabled = false;
    bool m_beyondLoop = false; // the position lies at or after the loop's end
    double m_volume = 1.0;
};
