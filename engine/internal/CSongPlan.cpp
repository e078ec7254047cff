#include "engine/internal/CSongPlan.h"

#include "model/CProject.h"

#include <unordered_map>

CSongPlan::CSongPlan(const CProject& project)
    : project(project), channels(project.data.channels), rate(project.data.samplesPerSec),
      lengthSeconds(project.GetLength()), fadeOut(project.data.fadeOut),
      fadeOutType(project.data.fadeOutType) {
    // Times cannot be derived from broken time lists; such a song renders silence.
    if (!project.data.tempos.IsValid() || !project.data.volumes.IsValid() || rate < 1)
        return;
    // Sized up front: a vector grown step by step holds up to three times its contents
    // while it moves, which would be the largest part of a build's memory.
    tracks.reserve(project.tracks.size());
    for (const CTrack& track : project.tracks)
        if (!track.settings.mute)
            AddTrack(track);
}

void CSongPlan::AddTrack(const CTrack& track) {
    TRACK_PLAN& plan = tracks.emplace_back();
    plan.track = &track;
    plan.voice = CTrackVoice(track.settings, project.data);
    plan.notes.reserve(track.NoteCount());
    std::unordered_map<const CNote*, int32_t> indexOf;
    indexOf.reserve(track.NoteCount());
    track.ForEachNote([&](const CNote* head) {
        NOTE_PLAN& note = plan.notes.emplace_back();
        note.head = head;
        note.times = CNoteTimes(*head, project.data.tempos);
        note.position = head->position;
        note.end = int64_t{head->position} + head->length;
        indexOf.emplace(head, static_cast<int32_t>(plan.notes.size() - 1));
    });
    plan.bucketFirst.reserve(track.buckets.size() + 1);
    size_t segments = 0;
    for (const CNote* bucket : track.buckets)
        for (const CNote* s = bucket; s != nullptr; s = s->nextInBucket)
            ++segments;
    plan.segments.reserve(segments);
    for (const CNote* bucket : track.buckets) {
        plan.bucketFirst.push_back(static_cast<int32_t>(plan.segments.size()));
        for (const CNote* s = bucket; s != nullptr; s = s->nextInBucket)
            plan.segments.push_back({indexOf.at(s->Head()), s});
    }
    plan.bucketFirst.push_back(static_cast<int32_t>(plan.segments.size()));
}
