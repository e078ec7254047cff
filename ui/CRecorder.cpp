#include "ui/CRecorder.h"

#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CNoteDefaults.h"
#include "ui/CommandIds.h"
#include "ui/NoteSnap.h"
#include "ui/commands/CCommandSet.h"

#include <algorithm>

namespace {

constexpr int kRows = 96;
constexpr int kFullVolume = 255;
// The position read from the device may step back by a hair when playback follows a moved
// song; only a larger step back is the loop wrapping.
constexpr int32_t kJitterTicks = 5;

} // namespace

CRecorder::CRecorder(CEditController& edit, CNoteDefaults& defaults, RECORD_CLOCK clock,
                     QObject* parent)
    : QObject(parent), m_edit(edit), m_defaults(defaults), m_clock(std::move(clock)) {
}

void CRecorder::SetArmed(bool armed) {
    if (armed == m_armed)
        return;
    if (!armed && m_clock.playing())
        Stopping(m_clock.tick());
    m_armed = armed;
    if (armed && m_clock.playing())
        Started(m_clock.tick());
    emit toggled(armed);
}

void CRecorder::RegisterCommands(CCommandSet& set) {
    set.Add({.id = cmd::kRecord,
             .caption = QT_TRANSLATE_NOOP("Commands", "録音(&E)\tCtrl+R"),
             .keys = Keys(Qt::CTRL | Qt::Key_R),
             .icon = "media-record",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "再生中に弾いた鍵盤を現在のトラックに入力します。\n録音 (Ctrl+R)"),
             .kind = COMMAND::Kind::Check,
             .run = [this] { SetArmed(!m_armed); },
             .checked = [this] { return m_armed; }});
}

bool CRecorder::IsTaking() const {
    return m_armed && m_clock.playing();
}

bool CRecorder::KeyDown(int source, int row, int volume) {
    if (!IsTaking() || row < 0 || row >= kRows || m_edit.Project().CurrentTrack() == nullptr)
        return false;
    if (std::any_of(m_held.begin(), m_held.end(),
                    [source](const HELD& h) { return h.source == source; }))
        return false;
    const int32_t tick = std::max(m_clock.tick(), 0);
    Follow(tick);
    m_held.push_back({source, row, std::clamp(volume, 0, kFullVolume),
                      m_edit.Project().currentTrack, tick, true});
    return true;
}

int CRecorder::KeyUp(int source) {
    const auto it = std::find_if(m_held.begin(), m_held.end(),
                                 [source](const HELD& h) { return h.source == source; });
    if (it == m_held.end())
        return -1;
    if (IsTaking())
        Follow(std::max(m_clock.tick(), 0));
    // Following may have entered notes; the key is still listed, open or not.
    const auto held = std::find_if(m_held.begin(), m_held.end(),
                                   [source](const HELD& h) { return h.source == source; });
    const HELD key = *held;
    m_held.erase(held);
    if (key.open)
        Enter(key, m_lastTick);
    return key.row;
}

bool CRecorder::ReleaseAll() {
    if (m_held.empty())
        return false;
    if (IsTaking())
        Follow(std::max(m_clock.tick(), 0));
    CloseHeld(m_lastTick);
    m_held.clear();
    return true;
}

// Keys still down from the last take stay listed, so their releases silence them.
void CRecorder::Started(int32_t tick) {
    m_lastTick = std::max(tick, 0);
    m_takeHasStep = false;
}

void CRecorder::Follow(int32_t tick) {
    if (m_lastTick >= 0 && tick < m_lastTick - kJitterTicks)
        CloseHeld(PassEnd(m_lastTick));
    m_lastTick = tick;
}

void CRecorder::Seeking(int32_t tick) {
    CloseHeld(std::max(tick, m_lastTick));
    m_lastTick = -1;
}

// The end of the file may already read as position 0, so the last position seen counts
// when it lies further on.
void CRecorder::Stopping(int32_t tick) {
    if (m_armed)
        CloseHeld(std::max(tick, m_lastTick));
    m_lastTick = -1;
    m_takeHasStep = false;
}

void CRecorder::CloseHeld(int32_t end) {
    for (HELD& held : m_held) {
        if (held.open)
            Enter(held, end);
        held.open = false;
    }
}

// The take's first note records the undo step; the others join it while it is still the
// newest step (no undo, redo or other edit came between them).
void CRecorder::Enter(const HELD& held, int32_t end) {
    if (held.track != m_edit.Project().currentTrack || m_edit.Project().CurrentTrack() == nullptr)
        return;
    const int32_t fit = m_defaults.Fit();
    CNote note;
    note.position = NearestSnapTick(m_edit.Project().data.beats, fit, held.start);
    note.length = FitLength(fit, int64_t{end} - held.start);
    note.keyoff = m_defaults.Keyoff();
    note.key = held.row;
    note.volume = held.volume;
    const bool amend = m_takeHasStep && TakeStepIsNewest();
    auto add = [this, &note, amend](CProject& song) {
        CTrack& track = *song.CurrentTrack();
        if (!amend)
            track.SelectNote(nullptr, false);
        const CNote* added = track.AddNote(note);
        track.SelectNote(added, true);
        m_edit.MarkNote(track, *added);
    };
    const bool done = amend ? m_edit.Amend(CEditController::kViewPianoRoll, add)
                            : m_edit.Edit(CEditController::kViewPianoRoll, add);
    m_takeHasStep = done;
    m_stepCursor = m_edit.UndoRing().Cursor();
}

bool CRecorder::TakeStepIsNewest() const {
    return m_edit.UndoRing().Cursor() == m_stepCursor && !m_edit.CanRedo();
}

// Playback wraps at the song's loop end; a loop it plays that the song does not know ends
// its pass where the position was last seen.
int32_t CRecorder::PassEnd(int32_t tick) const {
    if (const auto region = m_clock.loopRegion ? m_clock.loopRegion() : std::nullopt)
        return region->first <= tick && tick < region->second ? region->second : tick;
    const CProjectData& data = m_edit.Project().data;
    if (data.loopEnabled != 0 && data.loopStart <= tick && tick < data.loopEnd)
        return data.loopEnd;
    return tick;
}
