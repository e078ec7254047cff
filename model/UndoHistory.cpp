#include "model/UndoHistory.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kMagic[8] = {'T', 'S', 'Q', 'U', 'N', 'D', 'O', '1'};
constexpr size_t kHeadBytes = sizeof kMagic + 4;
constexpr size_t kStepHeadBytes = 4;

} // namespace

std::vector<uint8_t> EncodeUndoHistory(std::span<const CProject> steps, size_t budget) {
    // Newest first, so that the budget drops the oldest.
    std::vector<std::vector<uint8_t>> kept;
    size_t total = kHeadBytes;
    const size_t most = std::min<size_t>(steps.size(), kMostUndoSteps);
    for (size_t i = 0; i < most; ++i) {
        std::vector<uint8_t> bytes = steps[steps.size() - 1 - i].SaveToBytes();
        if (bytes.size() > UINT32_MAX || total + kStepHeadBytes + bytes.size() > budget)
            break;
        total += kStepHeadBytes + bytes.size();
        kept.push_back(std::move(bytes));
    }
    CArchiveWriter out;
    out.Bytes(kMagic, sizeof kMagic);
    out.U32(static_cast<uint32_t>(kept.size()));
    for (auto step = kept.rbegin(); step != kept.rend(); ++step) {
        out.U32(static_cast<uint32_t>(step->size()));
        out.Bytes(step->data(), step->size());
    }
    return out.Take();
}

Result DecodeUndoHistory(std::span<const uint8_t> bytes, std::vector<CProject>& steps) {
    steps.clear();
    std::vector<CProject> read;
    try {
        CArchiveReader in(bytes);
        char magic[sizeof kMagic];
        in.Bytes(magic, sizeof magic);
        if (std::memcmp(magic, kMagic, sizeof kMagic) != 0)
            return Result::Fail("not an undo history");
        const uint32_t count = in.U32();
        if (count > kMostUndoSteps)
            return Result::Fail("damaged undo history: too many steps");
        in.Require(count, kStepHeadBytes);
        read.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t length = in.U32();
            in.Require(length, 1);
            const size_t at = in.Position();
            in.Skip(length);
            CProject step;
            if (Result r = step.LoadFromBytes(bytes.subspan(at, length)); !r)
                return Result::Fail("damaged undo history: " + r.message);
            read.push_back(std::move(step));
        }
        if (!in.AtEnd())
            return Result::Fail("damaged undo history: bytes after the last step");
    } catch (const ArchiveError&) {
        return Result::Fail("damaged undo history: the data ends early");
    }
    steps = std::move(read);
    return Result::Ok();
}
