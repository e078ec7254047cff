#pragma once
// The live player's thread: it owns the wave-out device, the in-memory copy of the kept
// data and the ring of buffers, and fills each buffer at the moment it goes to the device
// (loop wraps, a pending jump with its crossfade, metronome clicks). CLivePlayer calls it
// through blocking queued calls; the device's notices arrive here as well.
//
// Thread: the player thread only, for every method (asserted). The object is created on the
// owner thread, moved to the player thread, and moved back by Shutdown before it is
// destroyed.

#include "audio/CLivePlayer.h"
#include "audio/SonaloWave.h"
#include "audio/WaveHeader.h"
#include "audio/internal/CPcmMixer.h"
#include "audio/internal/CStreamMap.h"
#include "model/Result.h"
#include "model/WaveFormat.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CWaveOut;
struct LIVE_STATUS;

class CLiveEngine : public QObject {
    Q_OBJECT
public:
    CLiveEngine(const LIVE_PLAYER_OPTIONS& options, LIVE_STATUS& status);
    ~CLiveEngine() override;

    Result Open(SONALO_WAVE& wave);
    void Close();
    bool Play();
    void Stop();
    bool Pause();
    bool Seek(double seconds);
    void SetLoop(bool loop);
    bool SetLoopRange(double startSeconds, double endSeconds);
    void ClearLoopRange();
    void SetVolume(double volume);
    void SetClicks(std::vector<LIVE_CLICK> clicks);
    void SetClickVolume(double volume);
    // New bytes for the kept data from keptByte on (whole frames inside the data).
    void Patch(uint64_t keptByte, const std::vector<uint8_t>& bytes);
    // Goes on with the data of a file read again; fails when its format differs.
    Result Replace(SONALO_WAVE& wave);
    // Closes and hands the object back to `home` for its destruction.
    void Shutdown(QThread* home);

private:
    struct LOOP {
        uint64_t start; // first frame of the loop
        uint64_t end;   // one past its last frame
    };
    struct BUFFER {
        std::vector<uint8_t> bytes;
        WAVE_HEADER header;
    };

    uint32_t FrameSize() const { return m_format.blockAlign; }
    uint64_t FramesOf(double seconds) const;
    static std::optional<LOOP> FileLoop(const SAMPLER& sampler);
    std::optional<LOOP> ActiveLoop() const;
    void LoopChanged();
    void MakeRing();
    void MakeTones();
    void TopUp();
    uint64_t Fill(BUFFER& buffer);
    uint64_t NextSpan(uint64_t want);
    void MixClicks(uint8_t* dst, uint64_t first, uint64_t count) const;
    void Crossfade(uint8_t* dst, uint64_t count, uint64_t from) const;
    bool AnyQueued() const;
    void OnBufferDone(WAVE_HEADER* header);
    void Halt(uint64_t position);
    uint64_t PositionNow();
    void PublishPosition();
    void PublishFile();

    const LIVE_PLAYER_OPTIONS m_options;
    LIVE_STATUS& m_status;
    std::unique_ptr<CWaveOut> m_device;
    WAVE_FORMAT m_format;
    std::vector<uint8_t> m_data;
    uint64_t m_frames = 0;
    std::optional<LOOP> m_fileLoop;
    std::optional<LOOP> m_range;
    bool m_loop = false;
    double m_volume = 1.0;

    std::vector<BUFFER> m_ring;
    CStreamMap m_map;
    CPcmMixer m_mixer;
    bool m_playing = false;
    uint64_t m_stopped = 0;         // the position while not playing
    uint64_t m_cursor = 0;          // next data frame to queue
    uint64_t m_written = 0;         // stream frames queued since the device's last reset
    std::optional<uint64_t> m_jump; // where the next buffer starts instead of m_cursor
    // From a jump on, the position reports its target until the device gets there.
    uint64_t m_heldUntil = 0; // stream frame where the jump's sound starts
    uint64_t m_heldFrame = 0;

    std::vector<LIVE_CLICK> m_clicks; // sorted by frame
    double m_clickVolume = 1.0;
    std::vector<double> m_tone;       // one click, full level
    std::vector<double> m_accentTone; // one accented click, full level

    QTimer m_publisher; // refreshes the published position while playing
};
