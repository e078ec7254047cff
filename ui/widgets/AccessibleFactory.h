#pragma once
// InstallAccessible<Widget, Interface>(): from then on Qt builds `Interface` for every
// `Widget` and every class derived from it that has no interface of its own. Installing
// again does nothing, so a widget may install its interface from its constructor.

#include <QAccessible>
#include <QString>

namespace accessible_detail {

template <class Widget, class Interface>
QAccessibleInterface* Create(const QString& className, QObject* object) {
    // Qt asks with the name of every class along the object's chain; answering for this one
    // name alone keeps one interface per widget.
    if (className != QLatin1String(Widget::staticMetaObject.className()))
        return nullptr;
    auto* widget = qobject_cast<Widget*>(object);
    return widget != nullptr ? new Interface(widget) : nullptr;
}

} // namespace accessible_detail

template <class Widget, class Interface> void InstallAccessible() {
    QAccessible::installFactory(&accessible_detail::Create<Widget, Interface>);
}
