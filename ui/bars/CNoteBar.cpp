#include "ui/bars/CNoteBar.h"

#include "dialogs/CNumberEdit.h"
#include "ui/CNoteDefaults.h"
#include "ui/CommandIds.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

#include <limits>

namespace {

constexpr int64_t kMaxTicks = std::numeric_limits<int32_t>::max();

} // namespace

CNoteBar::CNoteBar(CNoteDefaults& defaults, QWidget* parent)
    : QToolBar(QCoreApplication::translate("CNoteBar", "音符"), parent), m_defaults(defaults) {
    setObjectName("noteBar");
    setAccessibleName(windowTitle());
    setAccessibleDescription(tr("新しく入力する音符のフィット、音長、キーオフと音量です。"));
    addSeparator();
    m_fit = AddField(cmd::kFocusFit, Qt::Key_F,
                     QCoreApplication::translate("CNoteBar", "フィット(&F):"),
                     QCoreApplication::translate("CNoteBar", "フィット(F): "), 1, kMaxTicks);
    m_length =
        AddField(cmd::kFocusLength, Qt::Key_L, QCoreApplication::translate("CNoteBar", "音長(&L):"),
                 QCoreApplication::translate("CNoteBar", "音長(L): "), 1, kMaxTicks);
    m_keyoff = AddField(cmd::kFocusKeyoff, Qt::Key_K,
                        QCoreApplication::translate("CNoteBar", "キーオフ(&K):"),
                        QCoreApplication::translate("CNoteBar", "キーオフ(K): "), 0, 255);
    m_volume =
        AddField(cmd::kFocusVolume, Qt::Key_V, QCoreApplication::translate("CNoteBar", "音量(&V):"),
                 QCoreApplication::translate("CNoteBar", "音量(V): "), 0, 255);
    connect(&m_defaults, &CNoteDefaults::changed, this, &CNoteBar::ShowValues);
    ShowValues();
}

// The box takes any digits; the spin arrows stay within [minimum, spinMaximum], and the
// value typed is limited when the box is left. Alt with the label's mnemonic reaches it.
CNumberEdit* CNoteBar::AddField(int id, Qt::Key mnemonic, const QString& label,
                                const QString& widthSample, int64_t minimum, int64_t spinMaximum) {
    auto* holder = new QWidget(this);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(4, 0, 2, 0);
    layout->setSpacing(2);
    auto* caption = new QLabel(label, holder);
    caption->setMinimumWidth(caption->fontMetrics().horizontalAdvance(widthSample));
    auto* field = new CNumberEdit(holder);
    field->setObjectName(QStringLiteral("noteField%1").arg(id));
    field->SetRange(minimum, spinMaximum);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance("0000000") + 28);
    field->setProperty("commandId", id);
    field->installEventFilter(this);
    caption->setBuddy(field);
    layout->addWidget(caption);
    layout->addWidget(field);
    addWidget(holder);
    connect(field, &CNumberEdit::Committed, this, [this, id] { Store(id); });
    m_commandSet.Add(
        {.id = id, .keys = Keys(Qt::ALT | mnemonic), .run = [this, field] { FocusField(field); }});
    return field;
}

CNumberEdit* CNoteBar::Field(int id) const {
    switch (id) {
    case cmd::kFocusFit:
        return m_fit;
    case cmd::kFocusLength:
        return m_length;
    case cmd::kFocusKeyoff:
        return m_keyoff;
    case cmd::kFocusVolume:
        return m_volume;
    default:
        return nullptr;
    }
}

void CNoteBar::FocusField(CNumberEdit* field) {
    if (!isVisible())
        show();
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

void CNoteBar::Store(int id) {
    const int64_t value = Field(id)->Value();
    switch (id) {
    case cmd::kFocusFit:
        m_defaults.SetFit(value);
        break;
    case cmd::kFocusLength:
        m_defaults.SetLength(value);
        break;
    case cmd::kFocusKeyoff:
        m_defaults.SetKeyoff(value);
        break;
    case cmd::kFocusVolume:
        m_defaults.SetVolume(value);
        break;
    default:
        break;
    }
}

void CNoteBar::ShowValues() {
    const std::pair<CNumberEdit*, int32_t> fields[] = {{m_fit, m_defaults.Fit()},
                                                       {m_length, m_defaults.Length()},
                                                       {m_keyoff, m_defaults.Keyoff()},
                                                       {m_volume, m_defaults.Volume()}};
    for (const auto& [field, value] : fields)
        if (!field->hasFocus())
            field->SetValue(value);
}

bool CNoteBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* field = qobject_cast<CNumberEdit*>(watched);
        if (field != nullptr && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            field->Commit();
            emit focusPianoRoll();
            return true;
        }
    }
    return QToolBar::eventFilter(watched, event);
}
