#include "InterfaceTexts.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>

#include <map>

bool HasJapanese(const QString& text) {
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3000}-\\x{30FF}\\x{4E00}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    return text.contains(japanese);
}

namespace {

QString Name(const QObject& object) {
    return object.objectName() + QLatin1Char('/') + QLatin1String(object.metaObject()->className());
}

void AddAction(const QAction& action, QStringList& texts) {
    texts << action.text() << action.iconText() << action.toolTip() << action.statusTip()
          << action.whatsThis();
    if (action.menu() != nullptr)
        texts << action.menu()->title();
}

// Column headings only: the rows hold the user's data (songs, presets), not the program's.
void AddHeaders(const QAbstractItemModel* model, QStringList& texts) {
    if (model == nullptr)
        return;
    for (int i = 0; i < model->columnCount(); ++i)
        texts << model->headerData(i, Qt::Horizontal).toString();
}

// Everything one widget says, without its children.
QStringList TextsOf(const QWidget& widget) {
    QStringList texts{widget.windowTitle(), widget.toolTip(), widget.statusTip(),
                      widget.whatsThis()};
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        texts << button->text();
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        texts << label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget))
        texts << edit->placeholderText();
    if (const auto* box = qobject_cast<const QGroupBox*>(&widget))
        texts << box->title();
    if (const auto* list = qobject_cast<const QComboBox*>(&widget))
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
    if (const auto* tabs = qobject_cast<const QTabWidget*>(&widget))
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i) << tabs->tabToolTip(i);
    if (const auto* header = qobject_cast<const QHeaderView*>(&widget))
        AddHeaders(header->model(), texts);
    if (const auto* menu = qobject_cast<const QMenu*>(&widget))
        texts << menu->title();
    for (const QAction* action : widget.actions())
        AddAction(*action, texts);
    return texts;
}

QChar Mnemonic(QString text) {
    text.remove(QStringLiteral("&&"));
    const qsizetype at = text.indexOf(u'&');
    return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
}

} // namespace

QStringList JapaneseTexts(const QWidget& root) {
    QList<const QWidget*> widgets{&root};
    for (const QWidget* child : root.findChildren<QWidget*>())
        widgets.append(child);
    QStringList found;
    for (const QWidget* widget : widgets)
        for (const QString& text : TextsOf(*widget))
            if (HasJapanese(text))
                found << Name(*widget) + QStringLiteral(": ") + text;
    found.removeDuplicates();
    return found;
}

QStringList DuplicateMnemonics(const QMenu& menu) {
    std::map<QChar, QStringList> users;
    for (const QAction* action : menu.actions())
        if (!action->isSeparator() && !Mnemonic(action->text()).isNull())
            users[Mnemonic(action->text())] << action->text();
    QStringList duplicates;
    for (const auto& [letter, texts] : users)
        if (texts.size() > 1)
            duplicates << menu.title() + QStringLiteral(": ") + texts.join(QStringLiteral(" | "));
    return duplicates;
}
