#include "dialogs/internal/DialogUtil.h"

#include "model/CBeats.h"
#include "model/PositionText.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace dlg {

namespace {
constexpr int kBaseBeatCount = 7; // 1 .. 64
constexpr int kQuarterIndex = 2;
} // namespace

QDialogButtonBox* MakeButtonBox(QDialog* dialog, const QString& okText) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    box->setObjectName(QStringLiteral("buttonBox"));
    box->button(QDialogButtonBox::Ok)->setText(okText);
    box->button(QDialogButtonBox::Ok)->setDefault(true);
    box->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("DialogUtil", "キャンセル"));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QString PlainCaption(const QString& caption) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)|&|[:：]\\s*$"));
    return QString(caption).remove(mnemonic).trimmed();
}

void PutLastInTabChain(QWidget* group) {
    QWidget* window = group->window();
    QList<QWidget*> members;
    QWidget* last = window;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (w->focusPolicy() == Qt::NoFocus)
            continue; // Qt orders only widgets that take the focus
        if (w == group || group->isAncestorOf(w))
            members << w;
        else
            last = w;
    }
    for (QWidget* member : members) {
        QWidget::setTabOrder(last, member);
        last = member;
    }
}

QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QString KeyName(int32_t key) {
    static const char* const kLetters = "B A+A G+G F+F E D+D C+C ";
    const int index = ((key % 12) + 12) % 12;
    QString letter = QString::fromLatin1(kLetters + index * 2, 2).trimmed();
    return letter + QString::number(8 - key / 12);
}

const CBeats& BeatsOrFourFour(const CBeats* beats) {
    static const CBeats plainFourFour;
    return beats != nullptr ? *beats : plainFourFour;
}

QString PositionText(const CBeats* beats, int32_t tick) {
    return QString::fromStdString(FormatPosition(BeatsOrFourFour(beats), tick));
}

QString FormatTempo(double tempo) {
    QString text = QString::asprintf("%f", tempo);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

QStringList BaseBeatItems() {
    QStringList items;
    for (int i = 0; i < kBaseBeatCount; ++i)
        items << QString::number(1 << i);
    return items;
}

int BaseBeatIndex(int32_t baseBeat) {
    for (int i = 0; i < kBaseBeatCount; ++i)
        if (baseBeat & (1 << i))
            return i;
    return kQuarterIndex;
}

int32_t BaseBeatFromIndex(int index) {
    if (index < 0 || index >= kBaseBeatCount)
        index = kQuarterIndex;
    return int32_t{1} << index;
}

} // namespace dlg
