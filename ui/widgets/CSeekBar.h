#pragma once
// A horizontal slider for positions and levels: the value under the pointer drives its tool
// tip, a left click outside the thumb jumps there and reports the new position at once (a
// drag can follow without letting go), and tick marks can be put at any values, for
// example at loop points.
//
// User actions are reported through scrolled(), never through programmatic changes, so an
// owner can move the bar from a timer without hearing itself. The editor's play bar derives
// its seek and volume bars from this class and overrides ToolTipText.

#include <QList>
#include <QSlider>

class CSeekBar : public QSlider {
    Q_OBJECT
public:
    // What a user action did, in the order a gesture reports them.
    enum class ScrollCode {
        Track,    // the thumb is being dragged
        Step,     // a key, the wheel or a page step moved it
        Position, // the thumb came to rest at a new position (a jump or the end of a drag)
        EndTrack, // the gesture is over
    };
    Q_ENUM(ScrollCode)

    explicit CSeekBar(QWidget* parent = nullptr);

    // The value at x (client coordinates): minimum() − 1 left of the channel or at or right
    // of its right end, else the value whose thumb centre is at x, clamped to the range.
    int ValueAt(int x) const;
    // The channel the thumb runs in, inset from the bar's ends.
    QRect ChannelRect() const;
    QRect ThumbRect() const;

    // Tick marks besides those at both ends, drawn on the side given by tickPosition().
    void SetTic(int value);
    void ClearTics();
    const QList<int>& Tics() const { return m_tics; }

    // The tool tip for a point in client coordinates; empty for none. Here: minutes and
    // seconds ("%d:%02d") of the value under the point, the value counting milliseconds.
    virtual QString ToolTipText(const QPoint& pos) const;
    // What the bar stands at, read out by screen readers in place of the bare number. Here:
    // the position and the length, in minutes and seconds ("1:05 / 3:20").
    virtual QString ValueText() const;

    // Moves the thumb to `value` as a click beside it would, reporting Position and
    // EndTrack; a screen reader that sets the value goes through here too.
    void JumpTo(int value);

signals:
    void scrolled(int value, CSeekBar::ScrollCode code);

protected:
    void initStyleOption(QStyleOptionSlider* option) const override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnAction(int action);
    int PixelOf(int value) const;

    QList<int> m_tics;
    // Set while the slider handles the user's input: setSliderPosition from code triggers
    // the same actions, and those are not the user's.
    bool m_userInput = false;
};
