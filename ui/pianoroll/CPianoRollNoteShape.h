#pragma once
// The drawn shape of a note in client pixels: its rectangle (position to end, one row
// high), or, for a note with a portamento glide shown, the band one row high traced by its
// pitch. The same shape is painted, hit by the mouse and met by selection rectangles.
//
// The glide runs linearly in seconds from the portamento start to its end, so in ticks it
// is piecewise linear with corners where the tempo changes; the band is made of pieces
// with vertical sides, one per stretch between such corners, and is exact.
//
// Thread: any.

#include <cstdint>
#include <span>
#include <vector>

class CNote;
class CPianoRollGeometry;
class CTempoList;

class CPianoRollNoteShape {
public:
    // One stretch of the band: x from x0 to x1 (exclusive), its top edge running straight
    // from top0 to top1. The band is `height` pixels high below the top edge.
    struct PIECE {
        int64_t x0;
        int64_t x1;
        double top0;
        double top1;
    };

    // The shape of a note in the given view. With `portamento` false (the view option is
    // off) every note is its rectangle.
    CPianoRollNoteShape(const CNote& note, const CPianoRollGeometry& geometry,
                        const CTempoList& tempos, bool portamento);

    // True when the note glides: the band has more than one piece or is not level.
    bool IsGlide() const { return m_glide; }
    std::span<const PIECE> Pieces() const {
        return m_glide ? std::span<const PIECE>(m_pieces) : std::span<const PIECE>(&m_rect, 1);
    }
    int Height() const { return m_height; }

    // Bounding rectangle, [Left, Right) × [Top, Bottom).
    int64_t Left() const { return m_left; }
    int64_t Right() const { return m_right; }
    double Top() const { return m_top; }
    double Bottom() const { return m_top + m_height + m_rise; }

    bool Contains(int64_t x, int y) const;
    // The last pixels of the note's width, where a drag changes the length.
    bool InRightEdge(int64_t x) const;
    // Whether the band meets the rectangle [left, right) × [top, bottom).
    bool Meets(int64_t left, double top, int64_t right, double bottom) const;

private:
    void BuildRectangle(int64_t x0, int64_t x1, double top);
    void BuildGlide(const CNote& note, const CPianoRollGeometry& geometry, const CTempoList& tempos,
                    double top);
    void AddPiece(int64_t x0, int64_t x1, double top0, double top1);

    // A plain rectangle needs no allocation: most notes are painted and hit as m_rect.
    PIECE m_rect{};
    std::vector<PIECE> m_pieces;
    int m_height = 0;
    bool m_glide = false;
    int64_t m_left = 0;
    int64_t m_right = 0;
    double m_top = 0;
    double m_rise = 0; // Bottom - Top - height: how far the top edge spreads vertically
};
