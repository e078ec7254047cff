// How fast the piano roll paints and drags.
//
// Usage: piano_roll_bench   (runs on the offscreen platform unless QT_QPA_PLATFORM is set)
//
// Prints: the time to paint a whole 1600 × 900 view of a project of 100 000 notes (four
// tracks of 25 000, the other tracks shown too) at the default zoom and zoomed far out,
// at the start and in the middle of the song (target: well under 16 ms, one frame); and,
// in the same project, the cost of one mouse-move step while 1 000 selected notes are
// dragged, handling the event alone and with the repaint it causes, plus the first step
// that records the undo snapshot.

#include "BenchTiming.h"

#include "SilentPrompts.h"
#include "common/Options.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CNoteDefaults.h"
#include "ui/pianoroll/CPianoRollWnd.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kTracks = 4;
constexpr int kNotesPerTrack = 25000;
constexpr int kSpacing = 120; // ticks between note starts
constexpr int kSelected = 1000;
constexpr int kSteps = 200;

CProject MakeSong() {
    CProject project;
    project.Reset();
    while (project.tracks.size() < kTracks)
        project.tracks.emplace_back();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> row(30, 60);
    std::uniform_int_distribution<int> length(60, 480);
    for (int t = 0; t < kTracks; ++t)
        for (int i = 0; i < kNotesPerTrack; ++i) {
            CNote note;
            note.position = i * kSpacing;
            note.length = length(random);
            note.key = row(random);
            note.volume = 64 + i % 192;
            project.tracks[static_cast<size_t>(t)].AddNote(note);
        }
    project.currentTrack = 0;
    return project;
}

void SendMouse(QWidget* target, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void BenchPaint(CPianoRollWnd& roll, OPTIONS& options, int zoomX, int32_t firstTick,
                const char* label) {
    options.pianoRollZoomX = zoomX;
    roll.Refresh(false);
    roll.horizontalScrollBar()->setValue(firstTick);
    QWidget* view = roll.viewport();
    const double ms = MedianMs(21, [&] {
        roll.Refresh(false); // the whole picture is painted again
        view->repaint();
    });
    std::printf("paint %-34s %8.2f ms\n", label, ms);
}

void BenchDrag(CPianoRollWnd& roll, CEditController& edit, OPTIONS& options) {
    options.pianoRollZoomX = 192;
    options.notePlay = 0;
    roll.Refresh(true);
    const CTrack& track = edit.Project().tracks[0];
    const int first = kNotesPerTrack / 2;
    const CNote* pressed = nullptr;
    int index = 0;
    const int rowBefore = [&] {
        int row = -1;
        int i = 0;
        track.ForEachNote([&](const CNote* note) {
            if (i++ == first)
                row = note->key;
        });
        return row;
    }();
    track.ForEachNote([&](const CNote* note) {
        if (index >= first && index < first + kSelected) {
            edit.SelectNote(note, true);
            if (pressed == nullptr)
                pressed = note;
        }
        ++index;
    });
    roll.SetCaret(pressed->position, pressed->key);
    roll.horizontalScrollBar()->setValue(pressed->position);
    QApplication::processEvents();
    const CPianoRollGeometry g = roll.Geometry();
    QWidget* view = roll.viewport();
    const QPoint start(static_cast<int>(g.XOfTick(pressed->position)) + 1,
                       g.YOfRow(pressed->key) + g.ZoomY() / 2);
    SendMouse(view, QEvent::MouseButtonPress, start, Qt::LeftButton);
    auto t0 = Clock::now();
    SendMouse(view, QEvent::MouseMove, start + QPoint(0, g.ZoomY()), Qt::LeftButton);
    const double firstStep = MillisecondsSince(t0);
    std::vector<double> handle;
    std::vector<double> withPaint;
    for (int step = 0; step < kSteps; ++step) {
        // Alternate rows so every step really moves the notes.
        const QPoint pos = start + QPoint(0, (step % 2 == 0 ? 0 : 1) * g.ZoomY());
        t0 = Clock::now();
        SendMouse(view, QEvent::MouseMove, pos, Qt::LeftButton);
        handle.push_back(MillisecondsSince(t0));
        view->repaint();
        withPaint.push_back(MillisecondsSince(t0));
    }
    SendMouse(view, QEvent::MouseButtonRelease, start, Qt::NoButton);
    // The last step left the notes one row lower than they started.
    const CNote* moved = track.Selection().front();
    std::printf("dragged %zu notes, first from row %d to row %d\n", track.Selection().size(),
                rowBefore, moved->key);
    std::sort(handle.begin(), handle.end());
    std::sort(withPaint.begin(), withPaint.end());
    std::printf("drag of %d selected notes, first step (undo snapshot)  %8.2f ms\n", kSelected,
                firstStep);
    std::printf("drag step, event only        median %8.3f ms  max %8.3f ms\n",
                handle[handle.size() / 2], handle.back());
    std::printf("drag step, event and repaint median %8.3f ms  max %8.3f ms\n",
                withPaint[withPaint.size() / 2], withPaint.back());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("TSQ_AUDIO_DEVICE"))
        qputenv("TSQ_AUDIO_DEVICE", "null");
    QApplication application(argc, argv);
    CEditController edit;
    CNoteDefaults defaults;
    OPTIONS options;
    options.viewInactiveNote = 1;
    options.viewInactiveMuteNoteColor = 1;
    options.viewGradation = 1;
    SilentPrompts prompts;
    edit.ReplaceProject(MakeSong());
    std::printf("%d notes in %d tracks, %d ticks apart per track\n", kTracks * kNotesPerTrack,
                kTracks, kSpacing);
    CPianoRollWnd roll(edit, defaults, options, nullptr, &prompts);
    roll.resize(1600, 900);
    roll.show();
    roll.SetVerticalScroll(25);
    QApplication::processEvents();
    const int32_t middle = kNotesPerTrack * kSpacing / 2;
    BenchPaint(roll, options, 192, 0, "zoom 192, song start");
    BenchPaint(roll, options, 192, middle, "zoom 192, song middle");
    BenchPaint(roll, options, 16, middle, "zoom 16 (94 whole notes), middle");
    BenchDrag(roll, edit, options);
    return 0;
}
