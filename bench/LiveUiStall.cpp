// The longest time the editor's event loop is away while the song plays live and the user
// edits: a 1 ms timer notes every gap between its runs while a 100 ms timer edits the notes
// just ahead of the play line (and every other time undoes the edit), so each edit starts a
// live build, cancels the one running and moves the metronome's clicks along.

#include "LiveUiStall.h"

#include "BenchTiming.h"
#include "SilentPrompts.h"
#include "app/CTSQApp.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CPlaybackController.h"
#include "ui/CommandIds.h"
#include "ui/pianoroll/CPianoRollWnd.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kEditEveryMs = 100;
constexpr int kEdits = 100;

// Moves by a semitone the notes of unmuted tracks starting within a whole note after
// `tick`; false when there are none.
bool MoveNotesAhead(CEditController& edit, int32_t tick) {
    bool any = false;
    edit.Edit(CEditController::kViewAll, [&](CProject& song) {
        for (CTrack& track : song.tracks) {
            if (track.settings.mute)
                continue;
            std::vector<const CNote*> notes;
            track.ForEachNote([&](const CNote* n) {
                if (n->position >= tick && n->position < tick + 1920 && n->key >= 1)
                    notes.push_back(n);
            });
            for (const CNote* n : notes) {
                CNote moved = *n;
                moved.key -= 1;
                edit.MarkNote(track, moved);
                track.UpdateNote(n, moved);
                any = true;
            }
        }
    });
    return any;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto start = Clock::now();
    while (!done() && MillisecondsSince(start) < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

void PrintStalls(std::vector<double> gaps, int edits) {
    if (gaps.empty()) {
        std::printf("user-interface thread: nothing measured\n");
        return;
    }
    std::sort(gaps.begin(), gaps.end());
    const double p99 = gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];
    std::printf("user-interface thread while playing live with an edit every %d ms (%d edits, "
                "metronome on): longest time away %.1f ms, 99th percentile %.1f ms "
                "(target: none over 16 ms)\n",
                kEditEveryMs, edits, gaps.back(), p99);
}

} // namespace

int RunUiStallBench(const std::string& songPath) {
    QTemporaryDir work;
    const QString song = work.filePath("stall.tqp");
    if (!QFile::copy(QString::fromStdString(songPath), song)) {
        std::fprintf(stderr, "live_bench: cannot copy %s\n", songPath.c_str());
        return 1;
    }
    qputenv("TSQ_AUDIO_DEVICE", "null");
    SilentPrompts prompts;
    CTSQApp app(&prompts);
    if (app.Start({song}).has_value() || app.Frame() == nullptr) {
        std::fprintf(stderr, "live_bench: cannot open %s in the editor\n", songPath.c_str());
        return 1;
    }
    CMainFrame& frame = *app.Frame();
    app.Options().livePlayback = 1;
    frame.RunCommand(cmd::kMetronome);
    frame.RunCommand(cmd::kPlay);
    if (!WaitFor([&] { return frame.Playback().IsPlaying(); }, 600000)) {
        std::fprintf(stderr, "live_bench: the editor did not start playing\n");
        return 1;
    }
    std::vector<double> gaps;
    auto last = Clock::now();
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        gaps.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    });
    int edits = 0;
    QTimer editor;
    QObject::connect(&editor, &QTimer::timeout, [&] {
        CEditController& edit = frame.Edit();
        if (edits % 2 == 1 && edit.CanUndo())
            edit.Undo();
        else
            MoveNotesAhead(edit, frame.PianoRollWnd().PlayLine() + 480);
        ++edits;
    });
    probe.start(1);
    editor.start(kEditEveryMs);
    WaitFor([&] { return edits >= kEdits || !frame.Playback().IsPlaying(); }, 60000);
    probe.stop();
    editor.stop();
    frame.RunCommand(cmd::kStop);
    PrintStalls(std::move(gaps), edits);
    frame.Edit().SetModifiedFlag(false);
    app.Shutdown();
    return 0;
}
