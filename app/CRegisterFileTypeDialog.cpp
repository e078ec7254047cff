#include "app/CRegisterFileTypeDialog.h"

#include "ui/IUserPrompts.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kDenied = QT_TRANSLATE_NOOP(
    "CRegisterFileTypeDialog", "アクセスが拒否されました。\n\n管理者権限で実行して下さい。");

} // namespace

CRegisterFileTypeDialog::CRegisterFileTypeDialog(const CFileTypeRegistry& registry,
                                                 const QString& extension, IUserPrompts& prompts,
                                                 QWidget* parent)
    : QDialog(parent), m_registry(registry), m_prompts(prompts), m_status(new QLabel(this)) {
    setWindowTitle(QCoreApplication::translate("CRegisterFileTypeDialog", "ファイルの関連付け"));
    auto* extensionRow = new QHBoxLayout;
    extensionRow->addWidget(new QLabel(
        QCoreApplication::translate("CRegisterFileTypeDialog", "ファイルの拡張子:"), this));
    auto* extensionText = new QLineEdit(extension, this);
    extensionText->setReadOnly(true);
    extensionRow->addWidget(extensionText);
    extensionText->setAccessibleName(tr("ファイルの拡張子"));
    // Made after the extension box, so that Tab reaches them after it.
    m_set = new QPushButton(
        QCoreApplication::translate("CRegisterFileTypeDialog", "ファイルの関連付けを設定(&R)"),
        this);
    m_remove = new QPushButton(
        QCoreApplication::translate("CRegisterFileTypeDialog", "ファイルの関連付けを解除(&U)"),
        this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(extensionRow);
    layout->addWidget(m_status);
    layout->addWidget(m_set);
    layout->addWidget(m_remove);
    connect(m_set, &QPushButton::clicked, this, &CRegisterFileTypeDialog::OnSet);
    connect(m_remove, &QPushButton::clicked, this, &CRegisterFileTypeDialog::OnRemove);
    ShowState();
}

CRegisterFileTypeDialog::~CRegisterFileTypeDialog() = default;

QString CRegisterFileTypeDialog::StateText(int state) {
    switch (state) {
    case 0:
        return tr("関連付けされていません。");
    case 1:
        return tr("既に関連付けされています。");
    default:
        return tr("他のアプリケーションに関連付けされています。");
    }
}

void CRegisterFileTypeDialog::ShowState() {
    m_status->setText(StateText(m_registry.GetState()));
}

void CRegisterFileTypeDialog::OnSet() {
    if (m_registry.GetState() != 0 && !m_registry.Remove()) {
        m_prompts.Error(QCoreApplication::translate("CRegisterFileTypeDialog", kDenied));
        return;
    }
    if (!m_registry.Register()) {
        m_prompts.Error(QCoreApplication::translate("CRegisterFileTypeDialog", kDenied));
        return;
    }
    CFileTypeRegistry::NotifyDesktop();
    m_prompts.Message(tr("ファイルの関連付けが完了しました。"), {}, IUserPrompts::Icon::Information,
                      IUserPrompts::Buttons::Ok);
    ShowState();
}

void CRegisterFileTypeDialog::OnRemove() {
    if (!m_registry.Remove()) {
        m_prompts.Error(QCoreApplication::translate("CRegisterFileTypeDialog", kDenied));
        return;
    }
    CFileTypeRegistry::NotifyDesktop();
    m_prompts.Message(tr("ファイルの関連付けの解除が完了しました。"), {},
                      IUserPrompts::Icon::Information, IUserPrompts::Buttons::Ok);
    ShowState();
}
