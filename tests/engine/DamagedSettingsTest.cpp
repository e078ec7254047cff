// Sound settings that no dialog offers reach the renderer from damaged files, and from
// anything that fills a project without the loader. Rendered alone, a second late in a
// long note must stay as cheap as with offered settings (here: the test ends), its samples
// finite, and a damaged value must sound as the nearest one the renderer can handle.

#include "EngineTestSongs.h"
#include "engine/CSongRenderer.h"
#include "engine/internal/CLfoShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using namespace testsong;

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
// At 120 beats per minute one second is 960 ticks.
constexpr int32_t kSecond = 960;

std::vector<double> RenderSecondOf(const CProject& p, int32_t second) {
    const CSongRenderer r(p);
    std::vector<double> out(size_t(r.Rate()) * size_t(r.Channels()));
    r.RenderSecond(second, r.Rate(), out.data());
    return out;
}

// A note of about four hours whose every LFO, its track's and its FM operators', carries
// `lfo`, with the envelope, volume and key found in a damaged project.
CProject LongNoteWith(int32_t waveform, const CLFO& lfo, int32_t seconds) {
    CProject p = Bare(1000, 2);
    p.data.reductionPuchiNoise = 1;
    CTrack& t = AddTrack(p, waveform);
    t.settings.pitchLFO = lfo;
    t.settings.ampLFO = lfo;
    for (CFMOperator& op : t.settings.fm.operators) {
        op.pitchLFO = lfo;
        op.ampLFO = lfo;
        op.feedback = 7;
    }
    t.settings.envelope.decay = 1953459714;
    t.settings.envelope.release = -2044193280;
    CNote n = Note(0, seconds * kSecond, 255);
    n.volume = 65535;
    t.AddNote(n);
    return p;
}

} // namespace

TEST(DamagedSettings, LateSecondOfALongNoteEndsWithFiniteSamples) {
    // [GIVEN] LFO times and depths of garbage: as found in a damaged file, with every size
    // positive, and at the ends of the integers; on a square LFO (summed as geometric
    // series), a sine (summed by quadrature) and an unknown waveform
    const CLFO lfos[] = {
        {0, 3, -16777216, -1768554496, -1768515946, -2036951402},
        {0, 3, -16777216, 1768554496, 1768515946, 2036951402},
        {0, 1, 0, kMax, 9999, kMax},
        {0, 1, kMin, kMin, kMin, kMin},
    };
    constexpr int32_t kSeconds = 15000;
    for (const int32_t source : {kNoise, kFm}) {
        for (CLFO lfo : lfos) {
            for (const int32_t lfoWaveform : {0, 3, 150}) {
                lfo.waveform = lfoWaveform;
                const CProject p = LongNoteWith(source, lfo, kSeconds);
                // [WHEN] its last second is rendered alone
                const std::vector<double> out = RenderSecondOf(p, kSeconds - 1);
                // [THEN]
                for (size_t i = 0; i < out.size(); ++i)
                    ASSERT_TRUE(std::isfinite(out[i]))
                        << "source " << source << ", LFO waveform " << lfoWaveform << ", period "
                        << lfo.period << ", frame " << i;
            }
        }
    }
}

TEST(DamagedSettings, ValuesBeyondTheirRangesSoundAsTheNearestTheRendererTakes) {
    // [GIVEN] a sine note with one damaged setting, and the same note with the value the
    // renderer holds it at
    using Change = std::function<void(CTrack&, CNote&)>;
    const auto pitchLfo = [](CLFO lfo) {
        return Change([=](CTrack& t, CNote&) { t.settings.pitchLFO = lfo; });
    };
    const auto ampLfo = [](CLFO lfo) {
        return Change([=](CTrack& t, CNote&) { t.settings.ampLFO = lfo; });
    };
    const auto pan = [](int32_t v) {
        return Change([=](CTrack& t, CNote&) { t.settings.pan = v; });
    };
    const auto glide = [](int32_t level) {
        return Change([=](CTrack&, CNote& n) { n = Glide(n, kSecond, kSecond, level); });
    };
    constexpr int32_t kDepth = CLfoShape::kMaxDepth;
    struct Case {
        const char* name;
        Change damaged;
        Change nearest;
    };
    const Case cases[] = {
        {"fade-in of weeks", pitchLfo({3, 0, 100, kMax, 700, 300}),
         pitchLfo({3, 0, 100, CLfoShape::kMaxFade, 700, 300})},
        {"negative fade-in", pitchLfo({1, 0, 100, -5, 700, 300}),
         pitchLfo({1, 0, 100, 0, 700, 300})},
        {"negative period", pitchLfo({3, 0, 0, 0, -700, 300}), pitchLfo({3, 0, 0, 0, 0, 300})},
        {"vibrato of millions of octaves", pitchLfo({3, 0, 0, 0, 700, kMax}),
         pitchLfo({3, 0, 0, 0, 700, kDepth})},
        {"negative vibrato depth", pitchLfo({0, 0, 0, 0, 700, kMin}),
         pitchLfo({0, 0, 0, 0, 700, -kDepth})},
        {"tremolo of millions", ampLfo({2, 0, 0, 0, 300, kMax}), ampLfo({2, 0, 0, 0, 300, kDepth})},
        {"pan past the left", pan(kMin), pan(-255)},
        {"pan past the right", pan(100000), pan(255)},
        {"glide up by millions of semitones", glide(kMax), glide(32767)},
        {"glide down by millions of semitones", glide(kMin), glide(-32768)},
    };
    for (const Case& c : cases) {
        std::vector<double> rendered[2];
        for (int k = 0; k < 2; ++k) {
            CProject p = Bare(8000, 2);
            CTrack& t = AddTrack(p, kSine);
            CNote n = Note(0, 4 * kSecond, 50);
            (k == 0 ? c.damaged : c.nearest)(t, n);
            t.AddNote(n);
            rendered[k] = RenderSecondOf(p, 3);
        }
        // [THEN] a second late in the note sounds the same
        EXPECT_EQ(rendered[0], rendered[1]) << c.name;
    }
}
