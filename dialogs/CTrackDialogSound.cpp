// The sound dialogs "音色(&O)..." opens by default, one per source kind that has one.
#include "dialogs/CTrackDialog.h"

CTrackDialog::SoundEditor CTrackDialog::DefaultSoundEditor() {
    return {};
}
