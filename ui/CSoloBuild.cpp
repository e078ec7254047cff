#include "ui/CSoloBuild.h"

#include "audio/CTempFolder.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CSoloTracks.h"
#include "ui/PathUtil.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

CSoloBuild::CSoloBuild(CEditController& edit, CSoloTracks& solo, QObject* parent)
    : QObject(parent), m_edit(edit), m_solo(solo) {
    // Another choice of tracks sounds different everywhere.
    connect(&m_solo, &CSoloTracks::changed, this, [this] { m_full = true; });
    connect(&m_edit, &CEditController::viewsChanged, this, [this] { m_solo.Prune(); });
}

CSoloBuild::~CSoloBuild() {
    Remove();
}

bool CSoloBuild::Active() const {
    return m_solo.Any();
}

QString CSoloBuild::WavPath() {
    if (!m_path.isEmpty())
        return m_path;
    auto folder = std::make_unique<CTempFolder>();
    if (!folder->Create(kFolderName))
        return {};
    const QString name = folder->GetTempFileName("solo");
    if (name.isEmpty())
        return {};
    m_folder = std::move(folder);
    m_path = ReplaceExtension(name, ".wav");
    m_full = true;
    return m_path;
}

bool CSoloBuild::NeedsBuild() const {
    return m_full || m_path.isEmpty() || !QFileInfo::exists(m_path) ||
           m_edit.SoloUnbuilt().AnySet();
}

CProject CSoloBuild::TakeSong(CProjectModified& flags, bool& rebuild) {
    CProject song = m_solo.SoloSong(m_edit.Project());
    flags = std::exchange(m_edit.SoloUnbuilt(), {});
    rebuild = m_full || !QFileInfo::exists(m_path);
    m_lastRebuild = rebuild;
    song.lastBuildLength = m_builtLength;
    song.lastBuildFadeOut = m_builtFadeOut;
    song.PrepareBuild(flags, rebuild);
    m_builtLength = song.lastBuildLength;
    m_builtFadeOut = song.lastBuildFadeOut;
    m_full = false;
    return song;
}

void CSoloBuild::MergeBack(CProjectModified flags, bool complete) {
    if (complete) {
        const auto seconds = static_cast<size_t>(std::ceil(m_builtLength));
        if (flags.size() > seconds)
            flags.resize(seconds);
    } else if (m_lastRebuild) {
        // A full build cut short leaves a file whose unflagged seconds were never written.
        m_full = true;
    }
    flags.Merge(m_edit.SoloUnbuilt());
    m_edit.SoloUnbuilt() = std::move(flags);
}

void CSoloBuild::Remove() {
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path.clear();
    m_folder.reset();
    m_full = true;
}
