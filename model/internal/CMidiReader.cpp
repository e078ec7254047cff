#include "model/internal/CMidiReader.h"

#include "model/ArchiveError.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

// Absolute file ticks stop growing here: past the last project tick at every division, and
// far from overflowing when multiplied by 1920.
constexpr int64_t kMaxFileTick = int64_t{1} << 40;
constexpr int kVolumeController = 7;
constexpr int kExpressionController = 11;
constexpr int kMaxDataValue = 127;
constexpr int kLowestMidiKey = 24;   // C1, project key 95
constexpr int kHighestMidiKey = 119; // B8, project key 0
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaTimeSignature = 0x58;
constexpr size_t kTempoBytes = 3;
constexpr size_t kTimeSignatureBytes = 4;
// Denominators beyond 2^6 (64th notes) would make measures shorter than the beat list can
// hold and shift out of range for damaged values.
constexpr uint8_t kMaxDenominatorExponent = 6;
// The editor keeps every tempo inside the range its tempo dialog offers.
constexpr double kMinTempo = 10.0;
constexpr double kMaxTempo = 1000.0;

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

CMidiReader::CMidiReader(const CTempoList& songTempos, const CBeats& beats) {
    for (auto& keys : noteStart)
        keys.fill(-1);
    for (auto& keys : velocity)
        keys.fill(kMaxDataValue);
    expression.fill(kMaxDataValue);
    firstVolume.fill(-1);
    for (const TEMPO& t : songTempos)
        tempos[t.position] = t.tempo;
    songBeats = beats.Items();
    if (songBeats.empty())
        songBeats.push_back(BEAT{});
}

std::vector<TEMPO> CMidiReader::Tempos() const {
    std::vector<TEMPO> list;
    list.reserve(tempos.size());
    for (const auto& [tick, tempo] : tempos)
        list.push_back({tick, tempo});
    return list;
}

Result CMidiReader::Read(std::span<const uint8_t> bytes) {
    data = bytes;
    position = 0;
    try {
        const uint16_t chunks = ReadHeader();
        for (uint16_t i = 0; i < chunks; ++i)
            ReadChunk(i);
    } catch (const ArchiveError& e) {
        return Result::Fail(e.what());
    }
    std::stable_sort(signatures.begin(), signatures.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return Result::Ok();
}

uint8_t CMidiReader::U8() {
    return Take(1)[0];
}

uint32_t CMidiReader::BigEndian(size_t count) {
    uint32_t value = 0;
    for (uint8_t b : Take(count))
        value = value << 8 | b;
    return value;
}

// At most four bytes (28 bits), as the format defines; a longer run is damage.
uint32_t CMidiReader::VarLen() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const uint8_t b = U8();
        value = value << 7 | (b & 0x7F);
        if ((b & 0x80) == 0)
            return value;
    }
    throw ArchiveError("MIDI variable-length number longer than four bytes at byte " +
                       std::to_string(position));
}

std::span<const uint8_t> CMidiReader::Take(size_t count) {
    if (count > data.size() - position)
        throw ArchiveError("MIDI data ends inside a chunk or an event (byte " +
                           std::to_string(position) + ")");
    auto taken = data.subspan(position, count);
    position += count;
    return taken;
}

// Returns the number of chunks the header announces.
uint16_t CMidiReader::ReadHeader() {
    if (data.size() < 4 || std::memcmp(data.data(), "MThd", 4) != 0)
        throw ArchiveError("not a MIDI file");
    position = 4;
    const uint32_t length = BigEndian(4);
    if (length < 6)
        throw ArchiveError("MIDI header too short");
    BigEndian(2); // the format: every format is read the same way
    const auto chunks = static_cast<uint16_t>(BigEndian(2));
    division = BigEndian(2);
    if (division == 0)
        throw ArchiveError("MIDI time division is 0");
    if ((division & 0x8000) != 0)
        throw ArchiveError("MIDI time division in SMPTE frames is not supported");
    Take(length - 6);
    return chunks;
}

// Every chunk the header announces must be there: a file that ends before one of them has
// lost that track's notes, and importing the rest would pass a damaged song off as whole.
void CMidiReader::ReadChunk(uint16_t index) {
    if (AtEnd())
        throw ArchiveError("MIDI file ends before chunk " + std::to_string(index + 1) +
                           " of those its header announces");
    const auto type = Take(4);
    const uint32_t length = BigEndian(4);
    if (std::memcmp(type.data(), "MTrk", 4) != 0)
        Take(length);
    else
        ReadTrack(uint64_t{position} + length);
}

// Events run until the end-of-track event, whatever the chunk length says (writers that got
// the length wrong are common). A chunk without that event is closed when the data ends at
// or after the chunk's declared end; data ending before it is a cut-off file.
void CMidiReader::ReadTrack(uint64_t declaredEnd) {
    int64_t tick = 0;
    for (;;) {
        if (AtEnd()) {
            if (position >= declaredEnd)
                return;
            throw ArchiveError("MIDI data ends inside a track (byte " + std::to_string(position) +
                               ")");
        }
        tick = std::min(tick + VarLen(), kMaxFileTick);
        if (ReadEvent(tick))
            return;
    }
}

// True at the end-of-track event. A data byte where a status belongs repeats the last status
// of any kind, so after a meta or system-exclusive event it starts another one of those.
bool CMidiReader::ReadEvent(int64_t tick) {
    uint8_t status = U8();
    if (status < 0x80) {
        --position;
        status = runningStatus;
        if (status == 0)
            throw ArchiveError("MIDI data byte without a status (byte " + std::to_string(position) +
                               ")");
    }
    runningStatus = status;
    if (status < 0xF0)
        ReadChannelMessage(status, tick);
    else if (status == 0xFF)
        return ReadMetaEvent(tick);
    else
        ReadSystemMessage(status);
    return false;
}

void CMidiReader::ReadChannelMessage(uint8_t status, int64_t tick) {
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80: {
        const int key = U8();
        U8();
        NoteOff(channel, key, tick);
        break;
    }
    case 0x90: {
        const int key = U8();
        const int level = U8();
        if (level == 0)
            NoteOff(channel, key, tick);
        else
            NoteOn(channel, key, level, tick);
        break;
    }
    case 0xB0: {
        const int controller = U8();
        const int value = U8();
        ControlChange(channel, controller, value);
        break;
    }
    case 0xC0:
    case 0xD0:
        Take(1);
        break;
    default: // 0xA0 key pressure, 0xE0 pitch bend
        Take(2);
        break;
    }
}

void CMidiReader::ReadSystemMessage(uint8_t status) {
    switch (status) {
    case 0xF0:
    // 0xF7 carries a length and data like 0xF0 (a continued or escaped message); reading
    // that length as a delta time would turn the data into events.
    case 0xF7:
        Take(VarLen());
        break;
    case 0xF1:
    case 0xF3:
        Take(1);
        break;
    case 0xF2:
        Take(2);
        break;
    default: // the other system status bytes carry no data
        break;
    }
}

bool CMidiReader::ReadMetaEvent(int64_t tick) {
    const uint8_t type = U8();
    const auto payload = Take(VarLen());
    switch (type) {
    case kMetaTempo:
        SetTempo(payload, tick);
        break;
    case kMetaTimeSignature:
        SetTimeSignature(payload, tick);
        break;
    case kMetaEndOfTrack:
        return true;
    default:
        break;
    }
    return false;
}

// A key byte with the top bit set is damage; no key can be held for it.
void CMidiReader::NoteOn(int channel, int key, int level, int64_t tick) {
    if (key >= kKeys)
        return;
    int64_t& start = noteStart[static_cast<size_t>(channel)][static_cast<size_t>(key)];
    if (start >= 0)
        return;
    start = tick;
    velocity[static_cast<size_t>(channel)][static_cast<size_t>(key)] =
        static_cast<uint8_t>(std::min(level, kMaxDataValue));
}

void CMidiReader::NoteOff(int channel, int key, int64_t tick) {
    if (key >= kKeys)
        return;
    const auto c = static_cast<size_t>(channel);
    int64_t& start = noteStart[c][static_cast<size_t>(key)];
    if (start < 0)
        return;
    if (key >= kLowestMidiKey && key <= kHighestMidiKey) {
        MIDI_NOTE note;
        note.position = ProjectTicks(start);
        note.length = ProjectTicks(tick - start);
        note.key = kHighestMidiKey - key;
        note.volume = expression[c] * velocity[c][static_cast<size_t>(key)] * 255 /
                      (kMaxDataValue * kMaxDataValue);
        notes[c].push_back(note);
    }
    start = -1;
}

void CMidiReader::ControlChange(int channel, int controller, int value) {
    const auto c = static_cast<size_t>(channel);
    value = std::min(value, kMaxDataValue);
    if (controller == kVolumeController && firstVolume[c] < 0)
        firstVolume[c] = value;
    else if (controller == kExpressionController)
        expression[c] = value;
}

// The value takes three bytes; a shorter payload is damage, not a tempo (read as a number it
// would be a few microseconds, the fastest tempo there is).
void CMidiReader::SetTempo(std::span<const uint8_t> payload, int64_t tick) {
    if (payload.size() < kTempoBytes || payload.size() > 4)
        return;
    uint32_t microseconds = 0;
    for (uint8_t b : payload)
        microseconds = microseconds << 8 | b;
    if (microseconds == 0)
        return;
    const double rounded = std::floor(60000000.0 / microseconds * 1000 + 0.5) / 1000;
    tempos[ProjectTicks(tick)] = std::clamp(rounded, kMinTempo, kMaxTempo);
}

void CMidiReader::SetTimeSignature(std::span<const uint8_t> payload, int64_t tick) {
    if (payload.size() < kTimeSignatureBytes)
        return;
    const int numerator = payload[0];
    const int exponent = payload[1];
    if (numerator == 0 || exponent > kMaxDenominatorExponent)
        return;
    signatures.push_back({ProjectTicks(tick), BEAT{0, numerator, 1 << exponent}});
}

// t × 1920 / division / 4 with both divisions truncating, as the editor has always
// converted; in 64 bits, so that far ticks saturate instead of wrapping.
int32_t CMidiReader::ProjectTicks(int64_t fileTicks) const {
    return Saturate(fileTicks * 1920 / division / 4);
}

// Time signatures go in tick order (file order among equal ticks), each into the measure
// that contains its tick under the signatures before it, replacing an element of that
// measure; the song's own elements keep their measures. Taking them in file order instead
// would let a signature from a later chunk move every measure an earlier chunk had placed
// after it. Since the ticks only grow, the element in force is always the last one placed,
// and one pass merges the signatures with the song's elements.
std::vector<BEAT> CMidiReader::Beats() const {
    std::vector<BEAT> list{songBeats.front()};
    int64_t lastStart = 0; // first tick of list.back()
    auto startOf = [&](int32_t measure) {
        return lastStart +
               int64_t{list.back().MeasureLength()} * (int64_t{measure} - list.back().measure);
    };
    size_t next = 1; // the song's next element
    auto placeSongElement = [&] {
        lastStart = startOf(songBeats[next].measure);
        list.push_back(songBeats[next++]);
    };
    for (const auto& [tick, signature] : signatures) {
        while (next < songBeats.size() && startOf(songBeats[next].measure) <= tick)
            placeSongElement();
        const int64_t length = std::max<int64_t>(list.back().MeasureLength(), 1);
        BEAT element = signature;
        element.measure = Saturate(list.back().measure + (tick - lastStart) / length);
        if (element.measure != list.back().measure) {
            lastStart = startOf(element.measure);
            list.push_back(element);
        } else {
            list.back() = element;
        }
    }
    while (next < songBeats.size())
        placeSongElement();
    return list;
}
