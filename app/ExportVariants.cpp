#include "app/ExportVariants.h"

#include <cmath>

CProject StemOf(const CProject& song, size_t track) {
    CProject stem = song;
    for (size_t t = 0; t < stem.tracks.size(); ++t)
        if (t != track)
            stem.tracks[t].settings.mute = 1;
    return stem;
}

CProject LoopOf(const CProject& song) {
    CProject loop = song;
    loop.data.fadeOut = 0;
    const int32_t end = loop.data.loopEnd;
    for (CTrack& track : loop.tracks) {
        CConstNoteArray later;
        track.ForEachNote([&later, end](const CNote* n) {
            if (n->position >= end)
                later.push_back(n);
        });
        for (const CNote* n : later)
            track.RemoveNote(n);
    }
    return loop;
}

int64_t FrameAt(const CProject& song, int32_t tick) {
    return static_cast<int64_t>(song.data.tempos.SecondsAt(tick) * song.data.samplesPerSec);
}

std::string FileNamePart(const std::string& name, size_t track) {
    std::string part;
    for (char c : name)
        part += (c == '/' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    if (part.empty() || part == "." || part == "..")
        part = "track" + std::to_string(track + 1);
    return part;
}
