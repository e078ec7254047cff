#include "ui/trackwnd/CTrackRowPainter.h"

#include "common/SourceKinds.h"
#include "model/CTrackData.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kCentre = 16;    // centre line of the source picture
constexpr int kAmplitude = 15; // pixels from the centre line to a peak
constexpr int kHalfRow = CTrackRowPainter::kRowHeight / 2;

QColor FromBgr(uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// Curve points of a wave value in -kAmplitude..kAmplitude, mirrored when inverted.
class Curve {
public:
    explicit Curve(bool invert) : m_invert(invert) {}
    void Add(int x, int level) {
        const int y = kCentre - std::clamp(level, -kAmplitude, kAmplitude);
        m_points << QPoint(x, m_invert ? 2 * kCentre - y : y);
    }
    const QPolygon& Points() const { return m_points; }

private:
    bool m_invert;
    QPolygon m_points;
};

// High from x 0 to the duty's edge (x 15 for an even wave), low to x 30.
void SquareCurve(Curve& curve, int32_t duty) {
    const int edge = std::clamp(duty, -256, 256) * 15 / 256 + 15;
    curve.Add(0, 0);
    curve.Add(0, kAmplitude);
    curve.Add(edge, kAmplitude);
    curve.Add(edge, -kAmplitude);
    curve.Add(30, -kAmplitude);
    curve.Add(30, 0);
}

void TriangleCurve(Curve& curve) {
    curve.Add(0, 0);
    curve.Add(7, kAmplitude);
    curve.Add(23, -kAmplitude);
    curve.Add(31, 0);
}

// The falling sawtooth the voice plays: from the top at the start down to the bottom.
void SawtoothCurve(Curve& curve) {
    curve.Add(0, 0);
    curve.Add(0, kAmplitude);
    curve.Add(30, -kAmplitude);
    curve.Add(30, 0);
}

void FunctionCurve(Curve& curve, double (*wave)(double phase)) {
    for (int x = 0; x < CTrackRowPainter::kSourceSize; ++x)
        curve.Add(x, static_cast<int>(std::lround(kAmplitude * wave(x / 32.0))));
}

double Sine(double phase) {
    return std::sin(2 * std::numbers::pi * phase);
}

// Fixed pictures: a frequency-modulated wave for FM, a dying sample for PCM.
double Fm(double phase) {
    return 0.93 * std::sin(2 * std::numbers::pi * phase + 2 * Sine(2 * phase));
}

double Pcm(double phase) {
    return 0.93 * std::exp(-3.2 * phase) * std::sin(35 * phase);
}

void NoiseCurve(Curve& curve) {
    static constexpr int kLevels[] = {9, -12, 4,  14, -6, -15, 11, -3,
                                      7, -10, 13, -8, 2,  -14, 6,  -4};
    for (int i = 0; i < 16; ++i) {
        curve.Add(2 * i, kLevels[i]);
        curve.Add(2 * i + 1, kLevels[i]);
    }
}

// The samples as steps across the picture, sample x 15 / (height / 2).
void WaveMemoryCurve(Curve& curve, const CWaveMemory& wave) {
    const size_t count = wave.samples.size();
    const int64_t half = std::max(wave.height / 2, 1);
    for (size_t i = 0; i < count; ++i) {
        const int64_t scaled = int64_t{wave.samples[i]} * kAmplitude / half;
        const int level = static_cast<int>(std::clamp<int64_t>(scaled, -kAmplitude, kAmplitude));
        const auto from = static_cast<int>(i * 32 / count);
        const auto to = static_cast<int>((i + 1) * 32 / count) - 1;
        curve.Add(from, level);
        curve.Add(std::max(from, to), level);
    }
}

Curve SourceCurve(const CTrackData& track) {
    Curve curve(track.invert != 0 && track.waveform != kNoise && track.waveform != kPcm &&
                track.waveform != kFm);
    switch (track.waveform) {
    case kSquare:
        SquareCurve(curve, track.duty);
        break;
    case kTriangle:
        TriangleCurve(curve);
        break;
    case kSawtooth:
        SawtoothCurve(curve);
        break;
    case kSine:
        FunctionCurve(curve, Sine);
        break;
    case kNoise:
        NoiseCurve(curve);
        break;
    case kPcm:
        FunctionCurve(curve, Pcm);
        break;
    case kWaveMemory:
        WaveMemoryCurve(curve, track.waveMemory);
        break;
    case kFm:
        FunctionCurve(curve, Fm);
        break;
    default:
        break;
    }
    return curve;
}

// A square picture `size` logical pixels wide, filled with `background`.
QImage Picture(int size, const QColor& background, qreal ratio) {
    const int pixels = qRound(size * ratio);
    QImage image(pixels, pixels, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    return image;
}

QString VolumeText(const CTrackData& track) {
    return QCoreApplication::translate("CTrackRowPainter", "音量 %1").arg(track.volume);
}

} // namespace

QString CTrackRowPainter::Reading(const CTrackData& track) {
    QStringList parts = {QString::fromStdString(track.name), SourceKindName(track.waveform),
                         VolumeText(track)};
    if (track.mute != 0)
        parts << QCoreApplication::translate("CTrackRowPainter", "ミュート");
    return parts.join(QStringLiteral("、"));
}

QImage CTrackRowPainter::SourcePicture(const CTrackData& track, const QColor& background,
                                       qreal ratio) {
    QImage image = Picture(kSourceSize, background, ratio);
    QPainter painter(&image);
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    painter.drawLine(0, kCentre, kSourceSize - 1, kCentre);
    painter.setPen(Qt::black);
    painter.drawPolyline(SourceCurve(track).Points());
    return image;
}

QImage CTrackRowPainter::MutePicture(bool muted, const QColor& background, qreal ratio) {
    QImage image = Picture(kMuteSize, background, ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor body(0x5A, 0x60, 0x6A);
    painter.setPen(QPen(body, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(body);
    painter.drawPolygon(QPolygonF({QPointF(1.5, 5.5), QPointF(4.5, 5.5), QPointF(8.5, 2),
                                   QPointF(8.5, 14), QPointF(4.5, 10.5), QPointF(1.5, 10.5)}));
    painter.setBrush(Qt::NoBrush);
    if (muted) {
        painter.setPen(QPen(QColor(0xD6, 0x45, 0x41), 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(10.5, 5.5), QPointF(15, 10.5));
        painter.drawLine(QPointF(15, 5.5), QPointF(10.5, 10.5));
    } else {
        painter.setPen(QPen(QColor(0x2E, 0x7D, 0x32), 1.3, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(QRectF(6.5, 5, 5, 6), -50 * 16, 100 * 16);
        painter.drawArc(QRectF(6, 2.5, 9, 11), -55 * 16, 110 * 16);
    }
    return image;
}

void CTrackRowPainter::Paint(QPainter& painter, int width, const CTrackData& track, ROW row,
                             const QPalette& palette, const QFont& font) {
    const QColor base = palette.color(QPalette::Base);
    const QColor background = row.selected ? palette.color(QPalette::Highlight) : base;
    const QColor text =
        row.selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
    painter.fillRect(0, 0, width, kRowHeight, background);
    const qreal ratio = painter.device()->devicePixelRatioF();
    painter.drawImage(kMuteX, kMuteY, MutePicture(track.mute != 0, background, ratio));
    if (row.solo)
        PaintSolo(painter, font);
    painter.drawImage(kSourceX, kSourceY, SourcePicture(track, base, ratio));
    PaintTexts(painter, width, track, text, font);
    if (row.focus) {
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(kMuteColumn, 0, width - kMuteColumn - 1, kRowHeight - 1);
    }
}

void CTrackRowPainter::PaintSolo(QPainter& painter, const QFont& font) {
    const QRect box(kMuteX, kSoloY, kMuteSize, kSoloHeight);
    painter.fillRect(box, QColor::fromRgb(kSoloColor));
    QFont small = font;
    small.setPixelSize(kSoloHeight);
    small.setBold(true);
    painter.setFont(small);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, QStringLiteral("S"));
}

void CTrackRowPainter::PaintTexts(QPainter& painter, int width, const CTrackData& track,
                                  const QColor& text, const QFont& font) {
    painter.setFont(font);
    painter.setPen(text);
    const QFontMetrics metrics(font);
    const int textWidth = std::max(width - kTextLeft - 2, 0);
    const QString name =
        metrics.elidedText(QString::fromStdString(track.name), Qt::ElideRight, textWidth);
    painter.drawText(QRect(kTextLeft, 0, textWidth, kHalfRow), Qt::AlignLeft | Qt::AlignVCenter,
                     name);
    const QString volume = VolumeText(track);
    painter.drawText(QRect(kTextLeft, kHalfRow, textWidth, kHalfRow),
                     Qt::AlignLeft | Qt::AlignVCenter, volume);
    if (track.useNoteColor == 0)
        return;
    const int size = std::min(metrics.height(), kHalfRow - 2);
    const QRect swatch(kTextLeft + metrics.horizontalAdvance(volume) + 8,
                       kHalfRow + (kHalfRow - size) / 2, size, size);
    painter.fillRect(swatch, FromBgr(track.noteColor));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}
