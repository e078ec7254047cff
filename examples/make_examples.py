#!/usr/bin/env python3
"""Writes the example songs as JSON in the shape of `tsq --dump`.

    demo.json   the song a new user hears first: 26 bars in C major at 140 BPM, an intro,
                a looped body (verse, chorus, verse) and a two-bar ending.
    bench.json  three dense minutes on eight tracks, one per sound source, for the build
                benchmark.

Both files are committed; run this script again after changing it:

    python3 examples/make_examples.py

The PCM track's file name is the placeholder @TSQ_EXAMPLE_SAMPLE@. The build replaces it
with the absolute path of the sample it generates (a relative name would be looked up in
the user's documents folder) before it converts the JSON into a project.
"""

import json
import math
import os

SAMPLE = "@TSQ_EXAMPLE_SAMPLE@"
QUARTER = 480
EIGHTH = 240
SIXTEENTH = 120
BAR = 1920

PITCH_CLASSES = {"C": 0, "C#": 1, "Db": 1, "D": 2, "D#": 3, "Eb": 3, "E": 4, "F": 5, "F#": 6,
                 "Gb": 6, "G": 7, "G#": 8, "Ab": 8, "A": 9, "A#": 10, "Bb": 10, "B": 11}


def midi(name):
    """'C4' -> 60."""
    pitch, octave = name[:-1], int(name[-1])
    return 12 * (octave + 1) + PITCH_CLASSES[pitch]


def key(name):
    """Key numbers count downward: A4 (440 Hz) is 50, C4 is 59, C1 is 95."""
    return 119 - midi(name)


def key_of_midi(m):
    return 119 - m


def bar(n):
    """Tick at which bar n (counted from 1) starts; 4/4 throughout."""
    return (n - 1) * BAR


# ---------------------------------------------------------------- sound settings

def envelope(attack=0, decay=0, sustain_level=255, sustain=-1, release=0, level=255,
             attack_level=0, curve=0, delay=0, key_scaling=0):
    return {"curve": curve, "delay": delay, "attack": attack, "decay": decay,
            "sustain": sustain, "release": release, "attackLevel": attack_level,
            "sustainLevel": sustain_level, "level": level, "keyScaling": key_scaling}


def lfo(waveform=1, period=0, depth=0, delay=0, fade=0, invert=0):
    return {"waveform": waveform, "invert": invert, "delay": delay, "fade": fade,
            "period": period, "depth": depth}


def operator(multiple=1.0, level=255, feedback=0, detune=0, env=None, pitch_lfo=None,
             amp_lfo=None):
    e = dict(env or envelope())
    e["level"] = level
    return {"envelope": e, "pitchLFO": pitch_lfo or lfo(), "ampLFO": amp_lfo or lfo(),
            "feedback": feedback, "multiple": multiple, "detune": detune}


def track(name, waveform, volume, env, pan=0, duty=0, color=None, pitch_lfo=None,
          amp_lfo=None, detune=0, **extra):
    t = {"name": name, "useNoteColor": 1 if color is not None else 0,
         "noteColor": color if color is not None else 0x0080FF,
         "waveform": waveform, "invert": 0, "pseudoWave": 0, "duty": duty, "volume": volume,
         "pan": pan, "detune": detune, "mute": 0, "envelope": env,
         "pitchLFO": pitch_lfo or lfo(), "ampLFO": amp_lfo or lfo()}
    t.update(extra)
    t["notes"] = []
    return t


def rgb(r, g, b):
    """Colours are stored as 0x00BBGGRR."""
    return r | g << 8 | b << 16


def note(position, length, key_number, volume=255, keyoff=0, porta=(0, 0, 0)):
    keyoff = max(0, min(keyoff, length - 1))
    return [position, length, keyoff, key_number, volume, porta[0], porta[1], porta[2]]


def add_line(t, start, text, unit=EIGHTH, volume=255, keyoff=0, transpose=0, limit=None):
    """Adds a melody written as 'E5:2 G5:1 r:1 B4>D5:4'.

    Each word is pitch:length in `unit`s; 'r' rests; 'X>Y' starts on X and glides up or
    down to Y over the first sixteenth (portamento). Notes are cut at `limit`.
    """
    pos = start
    for word in text.split():
        pitch, length = word.split(":")
        length = int(float(length) * unit)
        if pitch != "r":
            porta = (0, 0, 0)
            if ">" in pitch:
                low, high = pitch.split(">")
                porta = (0, SIXTEENTH, (midi(high) - midi(low)) * 256)
                pitch = low
            end = pos + length if limit is None else min(pos + length, limit)
            if end > pos:
                t["notes"].append(note(pos, end - pos, key_of_midi(midi(pitch) + transpose),
                                       volume, keyoff, porta))
        pos += length
    return pos


# ---------------------------------------------------------------- the demo song

CHORDS = {"C": ["C", "E", "G"], "G": ["G", "B", "D"], "Am": ["A", "C", "E"],
          "F": ["F", "A", "C"], "Em": ["E", "G", "B"], "Dm": ["D", "F", "A"]}
ROOT_MIDI = {"C": midi("C3"), "G": midi("G2"), "Am": midi("A2"), "F": midi("F2"),
             "Em": midi("E2"), "Dm": midi("D3")}

# Bars 1-4 intro, 5-12 verse, 13-20 chorus, 21-24 verse again (5-24 loop), 25-26 ending.
PROGRESSION = (["C", "G", "Am", "F"] +
               ["C", "G", "Am", "F", "C", "G", "F", "G"] +
               ["Am", "F", "C", "G", "Am", "F", "G", "G"] +
               ["C", "G", "F", "G"] +
               ["C", "C"])
LOOP_START = bar(5)
LOOP_END = bar(25)

VERSE = ["E5:2 G5:1 E5:1 C5:2 E5:2",
         "D5:3 B4:1 G4:2 B4:2",
         "A4:1 C5:1 E5:2 A5:3 G5:1",
         "F5:2 E5:1 D5:1 C5:2 A4:2",
         "E5:2 G5:1 E5:1 C6:2 G5:2",
         "B5:1 A5:1 G5:2 D5:2 B4:2",
         "A4:1 C5:1 F5:2 E5:1 D5:1 C5:2",
         "B4>D5:5 r:3"]
CHORUS = ["A4:3 C5:1 E5:2 D5:2",
          "C5:3 A4:1 F4:2 A4:2",
          "G4:2 C5:2 E5:2 G5:2",
          "F5:3 E5:1 D5:4",
          "E5:3 C5:1 A4:2 C5:2",
          "F5:3 E5:1 C5:2 A4:2",
          "B4:2 D5:2 G5:2 F5:2",
          "G5:2 F5:1 E5:1 D5:4"]
VERSE_AGAIN = [VERSE[0], VERSE[1], VERSE[6],
               "D5:2 B4:1 G4:1 A4:1 B4:1 C5:1 D5:1"]


def wave_table():
    """One cycle of 32 steps, height 16: a hollow, slightly nasal tone for the arpeggio."""
    samples = []
    for i in range(32):
        x = 2 * math.pi * i / 32
        v = 0.62 * math.sin(x) + 0.30 * math.sin(3 * x) + 0.18 * math.sin(2 * x + 0.6)
        samples.append(max(-8, min(8, round(v * 8.6))))
    return samples


def demo_tracks():
    lead = track("Lead (square 25%)", 0, 59, duty=-128, color=rgb(255, 96, 96),
                 env=envelope(attack=4, decay=180, sustain_level=185, release=70),
                 pitch_lfo=lfo(3, period=150, depth=34, delay=230, fade=220))
    lead2 = track("Chorus lead (square 50%)", 0, 55, duty=0, color=rgb(255, 160, 64),
                  env=envelope(attack=10, decay=320, sustain_level=170, release=140),
                  pitch_lfo=lfo(3, period=165, depth=42, delay=300, fade=300))
    bass = track("Bass (triangle)", 1, 64, color=rgb(96, 160, 255),
                 env=envelope(attack=2, decay=90, sustain_level=215, release=30))
    arp = track("Arpeggio (wave memory)", 6, 56, pan=-80, color=rgb(96, 220, 140),
                env=envelope(attack=1, decay=110, sustain_level=80, release=40),
                waveMemory={"height": 16, "samples": wave_table()})
    pad = track("Pad (sawtooth)", 2, 30, pan=70, color=rgb(200, 120, 255),
                env=envelope(attack=380, decay=500, sustain_level=205, release=420),
                amp_lfo=lfo(1, period=420, depth=56),
                pitch_lfo=lfo(3, period=900, depth=10))
    echo = track("Echo (sine)", 3, 52, pan=95, color=rgb(255, 220, 120),
                 env=envelope(attack=3, decay=220, sustain_level=120, release=90))
    hat = track("Hi-hat (noise)", 4, 43, pan=35, color=rgb(180, 180, 180),
                env=envelope(decay=42, sustain_level=0, sustain=0))
    snare = track("Snare (noise)", 4, 64, pan=-12, color=rgb(230, 230, 230),
                  env=envelope(decay=175, sustain_level=0, sustain=0))
    kick = track("Kick (PCM)", 5, 133, color=rgb(255, 255, 255), env=envelope(),
                 pcm={"fileName": SAMPLE, "baseKey": key("C4"), "loopStart": 0,
                      "loopEnd": 0, "loopCount": 1, "loopUnit": 0})
    keys = track("Keys (4-op FM)", 7, 36, pan=-35, color=rgb(120, 240, 255), env=envelope(),
                 fm={"algorithm": 4, "operators": [
                     operator(1.0, 186, feedback=2,
                              env=envelope(decay=520, sustain_level=70)),
                     operator(1.0, 255, env=envelope(attack=2, decay=1500, sustain_level=110,
                                                     sustain=4000, release=260)),
                     operator(14.0, 150, env=envelope(decay=70, sustain_level=0, sustain=0)),
                     operator(1.0, 226, detune=6,
                              env=envelope(attack=2, decay=900, sustain_level=80,
                                           sustain=3000, release=260))]})
    return lead, lead2, bass, arp, pad, echo, hat, snare, kick, keys


def write_melodies(lead, lead2, echo):
    for i, line in enumerate(VERSE):
        add_line(lead, bar(5 + i), line, keyoff=40)
    for i, line in enumerate(CHORUS):
        add_line(lead2, bar(13 + i), line, keyoff=30)
    add_line(lead2, bar(12) + 6 * EIGHTH, "E4:1 G4:1", keyoff=30)
    for i, line in enumerate(VERSE_AGAIN):
        add_line(lead, bar(21 + i), line, keyoff=40)
    add_line(lead, bar(25), "E5:2 G5:2 C6:4", keyoff=30)
    add_line(lead, bar(26), "C6:6 r:2", keyoff=120)
    # The echo repeats the verse lead a dotted eighth later, an octave up and softer;
    # it stops at the loop's end so the loop joins without a stray tail.
    for n in list(lead["notes"]):
        start = n[0] + 3 * SIXTEENTH
        limit = LOOP_END if n[0] < LOOP_END else bar(27)
        if start < limit:
            length = min(n[1], limit - start)
            echo["notes"].append(note(start, length, n[3] - 12, 150, 30))


def write_bass(bass):
    for b in range(1, 27):
        chord = PROGRESSION[b - 1]
        root = ROOT_MIDI[chord]
        fifth = root + 7
        start = bar(b)
        if b <= 2:
            continue
        if b in (3, 4):
            pattern = [(root, 2), (root, 2), (root, 2), (root + 12, 1), (root, 1)]
        elif 13 <= b <= 20:
            pattern = [(root, 3), (root, 1), (root + 12, 2), (fifth, 2)]
        elif b == 25:
            pattern = [(root, 2), (root + 12, 2), (root, 4)]
        elif b == 26:
            pattern = [(root - 12, 6)]
        else:
            pattern = [(root, 1), (root + 12, 1), (root, 1), (root + 12, 1),
                       (root, 1), (root + 12, 1), (fifth, 1), (root + 12, 1)]
        pos = start
        for m, length in pattern:
            porta = (0, 0, 0)
            if b == 12 and pos == start + 7 * EIGHTH:
                porta = (0, EIGHTH, 2 * 256)  # slides up into the chorus
            bass["notes"].append(note(pos, length * EIGHTH, key_of_midi(m), 255, 25, porta))
            pos += length * EIGHTH


def write_arpeggio(arp):
    order = [0, 1, 2, 3, 2, 1]
    for b in list(range(1, 13)) + list(range(21, 26)):
        tones = [midi(n + "5") for n in CHORDS[PROGRESSION[b - 1]]]
        tones = sorted(t if t < midi("A5") else t - 12 for t in tones)
        tones.append(tones[0] + 12)
        steps = 16 if b < 25 else 8
        for s in range(steps):
            m = tones[order[s % len(order)]] if b < 25 else tones[3 - s % 4] + 12 * (s < 4)
            volume = 255 if s % 4 == 0 else 190
            arp["notes"].append(note(bar(b) + s * SIXTEENTH, SIXTEENTH, key_of_midi(m),
                                     volume, 20))


def write_pad(pad):
    # A slow swell in the intro, then held chord tones through the chorus.
    for b, names in ((3, ["C4", "E4"]), (4, ["F4", "A4"])):
        for n in names:
            pad["notes"].append(note(bar(b), BAR, key(n), 200, 240))
    for b in range(13, 21):
        tones = CHORDS[PROGRESSION[b - 1]]
        for n in (tones[1] + "4", tones[2] + "4"):
            pad["notes"].append(note(bar(b), BAR, key(n), 220, 200))
    for n in ("C4", "E4", "G4"):
        pad["notes"].append(note(bar(25), 2 * BAR - EIGHTH, key(n), 220, 600))


def write_keys(keys):
    def chord(position, length, name, octave=4, volume=235):
        for n in CHORDS[name]:
            m = midi(n + str(octave))
            if m < midi("E4"):
                m += 12
            keys["notes"].append(note(position, length, key_of_midi(m), volume, 60))

    for b in range(1, 5):
        chord(bar(b), BAR - SIXTEENTH, PROGRESSION[b - 1], volume=200)
    for b in range(13, 21):
        name = PROGRESSION[b - 1]
        for offset, length in ((0, 3), (3, 3), (6, 2)):
            chord(bar(b) + offset * EIGHTH, length * EIGHTH - 30, name)
    chord(bar(25), 2 * BAR - EIGHTH, "C", volume=255)


def write_drums(hat, snare, kick):
    c4 = key("C4")
    for b in range(3, 26):
        start = bar(b)
        fill = b in (4, 12, 20, 24)
        sixteenths = 13 <= b <= 20
        for s in range(16 if sixteenths else 8):
            step = SIXTEENTH if sixteenths else EIGHTH
            accent = 255 if (s * step) % QUARTER == 0 else 170
            if b == 25 and s > 0:
                break
            hat["notes"].append(note(start + s * step, step, key("A7"), accent))
        if b == 3:
            kicks = [0, 2]
        elif b == 25:
            kicks = [0]
        else:
            kicks = [0, 1.5, 2] if b % 2 == 0 else [0, 2, 2.75]
        for k in kicks:
            kick["notes"].append(note(start + int(k * QUARTER), 360, c4, 255))
        if b == 3 or b == 25:
            continue
        beats = [1, 3] if not fill else [1, 2.5, 3, 3.25, 3.5, 3.75]
        for s in beats:
            volume = 255 if s in (1, 3) else min(255, 150 + int((s - 2.5) * 120))
            snare["notes"].append(note(start + int(s * QUARTER), SIXTEENTH * 2,
                                       key("F#6") if s < 3.25 else key("D6"), volume))
    # A long noise wash on the last chord.
    snare["notes"].append(note(bar(25), BAR, key("C6"), 140))


def demo():
    lead, lead2, bass, arp, pad, echo, hat, snare, kick, keys = demo_tracks()
    write_melodies(lead, lead2, echo)
    write_bass(bass)
    write_arpeggio(arp)
    write_pad(pad)
    write_keys(keys)
    write_drums(hat, snare, kick)
    tracks = [lead, lead2, echo, keys, arp, pad, bass, kick, snare, hat]
    for t in tracks:
        t["notes"].sort(key=lambda n: (n[0], n[3]))
    return {"name": "Tesselaphon demo — First Light", "transpose": 0,
            "loopEnabled": 1, "loopStart": LOOP_START, "loopEnd": LOOP_END,
            "channels": 2, "samplesPerSec": 44100, "bitsPerSample": 16,
            "startDummy": 300, "endDummy": 1500, "fadeOut": 0, "fadeOutType": 0,
            "reductionPuchiNoise": 1,
            "volumes": [[0, 160]], "tempos": [[0, 140.0]], "beats": [[0, 4, 4]],
            "tracks": tracks}


# ---------------------------------------------------------------- the benchmark song

class Lcg:
    """A fixed generator, so the benchmark song is the same everywhere."""

    def __init__(self, seed):
        self.state = seed

    def next(self, n):
        self.state = (self.state * 1103515245 + 12345) % (1 << 31)
        return (self.state >> 8) % n


BENCH_PROGRESSION = ["Am", "F", "C", "G", "Dm", "Am", "Em", "G"]
BENCH_TEMPOS = [(0, 150.0), (bar(33), 162.0), (bar(65), 144.0), (bar(81), 156.0)]


def bench_bars():
    """Bars whose start lies within three minutes at the tempos above."""
    seconds, n = 0.0, 0
    while True:
        tempo = [t for at, t in BENCH_TEMPOS if at <= bar(n + 1)][-1]
        seconds += 4 * 60.0 / tempo
        if seconds > 180.0:
            return n
        n += 1


def bench_tracks():
    vibrato = lfo(3, period=140, depth=48, delay=120, fade=150)
    tremolo = lfo(1, period=90, depth=70)
    return [
        track("Square lead", 0, 70, duty=-192,
              env=envelope(attack=3, decay=140, sustain_level=170, release=60),
              pitch_lfo=vibrato),
        track("Triangle bass", 1, 90, env=envelope(attack=2, decay=80, sustain_level=210,
                                                    release=40)),
        track("Saw counter", 2, 40, pan=-90,
              env=envelope(attack=20, decay=200, sustain_level=150, release=120),
              amp_lfo=tremolo),
        track("Sine bells", 3, 70, pan=90, env=envelope(attack=1, decay=400, sustain_level=60,
                                                        sustain=1500, release=200),
              pitch_lfo=lfo(2, period=300, depth=20)),
        track("Noise hats", 4, 50, pan=30, env=envelope(decay=50, sustain_level=0, sustain=0)),
        track("PCM kick", 5, 230, env=envelope(),
              pcm={"fileName": SAMPLE, "baseKey": key("C4"), "loopStart": 0, "loopEnd": 0,
                   "loopCount": 1, "loopUnit": 0}),
        track("Wave memory arp", 6, 60, pan=-40,
              env=envelope(attack=1, decay=100, sustain_level=90, release=30),
              waveMemory={"height": 32, "samples": [
                  max(-16, min(16, round(15 * math.sin(2 * math.pi * i / 64) +
                                          7 * math.sin(6 * math.pi * i / 64))))
                  for i in range(64)]}),
        track("FM brass", 7, 55, pan=20, env=envelope(release=80),
              pitch_lfo=lfo(3, period=180, depth=30, delay=200),
              fm={"algorithm": 1, "operators": [
                  operator(1.0, 200, feedback=5, env=envelope(attack=30, decay=300,
                                                              sustain_level=180)),
                  operator(2.0, 170, feedback=3, env=envelope(decay=200, sustain_level=120),
                           amp_lfo=lfo(3, period=250, depth=40)),
                  operator(1.0, 190, env=envelope(attack=15, decay=500, sustain_level=200),
                           pitch_lfo=lfo(1, period=120, depth=24)),
                  operator(1.0, 255, detune=4, env=envelope(attack=12, decay=600,
                                                            sustain_level=190,
                                                            release=150))]}),
    ]


def bench_bar(tracks, b, rng):
    lead, bass, saw, bells, hats, kick, arp, brass = tracks
    chord = BENCH_PROGRESSION[(b - 1) % len(BENCH_PROGRESSION)]
    tones = [midi(n + "4") for n in CHORDS[chord]]
    root = ROOT_MIDI[chord]
    start = bar(b)
    scale = [midi(n) for n in ("A4", "B4", "C5", "D5", "E5", "F5", "G5", "A5", "C6", "E6")]
    for s in range(16):
        pos = start + s * SIXTEENTH
        hats["notes"].append(note(pos, SIXTEENTH, key("A7") + rng.next(4),
                                  255 if s % 4 == 0 else 150))
        arp["notes"].append(note(pos, SIXTEENTH, key_of_midi(tones[s % 3] + 12 * (s % 4 == 3)),
                                 200, 15))
        if s % 2 == 0:
            m = scale[rng.next(len(scale))]
            porta = (0, 60, (rng.next(5) - 2) * 256) if rng.next(4) == 0 else (0, 0, 0)
            lead["notes"].append(note(pos, EIGHTH, key_of_midi(m), 220, 40, porta))
            bass["notes"].append(note(pos, EIGHTH, key_of_midi(root + 12 * (s % 4 == 2)),
                                      255, 30))
        if s % 4 == 0:
            kick["notes"].append(note(pos, 300, key("C4"), 255))
            saw["notes"].append(note(pos, QUARTER, key_of_midi(tones[rng.next(3)] + 12), 200,
                                     60, (0, 120, 256) if s == 8 else (0, 0, 0)))
        if s % 8 == 0:
            for t in tones:
                brass["notes"].append(note(pos, 2 * QUARTER, key_of_midi(t), 200, 90))
    bells["notes"].append(note(start, BAR, key_of_midi(tones[2] + 24), 200, 240))


def bench():
    tracks = bench_tracks()
    rng = Lcg(20240607)
    bars = bench_bars()
    for b in range(1, bars + 1):
        bench_bar(tracks, b, rng)
    volumes = [[0, 90], [bar(17), 110], [bar(49), 80], [bar(50), 100], [bar(97), 120]]
    return {"name": "Build benchmark", "transpose": 0,
            "loopEnabled": 0, "loopStart": 0, "loopEnd": 0,
            "channels": 2, "samplesPerSec": 44100, "bitsPerSample": 16,
            "startDummy": 1000, "endDummy": 2000, "fadeOut": 4000, "fadeOutType": 1,
            "reductionPuchiNoise": 1,
            "volumes": volumes,
            "tempos": [[at, t] for at, t in BENCH_TEMPOS],
            "beats": [[0, 4, 4]],
            "tracks": tracks}


# ---------------------------------------------------------------- output

def dump(value, indent=0):
    """Objects one key per line, lists of numbers on one line: the layout of --dump."""
    pad = " " * (indent + 2)
    if isinstance(value, dict) and value:
        items = [pad + json.dumps(k) + ": " + dump(v, indent + 2) for k, v in value.items()]
        return "{\n" + ",\n".join(items) + "\n" + " " * indent + "}"
    if isinstance(value, list) and value and any(isinstance(v, (dict, list)) for v in value):
        items = [pad + dump(v, indent + 2) for v in value]
        return "[\n" + ",\n".join(items) + "\n" + " " * indent + "]"
    return json.dumps(value, ensure_ascii=False, separators=(", ", ": "))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, song in (("demo.json", demo()), ("bench.json", bench())):
        with open(os.path.join(here, name), "w", encoding="utf-8") as f:
            f.write(dump(song) + "\n")


if __name__ == "__main__":
    main()
