#include "ui/CTrackCommands.h"

#include "dialogs/CTrackDialog.h"
#include "dialogs/SoundDialogs.h"
#include "model/CProject.h"
#include "ui/CEditController.h"

#include <QCoreApplication>

#include <utility>

namespace {

constexpr int kLists = CEditController::kViewTrackList | CEditController::kViewPianoRoll;

} // namespace

CTrackCommands::CTrackCommands(CEditController& edit, QWidget* dialogParent, QObject* parent)
    : QObject(parent), m_edit(edit), m_dialogParent(dialogParent) {
}

bool CTrackCommands::HasCurrentTrack() const {
    return m_edit.Project().CurrentTrack() != nullptr;
}

bool CTrackCommands::CanMoveUp() const {
    return HasCurrentTrack() && m_edit.Project().currentTrack > 0;
}

bool CTrackCommands::CanMoveDown() const {
    const CProject& project = m_edit.Project();
    return HasCurrentTrack() && project.currentTrack < static_cast<int>(project.tracks.size()) - 1;
}

bool CTrackCommands::CanMuteOthers() const {
    return HasCurrentTrack() && m_edit.Project().tracks.size() >= 2;
}

bool CTrackCommands::CanEditSound() const {
    if (!HasCurrentTrack())
        return false;
    const int waveform = m_edit.Project().tracks[m_edit.Project().currentTrack].settings.waveform;
    return waveform == kPcm || waveform == kWaveMemory || waveform == kFm;
}

bool CTrackCommands::IsCurrentMuted() const {
    return HasCurrentTrack() &&
           m_edit.Project().tracks[m_edit.Project().currentTrack].settings.mute != 0;
}

bool CTrackCommands::Add() {
    const CProject& project = m_edit.Project();
    CTrack track;
    track.settings.name = QCoreApplication::translate("CTrackCommands", "トラック").toStdString() +
                          std::to_string(project.tracks.size() + 1);
    CTrackDialog dialog(tr("トラックの追加"), m_dialogParent);
    dialog.SetTrackData(track.settings);
    if (m_setupDialog)
        m_setupDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    track.settings = dialog.GetTrackData();
    return m_edit.Edit(kLists, [&](CProject& p) {
        p.tracks.push_back(std::move(track));
        p.currentTrack = static_cast<int>(p.tracks.size()) - 1;
    });
}

void CTrackCommands::Duplicate() {
    if (!HasCurrentTrack())
        return;
    m_edit.Edit(kLists, [&](CProject& p) {
        const auto index = static_cast<size_t>(p.currentTrack);
        CTrack copy = p.tracks[index];
        copy.TakeNewIdentity();
        p.tracks.insert(p.tracks.begin() + static_cast<std::ptrdiff_t>(index) + 1, std::move(copy));
        p.currentTrack = static_cast<int>(index) + 1;
        m_edit.MarkTrack(p.tracks[index + 1]);
    });
}

void CTrackCommands::MoveUp() {
    if (CanMoveUp())
        Exchange(-1);
}

void CTrackCommands::MoveDown() {
    if (CanMoveDown())
        Exchange(1);
}

// Moving a track changes no sound, so nothing is marked.
void CTrackCommands::Exchange(int offset) {
    m_edit.Edit(kLists, [&](CProject& p) {
        const int from = p.currentTrack;
        std::swap(p.tracks[static_cast<size_t>(from)],
                  p.tracks[static_cast<size_t>(from + offset)]);
        p.currentTrack = from + offset;
        p.modified = 1;
    });
}

void CTrackCommands::ToggleMute() {
    if (!HasCurrentTrack())
        return;
    m_edit.Edit(kLists, [&](CProject& p) {
        CTrack& track = *p.CurrentTrack();
        track.settings.mute = track.settings.mute != 0 ? 0 : 1;
        p.SetTrackModified(track);
    });
}

void CTrackCommands::MuteOthers() {
    if (!CanMuteOthers())
        return;
    m_edit.Edit(kLists, [&](CProject& p) {
        for (int i = 0; i < static_cast<int>(p.tracks.size()); ++i) {
            CTrack& track = p.tracks[static_cast<size_t>(i)];
            const int32_t wanted = i == p.currentTrack ? 0 : 1;
            if ((track.settings.mute != 0) == (wanted != 0))
                continue;
            track.settings.mute = wanted;
            p.SetTrackModified(track);
        }
    });
}

void CTrackCommands::UnmuteAll() {
    m_edit.Edit(kLists, [&](CProject& p) {
        for (CTrack& track : p.tracks) {
            if (track.settings.mute == 0)
                continue;
            track.settings.mute = 0;
            p.SetTrackModified(track);
        }
    });
}

// The sound may change what the track plays, so the track is marked whenever it sounds
// before or after.
bool CTrackCommands::EditSound() {
    if (!CanEditSound())
        return false;
    SOUND_DIALOG_CONTEXT context = CurrentSoundDialogContext();
    context.project = m_edit.Project().data;
    const auto index = static_cast<size_t>(m_edit.Project().currentTrack);
    CTrackData settings = m_edit.Project().tracks[index].settings;
    if (!EditTrackSound(m_dialogParent, settings, context))
        return false;
    m_edit.Edit(kLists, [&](CProject& p) {
        CTrack& track = p.tracks[index];
        const bool wasSounding = track.settings.mute == 0;
        track.settings = std::move(settings);
        if (wasSounding || track.settings.mute == 0)
            p.SetTrackModified(track);
    });
    return true;
}
