#pragma once
// The position box: a song position typed and shown as measure:tick ("2:480", measures
// from 1) through the song's time signatures. A keystroke, paste or drop that would make
// the text something other than digits with at most one ":" is refused with a beep, and the
// previous text and selection stay. Leaving the box rewrites a non-empty text in its
// normal form (1:1920 in 4/4 becomes 2:0).

#include <QLineEdit>

#include <cstdint>

class CBeats;

class CPositionEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CPositionEdit(QWidget* parent = nullptr);
    ~CPositionEdit() override;

    // The signatures used for the conversions; they must outlive the box. nullptr (the
    // default) converts as a song in 4/4 throughout.
    void SetBeats(const CBeats* beats);
    // Shows the tick and selects the whole text; a negative tick empties the box.
    void SetPosition(int32_t tick);
    // The tick the text stands for (an empty part counts as 0), or -1 when the text is not
    // a position.
    int32_t GetPosition() const;

    static bool IsAcceptable(const QString& text);

    QSize sizeHint() const override;

signals:
    // The box lost the focus; its text has been normalised.
    void Left();
    // A user edit was refused (and the system beep sounded).
    void Refused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    class Validator;
    const CBeats& Beats() const;
    // Runs a user-input handler and beeps when the validator refused what it typed.
    template <class Handler> void BeepIfRefused(Handler&& handler);

    const CBeats* m_pBeats = nullptr;
    Validator* m_pValidator = nullptr;
};
