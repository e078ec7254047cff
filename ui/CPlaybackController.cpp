#include "ui/CPlaybackController.h"

#include "audio/Sonalo.h"
#include "common/Options.h"
#include "ui/CEditController.h"
#include "ui/CLivePlayback.h"
#include "ui/CSoloTracks.h"
#include "ui/WaitCursor.h"

#include <algorithm>
#include <limits>

CPlaybackController::CPlaybackController(Sonalo& player, CEditController& edit,
                                         const OPTIONS& options, QObject* parent)
    : QObject(parent), m_player(player), m_edit(edit), m_options(options),
      m_live(new CLivePlayback(edit, this)) {
    m_timer.setInterval(kTimerMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CPlaybackController::OnTimer);
}

CPlaybackController::~CPlaybackController() {
    m_timer.stop();
    m_player.Close();
}

void CPlaybackController::SetWavSource(IWavSource* source) {
    m_source = source;
    m_live->SetWavSource(source);
}

void CPlaybackController::SetSolo(CSoloTracks* solo) {
    m_solo = solo;
    connect(m_solo, &CSoloTracks::changed, this, [this] {
        if (IsPlaying())
            Resume();
    });
}

// Another file takes over once it is built; meanwhile the one playing goes on, and the new
// one starts where the play line has got to. A stop in between is the user's last word.
void CPlaybackController::Resume() {
    const int32_t tick = PlayTick();
    const unsigned stops = m_stops;
    if (m_source != nullptr)
        m_source->PrepareWavQuietly([this, tick, stops](const QString& wavPath) {
            if (stops == m_stops)
                StartPlayback(wavPath, IsPlaying() ? PlayTick() : tick);
        });
}

LIVE_BUILD CPlaybackController::BeforeBuild(const QString& wavPath, bool rebuild) {
    if (m_liveMode && IsPlaying()) {
        if (wavPath != m_wavPath)
            return {};
        if (std::optional<LIVE_BUILD> follow = m_live->FollowCommandBuild(rebuild))
            return std::move(*follow);
    }
    Stop();
    return {};
}

// Saving stops the live build in hand, so the seconds it had not written are asked for
// again.
void CPlaybackController::FollowSongFile() {
    if (!m_liveMode || !IsPlaying() || m_source == nullptr)
        return;
    if (m_source->PlayablePath() != m_wavPath)
        Resume();
    else
        m_live->OnEdited();
}

bool CPlaybackController::HasCurrentTrack() const {
    return m_edit.Project().CurrentTrack() != nullptr;
}

bool CPlaybackController::IsCurrentSolo() const {
    return m_solo != nullptr && m_solo->IsSolo(m_edit.Project().currentTrack);
}

void CPlaybackController::ToggleSolo() {
    if (m_solo != nullptr && HasCurrentTrack())
        m_solo->Toggle(m_edit.Project().currentTrack);
}

bool CPlaybackController::IsPlaying() const {
    return m_liveMode ? m_live->IsPlaying() : m_player.IsPlaying();
}

void CPlaybackController::Play() {
    PlayFrom(m_playStart);
}

void CPlaybackController::PlayFrom(int32_t tick) {
    m_live->ClearLoop();
    Start(tick);
}

void CPlaybackController::Start(int32_t tick) {
    if (m_source != nullptr)
        m_source->PrepareWav(
            [this, tick](const QString& wavPath) { StartPlayback(wavPath, tick); });
}

void CPlaybackController::StartPlayback(const QString& wavPath, int32_t tick) {
    WaitCursor wait;
    ClosePlayers();
    m_wavPath = wavPath;
    m_liveMode = NeedsLivePlayer();
    if (m_liveMode) {
        m_live->SetMetronome(m_metronome, ClickVolume());
        if (!m_live->Start(wavPath, tick, m_options.livePlayback != 0))
            return;
        m_timer.start();
        m_timerWasPlaying = m_live->IsPlaying();
        emit playingChanged(m_timerWasPlaying);
        return;
    }
    const CProjectData& data = m_edit.Project().data;
    if (!m_player.Open(wavPath, data.startDummy / 1000.0, data.endDummy / 1000.0))
        return;
    const double seconds = data.tempos.SecondsAt(std::max(tick, 0));
    if (seconds >= 0) {
        m_player.Stop();
        m_player.SetLoop(m_player.HasLoop());
        m_player.Seek(seconds);
        m_player.Play();
    }
    m_timer.start();
    m_timerWasPlaying = m_player.IsPlaying();
    emit playingChanged(m_timerWasPlaying);
}

bool CPlaybackController::NeedsLivePlayer() const {
    return m_options.livePlayback != 0 || m_metronome || m_live->IsLooping();
}

double CPlaybackController::ClickVolume() const {
    return std::clamp(m_options.metronomeVolume, 0, 100) / 100.0;
}

void CPlaybackController::SetMetronome(bool on) {
    m_metronome = on;
    m_live->SetMetronome(on, ClickVolume());
    // The built-in player has no clicks: the live player takes over where it was.
    if (on && IsPlaying() && !m_liveMode)
        StartPlayback(m_wavPath, PlayTick());
}

void CPlaybackController::PlayLoop(int32_t startTick, int32_t endTick) {
    if (endTick <= startTick)
        return;
    m_live->SetLoop(startTick, endTick);
    if (!IsPlaying())
        Start(startTick);
    else if (!m_liveMode)
        StartPlayback(m_wavPath, startTick);
}

void CPlaybackController::EndLoop() {
    m_live->ClearLoop();
}

bool CPlaybackController::IsLooping() const {
    return m_live->IsLooping() && IsPlaying();
}

std::optional<std::pair<int32_t, int32_t>> CPlaybackController::LoopRegion() const {
    return IsLooping() ? m_live->LoopTicks() : std::nullopt;
}

bool CPlaybackController::HasSelection() const {
    const CTrack* track = m_edit.Project().CurrentTrack();
    return track != nullptr && !track->Selection().empty();
}

void CPlaybackController::ToggleSelectionLoop() {
    if (IsLooping()) {
        EndLoop();
        return;
    }
    if (!HasSelection())
        return;
    int64_t start = std::numeric_limits<int64_t>::max();
    int64_t end = 0;
    for (const CNote* note : m_edit.Project().CurrentTrack()->Selection()) {
        start = std::min<int64_t>(start, note->position);
        end = std::max(end, int64_t{note->position} + note->length);
    }
    const auto clamp = [](int64_t tick) {
        return int32_t(std::clamp<int64_t>(tick, 0, std::numeric_limits<int32_t>::max()));
    };
    PlayLoop(clamp(start), clamp(end));
}

void CPlaybackController::Stop() {
    ++m_stops;
    const bool wasPlaying = IsPlaying() || m_timer.isActive();
    if (wasPlaying)
        emit stopping(PlayTick());
    m_timer.stop();
    ClosePlayers();
    emit seekPositionChanged(m_playStart);
    emit playLineMoved(m_playStart, false);
    if (wasPlaying) {
        emit playingChanged(false);
        emit focusPianoRoll();
    }
}

void CPlaybackController::Rewind() {
    if (!IsPlaying())
        return;
    const int64_t tick = int64_t{PlayTick()} - kSeekTicks;
    SeekTicks(static_cast<int32_t>(std::max<int64_t>(tick, 0)));
}

void CPlaybackController::FastForward() {
    if (!IsPlaying())
        return;
    const int64_t tick = int64_t{PlayTick()} + kSeekTicks;
    SeekTicks(static_cast<int32_t>(std::min<int64_t>(tick, std::numeric_limits<int32_t>::max())));
}

void CPlaybackController::SeekTo(int32_t tick) {
    if (IsPlaying()) {
        SeekTicks(std::max(tick, 0));
        return;
    }
    SetPlayStart(tick, true);
}

void CPlaybackController::SetPlayStart(int32_t tick, bool scroll) {
    m_playStart = std::max(tick, 0);
    emit playLineMoved(m_playStart, scroll);
    if (!IsPlaying())
        emit seekPositionChanged(m_playStart);
}

void CPlaybackController::ResetPlayStart() {
    m_playStart = 0;
    emit seekPositionChanged(0);
}

void CPlaybackController::OnTimer() {
    if (!IsPlaying()) {
        Finish();
        return;
    }
    if (m_liveMode)
        m_live->FollowPosition();
    const int32_t tick = PlayTick();
    if (m_options.playMove != 0)
        emit playLineMoved(tick, m_options.playScroll != 0);
    emit seekPositionChanged(tick);
}

// The end of the file was reached.
void CPlaybackController::Finish() {
    ++m_stops;
    emit stopping(PlayTick());
    m_timer.stop();
    ClosePlayers();
    emit seekPositionChanged(m_playStart);
    emit playLineMoved(m_playStart, false);
    emit playingChanged(false);
    emit focusPianoRoll();
}

void CPlaybackController::SeekTicks(int32_t tick) {
    emit seeking(PlayTick());
    if (m_liveMode)
        m_live->SeekTick(tick);
    else
        m_player.Seek(m_edit.Project().data.tempos.SecondsAt(tick));
}

int32_t CPlaybackController::PlayTick() const {
    if (m_liveMode)
        return m_live->Tick();
    return m_edit.Project().data.tempos.SecondsToTicks(m_player.GetPosition());
}

void CPlaybackController::ClosePlayers() {
    m_player.Close();
    m_live->Close();
}
