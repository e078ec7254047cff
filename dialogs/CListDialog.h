#pragma once
// The frame shared by the three timeline list dialogs ("拍子の設定", "テンポの設定",
// "音量の設定"): a two-column list of entries with "追加(&A)...", "編集(&E)..." and
// "削除(&D)". A subclass owns the list copy and runs the item dialog; this class keeps the
// rows and the buttons in step with it.

#include <QDialog>

#include <optional>

class QDialogButtonBox;
class QPushButton;
class QTreeWidget;

class CListDialog : public QDialog {
    Q_OBJECT
public:
    ~CListDialog() override;

protected:
    CListDialog(const QString& caption, const QString& firstColumn, const QString& secondColumn,
                QWidget* parent);

    virtual int Count() const = 0;
    virtual QStringList RowTexts(int row) const = 0;
    // Run the item dialog; on OK change the list and return the row of the entry now
    // holding the result.
    virtual std::optional<int> AddEntry() = 0;
    virtual std::optional<int> EditEntry(int row) = 0;
    // Only called with at least two entries. Removing the first entry must move the next
    // one to the start of the song.
    virtual void DeleteEntry(int row) = 0;

    // Rebuilds the rows from the list and selects `row` (none when out of range).
    void Refill(int row = -1);

private:
    int SelectedRow() const;
    void OnAdd();
    void OnEdit();
    void OnDelete();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void StabilizeForm();

    struct Ui {
        QTreeWidget* list = nullptr;
        QPushButton* add = nullptr;
        QPushButton* edit = nullptr;
        QPushButton* remove = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog, const QString& firstColumn, const QString& secondColumn);
    } m_ui;
};
