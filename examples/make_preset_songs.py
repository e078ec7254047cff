#!/usr/bin/env python3
"""Writes one short song per category of the factory presets, in which every preset of
the category plays a phrase of its own, one after the other:

    presets-<category>.json   e.g. presets-lead.json for "リード"

Each track is named "category/name" and carries its preset's fields as they stand in
presets/factory/<category>/<name>.json, so a song is the preset heard. The files are
committed; run this script again after changing it or the presets:

    python3 examples/make_preset_songs.py

The PCM kit's samples are generated at build time beside the factory presets; the songs
name them through the placeholder @TSQ_FACTORY_PRESETS@, which the build replaces with
that folder before it converts and renders the songs. The songs are rendered at a low
rate and in mono, so building them stays cheap.
"""

import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
FACTORY = os.path.join(HERE, "..", "presets", "factory")
sys.path.insert(0, FACTORY)
from make_factory_presets import text  # noqa: E402  (the layout the program writes)
SAMPLES = "@TSQ_FACTORY_PRESETS@"

BAR = 1920
EIGHTH = 240
QUARTER = 480

CATEGORIES = [
    ("リード", "lead"),
    ("ベース", "bass"),
    ("ドラム", "drums"),
    ("波形メモリ", "wave-memory"),
    ("FM", "fm"),
    ("PCMドラム", "pcm-drums"),
    ("効果音", "effects"),
    ("パッド", "pads"),
]

# Keys count downward: 59 is C4, 47 C5, 71 C3, 83 C2.
C5, C4, C3, C2 = 47, 59, 71, 83


def note(position, length, key, keyoff=0, volume=255):
    return [position, length, keyoff, key, volume, 0, 0, 0]


def phrase(start, root):
    """Up the major chord in eighths, then the octave held for half a bar."""
    steps = [0, 4, 7, 12, 7, 4]
    notes = [note(start + i * EIGHTH, EIGHTH, root - s, keyoff=40) for i, s in enumerate(steps)]
    notes.append(note(start + 6 * EIGHTH, 2 * EIGHTH + BAR // 2, root - 12, keyoff=240))
    return notes, BAR + BAR // 2


def chord(start, root):
    notes = [note(start, 2 * BAR, root - s, keyoff=720) for s in (0, 4, 7)]
    return notes, 2 * BAR + BAR // 2


def beat(start, key, every, length, count):
    return [note(start + i * every, length, key) for i in range(count)], BAR


# How each preset plays in its song: a melodic phrase from a root, a held chord, or a drum
# beat on the key that suits the drum.
DRUM_PARTS = {
    "ノイズキック": (C2, QUARTER, 300), "三角波キック": (C3, QUARTER, 300),
    "スネア": (50, QUARTER, 300), "クローズドハイハット": (12, EIGHTH, 120),
    "オープンハイハット": (12, QUARTER, 460), "ペダルハイハット": (24, EIGHTH, 120),
    "クラッシュシンバル": (8, BAR, BAR), "ライドシンバル": (16, QUARTER, 460),
    "クラップ": (36, QUARTER, 400), "ノイズタム": (70, QUARTER, 460), "三角波タム": (60, QUARTER, 460),
}
EFFECT_KEYS = {"コイン": 35, "レーザー": 40, "ジャンプ": 52, "爆発": 80, "パワーアップ": 60,
               "サイレン": 50}
ROOTS = {"リード": C5, "ベース": C2, "波形メモリ": C4, "FM": C4, "パッド": C4}


def part(category, name, start):
    if category in ("ドラム", "PCMドラム"):
        if category == "PCMドラム":
            return beat(start, C4, QUARTER, QUARTER, 4)
        key, every, length = DRUM_PARTS[name]
        return beat(start, key, every, length, BAR // every)
    if category == "効果音":
        return [note(start, BAR - QUARTER, EFFECT_KEYS[name])], BAR
    if category == "パッド":
        return chord(start, ROOTS[category])
    root = ROOTS[category]
    if "ベース" in name:
        root = C2
    return phrase(start, root)


def track(category, name, preset, notes):
    fields = dict(preset)
    if fields["pcm"]["fileName"]:
        fields["pcm"] = dict(fields["pcm"],
                             fileName=SAMPLES + "/" + category + "/" + fields["pcm"]["fileName"])
    ordered = {"name": category + "/" + name}
    for k, v in fields.items():
        ordered[k] = v
        if k == "detune":
            ordered["mute"] = 0
    ordered["notes"] = notes
    return ordered


def song(category):
    folder = os.path.join(FACTORY, category)
    tracks = []
    position = 0
    for file_name in sorted(os.listdir(folder)):
        name = file_name[:-len(".json")]
        with open(os.path.join(folder, file_name), encoding="utf-8") as f:
            preset = json.load(f)
        notes, length = part(category, name, position)
        tracks.append(track(category, name, preset, notes))
        position += length
    return {"name": "プリセット: " + category, "channels": 1, "samplesPerSec": 11025,
            "bitsPerSample": 16, "startDummy": 100, "endDummy": 300,
            "reductionPuchiNoise": 1, "volumes": [[0, 220]], "tempos": [[0, 150.0]],
            "beats": [[0, 4, 4]], "tracks": tracks}


def main():
    for category, slug in CATEGORIES:
        with open(os.path.join(HERE, "presets-" + slug + ".json"), "w", encoding="utf-8") as f:
            f.write(text(song(category)) + "\n")


if __name__ == "__main__":
    main()
