#pragma once
// F1 and the about box's link: the manual opens in the desktop's browser through the
// launcher; when the desktop cannot open it, in a window of the editor's own; when there is
// no manual, a message says where it was looked for.
//
// Thread: the user-interface thread only.

#include "ui/CManualWindow.h"
#include "ui/widgets/InterfaceLanguage.h"

#include <QPointer>
#include <QString>

class IDesktopLauncher;
class IUserPrompts;
class QWidget;

class CManualOpener {
public:
    // `window` parents the fallback window; every reference must outlive the opener.
    CManualOpener(IDesktopLauncher& launcher, IUserPrompts& prompts, QWidget& window,
                  QString programFolder);

    // The language code the manual follows: the interface's unless set.
    void SetLanguage(const QString& languageCode) { m_language = languageCode; }
    void Open();
    // The fallback window, once it has been needed.
    CManualWindow* Window() const { return m_window; }

private:
    void ShowInOwnWindow(const QString& page);

    IDesktopLauncher& m_launcher;
    IUserPrompts& m_prompts;
    QWidget& m_parent;
    QString m_programFolder;
    QString m_language = InstalledLanguageCode();
    QPointer<CManualWindow> m_window;
};
