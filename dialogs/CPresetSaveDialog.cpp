#include "dialogs/CPresetSaveDialog.h"

#include "dialogs/internal/DialogUtil.h"
#include "presets/CPresetLibrary.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPresetSaveDialog::CPresetSaveDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("音色を保存"));
    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("category"));
    m_category->setEditable(true);
    m_category->setInsertPolicy(QComboBox::NoInsert);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_buttons = dlg::MakeButtonBox(this);
    auto* form = new QFormLayout;
    form->addRow(dlg::MakeLabel(tr("分類(&C):"), m_category, this), m_category);
    form->addRow(dlg::MakeLabel(tr("名前(&N):"), m_name, this), m_name);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(m_buttons);
    m_name->setMinimumWidth(m_name->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
    connect(m_category, &QComboBox::editTextChanged, this, &CPresetSaveDialog::StabilizeForm);
    connect(m_name, &QLineEdit::textChanged, this, &CPresetSaveDialog::StabilizeForm);
    StabilizeForm();
}

void CPresetSaveDialog::SetCategories(const QStringList& categories) {
    const QString typed = m_category->currentText();
    m_category->clear();
    m_category->addItems(categories);
    m_category->setEditText(typed.isEmpty() && !categories.isEmpty() ? categories.front() : typed);
}

void CPresetSaveDialog::SetCategory(const QString& category) {
    m_category->setEditText(category);
}

void CPresetSaveDialog::SetName(const QString& name) {
    m_name->setText(name);
    m_name->selectAll();
    m_name->setFocus(Qt::OtherFocusReason);
}

QString CPresetSaveDialog::Category() const {
    return m_category->currentText().trimmed();
}

QString CPresetSaveDialog::Name() const {
    return m_name->text().trimmed();
}

void CPresetSaveDialog::StabilizeForm() {
    QString problem;
    if (Category().isEmpty())
        problem = tr("分類を入力してください。");
    else if (Name().isEmpty())
        problem = tr("名前を入力してください。");
    else if (!CPresetLibrary::NameProblem(Category().toStdString()).empty() ||
             !CPresetLibrary::NameProblem(Name().toStdString()).empty())
        problem = tr(
            "分類と名前は「.」で始めず、「/」や制御文字を含めず、200 バイト以内にしてください。");
    m_problem->setText(problem);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}
