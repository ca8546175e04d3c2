"""What the program did with sound, read back from Wine's +mci/+winmm trace, and the alarm
settings the tests give it. Shared by every test that rings an alarm.

Local time: Wine turns UTC into local time with the TZ of its own process, which inherits ours
(TZ=Asia/Tokyo moves the time Wine programs read by 9 hours, exactly as it moves
time.localtime), so the local time of this process is the time the clock reads.
"""

from __future__ import annotations

import datetime
import re
import time
from pathlib import Path
from typing import List, Optional


from harness import to_windows_path, wine_unescape


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


def current_minute(margin: int = 4) -> datetime.datetime:
    """The local time, moved into the next minute when fewer than `margin` seconds are left,
    so that the clock's first tick still falls into the minute the alarm is set for."""
    now = datetime.datetime.fromtimestamp(time.time())
    if now.second >= 60 - margin:
        time.sleep(60 - now.second - now.microsecond / 1e6 + 0.1)
        now = datetime.datetime.fromtimestamp(time.time())
    return now


def alarm(slot: int, when: datetime.datetime, kind: int, sound: Optional[Path],
          switch: int = 1) -> dict:
    return {f"Sound_C_{slot}": switch, f"Sound_H_{slot}": when.hour,
            f"Sound_M_{slot}": when.minute, f"Sound_Kbn_{slot}": kind,
            f"Sound_F_{slot}": to_windows_path(sound) if sound else ""}
