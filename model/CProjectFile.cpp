// Reading and writing project files (".tqp") and incremental-build files (".tqb").

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/CProject.h"
#include "model/FileIO.h"
#include "model/FileVersion.h"
#include "model/SongLimits.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kMagicSize = 20;
constexpr size_t kMaxProjectFile = size_t{256} << 20;
constexpr size_t kMaxBuildInfoFile = size_t{64} << 20;

bool HasMagic(std::span<const uint8_t> bytes) {
    return bytes.size() >= kMagicSize &&
           std::memcmp(bytes.data(), CProject::kMagic, kMagicSize) == 0;
}

std::string VersionText(uint32_t v) {
    return std::to_string(v & 0xFF) + "." + std::to_string((v >> 8) & 0xFF);
}

Result WithPath(const std::string& path, Result r) {
    if (!r)
        r.message = path + ": " + r.message;
    return r;
}

// Brings the output format of a damaged file to the nearest one the program offers (1 or 2
// channels, 1000 to 384000 Hz, 8/16/24/32/64 bits): a rate of millions of frames a second
// would make every build second a runaway allocation.
void RepairFormat(CProjectData& data) {
    data.channels = std::clamp(data.channels, 1, 2);
    data.samplesPerSec = std::clamp(data.samplesPerSec, 1000, 384000);
    static constexpr int32_t kWidths[] = {8, 16, 24, 32, 64};
    int32_t nearest = kWidths[0];
    for (const int32_t width : kWidths)
        if (std::abs(width - data.bitsPerSample) < std::abs(nearest - data.bitsPerSample))
            nearest = width;
    data.bitsPerSample = nearest;
}

} // namespace

std::vector<uint8_t> CProject::SaveToBytes() const {
    CArchiveWriter ar;
    ar.Bytes(kMagic, kMagicSize);
    ar.U32(kFileVersion);
    data.Serialize(ar);
    ar.U32(static_cast<uint32_t>(tracks.size()));
    for (const CTrack& t : tracks)
        t.Serialize(ar);
    return ar.Take();
}

// A song beyond the loader's limits is not written: the file could never be opened.
Result CProject::Save(const std::string& path) const {
    if (Result r = songlimits::Check(*this); !r)
        return WithPath(path, r);
    std::vector<uint8_t> bytes = SaveToBytes();
    return WithPath(path, WriteFileAtomically(path, bytes));
}

void CProject::ConvertOldPortamento() {
    for (CTrack& t : tracks) {
        t.ForEachNote([&](const CNote* n) {
            if (n->portamentoStart == 0 && n->portamentoLength == 0)
                return;
            const double start = data.tempos.SecondsAt(n->position) + n->portamentoStart / 1000.0;
            const int32_t a = data.tempos.SecondsToTicks(start);
            const int32_t e = data.tempos.SecondsToTicks(start + n->portamentoLength / 1000.0);
            CNote converted = *n;
            converted.portamentoStart = a - n->position;
            converted.portamentoLength = e - a;
            t.UpdateNote(n, converted);
        });
    }
}

Result CProject::LoadFromBytes(std::span<const uint8_t> bytes) {
    if (!HasMagic(bytes))
        return Result::Fail("not a Tesselaphon project file");
    CProject loaded;
    try {
        CArchiveReader ar(bytes);
        ar.Skip(kMagicSize);
        const uint32_t version = ar.U32();
        if ((version & 0xFFFF) > kFileVersion)
            return Result::Fail("written by a newer version (" + VersionText(version) + ")");
        loaded.Reset();
        loaded.tracks.clear();
        loaded.data.Serialize(ar, version);
        if (!loaded.data.IsValid())
            return Result::Fail("damaged tempo, beat or volume list");
        loaded.data.RepairLoop();
        RepairFormat(loaded.data);
        const uint32_t count = ar.U32();
        if (count > songlimits::kMaxTracks)
            return Result::Fail("too many tracks (" + std::to_string(count) + ")");
        uint64_t budget = songlimits::kSegmentBudget;
        for (uint32_t i = 0; i < count; ++i) {
            loaded.tracks.emplace_back();
            loaded.tracks.back().Serialize(ar, version, budget);
        }
        if (IsBefore(version, 8))
            loaded.ConvertOldPortamento();
    } catch (const ArchiveError& e) {
        return Result::Fail(std::string("damaged file: ") + e.what());
    }
    loaded.lastBuildLength = loaded.GetLength();
    loaded.lastBuildFadeOut = loaded.data.fadeOut;
    *this = std::move(loaded);
    return Result::Ok();
}

Result CProject::Load(const std::string& path) {
    std::vector<uint8_t> bytes;
    Result r = ReadWholeFile(path, bytes, kMaxProjectFile);
    if (r)
        r = LoadFromBytes(bytes);
    return WithPath(path, r);
}

Result CProject::Import(const std::string& path, const MIDI_IMPORT_OPTIONS& options) {
    std::vector<uint8_t> head;
    if (Result r = ReadFileHead(path, head, kMagicSize); !r)
        return WithPath(path, r);
    head.resize(kMagicSize, 0);
    if (HasMagic(head))
        return Load(path);
    if (std::memcmp(head.data(), "MThd", 4) == 0)
        return ImportMidi(path, options);
    return WithPath(path, Result::Fail("neither a project file nor a MIDI file"));
}

Result CProject::SaveBuildInfo(const std::string& path, const CProjectModified& map) {
    CArchiveWriter ar;
    map.Serialize(ar);
    return WithPath(path, WriteFileAtomically(path, ar.Data()));
}

Result CProject::LoadBuildInfo(const std::string& path, CProjectModified& map) {
    map.clear();
    std::vector<uint8_t> bytes;
    Result r = ReadWholeFile(path, bytes, kMaxBuildInfoFile);
    if (!r)
        return WithPath(path, r);
    try {
        CArchiveReader ar(bytes);
        map.Serialize(ar);
    } catch (const ArchiveError& e) {
        map.clear();
        return WithPath(path, Result::Fail(std::string("damaged file: ") + e.what()));
    }
    return Result::Ok();
}
