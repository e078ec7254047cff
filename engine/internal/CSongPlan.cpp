#include "engine/internal/CSongPlan.h"

#include "model/CProject.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace {

// A segment whose chain goes on into the next bucket, with the note it belongs to.
struct CONTINUED {
    const CNote* segment;
    int32_t note;
};

bool Before(const CONTINUED& a, const CONTINUED& b) {
    return std::less<const CNote*>()(a.segment, b.segment);
}

// The note of a segment that is not a head: its predecessor lies in the bucket before,
// among `previous` (sorted by segment).
int32_t NoteOf(const std::vector<CONTINUED>& previous, const CNote* segment) {
    const CONTINUED key{segment->PrevSegment(), 0};
    const auto it = std::lower_bound(previous.begin(), previous.end(), key, Before);
    if (it == previous.end() || it->segment != key.segment)
        throw std::logic_error("note segment without its predecessor in the bucket before");
    return it->note;
}

// Heads come in the order ForEachNote met them, so the n-th head is note n. Any other
// segment continues a segment of the bucket before; walking its chain back to the head
// instead would make a long note cost the square of its segments.
void AddSegments(TRACK_PLAN& plan) {
    const CTrack& track = *plan.track;
    plan.bucketFirst.reserve(track.BucketCount() + 1);
    size_t segments = 0;
    for (size_t b = 0; b < track.BucketCount(); ++b) {
        const CSegmentRange list = track.Bucket(b);
        segments += static_cast<size_t>(std::distance(list.begin(), list.end()));
    }
    plan.segments.reserve(segments);
    int32_t heads = 0;
    std::vector<CONTINUED> previous;
    std::vector<CONTINUED> current;
    for (size_t b = 0; b < track.BucketCount(); ++b) {
        plan.bucketFirst.push_back(static_cast<int32_t>(plan.segments.size()));
        current.clear();
        for (const CNote* s : track.Bucket(b)) {
            const int32_t note = s->IsHead() ? heads++ : NoteOf(previous, s);
            plan.segments.push_back({note, s});
            if (s->NextSegment() != nullptr)
                current.push_back({s, note});
        }
        std::sort(current.begin(), current.end(), Before);
        std::swap(previous, current);
    }
    plan.bucketFirst.push_back(static_cast<int32_t>(plan.segments.size()));
}

} // namespace

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
    track.ForEachNote([&](const CNote* head) {
        NOTE_PLAN& note = plan.notes.emplace_back();
        note.head = head;
        note.times = CNoteTimes(*head, project.data.tempos);
        note.position = head->position;
        note.end = int64_t{head->position} + head->length;
    });
    AddSegments(plan);
}
