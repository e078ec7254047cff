#pragma once
// IDesktopLauncher on QDesktopServices, QProcess and the freedesktop file-manager service.

#include "ui/IDesktopLauncher.h"

class CDesktopLauncher : public IDesktopLauncher {
public:
    bool OpenWithDefaultProgram(const QString& path) override;
    bool StartDetached(const QString& program, const QString& argument) override;
    bool ShowInFileManager(const QString& path, bool selectFile) override;
};
