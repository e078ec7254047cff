#pragma once
// Plays one PCM WAV file while a build rewrites it, so that an edit is heard while the song
// plays: the sample data is held in memory and streamed through a ring of short buffers by
// a thread of the player's own, and a changed byte range of the file is read again and used
// from the next buffer on. Beside the file's own loop it loops a range given in seconds,
// and it mixes metronome clicks into what it plays (never into the file or its copy).
//
// Latency: the device holds bufferCount × bufferMs of sound (80 ms by default). Bytes that
// lie further ahead of the play position than that are heard as they are when Invalidate
// returns; a buffer already at the device plays as it is. Buffers are filled at the moment
// they are handed to the device, so no filled buffer ever waits with old data.
//
// Threads:
//   owner thread   the thread that constructs the player (the UI thread); every method
//                  that changes playback is called there only.
//   any thread     Invalidate and Reload (the build worker calls them after writing), and
//                  every query (IsPlaying, GetPosition, …), which reads published values.
//   player thread  owned by the player, runs a Qt event loop with the wave-out device; it
//                  refills the buffers from the device's notices, so a stalled owner thread
//                  never starves the device. It never waits for any other thread.
// Every call that changes playback returns once the player thread has applied it, so a
// query made afterwards sees its effect. The device's consumer (callback or paced thread)
// only ever sees the buffers' bytes.
//
// Positions are in seconds or frames of the kept data: frame 0 is the first frame after
// the head cut (with the build's lead-in cut off, song time × sample rate).

#include "model/Result.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class CLiveEngine;
class QIODevice;
class QThread;
struct LIVE_STATUS;

struct LIVE_PLAYER_OPTIONS {
    int bufferCount = 4; // buffers in the ring, 2..16
    int bufferMs = 20;   // sound per buffer, 1..250 ms
    int fadeMs = 5;      // crossfade across a seek or a late loop wrap, 0..50 ms (0 = a cut)
    int clickMs = 5;     // length of one metronome click, 1..50 ms
};

// One metronome click: it starts at this frame of the kept data.
struct LIVE_CLICK {
    uint64_t frame = 0;
    bool accent = false; // the first beat of a measure: higher and louder
};

class CLivePlayer {
public:
    explicit CLivePlayer(const LIVE_PLAYER_OPTIONS& options = {});
    ~CLivePlayer();
    CLivePlayer(const CLivePlayer&) = delete;
    CLivePlayer& operator=(const CLivePlayer&) = delete;

    // ---- Owner thread ----
    // Loads a file, cutting head and tail seconds off the sample data like Sonalo, and opens
    // the device; leaves the player stopped at position 0. A file already open is closed
    // first. Fails with a reason (and closed) when the file is unreadable or malformed,
    // nothing is left after the cuts, or the device refuses the format.
    Result Open(const QString& path, double head, double tail);
    // Stops and releases the file and the device, and forgets the loop range. The loop
    // switch, the clicks and both volumes carry over to the next file.
    void Close();
    // Starts at the current position; from the end of the data it starts over at 0. True
    // also when already playing; false with no file open.
    bool Play();
    // Stops at once and forgets the position.
    void Stop();
    // Stops at once and keeps the position (a seek not yet heard counts as done).
    bool Pause();
    // Moves the position; beyond the end it lands on the last frame. While playing, the
    // sound already at the device plays out and the new position follows with a crossfade
    // of fadeMs; from the call on, GetPosition reports the new position. False for a
    // negative time or with no file open.
    bool Seek(double seconds);
    // The song's own endless loop: the "smpl" loop of the file, or the whole data when the
    // file has none. A loop range, while set, takes its place.
    void SetLoop(bool loop);
    // Loops [start, end) at once, also while playing: from the frame before end playback
    // goes on at start. When the position already lies at or beyond end the range waits
    // for the next pass (the data plays on to its end); when end lies inside the sound
    // already at the device, the wrap comes right after that sound. The range is clamped
    // to the data; false when nothing is left of it, a bound is negative, or no file is
    // open.
    bool SetLoopRange(double startSeconds, double endSeconds);
    void ClearLoopRange();
    // Output level 0.0 to 1.0 (clamped), applied as the device volume.
    void SetVolume(double volume);
    // Replaces the metronome clicks as one list (in any order); an empty list turns them
    // off. A click in a looped stretch sounds on every pass.
    void SetClicks(std::vector<LIVE_CLICK> clicks);
    // Level of the clicks 0.0 to 1.0 (clamped): an accent peaks at 70 % of full scale at
    // 1.0, another click at 35 %. Mixed before the device volume.
    void SetClickVolume(double volume);

    // ---- Any thread but the player's, one at a time besides the owner, and none once the
    // owner has begun to destroy the player ----
    // Bytes [firstByte, endByte) of the file (offsets in the file, as the build writes
    // them) were rewritten in place: reads them again on the calling thread and hands them
    // to the player. The part outside the kept data is ignored. Fails with a reason when no
    // file is open or the range cannot be read (the copy then keeps its old bytes).
    Result Invalidate(qint64 firstByte, qint64 endByte);
    // The file changed its length or layout, or was written anew: reads it again (with the
    // same cuts) and goes on with the new data, keeping the position (clamped to the new
    // end). Fails with a reason, and plays on with the old data, when the file cannot be
    // read or its sample format changed.
    Result Reload();

    // ---- Any thread: published values ----
    bool IsOpen() const;
    // True from Play until Stop, Pause, Close or the end of the data.
    bool IsPlaying() const;
    // The position heard (exact when not playing; while playing, read from the device on
    // the player thread every few milliseconds and at every buffer).
    double GetPosition() const;
    uint64_t GetPositionFrame() const;
    double GetLength() const;
    uint64_t GetFrameCount() const;
    uint32_t GetSampleRate() const;
    // The file's own loop, as Sonalo reports it.
    bool HasLoop() const;
    double GetLoopStart() const;
    double GetLoopEnd() const;
    bool GetLoop() const;
    double GetVolume() const;
    // How often the device ran dry while playing since Open (0 unless the player thread
    // was held up for longer than the buffered sound).
    uint32_t Underruns() const;

private:
    struct LAYOUT {
        bool open = false;
        QString path;
        double head = 0.0;
        double tail = 0.0;
        qint64 offset = 0;  // where the kept data starts in the file
        qint64 length = 0;  // bytes of kept data
        uint32_t frame = 1; // bytes per frame
    };

    Result ReadPiece(QIODevice& file, qint64 keptByte, qint64 count);

    std::unique_ptr<LIVE_STATUS> m_status;
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<CLiveEngine> m_engine;
    QThread* m_owner;
    // Guards m_layout and serialises the calls that read the file (Open, Close, Invalidate,
    // Reload), so a re-read piece always belongs to the data it lands in. Never taken by
    // the player thread.
    std::mutex m_fileLock;
    LAYOUT m_layout;
};
