#include "ui/trackwnd/CTrackWnd.h"

#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CSoloTracks.h"
#include "ui/CommandIds.h"
#include "ui/trackwnd/CTrackRowPainter.h"
#include "ui/trackwnd/CTrackWndAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace {

constexpr int kRowHeight = CTrackRowPainter::kRowHeight;

// The preset file a drag carries: exactly one local "*.json" file, else none.
QString PresetFileOf(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().front();
    if (!url.isLocalFile() ||
        !url.toLocalFile().endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return {};
    return url.toLocalFile();
}

} // namespace

CTrackWnd::CTrackWnd(CEditController& edit, QWidget* parent)
    : QAbstractScrollArea(parent), m_edit(edit), m_commands(edit) {
    setObjectName("trackWnd");
    CTrackWndAccessible::Install();
    setAccessibleName(tr("トラック一覧"));
    setAccessibleDescription(tr("曲のトラックです。選んだ行のトラックをピアノロールで編集します。"
                                "上下キーで行を選び、Alt+Enter でプロパティを開きます。"));
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(false);
    SetDialogRunner({});
    RegisterCommands();
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CTrackWnd::commandStateChanged);
}

// Signals sent while the base class tears the viewport down must not reach this class.
CTrackWnd::~CTrackWnd() {
    blockSignals(true);
}

void CTrackWnd::SetDialogSetup(CTrackRowCommands::DialogSetup setup) {
    m_commands.SetDialogSetup(std::move(setup));
}

void CTrackWnd::SetDialogRunner(DialogRunner runner) {
    m_runDialog = runner ? std::move(runner) : [](QDialog& dialog) { return dialog.exec(); };
}

void CTrackWnd::Refresh() {
    CancelDrag();
    UpdateScrollRange();
    EnsureVisible(CurrentTrack());
    viewport()->update();
    emit commandStateChanged();
}

int CTrackWnd::CurrentTrack() const {
    return m_edit.Project().currentTrack;
}

int CTrackWnd::count() const {
    return m_commands.TrackCount();
}

int CTrackWnd::currentRow() const {
    return m_commands.HasCurrentTrack() ? CurrentTrack() : -1;
}

void CTrackWnd::setCurrentRow(int row) {
    if (row >= 0 && row < count())
        SelectRow(row);
}

QRect CTrackWnd::RowRect(int row) const {
    return QRect(0, row * kRowHeight - verticalScrollBar()->value(), viewport()->width(),
                 kRowHeight);
}

QString CTrackWnd::RowReading(int row) const {
    if (row < 0 || row >= count())
        return {};
    return CTrackRowPainter::Reading(m_edit.Project().tracks[static_cast<size_t>(row)].settings);
}

int CTrackWnd::RowAt(const QPoint& pos) const {
    const int y = pos.y() + verticalScrollBar()->value();
    if (y < 0 || !viewport()->rect().contains(pos))
        return -1;
    const int row = y / kRowHeight;
    return row < count() ? row : -1;
}

// Selecting a row makes its track the one the piano roll edits.
void CTrackWnd::SelectRow(int row) {
    EnsureVisible(row);
    if (row == CurrentTrack())
        return;
    m_edit.SetCurrentTrack(row);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, hasFocus() ? QAccessible::Focus : QAccessible::Selection);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
    }
    emit currentTrackChanged(row);
    emit commandStateChanged();
}

void CTrackWnd::EnsureVisible(int row) {
    if (row < 0 || row >= count())
        return;
    QScrollBar* bar = verticalScrollBar();
    const int top = row * kRowHeight;
    if (top < bar->value())
        bar->setValue(top);
    else if (top + kRowHeight > bar->value() + viewport()->height())
        bar->setValue(top + kRowHeight - viewport()->height());
}

void CTrackWnd::UpdateScrollRange() {
    const int height = viewport()->height();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(count() * kRowHeight - height, 0));
    bar->setPageStep(std::max(height, 1));
    bar->setSingleStep(kRowHeight);
}

void CTrackWnd::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void CTrackWnd::scrollContentsBy(int, int) {
    viewport()->update();
}

// Each row is composed off-screen and copied in one step, so a repaint never flickers.
void CTrackWnd::SetSoloTracks(CSoloTracks* solo) {
    m_solo = solo;
    connect(m_solo, &CSoloTracks::changed, viewport(), [this] { viewport()->update(); });
}

void CTrackWnd::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int width = viewport()->width();
    const qreal ratio = devicePixelRatioF();
    QPixmap buffer(QSize(std::max(width, 1), kRowHeight) * ratio);
    buffer.setDevicePixelRatio(ratio);
    const CProject& project = m_edit.Project();
    const int scroll = verticalScrollBar()->value();
    const int first = scroll / kRowHeight;
    const int last = std::min(count(), (scroll + viewport()->height()) / kRowHeight + 1);
    for (int row = first; row < last; ++row) {
        const bool selected = row == project.currentTrack;
        QPainter rowPainter(&buffer);
        CTrackRowPainter::Paint(
            rowPainter, width, project.tracks[static_cast<size_t>(row)].settings,
            {selected, selected && hasFocus(), m_solo != nullptr && m_solo->IsSolo(row)}, palette(),
            font());
        rowPainter.end();
        painter.drawPixmap(0, row * kRowHeight - scroll, buffer);
    }
    const int below = count() * kRowHeight - scroll;
    painter.fillRect(0, below, width, viewport()->height() - below,
                     palette().color(QPalette::Base));
    PaintMarker(painter);
}

// The drop marker: a line at the top edge of the drop row, or under the last row.
void CTrackWnd::PaintMarker(QPainter& painter) const {
    const int row = m_drag.MarkerRow();
    if (row < 0)
        return;
    const int y = std::clamp(row * kRowHeight - verticalScrollBar()->value(), 1,
                             std::max(viewport()->height() - 1, 1));
    painter.setPen(QPen(palette().color(QPalette::Text), 2));
    painter.drawLine(0, y, viewport()->width(), y);
}

void CTrackWnd::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const int row = RowAt(pos);
    const Qt::MouseButton button = event->button();
    if ((button == Qt::LeftButton || button == Qt::RightButton) && row >= 0)
        SelectRow(row);
    if (button != Qt::LeftButton)
        return;
    m_drag.Reset();
    if (row >= 0) {
        m_drag.Press(pos, row);
        m_drag.SetCopy(event->modifiers() & Qt::ControlModifier);
    }
}

void CTrackWnd::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !m_drag.IsPressed())
        return;
    m_drag.SetCopy(event->modifiers() & Qt::ControlModifier);
    UpdateDrag(event->position().toPoint());
}

void CTrackWnd::UpdateDrag(const QPoint& pos) {
    if (!m_drag.Move(pos))
        return;
    const bool inside = viewport()->rect().contains(pos);
    m_drag.SetDropRow(CTrackRowDrag::DropRowAt(pos.y() + verticalScrollBar()->value(), inside,
                                               kRowHeight, count()));
    viewport()->setCursor(m_drag.IsCopy() ? Qt::DragCopyCursor : Qt::DragMoveCursor);
    viewport()->update();
}

// Ctrl pressed or released during a drag switches between copy and move at once.
void CTrackWnd::SetCopyDrag(bool copy) {
    if (!m_drag.IsPressed())
        return;
    m_drag.SetCopy(copy);
    if (!m_drag.IsDragging())
        return;
    viewport()->setCursor(copy ? Qt::DragCopyCursor : Qt::DragMoveCursor);
    viewport()->update();
}

void CTrackWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    if (m_drag.IsDragging()) {
        UpdateDrag(pos);
        FinishDrag(pos);
        return;
    }
    const bool clicked = m_drag.IsPressed();
    m_drag.Reset();
    if (clicked && pos.x() < kMuteClickWidth) {
        const int row = RowAt(pos);
        if (row >= 0 && m_solo != nullptr && (event->modifiers() & Qt::ControlModifier))
            m_solo->Toggle(row);
        else if (row >= 0)
            m_commands.ToggleMute(row);
    }
}

// A row let go outside the window may land on the preset browser, which the frame knows.
void CTrackWnd::FinishDrag(const QPoint& pos) {
    const int source = m_drag.SourceRow();
    const int drop = m_drag.DropRow();
    const bool copy = m_drag.IsCopy();
    const bool changes = m_drag.DropChangesSomething();
    CancelDrag();
    if (drop < 0) {
        emit rowDraggedOut(source, viewport()->mapToGlobal(pos));
        return;
    }
    if (!changes)
        return;
    if (copy)
        m_commands.CopyTrack(source, drop);
    else
        m_commands.MoveTrack(source, drop);
}

void CTrackWnd::CancelDrag() {
    const bool dragging = m_drag.IsDragging();
    m_drag.Reset();
    if (dragging) {
        viewport()->unsetCursor();
        viewport()->update();
    }
}

// The window takes the drop, not this pane: a widget that accepts drops keeps every drop
// over it, and a project dropped on the track list must still open.
bool CTrackWnd::TakePresetDrop(const QMimeData* mime, const QPoint& globalPos) {
    const QString path = PresetFileOf(mime);
    const int row = RowAt(viewport()->mapFromGlobal(globalPos));
    if (path.isEmpty() || row < 0)
        return false;
    emit presetDropped(path, row);
    return true;
}

bool CTrackWnd::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && m_drag.IsDragging()) {
        m_drag.SetDropRow(-1);
        viewport()->update();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// The second press of a double click is not a press: its release toggles no mute.
void CTrackWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    if (RowAt(pos) >= 0)
        emit commandRequested(cmd::kProperties);
    else if (viewport()->rect().contains(pos))
        emit commandRequested(cmd::kTrackAdd);
}

void CTrackWnd::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Control:
        SetCopyDrag(true);
        break;
    case Qt::Key_Escape:
        if (!m_drag.IsDragging())
            QAbstractScrollArea::keyPressEvent(event);
        CancelDrag();
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (count() > 0 && !m_drag.IsPressed())
            SelectRow(
                std::clamp(CurrentTrack() + (event->key() == Qt::Key_Up ? -1 : 1), 0, count() - 1));
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        break;
    }
}

void CTrackWnd::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        SetCopyDrag(false);
    else
        QAbstractScrollArea::keyReleaseEvent(event);
}

void CTrackWnd::contextMenuEvent(QContextMenuEvent* event) {
    QPoint pos = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard && currentRow() >= 0)
        pos = viewport()->mapToGlobal(RowRect(currentRow()).center());
    emit contextMenuRequested(pos);
}

void CTrackWnd::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CTrackWnd::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// The clipboard, delete and properties act on whole tracks while the list has the focus; the
// piano roll describes these commands and carries them out otherwise.
void CTrackWnd::RegisterCommands() {
    auto twoTracks = [this] { return count() >= 2; };
    auto hasTrack = [this] { return m_commands.HasCurrentTrack(); };
    m_commandSet.Add({.id = cmd::kCut,
                      .run =
                          [this] {
                              m_commands.CopyToClipboard();
                              m_commands.DeleteCurrent();
                          },
                      .enabled = twoTracks});
    m_commandSet.Add(
        {.id = cmd::kCopy, .run = [this] { m_commands.CopyToClipboard(); }, .enabled = hasTrack});
    m_commandSet.Add({.id = cmd::kPaste,
                      .run =
                          [this] {
                              if (!m_commands.PasteFromClipboard())
                                  QApplication::beep();
                          },
                      .enabled = &CTrackRowCommands::ClipboardHasTrack});
    m_commandSet.Add(
        {.id = cmd::kDelete, .run = [this] { m_commands.DeleteCurrent(); }, .enabled = twoTracks});
    m_commandSet.Add({.id = cmd::kProperties,
                      .run = [this] { m_commands.EditProperties(window(), m_runDialog); },
                      .enabled = hasTrack});
}
