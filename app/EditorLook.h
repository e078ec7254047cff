#pragma once
// The editor's look: a Japanese-capable font, the program icon and the application's
// names (which QSettings and the desktop use).

class QApplication;

void ApplyEditorLook(QApplication& application);
