#include "ui/pianoroll/CPianoRollNotePainter.h"

#include "common/Options.h"
#include "model/CProject.h"
#include "ui/pianoroll/CPianoRollGeometry.h"
#include "ui/pianoroll/CPianoRollNoteShape.h"
#include "ui/pianoroll/PianoRollColors.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace colors = piano_roll_colors;

namespace {

// A note's pixel span limited to just beyond the clip rectangle: its outline stays where
// the note really ends, and far-away pixels never reach the painter as huge numbers.
int ClipX(int64_t x, const QRect& clip) {
    return static_cast<int>(std::clamp<int64_t>(x, clip.left() - 2, clip.right() + 2));
}

QRect NoteRect(int64_t x0, int64_t x1, int top, int height, const QRect& clip) {
    const int left = ClipX(x0, clip);
    return QRect(left, top, ClipX(x1, clip) - left, height);
}

} // namespace

CPianoRollNotePainter::CPianoRollNotePainter(const PIANO_ROLL_SCENE& scene) : m_scene(scene) {
}

void CPianoRollNotePainter::Paint(QPainter& painter, const QRect& clip) const {
    if (clip.isEmpty())
        return;
    const OPTIONS& options = m_scene.options;
    const CProject& project = m_scene.project;
    painter.save();
    painter.setClipRect(clip);
    if (options.viewInactiveNote != 0) {
        for (int pass = 0; pass < 2; ++pass) {
            const bool muted = pass == 0;
            if (muted && options.viewInactiveMuteNoteColor == 0)
                continue;
            for (size_t i = 0; i < project.tracks.size(); ++i) {
                const CTrack& track = project.tracks[i];
                if (static_cast<int>(i) == project.currentTrack ||
                    (track.settings.mute != 0) != muted)
                    continue;
                const QColor color =
                    muted ? colors::FromBgr(options.crInactiveMuteNote) : OtherTrackColor(track);
                PaintTrack(painter, clip, track, Style::kInactive, color);
            }
        }
    }
    if (options.viewNoteCaret != 0)
        PaintCaret(painter, clip);
    if (project.currentTrack >= 0 &&
        project.currentTrack < static_cast<int>(project.tracks.size())) {
        const CTrack& track = project.tracks[static_cast<size_t>(project.currentTrack)];
        const uint32_t color =
            track.settings.useNoteColor != 0 ? track.settings.noteColor : options.crNote;
        PaintTrack(painter, clip, track, Style::kActive, colors::FromBgr(color));
    }
    painter.restore();
}

QColor CPianoRollNotePainter::OtherTrackColor(const CTrack& track) const {
    const OPTIONS& options = m_scene.options;
    if (options.viewInactiveNoteColor != 0)
        return colors::FromBgr(options.crInactiveNote);
    return colors::FromBgr(track.settings.useNoteColor != 0 ? track.settings.noteColor
                                                            : options.crNote);
}

void CPianoRollNotePainter::PaintTrack(QPainter& painter, const QRect& clip, const CTrack& track,
                                       Style style, const QColor& color) const {
    const CPianoRollGeometry& g = m_scene.geometry;
    if (track.BucketCount() == 0)
        return;
    const size_t first = static_cast<size_t>(g.TickOfX(clip.left() - 1) / CTrack::kBucketTicks);
    const size_t last =
        std::min(static_cast<size_t>(g.TickOfX(clip.right() + 2)) / CTrack::kBucketTicks,
                 track.BucketCount() - 1);
    const bool glides = m_scene.options.viewPortamento != 0;
    const int topRow = g.RowOfY(clip.top());
    const int bottomRow = g.RowOfY(clip.bottom());
    for (size_t b = first; b <= last; ++b) {
        for (const CNote* n : track.Bucket(b)) {
            if (!n->IsHead() && b != first)
                continue;
            const bool level = !glides || !n->HasPortamento();
            if (level && (n->key < topRow || n->key > bottomRow))
                continue;
            PaintNote(painter, clip, *n, style, color);
        }
    }
}

void CPianoRollNotePainter::PaintCaret(QPainter& painter, const QRect& clip) const {
    const CPianoRollGeometry& g = m_scene.geometry;
    const CNote& caret = m_scene.caret;
    const int64_t x0 = g.XOfTick(caret.position);
    const int64_t x1 = std::max(g.XOfTick(int64_t{caret.position} + caret.length), x0 + 1);
    painter.fillRect(NoteRect(x0, x1, g.YOfRow(caret.key), g.ZoomY(), clip),
                     colors::FromBgr(m_scene.options.crSelectedNote));
}

void CPianoRollNotePainter::PaintNote(QPainter& painter, const QRect& clip, const CNote& note,
                                      Style style, const QColor& color) const {
    const OPTIONS& options = m_scene.options;
    const CPianoRollNoteShape shape(note, m_scene.geometry, m_scene.project.data.tempos,
                                    options.viewPortamento != 0);
    if (shape.Right() <= clip.left() || shape.Left() > clip.right() ||
        shape.Bottom() <= clip.top() || shape.Top() > clip.bottom())
        return;
    QColor fill;
    bool gradation = false;
    if (style == Style::kActive && note.selected != 0) {
        fill = colors::FromBgr(options.crSelectedNote);
    } else {
        fill = colors::Lighten(color, note.volume);
        gradation = options.viewGradation != 0;
    }
    if (shape.IsGlide()) {
        PaintGlide(painter, clip, shape, fill, gradation);
        return;
    }
    const auto& piece = shape.Pieces().front();
    PaintRectangle(painter,
                   NoteRect(piece.x0, piece.x1, static_cast<int>(piece.top0), shape.Height(), clip),
                   fill, gradation);
}

void CPianoRollNotePainter::PaintRectangle(QPainter& painter, const QRect& rect, const QColor& fill,
                                           bool gradation) const {
    painter.fillRect(rect, colors::Halve(fill));
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    if (inner.isEmpty())
        return;
    if (!gradation) {
        painter.fillRect(inner, fill);
        return;
    }
    const int n = inner.height();
    for (int i = 0; i < n; ++i)
        painter.fillRect(inner.left(), inner.top() + i, inner.width(), 1,
                         colors::GradationLine(fill, n, i));
}

namespace {

// The top edge of a glide band within the clip window, as a polyline.
QPolygonF TopEdge(const CPianoRollNoteShape& shape, const QRect& clip) {
    const double lo = clip.left() - 2;
    const double hi = clip.right() + 3;
    QPolygonF edge;
    for (const auto& p : shape.Pieces()) {
        const double x0 = static_cast<double>(p.x0);
        const double x1 = static_cast<double>(p.x1);
        const double a = std::clamp(x0, lo, hi);
        const double b = std::clamp(x1, lo, hi);
        if (b <= a)
            continue;
        auto top = [&](double x) { return p.top0 + (p.top1 - p.top0) * (x - x0) / (x1 - x0); };
        edge << QPointF(a, top(a)) << QPointF(b, top(b));
    }
    return edge;
}

} // namespace

void CPianoRollNotePainter::PaintGlide(QPainter& painter, const QRect& clip,
                                       const CPianoRollNoteShape& shape, const QColor& fill,
                                       bool gradation) const {
    const QPolygonF top = TopEdge(shape, clip);
    if (top.isEmpty())
        return;
    const int height = shape.Height();
    QPolygonF band = top;
    for (qsizetype i = top.size() - 1; i >= 0; --i)
        band << top[i] + QPointF(0, height - 1);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    if (gradation) {
        painter.setBrush(colors::GradationLine(fill, height - 2, 0));
        painter.drawPolygon(band);
        const int n = height - 2;
        for (int i = 0; i < n; ++i) {
            painter.setPen(colors::GradationLine(fill, n, i));
            painter.drawPolyline(top.translated(0, 1 + i));
        }
    } else {
        painter.drawPolygon(band);
    }
    painter.setPen(colors::Halve(fill));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(band);
    painter.restore();
}
