"""What the program did with sound, read back from Wine's +mci/+winmm trace, and the alarm
settings the tests give it, and the local time an alarm scenario runs at. Shared by every
test that rings an alarm.
"""

from __future__ import annotations

import datetime
import math
import re
import time
from pathlib import Path
from typing import List, Optional

from harness import LocalClock, to_windows_path, wine_unescape


CD, SOUND_FILE = 1, 2
SND_ASYNC_LOOP = 9

# One MCI command string as winmm traces it. Wine escapes '"' and '\' and cuts a long string,
# marking the cut with "..." after the closing quote.
MCI_SENT = re.compile(
    r':trace:mci:mciSendStringW \(L"(?P<cmd>(?:[^"\\]|\\.)*)"(?P<cut>\.\.\.)?, ')
# winmm's own traffic: a command naming a device that is not open makes winmm try
# "open <device> wait" by itself first, traced like the program's commands. The program
# never sends the wait flag.
WINE_AUTO_OPEN = re.compile(r"^open \S+ wait$")
PLAY_SOUND_CALL = re.compile(
    r":trace:winmm:MULTIMEDIA_PlaySound pszSound='(?P<name>[0-9A-Fa-f]+)' "
    r"hmod=\S+ fdwSound=(?P<flags>[0-9A-Fa-f]+)")
PLAY_SOUND_NAME = re.compile(r':trace:winmm:proc_PlaySound SoundName=L"(?P<name>(?:[^"\\]|\\.)*)"')

STATUS_MP3 = "status MP3Play mode"


def sent_mci(clock) -> List[str]:
    """The command strings the program sent, in order."""
    commands = []
    for line in clock.trace_lines():
        m = MCI_SENT.search(line)
        if m:
            command = wine_unescape(m.group("cmd"))
            if not WINE_AUTO_OPEN.match(command):
                commands.append(command)
    return commands


def play_sound_calls(clock) -> List[tuple]:
    """(name is null, flags) of every PlaySound call, in order."""
    return [(int(m.group("name"), 16) == 0, int(m.group("flags"), 16))
            for m in map(PLAY_SOUND_CALL.search, clock.trace_lines()) if m]


def played_names(clock) -> List[str]:
    """The sound names that PlaySound went on to play."""
    return [wine_unescape(m.group("name"))
            for m in map(PLAY_SOUND_NAME.search, clock.trace_lines()) if m]


class AlarmTime:
    """The clock's local time in an alarm scenario, pinned to the same time of day whenever
    and wherever the test runs. The program starts two minutes before the alarm's minute
    (`start_at`), and `ring` moves it into that minute once it is up, so neither the hour nor
    how long Wine takes to start decides whether the alarm rings. Local seconds are real
    seconds (offsets are whole minutes): `ring` waits for a fresh minute when the one under
    way has too few seconds left for the scenario, and `assert_within_minute` says whether
    the scenario's steps all happened inside the minute it meant."""

    ALARM = (7, 30)

    def __init__(self, folder: Path):
        self.local = LocalClock(folder / "localtime")
        self.at = self.local.nearest(*self.ALARM)
        self.local.set(self.start_at)
        self._minute: Optional[int] = None

    @property
    def start_at(self) -> datetime.datetime:
        return self.at - datetime.timedelta(minutes=2)

    def ring(self, needs: float) -> None:
        """From now on the clock is in the alarm's minute, with at least `needs` seconds of
        it left."""
        left = 60 - time.time() % 60
        if left < needs + 1:
            time.sleep(left + 0.2)
        self.local.set(self.at)
        self._minute = int(time.time() // 60)

    def turn_after(self, at_least: float) -> float:
        """Lets the alarm's minute come by itself, as on a clock nobody moves, no sooner than
        `at_least` seconds from now; returns when it begins (a time.time() value)."""
        now = time.time()
        boundary = math.floor(now / 60) * 60 + 60
        if boundary - now >= at_least:
            self.local.set(self.at - datetime.timedelta(minutes=1))
        else:  # one minute more before it: the next one is the minute before the alarm's
            self.local.set(self.start_at)
            boundary += 60
        self._minute = int(boundary // 60)
        return boundary

    def assert_within_minute(self) -> None:
        assert self._minute is not None, "the scenario never entered the alarm's minute"
        assert int(time.time() // 60) == self._minute, (
            "the scenario's steps ran past the alarm's minute: give `ring` more seconds")


def alarm(slot: int, when: datetime.datetime, kind: int, sound: Optional[Path],
          switch: int = 1) -> dict:
    return {f"Sound_C_{slot}": switch, f"Sound_H_{slot}": when.hour,
            f"Sound_M_{slot}": when.minute, f"Sound_Kbn_{slot}": kind,
            f"Sound_F_{slot}": to_windows_path(sound) if sound else ""}
