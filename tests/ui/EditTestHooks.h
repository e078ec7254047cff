#pragma once
// What the UI tests do to the edit controller besides driving it:
// - SongOf: the song inside a controller, for setting up a test. What a test changes there
//   goes around the edit path on purpose, so it leaves no undo step, marks or modified flag.
// - CheckInvariantsAfterEveryStep: every controller of the program checks the song's
//   invariants after each commit, undo and redo, in every build type, and a broken one
//   fails the running test with the fault. The test mains and the piano-roll rig turn it
//   on, so no test has to check by hand.

#include "model/CProject.h"
#include "ui/CEditController.h"

#include <QString>
#include <QTest>

struct EditControllerTestAccess {
    static CProject& Song(CEditController& edit) { return edit.m_project; }
};

inline CProject& SongOf(CEditController& edit) {
    return EditControllerTestAccess::Song(edit);
}

inline void CheckInvariantsAfterEveryStep() {
    CEditController::SetInvariantHandler(
        [](const QString& fault) { QTest::qFail(qPrintable(fault), __FILE__, __LINE__); });
}
