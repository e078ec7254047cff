#pragma once
// How one row of the track window looks, 36 pixels high:
//
//   x 0..55   the mute column: the mute picture (16 x 16 at x 2, y 10), under it on a
//             soloed track a yellow "S" box (16 x 9 at x 2, y 26), and the source picture
//             (32 x 32 at x 22, y 2)
//   x 60..    the track name in the upper half, "音量 %d" in the lower half and, when the
//             track uses its own note colour, a framed swatch 8 pixels after that text
//
// The source picture of square, triangle, sawtooth, sine and wave memory is drawn from the
// track's own settings (duty, samples) and mirrored top to bottom when the track is
// inverted; noise, PCM and FM have fixed pictures.
//
// Thread: the user-interface thread only (paints with QPainter).

#include <QImage>
#include <QPalette>

class CTrackData;
class QFont;
class QPainter;

class CTrackRowPainter {
public:
    static constexpr int kRowHeight = 36;
    static constexpr int kMuteColumn = 56;
    static constexpr int kTextLeft = 60;
    static constexpr int kMuteX = 2;
    static constexpr int kMuteY = 10;
    static constexpr int kMuteSize = 16;
    static constexpr int kSoloY = 26;
    static constexpr int kSoloHeight = 9;
    static constexpr QRgb kSoloColor = 0xFFF2C40F;
    static constexpr int kSourceX = 22;
    static constexpr int kSourceY = 2;
    static constexpr int kSourceSize = 32;

    struct ROW {
        bool selected = false; // highlight colours
        bool focus = false;    // focus rectangle from the mute column to the right edge
        bool solo = false;     // the "S" box under the mute picture
    };

    // Paints the row into a `width` x kRowHeight area at the painter's origin.
    static void Paint(QPainter& painter, int width, const CTrackData& track, ROW row,
                      const QPalette& palette, const QFont& font);

    // The row in words, for screen readers: the name, the source kind and "音量 n" as the row
    // shows them, and "ミュート" while the track is muted, joined by "、".
    static QString Reading(const CTrackData& track);

    // The pictures are drawn at `ratio` device pixels per logical pixel, so that they stay
    // sharp on a scaled screen; their sizes in logical pixels are fixed.
    // The source picture on `background`: a light grey centre line and a black curve.
    static QImage SourcePicture(const CTrackData& track, const QColor& background,
                                qreal ratio = 1.0);
    // A speaker, with sound waves while it sounds and a red cross while muted.
    static QImage MutePicture(bool muted, const QColor& background, qreal ratio = 1.0);

private:
    static void PaintSolo(QPainter& painter, const QFont& font);
    static void PaintTexts(QPainter& painter, int width, const CTrackData& track,
                           const QColor& text, const QFont& font);
};
