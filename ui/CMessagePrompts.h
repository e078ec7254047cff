#pragma once
// IUserPrompts on QMessageBox and QFileDialog, owned by a window.

#include "ui/IUserPrompts.h"

#include <QFileDialog>
#include <QPointer>
#include <QWidget>

class CMessagePrompts : public IUserPrompts {
public:
    explicit CMessagePrompts(QWidget* owner = nullptr) : m_owner(owner) {}
    void SetOwner(QWidget* owner) { m_owner = owner; }

    QString OpenFileName(const FileRequest& request) override;
    QString SaveFileName(const FileRequest& request) override;

protected:
    std::optional<Answer> Ask(const QString& text, const QString& title, Icon icon,
                              Buttons buttons) override;

private:
    QString ChooseFile(const FileRequest& request, QFileDialog::AcceptMode accept,
                       QFileDialog::FileMode mode);

    QPointer<QWidget> m_owner;
};
