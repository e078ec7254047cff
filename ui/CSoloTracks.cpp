#include "ui/CSoloTracks.h"

#include "model/CProject.h"

CSoloTracks::CSoloTracks(const CProject& song, QObject* parent) : QObject(parent), m_song(song) {
}

uint64_t CSoloTracks::IdentityAt(int row) const {
    if (row < 0 || size_t(row) >= m_song.tracks.size())
        return 0;
    return m_song.tracks[size_t(row)].Identity();
}

bool CSoloTracks::IsSolo(int row) const {
    const uint64_t identity = IdentityAt(row);
    return identity != 0 && m_tracks.count(identity) != 0;
}

void CSoloTracks::Toggle(int row) {
    const uint64_t identity = IdentityAt(row);
    if (identity == 0)
        return;
    if (m_tracks.erase(identity) == 0)
        m_tracks.insert(identity);
    emit changed();
}

void CSoloTracks::Clear() {
    if (m_tracks.empty())
        return;
    m_tracks.clear();
    emit changed();
}

void CSoloTracks::Prune() {
    std::set<uint64_t> present;
    for (const CTrack& track : m_song.tracks)
        if (m_tracks.count(track.Identity()) != 0)
            present.insert(track.Identity());
    if (present.size() == m_tracks.size())
        return;
    m_tracks = std::move(present);
    emit changed();
}

CProject CSoloTracks::SoloSong(const CProject& song) const {
    CProject solo = song;
    for (CTrack& track : solo.tracks)
        if (m_tracks.count(track.Identity()) == 0)
            track.settings.mute = 1;
    return solo;
}
