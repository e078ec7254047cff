#include "ui/pianoroll/CPianoRollHitTest.h"

#include "model/CTrack.h"
#include "ui/pianoroll/CPianoRollGeometry.h"
#include "ui/pianoroll/CPianoRollNoteShape.h"

#include <algorithm>

namespace {

// Buckets [first, last] clipped to the track's.
struct BUCKETS {
    size_t first;
    size_t last;
    bool empty;
};

BUCKETS BucketsOf(const CTrack& track, int64_t fromTick, int64_t toTick) {
    if (track.BucketCount() == 0 || toTick < fromTick)
        return {0, 0, true};
    const int64_t last = static_cast<int64_t>(track.BucketCount()) - 1;
    const int64_t first = std::max<int64_t>(fromTick, 0) / CTrack::kBucketTicks;
    const int64_t end = std::min(std::max<int64_t>(toTick, 0) / CTrack::kBucketTicks, last);
    if (first > end)
        return {0, 0, true};
    return {static_cast<size_t>(first), static_cast<size_t>(end), false};
}

} // namespace

CPianoRollHitTest::CPianoRollHitTest(const CTrack& track, const CPianoRollGeometry& geometry,
                                     const CTempoList& tempos, bool portamento)
    : m_track(track), m_geometry(geometry), m_tempos(tempos), m_portamento(portamento) {
}

CPianoRollHitTest::HIT CPianoRollHitTest::NoteAt(int x, int y) const {
    HIT hit;
    // A pixel spans up to two ticks' worth of rounding either way.
    const BUCKETS range =
        BucketsOf(m_track, m_geometry.TickOfX(int64_t{x} - 1), m_geometry.TickOfX(int64_t{x} + 2));
    if (range.empty)
        return hit;
    const int row = m_geometry.RowOfY(y);
    for (size_t b = range.first; b <= range.last; ++b) {
        for (const CNote* n : m_track.Bucket(b)) {
            if (!m_portamento && n->key != row)
                continue;
            if (!n->IsHead() && b != range.first)
                continue; // met already through an earlier segment
            const CPianoRollNoteShape shape(*n, m_geometry, m_tempos, m_portamento);
            if (shape.Contains(x, y))
                hit = {n->Head(), shape.InRightEdge(x)};
        }
    }
    return hit;
}

CConstNoteArray CPianoRollHitTest::NotesMeeting(int64_t left, double top, int64_t right,
                                                double bottom, int32_t fromTick,
                                                int32_t toTick) const {
    CConstNoteArray found;
    const BUCKETS range = BucketsOf(m_track, fromTick, toTick);
    if (range.empty)
        return found;
    for (size_t b = range.first; b <= range.last; ++b) {
        for (const CNote* n : m_track.Bucket(b)) {
            if (!n->IsHead() && b != range.first)
                continue;
            const CPianoRollNoteShape shape(*n, m_geometry, m_tempos, m_portamento);
            if (shape.Meets(left, top, right, bottom))
                found.push_back(n->Head());
        }
    }
    return found;
}
