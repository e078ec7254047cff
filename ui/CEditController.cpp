#include "ui/CEditController.h"

#include "model/ModelInvariants.h"
#include "model/SongLimits.h"
#include "ui/WaitCursor.h"

#include <QThread>

#include <algorithm>
#include <cmath>

namespace {

CEditController::InvariantHandler DefaultInvariantHandler() {
#ifndef NDEBUG
    return [](const QString& fault) { qFatal("%s", qPrintable(fault)); };
#else
    return {};
#endif
}

CEditController::InvariantHandler& InvariantHandlerOfProgram() {
    static CEditController::InvariantHandler handler = DefaultInvariantHandler();
    return handler;
}

} // namespace

void CEditController::SetInvariantHandler(InvariantHandler handler) {
    InvariantHandlerOfProgram() = handler ? std::move(handler) : DefaultInvariantHandler();
}

void CEditController::CheckSong(const char* step) const {
    const InvariantHandler& handler = InvariantHandlerOfProgram();
    if (!handler)
        return;
    if (const Result r = CheckInvariants(m_project); !r)
        handler(QStringLiteral("the song breaks an invariant after %1: %2")
                    .arg(QLatin1String(step), QString::fromStdString(r.message)));
}

CEditController::CEditController(QObject* parent) : QObject(parent) {
    m_project.Reset();
}

void CEditController::RecordChange() {
    Q_ASSERT(QThread::currentThread() == thread());
    WaitCursor wait;
    m_modifiedBeforeChange = m_project.modified;
    m_project.modified = 1;
    m_undo.Record(m_project);
    m_project.changed.clear();
    ++m_openChanges;
}

CProject& CEditController::Changing() {
    Q_ASSERT_X(m_openChanges > 0, "CEditController::Changing", "no change is recorded");
    return m_project;
}

bool CEditController::CommitChange(int views) {
    m_openChanges = std::max(m_openChanges - 1, 0);
    const songlimits::Breach breach = songlimits::Find(m_project);
    if (breach != songlimits::Breach::kNone) {
        TakeBack();
        emit changeRefused(breach == songlimits::Breach::kTracks
                               ? tr("トラックの数が上限 (%1) を超えます。\nこの操作はできません。")
                                     .arg(songlimits::kMaxTracks)
                               : tr("音符の量が 1 曲の上限を超えます。\nこの操作はできません。"));
        return false;
    }
    MergeChanged();
    CheckSong("a commit");
    emit titleChanged();
    if (views != kViewNone)
        emit viewsChanged(views);
    return true;
}

void CEditController::TakeBack() {
    m_undo.Revert(m_project);
    m_project.changed.clear();
    m_project.modified = m_modifiedBeforeChange;
    CheckSong("a refused change");
    emit titleChanged();
    emit viewsChanged(kViewAll);
}

void CEditController::MarkNote(const CTrack& track, const CNote& note) {
    Q_ASSERT(m_openChanges > 0);
    if (track.settings.mute == 0)
        m_project.SetModified(note);
}

void CEditController::MarkTrack(const CTrack& track) {
    Q_ASSERT(m_openChanges > 0);
    if (track.settings.mute == 0)
        m_project.SetTrackModified(track);
}

void CEditController::MarkAll() {
    Q_ASSERT(m_openChanges > 0);
    m_project.SetAllModified();
}

void CEditController::MarkLoop() {
    Q_ASSERT(m_openChanges > 0);
    if (m_project.changed.empty())
        m_project.changed.resize(1, 0);
    m_project.changed[0] = 1;
    m_project.modified = 1;
}

void CEditController::Undo() {
    Q_ASSERT(QThread::currentThread() == thread());
    if (!m_undo.CanUndo())
        return;
    WaitCursor wait;
    m_project.modified = 1;
    MergeChanged();
    m_undo.Undo(m_project);
    CheckSong("an undo");
    emit titleChanged();
    emit viewsChanged(kViewAll);
}

void CEditController::Redo() {
    Q_ASSERT(QThread::currentThread() == thread());
    if (!m_undo.CanRedo())
        return;
    WaitCursor wait;
    m_project.modified = 1;
    MergeChanged();
    m_undo.Redo(m_project);
    // The restored state carries the marks of the edit being redone; the state left
    // behind carries those of an older edit, so both are merged.
    MergeChanged();
    CheckSong("a redo");
    emit titleChanged();
    emit viewsChanged(kViewAll);
}

int CEditController::SelectNote(const CNote* note, bool select) {
    CTrack* track = m_project.CurrentTrack();
    return track != nullptr ? track->SelectNote(note, select) : -1;
}

void CEditController::FindNotes(const FIND_DATA& criteria, bool extend) {
    if (CTrack* track = m_project.CurrentTrack())
        track->FindNotes(criteria, extend);
}

void CEditController::SetCurrentTrack(int index) {
    m_project.currentTrack = index;
}

CProject& CEditController::PrepareBuild(bool full) {
    m_project.PrepareBuild(m_unbuilt, full);
    return m_project;
}

void CEditController::ReplaceProject(CProject project) {
    m_project = std::move(project);
    m_unsaved.clear();
    m_unbuilt.clear();
    m_soloUnbuilt.clear();
    m_undo.Clear();
}

void CEditController::ResetUnbuilt(int32_t value) {
    // The change maps stop at a week of song time; a damaged tempo list must not turn into
    // an unbounded allocation here either.
    constexpr double kMaxSeconds = 7.0 * 24 * 3600 + 1;
    const double seconds = std::min(std::ceil(m_project.GetLength()), kMaxSeconds);
    m_unbuilt.assign(static_cast<size_t>(seconds), value);
}

void CEditController::SetModifiedFlag(bool modified) {
    m_project.modified = modified ? 1 : 0;
    emit titleChanged();
}

void CEditController::MergeChanged() {
    m_unsaved.Merge(m_project.changed);
    m_unbuilt.Merge(m_project.changed);
    m_soloUnbuilt.Merge(m_project.changed);
}
