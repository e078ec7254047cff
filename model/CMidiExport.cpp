// MIDI export: a format-1 Standard MIDI File at 480 ticks per quarter note with a conductor
// track for tempos and time signatures and one track per unmuted track of the song. Every
// event sits one whole note later than in the song, so each track has room to send its
// set-up controllers before the music starts.

#include "model/CProject.h"
#include "model/FileIO.h"
#include "model/TextCodec.h"
#include "model/internal/CMidiWriter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr uint16_t kDivision = 480;
constexpr int64_t kLeadIn = 1920;
constexpr int kRhythmChannel = 9; // MIDI channel 10, left to drums
constexpr int kChannels = 16;
constexpr int kTopKey = 119; // MIDI key of project key 0

void WriteHeader(CMidiWriter& w, size_t trackCount) {
    w.Text("MThd");
    w.U32(6);
    w.U16(1);
    w.U16(static_cast<uint16_t>(trackCount));
    w.U16(kDivision);
}

uint32_t MicrosecondsPerQuarter(double tempo) {
    const double u = std::trunc(60000000.0 / tempo);
    if (!(u >= 1))
        return 1;
    return u >= 4294967295.0 ? 0xFFFFFFFF : static_cast<uint32_t>(u);
}

// Three bytes, the length the format defines and every reader expects (this program's
// import skips shorter tempo events as damaged); four only for a tempo below 3.6 quarter
// notes per minute, whose value three bytes cannot hold.
void WriteTempo(CMidiWriter& w, double tempo) {
    const uint32_t u = MicrosecondsPerQuarter(tempo);
    int count = 3;
    while (count < 4 && (u >> (8 * count)) != 0)
        ++count;
    w.U8(0xFF);
    w.U8(0x51);
    w.U8(static_cast<uint8_t>(count));
    for (int i = count - 1; i >= 0; --i)
        w.U8(static_cast<uint8_t>(u >> (8 * i)));
}

// The denominator is stored as a power of two; a base beat that is none is rounded down.
void WriteTimeSignature(CMidiWriter& w, int32_t beat, int32_t baseBeat) {
    uint8_t exponent = 0;
    while (exponent < 30 && (int64_t{1} << (exponent + 1)) <= baseBeat)
        ++exponent;
    const uint8_t header[] = {0xFF, 0x58, 0x04};
    for (uint8_t b : header)
        w.U8(b);
    w.U8(static_cast<uint8_t>(std::clamp(beat, 1, 255)));
    w.U8(exponent);
    w.U8(0x18); // MIDI clocks per metronome click
    w.U8(0x08); // 32nd notes per quarter note
}

void WriteConductorTrack(CMidiWriter& w, const CProjectData& data) {
    w.BeginTrack();
    w.At(0);
    w.U8(0xFF); // empty track name
    w.U8(0x03);
    w.U8(0x00);
    w.At(0);
    WriteTempo(w, 120.0);
    w.At(0);
    WriteTimeSignature(w, 4, 4);
    const CTempoList& tempos = data.tempos;
    const CBeats& beats = data.beats;
    constexpr int64_t kNone = std::numeric_limits<int64_t>::max();
    size_t t = 0, b = 0;
    while (t < tempos.size() || b < beats.size()) {
        const int64_t tempoTick = t < tempos.size() ? tempos[t].position + kLeadIn : kNone;
        const int64_t beatTick =
            b < beats.size() ? beats.MeasureToTick(beats[b].measure) + kLeadIn : kNone;
        if (tempoTick <= beatTick) {
            w.At(tempoTick);
            WriteTempo(w, tempos[t++].tempo);
        } else {
            w.At(beatTick);
            WriteTimeSignature(w, beats[b].beat, beats[b].baseBeat);
            ++b;
        }
    }
    w.EndTrack();
}

// Channel of the next exported track; `counter` advances past muted tracks as well.
int NextChannel(int& counter) {
    int channel = counter;
    if (counter == kRhythmChannel)
        channel = kRhythmChannel + 1;
    else if (counter >= kChannels)
        channel = 0;
    counter = channel + 1;
    return channel;
}

void Control(CMidiWriter& w, int64_t tick, int channel, uint8_t controller, uint8_t value) {
    w.At(tick);
    w.U8(static_cast<uint8_t>(0xB0 | channel));
    w.U8(controller);
    w.U8(value);
}

// Track name and the set-up events, which end at tick 720.
void WriteSetup(CMidiWriter& w, int channel, const std::string& name) {
    const std::string ansi = Cp932FromUtf8(name);
    w.At(0);
    w.U8(0xFF);
    w.U8(0x03);
    w.VarLen(static_cast<uint32_t>(ansi.size()));
    w.Text(ansi);
    Control(w, 480, channel, 0x00, 0x00); // bank select, most significant part
    Control(w, 540, channel, 0x20, 0x00); // bank select, least significant part
    w.At(600);
    w.U8(static_cast<uint8_t>(0xC0 | channel)); // program 0
    w.U8(0x00);
    Control(w, 660, channel, 0x07, 100); // channel volume
    Control(w, 720, channel, 0x0B, 127); // expression
}

struct NOTE_EVENT {
    int64_t tick;
    uint8_t key;
    uint8_t velocity;
};

// Velocity 0 would read as a note-off and lose the note, so the quietest notes get 1.
uint8_t Velocity(int32_t volume) {
    return static_cast<uint8_t>(std::clamp<int64_t>(int64_t{volume} * 127 / 255, 1, 127));
}

// Notes whose key leaves the MIDI range after transposition are left out: a clamped key
// would sound a wrong pitch and pile several notes onto one key.
void WriteNotes(CMidiWriter& w, const CTrack& track, int channel, int32_t transpose) {
    std::vector<NOTE_EVENT> ons, offs;
    track.ForEachNote([&](const CNote* n) {
        const int64_t key = int64_t{kTopKey} + transpose - n->key;
        if (key < 0 || key > 127)
            return;
        const int64_t start = n->position + kLeadIn;
        ons.push_back({start, static_cast<uint8_t>(key), Velocity(n->volume)});
        offs.push_back({start + n->length, static_cast<uint8_t>(key), 0});
    });
    auto byTick = [](const NOTE_EVENT& a, const NOTE_EVENT& b) { return a.tick < b.tick; };
    std::stable_sort(ons.begin(), ons.end(), byTick);
    std::stable_sort(offs.begin(), offs.end(), byTick);
    // A note ending where another starts is switched off first, so that a repeated key is
    // struck again rather than swallowed.
    size_t on = 0, off = 0;
    while (on < ons.size() || off < offs.size()) {
        const bool takeOff =
            off < offs.size() && (on == ons.size() || offs[off].tick <= ons[on].tick);
        const NOTE_EVENT& e = takeOff ? offs[off++] : ons[on++];
        w.At(e.tick);
        w.U8(static_cast<uint8_t>((takeOff ? 0x80 : 0x90) | channel));
        w.U8(e.key);
        w.U8(e.velocity);
    }
}

} // namespace

std::vector<uint8_t> CProject::ExportMidiToBytes() const {
    const auto exported = static_cast<size_t>(std::count_if(
        tracks.begin(), tracks.end(), [](const CTrack& t) { return !t.settings.mute; }));
    CMidiWriter w;
    WriteHeader(w, exported + 1);
    WriteConductorTrack(w, data);
    int counter = 0;
    for (const CTrack& track : tracks) {
        if (track.settings.mute) {
            ++counter;
            continue;
        }
        const int channel = NextChannel(counter);
        w.BeginTrack();
        WriteSetup(w, channel, track.settings.name);
        WriteNotes(w, track, channel, data.transpose);
        w.EndTrack();
    }
    return w.Take();
}

Result CProject::ExportMidi(const std::string& path) const {
    Result r = WriteFileAtomically(path, ExportMidiToBytes());
    if (!r)
        r.message = path + ": " + r.message;
    return r;
}
