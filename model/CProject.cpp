#include "model/CProject.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

void CProject::Reset(const CProjectData& defaults) {
    data = defaults;
    tracks.clear();
    tracks.emplace_back();
    tracks.back().settings.name = "トラック1";
    changed.clear();
    modified = 0;
    currentTrack = 0;
    lastBuildLength = 0;
    lastBuildFadeOut = data.fadeOut;
}

int CProject::InsertTrack(int index) {
    index = std::clamp(index, 0, static_cast<int>(tracks.size()));
    tracks.emplace(tracks.begin() + index);
    modified = 1;
    return index;
}

void CProject::RemoveTrack(int index) {
    if (index >= 0 && index < static_cast<int>(tracks.size()))
        tracks.erase(tracks.begin() + index);
}

const CTrack* CProject::CurrentTrack() const {
    if (currentTrack < 0 || currentTrack >= static_cast<int>(tracks.size()))
        return nullptr;
    return &tracks[static_cast<size_t>(currentTrack)];
}

CTrack* CProject::CurrentTrack() {
    return const_cast<CTrack*>(std::as_const(*this).CurrentTrack());
}

int32_t CProject::GetEndTick() const {
    int32_t end = 0;
    for (const CTrack& t : tracks)
        end = std::max(end, t.EndTick());
    if (data.loopEnabled)
        end = std::max(end, data.loopEnd);
    return end;
}

double CProject::GetLength() const {
    return data.tempos.SecondsAt(GetEndTick());
}

void CProject::SetModified(const CNote& note) {
    const double a = data.tempos.SecondsAt(note.position);
    const double b = data.tempos.SecondsAt(note.End());
    changed.Mark(static_cast<int64_t>(std::min(a, 1e12)), static_cast<int64_t>(std::min(b, 1e12)));
    modified = 1;
}

void CProject::SetTrackModified(const CTrack& track) {
    track.ForEachNote([this](const CNote* n) { SetModified(*n); });
}

void CProject::SetAllModified() {
    changed.clear();
    changed.Mark(0, static_cast<int64_t>(std::min(GetLength(), 1e12)));
    modified = 1;
}

void CProject::MarkNotesFrom(CTrack& track, int32_t tick) {
    if (track.settings.mute)
        return;
    track.ForEachNote([&](const CNote* n) {
        if (n->position >= tick)
            SetModified(*n);
    });
}

void CProject::ShiftLoop(int32_t start, int32_t amount, bool inserting) {
    if (!data.loopEnabled)
        return;
    // Inserting moves a start at the cut; deleting keeps a start inside the removed range.
    const int64_t startLimit = inserting ? start : int64_t{start} + amount;
    const int64_t delta = inserting ? amount : -int64_t{amount};
    auto shifted = [delta](int32_t tick) {
        return static_cast<int32_t>(std::clamp<int64_t>(tick + delta, INT32_MIN, INT32_MAX));
    };
    if (data.loopStart >= startLimit)
        data.loopStart = shifted(data.loopStart);
    if (data.loopEnd > start)
        data.loopEnd = shifted(data.loopEnd);
    if (data.loopStart >= data.loopEnd)
        data.loopEnabled = 0;
}

bool CProject::CanInsertMeasure(int32_t measure) const {
    // Measures before the first would move the time lists' first elements off tick 0.
    if (measure < 0)
        return false;
    const int32_t s = data.beats.MeasureToTick(measure);
    return std::none_of(tracks.begin(), tracks.end(),
                        [s](const CTrack& t) { return t.Straddles(s); });
}

bool CProject::InsertMeasures(int32_t measure, int32_t count) {
    if (!CanInsertMeasure(measure))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t s = data.beats.MeasureToTick(measure);
        const int32_t length = data.beats.At(measure).MeasureLength();
        for (CTrack& t : tracks) {
            MarkNotesFrom(t, s);
            t.InsertTime(s, length);
            MarkNotesFrom(t, s);
        }
        data.volumes.InsertTime(s, length);
        data.tempos.InsertTime(s, length);
        data.beats.InsertMeasure(measure);
        ShiftLoop(s, length, true);
    }
    return true;
}

bool CProject::CanDeleteMeasures(int32_t measure, int32_t count) const {
    if (measure < 0)
        return false;
    const int32_t s = data.beats.MeasureToTick(measure);
    const int64_t e = s + int64_t{count} * data.beats.At(measure).MeasureLength();
    const auto end = static_cast<int32_t>(std::min<int64_t>(e, INT32_MAX));
    return std::none_of(tracks.begin(), tracks.end(),
                        [&](const CTrack& t) { return t.Straddles(s) || t.Straddles(end); });
}

bool CProject::DeleteMeasures(int32_t measure, int32_t count) {
    if (!CanDeleteMeasures(measure, count))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t s = data.beats.MeasureToTick(measure);
        const int32_t length = data.beats.At(measure).MeasureLength();
        for (CTrack& t : tracks) {
            MarkNotesFrom(t, s);
            t.DeleteTime(s, length);
            MarkNotesFrom(t, s);
        }
        data.volumes.DeleteTime(s, length);
        data.tempos.DeleteTime(s, length);
        data.beats.DeleteMeasure(measure);
        ShiftLoop(s, length, false);
    }
    return true;
}

void CProject::PrepareBuild(CProjectModified& changeMap, bool full) {
    const double length = GetLength();
    auto markFade = [&changeMap](double songLength, int32_t fadeMs) {
        const int64_t k = (int64_t{fadeMs} - 1) / 1000;
        const auto top = static_cast<int64_t>(std::ceil(std::min(songLength, 1e12)));
        changeMap.Mark(top - (k + 1), top - 1);
    };
    if (full) {
        std::fill(changeMap.begin(), changeMap.end(), 1);
    } else if (length != lastBuildLength) {
        markFade(lastBuildLength, lastBuildFadeOut);
        markFade(length, data.fadeOut);
    }
    lastBuildLength = length;
    lastBuildFadeOut = data.fadeOut;
}
