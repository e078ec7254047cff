#pragma once
// A wave-out device: plays caller-owned buffers of PCM in the order they are written and
// hands every buffer back with a bufferDone notice.
//
// Threading: a CWaveOut belongs to the thread that created it (its QObject thread), which
// must run a Qt event loop; every method is called on that thread only. Notices arrive there
// as queued events, never from inside Write, Reset or any other call, so a bufferDone slot
// may Write the buffer again, Reset or Close the device (but not delete it: use
// deleteLater). The device's consumer (PortAudio callback or paced thread) never sees the
// headers, only the bytes.
//
// The backend comes from the environment variable TSQ_AUDIO_DEVICE at Open:
//   unset or empty  the default output device through PortAudio;
//   "null"          no sound, buffers consumed at the real-time pace of the format;
//   "capture:PATH"  like "null", and writes what it played (after the volume) to the WAV
//                   file PATH; a stream opened while earlier ones still record writes
//                   PATH-2, PATH-3 … instead (the number before the extension), see
//                   CCaptureFile and CCaptureNames.

#include "audio/WaveHeader.h"
#include "model/Result.h"
#include "model/WaveFormat.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>

class CNoticePump;
class CStreamQueue;
class IWaveBackend;

class CWaveOut : public QObject {
    Q_OBJECT
public:
    explicit CWaveOut(QObject* parent = nullptr);
    ~CWaveOut() override;

    // Opens the device for a PCM format: integer of 8, 16, 24 or 32 bits or float of 32 or
    // 64 bits, 1 or 2 channels, 1000 to 384000 Hz. Fails with a reason when there is no
    // device or the format is refused. An open device is closed first.
    Result Open(const WAVE_FORMAT& format);
    // Stops at once and releases the device. Buffers still queued are marked done but get
    // no notice, and notices not yet delivered are dropped: after Close the owner may free
    // its buffers.
    void Close();
    bool IsOpen() const { return m_backend != nullptr; }
    const WAVE_FORMAT& Format() const { return m_format; }

    // Marks a header prepared; fails while it is queued.
    bool Prepare(WAVE_HEADER& header);
    // Clears the prepared mark; fails while the header is queued.
    bool Unprepare(WAVE_HEADER& header);
    // Queues a prepared header that is not queued yet. Its bytes play after those written
    // before; the header comes back done with a bufferDone notice.
    bool Write(WAVE_HEADER& header);
    // Stops at once: every queued header comes back done, each with its notice, and the
    // position restarts at 0. The device stays open for new writes.
    void Reset();

    // Bytes played since Open or the last Reset (whole frames, in the stream's format).
    uint64_t GetPosition() const;
    // The volume word: left level in the low 16 bits, right level in the high 16 bits,
    // 0xFFFF = unchanged. Kept across Open and Close; 0xFFFFFFFF on construction.
    uint32_t GetVolume() const { return m_volume.load(std::memory_order_relaxed); }
    void SetVolume(uint32_t volume);

signals:
    // A header finished playing or came back through Reset. Delivered on the owner thread;
    // the header may already have been written again by then, so check its flags.
    void bufferDone(WAVE_HEADER* header);

protected:
    void customEvent(QEvent* event) override;

private:
    void WakeOwner();
    void CollectFinished();
    void DeliverNotices();

    WAVE_FORMAT m_format;
    std::atomic<uint32_t> m_volume{0xFFFFFFFFu};
    std::unique_ptr<CStreamQueue> m_queue;
    std::unique_ptr<CNoticePump> m_pump;
    std::unique_ptr<IWaveBackend> m_backend;
    bool m_started = false;
    std::deque<WAVE_HEADER*> m_queued;   // written and not yet finished, in play order
    std::deque<WAVE_HEADER*> m_finished; // done, notice not yet delivered
    uint64_t m_collected = 0;            // finished buffers moved out of m_queued
    std::atomic<bool> m_wakePosted{false};
};
