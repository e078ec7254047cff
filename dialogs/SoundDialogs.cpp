#include "dialogs/SoundDialogs.h"

#include "dialogs/CFMDialog.h"
#include "dialogs/CPCMDialog.h"
#include "dialogs/CWaveMemoryDialog.h"

#include <utility>

namespace {

template <class Dialog> bool Run(Dialog& dialog, CTrackData& track) {
    dialog.SetTrack(track);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    track = dialog.GetTrack();
    return true;
}

SOUND_DIALOG_SERVICES& Services() {
    static SOUND_DIALOG_SERVICES services;
    return services;
}

} // namespace

void SetSoundDialogServices(SOUND_DIALOG_SERVICES services) {
    Services() = std::move(services);
}

const SOUND_DIALOG_SERVICES& SoundDialogServices() {
    return Services();
}

SOUND_DIALOG_CONTEXT CurrentSoundDialogContext() {
    const SOUND_DIALOG_SERVICES& services = Services();
    SOUND_DIALOG_CONTEXT context;
    context.options = services.options != nullptr ? *services.options : DefaultOptions();
    context.state = services.state;
    if (services.project)
        context.project = services.project();
    return context;
}

bool HasSoundDialog(int32_t waveform) {
    return waveform == kPcm || waveform == kWaveMemory || waveform == kFm;
}

bool EditTrackSound(QWidget* parent, CTrackData& track, const SOUND_DIALOG_CONTEXT& context) {
    switch (track.waveform) {
    case kPcm: {
        CPCMDialog dialog(context.options, parent);
        return Run(dialog, track);
    }
    case kWaveMemory: {
        CWaveMemoryDialog dialog(context.options, context.state, parent);
        dialog.SetProjectData(context.project);
        return Run(dialog, track);
    }
    case kFm: {
        CFMDialog dialog(context.options, parent);
        dialog.SetProjectData(context.project);
        return Run(dialog, track);
    }
    default:
        return false;
    }
}
