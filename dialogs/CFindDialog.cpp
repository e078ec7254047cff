#include "dialogs/CFindDialog.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "dialogs/FindDataSettings.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace {

constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int kKeyCount = 96;

CNumberEdit* MakeNumber(QDialog* dialog, const char* name, int64_t minimum, int64_t maximum) {
    auto* edit = new CNumberEdit(dialog);
    edit->setObjectName(QLatin1String(name));
    edit->SetRange(minimum, maximum);
    return edit;
}

QComboBox* MakeKeyList(QDialog* dialog, const char* name) {
    auto* list = new QComboBox(dialog);
    list->setObjectName(QLatin1String(name));
    for (int key = 0; key < kKeyCount; ++key)
        list->addItem(dlg::KeyName(key));
    list->setMaxVisibleItems(16);
    return list;
}

QCheckBox* MakeCheck(QDialog* dialog, const char* name, const QString& text) {
    auto* check = new QCheckBox(text, dialog);
    check->setObjectName(QLatin1String(name));
    return check;
}

// The two boxes of a row are named after its check box, as the lower and the upper bound.
void AddRow(QGridLayout* grid, QCheckBox* check, QWidget* start, QWidget* end) {
    const QString caption = dlg::PlainCaption(check->text());
    start->setAccessibleName(QCoreApplication::translate("CFindDialog", "%1 の下限").arg(caption));
    end->setAccessibleName(QCoreApplication::translate("CFindDialog", "%1 の上限").arg(caption));
    const int row = grid->rowCount();
    grid->addWidget(check, row, 0);
    grid->addWidget(start, row, 1);
    grid->addWidget(new QLabel(QCoreApplication::translate("CFindDialog", "～")), row, 2);
    grid->addWidget(end, row, 3);
}

} // namespace

void CFindDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CFindDialog", "検索"));
    pos = MakeCheck(dialog, "pos", QCoreApplication::translate("CFindDialog", "位置(&P):"));
    posStart = new CPositionEdit(dialog);
    posStart->setObjectName(QStringLiteral("posStart"));
    posEnd = new CPositionEdit(dialog);
    posEnd->setObjectName(QStringLiteral("posEnd"));
    length = MakeCheck(dialog, "length", QCoreApplication::translate("CFindDialog", "長さ(&L):"));
    lengthStart = MakeNumber(dialog, "lengthStart", 1, kMax32);
    lengthEnd = MakeNumber(dialog, "lengthEnd", 1, kMax32);
    keyoff =
        MakeCheck(dialog, "keyoff", QCoreApplication::translate("CFindDialog", "キーオフ(&F):"));
    keyoffStart = MakeNumber(dialog, "keyoffStart", 0, kMax32);
    keyoffEnd = MakeNumber(dialog, "keyoffEnd", 0, kMax32);
    key = MakeCheck(dialog, "key", QCoreApplication::translate("CFindDialog", "音程(&K):"));
    keyStart = MakeKeyList(dialog, "keyStart");
    keyEnd = MakeKeyList(dialog, "keyEnd");
    volume = MakeCheck(dialog, "volume", QCoreApplication::translate("CFindDialog", "音量(&V):"));
    volumeStart = MakeNumber(dialog, "volumeStart", 0, 255);
    volumeEnd = MakeNumber(dialog, "volumeEnd", 0, 255);
    buttonBox = dlg::MakeButtonBox(dialog, QCoreApplication::translate("CFindDialog", "検索"));

    auto* grid = new QGridLayout;
    AddRow(grid, pos, posStart, posEnd);
    AddRow(grid, length, lengthStart, lengthEnd);
    AddRow(grid, keyoff, keyoffStart, keyoffEnd);
    AddRow(grid, key, keyStart, keyEnd);
    AddRow(grid, volume, volumeStart, volumeEnd);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(grid);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CFindDialog::CFindDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    for (QCheckBox* check : {m_ui.pos, m_ui.length, m_ui.keyoff, m_ui.key, m_ui.volume})
        connect(check, &QCheckBox::toggled, this, &CFindDialog::StabilizeForm);
    SetFindData(FIND_DATA{});
}

void CFindDialog::SetBeats(const CBeats* beats) {
    m_ui.posStart->SetBeats(beats);
    m_ui.posEnd->SetBeats(beats);
}

void CFindDialog::SetStore(QSettings* settings) {
    m_pStore = settings;
    if (m_pStore != nullptr)
        SetFindData(LoadFindData(*m_pStore));
}

void CFindDialog::SetFindData(const FIND_DATA& in) {
    const FIND_DATA d = ClampedFindData(in);
    m_ui.pos->setChecked(d.pos != 0);
    m_ui.posStart->SetPosition(d.posStart);
    m_ui.posEnd->SetPosition(d.posEnd);
    m_ui.length->setChecked(d.length != 0);
    m_ui.lengthStart->SetValue(d.lengthStart);
    m_ui.lengthEnd->SetValue(d.lengthEnd);
    m_ui.keyoff->setChecked(d.keyoff != 0);
    m_ui.keyoffStart->SetValue(d.keyoffStart);
    m_ui.keyoffEnd->SetValue(d.keyoffEnd);
    m_ui.key->setChecked(d.key != 0);
    m_ui.keyStart->setCurrentIndex(d.keyStart);
    m_ui.keyEnd->setCurrentIndex(d.keyEnd);
    m_ui.volume->setChecked(d.volume != 0);
    m_ui.volumeStart->SetValue(d.volumeStart);
    m_ui.volumeEnd->SetValue(d.volumeEnd);
    StabilizeForm();
}

FIND_DATA CFindDialog::GetFindData() const {
    FIND_DATA d;
    d.pos = m_ui.pos->isChecked() ? 1 : 0;
    d.posStart = std::max(m_ui.posStart->GetPosition(), 0);
    d.posEnd = std::max(m_ui.posEnd->GetPosition(), 0);
    d.length = m_ui.length->isChecked() ? 1 : 0;
    d.lengthStart = static_cast<int32_t>(m_ui.lengthStart->Value());
    d.lengthEnd = static_cast<int32_t>(m_ui.lengthEnd->Value());
    d.keyoff = m_ui.keyoff->isChecked() ? 1 : 0;
    d.keyoffStart = static_cast<int32_t>(m_ui.keyoffStart->Value());
    d.keyoffEnd = static_cast<int32_t>(m_ui.keyoffEnd->Value());
    d.key = m_ui.key->isChecked() ? 1 : 0;
    d.keyStart = m_ui.keyStart->currentIndex();
    d.keyEnd = m_ui.keyEnd->currentIndex();
    d.volume = m_ui.volume->isChecked() ? 1 : 0;
    d.volumeStart = static_cast<int32_t>(m_ui.volumeStart->Value());
    d.volumeEnd = static_cast<int32_t>(m_ui.volumeEnd->Value());
    return OrderedFindData(d);
}

void CFindDialog::accept() {
    const FIND_DATA d = GetFindData();
    if (!d.AnyEnabled())
        return;
    SetFindData(d);
    if (m_pStore != nullptr)
        SaveFindData(*m_pStore, d);
    QDialog::accept();
}

void CFindDialog::StabilizeForm() {
    const auto enable = [](bool on, std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets)
            w->setEnabled(on);
    };
    enable(m_ui.pos->isChecked(), {m_ui.posStart, m_ui.posEnd});
    enable(m_ui.length->isChecked(), {m_ui.lengthStart, m_ui.lengthEnd});
    enable(m_ui.keyoff->isChecked(), {m_ui.keyoffStart, m_ui.keyoffEnd});
    enable(m_ui.key->isChecked(), {m_ui.keyStart, m_ui.keyEnd});
    enable(m_ui.volume->isChecked(), {m_ui.volumeStart, m_ui.volumeEnd});
    const bool any = m_ui.pos->isChecked() || m_ui.length->isChecked() ||
                     m_ui.keyoff->isChecked() || m_ui.key->isChecked() || m_ui.volume->isChecked();
    m_ui.buttonBox->button(QDialogButtonBox::Ok)->setEnabled(any);
}
