#pragma once
// The audition of the decoder module: the whole file decoded into memory through a
// private temporary WAV file, then played by the editor's own player class (Sonalo) on
// the wave-out device layer, so the device chosen by TSQ_AUDIO_DEVICE applies.
//
// Thread: the thread of the running QCoreApplication, whose event loop carries the
// device's buffer notices.

#include <memory>
#include <string>

class Sonalo;

class CAudition {
public:
    CAudition();
    ~CAudition();
    CAudition(const CAudition&) = delete;
    CAudition& operator=(const CAudition&) = delete;

    // Stops what plays and plays the file from its start. False without a QCoreApplication,
    // on another thread, or when the file cannot be decoded or played.
    bool Play(const std::string& sourcePath);
    void Stop();
    bool IsPlaying() const;
    double Position() const;

private:
    std::unique_ptr<Sonalo> m_player;
};
