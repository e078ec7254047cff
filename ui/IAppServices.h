#pragma once
// What the editor window needs from the application object: the options, the settings
// file, the player and the application-level commands. CTSQApp implements it; tests may
// supply their own.
//
// Thread: the user-interface thread only.

#include "common/Options.h"
#include "model/CProjectData.h"

#include <QString>

class QSettings;
class QWidget;
class Sonalo;

class IAppServices {
public:
    virtual ~IAppServices() = default;

    virtual OPTIONS& Options() = 0;
    // The settings every new project starts with.
    virtual const CProjectData& DefaultProject() const = 0;
    // Plays built WAV files for the editor window; its volume is the output volume.
    virtual Sonalo& Player() = 0;
    // The settings store shared by every section.
    virtual QSettings& Profile() = 0;
    // The folder of the tsq program, where the player program and the modules live.
    virtual QString ApplicationDirectory() const = 0;

    // Application commands. EditOptions returns true on OK (after saving the options);
    // ShowAbout true when the user asked for the manual from the about box.
    virtual bool ShowAbout(QWidget* parent) = 0;
    virtual bool EditOptions(QWidget* parent) = 0;
    virtual void EditDefaultProject(QWidget* parent) = 0;
    // Encoder options and the file association; false when this build has no such dialog.
    virtual bool CanEditEncoderOptions() const = 0;
    virtual void EditEncoderOptions(QWidget* parent) = 0;
    virtual bool CanRegisterFileType() const = 0;
    virtual void RegisterFileType(QWidget* parent) = 0;
};
