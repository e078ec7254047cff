#include "ui/CSoloTracks.h"

#include "model/CProject.h"

void CSoloTracks::Toggle(int row) {
    if (row < 0)
        return;
    if (m_rows.erase(row) == 0)
        m_rows.insert(row);
    emit changed();
}

void CSoloTracks::Clear() {
    if (m_rows.empty())
        return;
    m_rows.clear();
    emit changed();
}

void CSoloTracks::Fit(int trackCount) {
    const auto from = m_rows.lower_bound(trackCount);
    if (from == m_rows.end())
        return;
    m_rows.erase(from, m_rows.end());
    emit changed();
}

CProject CSoloTracks::SoloSong(const CProject& song) const {
    CProject solo = song;
    for (size_t i = 0; i < solo.tracks.size(); ++i)
        if (!IsSolo(int(i)))
            solo.tracks[i].settings.mute = 1;
    return solo;
}
