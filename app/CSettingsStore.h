#pragma once
// The editor's settings: QSettings("Ostrova", "Tesselaphon Editor") in the native format,
// one group per section. This class reads and writes the application's own sections
// ("Options", "DefaultProject", "Settings"); the window's sections go through Settings().
//
// Every value is read with the current value as its default. A value that is damaged or
// out of range leaves a usable value: the default, or the nearest allowed value where the
// range has an obvious edge.
//
// Thread: the user-interface thread only.

#include "common/Options.h"
#include "dialogs/CColorButton.h"
#include "model/CProjectData.h"

#include <QSettings>

class CSettingsStore {
public:
    CSettingsStore();

    QSettings& Settings() { return m_settings; }

    void LoadOptions(OPTIONS& options);
    void SaveOptions(const OPTIONS& options);
    void LoadDefaultProject(CProjectData& data);
    void SaveDefaultProject(const CProjectData& data);
    void LoadCustomColors(CColorButton::CustomColors& colors);
    void SaveCustomColors(const CColorButton::CustomColors& colors);
    // The output volume, 0.0 to 1.0 ("Settings"/"Volume", percent).
    double LoadVolume();
    void SaveVolume(double volume);

    // Writes what is pending to the file; false when it could not be written (the old
    // file then stays as it was).
    bool Flush();

    // Removes the settings file and everything in it (the "del" switch). Nothing may be
    // written afterwards.
    bool RemoveAll();

private:
    QSettings m_settings;
};
