#pragma once
// Hands files to programs outside the editor. CDesktopLauncher is the real one; tests
// record the calls instead.

#include <QString>

class IDesktopLauncher {
public:
    virtual ~IDesktopLauncher() = default;
    // Opens a file with the program the desktop associates with it.
    virtual bool OpenWithDefaultProgram(const QString& path) = 0;
    // Starts a program detached, with one argument, and does not wait for it.
    virtual bool StartDetached(const QString& program, const QString& argument) = 0;
    // Shows a file selected in the desktop's file manager, or a folder opened in it.
    virtual bool ShowInFileManager(const QString& path, bool selectFile) = 0;
};
