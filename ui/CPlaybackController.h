#pragma once
// Playback of the built WAV file inside the editor: play from the play start position or
// the caret, stop, rewind and fast-forward by a whole note, the seek bar, the play start
// position, and the 20 ms timer that maps the player's position back to ticks. With the
// option "Live" on (the default) the file plays through CLivePlayback, which builds every
// edit into it while it plays; off, Sonalo plays the file as it was built — unless the
// metronome or a loop of the selection is asked for, which only the live player offers: it
// then plays the file as built, without live builds.
//
// The controller knows nothing of widgets: it announces where the play line and the seek
// bar belong through signals, and gets the WAV file from an IWavSource (the build
// controller, which builds what is stale first; playback then starts when that build ends).
//
// Thread: the user-interface thread (the player's own).

#include "ui/IWavSource.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

class CEditController;
class CLivePlayback;
class CSoloTracks;
class Sonalo;
struct OPTIONS;

class CPlaybackController : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimerMs = 20;
    static constexpr int32_t kSeekTicks = 1920;

    CPlaybackController(Sonalo& player, CEditController& edit, const OPTIONS& options,
                        QObject* parent = nullptr);
    ~CPlaybackController() override;

    void SetWavSource(IWavSource* source);
    // The soloed tracks: while playing, another choice of them takes over where the play
    // line is, once its file is built.
    void SetSolo(CSoloTracks* solo);

    bool IsPlaying() const;
    int32_t PlayStart() const { return m_playStart; }
    // The tick of the song as it sounds now (meaningful while playing).
    int32_t PlayTick() const;

    // "再生" and "現在位置から再生": once the WAV file is current, playback starts at the
    // tick given now.
    void Play();
    void PlayFrom(int32_t tick);
    void Stop();
    void Rewind();
    void FastForward();
    // The play bar's seek bar: seeks while playing, else moves the play start position.
    void SeekTo(int32_t tick);
    // "再生開始位置に設定" and the play-line drag of the piano roll.
    void SetPlayStart(int32_t tick, bool scroll);
    // A new song: the play start position goes back to 0.
    void ResetPlayStart();
    // "メトロノーム": clicks on the beats, mixed into what plays; off at start.
    void SetMetronome(bool on);
    bool Metronome() const { return m_metronome; }
    // "選択範囲をループ再生": loops ticks [startTick, endTick) while playing, starting
    // playback there when stopped (after the build that may come first, which stops
    // playback). The loop ends with EndLoop or the next Play or PlayFrom.
    void PlayLoop(int32_t startTick, int32_t endTick);
    void EndLoop();
    bool IsLooping() const;
    // The ticks [start, end) looped while playing, if any.
    std::optional<std::pair<int32_t, int32_t>> LoopRegion() const;
    // The command: loops from the start of the first selected note of the current track
    // to the end of the last, or ends the loop running.
    void ToggleSelectionLoop();
    bool HasSelection() const;
    // Before a build of `wavPath` that a command starts. Live playback that follows edits
    // goes on and hears the build through the handlers returned; playback of another file
    // (the solo file) goes on untouched; any other playback stops first, as it always did
    // with the option "Live" off. Empty handlers when nothing follows.
    LIVE_BUILD BeforeBuild(const QString& wavPath, bool rebuild);
    // The song was saved, maybe under a new name: live playback moves over to the file the
    // song now builds into once it is built, playing on meanwhile.
    void FollowSongFile();
    // "ソロ": solo of the current track.
    void ToggleSolo();
    bool IsCurrentSolo() const;
    bool HasCurrentTrack() const;

signals:
    // Where the play line belongs; `scroll` asks the piano roll to bring it into view.
    void playLineMoved(int32_t tick, bool scroll);
    void seekPositionChanged(int32_t tick);
    void playingChanged(bool playing);
    // Playback is about to jump away from `tick` (a seek, rewind or fast forward).
    void seeking(int32_t tick);
    // Playback is about to end at `tick`, by a command or at the end of the file.
    void stopping(int32_t tick);
    // Playback ended: the piano roll takes the keyboard focus back.
    void focusPianoRoll();

private:
    void Start(int32_t tick);
    void Resume();
    void StartPlayback(const QString& wavPath, int32_t tick);
    bool NeedsLivePlayer() const;
    double ClickVolume() const;
    void OnTimer();
    void Finish();
    void SeekTicks(int32_t tick);
    void ClosePlayers();

    Sonalo& m_player;
    CEditController& m_edit;
    const OPTIONS& m_options;
    IWavSource* m_source = nullptr;
    QTimer m_timer;
    int32_t m_playStart = 0;
    bool m_timerWasPlaying = false;
    CLivePlayback* m_live;
    bool m_liveMode = false; // the playback in progress is live
    bool m_metronome = false;
    CSoloTracks* m_solo = nullptr;
    unsigned m_stops = 0; // playbacks ended, by Stop or at the end
    QString m_wavPath;    // the file playing
};
