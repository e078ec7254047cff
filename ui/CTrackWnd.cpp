#include "ui/CTrackWnd.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/CProject.h"
#include "model/FileVersion.h"
#include "ui/CEditController.h"
#include "ui/CTrackNameDialog.h"
#include "ui/ClipboardFormats.h"
#include "ui/CommandIds.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QIcon>
#include <QMimeData>
#include <QMouseEvent>

#include <algorithm>

namespace {

constexpr int kLists = CEditController::kViewTrackList | CEditController::kViewPianoRoll;
// A pasted track may carry at most this many note segments; the payload is foreign data.
constexpr uint64_t kPasteSegmentBudget = uint64_t{1} << 24;

bool ClipboardHasTrack() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && data->hasFormat(kClipTrack);
}

QString RowText(const CTrack& track) {
    return QStringLiteral("%1\n音量 %2")
        .arg(QString::fromStdString(track.settings.name))
        .arg(track.settings.volume);
}

} // namespace

CTrackWnd::CTrackWnd(CEditController& edit, QWidget* parent) : QListWidget(parent), m_edit(edit) {
    setObjectName("trackWnd");
    setFrameShape(QFrame::StyledPanel);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setUniformItemSizes(true);
    setSpacing(1);
    connect(this, &QListWidget::currentRowChanged, this, &CTrackWnd::OnRowChanged);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CTrackWnd::commandStateChanged);
}

// The list empties itself while the base class is destroyed; its row notices must not
// reach this class's slots then.
CTrackWnd::~CTrackWnd() {
    blockSignals(true);
}

void CTrackWnd::Refresh() {
    m_filling = true;
    clear();
    const CProject& project = m_edit.Project();
    for (const CTrack& track : project.tracks) {
        auto* item = new QListWidgetItem(RowText(track), this);
        item->setIcon(
            QIcon(track.settings.mute != 0 ? ":/icons/track-mute.svg" : ":/icons/track-sound.svg"));
        item->setSizeHint(QSize(0, 36));
    }
    if (!project.tracks.empty())
        setCurrentRow(std::clamp(project.currentTrack, 0, TrackCount() - 1));
    m_filling = false;
    emit commandStateChanged();
}

int CTrackWnd::CurrentTrack() const {
    return m_edit.Project().currentTrack;
}

int CTrackWnd::TrackCount() const {
    return static_cast<int>(m_edit.Project().tracks.size());
}

void CTrackWnd::OnRowChanged(int row) {
    if (m_filling || row < 0 || row == m_edit.Project().currentTrack)
        return;
    m_edit.Project().currentTrack = row;
    emit currentTrackChanged(row);
    emit commandStateChanged();
}

std::optional<bool> CTrackWnd::CommandEnabled(int id) const {
    const bool hasTrack = m_edit.Project().currentTrack < TrackCount();
    switch (id) {
    case cmd::kCut:
    case cmd::kDelete:
        return TrackCount() >= 2;
    case cmd::kCopy:
    case cmd::kProperties:
        return hasTrack;
    case cmd::kPaste:
        return ClipboardHasTrack();
    default:
        return std::nullopt;
    }
}

bool CTrackWnd::RunCommand(int id) {
    switch (id) {
    case cmd::kCut:
        Copy();
        Delete();
        return true;
    case cmd::kCopy:
        Copy();
        return true;
    case cmd::kPaste:
        Paste();
        return true;
    case cmd::kDelete:
        Delete();
        return true;
    case cmd::kProperties:
        EditProperties();
        return true;
    default:
        return false;
    }
}

void CTrackWnd::Copy() const {
    const CProject& project = m_edit.Project();
    if (project.currentTrack >= TrackCount())
        return;
    CArchiveWriter writer;
    project.tracks[static_cast<size_t>(project.currentTrack)].Serialize(writer);
    auto* data = new QMimeData;
    const std::vector<uint8_t>& bytes = writer.Data();
    data->setData(kClipTrack, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                         static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

void CTrackWnd::Paste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasFormat(kClipTrack))
        return;
    const QByteArray bytes = data->data(kClipTrack);
    CTrack track;
    try {
        CArchiveReader reader(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                        static_cast<size_t>(bytes.size())));
        uint64_t budget = kPasteSegmentBudget;
        track.Serialize(reader, kFileVersion, budget);
    } catch (const ArchiveError&) {
        return;
    }
    m_edit.Edit(kLists, [&](CProject& project) {
        const int index = std::clamp(project.currentTrack, 0, TrackCount());
        project.tracks.insert(project.tracks.begin() + index, std::move(track));
        project.currentTrack = index;
        m_edit.MarkTrack(project.tracks[static_cast<size_t>(index)]);
    });
}

void CTrackWnd::Delete() {
    if (TrackCount() < 2)
        return;
    m_edit.Edit(kLists, [&](CProject& project) {
        const int index = project.currentTrack;
        m_edit.MarkTrack(project.tracks[static_cast<size_t>(index)]);
        project.RemoveTrack(index);
        project.currentTrack = std::min(index, TrackCount() - 1);
    });
}

void CTrackWnd::EditProperties() {
    CProject& project = m_edit.Project();
    if (project.currentTrack >= TrackCount())
        return;
    CTrackNameDialog dialog(QStringLiteral("トラックのプロパティ"), window());
    dialog.SetTrackData(project.tracks[static_cast<size_t>(project.currentTrack)].settings);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CTrackData settings = dialog.GetTrackData();
    m_edit.Edit(kLists, [&](CProject& p) {
        CTrack& track = p.tracks[static_cast<size_t>(p.currentTrack)];
        track.settings = settings;
        m_edit.MarkTrack(track);
    });
}

void CTrackWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QListWidget::mouseDoubleClickEvent(event);
        return;
    }
    emit commandRequested(itemAt(event->pos()) != nullptr ? cmd::kProperties : cmd::kTrackAdd);
}

void CTrackWnd::contextMenuEvent(QContextMenuEvent* event) {
    QPoint pos = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard && currentItem() != nullptr)
        pos = viewport()->mapToGlobal(visualItemRect(currentItem()).center());
    emit contextMenuRequested(pos);
}
