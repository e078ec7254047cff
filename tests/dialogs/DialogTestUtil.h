#pragma once
// Helpers for driving dialogs with real events on the offscreen platform.

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace dlgtest {

// The offscreen platform warns on every shown window that it cannot pass size hints on;
// the noise would hide real warnings. Call from initTestCase(), after QTest installed its
// own handler.
inline void QuietOffscreenWarnings() {
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains(QLatin1String("propagateSizeHints")))
                previous(type, context, message);
        });
}

// Shows a top-level widget and makes it the active window, so that focus changes produce
// real focus-in and focus-out events.
inline bool ShowActive(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

template <class T> T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QLatin1String(name));
    if (child == nullptr)
        qFatal("no child named %s", name);
    return child;
}

// Gives the focus to `widget`, then to `next`, so that `widget` sees a real focus-out.
inline void Leave(QWidget* widget, QWidget* next) {
    widget->setFocus(Qt::TabFocusReason);
    next->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

inline QPushButton* OkButton(QWidget* dialog) {
    return Child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
}

inline QPushButton* CancelButton(QWidget* dialog) {
    return Child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Cancel);
}

// Runs `driver` on the next modal dialog that opens above `below`; the driver should close
// it, and a driver that stops early (a failed check) leaves it to be cancelled here. Call
// before the action that opens the dialog.
inline void OnNextModal(QWidget* below, std::function<void(QDialog*)> driver) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, below, driver] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!timer->isActive() || modal == nullptr || modal == below)
            return;
        timer->stop();
        timer->deleteLater();
        driver(modal);
        if (modal->isVisible())
            modal->reject();
    });
    timer->start();
}

// Clicks a button with the mouse: a check box or radio button on its indicator, since a
// click beside its text does not toggle it.
inline void Click(QWidget* button) {
    QPoint at = button->rect().center();
    if (qobject_cast<QCheckBox*>(button) != nullptr ||
        qobject_cast<QRadioButton*>(button) != nullptr) {
        QStyleOptionButton option;
        option.initFrom(button);
        const bool check = qobject_cast<QCheckBox*>(button) != nullptr;
        at = button->style()
                 ->subElementRect(check ? QStyle::SE_CheckBoxIndicator
                                        : QStyle::SE_RadioButtonIndicator,
                                  &option, button)
                 .center();
    }
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

// Selects all text of the focused widget's line and types `text` over it.
inline void TypeOver(QWidget* widget, const QString& text) {
    widget->setFocus(Qt::TabFocusReason);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(widget, text);
}

} // namespace dlgtest
