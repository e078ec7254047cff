#!/usr/bin/env python3
"""Writes the factory presets: one JSON file per preset, one folder per category.

Each file holds a track's whole sound in the form `tsq --dump` writes for a track, less
its "name", "mute" and "notes", exactly as the program saves a preset. The files are
committed; run this script again after changing it:

    python3 presets/factory/make_factory_presets.py

Levels: a preset played at volume 255 on any key from 24 to 84 stays within full scale
(the factory-library test renders every one of them). The envelope's overall level
("level", 96 dB over 0..255) leaves the room that tremolo, the stepped "pseudoWave" and
the summed carriers of an FM voice need; "volume" is the level a preset starts at in a
mix.
"""

import json
import math
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))

SQUARE, TRIANGLE, SAWTOOTH, SINE, NOISE, PCM, WAVE, FM = range(8)
# LFO waveforms.
L_SQUARE, L_TRIANGLE, L_SAWTOOTH, L_SINE = range(4)


def rgb(r, g, b):
    return r | g << 8 | b << 16


def gain_level(gain):
    """The envelope level (96 dB over 0..255) at or just below a linear gain."""
    return math.floor(255 * (1 + math.log10(gain) / 4.8))


def env(attack=0, decay=0, sustain=-1, release=0, attack_level=0, sustain_level=255,
        level=255, key_scaling=0, curve=0, delay=0):
    return {"curve": curve, "delay": delay, "attack": attack, "decay": decay,
            "sustain": sustain, "release": release, "attackLevel": attack_level,
            "sustainLevel": sustain_level, "level": level, "keyScaling": key_scaling}


def lfo(waveform=L_TRIANGLE, period=0, depth=0, delay=0, fade=0, invert=0):
    return {"waveform": waveform, "invert": invert, "delay": delay, "fade": fade,
            "period": period, "depth": depth}


def vibrato(period=170, depth=30, delay=280, fade=250):
    return lfo(L_SINE, period, depth, delay, fade)


def op(multiple=1.0, level=255, attack=0, decay=0, sustain=-1, release=0, sustain_level=255,
       feedback=0, detune=0, key_scaling=0, curve=0, pitch=None, amp=None):
    return {"envelope": env(attack, decay, sustain, release, 0, sustain_level, level,
                            key_scaling, curve),
            "pitchLFO": pitch or lfo(), "ampLFO": amp or lfo(),
            "feedback": feedback, "multiple": float(multiple), "detune": detune}


def pcm(file_name="", base_key=59):
    return {"fileName": file_name, "baseKey": base_key, "loopStart": 0, "loopEnd": 0,
            "loopCount": 1, "loopUnit": 0}


def wave_table(count, height, harmonics):
    """One cycle of `count` samples from {harmonic: amplitude} (sines), scaled so that its
    peak is full scale (height / 2)."""
    raw = [sum(a * math.sin(2 * math.pi * k * i / count) for k, a in harmonics.items())
           for i in range(count)]
    peak = max(abs(v) for v in raw)
    return {"height": height, "samples": [round(v / peak * (height // 2)) for v in raw]}


DEFAULT_WAVE = {"height": 16, "samples": [0] * 32}


def sound(colour, waveform, volume, envelope, duty=0, pseudo=0, pan=0, detune=0, pitch=None,
          amp=None, sample=None, wave=None, algorithm=0, operators=None):
    return {"useNoteColor": 1, "noteColor": colour, "waveform": waveform, "invert": 0,
            "pseudoWave": pseudo, "duty": duty, "volume": volume, "pan": pan,
            "detune": detune, "envelope": envelope, "pitchLFO": pitch or lfo(),
            "ampLFO": amp or lfo(), "pcm": sample or pcm(), "waveMemory": wave or DEFAULT_WAVE,
            "fm": {"algorithm": algorithm, "operators": operators or [op()] * 4}}


# ---- the presets ----

LEAD = rgb(255, 140, 40)
BASS = rgb(60, 110, 230)
DRUM = rgb(170, 150, 120)
WAVEMEM = rgb(70, 190, 100)
FMC = rgb(170, 90, 220)
PCMC = rgb(220, 70, 70)
SFX = rgb(230, 200, 40)
PAD = rgb(60, 180, 190)

# Stepped waves reach (n + 1) / (n - 1) of full scale where their input is exactly 1.
PSEUDO8_LEVEL = gain_level(7 / 9)
PSEUDO16_LEVEL = gain_level(15 / 17)

LEADS = {
    "矩形波リード 12.5%": sound(LEAD, SQUARE, 150, env(2, 150, -1, 90, sustain_level=190),
                           duty=-192, pitch=vibrato()),
    "矩形波リード 25%": sound(LEAD, SQUARE, 150, env(2, 180, -1, 100, sustain_level=200),
                         duty=-128, pitch=vibrato(depth=34)),
    "矩形波リード 50%": sound(LEAD, SQUARE, 140, env(3, 220, -1, 120, sustain_level=210),
                         pitch=vibrato(180, 30, 300)),
    "矩形波アルペジオ 12.5%": sound(LEAD, SQUARE, 150,
                             env(0, 90, 250, 40, sustain_level=110), duty=-192),
    "ビブラートリード 25%": sound(LEAD, SQUARE, 150, env(10, 300, -1, 150, sustain_level=220),
                           duty=-128, pitch=vibrato(130, 60, 120, 150)),
    "矩形波ブラス 50%": sound(LEAD, SQUARE, 150,
                         env(45, 250, -1, 90, attack_level=60, sustain_level=190, level=250),
                         amp=lfo(L_SINE, 140, 30, 300, 200)),
    "三角波フルート": sound(LEAD, TRIANGLE, 190, env(60, 200, -1, 120, sustain_level=220,
                                                  level=252),
                         pitch=vibrato(190, 22, 350, 300), amp=lfo(L_SINE, 190, 18, 350, 300)),
    "正弦波ホイッスル": sound(LEAD, SINE, 180, env(30, 100, -1, 150, sustain_level=230),
                          pitch=vibrato(150, 40, 200, 200)),
    "ノコギリ波リード": sound(LEAD, SAWTOOTH, 140, env(3, 250, -1, 110, sustain_level=200),
                          pitch=vibrato()),
    "擬似波リード": sound(LEAD, SINE, 170, env(5, 200, -1, 100, sustain_level=200,
                                            level=PSEUDO8_LEVEL),
                        pseudo=8, pitch=vibrato(160, 30)),
}

BASSES = {
    "矩形波ベース 12.5%": sound(BASS, SQUARE, 150, env(1, 160, -1, 40, sustain_level=170),
                           duty=-192),
    "矩形波ベース 25%": sound(BASS, SQUARE, 150, env(1, 120, -1, 40, sustain_level=180),
                         duty=-128),
    "矩形波ベース 50%": sound(BASS, SQUARE, 150, env(2, 200, -1, 50, sustain_level=200)),
    "三角波ベース": sound(BASS, TRIANGLE, 220, env(1, 0, -1, 30)),
    "三角波ベース（短）": sound(BASS, TRIANGLE, 220, env(1, 180, 200, 20, sustain_level=60)),
    "4ビット三角波ベース": sound(BASS, TRIANGLE, 220, env(1, 0, -1, 30, level=PSEUDO16_LEVEL),
                           pseudo=16),
    "ノコギリ波ベース": sound(BASS, SAWTOOTH, 150, env(1, 250, -1, 50, sustain_level=150,
                                                    curve=2)),
    "正弦波サブベース": sound(BASS, SINE, 220, env(5, 0, -1, 60)),
}


def drum(colour, waveform, volume, decay, release=0, curve=2, **more):
    return sound(colour, waveform, volume,
                 env(more.pop("attack", 0), decay, 0, release, sustain_level=0, curve=curve,
                     level=more.pop("level", 255)),
                 **more)


def fall(period, depth):
    """A pitch that falls from +depth through 0 to -depth over one period."""
    return lfo(L_SAWTOOTH, period, depth)


DRUMS = {
    "ノイズキック": drum(DRUM, NOISE, 230, 140, pitch=fall(300, 3072)),
    "三角波キック": drum(DRUM, TRIANGLE, 255, 160, pitch=fall(200, 3072)),
    "スネア": drum(DRUM, NOISE, 170, 180, pitch=fall(400, 1536)),
    "クローズドハイハット": drum(DRUM, NOISE, 110, 50),
    "オープンハイハット": drum(DRUM, NOISE, 100, 380, release=60),
    "ペダルハイハット": drum(DRUM, NOISE, 100, 35, attack=4),
    "クラッシュシンバル": drum(DRUM, NOISE, 100, 1800, pitch=lfo(L_TRIANGLE, 350, 200)),
    "ライドシンバル": sound(DRUM, NOISE, 90,
                         env(0, 60, 900, 200, sustain_level=110, level=gain_level(256 / 326)),
                         amp=lfo(L_SQUARE, 28, 70)),
    "クラップ": drum(DRUM, NOISE, 230, 260, level=gain_level(256 / 456) - 1,
                  amp=lfo(L_SAWTOOTH, 30, 200)),
    "ノイズタム": drum(DRUM, NOISE, 200, 300, pitch=fall(500, 2048)),
    "三角波タム": drum(DRUM, TRIANGLE, 240, 280, pitch=fall(400, 1024)),
}

WAVES = {
    "オルガン": sound(WAVEMEM, WAVE, 150, env(6, 0, -1, 70, level=gain_level(256 / 272)),
                  amp=lfo(L_SINE, 150, 16),
                  wave=wave_table(64, 32, {1: 1.0, 2: 0.8, 3: 0.6, 4: 0.5, 6: 0.35, 8: 0.3})),
    "パイプオルガン": sound(WAVEMEM, WAVE, 150, env(50, 0, -1, 200),
                     wave=wave_table(128, 64, {1: 1.0, 2: 0.7, 3: 0.2, 4: 0.5, 8: 0.35})),
    "ベル": sound(WAVEMEM, WAVE, 170, env(0, 1200, 0, 400, sustain_level=0, key_scaling=6,
                                       curve=2),
                wave=wave_table(64, 32, {1: 1.0, 2: 0.5, 3: 0.7, 5: 0.4, 7: 0.3})),
    "ベース": sound(WAVEMEM, WAVE, 170, env(1, 300, -1, 40, sustain_level=180),
                 wave=wave_table(32, 16, {k: 1 / k ** 2 for k in range(1, 9)})),
    "声「あ」": sound(WAVEMEM, WAVE, 160, env(60, 150, -1, 150, sustain_level=220),
                  pitch=vibrato(180, 30, 250, 300),
                  wave=wave_table(128, 64, {1: 0.6, 2: 0.3, 3: 0.7, 4: 1.0, 5: 0.6, 6: 0.55,
                                            7: 0.45, 8: 0.15, 9: 0.08})),
    "声「う」": sound(WAVEMEM, WAVE, 170, env(70, 150, -1, 150, sustain_level=220),
                  pitch=vibrato(180, 30, 250, 300),
                  wave=wave_table(128, 64, {1: 1.0, 2: 0.6, 3: 0.3, 4: 0.35, 5: 0.1})),
    "ハープ": sound(WAVEMEM, WAVE, 180, env(0, 900, 0, 300, sustain_level=0, key_scaling=4,
                                        curve=2),
                 wave=wave_table(64, 32, {1: 1.0, 2: 0.5, 3: 0.35, 4: 0.25, 5: 0.18, 6: 0.12})),
    "ストリングス": sound(WAVEMEM, WAVE, 140, env(250, 0, -1, 400),
                     pitch=vibrato(160, 20, 200, 400),
                     wave=wave_table(128, 64, {k: 1 / k for k in range(1, 17)})),
}

# FM operators O1..O4 and the algorithms that connect them:
#   0 O4(O3(O2(O1)))      1 O4(O3(O1 + O2))     2 O4(O3(O2) + O1)    3 O4(O2(O1) + O3)
#   4 O2(O1) + O4(O3)     5 O2(a) + O3(a) + O4(a) with a = O1
#   6 O2(O1) + O3 + O4    7 O1 + O2 + O3 + O4
# A modulator's output, times 8π, is its carrier's phase deviation, so modulators sit far
# below full level (level 180 is about 1 radian, 200 about 2.3).


def fm(volume, algorithm, operators, release=150, attack=0, pitch=None, amp=None):
    return sound(FMC, FM, volume, env(attack, 0, -1, release), algorithm=algorithm,
                 operators=operators, pitch=pitch, amp=amp)


def gate(level, attack=0, release=100, **more):
    """An operator that holds its level while the key is down."""
    return op(level=level, attack=attack, release=release, **more)


def struck(level, decay, release=150, **more):
    """An operator that dies away over `decay` ms."""
    return op(level=level, decay=decay, sustain=0, sustain_level=0, release=release, **more)


FMS = {
    "FMシンセベース": fm(220, 0, [
        op(1, 170, feedback=5), struck(195, 300, multiple=1), struck(205, 200, multiple=1),
        op(1, 245, decay=600, sustain_level=170, release=60)], release=60),
    "FMシンセリード": fm(200, 0, [
        op(2, 160, feedback=3), op(1, 180), op(1, 200), gate(245, 5, 120)],
        pitch=vibrato(170, 28)),
    "FMブラス": fm(200, 1, [
        op(1, 190, 60, 200, -1, 100, 150, feedback=4), op(1, 170, detune=6),
        op(1, 205, 70, 300, -1, 100, 180), op(1, 245, 40, 300, -1, 120, 210)], release=120),
    "FMストリングス": fm(220, 1, [
        op(1, 175, detune=5), op(2, 165, detune=-5), op(1, 190),
        gate(240, 300, 500)], release=500, pitch=vibrato(190, 18, 300, 500)),
    "FMクラビ": fm(210, 2, [
        struck(190, 150, feedback=2, multiple=3), struck(170, 100, multiple=5),
        op(1, 200, decay=200, sustain_level=60), struck(245, 400, 60)], release=60),
    "FMギター": fm(200, 2, [
        op(1, 185, decay=300, sustain_level=40, feedback=6), struck(175, 200, multiple=3),
        op(1, 198, decay=500, sustain_level=40), struck(245, 1500, 150)]),
    "FMフィンガーベース": fm(220, 3, [
        op(1, 170, decay=200, feedback=4), op(1, 190, decay=300, sustain_level=60),
        struck(185, 100), op(1, 245, decay=900, sustain=1500, release=60, sustain_level=120)],
        release=60),
    "FMオーボエ": fm(230, 3, [
        op(3, 175), op(1, 200, 30), op(2, 190), gate(240, 40, 120)],
        release=120, pitch=vibrato(170, 24, 300, 300)),
    "FMエレピ": fm(180, 4, [
        struck(195, 900, 200, key_scaling=4), struck(240, 2500, 250, key_scaling=3),
        struck(185, 120, 80, multiple=14), struck(228, 1200, 200, detune=4)], release=250),
    "FMビブラフォン": fm(190, 4, [
        struck(180, 400, 300, multiple=4), struck(238, 3000, 600, amp=lfo(L_SINE, 170, 60)),
        struck(170, 600), struck(215, 700, 200, multiple=4)], release=600),
    "FMベル": fm(200, 5, [
        struck(205, 1500, 1000, multiple=3.5), struck(232, 3000, 1200),
        struck(215, 2000, 800, multiple=2), struck(205, 900, 500, multiple=5.4)], release=1200),
    "FMブラスセクション": fm(180, 5, [
        op(1, 195, 50, feedback=3), gate(230, 40, 120), gate(230, 45, 120, detune=4),
        gate(200, 60, 120, multiple=2)], release=120, attack=20),
    "FMマリンバ": fm(210, 6, [
        struck(190, 60, multiple=3), struck(240, 500, 200), struck(205, 150, multiple=4),
        struck(185, 50, multiple=10)], release=200),
    "FMストリングスパッド": fm(180, 6, [
        op(1, 180, detune=-4), gate(232, 250, 500), gate(222, 300, 500, detune=6),
        gate(210, 350, 500, multiple=2, detune=-6)], release=500,
        pitch=vibrato(200, 16, 400, 600)),
    "FMオルガン": fm(230, 7, [
        gate(225, 5, 60, multiple=0.5, feedback=2), gate(230, 5, 60), gate(218, 5, 60, multiple=2),
        gate(205, 5, 60, multiple=4)], release=60),
    "FMパーカッション": fm(220, 7, [
        struck(225, 120, feedback=7), struck(215, 80, multiple=3.3),
        struck(205, 50, multiple=6.7), struck(222, 200, multiple=0.5)], release=100),
}


def kit_piece(file_name, volume):
    return sound(PCMC, PCM, volume, env(0, 0, -1, 30), sample=pcm(file_name))


# The samples are written at build time by make_example_sample (examples/).
PCM_KIT = {
    "PCMキック": kit_piece("kick.wav", 230),
    "PCMスネア": kit_piece("snare.wav", 190),
    "PCMクローズドハイハット": kit_piece("closed-hat.wav", 170),
    "PCMオープンハイハット": kit_piece("open-hat.wav", 150),
    "PCMクラップ": kit_piece("clap.wav", 170),
    "PCMタム": kit_piece("tom.wav", 200),
    "PCMクラッシュ": kit_piece("crash.wav", 140),
}

EFFECTS = {
    "コイン": sound(SFX, SQUARE, 130, env(0, 0, 600, 0),
                 pitch=lfo(L_SQUARE, 4000, 1280, 70)),
    "レーザー": sound(SFX, SQUARE, 130, env(0, 250, 0, 0, sustain_level=0), duty=-128,
                  pitch=fall(180, 3072)),
    "ジャンプ": sound(SFX, SQUARE, 130, env(0, 200, 150, 0, sustain_level=120),
                  pitch=lfo(L_SAWTOOTH, 500, 1536, invert=1)),
    "爆発": drum(SFX, NOISE, 220, 900, pitch=fall(1500, 2000)),
    "パワーアップ": sound(SFX, TRIANGLE, 200, env(0, 0, -1, 0, level=gain_level(256 / 406)),
                     pitch=lfo(L_SAWTOOTH, 700, 3072, invert=1),
                     amp=lfo(L_SQUARE, 50, 150)),
    "サイレン": sound(SFX, SINE, 170, env(0, 0, -1, 50),
                  pitch=lfo(L_TRIANGLE, 900, 1536)),
}

PADS = {
    "ノコギリ波パッド": sound(PAD, SAWTOOTH, 80, env(500, 600, -1, 700, sustain_level=200,
                                                   level=gain_level(256 / 286)),
                          pitch=lfo(L_SINE, 220, 12), amp=lfo(L_SINE, 900, 30)),
    "矩形波パッド 12.5%": sound(PAD, SQUARE, 60, env(350, 0, -1, 600), duty=-192,
                           pitch=vibrato(240, 14, 400, 600)),
    "正弦波パッド": sound(PAD, SINE, 70, env(700, 0, -1, 900, level=gain_level(256 / 296)),
                     amp=lfo(L_TRIANGLE, 400, 40)),
}

CATEGORIES = {
    "リード": LEADS,
    "ベース": BASSES,
    "ドラム": DRUMS,
    "波形メモリ": WAVES,
    "FM": FMS,
    "PCMドラム": PCM_KIT,
    "効果音": EFFECTS,
    "パッド": PADS,
}


# ---- writing, in the layout the program writes ----

def scalar(value):
    return json.dumps(value, ensure_ascii=False)


def text(value, indent=0):
    pad = " " * (indent + 2)
    if isinstance(value, dict):
        items = [pad + scalar(k) + ": " + text(v, indent + 2) for k, v in value.items()]
        return "{\n" + ",\n".join(items) + "\n" + " " * indent + "}"
    if isinstance(value, list) and value and any(isinstance(v, (dict, list)) for v in value):
        items = [pad + text(v, indent + 2) for v in value]
        return "[\n" + ",\n".join(items) + "\n" + " " * indent + "]"
    if isinstance(value, list):
        return "[" + ", ".join(scalar(v) for v in value) + "]"
    return scalar(value)


def main():
    for category in os.listdir(HERE):
        if os.path.isdir(os.path.join(HERE, category)):
            shutil.rmtree(os.path.join(HERE, category))
    for category, presets in CATEGORIES.items():
        folder = os.path.join(HERE, category)
        os.makedirs(folder)
        for name, preset in presets.items():
            with open(os.path.join(folder, name + ".json"), "w", encoding="utf-8") as f:
                f.write(text(preset) + "\n")
    print(sum(len(p) for p in CATEGORIES.values()), "presets")


if __name__ == "__main__":
    main()
