#!/usr/bin/env python3
"""Synthesise the game's sounds into data/sounds/.

Eight short effects of game events and the about window's looping music
"Herzeleid4bit.wav", all 16-bit PCM mono at 22050 Hz with their peaks at about
-3 dBFS.  Everything is made from band-limited sine, triangle and pulse waves
with envelopes, plus a little echo; the only randomness is a fixed-seed noise
generator, so every run writes the same bytes.  Standard library only.

Run it from anywhere and commit its output:

    python3 tools/generators/gen_sounds.py
"""

import math
import struct
import wave
from pathlib import Path

RATE = 22050
PEAK = 10 ** (-3 / 20)
OUT = Path(__file__).resolve().parents[2] / "data" / "sounds"
TABLE_SIZE = 2048
NOTE_STEPS = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}


def frequency(name):
    """Equal-tempered frequency of a note such as "A4", "C#5" or "Bb3"."""
    step = NOTE_STEPS[name[0]]
    rest = name[1:]
    if rest[0] in "#b":
        step += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 440.0 * 2 ** ((step + 12 * (int(rest) - 4)) / 12)


_tables = {}


def wave_table(shape, freq, brightness):
    """One period of a wave, its harmonics kept below both Nyquist and brightness Hz,
    so that high notes do not alias and soft voices stay soft."""
    top = int(min(RATE / 2 - 500, brightness) // freq)
    key = (shape, max(top, 1))
    if key in _tables:
        return _tables[key]
    if shape == "sine":
        partials = [(1, 1.0)]
    elif shape == "triangle":
        partials = [(n, (-1) ** ((n - 1) // 2) / n**2) for n in range(1, top + 1, 2)]
    else:  # a pulse of duty "pulse25" = 25 %, "pulse50" = 50 %
        duty = int(shape[5:]) / 100
        partials = [(n, math.sin(math.pi * n * duty) / n) for n in range(1, top + 1)]
    table = [
        sum(a * math.sin(2 * math.pi * n * i / TABLE_SIZE) for n, a in partials)
        for i in range(TABLE_SIZE)
    ]
    peak = max(abs(v) for v in table) or 1.0
    _tables[key] = [v / peak for v in table]
    return _tables[key]


def envelope(t, gate, attack, decay, sustain, release):
    """Linear attack, exponential fall to the sustain level, linear release after the gate."""

    def held(u):
        if u < attack:
            return u / attack
        return sustain + (1 - sustain) * math.exp(-(u - attack) / decay)

    if t < gate:
        return held(t)
    fall = (t - gate) / release
    return held(gate) * (1 - fall) if fall < 1 else 0.0


def tone(buf, start, gate, freq, shape="sine", amp=0.5, attack=0.005, decay=0.2,
         sustain=0.6, release=0.05, brightness=6000, vibrato=0.0, pitch=None):
    """Mixes one note into buf from start seconds; it sounds for gate seconds and then
    dies away over release seconds. pitch(t) is an optional frequency factor (glides)."""
    table = wave_table(shape, freq, brightness)
    first = int(round(start * RATE))
    count = int((gate + release) * RATE)
    phase = 0.0
    for i in range(count):
        if first + i >= len(buf):
            break
        t = i / RATE
        factor = pitch(t) if pitch else 1.0
        if vibrato and t > 0.15:
            factor *= 1 + vibrato * math.sin(2 * math.pi * 5.5 * t)
        pos = phase * TABLE_SIZE
        k = int(pos)
        frac = pos - k
        sample = table[k % TABLE_SIZE] * (1 - frac) + table[(k + 1) % TABLE_SIZE] * frac
        buf[first + i] += amp * envelope(t, gate, attack, decay, sustain, release) * sample
        phase = (phase + freq * factor / RATE) % 1.0


def bell(buf, start, freq, amp, decay):
    """A chime: a few sine partials, the upper ones dying sooner."""
    for ratio, level, speed in [(1.0, 1.0, 1.0), (2.0, 0.35, 1.6), (3.0, 0.12, 2.4),
                                (4.16, 0.06, 3.5)]:
        tone(buf, start, decay * 4, freq * ratio, amp=amp * level, attack=0.002,
             decay=decay / speed, sustain=0.0, release=0.01)


class Noise:
    """A fixed-seed linear congruential generator: white noise in -1..1."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x3FFFFFFF - 1.0


def echo(buf, taps):
    """Adds delayed copies (delay in seconds, gain) of the dry signal."""
    dry = list(buf)
    for delay, gain in taps:
        shift = int(delay * RATE)
        for i in range(shift, len(buf)):
            buf[i] += gain * dry[i - shift]


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def finish(buf, fade_in=0.001, fade_out=0.005):
    """Fades the first and last few milliseconds, so the file starts and ends exactly on
    zero, and normalises to the common peak."""
    first, last = int(fade_in * RATE), int(fade_out * RATE)
    for i in range(first):
        buf[i] *= i / first
    for i in range(last):
        buf[-1 - i] *= i / last
    peak = max(abs(v) for v in buf)
    return [v * PEAK / peak for v in buf]


def write(name, buf):
    OUT.mkdir(parents=True, exist_ok=True)
    frames = struct.pack("<%dh" % len(buf), *(int(round(v * 32767)) for v in buf))
    with wave.open(str(OUT / (name + ".wav")), "wb") as f:
        f.setnchannels(1)
        f.setsampwidth(2)
        f.setframerate(RATE)
        f.writeframes(frames)


# --- The effects -------------------------------------------------------------------------


def click(freq, seconds, seed):
    """A soft tick: a sine blip falling a little in pitch over a breath of noise."""
    buf = silence(seconds)
    tone(buf, 0, seconds, freq, amp=0.8, attack=0.0008, decay=seconds / 5, sustain=0.0,
         release=0.001, pitch=lambda t: 1 - 0.25 * t / seconds)
    noise = Noise(seed)
    for i in range(int(0.004 * RATE)):
        buf[i] += 0.15 * noise.next() * (1 - i / (0.004 * RATE))
    return buf


def apply_chime():
    buf = silence(0.7)
    for k, name in enumerate(["G5", "C6", "E6"]):
        bell(buf, 0.11 * k, frequency(name), 0.45, 0.16)
    return buf


def winner():
    buf = silence(1.2)
    for k, name in enumerate(["C5", "E5", "G5"]):
        tone(buf, 0.1 * k, 0.09, frequency(name), "pulse25", amp=0.3, decay=0.1,
             release=0.03, brightness=4000)
    for name in ["C5", "E5", "G5", "C6"]:
        tone(buf, 0.3, 0.6, frequency(name), "pulse25", amp=0.18, decay=0.3, sustain=0.5,
             release=0.28, brightness=4000, vibrato=0.004)
    tone(buf, 0.3, 0.6, frequency("C3"), "triangle", amp=0.35, decay=0.3, release=0.28)
    echo(buf, [(0.037, 0.15), (0.061, 0.08)])
    return buf


def loser():
    buf = silence(1.2)
    start = 0.0
    for name, length in [("G4", 0.2), ("F#4", 0.2), ("F4", 0.2), ("E4", 0.5)]:
        tone(buf, start, length, frequency(name), "triangle", amp=0.5, attack=0.02,
             decay=0.25, sustain=0.7, release=0.06, brightness=2500,
             vibrato=0.012 if length > 0.3 else 0.0)
        tone(buf, start, length, frequency(name) / 2, "pulse50", amp=0.08, attack=0.02,
             decay=0.25, sustain=0.7, release=0.06, brightness=1200)
        start += length + 0.02
    return buf


def question():
    buf = silence(0.4)
    tone(buf, 0, 0.12, frequency("A4"), "triangle", amp=0.5, attack=0.01, decay=0.1,
         release=0.04, brightness=3000)
    tone(buf, 0.15, 0.17, frequency("E5"), "triangle", amp=0.5, attack=0.01, decay=0.15,
         release=0.06, brightness=3000, pitch=lambda t: 0.94 + 0.06 * min(1.0, t / 0.05)
         + 0.03 * max(0.0, t - 0.1))
    return buf


def send():
    """A whoosh of noise through a band-pass swept upwards, with a faint blip."""
    seconds = 0.3
    buf = silence(seconds)
    noise = Noise(2000)
    low = band = 0.0
    for i in range(len(buf)):
        t = i / RATE
        centre = 400 + 2200 * t / seconds
        f = 2 * math.sin(math.pi * centre / RATE)
        high = noise.next() - low - 0.5 * band
        band += f * high
        low += f * band
        buf[i] = 0.6 * band * math.sin(math.pi * t / seconds) ** 2
    tone(buf, 0.05, 0.15, 600, amp=0.12, attack=0.02, decay=0.1, sustain=0.3, release=0.05,
         pitch=lambda t: 1 + 1.5 * t / 0.2)
    return buf


# --- The about window's music ------------------------------------------------------------

BEAT = 0.6  # 100 beats a minute; a beat is a whole number of samples (13230)
BARS = [  # chord (bass root, chord tones) and the melody (note, beats); None is a rest
    ("A2", ["A3", "C4", "E4"], [("E5", 1), ("A4", .5), ("B4", .5), ("C5", 1), ("E5", 1)]),
    ("F2", ["F3", "A3", "C4"], [("F5", 1.5), ("E5", .5), ("D5", 1), ("C5", 1)]),
    ("C3", ["C4", "E4", "G4"], [("E5", 1), ("G5", 1), ("E5", .5), ("D5", .5), ("C5", 1)]),
    ("G2", ["G3", "B3", "D4"], [("D5", 2), ("B4", 1), ("G4", 1)]),
    ("A2", ["A3", "C4", "E4"], [("A4", .5), ("C5", .5), ("E5", 1), ("A5", 1.5), ("G5", .5)]),
    ("F2", ["F3", "A3", "C4"], [("F5", 1), ("E5", .5), ("D5", .5), ("C5", 1), ("A4", 1)]),
    ("E2", ["E3", "G#3", "B3"], [("B4", 1), ("G#4", .5), ("B4", .5), ("E5", 1), ("D5", 1)]),
    ("A2", ["A3", "C4", "E4"], [("C5", 1), ("B4", .5), ("G#4", .5), ("A4", 1), (None, 1)]),
]
ECHO = [(0.75 * BEAT, 0.25), (0.031, 0.12), (0.047, 0.08)]


def melody(buf, start, notes):
    for name, beats in notes:
        if name:
            tone(buf, start, beats * BEAT * 0.88, frequency(name), "pulse25", amp=0.26,
                 decay=0.35, sustain=0.55, release=0.07, brightness=3500, vibrato=0.003)
        start += beats * BEAT


def accompaniment(buf, start, root, chord, beats):
    """Bass on every beat (root and its octave in turn), a sixteenth-note arpeggio over the
    chord and a soft sustained chord beneath."""
    for b in range(beats):
        octave = 2 if b % 2 else 1
        tone(buf, start + b * BEAT, BEAT * 0.8, frequency(root) * octave, "triangle",
             amp=0.3, decay=0.2, sustain=0.5, release=0.06, brightness=2000)
    pattern = chord + [chord[0][:-1] + str(int(chord[0][-1]) + 1)]
    for s in range(beats * 4):
        tone(buf, start + s * BEAT / 4, BEAT / 4 * 0.6, frequency(pattern[s % 4]) * 2,
             "triangle", amp=0.09, attack=0.003, decay=0.06, sustain=0.3, release=0.03,
             brightness=5000)
    for name in chord:
        tone(buf, start, beats * BEAT - 0.35, frequency(name), "sine", amp=0.06, attack=0.15,
             decay=1.0, sustain=0.7, release=0.3)


def herzeleid():
    """Eight bars that loop seamlessly: the last bar rests on its fourth beat, long enough
    for every note and echo to die away, so the loop closes on silence and the tempo runs
    on unbroken; the file begins on zero as every note starts from zero."""
    buf = silence(len(BARS) * 4 * BEAT)
    for bar, (root, chord, notes) in enumerate(BARS):
        start = bar * 4 * BEAT
        last = bar == len(BARS) - 1
        accompaniment(buf, start, root, chord, 3 if last else 4)
        melody(buf, start, notes)
    echo(buf, ECHO)
    return buf


SOUNDS = {
    "click1": lambda: click(1500, 0.045, 11),
    "click2": lambda: click(900, 0.06, 12),
    "click3": lambda: click(2300, 0.035, 13),
    "apply": apply_chime,
    "winner": winner,
    "loser": loser,
    "question": question,
    "send": send,
    "Herzeleid4bit": herzeleid,
}


def main():
    for name, make in SOUNDS.items():
        write(name, finish(make()))
        print("wrote", OUT / (name + ".wav"))


if __name__ == "__main__":
    main()
