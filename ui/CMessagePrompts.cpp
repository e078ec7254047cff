#include "ui/CMessagePrompts.h"

#include "common/AppTitle.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QMessageBox::Icon BoxIcon(IUserPrompts::Icon icon) {
    switch (icon) {
    case IUserPrompts::Icon::Information:
        return QMessageBox::Information;
    case IUserPrompts::Icon::Question:
        return QMessageBox::Question;
    case IUserPrompts::Icon::Warning:
        return QMessageBox::Warning;
    case IUserPrompts::Icon::Error:
        break;
    }
    return QMessageBox::Critical;
}

QMessageBox::StandardButtons BoxButtons(IUserPrompts::Buttons buttons) {
    switch (buttons) {
    case IUserPrompts::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case IUserPrompts::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case IUserPrompts::Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case IUserPrompts::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QString StartPath(const IUserPrompts::FileRequest& request) {
    if (request.fileName.isEmpty())
        return request.directory;
    QFileInfo info(request.fileName);
    if (info.isAbsolute())
        return request.fileName;
    return QDir(request.directory).filePath(request.fileName);
}

} // namespace

std::optional<IUserPrompts::Answer> CMessagePrompts::Ask(const QString& text, const QString& title,
                                                         Icon icon, Buttons buttons) {
    QMessageBox box(BoxIcon(icon), title.isEmpty() ? QString(kAppTitle) : title, text,
                    BoxButtons(buttons), m_owner);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return std::nullopt;
    }
}

QString CMessagePrompts::OpenFileName(const FileRequest& request) {
    return ChooseFile(request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
}

QString CMessagePrompts::SaveFileName(const FileRequest& request) {
    return ChooseFile(request, QFileDialog::AcceptSave, QFileDialog::AnyFile);
}

QString CMessagePrompts::ChooseFile(const FileRequest& request, QFileDialog::AcceptMode accept,
                                    QFileDialog::FileMode mode) {
    QFileDialog dialog(m_owner, request.title, StartPath(request));
    dialog.setAcceptMode(accept);
    dialog.setFileMode(mode);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
