#pragma once
// "バージョン情報": the program icon, the version line, the maker's notice and a link to the
// maker's web page.

#include <QDialog>

class QDialogButtonBox;
class QLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The program icon drawn at `size` logical pixels, `ratio` device pixels each, from the
    // SVG resource ":/tsq/tsq.svg", which the main window can use as its icon too.
    static QPixmap ProgramIcon(int size, qreal ratio = 1.0);

private:
    struct Ui {
        QLabel* icon = nullptr;
        QLabel* version = nullptr;
        QLabel* notice = nullptr;
        QLabel* link = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
};
