#pragma once
// The document life cycle of the editor window: new, open (chooser, recent list, dropped
// files), save, save as, import, MIDI export and closing, with the save question, the
// window title and the incremental-build companion file (".tqb").
//
// The song itself and its change maps live in CEditController; this class replaces them
// as a whole and keeps the path. Playback and temporary build files belong to other
// controllers and are reached through IDocumentHooks.
//
// Thread: the user-interface thread only.

#include "ui/IUserPrompts.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class CEditController;
class CProject;
class CProjectModified;
class CRecentFiles;
class IAppServices;

class IDocumentHooks {
public:
    virtual ~IDocumentHooks() = default;
    // Called before the song is replaced or the project file written.
    virtual void StopPlayback() = 0;
    virtual void DeleteTemporaryBuildFiles() = 0;
};

class CDocument : public QObject {
    Q_OBJECT
public:
    CDocument(CEditController& edit, IUserPrompts& prompts, IAppServices& app,
              IDocumentHooks& hooks, QObject* parent = nullptr);
    ~CDocument() override;

    // Empty while the song is untitled.
    const QString& Path() const { return m_path; }
    // Names the untitled song without saving it (the build's naming question).
    void SetPath(const QString& path);
    // "name *" - "Tesselaphon Editor"; "無題" while untitled, marked while it holds a song
    // restored from a recovery file.
    QString Title() const;
    CRecentFiles& Recent() { return *m_recent; }

    // Commands. Each returns whether it went through.
    bool New();
    bool OpenWithDialog();
    bool OpenRecent(int index);
    bool OpenDropped(const QStringList& paths);
    bool Save();
    // "名前を付けて保存": the chooser, then every second is stale for the new WAV path.
    bool SaveAs();
    bool Import();
    bool Export();
    // Before the window closes: the save question, then the temporary build files go.
    bool Close();

    // The save question; true when the caller may go on.
    bool AskToSave();
    // Loads a project file and makes it the document, without the save question.
    bool OpenFile(const QString& path);
    // The save chooser of "save as"; remembers the folder. Empty when cancelled.
    QString ChooseSavePath();
    // Writes the ".tqb" beside the project file; a failure is shown, since the next build
    // would otherwise trust a stale file.
    bool SaveBuildInfo(const CProjectModified& stale);
    // Makes a song restored from a recovery file the document: untitled, so that saving it
    // asks for a file and never overwrites the project it came from. `history` is what
    // undo takes it back through, oldest first.
    void Restore(CProject song, std::vector<CProject> history = {});
    bool IsRecovered() const { return m_recovered; }

signals:
    void titleChanged();
    // A different song is now open (new, open, import as new): views start over.
    void documentReplaced();
    // The project file was written; the song has no unsaved changes.
    void saved();
    // A step that may go wrong badly is about to begin (an import): a moment to keep a copy.
    void riskyStepStarting();

private:
    bool SaveTo(const QString& path);
    bool SaveWithChooser();
    void AfterSave();
    void ReadUnbuiltSet();
    void StartOver(CProject project, const QString& path);
    void ImportAsTracks(CProject& imported);
    bool ImportAsNew(CProject imported);
    // A chooser starting in "ProjectDefaultPath", or the nearest folder that still exists.
    IUserPrompts::FileRequest ProjectFileRequest(const QString& fileName = {}) const;
    void SetProjectFolder(const QString& file);

    CEditController& m_edit;
    IUserPrompts& m_prompts;
    IAppServices& m_app;
    IDocumentHooks& m_hooks;
    CRecentFiles* m_recent;
    QString m_path;
    bool m_recovered = false;
};
