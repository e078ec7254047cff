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
    for (const CTrack& track : project.tracks)
        if (!track.settings.mute)
            AddTrack(track);
}

void CSongPlan::AddTrack(const CTrack& track) {
    TRACK_PLAN& plan = tracks.emplace_back();
    plan.track = &track;
    plan.voice = CTrackVoice(track.settings, project.data);
    std::unordered_map<const CNote*, int32_t> indexOf;
    track.ForEachNote([&](const CNote* head) {
        NOTE_PLAN& note = plan.notes.emplace_back();
        note.head = head;
        note.times = CNoteTimes(*head, project.data.tempos);
        note.position = head->position;
        note.end = int64_t{head->position} + head->length;
        note.globalIndex = noteCount++;
        indexOf.emplace(head, static_cast<int32_t>(plan.notes.size() - 1));
    });
    plan.bucketFirst.reserve(track.buckets.size() + 1);
    for (const CNote* bucket : track.buckets) {
        plan.bucketFirst.push_back(static_cast<int32_t>(plan.segments.size()));
        for (const CNote* s = bucket; s != nullptr; s = s->nextInBucket)
            plan.segments.push_back({indexOf.at(s->Head()), s});
    }
    plan.bucketFirst.push_back(static_cast<int32_t>(plan.segments.size()));
}
