#include "WidgetChecks.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QDebug>
#include <QDockWidget>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QToolBar>
#include <QWidget>

#include <algorithm>

namespace widget_checks {

namespace {

QString Describe(const QWidget* widget) {
    return QStringLiteral("%1 \"%2\"")
        .arg(QLatin1String(widget->metaObject()->className()), widget->objectName());
}

bool IsOwnClass(const QWidget* widget) {
    return !QByteArray(widget->metaObject()->className()).startsWith('Q');
}

// Visible, enabled and not handing its focus to another widget: the controls Tab stops at.
bool TakesTab(const QWidget* widget) {
    return widget->isVisible() && widget->isEnabled() && widget->focusProxy() == nullptr &&
           (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// Tool bar buttons run commands that the menus offer too, and a dock's title buttons have
// their keys in the window's menu; the keyboard reaches both through those.
bool IsBarButton(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    return qobject_cast<const QAbstractButton*>(widget) != nullptr &&
           (qobject_cast<const QToolBar*>(parent) != nullptr ||
            qobject_cast<const QDockWidget*>(parent) != nullptr);
}

bool IsControl(const QWidget* widget) {
    // Scroll bars follow the keys of their view, and a header's sorting is offered in menus.
    if (qobject_cast<const QScrollBar*>(widget) != nullptr ||
        qobject_cast<const QHeaderView*>(widget) != nullptr || IsBarButton(widget))
        return false;
    const char* own[] = {"CKeyboardWnd", "CWaveMemoryEditWnd", "CTrackWnd", "CPianoRollWnd"};
    for (const char* name : own)
        if (widget->inherits(name))
            return true;
    return qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSlider*>(widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(widget) != nullptr ||
           qobject_cast<const QTabBar*>(widget) != nullptr;
}

// Tab stops at one radio button of a group, the checked one, and the arrow keys move
// among the rest (Qt takes the Tab stop from the others).
bool InReachedGroup(const QWidget* widget) {
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (button == nullptr || !button->autoExclusive() || !button->isCheckable())
        return false;
    for (const QAbstractButton* sibling :
         widget->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        if (sibling->autoExclusive() && sibling->isCheckable() &&
            (sibling->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
            return true;
    return false;
}

// The line edit inside a spin box or combo box works on behalf of its owner.
bool IsInnerPart(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    return parent != nullptr && parent->focusProxy() == widget;
}

QRect RectIn(const QWidget* window, const QWidget* widget) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// The ancestors of a and b (or themselves) that are children of their nearest common one.
std::pair<const QWidget*, const QWidget*> Outermost(const QWidget* a, const QWidget* b) {
    for (const QWidget* left = a; left != nullptr; left = left->parentWidget())
        for (const QWidget* right = b; right != nullptr; right = right->parentWidget())
            if (left->parentWidget() != nullptr && left->parentWidget() == right->parentWidget())
                return {left, right};
    return {a, b};
}

bool ShareRow(const QRect& a, const QRect& b) {
    return (a.center().y() >= b.top() && a.center().y() <= b.bottom()) ||
           (b.center().y() >= a.top() && b.center().y() <= a.bottom());
}

// Whether Tab going from `from` to `to` goes against the reading order.
bool GoesBack(const QWidget* window, const QWidget* from, const QWidget* to) {
    const auto [outerFrom, outerTo] = Outermost(from, to);
    const QRect a = RectIn(window, outerFrom);
    const QRect b = RectIn(window, outerTo);
    if (ShareRow(a, b))
        return b.center().x() < a.center().x();
    return b.center().y() < a.center().y() && b.left() <= a.right();
}

// What a widget needs to show its text whole. A push button's size hint is at least the
// style's preferred width of 80 pixels; a narrower button ("...") is not cut off as long as
// its text and picture fit inside its margins, so the smaller of the two counts.
QSize NeededSize(const QWidget* widget) {
    const auto* button = qobject_cast<const QPushButton*>(widget);
    if (button == nullptr || button->text().isEmpty())
        return widget->minimumSizeHint();
    QStyleOptionButton option;
    option.initFrom(button);
    const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    int width = button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&'));
    if (!button->icon().isNull())
        width += button->iconSize().width() + 4;
    const QSize hint = button->minimumSizeHint();
    return {std::min(width + 2 * margin, hint.width()), hint.height()};
}

} // namespace

bool Report(const QStringList& faults) {
    for (const QString& fault : faults)
        qWarning().noquote() << fault;
    return faults.isEmpty();
}

QStringList UnnamedCustomWidgets(QWidget* root) {
    QStringList faults;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (!IsOwnClass(widget) || widget->isWindow())
            continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        if (iface == nullptr) {
            faults << Describe(widget) + QStringLiteral(": no accessible interface");
            continue;
        }
        if (iface->text(QAccessible::Name).trimmed().isEmpty())
            faults << Describe(widget) + QStringLiteral(": no accessible name");
        // Qt's interface for dock widgets reads out their title and nothing else.
        const bool describable = qobject_cast<QDockWidget*>(widget) == nullptr;
        if (describable && iface->text(QAccessible::Description).trimmed().isEmpty())
            faults << Describe(widget) + QStringLiteral(": no accessible description");
    }
    return faults;
}

QStringList UnreachableControls(QWidget* window) {
    QStringList faults;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || !widget->isVisible() || !widget->isEnabled() ||
            !IsControl(widget) || IsInnerPart(widget))
            continue;
        const QWidget* target = widget->focusProxy() != nullptr ? widget->focusProxy() : widget;
        if ((target->focusPolicy() & Qt::TabFocus) != Qt::TabFocus && !InReachedGroup(widget))
            faults << Describe(widget) + QStringLiteral(": not reached by Tab");
    }
    return faults;
}

QStringList TabOrderFaults(QWidget* window) {
    QList<const QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w != nullptr && w != window;
         w = w->nextInFocusChain()) {
        if (w->window() == window && TakesTab(w) && !chain.contains(w))
            chain << (IsInnerPart(w) ? w->parentWidget() : w);
    }
    QStringList faults;
    for (qsizetype i = 1; i < chain.size(); ++i)
        if (GoesBack(window, chain[i - 1], chain[i]))
            faults << Describe(chain[i - 1]) + QStringLiteral(" → ") + Describe(chain[i]);
    return faults;
}

QStringList ClippedWidgets(QWidget* window) {
    QStringList faults;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const bool texty = qobject_cast<QLabel*>(widget) != nullptr ||
                           qobject_cast<QAbstractButton*>(widget) != nullptr ||
                           qobject_cast<QGroupBox*>(widget) != nullptr;
        if (!texty || !widget->isVisible() || widget->window() != window)
            continue;
        const QSize need = NeededSize(widget);
        if (widget->width() < need.width() || widget->height() < need.height())
            faults << QStringLiteral("%1: %2×%3 < %4×%5")
                          .arg(Describe(widget))
                          .arg(widget->width())
                          .arg(widget->height())
                          .arg(need.width())
                          .arg(need.height());
    }
    return faults;
}

} // namespace widget_checks
