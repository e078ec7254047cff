#pragma once
// A song, its edit path and the note commands without a piano roll: a recording stand-in
// for the view, scripted message boxes, and dialogs answered by drivers that type into
// the shown dialog with real key and mouse events.

#include "EditTestHooks.h"
#include "UiTestSupport.h"

#include "../dialogs/DialogTestUtil.h"
#include "ui/CEditController.h"
#include "ui/CNoteDefaults.h"
#include "ui/pianoroll/CNoteCommands.h"
#include "ui/pianoroll/IPianoRollView.h"

#include <QDialog>
#include <QLineEdit>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

class RecordingRollView : public IPianoRollView {
public:
    int32_t position = 0;
    int row = 0;
    int notesChanged = 0;

    int32_t CaretPosition() const override { return position; }
    int CaretRow() const override { return row; }
    void SetCaret(int32_t newPosition, int newRow) override {
        position = newPosition;
        row = newRow;
    }
    void NotesChanged() override { ++notesChanged; }
};

// Answers the dialogs in the order they open. Each driver works on the shown dialog and
// closes it (OK or Cancel); a dialog left open, or one without a driver, is cancelled.
class DialogScript {
public:
    using Driver = std::function<void(QDialog&)>;

    std::vector<Driver> drivers;
    QStringList titles;

    int Run(QDialog& dialog) {
        titles << dialog.windowTitle();
        dlgtest::ShowActive(&dialog);
        const size_t index = m_next++;
        if (index < drivers.size())
            drivers[index](dialog);
        if (dialog.isVisible())
            dialog.reject();
        return dialog.result();
    }

private:
    size_t m_next = 0;
};

struct NoteRig {
    CEditController edit;
    CNoteDefaults defaults;
    ScriptedPrompts prompts;
    OPTIONS options;
    RecordingRollView view;
    DialogScript script;
    CNoteCommands commands{edit, defaults, prompts, options, view, nullptr};

    NoteRig() {
        edit.ReplaceProject(MakeSong(0));
        commands.SetDialogRunner([this](QDialog& dialog) { return script.Run(dialog); });
    }

    CTrack& Track() { return SongOf(edit).tracks[0]; }

    // A note put straight into the song, outside the edit path (the song before a test).
    const CNote* Add(int32_t position, int32_t length, int32_t volume = 255, bool select = true) {
        CNote values;
        values.position = position;
        values.length = length;
        values.key = 40;
        values.volume = volume;
        const CNote* note = Track().AddNote(values);
        if (select)
            Track().SelectNote(note, true);
        return note;
    }

    // (position, length) of every note, sorted.
    std::vector<std::pair<int32_t, int32_t>> Spans() {
        std::vector<std::pair<int32_t, int32_t>> spans;
        for (const CNote* note : Track().Notes())
            spans.emplace_back(note->position, note->length);
        std::sort(spans.begin(), spans.end());
        return spans;
    }

    // The notes sorted by position.
    std::vector<const CNote*> ByPosition() {
        const CConstNoteArray notes = Track().Notes();
        std::vector<const CNote*> sorted(notes.begin(), notes.end());
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const CNote* a, const CNote* b) { return a->position < b->position; });
        return sorted;
    }

    // Positions of the selected notes in selection order.
    std::vector<int32_t> Selected() {
        std::vector<int32_t> positions;
        for (const CNote* note : Track().Selection())
            positions.push_back(note->position);
        return positions;
    }

    // The selection array and the notes' flags describe the same notes.
    bool SelectionAgrees() {
        size_t flagged = 0;
        for (const CNote* note : Track().Notes())
            flagged += note->selected != 0 ? 1 : 0;
        for (const CNote* note : Track().Selection())
            if (note->selected == 0)
                return false;
        return flagged == Track().Selection().size();
    }

    bool UnbuiltSecond(size_t second) const {
        const CProjectModified& unbuilt = edit.Unbuilt();
        return second < unbuilt.size() && unbuilt[second] != 0;
    }
};

// The text a number box shows.
inline QString BoxText(QWidget* box) {
    return box->findChild<QLineEdit*>()->text();
}
