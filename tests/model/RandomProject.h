#pragma once
// Random but valid songs for round-trip tests and fuzz seeds. Every value fits the width
// its field has in the file, and only the sound source a track plays carries non-default
// settings (the file keeps the record of that source only).

#include "model/CProject.h"

#include <random>
#include <string>

class RandomSong {
public:
    explicit RandomSong(uint32_t seed) : rng(seed) {}

    CProject Make(int trackCount, int notesPerTrack) {
        CProject p;
        p.Reset();
        p.tracks.clear();
        FillData(p.data);
        for (int i = 0; i < trackCount; ++i) {
            CTrack& t = p.tracks.emplace_back();
            FillTrackData(t.settings);
            for (int k = 0; k < notesPerTrack; ++k)
                t.AddNote(Note());
        }
        return p;
    }

    CNote Note(int32_t maxPosition = 1920 * 64) {
        CNote n;
        n.position = Int(0, maxPosition);
        n.length = Chance(10) ? Int(1, 1920 * 5) : Int(1, 960);
        n.keyoff = Int(-100, n.length);
        n.key = Int(0, 95);
        n.volume = Int(0, 255);
        if (Chance(3)) {
            n.portamentoStart = Int(-480, 960);
            n.portamentoLength = Int(0, 960);
            n.portamentoLevel = Int(-32768, 32767);
        }
        return n;
    }

    int32_t Int(int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(rng);
    }
    bool Chance(int oneIn) { return Int(0, oneIn - 1) == 0; }

    // Texts without line breaks: ASCII, kana, kanji and characters outside the BMP.
    std::string Text(int maxLength) {
        static const char* const pieces[] = {"a",  "Z",  "7",  " ",  "_",  "ト", "ラ",
                                             "ッ", "ク", "音", "楽", "～", "♪",  "\xF0\x9F\x8E\xB5",
                                             "é"};
        std::string s;
        for (int i = Int(0, maxLength); i > 0; --i)
            s += pieces[Int(0, static_cast<int32_t>(std::size(pieces)) - 1)];
        return s;
    }

private:
    void FillData(CProjectData& d) {
        d.name = Text(12);
        std::vector<VOLUME> volumes{{0, Int(0, 255)}};
        std::vector<TEMPO> tempos{{0, Int(100, 10000) / 10.0}};
        std::vector<BEAT> beats{{0, Int(1, 64), 1 << Int(1, 5)}};
        for (int i = Int(0, 5); i > 0; --i)
            volumes.push_back({volumes.back().position + Int(1, 4000), Int(0, 255)});
        for (int i = Int(0, 5); i > 0; --i)
            tempos.push_back({tempos.back().position + Int(1, 4000), Int(100, 10000) / 10.0});
        for (int i = Int(0, 3); i > 0; --i)
            beats.push_back({beats.back().measure + Int(1, 8), Int(1, 64), 1 << Int(1, 5)});
        d.volumes.Assign(volumes);
        d.tempos.Assign(tempos);
        d.beats.Assign(beats);
        d.transpose = Int(-100, 100);
        d.loopEnabled = Int(0, 1);
        d.loopStart = Int(0, 5000);
        d.loopEnd = d.loopStart + Int(1, 5000);
        d.channels = Int(1, 2);
        d.samplesPerSec = Int(1000, 384000);
        d.bitsPerSample = 8 << Int(0, 3);
        d.startDummy = Int(0, 10000);
        d.endDummy = Int(0, 10000);
        d.fadeOut = Int(0, 100000);
        d.fadeOutType = Int(0, 2);
        d.reductionPuchiNoise = Int(0, 1);
    }

    void FillEnvelope(CEnvelope& e) {
        e.curve = Int(0, 2);
        e.delay = Int(-10000, 10000);
        e.attack = Int(0, 10000);
        e.decay = Int(0, 10000);
        e.sustain = Int(-1, 100000);
        e.release = Int(-1, 10000);
        e.attackLevel = Int(0, 255);
        e.sustainLevel = Int(0, 255);
        e.level = Int(0, 255);
        e.keyScaling = Int(0, 16);
    }

    void FillLfo(CLFO& l, int32_t maxDepth) {
        l.waveform = Int(0, 3);
        l.invert = Int(0, 1);
        l.delay = Int(-10000, 10000);
        l.fade = Int(0, 10000);
        l.period = Int(0, 10000);
        l.depth = Int(0, maxDepth);
    }

    void FillSource(CTrackData& s) {
        if (s.waveform == kPcm) {
            s.pcm.fileName = Chance(2) ? "/samples/" + Text(6) + ".wav" : "音\\" + Text(6) + ".mp3";
            s.pcm.baseKey = Int(0, 95);
            s.pcm.loopStart = Int(0, 100000);
            s.pcm.loopEnd = Int(0, 100000);
            s.pcm.loopCount = Int(0, 10);
            s.pcm.loopUnit = Int(0, 1);
        } else if (s.waveform == kWaveMemory) {
            const int32_t count = 32 << Int(0, 2);
            s.waveMemory.SetSize(count, count / 2);
            for (int32_t& v : s.waveMemory.samples)
                v = Int(-count / 4, count / 4);
        } else if (s.waveform == kFm) {
            s.fm.algorithm = Int(0, 7);
            for (CFMOperator& o : s.fm.operators) {
                FillEnvelope(o.envelope);
                FillLfo(o.pitchLFO, 3072);
                FillLfo(o.ampLFO, 255);
                o.feedback = Int(0, 7);
                o.multiple = Int(0, 64) / 4.0;
                o.detune = Int(-256, 256);
            }
        }
    }

    void FillTrackData(CTrackData& s) {
        s.name = Text(10);
        s.useNoteColor = Int(0, 1);
        s.noteColor = static_cast<uint32_t>(Int(0, 0xFFFFFF));
        s.waveform = Int(0, 7);
        s.invert = Int(0, 1);
        s.pseudoWave = Int(0, 256);
        s.duty = Int(-256, 256);
        s.volume = Int(0, 1023);
        s.pan = Int(-255, 255);
        s.detune = Int(-256, 256);
        FillSource(s);
        FillEnvelope(s.envelope);
        FillLfo(s.pitchLFO, 3072);
        FillLfo(s.ampLFO, 255);
        s.mute = Int(0, 1);
    }

    std::mt19937 rng;
};
