// The sound dialogs "音色(&O)..." opens by default, one per source kind that has one, with
// the application's options and the open song.
#include "dialogs/CTrackDialog.h"
#include "dialogs/SoundDialogs.h"

CTrackDialog::SoundEditor CTrackDialog::DefaultSoundEditor() {
    return [](QWidget* parent, CTrackData& track) {
        return EditTrackSound(parent, track, CurrentSoundDialogContext());
    };
}
