#pragma once
// Qt's own texts (standard buttons, file dialogs, the edit boxes' context menu) in the
// language of the interface. Both programs call this once their application object exists.
//
// Thread: the thread of the application object, before any window is shown.

#include <QLocale>

// Installs Qt's catalogue ("qtbase_<language>.qm" from Qt's translations folder) for
// `language` on the application, replacing the one an earlier call installed. Returns
// false, leaving Qt's built-in English texts, when there is no application object or the
// catalogue is not installed.
bool InstallQtTranslation(QLocale::Language language);
