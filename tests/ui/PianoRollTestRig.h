#pragma once
// A piano roll on its own, the way the frame makes it: the edit path, the default note, the
// options and scripted message boxes, in a top-level window of a fixed size. Helpers turn
// ticks and rows into client pixels of the pane and drive it with real mouse events. Every
// edit is checked against the song's invariants.

#include "EditTestHooks.h"

#include "common/Options.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CNoteDefaults.h"
#include "ui/IUserPrompts.h"
#include "ui/pianoroll/CPianoRollWnd.h"

#include <QHBoxLayout>
#include <QTest>
#include <QWidget>

#include <memory>
#include <vector>

class RigPrompts : public IUserPrompts {
public:
    QStringList texts;
    QString OpenFileName(const FileRequest&) override { return {}; }
    QString SaveFileName(const FileRequest&) override { return {}; }

protected:
    std::optional<Answer> Ask(const QString& text, const QString&, Icon, Buttons buttons) override {
        texts << text;
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
};

class PianoRollRig {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 900;

    PianoRollRig() {
        CheckInvariantsAfterEveryStep();
        // Predictable pictures and gestures, whatever the built-in defaults become.
        options.pianoRollZoomX = 192;
        options.pianoRollZoomY = 12;
        options.crNote = 0x0000FF; // red
        options.crSelectedNote = 0xFF0000;
        options.viewInactiveNote = 0;
        options.viewGradation = 0;
        options.viewPortamento = 1;
        options.viewPosCaret = 0;
        options.viewNoteCaret = 0;
        options.scrollMeasure = 0;
        options.noteSingleClickAdd = 1;
        options.noteAdd = 2;
        options.noteRightDragLength = 1;
        options.noteSelectDefault = 0;
        options.notePlay = 0;
        options.keyboardPlay = 0;
        window.resize(kWidth, kHeight);
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        roll = new CPianoRollWnd(edit, defaults, options, &window, &prompts);
        layout->addWidget(roll);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        roll->Refresh(true);
    }

    CTrack& Track() { return SongOf(edit).tracks[0]; }
    QWidget* View() { return roll->viewport(); }
    CPianoRollGeometry Geometry() const { return roll->Geometry(); }

    const CNote* Add(int32_t position, int row, int32_t length = 480, int volume = 255) {
        CNote values;
        values.position = position;
        values.key = row;
        values.length = length;
        values.volume = volume;
        const CNote* note = Track().AddNote(values);
        roll->Refresh(false);
        return note;
    }

    // Client pixel `dx` right of the tick's line, in the middle of the row.
    QPoint At(int32_t tick, int row, int dx = 0) const {
        const CPianoRollGeometry g = Geometry();
        return QPoint(static_cast<int>(g.XOfTick(tick)) + dx, g.YOfRow(row) + g.ZoomY() / 2);
    }

    void Press(const QPoint& pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mousePress(View(), Qt::LeftButton, mods, pos);
    }
    void MoveTo(const QPoint& pos) { QTest::mouseMove(View(), pos); }
    void Release(const QPoint& pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mouseRelease(View(), Qt::LeftButton, mods, pos);
    }
    // What a user's double click delivers: press, release, double click, release.
    void DoubleClick(const QPoint& pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Press(pos, mods);
        Release(pos, mods);
        QTest::mouseDClick(View(), Qt::LeftButton, mods, pos);
        Release(pos, mods);
    }
    // Press, a few steps along the way, release.
    void Drag(const QPoint& from, const QPoint& to, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Press(from, mods);
        for (int step = 1; step <= 4; ++step)
            MoveTo(from + (to - from) * step / 4);
        Release(to, mods);
    }

    // The notes of the track as (position, row, selected), in time order.
    struct SEEN {
        int32_t position;
        int row;
        bool selected;
        bool operator==(const SEEN&) const = default;
    };
    std::vector<SEEN> Notes() {
        std::vector<SEEN> seen;
        Track().ForEachNote([&](const CNote* n) {
            seen.push_back({n->position, n->key, n->selected != 0});
        });
        std::sort(seen.begin(), seen.end(), [](const SEEN& a, const SEEN& b) {
            return a.position != b.position ? a.position < b.position : a.row < b.row;
        });
        return seen;
    }

    QImage Picture() { return View()->grab().toImage(); }

    CEditController edit;
    CNoteDefaults defaults;
    OPTIONS options;
    RigPrompts prompts;
    QWidget window;
    CPianoRollWnd* roll = nullptr;
};
