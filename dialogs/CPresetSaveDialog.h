#pragma once
// "音色を保存": where a sound goes in the user's preset library — a category chosen from
// those there are or typed anew, and the preset's name. OK stays disabled while either
// cannot be a file name, and the label under the fields says why.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

class CPresetSaveDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPresetSaveDialog(QWidget* parent = nullptr);

    // The categories offered; the first becomes the choice unless SetCategory says another.
    void SetCategories(const QStringList& categories);
    void SetCategory(const QString& category);
    void SetName(const QString& name);
    QString Category() const;
    QString Name() const;

private:
    void StabilizeForm();

    QComboBox* m_category = nullptr;
    QLineEdit* m_name = nullptr;
    QLabel* m_problem = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
