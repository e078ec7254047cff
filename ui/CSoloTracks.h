#pragma once
// The tracks the user listens to alone. Solo is a way of listening, not a change of the
// song: it is never saved, leaves the undo ring and the song's unbuilt set alone, and the
// song's own WAV file keeps every unmuted track. Playback of a soloed song plays a second
// file built from SoloSong, in which every track but the soloed ones is muted; a muted
// track stays silent when soloed, so every change that can sound in that file is one the
// song's change map marks.
//
// Tracks are counted by their row: a solo stays on its row when tracks move, and rows
// that no longer exist drop out.
//
// Thread: the user-interface thread only.

#include <QObject>

#include <set>

class CProject;

class CSoloTracks : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    bool Any() const { return !m_rows.empty(); }
    bool IsSolo(int row) const { return m_rows.count(row) != 0; }
    void Toggle(int row);
    void Clear();
    // Drops rows at or beyond `trackCount`.
    void Fit(int trackCount);
    // The song as it sounds soloed: every track that is not soloed muted.
    CProject SoloSong(const CProject& song) const;

signals:
    void changed();

private:
    std::set<int> m_rows;
};
