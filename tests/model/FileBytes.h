#pragma once
// Assembles project-file bytes field by field, independently of the model's writer, so
// that tests state the expected layout themselves.

#include <array>
#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class FileBytes {
public:
    FileBytes& u8(uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    FileBytes& u16(uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
    FileBytes& i16(int16_t v) { return u16(static_cast<uint16_t>(v)); }
    FileBytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    FileBytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    FileBytes& u64(uint64_t v) { return u32(static_cast<uint32_t>(v)).u32(v >> 32); }
    FileBytes& f64(double v) { return u64(std::bit_cast<uint64_t>(v)); }
    FileBytes& raw(std::initializer_list<uint8_t> list) {
        bytes.insert(bytes.end(), list);
        return *this;
    }
    FileBytes& raw(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    // A current text line: UTF-16LE units, then 0x000A.
    FileBytes& line16(const std::u16string& text) {
        for (char16_t unit : text)
            u16(unit);
        return u16(0x000A);
    }
    // A text line of files before 1.9: code-page bytes, then 0x0A.
    FileBytes& line8(const std::string& codePageBytes) { return raw(codePageBytes).u8(0x0A); }

    // "Tesselaphon Project", a zero byte and the version word.
    FileBytes& header(uint32_t version) {
        return raw(std::string("Tesselaphon Project", 20)).u32(version);
    }

    // A note record (25 bytes).
    FileBytes& note(int32_t position, int32_t length, int32_t keyoff, uint8_t key, uint16_t volume,
                    int32_t portamentoStart = 0, int32_t portamentoLength = 0,
                    int16_t portamentoLevel = 0) {
        return i32(position)
            .i32(length)
            .i32(keyoff)
            .u8(key)
            .u16(volume)
            .i32(portamentoStart)
            .i32(portamentoLength)
            .i16(portamentoLevel);
    }
    FileBytes& endBucket() { return i32(-1); }
    FileBytes& endNotes() { return i32(-2); }

    // An LFO record with the given values.
    FileBytes& lfo(uint8_t waveform, uint8_t invert, int32_t delay, int32_t fade, int32_t period,
                   int32_t depth) {
        return u8(waveform).u8(invert).i32(delay).i32(fade).i32(period).i32(depth);
    }
    FileBytes& defaultLfo() { return lfo(1, 0, 0, 0, 0, 0); }

    FileBytes& append(const FileBytes& other) {
        bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end());
        return *this;
    }

    std::vector<uint8_t> bytes;
};

// The fields of a current (1.9) project data record, with a new song's values, so that a
// test can change the few it is about.
struct SongFields {
    std::u16string name;
    std::vector<std::pair<int32_t, int32_t>> volumes{{0, 128}};
    std::vector<std::pair<int32_t, double>> tempos{{0, 120.0}};
    int16_t transpose = 0;
    std::vector<std::array<int32_t, 3>> beats{{0, 4, 4}};
    uint8_t loopEnabled = 0;
    int32_t loopStart = 0;
    int32_t loopEnd = 0;
    uint8_t channels = 2;
    uint32_t samplesPerSec = 44100;
    uint8_t bitsPerSample = 16;

    FileBytes Bytes() const {
        FileBytes b;
        b.line16(name).u32(static_cast<uint32_t>(volumes.size()));
        for (auto [position, volume] : volumes)
            b.i32(position).i32(volume);
        b.u32(static_cast<uint32_t>(tempos.size()));
        for (auto [position, tempo] : tempos)
            b.i32(position).f64(tempo);
        b.i16(transpose).u32(static_cast<uint32_t>(beats.size()));
        for (auto [measure, beat, baseBeat] : beats)
            b.i32(measure).i32(beat).i32(baseBeat);
        b.u8(loopEnabled).i32(loopStart).i32(loopEnd);
        // channels, rate, bits, lead-in, lead-out, fade, fade shape, click reduction
        b.u8(channels)
            .u32(samplesPerSec)
            .u8(bitsPerSample)
            .u16(1000)
            .u16(2000)
            .u32(0)
            .u32(0)
            .u32(1);
        return b;
    }
};

// The settings record of a default square-wave track in the current layout.
inline FileBytes DefaultTrackSettings(const std::u16string& name, uint32_t noteColor) {
    FileBytes b;
    // name, useNoteColor, noteColor, waveform, invert, pseudoWave, duty, volume, pan, detune
    b.line16(name).u8(0).u32(noteColor).u8(0).u8(0).u16(0).i16(0).u16(128).i16(0).i16(0);
    // envelope: curve, delay, attack, decay, sustain, release, attack level, sustain level,
    // level, key scaling
    for (int32_t v : {0, 0, 0, 0, -1, 0, 0, 255, 255, 0})
        b.i32(v);
    return b.defaultLfo().defaultLfo().u32(0); // pitch LFO, amplitude LFO, mute
}

// A whole current file: header, project data, track count and the given track records.
inline std::vector<uint8_t> CurrentFile(const SongFields& song,
                                        const std::vector<FileBytes>& tracks,
                                        uint32_t version = 0x0901) {
    FileBytes b;
    b.header(version).append(song.Bytes()).u32(static_cast<uint32_t>(tracks.size()));
    for (const FileBytes& t : tracks)
        b.append(t);
    return b.bytes;
}
