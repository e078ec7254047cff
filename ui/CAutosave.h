#pragma once
// Autosave: a set time after the song changes, and before a risky step (a build, an
// import), a copy of the song and of its undo steps goes to this session's recovery file
// (CRecoveryFile) on a writer thread of its own, so editing never waits for the disk. Saving the
// project, starting over with another song and a clean exit remove the file; a song without unsaved
// changes has nothing to recover and removes it as well.
//
// Thread: the user-interface thread; only the writes run on the writer thread, in order.

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <memory>

class CDocument;
class CEditController;
class CRecoveryFile;

class CAutosave : public QObject {
    Q_OBJECT
public:
    CAutosave(const CEditController& edit, const CDocument& document, QObject* parent = nullptr);
    // Waits for a write in progress; a song still written stays for the next start.
    ~CAutosave() override;

    // Seconds from a change to the autosave; 0 turns the timer off.
    void SetInterval(int seconds);
    // Writes now when the song has unsaved changes, removes the file otherwise.
    void SaveNow();
    // Removes the file once the writes before it are done.
    void Discard();
    // Blocks until every write handed to the writer is done.
    void WaitForWriter();
    // This session's files; null before the first autosave.
    const CRecoveryFile* Session() const { return m_session.get(); }

signals:
    // A write failed; `text` says so for the status bar.
    void writeFailed(const QString& text);

private:
    void OnChanged();
    bool EnsureSession();

    const CEditController& m_edit;
    const CDocument& m_document;
    QTimer m_timer;
    QThreadPool m_writer;
    std::shared_ptr<const CRecoveryFile> m_session;
    int m_seconds = 0;
};
