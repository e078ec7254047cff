#include "ui/pianoroll/CStepInput.h"

#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CNoteDefaults.h"
#include "ui/CommandIds.h"
#include "ui/commands/CCommandSet.h"
#include "ui/pianoroll/CPianoRollController.h"
#include "ui/pianoroll/CPianoRollPreview.h"
#include "ui/pianoroll/IKeyRecorder.h"
#include "ui/pianoroll/IPianoRollView.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kRows = 96;
constexpr int kOctave = 12;
constexpr int kFullVolume = 255;
// Sources of held keys: the computer keyboard's semitones, MIDI rows above them.
constexpr int kMidiSource = 1000;

// The note that starts at `position` in `row`, if any.
const CNote* HeadAt(const CTrack& track, int32_t position, int row) {
    const size_t bucket = size_t(CTrack::BucketOf(position));
    if (bucket >= track.BucketCount())
        return nullptr;
    for (const CNote* n : track.Bucket(bucket))
        if (n->IsHead() && n->position == position && n->key == row)
            return n;
    return nullptr;
}

} // namespace

CStepInput::CStepInput(CEditController& edit, CNoteDefaults& defaults, CPianoRollController& roll,
                       IPianoRollView& view, CPianoRollPreview& preview, QObject* parent)
    : QObject(parent), m_edit(edit), m_defaults(defaults), m_roll(roll), m_view(view),
      m_preview(preview) {
}

void CStepInput::SetOn(bool on) {
    if (on == m_on)
        return;
    ReleaseAll();
    m_on = on;
    m_history.clear();
    emit toggled(on);
}

void CStepInput::RegisterCommands(CCommandSet& set) {
    set.Add(
        {.id = cmd::kStepInput,
         .caption = tr("ステップ入力(&T)\tCtrl+Shift+I"),
         .keys = Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_I),
         .icon = "step-input",
         .prompt = tr("鍵盤のキーで音符をカーソル位置に入力します。\nステップ入力 (Ctrl+Shift+I)"),
         .kind = COMMAND::Kind::Check,
         .run = [this] { SetOn(!m_on); },
         .checked = [this] { return m_on; }});
}

bool CStepInput::KeyPress(const STEP_KEY& key, bool autoRepeat) {
    if (key.kind == STEP_KEY::Kind::Note && Recording()) {
        if (!autoRepeat)
            RecordDown(key.semitone, RowOfSemitone(key.semitone), m_defaults.Volume());
        return true;
    }
    if (!m_on || key.kind == STEP_KEY::Kind::None)
        return false;
    if (autoRepeat && key.kind != STEP_KEY::Kind::Back)
        return true;
    switch (key.kind) {
    case STEP_KEY::Kind::Note:
        Press(key.semitone, RowOfSemitone(key.semitone), m_defaults.Volume());
        break;
    case STEP_KEY::Kind::Rest:
        Rest();
        break;
    case STEP_KEY::Kind::OctaveDown:
        MoveOctave(kOctave);
        break;
    case STEP_KEY::Kind::OctaveUp:
        MoveOctave(-kOctave);
        break;
    case STEP_KEY::Kind::Back:
        Back();
        break;
    case STEP_KEY::Kind::None:
        break;
    }
    return true;
}

bool CStepInput::KeyRelease(const STEP_KEY& key, bool autoRepeat) {
    if (key.kind == STEP_KEY::Kind::Note && !autoRepeat && RecordUp(key.semitone))
        return true;
    if (!m_on || key.kind == STEP_KEY::Kind::None)
        return false;
    if (key.kind == STEP_KEY::Kind::Note && !autoRepeat)
        Release(key.semitone);
    return true;
}

void CStepInput::NoteOn(int row, int volume) {
    if (row < 0 || row >= kRows)
        return;
    volume = std::clamp(volume, 0, kFullVolume);
    if (Recording())
        RecordDown(kMidiSource + row, row, volume);
    else if (m_on)
        Press(kMidiSource + row, row, volume);
    else
        m_preview.HoldRow(row, double(volume) / kFullVolume);
}

// A key pressed before the mode was switched on is not part of a chord, but still sounds.
void CStepInput::NoteOff(int row) {
    if (RecordUp(kMidiSource + row))
        return;
    if (!(m_on && Release(kMidiSource + row)))
        m_preview.ReleaseRow(row);
}

void CStepInput::ReleaseAll() {
    if (m_recorder != nullptr && m_recorder->ReleaseAll())
        m_preview.Stop();
    if (m_held.empty())
        return;
    m_held.clear();
    m_preview.Stop();
    Advance(m_chord);
}

bool CStepInput::Recording() const {
    return m_recorder != nullptr && m_recorder->IsTaking();
}

void CStepInput::RecordDown(int source, int row, int volume) {
    if (row < 0 || row >= kRows)
        return;
    if (m_recorder->KeyDown(source, row, volume))
        m_preview.HoldRow(row, double(volume) / kFullVolume);
}

// A key the take holds stops sounding when it comes up, also after the take ended.
bool CStepInput::RecordUp(int source) {
    const int row = m_recorder == nullptr ? -1 : m_recorder->KeyUp(source);
    if (row < 0)
        return false;
    m_preview.ReleaseRow(row);
    return true;
}

// The base octave is the caret row's: its C is row (row / 12) × 12 + 11.
int CStepInput::RowOfSemitone(int semitone) const {
    return m_roll.CaretRow() / kOctave * kOctave + (kOctave - 1) - semitone;
}

void CStepInput::Press(int source, int row, int volume) {
    const bool held = std::any_of(m_held.begin(), m_held.end(),
                                  [source](const HELD& h) { return h.source == source; });
    if (held || row < 0 || row >= kRows || m_edit.Project().CurrentTrack() == nullptr)
        return;
    if (m_held.empty()) {
        m_chord =
            ENTRY{m_edit.Project().currentTrack, m_roll.CaretPosition(), m_defaults.Length(), {}};
        m_chordHasStep = false;
    }
    m_held.push_back({source, row});
    const bool inChord =
        std::find(m_chord.rows.begin(), m_chord.rows.end(), row) != m_chord.rows.end();
    if (!inChord && AddToChord(row, volume))
        m_chord.rows.push_back(row);
    m_preview.HoldRow(row, double(volume) / kFullVolume);
}

bool CStepInput::Release(int source) {
    const auto it = std::find_if(m_held.begin(), m_held.end(),
                                 [source](const HELD& h) { return h.source == source; });
    if (it == m_held.end())
        return false;
    const int row = it->row;
    m_held.erase(it);
    // Two keys of the same pitch (Q and comma) sound one row until both are let go.
    if (std::none_of(m_held.begin(), m_held.end(), [row](const HELD& h) { return h.row == row; }))
        m_preview.ReleaseRow(row);
    if (m_held.empty())
        Advance(m_chord);
    return true;
}

// The first note of a chord records the undo step, the others join it while it is still
// the newest step (no undo, redo or other edit came between the keys).
bool CStepInput::AddToChord(int row, int volume) {
    CNote note = m_roll.Caret();
    note.position = m_chord.position;
    note.length = m_chord.length;
    note.key = row;
    note.volume = volume;
    const bool first = m_chord.rows.empty();
    auto add = [this, &note, first](CProject& song) {
        CTrack& track = *song.CurrentTrack();
        if (first)
            track.SelectNote(nullptr, false);
        const CNote* added = track.AddNote(note);
        track.SelectNote(added, true);
        m_edit.MarkNote(track, *added);
    };
    const bool amend = m_chordHasStep && ChordStepIsNewest();
    const bool done = amend ? m_edit.Amend(CEditController::kViewNone, add)
                            : m_edit.Edit(CEditController::kViewNone, add);
    m_view.NotesChanged();
    if (!done) {
        m_chord.rows.clear();
        m_chordHasStep = false;
        return false;
    }
    m_chordHasStep = true;
    m_stepCursor = m_edit.UndoRing().Cursor();
    return true;
}

bool CStepInput::ChordStepIsNewest() const {
    return m_edit.UndoRing().Cursor() == m_stepCursor && !m_edit.CanRedo();
}

void CStepInput::Rest() {
    if (!m_held.empty() || m_edit.Project().CurrentTrack() == nullptr)
        return;
    Advance(ENTRY{m_edit.Project().currentTrack, m_roll.CaretPosition(), m_defaults.Length(), {}});
}

void CStepInput::Advance(const ENTRY& entry) {
    const int64_t next = int64_t(entry.position) + entry.length;
    m_roll.SetCaret(int32_t(std::min<int64_t>(next, std::numeric_limits<int32_t>::max())),
                    m_roll.CaretRow(), true);
    Remember(entry);
}

void CStepInput::Remember(ENTRY entry) {
    if (m_history.size() >= kMaxHistory)
        m_history.erase(m_history.begin());
    m_history.push_back(std::move(entry));
}

// Takes back the newest entry while the caret still stands where that entry left it and
// the entry's track is current; otherwise the caret was moved or the song changed since,
// and Back forgets the entries instead of guessing.
void CStepInput::Back() {
    if (!m_held.empty() || m_history.empty())
        return;
    const ENTRY entry = std::move(m_history.back());
    m_history.pop_back();
    const int64_t end = int64_t(entry.position) + entry.length;
    if (entry.track != m_edit.Project().currentTrack || m_roll.CaretPosition() != end ||
        m_edit.Project().CurrentTrack() == nullptr) {
        m_history.clear();
        return;
    }
    if (!entry.rows.empty()) {
        m_edit.Edit(CEditController::kViewNone, [this, &entry](CProject& song) {
            CTrack& track = *song.CurrentTrack();
            for (const int row : entry.rows) {
                if (const CNote* found = HeadAt(track, entry.position, row)) {
                    m_edit.MarkNote(track, *found);
                    track.RemoveNote(found);
                }
            }
        });
        m_view.NotesChanged();
    }
    m_roll.SetCaret(entry.position, m_roll.CaretRow(), true);
}

void CStepInput::MoveOctave(int rows) {
    const int row = m_roll.CaretRow() + rows;
    if (row >= 0 && row < kRows)
        m_roll.SetCaret(m_roll.CaretPosition(), row, true);
}
