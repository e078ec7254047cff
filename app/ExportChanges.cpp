#include "app/ExportChanges.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

using NoteKey = std::array<int32_t, 8>;

std::vector<NoteKey> NotesOf(const CTrack& track) {
    std::vector<NoteKey> notes;
    track.ForEachNote([&notes](const CNote* n) {
        notes.push_back({n->position, n->length, n->keyoff, n->key, n->volume, n->portamentoStart,
                         n->portamentoLength, n->portamentoLevel});
    });
    std::sort(notes.begin(), notes.end());
    return notes;
}

// Marks in `map` the seconds of the notes in `a` that `b` lacks, as `song` times them.
void MarkMissing(const std::vector<NoteKey>& a, const std::vector<NoteKey>& b, const CProject& song,
                 CProjectModified& map) {
    std::vector<NoteKey> missing;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(missing));
    CProject marker;
    marker.data = song.data;
    for (const NoteKey& k : missing) {
        CNote note;
        note.position = k[0];
        note.length = k[1];
        marker.SetModified(note);
    }
    map.Merge(marker.changed);
}

} // namespace

std::optional<CProjectModified> ChangedSeconds(const CProject& before, const CProject& after) {
    if (!(before.data == after.data) || before.tracks.size() != after.tracks.size())
        return std::nullopt;
    CProjectModified map;
    for (size_t t = 0; t < after.tracks.size(); ++t) {
        if (!(before.tracks[t].settings == after.tracks[t].settings))
            return std::nullopt;
        if (after.tracks[t].settings.mute != 0)
            continue;
        const std::vector<NoteKey> old = NotesOf(before.tracks[t]);
        const std::vector<NoteKey> now = NotesOf(after.tracks[t]);
        MarkMissing(old, now, after, map);
        MarkMissing(now, old, after, map);
    }
    return map;
}
