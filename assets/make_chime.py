#!/usr/bin/python3
"""Writes chime.wav next to this script: the clock's own alarm sound, played when an alarm's
chosen sound cannot be.

Two struck bell tones a major third apart (E5, then C5), each a few inharmonic partials that
fade at their own rates, then a short rest so that the sound looped by the player rings as
"ding - dong, ding - dong". 11025 Hz, 16-bit mono keeps it near 30 kB; the partials stay far
below the Nyquist limit. Made here from arithmetic alone, so it is ours to license with the
program; the output is committed and byte-for-byte reproducible.

    /usr/bin/python3 assets/make_chime.py
"""
import math
import os
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
RATE = 11025
LENGTH = 1.5  # seconds, the rest included

# (ratio to the tone's pitch, loudness, decay per second): a bell's hum, fundamental,
# minor third, fifth and upper partials, the high ones dying first.
PARTIALS = [(0.5, 0.20, 2.0), (1.0, 1.00, 2.6), (1.19, 0.30, 3.5), (1.5, 0.22, 4.0),
            (2.0, 0.35, 5.0), (2.76, 0.12, 8.0)]
STRIKES = [(0.00, 659.26, 1.0), (0.42, 523.25, 0.9)]  # (start s, pitch Hz, strength)


def sample(t: float) -> float:
    total = 0.0
    for start, pitch, strength in STRIKES:
        u = t - start
        if u < 0:
            continue
        attack = min(1.0, u / 0.004)  # a 4 ms onset instead of a click
        for ratio, loud, decay in PARTIALS:
            total += (strength * loud * attack * math.exp(-decay * u)
                      * math.sin(2 * math.pi * pitch * ratio * u))
    # The last 80 ms fade to silence so that the loop joins without a click.
    tail = LENGTH - t
    return total * min(1.0, tail / 0.08)


def main() -> None:
    count = int(RATE * LENGTH)
    raw = [sample(i / RATE) for i in range(count)]
    peak = max(abs(v) for v in raw)
    scale = 0.7 * 32767 / peak
    frames = b"".join(struct.pack("<h", int(round(v * scale))) for v in raw)
    with wave.open(os.path.join(HERE, "chime.wav"), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()
