#include "ui/pianoroll/CNoteCommands.h"

#include "common/ClipboardFormats.h"
#include "dialogs/CAdjustDialog.h"
#include "dialogs/CFindDialog.h"
#include "dialogs/CJumpDialog.h"
#include "dialogs/CMeasureDialog.h"
#include "dialogs/CNoteDialog.h"
#include "dialogs/CSplitDialog.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CNoteDefaults.h"
#include "ui/CommandIds.h"
#include "ui/IUserPrompts.h"
#include "ui/NoteSnap.h"
#include "ui/pianoroll/IPianoRollView.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QMimeData>

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t kLastTick = std::numeric_limits<int32_t>::max();
constexpr int kNoteViews = CEditController::kViewPianoRoll;

int32_t ClampTick(int64_t tick) {
    return static_cast<int32_t>(std::clamp<int64_t>(tick, 0, kLastTick));
}

QByteArray ClipboardNotes() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && data->hasFormat(kClipNote) ? data->data(kClipNote) : QByteArray();
}

bool ClipboardHasNotes() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && data->hasFormat(kClipNote);
}

std::span<const uint8_t> Bytes(const QByteArray& block) {
    return {reinterpret_cast<const uint8_t*>(block.constData()), static_cast<size_t>(block.size())};
}

// The last tick that inserting or deleting measures can move: note ends, tempo and volume
// changes, signature changes and the loop points.
int64_t LastMovableTick(const CProject& project) {
    const CProjectData& data = project.data;
    int64_t last = std::max<int64_t>(project.GetEndTick(), 0);
    last = std::max<int64_t>({last, data.loopStart, data.loopEnd});
    last = std::max<int64_t>(last, data.tempos.Items().back().position);
    last = std::max<int64_t>(last, data.volumes.Items().back().position);
    return std::max<int64_t>(last, data.beats.MeasureToTick(data.beats.Items().back().measure));
}

// The model inserts measures one at a time. Past the song's content more measures change
// nothing, and content may only move as far as the last tick, so a count typed far beyond
// either is cut down instead of keeping the editor busy for minutes.
int32_t InsertableCount(const CProject& project, int32_t measure, int32_t count) {
    const CBeats& beats = project.data.beats;
    const int64_t start = beats.MeasureToTick(measure);
    const int64_t length = std::max(beats.At(measure).MeasureLength(), 1);
    const int64_t last = LastMovableTick(project);
    if (last < start)
        return std::min(count, 1);
    const int64_t room = std::max<int64_t>((kLastTick - last) / length, 1);
    return static_cast<int32_t>(std::min<int64_t>(count, room));
}

// Deleting more measures than reach past the content changes nothing more. The count kept
// also reaches past every note end with the first measure's length, so the refusal test
// (a note straddling the end of the range) gives the same answer as for the typed count.
int32_t DeletableCount(const CProject& project, int32_t measure, int32_t count) {
    const CBeats& beats = project.data.beats;
    const int64_t start = beats.MeasureToTick(measure);
    const int64_t length = std::max(beats.At(measure).MeasureLength(), 1);
    const int64_t last = LastMovableTick(project);
    if (last < start)
        return std::min(count, 1);
    const int64_t byMeasures = int64_t{beats.TickToMeasure(ClampTick(last))} - measure + 1;
    const int64_t byTicks = (last - start) / length + 1;
    return static_cast<int32_t>(std::min<int64_t>(count, std::max(byMeasures, byTicks)));
}

// "フィット" of a length snaps the end down to the grid. A note lying inside one grid cell
// would then end at or before its start; its end goes up to the cell's end instead, which
// is the next grid line (or the next bar line when the measure ends first).
int32_t FittedLength(const CBeats& beats, int32_t fit, const CNote& note) {
    const int32_t end = ClampTick(int64_t{note.position} + note.length);
    int64_t snapped = SnapTick(beats, fit, end);
    if (snapped <= note.position) {
        const int64_t cell = int64_t{SnapTick(beats, fit, note.position)} + std::max(fit, 1);
        const int64_t bar = beats.MeasureToTick(beats.TickToMeasure(note.position) + 1);
        snapped = std::min(cell, bar > note.position ? bar : cell);
    }
    return static_cast<int32_t>(std::clamp<int64_t>(snapped - note.position, 1, kLastTick));
}

} // namespace

CNoteCommands::CNoteCommands(CEditController& edit, CNoteDefaults& defaults, IUserPrompts& prompts,
                             const OPTIONS&, IPianoRollView& view, QWidget* dialogParent)
    : QObject(dialogParent), m_edit(edit), m_defaults(defaults), m_prompts(prompts), m_view(view),
      m_dialogParent(dialogParent) {
    SetDialogRunner({});
    RegisterClipboardCommands();
    RegisterSelectionCommands();
    RegisterNoteCommands();
    RegisterAdjustCommands();
}

void CNoteCommands::SetDialogRunner(DialogRunner runner) {
    m_runDialog = runner ? std::move(runner) : [](QDialog& dialog) { return dialog.exec(); };
}

int CNoteCommands::Exec(QDialog& dialog) {
    return m_runDialog(dialog);
}

const CTrack* CNoteCommands::Track() const {
    return m_edit.Project().CurrentTrack();
}

CTrack& CNoteCommands::ChangingTrack() {
    return *m_edit.Changing().CurrentTrack();
}

size_t CNoteCommands::SelectionCount() const {
    const CTrack* track = Track();
    return track == nullptr ? 0 : track->Selection().size();
}

// Cut, copy, paste, delete and properties are described here for both panes.
void CNoteCommands::RegisterClipboardCommands() {
    using namespace cmd;
    auto selected = [this] { return SelectionCount() >= 1; };
    m_commandSet.Add(
        {.id = kCut,
         .caption = QT_TRANSLATE_NOOP("Commands", "切り取り(&T)\tCtrl+X"),
         .keys = Keys(Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete),
         .icon = "edit-cut",
         .prompt = QT_TRANSLATE_NOOP(
             "Commands",
             "選択された音符やトラックを切り取ってクリップボードに移動します。\n切り取り (Ctrl+X)"),
         .run =
             [this] {
                 Copy();
                 Delete();
             },
         .enabled = selected});
    m_commandSet.Add(
        {.id = kCopy,
         .caption = QT_TRANSLATE_NOOP("Commands", "コピー(&C)\tCtrl+C"),
         .keys = Keys(Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert),
         .icon = "edit-copy",
         .prompt = QT_TRANSLATE_NOOP(
             "Commands",
             "選択された音符やトラックをクリップボードにコピーします。\nコピー (Ctrl+C)"),
         .run = [this] { Copy(); },
         .enabled = selected});
    m_commandSet.Add({.id = kPaste,
                      .caption = QT_TRANSLATE_NOOP("Commands", "貼り付け(&P)\tCtrl+V"),
                      .keys = Keys(Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert),
                      .icon = "edit-paste",
                      .prompt = QT_TRANSLATE_NOOP(
                          "Commands", "クリップボードの内容を貼り付けます。\n貼り付け (Ctrl+V)"),
                      .run = [this] { Paste(); },
                      .enabled = [this] { return Track() != nullptr && ClipboardHasNotes(); }});
    m_commandSet.Add({.id = kDelete,
                      .caption = QT_TRANSLATE_NOOP("Commands", "削除(&D)\tDel"),
                      .keys = Keys(Qt::Key_Delete),
                      .icon = "edit-delete",
                      .prompt = QT_TRANSLATE_NOOP(
                          "Commands", "選択された音符やトラックを削除します。\n削除 (Del)"),
                      .run = [this] { Delete(); },
                      .enabled = selected});
    m_commandSet.Add(
        {.id = kProperties,
         .caption = QT_TRANSLATE_NOOP("Commands", "プロパティ(&R)...\tAlt+Enter"),
         .keys = Keys(Qt::ALT | Qt::Key_Enter, Qt::ALT | Qt::Key_Return),
         .icon = "document-properties",
         .prompt = QT_TRANSLATE_NOOP(
             "Commands",
             "選択された音符やトラックのプロパティを設定します。\nプロパティ (Alt+Enter)"),
         .run = [this] { EditProperties(); },
         .enabled = selected});
}

void CNoteCommands::RegisterSelectionCommands() {
    using namespace cmd;
    auto hasTrack = [this] { return Track() != nullptr; };
    m_commandSet.Add({.id = kFind,
                      .caption = QT_TRANSLATE_NOOP("Commands", "検索(&F)...\tCtrl+F"),
                      .keys = Keys(Qt::CTRL | Qt::Key_F),
                      .icon = "edit-find",
                      .prompt = QT_TRANSLATE_NOOP(
                          "Commands", "条件に合う音符を検索して選択します。\n検索 (Ctrl+F)"),
                      .run = [this] { Find(); },
                      .enabled = hasTrack});
    m_commandSet.Add({.id = kJump,
                      .caption = QT_TRANSLATE_NOOP("Commands", "ジャンプ(&J)...\tCtrl+G"),
                      .keys = Keys(Qt::CTRL | Qt::Key_G),
                      .icon = "go-jump",
                      .prompt = QT_TRANSLATE_NOOP(
                          "Commands", "指定した位置にキャレットを移動します。\nジャンプ (Ctrl+G)"),
                      .run = [this] { Jump(); },
                      .enabled = hasTrack});
    m_commandSet.Add({.id = kSelectAll,
                      .caption = QT_TRANSLATE_NOOP("Commands", "すべて選択(&A)\tCtrl+A"),
                      .keys = Keys(Qt::CTRL | Qt::Key_A),
                      .icon = "edit-select-all",
                      .prompt = QT_TRANSLATE_NOOP(
                          "Commands", "トラックのすべての音符を選択します。\nすべて選択 (Ctrl+A)"),
                      .run = [this] { SelectAll(); },
                      .enabled = hasTrack});
    m_commandSet.Add(
        {.id = kSelectAfter,
         .caption = QT_TRANSLATE_NOOP("Commands", "以降をすべて選択(&O)"),
         .icon = "select-after",
         .prompt = QT_TRANSLATE_NOOP(
             "Commands", "キャレット以降のすべての音符を選択します。\n以降をすべて選択"),
         .run = [this] { SelectAfter(); },
         .enabled = hasTrack});
    m_commandSet.Add({.id = kSelectInvert,
                      .caption = QT_TRANSLATE_NOOP("Commands", "選択の反転(&I)\tCtrl+I"),
                      .keys = Keys(Qt::CTRL | Qt::Key_I),
                      .icon = "select-invert",
                      .prompt = QT_TRANSLATE_NOOP(
                          "Commands", "音符の選択状態を反転します。\n選択の反転 (Ctrl+I)"),
                      .run = [this] { InvertSelection(); },
                      .enabled = hasTrack});
    m_commandSet.Add(
        {.id = kSelectClear,
         .caption = QT_TRANSLATE_NOOP("Commands", "選択の解除(&E)\tCtrl+D"),
         .keys = Keys(Qt::CTRL | Qt::Key_D),
         .icon = "select-clear",
         .prompt = QT_TRANSLATE_NOOP("Commands", "音符の選択を解除します。\n選択の解除 (Ctrl+D)"),
         .run = [this] { ClearSelection(); },
         .enabled = [this] { return SelectionCount() >= 1; }});
}

void CNoteCommands::RegisterNoteCommands() {
    using namespace cmd;
    auto hasTrack = [this] { return Track() != nullptr; };
    m_commandSet.Add({.id = kInsertMeasures,
                      .caption = QT_TRANSLATE_NOOP("Commands", "小節の挿入(&I)..."),
                      .icon = "measure-insert",
                      .prompt = QT_TRANSLATE_NOOP(
                          "Commands", "キャレットの位置に空の小節を挿入します。\n小節の挿入"),
                      .run = [this] { InsertMeasures(); },
                      .enabled = hasTrack});
    m_commandSet.Add(
        {.id = kDeleteMeasures,
         .caption = QT_TRANSLATE_NOOP("Commands", "小節の削除(&L)..."),
         .icon = "measure-delete",
         .prompt = QT_TRANSLATE_NOOP("Commands", "指定した小節を削除します。\n小節の削除"),
         .run = [this] { DeleteMeasures(); },
         .enabled = hasTrack});
    m_commandSet.Add({.id = kNoteInsert,
                      .caption = QT_TRANSLATE_NOOP("Commands", "音符の入力(&N)...\tIns"),
                      .keys = Keys(Qt::Key_Insert),
                      .icon = "note-insert",
                      .prompt = QT_TRANSLATE_NOOP(
                          "Commands", "ダイアログで音符を入力します。\n音符の入力 (Ins)"),
                      .run = [this] { EnterNote(); },
                      .enabled = hasTrack});
    m_commandSet.Add(
        {.id = kSetDefaultNote,
         .caption = QT_TRANSLATE_NOOP("Commands", "既定の音符に設定(&D)"),
         .icon = "note-default",
         .prompt = QT_TRANSLATE_NOOP(
             "Commands",
             "選択された音符の音長、キーオフ、音量を既定の音符にします。\n既定の音符に設定"),
         .run = [this] { SetAsDefault(); },
         .enabled = [this] { return SelectionCount() == 1; }});
}

// Adjusting and splitting act on every selected note.
void CNoteCommands::RegisterAdjustCommands() {
    using namespace cmd;
    auto selected = [this] { return SelectionCount() >= 1; };
    m_commandSet.Add(
        {.id = kAdjustPosition,
         .caption = QT_TRANSLATE_NOOP("Commands", "位置の調整(&P)..."),
         .icon = "adjust-position",
         .prompt = QT_TRANSLATE_NOOP("Commands", "選択された音符の位置を調整します。\n位置の調整"),
         .run = [this] { AdjustPosition(); },
         .enabled = selected});
    m_commandSet.Add(
        {.id = kAdjustLength,
         .caption = QT_TRANSLATE_NOOP("Commands", "音長の調整(&L)..."),
         .icon = "adjust-length",
         .prompt = QT_TRANSLATE_NOOP("Commands", "選択された音符の音長を調整します。\n音長の調整"),
         .run = [this] { AdjustLength(); },
         .enabled = selected});
    m_commandSet.Add(
        {.id = kAdjustVolume,
         .caption = QT_TRANSLATE_NOOP("Commands", "音量の調整(&V)..."),
         .icon = "adjust-volume",
         .prompt = QT_TRANSLATE_NOOP("Commands", "選択された音符の音量を調整します。\n音量の調整"),
         .run = [this] { AdjustVolume(); },
         .enabled = selected});
    m_commandSet.Add({.id = kSplitFree,
                      .caption = QT_TRANSLATE_NOOP("Commands", "自由分割(&S)..."),
                      .icon = "split-free",
                      .prompt = QT_TRANSLATE_NOOP(
                          "Commands", "選択された音符を指定した数に等分します。\n自由分割"),
                      .run = [this] { SplitFree(); },
                      .enabled = selected});
    for (size_t i = 0; i < std::size(kSplitCommands); ++i) {
        const int parts = kSplitParts[i];
        m_commandSet.Add({.id = kSplitCommands[i],
                          .caption = QCoreApplication::translate("Commands", "&%1連符").arg(parts),
                          .icon = "split",
                          .prompt = QCoreApplication::translate(
                                        "Commands", "選択された音符を%1等分します。\n%1連符に分割")
                                        .arg(parts),
                          .run = [this, parts] { Split(parts); },
                          .enabled = selected});
    }
}

void CNoteCommands::Copy() {
    const std::vector<uint8_t> bytes = CTrack::CopyNotes(Track()->Selection());
    auto* data = new QMimeData;
    data->setData(kClipNote, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

// A damaged block is found on a scratch track first, so it leaves neither an empty undo
// step nor a cleared selection behind.
void CNoteCommands::Paste() {
    const QByteArray block = ClipboardNotes();
    const int32_t offset = m_view.CaretPosition();
    if (CTrack scratch; !scratch.PasteNotes(Bytes(block), offset)) {
        QApplication::beep();
        return;
    }
    m_edit.Edit(kNoteViews, [&](CProject&) {
        CTrack& track = ChangingTrack();
        track.SelectNote(nullptr, false);
        track.PasteNotes(Bytes(block), offset);
        for (const CNote* note : track.Selection())
            m_edit.MarkNote(track, *note);
    });
}

void CNoteCommands::Delete() {
    m_edit.Edit(kNoteViews, [&](CProject&) {
        CTrack& track = ChangingTrack();
        const CConstNoteArray selected(track.Selection().begin(), track.Selection().end());
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
            m_edit.MarkNote(track, **it);
            track.RemoveNote(*it);
        }
    });
}

void CNoteCommands::Find() {
    CFindDialog dialog(m_dialogParent);
    dialog.SetBeats(&m_edit.Project().data.beats);
    if (m_findStore != nullptr)
        dialog.SetStore(m_findStore);
    else
        dialog.SetFindData(m_findData);
    if (Exec(dialog) != QDialog::Accepted)
        return;
    m_findData = dialog.GetFindData();
    // Ctrl held as the search is confirmed adds the matches to the selection.
    const bool extend = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    m_edit.FindNotes(m_findData, extend);
    m_view.NotesChanged();
}

void CNoteCommands::Jump() {
    CJumpDialog dialog(m_dialogParent);
    dialog.SetBeats(&m_edit.Project().data.beats);
    dialog.SetPosition(m_view.CaretPosition());
    if (Exec(dialog) != QDialog::Accepted)
        return;
    const int32_t position = dialog.GetPosition();
    if (position >= 0)
        m_view.SetCaret(position, m_view.CaretRow());
}

void CNoteCommands::SelectAll() {
    m_edit.SelectNote(nullptr, true);
    m_view.NotesChanged();
}

void CNoteCommands::SelectAfter() {
    const CTrack& track = *Track();
    if (!(QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier))
        m_edit.SelectNote(nullptr, false);
    const int32_t caret = m_view.CaretPosition();
    for (const CNote* note : track.Notes())
        if (note->selected == 0 && caret < note->End())
            m_edit.SelectNote(note, true);
    m_view.NotesChanged();
}

void CNoteCommands::InvertSelection() {
    const CTrack& track = *Track();
    for (const CNote* note : track.Notes())
        m_edit.SelectNote(note, note->selected == 0);
    m_view.NotesChanged();
}

void CNoteCommands::ClearSelection() {
    m_edit.SelectNote(nullptr, false);
    m_view.NotesChanged();
}

bool CNoteCommands::AskMeasures(const QString& caption, int32_t& measure, int32_t& count) {
    const CBeats& beats = m_edit.Project().data.beats;
    CMeasureDialog dialog(m_dialogParent);
    dialog.setWindowTitle(caption);
    dialog.SetMeasure(beats.TickToMeasure(m_view.CaretPosition()) + 1);
    dialog.SetCount(1);
    if (Exec(dialog) != QDialog::Accepted)
        return false;
    measure = dialog.GetMeasure() - 1;
    count = dialog.GetCount();
    return measure >= 0 && count > 0;
}

void CNoteCommands::InsertMeasures() {
    const QString caption = tr("小節の挿入");
    int32_t measure = 0;
    int32_t count = 0;
    if (!AskMeasures(caption, measure, count))
        return;
    if (!m_edit.Project().CanInsertMeasure(measure)) {
        m_prompts.Error(tr("挿入位置に音符が重なっています。\n小節を挿入できません。"), caption);
        return;
    }
    m_edit.Edit(kNoteViews, [&](CProject& project) {
        project.InsertMeasures(measure, InsertableCount(project, measure, count));
    });
}

void CNoteCommands::DeleteMeasures() {
    const QString caption = tr("小節の削除");
    int32_t measure = 0;
    int32_t count = 0;
    if (!AskMeasures(caption, measure, count))
        return;
    if (!m_edit.Project().CanDeleteMeasures(measure, count)) {
        m_prompts.Error(tr("削除位置に音符が重なっています。\n小節を削除できません。"), caption);
        return;
    }
    m_edit.Edit(kNoteViews, [&](CProject& project) {
        project.DeleteMeasures(measure, DeletableCount(project, measure, count));
    });
}

void CNoteCommands::ReplaceSelected(const std::function<void(CNote&)>& change) {
    m_edit.Edit(kNoteViews, [&](CProject&) {
        CTrack& track = ChangingTrack();
        // ReplaceNote keeps each note's place in the selection, so the index walks on.
        for (size_t i = 0; i < track.Selection().size(); ++i) {
            const CNote* old = track.Selection()[i];
            CNote values = *old;
            change(values);
            m_edit.MarkNote(track, *old);
            m_edit.MarkNote(track, *track.ReplaceNote(old, values));
        }
    });
}

void CNoteCommands::EditProperties() {
    const CTrack& track = *Track();
    const CConstNoteArray notes(track.Selection().begin(), track.Selection().end());
    CNoteDialog dialog(m_dialogParent);
    dialog.setWindowTitle(notes.size() >= 2 ? tr("%1 個の音符のプロパティ").arg(notes.size())
                                            : tr("音符のプロパティ"));
    dialog.SetBeats(&m_edit.Project().data.beats);
    dialog.SetNotes(notes);
    if (Exec(dialog) != QDialog::Accepted)
        return;
    const NOTE_CHANGES changes = dialog.GetChanges();
    ReplaceSelected([&](CNote& note) { changes.ApplyTo(note); });
}

CNote CNoteCommands::Caret() const {
    CNote caret;
    caret.position = m_view.CaretPosition();
    caret.key = m_view.CaretRow();
    caret.length = m_defaults.Length();
    caret.keyoff = m_defaults.Keyoff();
    caret.volume = m_defaults.Volume();
    return caret;
}

void CNoteCommands::EnterNote() {
    CNote note = Caret();
    CNoteDialog dialog(m_dialogParent);
    dialog.setWindowTitle(tr("音符の入力"));
    dialog.SetBeats(&m_edit.Project().data.beats);
    dialog.SetNotes({&note});
    if (Exec(dialog) != QDialog::Accepted)
        return;
    dialog.GetChanges().ApplyTo(note);
    m_edit.Edit(kNoteViews, [&](CProject&) {
        CTrack& track = ChangingTrack();
        m_edit.MarkNote(track, *track.AddNote(note));
    });
}

void CNoteCommands::SetAsDefault() {
    const CNote& note = *Track()->Selection().front();
    m_defaults.SetLength(note.length);
    m_defaults.SetKeyoff(note.keyoff);
    m_defaults.SetVolume(note.volume);
    m_view.NotesChanged();
}

bool CNoteCommands::AskAdjustment(CAdjustDialog& dialog, int32_t& mode, int32_t& amount,
                                  const std::function<bool(int32_t, int32_t)>& refuse) {
    dialog.SetMode(mode);
    dialog.SetAmount(amount);
    for (;;) {
        if (Exec(dialog) != QDialog::Accepted)
            return false;
        mode = dialog.GetMode();
        amount = dialog.GetAmount();
        if (!refuse || !refuse(mode, amount))
            return true;
    }
}

bool CNoteCommands::AnyMovesBeforeZero(int32_t increment) const {
    const std::span<const CNote* const> selected = Track()->Selection();
    return std::any_of(selected.begin(), selected.end(), [increment](const CNote* note) {
        return int64_t{note->position} + increment < 0;
    });
}

void CNoteCommands::AdjustPosition() {
    CAdjustDialog dialog(CAdjustDialog::Kind::Position, m_dialogParent);
    const auto refuse = [this](int32_t mode, int32_t amount) {
        if (mode == CAdjustDialog::kFit || !AnyMovesBeforeZero(amount))
            return false;
        m_prompts.Error(tr("音符のマイナスの位置へ移動しようとしています。"), tr("位置の調整"));
        return true;
    };
    if (!AskAdjustment(dialog, m_positionMode, m_positionAmount, refuse))
        return;
    const CBeats& beats = m_edit.Project().data.beats;
    const int32_t fit = m_defaults.Fit();
    const bool snap = m_positionMode == CAdjustDialog::kFit;
    const int32_t amount = m_positionAmount;
    ReplaceSelected([&](CNote& note) {
        note.position =
            snap ? SnapTick(beats, fit, note.position) : ClampTick(int64_t{note.position} + amount);
    });
}

void CNoteCommands::AdjustLength() {
    CAdjustDialog dialog(CAdjustDialog::Kind::Length, m_dialogParent);
    if (!AskAdjustment(dialog, m_lengthMode, m_lengthAmount))
        return;
    const CBeats& beats = m_edit.Project().data.beats;
    const int32_t fit = m_defaults.Fit();
    const bool snap = m_lengthMode == CAdjustDialog::kFit;
    const int32_t amount = m_lengthAmount;
    ReplaceSelected([&](CNote& note) {
        note.length = snap ? FittedLength(beats, fit, note)
                           : static_cast<int32_t>(
                                 std::clamp<int64_t>(int64_t{note.length} + amount, 1, kLastTick));
    });
}

void CNoteCommands::AdjustVolume() {
    CAdjustDialog dialog(CAdjustDialog::Kind::Volume, m_dialogParent);
    int32_t mode = CAdjustDialog::kChange;
    if (!AskAdjustment(dialog, mode, m_volumeAmount))
        return;
    const int32_t amount = m_volumeAmount;
    ReplaceSelected([amount](CNote& note) {
        note.volume =
            static_cast<int32_t>(std::clamp<int64_t>(int64_t{note.volume} + amount, 0, 255));
    });
}

// The parts become the selection in place of the split notes, in the notes' order.
void CNoteCommands::Split(int parts) {
    m_edit.Edit(kNoteViews, [&](CProject&) {
        CTrack& track = ChangingTrack();
        const CConstNoteArray originals(track.Selection().begin(), track.Selection().end());
        for (const CNote* original : originals) {
            CNote part = *original;
            const int64_t length = original->length;
            for (int i = 0; i < parts; ++i) {
                const int64_t from = length * i / parts;
                const int64_t to = length * (i + 1) / parts;
                part.position = ClampTick(original->position + from);
                part.length = static_cast<int32_t>(std::max<int64_t>(to - from, 1));
                const CNote* added = track.AddNote(part);
                track.SelectNote(added, true);
                m_edit.MarkNote(track, *added);
            }
            m_edit.MarkNote(track, *original);
            track.RemoveNote(original);
        }
    });
}

void CNoteCommands::SplitFree() {
    CSplitDialog dialog(m_dialogParent);
    dialog.SetCount(3);
    if (Exec(dialog) != QDialog::Accepted)
        return;
    Split(std::clamp(dialog.GetCount(), 1, 256));
}
