#!/usr/bin/env python3
"""Writes the seed corpus of the WAV fuzz targets into tests/data/wav.

Small files that reach every branch of the two readers: each sample layout, chunk orders
the strict reader refuses and the player accepts, odd sizes with and without pad bytes,
loops, and sizes that claim more than the file holds.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, "..", "data", "wav"))


def chunk(cid, body, pad=True):
    data = cid + struct.pack("<I", len(body)) + body
    if pad and len(body) % 2:
        data += b"\0"
    return data


def fmt(tag, channels, rate, bits, size=16):
    align = channels * bits // 8
    rec = struct.pack("<HHIIHHH", tag, channels, rate, rate * align, align, bits, 0)
    return chunk(b"fmt ", rec[:size] + b"\0" * max(0, size - 18))


def smpl(start, end, loops=1):
    body = struct.pack("<9I", 0, 0, 22676, 60, 0, 0, 0, loops, 0)
    body += struct.pack("<6I", 0, 0, start, end, 0, 0) * loops
    return chunk(b"smpl", body)


def riff(*chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def ramp(n, width):
    return b"".join(((i * 37) & ((1 << (8 * width)) - 1)).to_bytes(width, "little")
                    for i in range(n))


FILES = {
    "pcm16-stereo.wav": riff(fmt(1, 2, 8000, 16), chunk(b"data", ramp(16, 2))),
    "pcm8-mono-loop.wav": riff(fmt(1, 1, 1000, 8), chunk(b"data", ramp(40, 1)), smpl(5, 30)),
    "pcm24-fmt18.wav": riff(fmt(1, 1, 11025, 24, 18), chunk(b"data", ramp(12, 1))),
    "float32-list-first.wav": riff(chunk(b"LIST", b"INFOtest"), fmt(3, 1, 22050, 32),
                                   chunk(b"data", ramp(8, 4)), smpl(1, 6, 2)),
    "float64-extensible.wav": riff(fmt(0xFFFE, 2, 48000, 64, 40), chunk(b"data", ramp(4, 8))),
    "odd-data-padded.wav": riff(fmt(1, 1, 1000, 8), chunk(b"data", ramp(7, 1)), smpl(0, 3)),
    "odd-data-unpadded.wav": riff(fmt(1, 1, 1000, 8), chunk(b"data", ramp(7, 1), pad=False),
                                  smpl(2, 5)),
    "data-before-fmt.wav": riff(chunk(b"data", ramp(10, 2)), fmt(1, 1, 1000, 16)),
    "data-too-long.wav": riff(fmt(1, 1, 1000, 16), b"data" + struct.pack("<I", 4096) + ramp(4, 2)),
    "smpl-too-many-loops.wav": riff(fmt(1, 1, 1000, 16), chunk(b"data", ramp(8, 2)),
                                    chunk(b"smpl", struct.pack("<9I", 0, 0, 0, 60, 0, 0, 0,
                                                               1000, 0))),
}

if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    for name, data in FILES.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
