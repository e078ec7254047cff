#pragma once
// Opens the sound dialog ("音色") that belongs to a track's source kind: "PCM" for kind 5,
// "波形メモリ音源" for kind 6, "FM音源" for kind 7. The main frame's sound command and the
// track properties dialog both come through here.

#include "common/Options.h"
#include "dialogs/CColorButton.h"
#include "model/CProjectData.h"
#include "model/CTrackData.h"

#include <functional>

class QSettings;
class QWidget;

// What the sound dialogs need beside the track.
struct SOUND_DIALOG_CONTEXT {
    OPTIONS options;            // the default PCM folder, the preview buffer, restore-window
    QSettings* state = nullptr; // keeps the wave-memory dialog's size; null keeps nothing
    CProjectData project;       // rate, tempo, master volume and transpose of the keyboard
};

// Where the track and sound dialogs find what the application object owns. The application
// installs it once its settings are read and removes it before they go; until then the
// dialogs use the built-in options, keep no window size, share no custom colours and play
// with a new song's settings.
struct SOUND_DIALOG_SERVICES {
    const OPTIONS* options = nullptr;
    QSettings* state = nullptr;
    CColorButton::CustomColors* customColors = nullptr; // "crCustom"
    std::function<CProjectData()> project;              // the open song
};
void SetSoundDialogServices(SOUND_DIALOG_SERVICES services);
const SOUND_DIALOG_SERVICES& SoundDialogServices();
// The context the installed services describe.
SOUND_DIALOG_CONTEXT CurrentSoundDialogContext();

bool HasSoundDialog(int32_t waveform);

// Opens the dialog of track.waveform on a copy of `track`. True on OK, with `track`
// replaced by the edited copy; false on Cancel or for a kind without a sound dialog.
bool EditTrackSound(QWidget* parent, CTrackData& track, const SOUND_DIALOG_CONTEXT& context);
