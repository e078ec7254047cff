#pragma once
// "バージョン情報": the program icon, the version line, the maker's notice, a link to the
// maker's web page and a button that closes the box and asks for the manual.

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QPushButton;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The program icon drawn at `size` logical pixels, `ratio` device pixels each, from the
    // SVG resource ":/tsq/tsq.svg", which the main window can use as its icon too.
    static QPixmap ProgramIcon(int size, qreal ratio = 1.0);
    // True when the box was closed by its manual button; the caller opens the manual.
    bool ManualRequested() const { return m_manualRequested; }

private:
    struct Ui {
        QLabel* icon = nullptr;
        QLabel* version = nullptr;
        QLabel* notice = nullptr;
        QLabel* link = nullptr;
        QPushButton* manual = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
    bool m_manualRequested = false;
};
