#pragma once
// The build's progress window and questions: a modeless dialog with a text line, a
// progress bar, the remaining time and "中止(&A)". While it shows, the main window is
// disabled and the build pumps the event loop through Pump(), so both windows repaint and
// the abort button answers.
//
// Thread: the user-interface thread (CBuild calls its observer only from the thread that
// runs Build).

#include "engine/IBuildObserver.h"

#include <QDialog>
#include <QString>

class IUserPrompts;
class QLabel;
class QProgressBar;
class QPushButton;

class CBuildProgressDialog : public QDialog, public IBuildObserver {
    Q_OBJECT
public:
    // `mainWindow` is disabled while the build runs and shows the progress in its title.
    CBuildProgressDialog(QWidget* mainWindow, IUserPrompts& prompts);
    ~CBuildProgressDialog() override;

    void EnableMainWindow(bool enable) override;
    void ShowProgress(const std::string& title, const std::string& text) override;
    void CloseProgress() override;
    void SetProgressText(const std::string& text) override;
    void SetProgressRange(int32_t maximum) override;
    void StepProgress() override;
    void SetRemainingSeconds(int64_t seconds) override;
    void EnableAbort(bool enable) override;
    bool IsCancelled() override { return m_cancelled; }
    SampleAnswer AskSampleFailure(const std::string& title, const std::string& text,
                                  const std::string& samplePath) override;
    void ShowOutputError(const std::string& title, const std::string& text) override;
    void Pump() override;

    QPushButton* AbortButton() const { return m_abort; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnAbort();
    void ShowPercentInTitle();

    QWidget* m_mainWindow;
    IUserPrompts& m_prompts;
    QLabel* m_text;
    QLabel* m_remaining;
    QProgressBar* m_bar;
    QPushButton* m_abort;
    QString m_mainTitle;
    bool m_cancelled = false;
};
