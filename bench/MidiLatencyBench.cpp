// Latency of a MIDI key through the preview: from the moment a key event reaches the
// interface thread (handed over by the input thread through CMidiEventQueue, as CMidiInput
// does) to the moment the capture device consumes the key's first non-zero frame. The
// capture device consumes at the real-time pace of the format, as a sound card would. A key
// joining others takes the same road (the stream restarts with it), so the first key of
// silence is what is timed, for several buffer settings. Target: at most 10 ms plus one
// device buffer.

#include "BenchTiming.h"
#include "CaptureSupport.h"

#include "model/CProject.h"
#include "preview/CMidiEventQueue.h"
#include "preview/CPreviewEngine.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>

#include <cstdio>
#include <thread>

namespace {

constexpr int32_t kRate = 44100;
constexpr int kTrials = 7;

CProject SineSong() {
    CProject p;
    p.data.samplesPerSec = kRate;
    p.data.channels = 1;
    p.data.volumes.Assign({{0, 255}});
    p.data.reductionPuchiNoise = 0;
    CTrack& t = p.tracks.emplace_back();
    t.settings.waveform = kSine;
    t.settings.volume = 255;
    return p;
}

// The first frame from `from` on that is not silence; SIZE_MAX while there is none.
size_t FirstNonZero(const CaptureDevice& capture, size_t from) {
    const std::vector<int16_t> s = capture.Samples();
    for (size_t i = from; i < s.size(); ++i)
        if (s[i] != 0)
            return i;
    return SIZE_MAX;
}

// Milliseconds from the event's hand-over to its first audible frame at the device.
double KeyLatency(CPreviewEngine& engine, CaptureDevice& capture, int key, size_t from) {
    CMidiEventQueue queue;
    const auto start = Clock::now();
    std::thread input([&queue, key] { queue.Push({true, 0, uint8_t(key + 24), 100}); });
    input.join();
    while (const auto event = queue.Pop())
        engine.NoteOn(event->note - 24, event->velocity / 127.0);
    while (FirstNonZero(capture, from) == SIZE_MAX && MillisecondsSince(start) < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return MillisecondsSince(start);
}

void Measure(int bufferMs) {
    const CProject song = SineSong();
    std::vector<double> first;
    for (int trial = 0; trial < kTrials; ++trial) {
        CaptureDevice capture;
        CPreviewEngine engine;
        engine.Open(&song, &song.tracks[0], bufferMs);
        first.push_back(KeyLatency(engine, capture, 45, 0));
        engine.Stop();
        engine.Close();
    }
    std::sort(first.begin(), first.end());
    std::printf("buffer %4d ms: first key %7.2f ms (median of %d; target <= %d ms)\n", bufferMs,
                first[first.size() / 2], kTrials, 10 + bufferMs);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("TSQ_AUDIO_DEVICE", "null");
    QCoreApplication app(argc, argv);
    for (const int bufferMs : {10, 20, 50, 100})
        Measure(bufferMs);
    return 0;
}
