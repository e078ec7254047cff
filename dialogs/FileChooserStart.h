#pragma once
// Where a file chooser opens. The folders it starts from are stored in the settings
// ("ProjectDefaultPath", "PCMDefaultPath") and may be gone by now: a documents folder that
// was never made, a removed drive. Handed a folder that does not exist, Qt's file dialog
// proposes the folder's own name as the file name, so a quick Enter would write a file
// called "Documents". Every chooser that starts from a stored place asks here first.

#include <QString>

#include <functional>

class QWidget;

struct FILE_CHOOSER_START {
    QString directory; // an existing folder
    QString fileName;  // a bare file name, or empty
};

// `folder` is the stored folder; `fileName` the name to propose, bare or with a path (whose
// own folder then wins). The directory is the nearest existing one of the folder and its
// parents, the home folder when none is left; the file name is never a folder's name.
FILE_CHOOSER_START FileChooserStart(const QString& folder, const QString& fileName = {});

// Asks for a file to open: (parent, start folder, filter) → the chosen path, or empty. The
// dialogs that ask hold one, so that a test can answer in place of the system chooser.
using FileChooser = std::function<QString(QWidget*, const QString&, const QString&)>;
// The system's file chooser.
QString ChooseFileToOpen(QWidget* parent, const QString& folder, const QString& filter);
