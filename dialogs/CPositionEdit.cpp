#include "dialogs/CPositionEdit.h"

#include "dialogs/internal/DialogUtil.h"
#include "model/CBeats.h"
#include "model/PositionText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QValidator>

// Refusing (Invalid) makes the line edit undo the change itself, which restores the text
// and the selection exactly; the count tells the box that a refusal happened.
class CPositionEdit::Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (CPositionEdit::IsAcceptable(input))
            return Acceptable;
        ++refusals;
        return Invalid;
    }
    mutable int refusals = 0;
};

namespace {
// Long enough for any 32-bit measure and tick; longer texts are refused.
constexpr int kMaxLength = 24;
} // namespace

CPositionEdit::CPositionEdit(QWidget* parent) : QLineEdit(parent) {
    setAccessibleDescription(tr("位置を「小節:ティック」の形で入力します。"));
    m_pValidator = new Validator(this);
    setValidator(m_pValidator);
    setMaxLength(kMaxLength);
}

CPositionEdit::~CPositionEdit() = default;

void CPositionEdit::SetBeats(const CBeats* beats) {
    m_pBeats = beats;
}

const CBeats& CPositionEdit::Beats() const {
    return dlg::BeatsOrFourFour(m_pBeats);
}

void CPositionEdit::SetPosition(int32_t tick) {
    if (tick < 0) {
        clear();
        return;
    }
    setText(dlg::PositionText(m_pBeats, tick));
    selectAll();
}

int32_t CPositionEdit::GetPosition() const {
    if (!IsAcceptable(text()))
        return -1;
    const auto tick = ParsePosition(Beats(), text().toStdString());
    return tick ? *tick : -1;
}

bool CPositionEdit::IsAcceptable(const QString& text) {
    if (text.size() > kMaxLength)
        return false;
    int colons = 0;
    for (QChar c : text) {
        if (c == u':')
            ++colons;
        else if (c < u'0' || c > u'9')
            return false;
    }
    return colons <= 1;
}

template <class Handler> void CPositionEdit::BeepIfRefused(Handler&& handler) {
    const int before = m_pValidator->refusals;
    handler();
    if (m_pValidator->refusals != before) {
        QApplication::beep();
        emit Refused();
    }
}

void CPositionEdit::keyPressEvent(QKeyEvent* event) {
    BeepIfRefused([&] { QLineEdit::keyPressEvent(event); });
}

void CPositionEdit::inputMethodEvent(QInputMethodEvent* event) {
    BeepIfRefused([&] { QLineEdit::inputMethodEvent(event); });
}

void CPositionEdit::dropEvent(QDropEvent* event) {
    BeepIfRefused([&] { QLineEdit::dropEvent(event); });
}

void CPositionEdit::contextMenuEvent(QContextMenuEvent* event) {
    BeepIfRefused([&] { QLineEdit::contextMenuEvent(event); });
}

void CPositionEdit::focusOutEvent(QFocusEvent* event) {
    if (!text().isEmpty()) {
        const int32_t tick = GetPosition();
        if (tick >= 0)
            setText(dlg::PositionText(m_pBeats, tick));
    }
    QLineEdit::focusOutEvent(event);
    emit Left();
}

QSize CPositionEdit::sizeHint() const {
    QSize size = QLineEdit::sizeHint();
    const int wanted = fontMetrics().horizontalAdvance(QStringLiteral("00000:0000")) +
                       fontMetrics().horizontalAdvance(u' ') * 3;
    size.setWidth(std::max(size.width(), wanted));
    return size;
}
