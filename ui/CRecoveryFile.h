#pragma once
// The recovery files of one editing session in the user's state folder
// ($XDG_STATE_HOME/Tesselaphon Editor/recovery/): the song as a project file ("<id>.tqp"),
// a side file saying where it came from ("<id>.info") and a lock file holding the process
// id ("<id>.lock"). The session holds an advisory lock on the lock file for as long as it
// lives, so the files of an editor that still runs are never offered or taken by another,
// and a lock that can be taken belongs to an editor that has ended.
//
// Thread: Write, Remove and HasSong may run on a writer thread while the owner waits for
// it; nothing else touches the same session at that time.

#include "model/Result.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <span>
#include <vector>

class CProject;

struct RECOVERY_INFO {
    QString originalPath; // the project file the song came from; empty while untitled
    QDateTime time;       // when the song was written
    int undoDepth = 0;    // the steps the user could undo at that time
    qint64 pid = 0;       // the editor that wrote it
};

class CRecoveryFile {
public:
    ~CRecoveryFile();
    CRecoveryFile(const CRecoveryFile&) = delete;
    CRecoveryFile& operator=(const CRecoveryFile&) = delete;

    // The folder of every session's files.
    static QString Folder();
    // Files for a new session, locked by this process; null with `error` set when the
    // folder or the lock cannot be made.
    static std::unique_ptr<CRecoveryFile> CreateSession(QString& error);
    // Songs left by editors that no longer run, each now locked by this process.
    static std::vector<std::unique_ptr<CRecoveryFile>> ClaimOrphans();

    QString SongPath() const { return m_base + QStringLiteral(".tqp"); }
    QString InfoPath() const { return m_base + QStringLiteral(".info"); }
    QString LockPath() const { return m_base + QStringLiteral(".lock"); }
    QString HistoryPath() const { return m_base + QStringLiteral(".undo"); }

    // The side file, the song and then its undo steps (oldest first), each written whole or
    // not at all; the project file the song came from is never touched.
    Result Write(const CProject& song, const RECOVERY_INFO& info,
                 std::span<const CProject> history = {}) const;
    // Refuses a damaged song or side file with the reason.
    Result Read(CProject& song, RECOVERY_INFO& info) const;
    // The undo steps written with the song; empty with the reason when they are missing or
    // damaged, which never makes the song itself unusable.
    Result ReadHistory(std::vector<CProject>& steps) const;
    bool HasSong() const;
    // The song and its side file; the session keeps its lock.
    void Remove() const;
    // Everything, the lock file included (a song restored elsewhere or discarded).
    void RemoveAll() const;

private:
    CRecoveryFile(QString base, int lockFd);

    QString m_base;
    int m_lockFd;
};
