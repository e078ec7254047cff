#pragma once
// Live preview of one key of one track: the note sample function streamed as 16-bit mono
// at the project's rate to a wave-out device through four rotating buffers. The buffers
// are refilled on the thread that opened the engine, from the device's notices. The
// owner says when the user lets go (Stop): a watching thread then resets the device, so
// the sound ends at once and no release tail is heard.
//
// Thread: every method on the thread that called Open, which runs a Qt event loop.

#include <QObject>

#include <cstdint>
#include <memory>

class CProject;
class CTrack;

class CPreviewEngine : public QObject {
    Q_OBJECT
public:
    explicit CPreviewEngine(QObject* parent = nullptr);
    ~CPreviewEngine() override;

    // Prepares the engine for a track; bufferMs is the "PlayBufferSize" setting. Fails
    // (and stays silent) when no device can be opened. The project and the track must
    // stay alive and unchanged while a key plays; call Open again after changing them.
    bool Open(const CProject* project, const CTrack* track, int bufferMs);
    // Starts a key, counted upward (0 = C1, 45 = A4 = 440 Hz); a key still playing is
    // stopped first. False without a project.
    bool Play(int key);
    // Ends the key being played.
    void Stop();
    // Device output level 0..1 (clamped).
    void SetVolume(double volume);
    void SetGain(double gain);
    void Close();

    bool IsOpen() const;
    bool IsPlaying() const;
    // The key being played, -1 when none.
    int Key() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};
