#pragma once
// The build's progress window: a modeless dialog with a text line, a progress bar, the
// remaining time and "中止(&A)". While it shows, the main window is disabled (this window
// stays usable) and carries the percentage in its title. It only displays what the build
// reports and passes the abort button on; the build runs elsewhere, so both windows repaint
// through the ordinary event loop.
//
// Thread: the user-interface thread.

#include "engine/IBuildEvents.h"

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;

class CBuildProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit CBuildProgressDialog(QWidget* mainWindow);

    // Disables the main window and shows this window centred over it, loading samples,
    // with the abort button disabled.
    void Begin();
    void ShowProgress(const BuildProgress& progress);
    // Hides the window; the main window is enabled again and gets its title back.
    void End();

    QPushButton* AbortButton() const { return m_abort; }

signals:
    // The abort button, the window's close button or Escape, once, while rendering.
    void abortRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowRendering(const BuildProgress& progress);
    QString RemainingText(int64_t seconds) const;
    void OnAbort();
    void ShowPercentInTitle();

    QWidget* m_mainWindow;
    QLabel* m_text;
    QLabel* m_remaining;
    QProgressBar* m_bar;
    QPushButton* m_abort;
    QString m_mainTitle;  // the main window's own title
    QString m_shownTitle; // what this window last set it to
    bool m_begun = false; // between Begin and End
    bool m_cancelled = false;
};
