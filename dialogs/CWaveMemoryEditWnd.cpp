#include "dialogs/CWaveMemoryEditWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>

namespace {

const QColor kGridColor(0xA0, 0xA0, 0xA0);
const QColor kCentreColor(0, 0, 0);
const QColor kFillColor(0, 255, 0);

// Pixel of grid line `index` out of `count` cells across `extent` pixels: the lines lie at
// (extent - 1) × index / count, so the last one is the last pixel.
int GridLine(int index, int extent, int64_t count) {
    return static_cast<int>(int64_t(std::max(extent - 1, 0)) * index / std::max<int64_t>(count, 1));
}

// The grid index whose cell holds pixel `pixel`, clamped into 0..count-1.
int CellAt(int pixel, int extent, int64_t count) {
    if (count <= 0)
        return 0;
    const int64_t span = std::max(extent - 1, 1);
    const int64_t index = int64_t(std::max(pixel, 0)) * count / span;
    return static_cast<int>(std::clamp<int64_t>(index, 0, count - 1));
}

} // namespace

CWaveMemoryEditWnd::CWaveMemoryEditWnd(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("WaveMemoryEditWnd_Class"));
    setAccessibleName(tr("波形"));
    setAccessibleDescription(tr("波形メモリの波形です。マウスでドラッグして描きます。"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackgroundRole(QPalette::Base);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CWaveMemoryEditWnd::SetWave(const CWaveMemory& wave) {
    m_wave = wave;
    m_cursorColumn = 0;
    m_cursorRow = 0;
    update();
}

void CWaveMemoryEditWnd::Resize(int32_t count, int32_t height) {
    const int64_t oldCount = std::max(Columns(), 1);
    const int64_t oldHeight = std::max(Levels(), 1);
    m_wave.SetSize(count, height);
    // The cursor keeps its relative place, scaled in 1/256 steps.
    const int64_t xRatio = int64_t(count) * 256 / oldCount;
    const int64_t yRatio = int64_t(height) * 256 / oldHeight;
    m_cursorColumn = static_cast<int>(
        std::clamp<int64_t>(m_cursorColumn * xRatio / 256, 0, std::max(Columns() - 1, 0)));
    m_cursorRow = static_cast<int>(
        std::clamp<int64_t>(m_cursorRow * yRatio / 256, 0, std::max(Levels() - 1, 0)));
    update();
}

int32_t CWaveMemoryEditWnd::RowValue(int row, int32_t levels) {
    const int32_t half = levels / 2;
    return row < half ? half - row : half - row - 1;
}

int CWaveMemoryEditWnd::ColumnAt(int x, int width, int32_t count) {
    return CellAt(x, width, count);
}

int CWaveMemoryEditWnd::RowAt(int y, int height, int32_t levels) {
    return CellAt(y, height, levels);
}

int CWaveMemoryEditWnd::ColumnLeft(int column) const {
    return GridLine(column, width(), Columns());
}

int CWaveMemoryEditWnd::RowTop(int row) const {
    return GridLine(row, height(), Levels());
}

// A column between its two grid lines, over the whole height.
QRect CWaveMemoryEditWnd::ColumnRect(int column) const {
    return QRect(QPoint(ColumnLeft(column) + 1, 0),
                 QPoint(ColumnLeft(column + 1) - 1, height() - 1));
}

QRect CWaveMemoryEditWnd::CellRect(int column, int row) const {
    return QRect(QPoint(ColumnLeft(column) + 1, RowTop(row) + 1),
                 QPoint(ColumnLeft(column + 1) - 1, RowTop(row + 1) - 1));
}

QSize CWaveMemoryEditWnd::sizeHint() const {
    return QSize(3 * 128 + 1, 4 * 64 + 1);
}

QSize CWaveMemoryEditWnd::minimumSizeHint() const {
    return QSize(65, 33);
}

void CWaveMemoryEditWnd::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    if (Columns() == 0 || Levels() <= 0)
        return;
    PaintSamples(painter, event->rect());
    PaintGrid(painter, event->rect());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = CellRect(m_cursorColumn, m_cursorRow);
        option.backgroundColor = palette().color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

// Only the columns inside the dirty rectangle are filled, so a repaint of one column costs
// one column whatever the wave's length.
void CWaveMemoryEditWnd::PaintSamples(QPainter& painter, const QRect& dirty) const {
    const int32_t half = Levels() / 2;
    const int first = ColumnAt(dirty.left(), width(), Columns());
    const int last = ColumnAt(dirty.right(), width(), Columns());
    for (int c = first; c <= last; ++c) {
        const int32_t v = std::clamp(m_wave.samples[static_cast<size_t>(c)], half - Levels(), half);
        if (v == 0)
            continue;
        const int top = v > 0 ? RowTop(half - v) : RowTop(half);
        const int bottom = v > 0 ? RowTop(half) : RowTop(half - v);
        painter.fillRect(
            QRect(QPoint(ColumnLeft(c) + 1, top + 1), QPoint(ColumnLeft(c + 1) - 1, bottom - 1)),
            kFillColor);
    }
}

// Inner lines closer than two pixels would paint the whole area grey; they are left out,
// which also bounds the work for a damaged wave with an enormous level count.
void CWaveMemoryEditWnd::PaintGrid(QPainter& painter, const QRect& dirty) const {
    const int w = width();
    const int h = height();
    painter.setPen(kGridColor);
    if (int64_t(Columns()) * 2 <= w) {
        const int first = ColumnAt(dirty.left(), w, Columns());
        const int last = ColumnAt(dirty.right(), w, Columns());
        for (int c = first; c <= last + 1; ++c)
            painter.drawLine(ColumnLeft(c), 0, ColumnLeft(c), h - 1);
    }
    if (int64_t(Levels()) * 2 <= h) {
        const int first = RowAt(dirty.top(), h, Levels());
        const int last = RowAt(dirty.bottom(), h, Levels());
        for (int r = first; r <= last + 1; ++r)
            painter.drawLine(0, RowTop(r), w - 1, RowTop(r));
    }
    painter.setPen(kGridColor);
    painter.drawRect(0, 0, w - 1, h - 1);
    painter.setPen(kCentreColor);
    const int centreY = RowTop(Levels() / 2);
    painter.drawLine(0, centreY, w - 1, centreY);
    if (Columns() % 2 == 0) {
        const int centreX = ColumnLeft(Columns() / 2);
        painter.drawLine(centreX, 0, centreX, h - 1);
    }
}

void CWaveMemoryEditWnd::Store(int column, int32_t value) {
    int32_t& sample = m_wave.samples[static_cast<size_t>(column)];
    if (sample == value)
        return;
    sample = value;
    update(ColumnRect(column));
    emit waveEdited();
}

void CWaveMemoryEditWnd::MoveCursor(int column, int row) {
    if (column == m_cursorColumn && row == m_cursorRow)
        return;
    update(CellRect(m_cursorColumn, m_cursorRow));
    m_cursorColumn = column;
    m_cursorRow = row;
    update(CellRect(m_cursorColumn, m_cursorRow));
}

QPoint CWaveMemoryEditWnd::CellUnder(const QPoint& point) const {
    return QPoint(ColumnAt(point.x(), width(), Columns()), RowAt(point.y(), height(), Levels()));
}

// A quick stroke reports pointer positions many columns apart. Every column from the last
// cell seen to this one is edited as if the pointer had run along the straight line between
// them: the left button stores the row of that line, the right button clears.
void CWaveMemoryEditWnd::StrokeTo(const QPoint& cell) {
    const int fromColumn = std::min(m_strokeCell.x(), Columns() - 1);
    const int fromRow = std::min(m_strokeCell.y(), Levels() - 1);
    const int span = cell.x() - fromColumn;
    const int step = span < 0 ? -1 : 1;
    for (int column = fromColumn;; column += step) {
        if (m_dragButton == Qt::LeftButton) {
            const int row =
                span == 0 ? cell.y()
                          : fromRow + static_cast<int>(std::lround(double(cell.y() - fromRow) *
                                                                   (column - fromColumn) / span));
            Store(column, RowValue(row, Levels()));
        } else {
            Store(column, 0);
        }
        if (column == cell.x())
            break;
    }
    if (m_dragButton == Qt::LeftButton)
        MoveCursor(cell.x(), cell.y());
    m_strokeCell = cell;
}

void CWaveMemoryEditWnd::mousePressEvent(QMouseEvent* event) {
    if (Columns() == 0 || Levels() <= 0 || m_dragButton != Qt::NoButton)
        return;
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    m_dragButton = event->button();
    m_strokeCell = CellUnder(event->position().toPoint());
    StrokeTo(m_strokeCell);
}

void CWaveMemoryEditWnd::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragButton != Qt::NoButton && Columns() > 0 && Levels() > 0)
        StrokeTo(CellUnder(event->position().toPoint()));
}

void CWaveMemoryEditWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == m_dragButton)
        m_dragButton = Qt::NoButton;
}

void CWaveMemoryEditWnd::keyPressEvent(QKeyEvent* event) {
    if (Columns() == 0 || Levels() <= 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        MoveCursor(std::max(m_cursorColumn - 1, 0), m_cursorRow);
        break;
    case Qt::Key_Right:
        MoveCursor(std::min(m_cursorColumn + 1, Columns() - 1), m_cursorRow);
        break;
    case Qt::Key_Up:
        MoveCursor(m_cursorColumn, std::max(m_cursorRow - 1, 0));
        break;
    case Qt::Key_Down:
        MoveCursor(m_cursorColumn, std::min(m_cursorRow + 1, Levels() - 1));
        break;
    case Qt::Key_Space:
        Store(m_cursorColumn, RowValue(m_cursorRow, Levels()));
        break;
    case Qt::Key_Delete:
        Store(m_cursorColumn, 0);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CWaveMemoryEditWnd::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update(CellRect(m_cursorColumn, m_cursorRow));
}

void CWaveMemoryEditWnd::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(CellRect(m_cursorColumn, m_cursorRow));
}
