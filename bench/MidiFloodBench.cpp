// A flood of MIDI messages while a large song is open in step-input mode: an input thread
// turns a byte stream of 10 000 messages a second (notes under running status, controller
// and pitch-bend messages, clock bytes inside messages, SysEx) into key events with
// CMidiParser and hands them over through CMidiEventPump, as CMidiInput does; the
// interface thread takes them in the pump's slices and plays each through the MIDI
// keyboard into the piano roll's step input, which enters a note for every key.
//
// Usage: midi_flood_bench [seconds]   (offscreen platform unless QT_QPA_PLATFORM is set)
//
// Prints, for a song of 100 000 notes and one of 1 000: the time one key takes to enter
// (the step's undo snapshot copies the edited track), the longest gap between two ticks of
// a 1 ms timer on the interface thread (the longest stall; target: at most 16 ms), the
// queue's peak fill against its capacity, the messages sent, events delivered and dropped,
// and what an autosave of the undo steps the flood made costs the interface thread.

#include "BenchTiming.h"

#include "SilentPrompts.h"
#include "common/Options.h"
#include "model/CProject.h"
#include "preview/CMidiEventPump.h"
#include "preview/CMidiParser.h"
#include "ui/CEditController.h"
#include "ui/CMidiKeyboard.h"
#include "ui/CNoteDefaults.h"
#include "ui/CUndoRing.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/pianoroll/CStepInput.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr int kTracks = 4;
constexpr int kSpacing = 120;
constexpr int kMessagesPerSecond = 10000;
constexpr int kBatchesPerSecond = 1000; // the input thread wakes every millisecond

CProject MakeSong(int notesPerTrack) {
    CProject project;
    project.Reset();
    while (project.tracks.size() < kTracks)
        project.tracks.emplace_back();
    for (int t = 0; t < kTracks; ++t)
        for (int i = 0; i < notesPerTrack; ++i) {
            CNote note;
            note.position = i * kSpacing;
            note.length = 60 + i % 420;
            note.key = 30 + i % 31;
            project.tracks[static_cast<size_t>(t)].AddNote(note);
        }
    project.currentTrack = 0;
    return project;
}

// The bytes of message `n` of the stream: mostly key presses and releases under running
// status, with the other kinds a keyboard sends mixed in.
void AppendMessage(std::vector<uint8_t>& bytes, int n) {
    const uint8_t key = uint8_t(48 + n / 2 % 24);
    switch (n % 10) {
    case 0:
        bytes.insert(bytes.end(), {0x90, key, 100});
        break;
    case 7:
        bytes.insert(bytes.end(), {0xB0, 64, uint8_t(n % 128), 0x90});
        bytes.insert(bytes.end(), {key, 0});
        break;
    case 8:
        bytes.insert(bytes.end(), {0xE0, 0, 0xF8, 64, 0xF0, 1, 2, 3, 0xF7, 0x90});
        bytes.insert(bytes.end(), {key, 90});
        break;
    default:
        bytes.insert(bytes.end(), {key, uint8_t(n % 2 == 0 ? 100 : 0)});
        break;
    }
}

struct FLOOD {
    CMidiEventPump pump;
    std::atomic<int64_t> pushed{0};
    std::atomic<int64_t> popped{0};
    std::atomic<int64_t> peak{0};
    std::atomic<int64_t> messages{0};
};

// The input thread: a batch of messages every millisecond, parsed and pushed as they come.
void Produce(FLOOD& flood, double seconds) {
    CMidiParser parser;
    std::vector<uint8_t> bytes;
    const int batch = kMessagesPerSecond / kBatchesPerSecond;
    const auto start = Clock::now();
    int n = 0;
    for (int b = 0; b < int(seconds * kBatchesPerSecond); ++b) {
        bytes.clear();
        for (int i = 0; i < batch; ++i)
            AppendMessage(bytes, n++);
        bool any = false;
        for (const uint8_t byte : bytes)
            if (const auto event = parser.Feed(byte); event && flood.pump.Push(*event)) {
                any = true;
                const int64_t fill = ++flood.pushed - flood.popped.load();
                flood.peak.store(std::max(flood.peak.load(), fill));
            }
        flood.messages += batch;
        if (any)
            flood.pump.Wake();
        std::this_thread::sleep_until(start + std::chrono::microseconds((b + 1) * 1000));
    }
}

// The longest gap between two ticks of a 1 ms timer while the event loop runs for `ms`.
double LongestStall(double ms) {
    double longest = 0;
    auto last = Clock::now();
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    });
    ticker.start();
    last = Clock::now();
    const auto start = Clock::now();
    while (MillisecondsSince(start) < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return longest;
}

void RunFlood(double seconds, int notesPerTrack) {
    CEditController edit;
    CNoteDefaults defaults;
    OPTIONS options;
    SilentPrompts prompts;
    edit.ReplaceProject(MakeSong(notesPerTrack));
    CPianoRollWnd roll(edit, defaults, options, nullptr, &prompts);
    roll.resize(1600, 900);
    roll.show();
    roll.StepInput().SetOn(true);
    CMidiKeyboard keyboard(roll.StepInput());
    QApplication::processEvents();
    const double oneKey = MedianMs(5, [&] {
        keyboard.Play({true, 0, 60, 100});
        keyboard.Play({false, 0, 60, 0});
    });

    FLOOD flood;
    QObject::connect(&flood.pump, &CMidiEventPump::keyEvent, &keyboard,
                     [&](const MIDI_KEY_EVENT& event) {
                         ++flood.popped;
                         keyboard.Play(event);
                     });
    std::thread input([&] { Produce(flood, seconds); });
    const double longest = LongestStall(seconds * 1000 + 500);
    input.join();
    QApplication::processEvents();
    // The flood filled the undo ring: what an autosave then costs the interface thread, and
    // the copying it leaves to its writer thread.
    const auto held = Clock::now();
    const CUndoRing::HeldSteps steps = edit.UndoRing().HoldUndoSteps();
    const double holdMs = MillisecondsSince(held);
    const auto made = Clock::now();
    const size_t songs = steps.Songs().size();
    const double songsMs = MillisecondsSince(made);

    std::printf("song of %d notes in %d tracks, step input on, %.1f s of %d messages a second\n",
                kTracks * notesPerTrack, kTracks, seconds, kMessagesPerSecond);
    std::printf("  one key entered (median)        %8.2f ms\n", oneKey);
    std::printf("  longest interface-thread stall  %8.2f ms (target <= 16 ms)\n", longest);
    std::printf("  queue peak %lld of %zu events\n", static_cast<long long>(flood.peak.load()),
                CMidiEventQueue::kCapacity);
    std::printf("  messages %lld, key events delivered %lld, dropped %llu\n",
                static_cast<long long>(flood.messages.load()),
                static_cast<long long>(flood.popped.load()),
                static_cast<unsigned long long>(flood.pump.Dropped()));
    std::printf("  autosave of %zu undo steps: %.2f ms on the interface thread, %.0f ms on the "
                "writer's\n",
                songs, holdMs, songsMs);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TSQ_AUDIO_DEVICE", "null");
    QApplication application(argc, argv);
    const double seconds = argc > 1 ? std::max(0.1, std::atof(argv[1])) : 2.0;
    for (const int notesPerTrack : {25000, 250})
        RunFlood(seconds, notesPerTrack);
    return 0;
}
