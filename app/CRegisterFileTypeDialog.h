#pragma once
// "ファイルの関連付け": shows the project file extension and whether it is associated with
// this program, and sets or removes the association. Closed through its close box.
//
// Thread: the user-interface thread.

#include "app/CFileTypeRegistry.h"

#include <QDialog>

class IUserPrompts;
class QLabel;
class QPushButton;

class CRegisterFileTypeDialog : public QDialog {
    Q_OBJECT
public:
    CRegisterFileTypeDialog(const CFileTypeRegistry& registry, const QString& extension,
                            IUserPrompts& prompts, QWidget* parent = nullptr);
    ~CRegisterFileTypeDialog() override;

    // The status line for a GetState value.
    static QString StateText(int state);

    QLabel* StatusLabel() const { return m_status; }
    QPushButton* SetButton() const { return m_set; }
    QPushButton* RemoveButton() const { return m_remove; }

private:
    void OnSet();
    void OnRemove();
    void ShowState();

    const CFileTypeRegistry& m_registry;
    IUserPrompts& m_prompts;
    QLabel* m_status;
    QPushButton* m_set = nullptr;
    QPushButton* m_remove = nullptr;
};
