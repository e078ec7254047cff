// A long session of the editor: random edits with undo and redo, builds and saves on a copy
// of a song, under the offscreen platform. Run through soak.sh.
//
// Usage: soak_bench SONG.tqp [EDITS]   (10000 edits unless given)
//
// Prints: the resident memory after the undo ring has filled and at the end (growth past
// the ring means a leak), peak memory, the edits, undos, redos, builds and saves done, and
// fails (exit status 1) when the song breaks the model's invariants or the saved file does
// not reload equal to the song in memory.

#include "SilentPrompts.h"
#include "app/CTSQApp.h"
#include "model/CProject.h"
#include "model/ModelInvariants.h"
#include "ui/CBuildController.h"
#include "ui/CDocument.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/PathUtil.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

namespace {

// "VmRSS" or "VmHWM" of this process, in KiB.
long MemoryKiB(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::stol(line.substr(key.size() + 1));
    return -1;
}

struct COUNTS {
    int edits = 0, undos = 0, redos = 0, builds = 0, saves = 0;
};

class Soak {
public:
    explicit Soak(CMainFrame& frame) : m_frame(frame), m_edit(frame.Edit()) {}

    void Step() {
        const int choice = std::uniform_int_distribution<int>(0, 99)(m_random);
        if (choice < 15 && m_edit.CanUndo()) {
            m_edit.Undo();
            ++counts.undos;
        } else if (choice < 25 && m_edit.CanRedo()) {
            m_edit.Redo();
            ++counts.redos;
        } else {
            EditNotes(choice);
            ++counts.edits;
        }
    }

    bool BuildAndSave() {
        QEventLoop loop;
        bool built = false;
        m_frame.Builds().Build(false, [&](bool ok) {
            built = ok;
            loop.quit();
        });
        if (m_frame.Builds().IsBuilding())
            loop.exec();
        counts.builds += built;
        const bool saved = m_frame.Document().Save();
        counts.saves += saved;
        return built && saved;
    }

    COUNTS counts;

private:
    int Random(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }

    void EditNotes(int choice) {
        if (m_edit.Project().tracks.empty())
            return;
        const int index = Random(0, static_cast<int>(m_edit.Project().tracks.size()) - 1);
        m_edit.Edit(CEditController::kViewAll, [&](CProject& project) {
            CTrack& track = project.tracks[static_cast<size_t>(index)];
            const CConstNoteArray notes = track.Notes();
            if (choice < 60 || notes.empty()) {
                CNote values;
                values.position = Random(0, 120) * 240;
                values.length = Random(1, 8) * 120;
                values.key = Random(20, 70);
                m_edit.MarkNote(track, *track.AddNote(values));
                return;
            }
            const CNote* note =
                notes[static_cast<size_t>(Random(0, static_cast<int>(notes.size()) - 1))];
            m_edit.MarkNote(track, *note);
            if (choice < 80) {
                track.RemoveNote(note);
                return;
            }
            CNote moved = *note;
            moved.position = Random(0, 120) * 240;
            m_edit.MarkNote(track, *track.ReplaceNote(note, moved));
        });
    }

    CMainFrame& m_frame;
    CEditController& m_edit;
    std::mt19937 m_random{19};
};

bool Check(const CProject& song, int step) {
    if (const Result r = CheckInvariants(song); !r) {
        std::printf("invariant broken after step %d: %s\n", step, r.message.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: soak_bench SONG.tqp [EDITS]\n");
        return 2;
    }
    const int steps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10000;
    QTemporaryDir work;
    const QString song = work.filePath("soak.tqp");
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), song)) {
        std::fprintf(stderr, "cannot copy %s\n", argv[1]);
        return 2;
    }
    SilentPrompts prompts;
    CTSQApp app(&prompts);
    if (app.Start({song}).has_value() || app.Frame()->Document().Path().isEmpty()) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 2;
    }
    Soak soak(*app.Frame());
    long ringFull = -1;
    for (int step = 1; step <= steps; ++step) {
        soak.Step();
        if (step % 500 == 0 && !Check(app.Frame()->Edit().Project(), step))
            return 1;
        if (step % 1000 == 0 && !soak.BuildAndSave())
            std::printf("build or save failed after step %d\n", step);
        if (step == std::min(steps, 1000))
            ringFull = MemoryKiB("VmRSS");
    }
    const long end = MemoryKiB("VmRSS");
    std::printf("edits %d, undos %d, redos %d, builds %d, saves %d\n", soak.counts.edits,
                soak.counts.undos, soak.counts.redos, soak.counts.builds, soak.counts.saves);
    std::printf("resident memory: %ld KiB with the undo ring full, %ld KiB at the end (%+ld)\n",
                ringFull, end, end - ringFull);
    std::printf("peak memory: %ld KiB\n", MemoryKiB("VmHWM"));
    soak.BuildAndSave();
    CProject reloaded;
    const CProject& inMemory = app.Frame()->Edit().Project();
    if (!reloaded.Load(ToFsPath(song)) || reloaded.SaveToBytes() != inMemory.SaveToBytes()) {
        std::printf("the saved file does not reload equal to the song in memory\n");
        return 1;
    }
    std::printf("the saved file reloads equal to the song in memory\n");
    app.Frame()->Edit().SetModifiedFlag(false);
    app.Shutdown();
    return Check(reloaded, steps) ? 0 : 1;
}
