#pragma once
// Envelope preview: draws a volume envelope as a line graph over a span of time, so that the
// user sees the delay, rates and levels while typing them. The key goes off at 9/10 of the
// span (the vertical marker); the curve setting does not change the drawing.
//
// The control only reads the envelope. Its owner keeps the record alive while it is set
// and calls Redraw() after changing one of its fields or the span.
//
// Thread: the user-interface thread only.

#include <QFrame>
#include <QLine>

#include <vector>

class CEnvelope;

class CEnvelopeWnd : public QFrame {
    Q_OBJECT
public:
    static constexpr int kDefaultSpan = 1000; // ms

    explicit CEnvelopeWnd(QWidget* parent = nullptr);

    // Null shows an empty preview.
    void SetEnvelope(const CEnvelope* envelope);
    const CEnvelope* GetEnvelope() const { return m_envelope; }
    // Milliseconds shown across the width; values below 1 are taken as 1. Repaints.
    void SetSpan(int milliseconds);
    int GetSpan() const { return m_span; }
    // Repaints after the owner changed a field of the envelope.
    void Redraw();

    // The envelope's line segments in pixels of a width × height drawing area (x to the
    // right, y downward, level 255 at the top) for a span in ms; none when the delay lies
    // past the key-off time. Segments reaching far outside the area are cut short.
    static std::vector<QLine> Segments(const CEnvelope& envelope, int span, int width, int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CEnvelope* m_envelope = nullptr;
    int m_span = kDefaultSpan;
};
