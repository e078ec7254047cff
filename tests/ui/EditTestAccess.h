#pragma once
// The song inside an edit controller, for setting up a test: what a test changes here goes
// around the edit path on purpose, so it leaves no undo step, no marks and no modified flag.

#include "model/CProject.h"
#include "ui/CEditController.h"

struct EditControllerTestAccess {
    static CProject& Song(CEditController& edit) { return edit.m_project; }
};

inline CProject& SongOf(CEditController& edit) {
    return EditControllerTestAccess::Song(edit);
}
