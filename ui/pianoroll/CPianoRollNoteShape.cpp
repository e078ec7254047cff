#include "ui/pianoroll/CPianoRollNoteShape.h"

#include "model/CNote.h"
#include "model/CTempoList.h"
#include "ui/pianoroll/CPianoRollGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int32_t ClampTick(int64_t tick) {
    return static_cast<int32_t>(std::clamp<int64_t>(tick, 0, std::numeric_limits<int32_t>::max()));
}

// The glide of a note as a fraction of its level over song time: 0 before the portamento
// start, 1 from its end on, linear in seconds between (as the voice renders it).
class CGlide {
public:
    CGlide(const CNote& note, const CTempoList& tempos) : m_tempos(tempos) {
        m_from = int64_t{note.position} + note.portamentoStart;
        m_to = m_from + note.portamentoLength;
        m_fromSeconds = Seconds(m_from);
        m_toSeconds = Seconds(m_to);
    }
    int64_t From() const { return m_from; }
    int64_t To() const { return m_to; }
    // Fraction at a tick, and just before it (they differ only where the glide jumps).
    double At(int64_t tick) const { return Fraction(Seconds(tick), false); }
    double Before(int64_t tick) const { return Fraction(Seconds(tick), true); }

private:
    double Seconds(int64_t tick) const { return m_tempos.TicksToSeconds(0, ClampTick(tick)); }
    double Fraction(double s, bool before) const {
        if (s < m_fromSeconds || (before && s <= m_fromSeconds))
            return 0;
        if (s >= m_toSeconds)
            return 1;
        return (s - m_fromSeconds) / (m_toSeconds - m_fromSeconds);
    }

    const CTempoList& m_tempos;
    int64_t m_from = 0;
    int64_t m_to = 0;
    double m_fromSeconds = 0;
    double m_toSeconds = 0;
};

} // namespace

CPianoRollNoteShape::CPianoRollNoteShape(const CNote& note, const CPianoRollGeometry& geometry,
                                         const CTempoList& tempos, bool portamento) {
    m_height = geometry.ZoomY();
    const double top = geometry.YOfRow(note.key);
    const bool glide = portamento && note.HasPortamento() && note.portamentoStart < note.length;
    if (glide)
        BuildGlide(note, geometry, tempos, top);
    else
        BuildRectangle(geometry.XOfTick(note.position),
                       geometry.XOfTick(int64_t{note.position} + note.length), top);
}

void CPianoRollNoteShape::BuildRectangle(int64_t x0, int64_t x1, double top) {
    // However short the note, one pixel column of it stays visible and clickable.
    m_rect = {x0, std::max(x1, x0 + 1), top, top};
    m_left = m_rect.x0;
    m_right = m_rect.x1;
    m_top = top;
}

void CPianoRollNoteShape::BuildGlide(const CNote& note, const CPianoRollGeometry& geometry,
                                     const CTempoList& tempos, double top) {
    m_glide = true;
    const CGlide glide(note, tempos);
    const int64_t start = note.position;
    const int64_t end = start + note.length;
    std::vector<int64_t> corners = {start, end};
    for (int64_t t : {glide.From(), glide.To()})
        if (t > start && t < end)
            corners.push_back(t);
    const int64_t lo = std::min(glide.From(), glide.To());
    const int64_t hi = std::max(glide.From(), glide.To());
    for (const TEMPO& tempo : tempos)
        if (tempo.position > std::max(lo, start) && tempo.position < std::min(hi, end))
            corners.push_back(tempo.position);
    std::sort(corners.begin(), corners.end());
    corners.erase(std::unique(corners.begin(), corners.end()), corners.end());

    // Positive levels raise the pitch, and higher pitches lie higher up.
    const double rise = note.portamentoLevel / 256.0 * geometry.ZoomY();
    for (size_t i = 0; i + 1 < corners.size(); ++i) {
        const int64_t a = corners[i];
        const int64_t b = corners[i + 1];
        AddPiece(geometry.XOfTick(a), geometry.XOfTick(b), top - rise * glide.At(a),
                 top - rise * glide.Before(b));
    }
    if (m_pieces.empty()) {
        const int64_t x = geometry.XOfTick(start);
        AddPiece(x, x + 1, top - rise * glide.At(start), top - rise * glide.At(start));
    }
    // Pieces thinner than a pixel vanish; keep the last pixel column of the note.
    if (m_pieces.back().x1 <= m_pieces.back().x0)
        m_pieces.back().x1 = m_pieces.back().x0 + 1;
    std::erase_if(m_pieces, [](const PIECE& p) { return p.x1 <= p.x0; });
    m_left = m_pieces.front().x0;
    m_right = m_pieces.back().x1;
    double highest = m_pieces.front().top0;
    double lowest = highest;
    for (const PIECE& p : m_pieces) {
        highest = std::min({highest, p.top0, p.top1});
        lowest = std::max({lowest, p.top0, p.top1});
    }
    m_top = highest;
    m_rise = lowest - highest;
}

void CPianoRollNoteShape::AddPiece(int64_t x0, int64_t x1, double top0, double top1) {
    m_pieces.push_back({x0, x1, top0, top1});
}

namespace {

double TopAt(const CPianoRollNoteShape::PIECE& p, double x) {
    if (p.x1 - p.x0 <= 1)
        return p.top0;
    return p.top0 + (p.top1 - p.top0) * (x - p.x0) / static_cast<double>(p.x1 - p.x0);
}

} // namespace

bool CPianoRollNoteShape::Contains(int64_t x, int y) const {
    if (x < m_left || x >= m_right)
        return false;
    for (const PIECE& p : Pieces()) {
        if (x < p.x0 || x >= p.x1)
            continue;
        // Pixels count by their centres, so a level band covers exactly its rows.
        const double top = TopAt(p, static_cast<double>(x) + 0.5);
        const double centre = y + 0.5;
        return centre >= top && centre < top + m_height;
    }
    return false;
}

bool CPianoRollNoteShape::InRightEdge(int64_t x) const {
    return x >= m_right - CPianoRollGeometry::kRightEdgePixels && x < m_right;
}

bool CPianoRollNoteShape::Meets(int64_t left, double top, int64_t right, double bottom) const {
    if (right <= m_left || left >= m_right || bottom <= Top() || top >= Bottom())
        return false;
    for (const PIECE& p : Pieces()) {
        const int64_t a = std::max(left, p.x0);
        const int64_t b = std::min(right, p.x1);
        if (a >= b)
            continue;
        const double ya = TopAt(p, static_cast<double>(a));
        const double yb = TopAt(p, static_cast<double>(b));
        if (std::min(ya, yb) < bottom && std::max(ya, yb) > top - m_height)
            return true;
    }
    return false;
}
