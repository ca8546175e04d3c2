#!/usr/bin/python3
"""Writes the bells of the hours' strike next to this script, in the way make_chime.py makes
the alarm's chime: struck bell tones from a few inharmonic partials, each fading at its own
rate, from arithmetic alone (ours to license with the program, byte-for-byte reproducible).

* strike_hour.wav: the count, a low bell (A3) ringing for two seconds, the strokes' pace.
* strike_half.wav: the half hour's single stroke, a brighter bell (E4).
* quarter_1..4.wav: the four bells of the quarters (G#4, F#4, E4, B3), short enough for the
  changes' quicker pace, the last note of a change ringing out.
* tick.wav: the pendulum's soft tick, a 40 ms knock of two damped tones, far below the bells.

8000 Hz, 16-bit mono keeps all six near 130 kB; the highest partial stays below 2 kHz.

    /usr/bin/python3 assets/make_strike.py
"""
import math
import os
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
RATE = 8000

# (ratio to the pitch, loudness, decay per second): hum, fundamental, minor third, fifth, octave
# and an upper partial, the high ones dying first.
PARTIALS = [(0.5, 0.25, 1.2), (1.0, 1.00, 1.8), (1.19, 0.30, 2.6), (1.5, 0.22, 3.0),
            (2.0, 0.35, 4.0), (2.76, 0.10, 7.0)]

BELLS = [("strike_hour.wav", 220.00, 2.0), ("strike_half.wav", 329.63, 2.0),
         ("quarter_1.wav", 415.30, 1.4), ("quarter_2.wav", 369.99, 1.4),
         ("quarter_3.wav", 329.63, 1.4), ("quarter_4.wav", 246.94, 1.4)]


def sample(t: float, pitch: float, length: float) -> float:
    attack = min(1.0, t / 0.004)  # a 4 ms onset instead of a click
    total = sum(loud * math.exp(-decay * t) * math.sin(2 * math.pi * pitch * ratio * t)
                for ratio, loud, decay in PARTIALS)
    # The last 150 ms fade to silence: the player stops at the end without a click.
    return total * attack * min(1.0, (length - t) / 0.15)


def write(name: str, pitch: float, length: float) -> None:
    raw = [sample(i / RATE, pitch, length) for i in range(int(RATE * length))]
    peak = max(abs(v) for v in raw)
    scale = 0.7 * 32767 / peak
    frames = b"".join(struct.pack("<h", int(round(v * scale))) for v in raw)
    with wave.open(os.path.join(HERE, name), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def tick(t: float) -> float:
    return (min(1.0, t / 0.001) * math.exp(-120 * t)
            * (math.sin(2 * math.pi * 1800 * t) + 0.6 * math.sin(2 * math.pi * 700 * t)))


def write_tick() -> None:
    raw = [tick(i / RATE) for i in range(int(RATE * 0.04))]
    scale = 0.15 * 32767 / max(abs(v) for v in raw)
    frames = b"".join(struct.pack("<h", int(round(v * scale))) for v in raw)
    with wave.open(os.path.join(HERE, "tick.wav"), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def main() -> None:
    for name, pitch, length in BELLS:
        write(name, pitch, length)
    write_tick()


if __name__ == "__main__":
    main()
