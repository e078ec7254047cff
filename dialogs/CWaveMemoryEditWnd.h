#pragma once
// The wave-memory editor ("WaveMemoryEditWnd_Class"): the samples of a wave-memory sound as a
// grid of N columns (one per sample) and M rows (the level count), M/2 above and M/2 below a
// centre line. A sample v > 0 fills the v cells above the centre line, v < 0 the -v cells
// below it. The user draws with the left button (the row under the pointer becomes the
// column's value), clears with the right button, or moves a cursor cell with the arrow keys
// and stores its row with Space (Delete clears the column). A drag edits every column it
// passed over, however far apart the pointer's reported positions lie.
//
// The editor holds its own copy of the wave; the dialog reads it back with Wave(). Every
// edit repaints only the columns and cursor cells it touched.
//
// Thread: the user-interface thread only.

#include "model/CWaveMemory.h"

#include <QPoint>
#include <QWidget>

#include <cstdint>

class CWaveMemoryEditWnd : public QWidget {
    Q_OBJECT
public:
    explicit CWaveMemoryEditWnd(QWidget* parent = nullptr);

    // Shows another wave; the cursor goes back to the first cell.
    void SetWave(const CWaveMemory& wave);
    const CWaveMemory& Wave() const { return m_wave; }
    // Resizes the wave through CWaveMemory::SetSize (resampling and rescaling its samples);
    // the cursor keeps its relative place.
    void Resize(int32_t count, int32_t height);

    QPoint Cursor() const { return QPoint(m_cursorColumn, m_cursorRow); }

    // The value a row stands for with `levels` rows: levels/2 - row above the centre line,
    // levels/2 - row - 1 below it. No row stands for 0.
    static int32_t RowValue(int row, int32_t levels);
    // The column and row under a point of a width × height area, clamped into the grid.
    static int ColumnAt(int x, int width, int32_t count);
    static int RowAt(int y, int height, int32_t levels);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A sample changed through the mouse or the keyboard.
    void waveEdited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int Columns() const { return static_cast<int>(m_wave.samples.size()); }
    int32_t Levels() const { return m_wave.height; }
    // Pixel spans of a column and a row: the first and the last pixel inside the grid lines.
    int ColumnLeft(int column) const;
    int RowTop(int row) const;
    QRect ColumnRect(int column) const;
    QRect CellRect(int column, int row) const;

    void Store(int column, int32_t value);
    void MoveCursor(int column, int row);
    QPoint CellUnder(const QPoint& point) const;
    void StrokeTo(const QPoint& cell);

    void PaintGrid(QPainter& painter, const QRect& dirty) const;
    void PaintSamples(QPainter& painter, const QRect& dirty) const;

    CWaveMemory m_wave;
    int m_cursorColumn = 0;
    int m_cursorRow = 0;
    Qt::MouseButton m_dragButton = Qt::NoButton;
    QPoint m_strokeCell; // (column, row) where the drag was last seen
};
