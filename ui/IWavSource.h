#pragma once
// Where playback gets its WAV file: the build controller, which builds what is stale first.
// Live playback also asks it for quiet builds while the song plays, so that an edit is
// heard without stopping: the build runs in the background with no window, renders the
// seconds nearest the play position first and hands every written byte range to the
// player.
//
// Thread: the user-interface thread, except the handlers marked otherwise.

#include "engine/IBuildEvents.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

struct LIVE_BUILD {
    // The file being played; no build starts when the song's WAV file is another one now
    // (the song was saved under a new name while it played) and it is not the solo file.
    QString wavPath;
    // The second to render first; read by the build while it runs.
    const std::atomic<int32_t>* origin = nullptr;
    // Bytes [firstByte, endByte) of the file were written: on the build's thread.
    std::function<void(int64_t firstByte, int64_t endByte)> written;
    // The build has ended, on the build's thread, before `done`.
    std::function<void(const BuildOutcome& outcome)> ended;
    // The build has ended and its flags are merged back, on this thread; `complete` is
    // false when it was cancelled or failed. Not called when the build is stopped from
    // outside (another build, a new song, closing).
    std::function<void(bool complete)> done;
};

class IWavSource {
public:
    virtual ~IWavSource() = default;
    // Makes the WAV file current (building what is stale) and hands its path to `ready`: at
    // once when nothing is stale, else when the build has succeeded. `ready` is not called
    // when the build failed or was cancelled, nor when there is no WAV path.
    virtual void PrepareWav(std::function<void(const QString& wavPath)> ready) = 0;
    // Makes the file ready as PrepareWav does, but while something plays: a build it needs
    // runs quietly, like a live build, and what plays goes on meanwhile. `ready` is not
    // called when that build does not complete.
    virtual void PrepareWavQuietly(std::function<void(const QString& wavPath)> ready) = 0;
    // The file PrepareWav would hand out now: the solo file while tracks are soloed, else
    // the song's (empty when it has no name yet).
    virtual QString PlayablePath() const = 0;
    // Starts a live build of the stale seconds; false when nothing is stale, a build is
    // running, or the song's WAV file is not `request.wavPath`.
    virtual bool BuildLive(LIVE_BUILD request) = 0;
    virtual bool IsBuildingLive() const = 0;
    // A build started by a command runs (live builds wait for it).
    virtual bool IsBuilding() const = 0;
    // Whether seconds of this file (the song's, or the solo file) are stale.
    virtual bool IsStale(const QString& wavPath) const = 0;
    // Asks the live build to end after the seconds in hand; its `done` follows.
    virtual void CancelLive() = 0;
    // Stops the live build and waits for it, its rendered seconds kept; `done` is not
    // called.
    virtual void StopLive() = 0;
};
