"""Alarm sounds as Wine sees them: an alarm set in the INI for the current minute fires at the
clock's first tick, and the MCI command strings and PlaySound calls it makes are read back from
Wine's +mci/+winmm trace. Real sound files are made here (sox, lame); the null ALSA device of
the test prefix gives one silent wave-out device, and gstreamer decodes the MP3.

Local time: Wine turns UTC into local time with the TZ of its own process, which inherits ours
(TZ=Asia/Tokyo moves the time Wine programs read by 9 hours, exactly as it moves
time.localtime), so the local time of this process is the time the clock reads.
"""

from __future__ import annotations

import datetime
import re
import shutil
import subprocess
import time
from pathlib import Path
from typing import Callable, List, Optional

import pytest

from harness import to_windows_path

CD, SOUND_FILE = 1, 2
SND_ASYNC_LOOP = 9
# Window-relative points: the dial box covers rows 0..79, the pendulum box rows 84..136.
ON_DIAL = (40, 40)
ON_PENDULUM = (40, 110)

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


def unescape(traced: str) -> str:
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "r": "\r", "t": "\t"}.get(m.group(1),
                                                                           m.group(1)), traced)


def sent_mci(clock) -> List[str]:
    """The command strings the program sent, in order."""
    commands = []
    for line in clock.trace_lines():
        m = MCI_SENT.search(line)
        if m:
            command = unescape(m.group("cmd"))
            if not WINE_AUTO_OPEN.match(command):
                commands.append(command)
    return commands


def play_sound_calls(clock) -> List[tuple]:
    """(name is null, flags) of every PlaySound call, in order."""
    return [(int(m.group("name"), 16) == 0, int(m.group("flags"), 16))
            for m in map(PLAY_SOUND_CALL.search, clock.trace_lines()) if m]


def played_names(clock) -> List[str]:
    """The sound names that PlaySound went on to play."""
    return [unescape(m.group("name"))
            for m in map(PLAY_SOUND_NAME.search, clock.trace_lines()) if m]


def wait_for(probe: Callable[[], object], timeout: float, what: str, clock=None):
    """Polls `probe` until it gives something true; fails with `what` and the trace's tail."""
    end = time.monotonic() + timeout
    while True:
        result = probe()
        if result or time.monotonic() >= end:
            break
        time.sleep(0.1)
    if not result:
        tail = "\n".join(clock.trace_lines()[-15:]) if clock else ""
        pytest.fail(f"{what} within {timeout} s; MCI sent: {sent_mci(clock) if clock else []}"
                    f"\ntrace tail:\n{tail}")
    return result


def until(deadline: float) -> None:
    time.sleep(max(0.0, deadline - time.monotonic()))


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


@pytest.fixture(scope="session")
def sounds(tmp_path_factory) -> dict:
    """Short sound files in a folder whose name holds a blank."""
    for tool in ("sox", "lame"):
        if shutil.which(tool) is None:
            pytest.fail(f"{tool} is needed to make the test sounds", pytrace=False)
    folder = tmp_path_factory.mktemp("snd") / "alarm sounds"
    folder.mkdir()

    def wav(name: str, seconds: float, hertz: int) -> Path:
        path = folder / name
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", "-b", "16", str(path),
                        "synth", str(seconds), "sine", str(hertz)], check=True)
        return path

    def mp3(name: str, source: Path) -> Path:
        path = folder / name
        subprocess.run(["lame", "--quiet", "-b", "32", str(source), str(path)], check=True)
        return path

    files = {"wav": wav("chime.wav", 1, 440), "other wav": wav("other.wav", 1, 660)}
    # Short enough to end between two of the program's one-second checks; long enough to
    # play on through a check.
    files["short mp3"] = mp3("short.mp3", files["wav"])
    files["long mp3"] = mp3("long.mp3", wav("long.wav", 12, 330))
    return files


@pytest.mark.parametrize("key", ["Escape", "space"])
def test_wav_alarm_loops_once_until_key(app, sounds, key):
    now = current_minute()
    clock = app.start(ini=alarm(0, now, SOUND_FILE, sounds["wav"]), trace=True)

    wait_for(lambda: played_names(clock), 5, "no PlaySound", clock)
    # Fired at the first tick of the minute only: let a few more seconds' ticks pass.
    time.sleep(1.2)
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP)]
    assert played_names(clock) == [to_windows_path(sounds["wav"])]
    assert sent_mci(clock) == []

    clock.key(key)
    wait_for(lambda: len(play_sound_calls(clock)) > 1, 3, f"no stop after {key}", clock)
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP), (True, 0)]


def test_mp3_alarm_opens_quoted_path_repeats_and_escape_stops(app, sounds):
    now = current_minute()
    clock = app.start(ini=alarm(0, now, SOUND_FILE, sounds["short mp3"]), trace=True)

    # A one-second file has ended by the second or third check: stopped, restarted from 0.
    wait_for(lambda: "play MP3Play from 0" in sent_mci(clock), 6, "no restart", clock)
    sent = sent_mci(clock)
    opens = [c for c in sent if c.startswith("open")]
    assert len(opens) == 1, sent
    # The path is quoted, so its blank does not split it; blanks after the alias are padding.
    expected = f'open "{to_windows_path(sounds["short mp3"])}" type MPEGVideo Alias MP3Play'
    assert opens[0].rstrip(" ") == expected
    assert len(opens[0]) <= 255
    restart = sent.index("play MP3Play from 0")
    assert sent[:3] == [opens[0], "play MP3Play", STATUS_MP3], sent
    assert sent[restart - 2:restart] == [STATUS_MP3, "stop MP3Play"], sent
    assert set(sent[2:restart - 1]) == {STATUS_MP3}, sent
    assert play_sound_calls(clock) == []

    before = len(sent_mci(clock))
    clock.key("Escape")
    wait_for(lambda: "close MP3Play" in sent_mci(clock)[before:], 3, "no close after Escape",
             clock)
    after = sent_mci(clock)[before:]
    close = after.index("close MP3Play")
    assert after[close - 1] == "stop MP3Play", after
    # A sound file alarm never touches PlaySound, not even to stop.
    assert play_sound_calls(clock) == []


def test_press_on_pendulum_leaves_mp3_press_on_dial_stops(app, sounds):
    # Alarm 1 sounds; alarm 0 is off but names a WAV, so a stop that looked at the wrong
    # alarm would stop a WAV instead of the MP3.
    now = current_minute()
    ini = {**alarm(0, now, SOUND_FILE, sounds["wav"], switch=0),
           **alarm(1, now, SOUND_FILE, sounds["long mp3"])}
    clock = app.start(ini=ini, trace=True)
    x, y, _, _ = clock.geometry()

    wait_for(lambda: STATUS_MP3 in sent_mci(clock), 5, "no MP3 check", clock)
    opens = [c for c in sent_mci(clock) if c.startswith("open")]
    assert [c.rstrip(" ") for c in opens] == [
        f'open "{to_windows_path(sounds["long mp3"])}" type MPEGVideo Alias MP3Play']

    before = len(sent_mci(clock))
    clock.click(x + ON_PENDULUM[0], y + ON_PENDULUM[1])
    time.sleep(1.5)
    after = sent_mci(clock)[before:]
    # Still sounding: checked about once a second, never stopped or restarted.
    assert set(after) == {STATUS_MP3}, after
    assert 1 <= len(after) <= 3, after

    before = len(sent_mci(clock))
    clock.click(x + ON_DIAL[0], y + ON_DIAL[1])
    wait_for(lambda: "close MP3Play" in sent_mci(clock)[before:], 3, "no close after a press "
             "on the dial", clock)
    after = sent_mci(clock)[before:]
    assert after[after.index("close MP3Play") - 1] == "stop MP3Play", after
    assert play_sound_calls(clock) == []


def test_cd_alarm_without_disc_gives_up_at_first_check(app):
    now = current_minute()
    clock = app.start(ini=alarm(0, now, CD, None), trace=True)

    wait_for(lambda: "status cdaudio current track" in sent_mci(clock), 5, "no CD check",
             clock)
    # The watcher runs every 200 ms: a second check would come well within this.
    time.sleep(1.0)
    # "open cdaudio" fails (no drive), so the track query fails too and the watcher stops.
    assert sent_mci(clock) == ["open cdaudio", "set cdaudio time format tmsf",
                               "status cdaudio current track"]

    # The watcher is already off, so there is nothing to stop.
    clock.key("Escape")
    time.sleep(0.7)
    assert sent_mci(clock) == ["open cdaudio", "set cdaudio time format tmsf",
                               "status cdaudio current track"]
    assert play_sound_calls(clock) == []


@pytest.mark.parametrize("shift, switch", [
    (datetime.timedelta(minutes=-1), 1),  # set for the minute just gone
    (datetime.timedelta(hours=1), 1),     # this minute, another hour
    (datetime.timedelta(0), -1),          # on as -1 (true as the INI writes it): still off
], ids=["other-minute", "other-hour", "switch-minus-1"])
def test_alarm_that_must_not_fire(app, sounds, shift, switch):
    # Alarm 1 rings this minute: it can fire only if alarm 0, looked at first, did not, and
    # it shows that the tick ran and the trace works.
    now = current_minute()
    ini = {**alarm(0, now + shift, SOUND_FILE, sounds["wav"], switch=switch),
           **alarm(1, now, SOUND_FILE, sounds["other wav"])}
    clock = app.start(ini=ini, trace=True)
    shown = time.monotonic()

    wait_for(lambda: played_names(clock), 5, "alarm 1 did not fire", clock)
    until(shown + 2.0)
    assert played_names(clock) == [to_windows_path(sounds["other wav"])]
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP)]
    assert sent_mci(clock) == []
