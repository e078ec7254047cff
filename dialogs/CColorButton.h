#pragma once
// A push button that shows a colour and lets the user pick another with the colour chooser.
// Colours are 0x00BBGGRR values, the form in which the settings keep them.

#include <QPushButton>

#include <array>
#include <cstdint>

class CColorButton : public QPushButton {
    Q_OBJECT
public:
    using CustomColors = std::array<uint32_t, 16>;

    explicit CColorButton(QWidget* parent = nullptr);

    void SetColor(uint32_t bgr);
    uint32_t GetColor() const { return m_color; }
    // The chooser's sixteen custom colours; shared by the caller's buttons and kept up to
    // date with what the user stores in the chooser. Must outlive the button; may be null.
    void SetCustomColors(CustomColors* colors) { m_pCustomColors = colors; }

    static QColor ToQColor(uint32_t bgr);
    static uint32_t FromQColor(const QColor& color);

    QSize sizeHint() const override;

signals:
    void ColorChanged(uint32_t bgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Choose();

    uint32_t m_color = 0;
    CustomColors* m_pCustomColors = nullptr;
};
