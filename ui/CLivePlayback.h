#pragma once
// Live playback: the built WAV file plays in a CLivePlayer while every edit is built into
// it in the background, so the change is heard without stopping. After each edit a quiet
// build (IWavSource::BuildLive) renders the stale seconds nearest ahead of the play
// position first and hands each written byte range to the player, which reads it again;
// the seconds behind follow, so the file is whole when the build ends. An edit that moves
// the song's time (tempo list, length, loop, silences) is heard once the whole file is
// built: the player then reads the file again and goes on at the same musical position.
//
// Beside the song it plays what only playback has: metronome clicks on the beats of the
// beat list, mixed into the sound and never into the file, and a loop over a stretch of
// the song given in ticks, which loops seamlessly while edits inside it are built and
// heard on the next pass.
//
// Thread: the user-interface thread; the build's handlers run on the build's thread and
// touch only the player's thread-safe calls.

#include "model/CBeats.h"
#include "model/CTempoList.h"
#include "ui/IWavSource.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

class CEditController;
class CLivePlayer;

class CLivePlayback : public QObject {
    Q_OBJECT
public:
    explicit CLivePlayback(CEditController& edit, QObject* parent = nullptr);
    ~CLivePlayback() override;

    void SetWavSource(IWavSource* source) { m_source = source; }

    // Opens the file with the song's silences cut off and plays it from `tick`; false when
    // it cannot be opened (nothing plays then). With `followEdits` false the file plays as
    // it was built: no live build starts.
    bool Start(const QString& wavPath, int32_t tick, bool followEdits = true);
    // Stops playing. A live build still running goes on and completes the file.
    void Close();
    bool IsPlaying() const;
    // The play position as a tick of the song as it sounds.
    int32_t Tick() const;
    void SeekTick(int32_t tick);
    // Called by the position timer: the build renders from where the player is.
    void FollowPosition();
    // A build of the file playing that a command starts (build, rebuild, the build before
    // encoding): playback goes on, and the handlers returned hand what the build writes to
    // the player as a live build's do. None when the file plays as it was built.
    std::optional<LIVE_BUILD> FollowCommandBuild(bool rebuild);
    // Builds the stale seconds into the file playing: after every edit, and after whatever
    // stopped the live build in hand (a save).
    void OnEdited();

    // Metronome clicks at `volume` (0.0 to 1.0), now and for every later playback.
    void SetMetronome(bool on, double volume);
    // Loops ticks [start, end) of the song, now and for every later playback, until
    // ClearLoop; from a position outside it playback jumps to its start.
    void SetLoop(int32_t startTick, int32_t endTick);
    void ClearLoop();
    bool IsLooping() const { return m_loop.has_value(); }
    // The looped ticks [start, end).
    std::optional<std::pair<int32_t, int32_t>> LoopTicks() const;

    CLivePlayer& Player() { return *m_player; }

private:
    struct LOOP_TICKS {
        int32_t start = 0;
        int32_t end = 0;
    };

    // What the layout of the built file depends on besides the stale seconds.
    struct TIMING {
        CTempoList tempos;
        double length = 0;
        int32_t loopEnabled = 0, loopStart = 0, loopEnd = 0;
        int32_t startDummy = 0, endDummy = 0;
        bool operator==(const TIMING& other) const;
    };

    TIMING SongTiming() const;
    void StartBuild();
    // The request of a build of the file playing; `rewritesAll` when every byte may move.
    LIVE_BUILD BuildRequest(bool rewritesAll);
    void FollowMovedSong(const TIMING& built);
    void ApplyClicks();
    void ApplyLoop();

    CEditController& m_edit;
    IWavSource* m_source = nullptr;
    std::unique_ptr<CLivePlayer> m_player;
    QString m_path;
    TIMING m_playing;                 // the timing of the sound the player holds
    std::atomic<int32_t> m_origin{0}; // the second the build renders first
    bool m_pending = false;           // an edit came while a build ran
    bool m_building = false;          // a build this playback asked for runs
    bool m_followEdits = true;
    bool m_metronome = false;
    double m_clickVolume = 0.5;
    CBeats m_clickBeats; // the beat list the clicks were placed by
    std::optional<LOOP_TICKS> m_loop;
};
