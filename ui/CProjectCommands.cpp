#include "ui/CProjectCommands.h"

#include "dialogs/CBeatDialog.h"
#include "dialogs/CBeatListDialog.h"
#include "dialogs/CLoopDialog.h"
#include "dialogs/CProjectDialog.h"
#include "dialogs/CTempoDialog.h"
#include "dialogs/CTempoListDialog.h"
#include "dialogs/CVolumeDialog.h"
#include "dialogs/CVolumeListDialog.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CPlaybackController.h"

#include <algorithm>
#include <optional>

namespace {

using View = CEditController::View;

// The entry of a position-keyed list exactly at `tick`, if any. An entry that the dialog
// moves elsewhere is removed from its old place; one that stays is replaced by Set.
template <class List> std::optional<size_t> IndexAt(const List& list, int32_t tick) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].position == tick)
            return i;
    return std::nullopt;
}

// The last entry at or before `tick`, if any.
template <class List> std::optional<size_t> InForceAt(const List& list, int32_t tick) {
    std::optional<size_t> found;
    for (size_t i = 0; i < list.size() && list[i].position <= tick; ++i)
        found = i;
    return found;
}

} // namespace

CProjectCommands::CProjectCommands(CEditController& edit, CPlaybackController& playback,
                                   QWidget* dialogParent, QObject* parent)
    : QObject(parent), m_edit(edit), m_playback(playback), m_dialogParent(dialogParent) {
}

bool CProjectCommands::EditProjectSettings() {
    m_playback.Stop();
    CProjectDialog dialog(m_dialogParent);
    dialog.SetProjectData(m_edit.Project().data);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const CProjectData data = dialog.GetProjectData();
    m_edit.Edit(View::kViewAll | View::kViewPlayLine, [&](CProject& project) {
        project.data = data;
        m_edit.MarkAll();
    });
    return true;
}

bool CProjectCommands::EditVolumeList() {
    const CProjectData& data = m_edit.Project().data;
    CVolumeListDialog dialog(m_dialogParent);
    dialog.SetBeats(&data.beats);
    dialog.SetList(data.volumes);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const CVolumeList volumes = dialog.GetList();
    m_edit.Edit(View::kViewPianoRoll, [&](CProject& project) {
        project.data.volumes = volumes;
        m_edit.MarkAll();
    });
    return true;
}

bool CProjectCommands::EditTempoList() {
    const CProjectData& data = m_edit.Project().data;
    CTempoListDialog dialog(m_dialogParent);
    dialog.SetBeats(&data.beats);
    dialog.SetList(data.tempos);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const CTempoList tempos = dialog.GetList();
    m_edit.Edit(View::kViewPianoRoll, [&](CProject& project) {
        project.data.tempos = tempos;
        m_edit.MarkAll();
    });
    return true;
}

// Time signatures change no sound, so nothing is marked.
bool CProjectCommands::EditBeatList() {
    CBeatListDialog dialog(m_dialogParent);
    dialog.SetList(m_edit.Project().data.beats);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const CBeats beats = dialog.GetList();
    m_edit.Edit(View::kViewPianoRoll, [&](CProject& project) { project.data.beats = beats; });
    return true;
}

bool CProjectCommands::EditLoop() {
    const CProjectData& data = m_edit.Project().data;
    CLoopDialog dialog(m_dialogParent);
    dialog.SetBeats(&data.beats);
    dialog.SetLoopEnabled(data.loopEnabled != 0);
    dialog.SetLoopStart(data.loopStart);
    dialog.SetLoopEnd(data.loopEnd);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_edit.Edit(View::kViewPianoRoll, [&](CProject& project) {
        project.data.loopEnabled = dialog.IsLoopEnabled() ? 1 : 0;
        project.data.loopStart = dialog.GetLoopStart();
        project.data.loopEnd = dialog.GetLoopEnd();
        m_edit.MarkLoop();
    });
    return true;
}

bool CProjectCommands::AddVolumeAt(int32_t caret) {
    const CProjectData& data = m_edit.Project().data;
    const auto before = InForceAt(data.volumes, caret);
    VOLUME entry{caret, before ? data.volumes[*before].volume : 0};
    CVolumeDialog dialog(m_dialogParent);
    dialog.setWindowTitle(tr("音量の追加"));
    dialog.SetBeats(&data.beats);
    dialog.SetFirst(caret == 0);
    dialog.SetVolume(entry);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entry = dialog.GetVolume();
    m_edit.Edit(View::kViewPianoRoll, [&](CProject& project) {
        CVolumeList& volumes = project.data.volumes;
        if (const auto old = IndexAt(volumes, caret); old && entry.position != caret)
            volumes.RemoveAt(*old);
        volumes.Set(entry);
        m_edit.MarkAll();
    });
    return true;
}

bool CProjectCommands::AddTempoAt(int32_t caret) {
    const CProjectData& data = m_edit.Project().data;
    const auto before = InForceAt(data.tempos, caret);
    TEMPO entry{caret, before ? data.tempos[*before].tempo : 120.0};
    CTempoDialog dialog(m_dialogParent);
    dialog.setWindowTitle(tr("テンポの追加"));
    dialog.SetBeats(&data.beats);
    dialog.SetFirst(caret == 0);
    dialog.SetTempo(entry);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entry = dialog.GetTempo();
    m_edit.Edit(View::kViewPianoRoll, [&](CProject& project) {
        CTempoList& tempos = project.data.tempos;
        if (const auto old = IndexAt(tempos, caret); old && entry.position != caret)
            tempos.RemoveAt(*old);
        tempos.Set(entry);
        m_edit.MarkAll();
    });
    return true;
}

bool CProjectCommands::AddBeatAt(int32_t caret) {
    const CBeats& beats = m_edit.Project().data.beats;
    const int32_t measure = std::max(beats.TickToMeasure(std::max(caret, 0)), 0);
    BEAT entry = beats.At(measure);
    entry.measure = measure;
    CBeatDialog dialog(m_dialogParent);
    dialog.setWindowTitle(tr("拍子の追加"));
    dialog.SetFirst(measure == 0);
    dialog.SetBeat(entry);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entry = dialog.GetBeat();
    m_edit.Edit(View::kViewPianoRoll, [&](CProject& project) {
        CBeats& list = project.data.beats;
        for (size_t i = 0; i < list.size() && entry.measure != measure; ++i) {
            if (list[i].measure == measure) {
                list.RemoveAt(i);
                break;
            }
        }
        list.Set(entry);
    });
    return true;
}

void CProjectCommands::SetLoopStart(int32_t caret) {
    m_edit.Edit(View::kViewPianoRoll, [&](CProject& project) {
        project.data.loopStart = std::max(caret, 0);
        project.data.loopEnabled = 1;
        m_edit.MarkLoop();
    });
}

void CProjectCommands::SetLoopEnd(int32_t caret) {
    m_edit.Edit(View::kViewPianoRoll, [&](CProject& project) {
        project.data.loopEnd = std::max(caret, 0);
        project.data.loopEnabled = 1;
        m_edit.MarkLoop();
    });
}
