// The MIDI input's parts that need no sequencer: the byte parser against running status,
// real-time bytes, SysEx and stray bytes; the bounded queue under a flood; the pump that
// drains it in slices; and following the chosen port as it goes away and comes back.

#include "preview/CMidiEventPump.h"
#include "preview/CMidiEventQueue.h"
#include "preview/CMidiParser.h"
#include "preview/CMidiPortTracker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace {

std::vector<MIDI_KEY_EVENT> Parse(const std::vector<uint8_t>& bytes) {
    CMidiParser parser;
    std::vector<MIDI_KEY_EVENT> events;
    for (const uint8_t b : bytes)
        if (const auto e = parser.Feed(b))
            events.push_back(*e);
    return events;
}

MIDI_KEY_EVENT On(uint8_t channel, uint8_t note, uint8_t velocity) {
    return {true, channel, note, velocity};
}
MIDI_KEY_EVENT Off(uint8_t channel, uint8_t note, uint8_t velocity) {
    return {false, channel, note, velocity};
}

struct PARSE_CASE {
    const char* name;
    std::vector<uint8_t> bytes;
    std::vector<MIDI_KEY_EVENT> events;
};

} // namespace

TEST(CMidiParser, ReadsKeyEventsOutOfEveryKindOfStream) {
    const std::vector<PARSE_CASE> cases = {
        {"note on and off", {0x90, 60, 100, 0x80, 60, 64}, {On(0, 60, 100), Off(0, 60, 64)}},
        {"velocity 0 is a note-off", {0x93, 61, 0}, {Off(3, 61, 0)}},
        {"running status",
         {0x9F, 60, 1, 62, 127, 60, 0},
         {On(15, 60, 1), On(15, 62, 127), Off(15, 60, 0)}},
        {"real-time bytes inside a message", {0x90, 0xF8, 60, 0xFE, 90, 0xFF}, {On(0, 60, 90)}},
        {"a SysEx of any length is skipped",
         {0xF0, 1, 2, 3, 4, 5, 6, 7, 0xF7, 0x90, 64, 80},
         {On(0, 64, 80)}},
        {"a SysEx ends the running status", {0x90, 60, 90, 0xF0, 1, 0xF7, 62, 90}, {On(0, 60, 90)}},
        {"a SysEx cut short by a status byte", {0xF0, 1, 2, 0x90, 65, 70}, {On(0, 65, 70)}},
        {"other channel messages are read past",
         {0xB0, 7, 100, 0xC0, 5, 0xE0, 0, 64, 0xD0, 30, 0x90, 66, 70},
         {On(0, 66, 70)}},
        {"running status of other messages", {0xB0, 7, 100, 10, 64, 0x90, 60, 1}, {On(0, 60, 1)}},
        {"system common messages take their bytes",
         {0xF2, 60, 100, 0xF3, 5, 0xF1, 1, 0xF6, 60, 1, 0x90, 67, 70},
         {On(0, 67, 70)}},
        {"data without a status is dropped", {60, 100, 0x80, 60}, {}},
        {"a message cut short by a new one", {0x90, 60, 0x80, 61, 5}, {Off(0, 61, 5)}},
        {"a stray end of SysEx", {0xF7, 60, 1, 0x90, 60, 2}, {On(0, 60, 2)}},
    };
    for (const PARSE_CASE& c : cases)
        EXPECT_EQ(Parse(c.bytes), c.events) << c.name;
}

TEST(CMidiParser, ResetForgetsTheRunningStatus) {
    CMidiParser parser;
    parser.Feed(0x90);
    parser.Feed(60);
    parser.Reset();
    EXPECT_FALSE(parser.Feed(70).has_value());
    EXPECT_FALSE(parser.Feed(60).has_value());
}

TEST(CMidiParser, RandomBytesGiveOnlyWellFormedEvents) {
    std::mt19937 random(15);
    CMidiParser parser;
    for (int i = 0; i < 200000; ++i) {
        if (const auto e = parser.Feed(uint8_t(random()))) {
            ASSERT_LT(e->channel, 16);
            ASSERT_LT(e->note, 128);
            ASSERT_LT(e->velocity, 128);
            ASSERT_TRUE(!e->on || e->velocity > 0);
        }
    }
}

TEST(CMidiEventQueue, AFloodIsDroppedBeyondTheCapacityAndOrderIsKept) {
    CMidiEventQueue queue;
    for (size_t i = 0; i < CMidiEventQueue::kCapacity + 100; ++i)
        queue.Push(On(0, uint8_t(i % 128), 1));
    EXPECT_EQ(queue.Dropped(), 100u);
    for (size_t i = 0; i < CMidiEventQueue::kCapacity; ++i) {
        const auto e = queue.Pop();
        ASSERT_TRUE(e.has_value());
        ASSERT_EQ(e->note, i % 128);
    }
    EXPECT_FALSE(queue.Pop().has_value());
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(queue.Push(On(1, 2, 3)));
    EXPECT_EQ(queue.Pop(), On(1, 2, 3));
}

TEST(CMidiEventQueue, OneWriterAndOneReaderLoseNothingWhileThereIsRoom) {
    CMidiEventQueue queue;
    constexpr int kEvents = 100000;
    std::thread writer([&] {
        for (int i = 0; i < kEvents; ++i)
            while (!queue.Push(On(0, uint8_t(i % 128), uint8_t(1 + i % 127))))
                std::this_thread::yield();
    });
    int read = 0;
    while (read < kEvents) {
        if (const auto e = queue.Pop()) {
            ASSERT_EQ(e->note, read % 128);
            ++read;
        }
    }
    writer.join();
    EXPECT_TRUE(queue.Empty());
}

// The pump against a writer that keeps pushing while the owner's thread drains: every
// event arrives once and in order, and the event loop gets its turns between slices (a
// slow handler stands for a large song, where each key is an undo step of some ms).
TEST(CMidiEventPump, EveryEventArrivesInOrderAndTheLoopGetsItsTurnsBetweenSlices) {
    CMidiEventPump pump;
    constexpr int kEvents = 300;
    std::vector<int> received;
    int turns = 0;
    int turnsBeforeLast = -1;
    QObject::connect(&pump, &CMidiEventPump::keyEvent, [&](const MIDI_KEY_EVENT& e) {
        received.push_back(e.note + 128 * (e.velocity - 1));
        std::this_thread::sleep_for(std::chrono::microseconds(500));
        if (int(received.size()) == kEvents)
            turnsBeforeLast = turns;
    });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++turns; });
    ticker.start(0);
    std::thread writer([&] {
        for (int i = 0; i < kEvents; ++i) {
            while (!pump.Push(On(0, uint8_t(i % 128), uint8_t(1 + i / 128))))
                std::this_thread::yield();
            pump.Wake();
            if (i % 16 == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    QElapsedTimer waited;
    waited.start();
    while (int(received.size()) < kEvents && waited.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    writer.join();
    QCoreApplication::processEvents();
    ASSERT_EQ(int(received.size()), kEvents);
    for (int i = 0; i < kEvents; ++i)
        ASSERT_EQ(received[size_t(i)], i);
    // 150 ms of handling in slices of 4 ms: the loop came round between them.
    EXPECT_GE(turnsBeforeLast, kEvents / 2 / CMidiEventPump::kSliceMs / 2);
    EXPECT_EQ(pump.Dropped(), 0u);
}

TEST(CMidiPortTracker, FollowsTheChosenPortThroughUnpluggingAndPluggingIn) {
    const MIDI_PORT keys{20, 0, "Keys: Keys MIDI 1"};
    const MIDI_PORT other{24, 0, "Other: Port 1"};
    CMidiPortTracker tracker;
    // Nothing chosen: nothing to do whatever is present.
    EXPECT_EQ(tracker.Update({keys}).change, CMidiPortTracker::Change::None);

    tracker.Choose(keys.name);
    EXPECT_EQ(tracker.Update({other}).change, CMidiPortTracker::Change::None);
    CMidiPortTracker::STEP step = tracker.Update({other, keys});
    EXPECT_EQ(step.change, CMidiPortTracker::Change::Connect);
    EXPECT_EQ(step.port, keys);
    EXPECT_TRUE(tracker.IsConnected());
    EXPECT_EQ(tracker.Update({keys, other}).change, CMidiPortTracker::Change::None);

    // Unplugged: lost once, then quiet.
    step = tracker.Update({other});
    EXPECT_EQ(step.change, CMidiPortTracker::Change::Lost);
    EXPECT_EQ(step.port, keys);
    EXPECT_FALSE(tracker.IsConnected());
    EXPECT_EQ(tracker.Update({}).change, CMidiPortTracker::Change::None);

    // Plugged in again at a new address: connected there.
    const MIDI_PORT back{28, 0, keys.name};
    step = tracker.Update({back});
    EXPECT_EQ(step.change, CMidiPortTracker::Change::Connect);
    EXPECT_EQ(step.port, back);
    // Replugged between two looks: connected to the new address without a loss.
    const MIDI_PORT again{32, 0, keys.name};
    step = tracker.Update({again});
    EXPECT_EQ(step.change, CMidiPortTracker::Change::Connect);
    EXPECT_EQ(step.port, again);

    tracker.Choose("");
    EXPECT_FALSE(tracker.IsConnected());
    EXPECT_EQ(tracker.Update({again}).change, CMidiPortTracker::Change::None);
}
