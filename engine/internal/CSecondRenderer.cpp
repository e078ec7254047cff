#include "engine/internal/CSecondRenderer.h"

#include "engine/internal/CSongPlan.h"
#include "engine/internal/VoiceMath.h"
#include "model/CProject.h"

#include <algorithm>

CSecondRenderer::CSecondRenderer(const CSongPlan& plan, RENDER_SCRATCH& scratch)
    : plan(plan), times(scratch.times), ticks(scratch.ticks), fades(scratch.fades),
      acc(scratch.acc), mixed(scratch.mixed), voices(scratch.voices), slots(scratch.slots),
      trackVoices(scratch.trackVoices) {
}

void CSecondRenderer::Render(int32_t second, int32_t frames, IRenderSink& sink) {
    const int32_t channels = plan.channels;
    if (frames <= 0 || (channels != 1 && channels != 2))
        return;
    mixed.assign(size_t(std::min(frames, kChunkFrames)) * size_t(channels), 0.0);
    if (plan.tracks.empty()) {
        for (int32_t chunk = 0; chunk < frames; chunk += kChunkFrames)
            sink.Consume(chunk, std::min(kChunkFrames, frames - chunk), mixed.data());
        return;
    }
    // Ticks never decrease as time goes on, so the first and last frames bound the second.
    const CTempoList& tempos = plan.project.data.tempos;
    PrepareVoices(tempos.SecondsToTicks(FrameTime(second, 0)),
                  tempos.SecondsToTicks(FrameTime(second, frames - 1)));
    for (int32_t chunk = 0; chunk < frames; chunk += kChunkFrames) {
        const int32_t count = std::min(kChunkFrames, frames - chunk);
        PrepareFrames(second, chunk, count);
        std::fill(mixed.begin(), mixed.end(), 0.0);
        for (int32_t first = 0; first < count;) {
            const int32_t tick = ticks[size_t(first)];
            int32_t last = first + 1;
            while (last < count && ticks[size_t(last)] == tick)
                ++last;
            RenderRun(first, last - first, tick, mixed.data());
            first = last;
        }
        sink.Consume(chunk, count, mixed.data());
    }
}

double CSecondRenderer::FrameTime(int32_t second, int32_t frame) const {
    return double(frame) / plan.rate + second;
}

void CSecondRenderer::PrepareFrames(int32_t second, int32_t chunk, int32_t count) {
    const CProjectData& data = plan.project.data;
    const auto n = size_t(count);
    times.resize(n);
    ticks.resize(n);
    fades.resize(n);
    acc.resize(n);
    for (size_t j = 0; j < n; ++j) {
        const double t = FrameTime(second, chunk + int32_t(j));
        times[j] = t;
        ticks[j] = data.tempos.SecondsToTicks(t);
        fades[j] = voice::FadeGain(t, plan.lengthSeconds, plan.fadeOut, plan.fadeOutType);
    }
}

void CSecondRenderer::PrepareVoices(int32_t tickLo, int32_t tickHi) {
    voices.clear();
    slots.clear();
    trackVoices.resize(plan.tracks.size());
    for (size_t k = 0; k < plan.tracks.size(); ++k) {
        const TRACK_PLAN& track = plan.tracks[k];
        TRACK_VOICES& tv = trackVoices[k];
        tv.firstBucket = tickLo / CTrack::kBucketTicks;
        const auto lastBucket =
            std::min<int64_t>(tickHi / CTrack::kBucketTicks, int64_t(track.BucketCount()) - 1);
        tv.bucketFirst.clear();
        tv.entries.clear();
        for (int64_t b = tv.firstBucket; b <= lastBucket; ++b) {
            tv.bucketFirst.push_back(int32_t(tv.entries.size()));
            for (int32_t s = track.bucketFirst[size_t(b)]; s < track.bucketFirst[size_t(b) + 1];
                 ++s) {
                const SEGMENT_PLAN& segment = track.segments[size_t(s)];
                const NOTE_PLAN& note = track.notes[size_t(segment.note)];
                if (note.position > tickHi || note.end <= tickLo)
                    continue;
                tv.entries.push_back(int32_t(voices.size()));
                voices.emplace_back(track.voice, note.times, *segment.segment, track.track);
                slots.push_back({note.position, note.end});
            }
        }
        tv.bucketFirst.push_back(int32_t(tv.entries.size()));
    }
}

void CSecondRenderer::RenderRun(int32_t first, int32_t count, int32_t tick, double* out) {
    const double master = plan.project.data.volumes.VolumeAt(tick) / 255.0;
    const int32_t bucket = tick / CTrack::kBucketTicks;
    for (size_t k = 0; k < plan.tracks.size(); ++k) {
        const TRACK_VOICES& tv = trackVoices[k];
        const int32_t local = bucket - tv.firstBucket;
        if (local < 0 || local + 1 >= int32_t(tv.bucketFirst.size()))
            continue;
        bool sounding = false;
        for (int32_t e = tv.bucketFirst[size_t(local)]; e < tv.bucketFirst[size_t(local) + 1];
             ++e) {
            const auto v = size_t(tv.entries[size_t(e)]);
            if (slots[v].position > tick || tick >= slots[v].end)
                continue;
            if (!sounding) {
                std::fill(acc.begin(), acc.begin() + count, 0.0);
                sounding = true;
            }
            voices[v].Render(&times[size_t(first)], &fades[size_t(first)], count, master,
                             acc.data());
        }
        if (sounding)
            Mix(plan.tracks[k], first, count, out);
    }
}

void CSecondRenderer::Mix(const TRACK_PLAN& track, int32_t first, int32_t count,
                          double* out) const {
    if (plan.channels == 1) {
        for (int32_t j = 0; j < count; ++j)
            out[first + j] += acc[size_t(j)];
        return;
    }
    const int32_t pan = track.voice.pan;
    const int32_t left = 256 - std::max(pan, 0);
    const int32_t right = 256 - std::max(-pan, 0);
    for (int32_t j = 0; j < count; ++j) {
        const double v = acc[size_t(j)];
        if (v == 0)
            continue;
        double* frame = out + 2 * size_t(first + j);
        frame[0] += left * v / 256;
        frame[1] += right * v / 256;
    }
}
