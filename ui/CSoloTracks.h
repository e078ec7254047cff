#pragma once
// The tracks the user listens to alone. Solo is a way of listening, not a change of the
// song: it is never saved, leaves the undo ring and the song's unbuilt set alone, and the
// song's own WAV file keeps every unmuted track. Playback of a soloed song plays a second
// file built from SoloSong, in which every track but the soloed ones is muted; a muted
// track stays silent when soloed, so every change that can sound in that file is one the
// song's change map marks.
//
// A solo belongs to its track, not to a row: it follows the track when tracks move or an
// undo puts them back in another order, and drops out when the track goes
// (CTrack::Identity).
//
// Thread: the user-interface thread only.

#include <QObject>

#include <cstdint>
#include <set>

class CProject;

class CSoloTracks : public QObject {
    Q_OBJECT
public:
    // `song` is the open song, for as long as this object lives.
    explicit CSoloTracks(const CProject& song, QObject* parent = nullptr);

    bool Any() const { return !m_tracks.empty(); }
    bool IsSolo(int row) const;
    void Toggle(int row);
    void Clear();
    // Drops the tracks the song no longer has.
    void Prune();
    // The song as it sounds soloed: every track that is not soloed muted.
    CProject SoloSong(const CProject& song) const;

signals:
    void changed();

private:
    // The identity of the track on `row`; 0 when there is none.
    uint64_t IdentityAt(int row) const;

    const CProject& m_song;
    std::set<uint64_t> m_tracks;
};
