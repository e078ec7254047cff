#pragma once
// What a build derives from the song once, before rendering any second: every audible
// track's voice constants and every note's times, and the bucket lists mirrored as index
// arrays. Read-only afterwards, shared by all render threads.

#include "engine/internal/CNoteTimes.h"
#include "engine/internal/CTrackVoice.h"

#include <cstdint>
#include <vector>

class CNote;
class CProject;
class CTrack;

struct NOTE_PLAN {
    const CNote* head = nullptr;
    CNoteTimes times;
    int32_t position = 0;
    int64_t end = 0; // position + length
};

// A note segment in a bucket list. Segments are told apart, as the phase cache keys its
// entries on them: a note crossing into the next bucket starts a fresh entry there.
struct SEGMENT_PLAN {
    int32_t note = 0; // index into TRACK_PLAN::notes
    const CNote* segment = nullptr;
};

struct TRACK_PLAN {
    const CTrack* track = nullptr;
    CTrackVoice voice;
    std::vector<NOTE_PLAN> notes;
    std::vector<int32_t> bucketFirst; // bucket b's segments: [bucketFirst[b], bucketFirst[b+1])
    std::vector<SEGMENT_PLAN> segments;

    size_t BucketCount() const { return bucketFirst.empty() ? 0 : bucketFirst.size() - 1; }
};

class CSongPlan {
public:
    explicit CSongPlan(const CProject& project);

    const CProject& project;
    int32_t channels = 0;
    int32_t rate = 0;
    double lengthSeconds = 0;
    int32_t fadeOut = 0;
    int32_t fadeOutType = 0;
    std::vector<TRACK_PLAN> tracks; // unmuted tracks in project order

private:
    void AddTrack(const CTrack& track);
};
