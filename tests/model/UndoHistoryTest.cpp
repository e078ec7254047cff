// The undo history a recovery keeps: steps come back in order and exactly, the byte budget
// drops the oldest steps first, and damaged files are refused whole.

#include "model/UndoHistory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A song of `notes` notes, one a beat.
CProject Song(int notes) {
    CProject p;
    p.Reset();
    for (int i = 0; i < notes; ++i) {
        CNote n;
        n.position = i * 480;
        n.length = 240;
        n.key = 40 + i % 24;
        p.tracks[0].AddNote(n);
    }
    return p;
}

std::vector<CProject> Steps(int count) {
    std::vector<CProject> steps;
    for (int i = 0; i < count; ++i)
        steps.push_back(Song(i + 1));
    return steps;
}

size_t NoteCount(const CProject& p) {
    size_t n = 0;
    p.tracks[0].ForEachNote([&n](const CNote*) { ++n; });
    return n;
}

} // namespace

TEST(UndoHistory, StepsComeBackInOrderAndExactly) {
    const std::vector<CProject> steps = Steps(5);
    std::vector<CProject> read;
    ASSERT_TRUE(DecodeUndoHistory(EncodeUndoHistory(steps), read));
    ASSERT_EQ(read.size(), steps.size());
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(read[i].SaveToBytes(), steps[i].SaveToBytes()) << i;

    ASSERT_TRUE(DecodeUndoHistory(EncodeUndoHistory({}), read));
    EXPECT_TRUE(read.empty());
}

TEST(UndoHistory, TheBudgetDropsTheOldestSteps) {
    const std::vector<CProject> steps = Steps(10);
    const size_t newestTwo = 12 + 8 + steps[8].SaveToBytes().size() + steps[9].SaveToBytes().size();
    struct CASE {
        size_t budget;
        size_t kept;
    };
    for (const CASE& c : {CASE{newestTwo, 2}, CASE{newestTwo - 1, 1}, CASE{12, 0}}) {
        SCOPED_TRACE(c.budget);
        const std::vector<uint8_t> bytes = EncodeUndoHistory(steps, c.budget);
        EXPECT_LE(bytes.size(), c.budget);
        std::vector<CProject> read;
        ASSERT_TRUE(DecodeUndoHistory(bytes, read));
        ASSERT_EQ(read.size(), c.kept);
        for (size_t i = 0; i < c.kept; ++i)
            EXPECT_EQ(NoteCount(read[i]), 10 - c.kept + i + 1);
    }
    // No more steps than the editor can undo, the newest of them.
    std::vector<CProject> read;
    ASSERT_TRUE(DecodeUndoHistory(EncodeUndoHistory(Steps(kMostUndoSteps + 3)), read));
    ASSERT_EQ(read.size(), size_t{kMostUndoSteps});
    EXPECT_EQ(NoteCount(read.front()), 4u);
}

TEST(UndoHistory, DamagedHistoriesAreRefusedWhole) {
    const std::vector<uint8_t> good = EncodeUndoHistory(Steps(2));
    auto with = [&good](size_t at, uint8_t value) {
        std::vector<uint8_t> bytes = good;
        bytes.at(at) = value;
        return bytes;
    };
    struct CASE {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const std::vector<CASE> cases = {
        {"empty", {}},
        {"wrong magic", with(0, 'X')},
        {"too many steps", with(8, uint8_t(kMostUndoSteps + 1))},
        {"more steps than the file holds", with(8, 3)},
        {"a step longer than the file", with(15, 0x7F)},
        {"cut short", {good.begin(), good.end() - 1}},
        {"bytes after the last step",
         [&good] {
             std::vector<uint8_t> b = good;
             b.push_back(0);
             return b;
         }()},
        {"a damaged step", with(16, 'X')},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<CProject> read = Steps(1);
        EXPECT_FALSE(DecodeUndoHistory(c.bytes, read));
        EXPECT_TRUE(read.empty());
    }
}
