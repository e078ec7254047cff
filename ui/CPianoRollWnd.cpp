#include "ui/CPianoRollWnd.h"

#include "dialogs/Options.h"
#include "model/CProject.h"
#include "model/PositionText.h"
#include "ui/CEditController.h"
#include "ui/CNoteDefaults.h"
#include "ui/ClipboardFormats.h"
#include "ui/CommandIds.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {

constexpr const char* kKeyNames = "B A+A G+G F+F E D+D C+C ";
constexpr int kSpareMeasures = 8;

QColor FromBgr(uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

bool IsBlackRow(int row) {
    return kKeyNames[2 * (row % 12) + 1] == '+';
}

QString KeyName(int row) {
    return QString::fromLatin1(kKeyNames + 2 * (row % 12), 2).trimmed() +
           QString::number(8 - row / 12);
}

} // namespace

CPianoRollWnd::CPianoRollWnd(CEditController& edit, CNoteDefaults& defaults, const OPTIONS& options,
                             QWidget* parent)
    : QAbstractScrollArea(parent), m_edit(edit), m_defaults(defaults), m_options(options) {
    setObjectName("pianoRollWnd");
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_defaults, &CNoteDefaults::changed, viewport(), qOverload<>(&QWidget::update));
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CPianoRollWnd::commandStateChanged);
}

CTrack* CPianoRollWnd::Track() {
    CProject& project = m_edit.Project();
    if (project.currentTrack < 0 || project.currentTrack >= static_cast<int>(project.tracks.size()))
        return nullptr;
    return &project.tracks[static_cast<size_t>(project.currentTrack)];
}

const CTrack* CPianoRollWnd::Track() const {
    return const_cast<CPianoRollWnd*>(this)->Track();
}

int CPianoRollWnd::ZoomX() const {
    return std::clamp(m_options.pianoRollZoomX, 16, 8192);
}

int CPianoRollWnd::ZoomY() const {
    return std::clamp(m_options.pianoRollZoomY, 2, 64);
}

int CPianoRollWnd::RulerHeight() const {
    return std::max(style()->pixelMetric(QStyle::PM_ScrollBarExtent), fontMetrics().height() + 4);
}

int64_t CPianoRollWnd::XOfTick(int64_t tick) const {
    return kKeyColumn + tick * ZoomX() / 1920 - horizontalScrollBar()->value();
}

int32_t CPianoRollWnd::TickOfX(int x) const {
    const int64_t pixels = int64_t{x} - kKeyColumn + horizontalScrollBar()->value();
    return static_cast<int32_t>(std::clamp<int64_t>(pixels * 1920 / ZoomX(), 0, INT32_MAX));
}

int CPianoRollWnd::RowOfY(int y) const {
    return std::clamp(VerticalScroll() + (y - RulerHeight()) / ZoomY(), 0, kRows - 1);
}

int32_t CPianoRollWnd::Snap(int32_t tick) const {
    const CBeats& beats = m_edit.Project().data.beats;
    const int32_t start = beats.MeasureToTick(beats.TickToMeasure(tick));
    const int32_t fit = std::max(m_defaults.Fit(), 1);
    return start + (tick - start) / fit * fit;
}

int CPianoRollWnd::VerticalScroll() const {
    return verticalScrollBar()->value();
}

void CPianoRollWnd::SetVerticalScroll(int row) {
    verticalScrollBar()->setValue(row);
}

void CPianoRollWnd::Refresh(bool reset) {
    UpdateScrollRanges();
    if (reset)
        horizontalScrollBar()->setValue(0);
    viewport()->update();
    EmitStatus();
    emit commandStateChanged();
}

void CPianoRollWnd::SetCaret(int32_t position, int row) {
    m_caretPosition = std::max(position, 0);
    m_caretRow = std::clamp(row, 0, kRows - 1);
    viewport()->update();
    EmitStatus();
}

void CPianoRollWnd::SetPlayLine(int32_t tick, bool scroll) {
    m_playLine = tick;
    if (scroll) {
        const int64_t x = XOfTick(tick);
        if (x < kKeyColumn || x >= viewport()->width())
            horizontalScrollBar()->setValue(
                static_cast<int>(std::min<int64_t>(int64_t{tick} * ZoomX() / 1920, INT32_MAX)));
    }
    viewport()->update();
}

void CPianoRollWnd::UpdateScrollRanges() {
    const CProject& project = m_edit.Project();
    const int64_t end = int64_t{project.GetEndTick()} + int64_t{kSpareMeasures} * 1920;
    const int64_t width = end * ZoomX() / 1920;
    const int visible = std::max(viewport()->width() - kKeyColumn, 1);
    horizontalScrollBar()->setRange(0, static_cast<int>(std::min<int64_t>(width, INT32_MAX / 2)));
    horizontalScrollBar()->setPageStep(visible);
    horizontalScrollBar()->setSingleStep(std::max(ZoomX() / 4, 1));
    const int rows = std::max((viewport()->height() - RulerHeight()) / ZoomY(), 1);
    verticalScrollBar()->setRange(0, std::max(kRows - rows, 0));
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setSingleStep(1);
}

void CPianoRollWnd::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void CPianoRollWnd::scrollContentsBy(int, int) {
    viewport()->update();
}

size_t CPianoRollWnd::SelectionCount() const {
    const CTrack* track = Track();
    return track == nullptr ? 0 : track->selection.size();
}

void CPianoRollWnd::EmitStatus() {
    const size_t selected = SelectionCount();
    const QString message = selected > 0
                                ? QStringLiteral("%1 個の音符が選択されています。").arg(selected)
                                : QStringLiteral("Shift 範囲選択/音長変更  Ctrl 追加選択");
    emit statusChanged(
        message, KeyName(m_caretRow),
        QString::fromStdString(FormatPosition(m_edit.Project().data.beats, m_caretPosition)));
}

void CPianoRollWnd::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    PaintGrid(painter);
    PaintNotes(painter);
    PaintRulerAndKeys(painter);
}

void CPianoRollWnd::PaintGrid(QPainter& painter) const {
    const int top = RulerHeight();
    const int zoomY = ZoomY();
    const int width = viewport()->width();
    const QColor base = palette().color(QPalette::Base);
    const QColor shade = base.darker(106);
    for (int y = top, row = VerticalScroll(); y < viewport()->height() && row < kRows;
         y += zoomY, ++row) {
        if (IsBlackRow(row))
            painter.fillRect(kKeyColumn, y, width - kKeyColumn, zoomY, shade);
        painter.setPen(row % 12 == 11 ? base.darker(135) : base.darker(112));
        painter.drawLine(kKeyColumn, y + zoomY - 1, width, y + zoomY - 1);
    }
    const CBeats& beats = m_edit.Project().data.beats;
    const int32_t firstTick = TickOfX(kKeyColumn);
    for (int32_t m = std::max(beats.TickToMeasure(firstTick), 0);; ++m) {
        const int32_t start = beats.MeasureToTick(m);
        const BEAT& beat = beats.At(m);
        const int32_t length = std::max(beat.MeasureLength(), 1);
        if (XOfTick(start) > width || start == INT32_MAX)
            break;
        const int32_t step = std::max(length / std::max(beat.beat, 1), 1);
        for (int32_t t = start; t < start + length; t += step) {
            painter.setPen(t == start ? base.darker(160) : base.darker(120));
            const int x = static_cast<int>(XOfTick(t));
            painter.drawLine(x, top, x, viewport()->height());
        }
    }
}

void CPianoRollWnd::PaintNotes(QPainter& painter) const {
    const CProject& project = m_edit.Project();
    const int top = RulerHeight();
    const int zoomY = ZoomY();
    const int firstRow = VerticalScroll();
    painter.setClipRect(kKeyColumn, top, viewport()->width(), viewport()->height());
    auto draw = [&](const CTrack& track, const QColor& fill, const QColor& selected) {
        track.ForEachNote([&](const CNote* note) {
            const int64_t x = XOfTick(note->position);
            const int64_t w = std::max<int64_t>(XOfTick(note->End()) - x, 2);
            if (x > viewport()->width() || x + w < kKeyColumn)
                return;
            const QRect rect(static_cast<int>(std::max<int64_t>(x, kKeyColumn - 1)),
                             top + (note->key - firstRow) * zoomY,
                             static_cast<int>(std::min<int64_t>(w, viewport()->width())), zoomY);
            painter.fillRect(rect.adjusted(0, 1, 0, -1), note->selected ? selected : fill);
            painter.setPen(fill.darker(150));
            painter.drawRect(rect.adjusted(0, 1, -1, -2));
        });
    };
    if (m_options.viewInactiveNote != 0) {
        for (int i = 0; i < static_cast<int>(project.tracks.size()); ++i) {
            const CTrack& other = project.tracks[static_cast<size_t>(i)];
            if (i == project.currentTrack)
                continue;
            const bool muted = other.settings.mute != 0;
            QColor color = FromBgr(m_options.crInactiveNote);
            if (muted && m_options.viewInactiveMuteNoteColor != 0)
                color = FromBgr(m_options.crInactiveMuteNote);
            else if (m_options.viewInactiveNoteColor == 0)
                color = FromBgr(m_options.crNote).lighter(170);
            draw(other, color, color);
        }
    }
    if (const CTrack* track = Track()) {
        const uint32_t color =
            track->settings.useNoteColor != 0 ? track->settings.noteColor : m_options.crNote;
        draw(*track, FromBgr(color), FromBgr(m_options.crSelectedNote));
    }
    // The caret: a frame where the next note would go, and its position line.
    const int caretX = static_cast<int>(XOfTick(m_caretPosition));
    const int caretW =
        static_cast<int>(XOfTick(int64_t{m_caretPosition} + m_defaults.Length())) - caretX;
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.drawLine(caretX, top, caretX, viewport()->height());
    painter.drawRect(caretX, top + (m_caretRow - firstRow) * zoomY, std::max(caretW, 2) - 1,
                     zoomY - 1);
    const int playX = static_cast<int>(XOfTick(m_playLine));
    painter.setPen(QPen(QColor(220, 40, 40), 2));
    painter.drawLine(playX, top, playX, viewport()->height());
    painter.setClipping(false);
}

void CPianoRollWnd::PaintRulerAndKeys(QPainter& painter) const {
    const int top = RulerHeight();
    const int zoomY = ZoomY();
    const QColor window = palette().color(QPalette::Window);
    painter.fillRect(0, 0, viewport()->width(), top, window);
    painter.fillRect(0, top, kKeyColumn, viewport()->height() - top, Qt::white);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, top - 1, viewport()->width(), top - 1);
    painter.drawLine(kKeyColumn - 1, 0, kKeyColumn - 1, viewport()->height());
    for (int y = top, row = VerticalScroll(); y < viewport()->height() && row < kRows;
         y += zoomY, ++row) {
        if (IsBlackRow(row))
            painter.fillRect(0, y, kKeyColumn * 3 / 5, zoomY, QColor(40, 40, 40));
        painter.setPen(QColor(170, 170, 170));
        painter.drawLine(0, y + zoomY - 1, kKeyColumn - 1, y + zoomY - 1);
        if (row % 12 == 11 && zoomY >= 8) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(QRect(0, y, kKeyColumn - 4, zoomY), Qt::AlignRight | Qt::AlignVCenter,
                             KeyName(row));
        }
    }
    const CBeats& beats = m_edit.Project().data.beats;
    painter.setClipRect(kKeyColumn, 0, viewport()->width(), top);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int32_t m = std::max(beats.TickToMeasure(TickOfX(kKeyColumn)), 0);; ++m) {
        const int32_t start = beats.MeasureToTick(m);
        const int x = static_cast<int>(XOfTick(start));
        if (x > viewport()->width() || start == INT32_MAX)
            break;
        painter.drawLine(x, top / 2, x, top);
        painter.drawText(QRect(x + 3, 0, 200, top), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(m + 1));
    }
    const int playX = static_cast<int>(XOfTick(m_playLine));
    painter.setBrush(QColor(220, 40, 40));
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygon({QPoint(playX - 5, 0), QPoint(playX + 5, 0), QPoint(playX, 8)}));
    painter.setClipping(false);
    painter.fillRect(0, 0, kKeyColumn - 1, top - 1, window);
}

CNote* CPianoRollWnd::NoteAt(const QPoint& pos) {
    CTrack* track = Track();
    if (track == nullptr || pos.x() < kKeyColumn || pos.y() < RulerHeight())
        return nullptr;
    const int32_t tick = TickOfX(pos.x());
    const int row = RowOfY(pos.y());
    CNote* found = nullptr;
    track->ForEachNote([&](const CNote* note) {
        if (note->key == row && note->Covers(tick))
            found = const_cast<CNote*>(note);
    });
    return found;
}

void CPianoRollWnd::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    int32_t position = m_caretPosition;
    int row = m_caretRow;
    if (pos.x() >= kKeyColumn)
        position = Snap(TickOfX(pos.x()));
    if (pos.y() >= RulerHeight())
        row = RowOfY(pos.y());
    if ((event->buttons() & Qt::LeftButton) && pos.y() < RulerHeight())
        emit playStartDragged(position);
    SetCaret(position, row);
}

void CPianoRollWnd::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    CTrack* track = Track();
    if (pos.y() < RulerHeight() && pos.x() >= kKeyColumn) {
        emit playStartDragged(Snap(TickOfX(pos.x())));
        return;
    }
    if (track == nullptr)
        return;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    CNote* note = NoteAt(pos);
    if (!ctrl)
        track->SelectNote(nullptr, false);
    if (note != nullptr)
        track->SelectNote(note->Head(), !(ctrl && note->selected));
    viewport()->update();
    EmitStatus();
    emit commandStateChanged();
}

void CPianoRollWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && NoteAt(event->position().toPoint()) != nullptr)
        emit commandRequested(cmd::kProperties);
}

void CPianoRollWnd::keyPressEvent(QKeyEvent* event) {
    const CBeats& beats = m_edit.Project().data.beats;
    int32_t position = m_caretPosition;
    int row = m_caretRow;
    switch (event->key()) {
    case Qt::Key_PageUp:
        position = std::max(beats.MeasureToTick(beats.TickToMeasure(std::max(position - 1, 0))), 0);
        break;
    case Qt::Key_PageDown:
        position = beats.MeasureToTick(beats.TickToMeasure(position) + 1);
        break;
    case Qt::Key_Home:
        position = 0;
        break;
    case Qt::Key_End:
        position = m_edit.Project().GetEndTick();
        break;
    case Qt::Key_Left:
        position = std::max(position - m_defaults.Fit(), 0);
        break;
    case Qt::Key_Right:
        position = static_cast<int32_t>(
            std::min<int64_t>(int64_t{position} + m_defaults.Fit(), INT32_MAX));
        break;
    case Qt::Key_Up:
        row = std::max(row - 1, 0);
        break;
    case Qt::Key_Down:
        row = std::min(row + 1, kRows - 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    SetCaret(position, row);
    SetPlayLine(m_playLine, false);
}

void CPianoRollWnd::contextMenuEvent(QContextMenuEvent* event) {
    QPoint pos = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard)
        pos = viewport()->mapToGlobal(
            QPoint(static_cast<int>(XOfTick(m_caretPosition)) + ZoomY() / 2,
                   RulerHeight() + (m_caretRow - VerticalScroll()) * ZoomY() + ZoomY() / 2));
    emit contextMenuRequested(pos);
}

std::optional<bool> CPianoRollWnd::CommandEnabled(int id) const {
    const size_t selected = SelectionCount();
    switch (id) {
    case cmd::kCut:
    case cmd::kCopy:
    case cmd::kDelete:
    case cmd::kSelectClear:
        return selected >= 1;
    case cmd::kPaste: {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        return Track() != nullptr && data != nullptr && data->hasFormat(kClipNote);
    }
    case cmd::kSelectAll:
    case cmd::kSelectAfter:
    case cmd::kSelectInvert:
        return Track() != nullptr;
    case cmd::kSetDefaultNote:
        return selected == 1;
    default:
        return std::nullopt;
    }
}

bool CPianoRollWnd::RunCommand(int id) {
    switch (id) {
    case cmd::kCut:
        Copy();
        DeleteSelection();
        break;
    case cmd::kCopy:
        Copy();
        break;
    case cmd::kPaste:
        Paste();
        break;
    case cmd::kDelete:
        DeleteSelection();
        break;
    case cmd::kSelectAll:
    case cmd::kSelectAfter:
    case cmd::kSelectInvert:
    case cmd::kSelectClear:
        Select(id);
        break;
    case cmd::kSetDefaultNote:
        if (SelectionCount() == 1) {
            const CNote* note = Track()->selection.front();
            m_defaults.SetLength(note->length);
            m_defaults.SetKeyoff(note->keyoff);
            m_defaults.SetVolume(note->volume);
        }
        break;
    default:
        return false;
    }
    viewport()->update();
    EmitStatus();
    emit commandStateChanged();
    return true;
}

void CPianoRollWnd::Copy() {
    const CTrack* track = Track();
    if (track == nullptr || track->selection.empty())
        return;
    const std::vector<uint8_t> bytes = CTrack::CopyNotes(track->selection);
    auto* data = new QMimeData;
    data->setData(kClipNote, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                        static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

void CPianoRollWnd::Paste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (Track() == nullptr || data == nullptr || !data->hasFormat(kClipNote))
        return;
    const QByteArray bytes = data->data(kClipNote);
    m_edit.Edit(CEditController::kViewPianoRoll, [&](CProject&) {
        CTrack& track = *Track();
        track.SelectNote(nullptr, false);
        track.PasteNotes(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   static_cast<size_t>(bytes.size())),
                         m_caretPosition);
        for (const CNote* note : track.selection)
            m_edit.MarkNote(track, *note);
    });
}

void CPianoRollWnd::DeleteSelection() {
    if (SelectionCount() == 0)
        return;
    m_edit.Edit(CEditController::kViewPianoRoll, [&](CProject&) {
        CTrack& track = *Track();
        const CNoteArray selected = track.selection;
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
            m_edit.MarkNote(track, **it);
            track.RemoveNote(*it);
        }
    });
}

void CPianoRollWnd::Select(int id) {
    CTrack* track = Track();
    if (track == nullptr)
        return;
    switch (id) {
    case cmd::kSelectAll:
        track->SelectNote(nullptr, true);
        break;
    case cmd::kSelectClear:
        track->SelectNote(nullptr, false);
        break;
    case cmd::kSelectInvert:
        for (CNote* note : track->Notes())
            track->SelectNote(note, note->selected == 0);
        break;
    case cmd::kSelectAfter:
        track->SelectNote(nullptr, false);
        for (CNote* note : track->Notes())
            if (m_caretPosition < note->End())
                track->SelectNote(note, true);
        break;
    default:
        break;
    }
}
