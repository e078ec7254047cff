#include "ui/CPlaybackController.h"

#include "audio/Sonalo.h"
#include "common/Options.h"
#include "ui/CEditController.h"
#include "ui/CLivePlayback.h"
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

bool CPlaybackController::IsPlaying() const {
    return m_liveMode ? m_live->IsPlaying() : m_player.IsPlaying();
}

void CPlaybackController::Play() {
    PlayFrom(m_playStart);
}

void CPlaybackController::PlayFrom(int32_t tick) {
    if (m_source != nullptr)
        m_source->PrepareWav(
            [this, tick](const QString& wavPath) { StartPlayback(wavPath, tick); });
}

void CPlaybackController::StartPlayback(const QString& wavPath, int32_t tick) {
    WaitCursor wait;
    ClosePlayers();
    m_liveMode = m_options.livePlayback != 0;
    if (m_liveMode) {
        if (!m_live->Start(wavPath, tick))
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

void CPlaybackController::Stop() {
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
