#include "ui/trackwnd/CTrackRowCommands.h"

#include "common/ClipboardFormats.h"
#include "dialogs/CTrackDialog.h"
#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/CProject.h"
#include "model/FileVersion.h"
#include "model/SongLimits.h"
#include "ui/CEditController.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QMimeData>

#include <algorithm>
#include <optional>

namespace {

constexpr int kLists = CEditController::kViewTrackList | CEditController::kViewPianoRoll;

// The block must be one whole track record; anything short, long or impossible is foreign.
std::optional<CTrack> ReadTrack(const QByteArray& block) {
    CTrack track;
    try {
        CArchiveReader reader(std::span(reinterpret_cast<const uint8_t*>(block.constData()),
                                        static_cast<size_t>(block.size())));
        uint64_t budget = songlimits::kSegmentBudget;
        track.Serialize(reader, kFileVersion, budget);
        if (!reader.AtEnd())
            return std::nullopt;
    } catch (const ArchiveError&) {
        return std::nullopt;
    }
    return track;
}

} // namespace

CTrackRowCommands::CTrackRowCommands(CEditController& edit) : m_edit(edit) {
}

int CTrackRowCommands::TrackCount() const {
    return static_cast<int>(m_edit.Project().tracks.size());
}

bool CTrackRowCommands::HasCurrentTrack() const {
    const int current = m_edit.Project().currentTrack;
    return current >= 0 && current < TrackCount();
}

void CTrackRowCommands::ToggleMute(int row) {
    if (row < 0 || row >= TrackCount())
        return;
    m_edit.Edit(kLists, [row](CProject& project) {
        CTrack& track = project.tracks[static_cast<size_t>(row)];
        track.settings.mute = track.settings.mute != 0 ? 0 : 1;
        project.SetTrackModified(track);
    });
}

// Order changes no sound, so nothing is marked.
void CTrackRowCommands::MoveTrack(int from, int dropRow) {
    const int count = TrackCount();
    if (from < 0 || from >= count || dropRow < 0 || dropRow > count || dropRow == from ||
        dropRow == from + 1)
        return;
    m_edit.Edit(kLists, [&](CProject& project) {
        CTrack moved = std::move(project.tracks[static_cast<size_t>(from)]);
        project.tracks.erase(project.tracks.begin() + from);
        const int to = dropRow > from ? dropRow - 1 : dropRow;
        project.tracks.insert(project.tracks.begin() + to, std::move(moved));
        project.currentTrack = to;
    });
}

void CTrackRowCommands::CopyTrack(int from, int dropRow) {
    const int count = TrackCount();
    if (from < 0 || from >= count || dropRow < 0 || dropRow > count)
        return;
    m_edit.Edit(kLists, [&](CProject& project) {
        CTrack copy = project.tracks[static_cast<size_t>(from)];
        copy.TakeNewIdentity();
        project.tracks.insert(project.tracks.begin() + dropRow, std::move(copy));
        project.currentTrack = dropRow;
        m_edit.MarkTrack(project.tracks[static_cast<size_t>(dropRow)]);
    });
}

bool CTrackRowCommands::ClipboardHasTrack() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && data->hasFormat(kClipTrack);
}

void CTrackRowCommands::CopyToClipboard() const {
    if (!HasCurrentTrack())
        return;
    const CProject& project = m_edit.Project();
    CArchiveWriter writer;
    project.tracks[static_cast<size_t>(project.currentTrack)].Serialize(writer);
    const std::vector<uint8_t>& bytes = writer.Data();
    auto* data = new QMimeData;
    data->setData(kClipTrack, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                         static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

bool CTrackRowCommands::PasteFromClipboard() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasFormat(kClipTrack))
        return false;
    std::optional<CTrack> track = ReadTrack(data->data(kClipTrack));
    if (!track)
        return false;
    return m_edit.Edit(kLists, [&](CProject& project) {
        const int index = std::clamp(project.currentTrack, 0, TrackCount());
        project.tracks.insert(project.tracks.begin() + index, std::move(*track));
        project.currentTrack = index;
        m_edit.MarkTrack(project.tracks[static_cast<size_t>(index)]);
    });
}

void CTrackRowCommands::DeleteCurrent() {
    if (TrackCount() < 2 || !HasCurrentTrack())
        return;
    m_edit.Edit(kLists, [&](CProject& project) {
        const int index = project.currentTrack;
        m_edit.MarkTrack(project.tracks[static_cast<size_t>(index)]);
        project.RemoveTrack(index);
        project.currentTrack = std::min(index, TrackCount() - 1);
    });
}

bool CTrackRowCommands::AskTrackProperties(CTrackData& settings, QWidget* parent,
                                           const DialogRunner& run) const {
    CTrackDialog dialog(QCoreApplication::translate("CTrackRowCommands", "トラックのプロパティ"),
                        parent);
    dialog.SetTrackData(settings);
    if (m_setupDialog)
        m_setupDialog(dialog);
    if (run(dialog) != QDialog::Accepted)
        return false;
    settings = dialog.GetTrackData();
    return true;
}

// Every property may change the sound, so the whole track is marked whether or not
// anything differs; a track muted before or after still changed what is heard.
bool CTrackRowCommands::EditProperties(QWidget* parent, const DialogRunner& run) {
    if (!HasCurrentTrack())
        return false;
    const auto index = static_cast<size_t>(m_edit.Project().currentTrack);
    CTrackData settings = m_edit.Project().tracks[index].settings;
    if (!AskTrackProperties(settings, parent, run))
        return false;
    m_edit.Edit(kLists, [&](CProject& project) {
        CTrack& track = project.tracks[index];
        const bool wasSounding = track.settings.mute == 0;
        track.settings = std::move(settings);
        if (wasSounding || track.settings.mute == 0)
            project.SetTrackModified(track);
    });
    return true;
}
