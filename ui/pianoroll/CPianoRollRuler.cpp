#include "ui/pianoroll/CPianoRollRuler.h"

#include "model/CProjectData.h"
#include "ui/pianoroll/CPianoRollGeometry.h"
#include "ui/pianoroll/PianoRollText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace {

constexpr int kKeyColumn = CPianoRollGeometry::kKeyColumn;
// Free pixels above and below the ink of a row's labels and of a measure number.
constexpr int kRowPadding = 2;
// Free pixels between a marker's line and its label, and around a measure number.
constexpr int kLabelGap = 2;
constexpr int kNumberGap = 3;

// Ink of every character a label can hold, relative to the baseline: the rows are sized by
// what is drawn, not by the font's line height, which for CJK fonts is far taller.
QRect LabelInk(const QFont& font) {
    return QFontMetrics(font).tightBoundingRect(QStringLiteral("TV0123456789.?-"));
}

QRect DigitInk(const QFont& font) {
    return QFontMetrics(font).tightBoundingRect(QStringLiteral("0123456789"));
}

int ClampX(int64_t x) {
    return static_cast<int>(std::clamp<int64_t>(x, -0x100000, 0x100000));
}

} // namespace

int CPianoRollRuler::HeightFor(const QFont& bold, const QFont& medium, int minimum) {
    const int row = LabelInk(medium).height() + 2 * kRowPadding;
    const int number = DigitInk(bold).height() + 2 * kRowPadding;
    // One more pixel for the line along the ruler's bottom edge.
    return std::max({minimum, 2 * row + 1, number + 1});
}

CPianoRollRuler::CPianoRollRuler(const CPianoRollGeometry& geometry, const CProjectData& data,
                                 const QFont& bold, const QFont& medium)
    : m_g(geometry), m_bold(bold), m_medium(medium), m_mediumInk(LabelInk(medium)),
      m_boldInk(DigitInk(bold)) {
    AddMarkers(data.tempos, 0,
               [](const TEMPO& tempo) { return piano_roll_text::TempoLabel(tempo.tempo); });
    AddMarkers(data.volumes, 1,
               [](const VOLUME& volume) { return piano_roll_text::VolumeLabel(volume.volume); });
    AddLoopMarks(data);
    std::sort(m_obstacles.begin(), m_obstacles.end(),
              [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
}

QRect CPianoRollRuler::RowRect(int row) const {
    const int mid = (m_g.RulerHeight() - 1) / 2;
    return row == 0 ? QRect(0, 0, m_g.Width(), mid)
                    : QRect(0, mid, m_g.Width(), m_g.RulerHeight() - 1 - mid);
}

int CPianoRollRuler::Baseline(int row) const {
    const QRect rect = RowRect(row);
    return rect.top() + (rect.height() - m_mediumInk.height()) / 2 - m_mediumInk.top();
}

// Only the markers inside the view are laid out; the lists are sorted by position, so the
// first of them is found by bisection.
template <class List, class Text>
void CPianoRollRuler::AddMarkers(const List& list, int row, Text text) {
    const QFontMetrics metrics(m_medium);
    const auto& items = list.Items();
    const int right = m_g.Width();
    const int inkTop = Baseline(row) + m_mediumInk.top();
    auto it = std::partition_point(items.begin(), items.end(), [this](const auto& item) {
        return m_g.XOfTick(item.position) < kKeyColumn;
    });
    for (; it != items.end(); ++it) {
        const int64_t x = m_g.XOfTick(it->position);
        if (x >= right)
            break;
        const auto next = std::next(it);
        const int64_t limit =
            next == items.end() ? right : std::min<int64_t>(m_g.XOfTick(next->position), right);
        MARKER marker{QRect(static_cast<int>(x), inkTop, 1, m_mediumInk.height()), row, text(*it),
                      false};
        const int width = metrics.horizontalAdvance(marker.text);
        if (x + kLabelGap + width + kLabelGap <= limit) {
            marker.box =
                QRect(static_cast<int>(x) + kLabelGap, inkTop, width, m_mediumInk.height());
            marker.labelled = true;
        }
        m_obstacles.push_back(marker.box);
        m_markers.push_back(std::move(marker));
    }
}

void CPianoRollRuler::AddLoopMarks(const CProjectData& data) {
    if (data.loopEnabled == 0)
        return;
    const int start = ClampX(m_g.XOfTick(data.loopStart));
    const int end = ClampX(m_g.XOfTick(data.loopEnd));
    const int height = m_g.RulerHeight() - 1;
    m_obstacles.push_back(QRect(start, 0, kLoopMarkWidth + 1, height));
    m_obstacles.push_back(QRect(end + 1 - kLoopMarkWidth, 0, kLoopMarkWidth + 1, height));
    m_loopStart = start;
    m_loopEnd = end;
}

void CPianoRollRuler::PaintMarkers(QPainter& painter) const {
    painter.setFont(m_medium);
    painter.setPen(Qt::black);
    for (const MARKER& marker : m_markers) {
        if (marker.labelled)
            painter.drawText(QPoint(marker.box.left(), Baseline(marker.row)), marker.text);
        else
            painter.fillRect(marker.box, Qt::black);
    }
}

void CPianoRollRuler::PaintLoopMarks(QPainter& painter, const QColor& color) const {
    if (!m_loopStart)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const double bottom = m_g.RulerHeight() - 1;
    const double mid = bottom / 2.0;
    const int start = *m_loopStart;
    const int end = *m_loopEnd + 1;
    painter.drawPolygon(QPolygonF(
        {QPointF(start, 0), QPointF(start + kLoopMarkWidth, mid), QPointF(start, bottom)}));
    painter.drawPolygon(
        QPolygonF({QPointF(end, 0), QPointF(end - kLoopMarkWidth, mid), QPointF(end, bottom)}));
    painter.restore();
}

// Centred in the part of the measure that is in view, then moved right past whatever it
// would cover; a number that then runs into the next measure is left out rather than cut.
std::optional<QRect> CPianoRollRuler::MeasureNumberBox(int32_t measure, int64_t x0,
                                                       int64_t x1) const {
    const int width = QFontMetrics(m_bold).horizontalAdvance(QString::number(int64_t{measure} + 1));
    const int64_t left = std::max<int64_t>(x0, kKeyColumn - 1) + kNumberGap;
    const int64_t right = std::min<int64_t>(x1, m_g.Width()) - kNumberGap;
    if (right - left < width)
        return std::nullopt;
    int64_t x = left + (right - left - width) / 2;
    for (const QRect& obstacle : m_obstacles) {
        if (obstacle.left() - kNumberGap >= x + width)
            break;
        if (obstacle.right() + kNumberGap >= x)
            x = obstacle.right() + 1 + kNumberGap;
    }
    if (x + width > right)
        return std::nullopt;
    return QRect(static_cast<int>(x), 0, width, m_g.RulerHeight() - 1);
}

void CPianoRollRuler::PaintMeasureNumber(QPainter& painter, int32_t measure, int64_t x0,
                                         int64_t x1) const {
    const std::optional<QRect> box = MeasureNumberBox(measure, x0, x1);
    if (!box)
        return;
    const int baseline = (m_g.RulerHeight() - 1 - m_boldInk.height()) / 2 - m_boldInk.top();
    painter.setFont(m_bold);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(box->left(), baseline), QString::number(int64_t{measure} + 1));
}
