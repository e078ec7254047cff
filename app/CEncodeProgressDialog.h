#pragma once
// The encoding's progress window: "エンコード", the text "エンコードしています。", a bar
// of 0..1000 and "中止(&A)", which cancels and disables itself. Modeless: the main window is
// disabled meanwhile, and the encoding's watcher pumps the event loop through Update().
//
// Thread: the user-interface thread.

#include <QDialog>

class QProgressBar;
class QPushButton;

class CEncodeProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit CEncodeProgressDialog(QWidget* mainWindow);
    ~CEncodeProgressDialog() override;

    // Handles waiting events and shows the fraction done; false once the user aborted.
    bool Update(double fraction);
    bool IsCancelled() const { return m_cancelled; }
    QPushButton* AbortButton() const { return m_abort; }
    QProgressBar* Bar() const { return m_bar; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnAbort();

    QWidget* m_mainWindow;
    QProgressBar* m_bar;
    QPushButton* m_abort;
    bool m_cancelled = false;
};
