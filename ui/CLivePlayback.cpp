#include "ui/CLivePlayback.h"

#include "audio/CLivePlayer.h"
#include "engine/MetronomeBeats.h"
#include "ui/CEditController.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

bool CLivePlayback::TIMING::operator==(const TIMING& other) const {
    return tempos.Items() == other.tempos.Items() && length == other.length &&
           loopEnabled == other.loopEnabled && loopStart == other.loopStart &&
           loopEnd == other.loopEnd && startDummy == other.startDummy && endDummy == other.endDummy;
}

CLivePlayback::CLivePlayback(CEditController& edit, QObject* parent)
    : QObject(parent), m_edit(edit) {
    connect(&m_edit, &CEditController::viewsChanged, this, &CLivePlayback::OnEdited);
}

// The build's handlers use this object and its player, so the build must end first.
CLivePlayback::~CLivePlayback() {
    if (m_source != nullptr)
        m_source->StopLive();
}

bool CLivePlayback::Start(const QString& wavPath, int32_t tick, bool followEdits) {
    if (m_player == nullptr)
        m_player = std::make_unique<CLivePlayer>();
    const CProjectData& data = m_edit.Project().data;
    if (!m_player->Open(wavPath, data.startDummy / 1000.0, data.endDummy / 1000.0))
        return false;
    m_path = wavPath;
    m_playing = SongTiming();
    m_pending = false;
    m_followEdits = followEdits;
    m_player->SetLoop(m_player->HasLoop());
    m_player->Seek(data.tempos.SecondsAt(std::max(tick, 0)));
    ApplyClicks();
    ApplyLoop();
    FollowPosition();
    if (!m_player->Play())
        return false;
    // Edits made while this file was being made ready are still to be heard.
    OnEdited();
    return true;
}

void CLivePlayback::SetMetronome(bool on, double volume) {
    m_metronome = on;
    m_clickVolume = volume;
    if (m_player != nullptr && m_player->IsOpen())
        ApplyClicks();
}

void CLivePlayback::SetLoop(int32_t startTick, int32_t endTick) {
    m_loop = LOOP_TICKS{std::max(startTick, 0), std::max(endTick, 0)};
    if (m_player != nullptr && m_player->IsOpen())
        ApplyLoop();
}

std::optional<std::pair<int32_t, int32_t>> CLivePlayback::LoopTicks() const {
    if (!m_loop)
        return std::nullopt;
    return std::pair{m_loop->start, m_loop->end};
}

void CLivePlayback::ClearLoop() {
    m_loop.reset();
    if (m_player != nullptr && m_player->IsOpen())
        m_player->ClearLoopRange();
}

// The clicks are frames of the sound the player holds, so they follow its timing; the beat
// list they follow is the song's as edited, since it moves no sound.
void CLivePlayback::ApplyClicks() {
    m_player->SetClickVolume(m_clickVolume);
    std::vector<LIVE_CLICK> clicks;
    m_clickBeats = m_edit.Project().data.beats;
    if (m_metronome) {
        const int64_t endTick = int64_t{m_playing.tempos.SecondsToTicks(m_player->GetLength())} + 1;
        const auto beats = MetronomeBeats(m_playing.tempos, m_clickBeats,
                                          int32_t(std::min<int64_t>(endTick, INT32_MAX)),
                                          m_player->GetSampleRate());
        clicks.reserve(beats.size());
        for (const METRONOME_BEAT& beat : beats)
            clicks.push_back({beat.frame, beat.accent});
    }
    m_player->SetClicks(std::move(clicks));
}

void CLivePlayback::ApplyLoop() {
    if (!m_loop) {
        m_player->ClearLoopRange();
        return;
    }
    const double start = m_playing.tempos.SecondsAt(m_loop->start);
    const double end = m_playing.tempos.SecondsAt(m_loop->end);
    if (!m_player->SetLoopRange(start, end))
        return;
    const double position = m_player->GetPosition();
    if (position < start || position >= end)
        m_player->Seek(start);
}

void CLivePlayback::Close() {
    if (m_player != nullptr)
        m_player->Close();
    m_path.clear();
    m_pending = false;
}

bool CLivePlayback::IsPlaying() const {
    return m_player != nullptr && m_player->IsPlaying();
}

int32_t CLivePlayback::Tick() const {
    return m_player == nullptr ? 0 : m_playing.tempos.SecondsToTicks(m_player->GetPosition());
}

void CLivePlayback::SeekTick(int32_t tick) {
    if (m_player != nullptr)
        m_player->Seek(m_playing.tempos.SecondsAt(std::max(tick, 0)));
}

// The origin is a second of the song as edited, which is where the build writes. While a
// stretch loops, what plays next is all inside it, so the build starts at its start.
void CLivePlayback::FollowPosition() {
    const int32_t tick = m_loop ? m_loop->start : Tick();
    const double seconds = m_edit.Project().data.tempos.SecondsAt(tick);
    m_origin.store(int32_t(std::clamp(std::floor(seconds), 0.0, 2e9)), std::memory_order_relaxed);
}

CLivePlayback::TIMING CLivePlayback::SongTiming() const {
    const CProject& song = m_edit.Project();
    const CProjectData& data = song.data;
    return {data.tempos,  song.GetLength(), data.loopEnabled, data.loopStart,
            data.loopEnd, data.startDummy,  data.endDummy};
}

// Every commit, undo and redo ends here. A build in progress renders the song as it was
// when it started, so it is cut short and the next one starts from the play position.
void CLivePlayback::OnEdited() {
    if (!IsPlaying())
        return;
    if (m_metronome && !(m_edit.Project().data.beats.Items() == m_clickBeats.Items()))
        ApplyClicks();
    if (!m_followEdits || m_source == nullptr || !m_source->IsStale(m_path))
        return;
    // A quiet build this playback did not ask for (the file that is to take over) runs on;
    // the playback that follows it picks the edit up.
    if (m_source->IsBuildingLive()) {
        m_pending = true;
        if (m_building)
            m_source->CancelLive();
        return;
    }
    StartBuild();
}

// A build refused while another runs (a command's) is asked for again when that one ends.
void CLivePlayback::StartBuild() {
    m_building = m_source->BuildLive(BuildRequest(false));
    m_pending = !m_building && m_source->IsBuilding();
}

std::optional<LIVE_BUILD> CLivePlayback::FollowCommandBuild(bool rebuild) {
    if (!IsPlaying() || !m_followEdits)
        return std::nullopt;
    // The live build in hand is stopped for the command's, which renders its seconds too.
    m_pending = false;
    m_building = false;
    return BuildRequest(rebuild);
}

LIVE_BUILD CLivePlayback::BuildRequest(bool rewritesAll) {
    const TIMING timing = SongTiming();
    const bool moved = !(timing == m_playing);
    const bool reload = moved || rewritesAll;
    CLivePlayer* player = m_player.get();
    LIVE_BUILD request;
    request.wavPath = m_path;
    request.origin = &m_origin;
    // Bytes of a moved song lie at other times than those playing: the player reads the
    // whole file again once it is built through.
    if (!reload)
        request.written = [player](int64_t first, int64_t end) { player->Invalidate(first, end); };
    request.ended = [player, reload](const BuildOutcome& outcome) {
        if (reload && outcome.status == BuildStatus::Complete)
            player->Reload();
    };
    request.done = [this, moved, timing](bool complete) {
        m_building = false;
        if (complete && moved)
            FollowMovedSong(timing);
        if (m_pending && IsPlaying())
            StartBuild();
    };
    return request;
}

// The player kept its position in seconds when it read the moved song, and the play line
// still follows it through the old timing: playback goes on from that musical position.
void CLivePlayback::FollowMovedSong(const TIMING& built) {
    const int32_t tick = Tick();
    m_playing = built;
    m_player->SetLoop(m_player->HasLoop());
    m_player->Seek(m_playing.tempos.SecondsAt(tick));
    ApplyClicks();
    ApplyLoop();
    FollowPosition();
}
