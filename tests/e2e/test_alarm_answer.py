"""An alarm a user can answer: its days, once, label, volume and fade-in, the ringing window with
ｽﾇｰｽﾞ and 停止, and the snooze, on the suite's pinned local time (`alarm_time`)."""

from __future__ import annotations

import re

import pytest

from sound_trace import SOUND_FILE, alarm, sent_mci
from support_clock import wait_for

# winmm's trace of the program's own volume: both channels in one word.
WAVE_VOLUME = re.compile(r":trace:winmm:waveOutSetVolume \(\S+, (?P<v>[0-9A-Fa-f]{8})\)")


def wave_volumes(clock) -> list:
    """Each waveOutSetVolume as a percentage of full (the left channel)."""
    return [round((int(m.group("v"), 16) & 0xFFFF) * 100 / 0xFFFF)
            for m in map(WAVE_VOLUME.search, clock.trace_lines()) if m]


def mp3_volumes(clock) -> list:
    return [int(c.rsplit(" ", 1)[1]) for c in sent_mci(clock)
            if c.startswith("setaudio MP3Play volume to ")]


@pytest.mark.parametrize("kind", ["wav", "mp3"])
def test_a_ten_second_fade_rises_from_silence_to_the_set_volume(app, sounds, alarm_time, kind):
    ini = alarm(0, alarm_time.at, SOUND_FILE, sounds["wav" if kind == "wav" else "short mp3"])
    ini.update({"Sound_Volume_0": 60, "Sound_FadeIn_0": 10})
    clock = app.start(ini=ini, trace=True, local_clock=alarm_time.local)
    alarm_time.ring(20)
    levels, full = (wave_volumes, 60) if kind == "wav" else (mp3_volumes, 600)
    wait_for(lambda: full in levels(clock), 20, "the fade never reached its volume", clock)
    seen = levels(clock)
    # From silence, rising step by step over the ten seconds, never past the volume, and done.
    assert seen[0] == 0 and seen[-1] == full, seen
    assert seen == sorted(seen) and len(set(seen)) >= 10, seen
    clock.key("Escape")
    alarm_time.assert_within_minute()
