#pragma once
// Live preview of keys of one track: the note sample function streamed as 16-bit mono
// at the project's rate to a wave-out device through four rotating buffers. The buffers
// are refilled on the engine's thread, from the device's notices. The owner says when the
// user lets go (Stop, NoteOff): the device is reset there and then, so the sound ends at
// once and no release tail is heard.
//
// Up to kMaxVoices keys sound together (NoteOn, NoteOff), summed before the conversion to
// 16 bits; a key beyond that takes the place of the key started longest ago. A key that
// starts or ends while others sound restarts the stream with what is rendered from then
// on, so it is heard within one buffer rather than after the buffers already queued; the
// keys that go on sounding skip what those buffers held.
//
// Thread: every method on the thread the engine lives on (the one that calls Open), which
// runs a Qt event loop.

#include <QObject>

#include <cstdint>
#include <memory>

class CProject;
class CTrack;

class CPreviewEngine : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxVoices = 16;

    explicit CPreviewEngine(QObject* parent = nullptr);
    ~CPreviewEngine() override;

    // Prepares the engine for a track; bufferMs is the "PlayBufferSize" setting (kept to
    // 1..1000 ms). Fails without a project or a track, and when no device can be opened
    // with the project's rate; after the latter, keys still "play" silently until Stop.
    // The project and the track must stay alive until Close or the next Open, and unchanged
    // while a key plays (a change between keys is heard from the next key on). A PCM track
    // has its sample loaded before Open.
    bool Open(const CProject* project, const CTrack* track, int bufferMs);
    // Starts a key, counted upward (0 = C1, 45 = A4 = 440 Hz); a key still playing is
    // stopped first, and the new key starts from its own beginning. False without a
    // project, or for a key outside 0..95 (the key playing then plays on).
    bool Play(int key);
    // Starts a key beside those sounding, at level 0..1 (clamped, NaN is 0); a key already
    // sounding starts again from its own beginning. False as for Play.
    bool NoteOn(int key, double level = 1.0);
    // Ends one key at once; the others sound on.
    void NoteOff(int key);
    // Ends every key at once: when it returns the device is silent.
    void Stop();
    // Device output level 0..1 (clamped, NaN is 0), kept across Open and Close.
    void SetVolume(double volume);
    // Multiplier of every sample before the conversion to 16 bits (1.0 by default); what
    // lies beyond full scale clips.
    void SetGain(double gain);
    // Stops and releases the device and the buffers; forgets the project and the track.
    void Close();

    bool IsOpen() const;
    bool IsPlaying() const;
    // The key started last of those sounding, -1 when none.
    int Key() const;
    bool IsSounding(int key) const;
    int VoiceCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};
