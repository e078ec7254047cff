#pragma once
// The WAV file that solo playback plays: the song with every track but the soloed ones
// muted (CSoloTracks::SoloSong), built into a private temporary folder with a change map of
// its own (CEditController::SoloUnbuilt), so soloing never touches the song's own WAV file
// or its unbuilt set. The build controller runs its builds; this class keeps what they
// need between them: the file, the song length and fade-out it was built with, and whether
// the choice of tracks changed since (which makes the next build a full one).
//
// Thread: the user-interface thread only.

#include "model/CProjectModified.h"

#include <QObject>
#include <QString>

#include <memory>

class CEditController;
class CProject;
class CSoloTracks;
class CTempFolder;

class CSoloBuild : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kFolderName = "tsq_solo";

    CSoloBuild(CEditController& edit, CSoloTracks& solo, QObject* parent = nullptr);
    ~CSoloBuild() override;

    bool Active() const;
    // The solo file; its folder is made on first use. Empty when it cannot be made.
    QString WavPath();
    // The solo file once made, else empty.
    const QString& Path() const { return m_path; }
    // Whether playing the solo file needs a build first.
    bool NeedsBuild() const;
    // The song to build and the seconds to render; the build bookkeeping moves on as if
    // the build succeeded (MergeBack corrects the flags when it did not).
    CProject TakeSong(CProjectModified& flags, bool& rebuild);
    // The flags a build left unrendered, with those edited while it ran.
    void MergeBack(CProjectModified flags, bool complete);
    // Deletes the file and its folder; the next build is a full one.
    void Remove();

private:
    CEditController& m_edit;
    CSoloTracks& m_solo;
    std::unique_ptr<CTempFolder> m_folder;
    QString m_path;
    bool m_full = true; // the next build renders everything
    bool m_lastRebuild = false;
    double m_builtLength = 0;
    int32_t m_builtFadeOut = 0;
};
