"""Alarm sounds as Wine sees them: an alarm set in the INI for the minute the clock is moved
into fires at its next tick, and the MCI command strings and PlaySound calls it makes are read
back from Wine's +mci/+winmm trace. Real sound files are made here (sox, lame); the null ALSA
device of the test prefix gives one silent wave-out device, and gstreamer decodes the MP3.
Every scenario runs on a pinned local time (`alarm_time`) and checks that its steps stayed
inside the alarm's minute.
"""

from __future__ import annotations

import datetime
import shutil

import pytest

from harness import MENU_TRACE, to_windows_path
from sound_trace import (SND_ASYNC_LOOP, SOUND_FILE, STATUS_MP3, alarm, play_sound_calls,
                         played_names, sent_mci)
from support_clock import ON_DIAL, ON_PENDULUM, ini_values, wait_for, watch
from support_dialog import OK, choose_file, clock_window, open_dialog, reloaded, row


def start(app, alarm_time, ini, needs: float = 15, trace=True):
    clock = app.start(ini=ini, trace=trace, local_clock=alarm_time.local)
    alarm_time.ring(needs)
    return clock


def assert_stops_mp3(clock, action, what: str) -> None:
    """`action` stops the MP3 that plays: stopped, then closed."""
    before = len(sent_mci(clock))
    action()
    wait_for(lambda: "close MP3Play" in sent_mci(clock)[before:], 10, f"no close after {what}",
             clock)
    after = sent_mci(clock)[before:]
    assert after[after.index("close MP3Play") - 1] == "stop MP3Play", after


@pytest.mark.parametrize("key", ["Escape", "space"])
def test_wav_alarm_loops_once_until_key(app, sounds, alarm_time, key):
    clock = start(app, alarm_time, alarm(0, alarm_time.at, SOUND_FILE, sounds["wav"]))

    wait_for(lambda: played_names(clock), 10, "no PlaySound", clock)
    watch(1.5)  # the ticks after the first one of the minute fire nothing
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP)]
    assert played_names(clock) == [to_windows_path(sounds["wav"])]
    assert sent_mci(clock) == []

    clock.key(key)
    wait_for(lambda: len(play_sound_calls(clock)) > 1, 10, f"no stop after {key}", clock)
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP), (True, 0)]
    alarm_time.assert_within_minute()


def test_mp3_alarm_opens_quoted_path_repeats_and_escape_stops(app, sounds, alarm_time):
    clock = start(app, alarm_time, alarm(0, alarm_time.at, SOUND_FILE, sounds["short mp3"]))

    # A one-second file has ended by the second or third check: stopped, restarted from 0.
    wait_for(lambda: "play MP3Play from 0" in sent_mci(clock), 15, "no restart", clock)
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

    assert_stops_mp3(clock, lambda: clock.key("Escape"), "Escape")
    # A sound file alarm never touches PlaySound, not even to stop.
    assert play_sound_calls(clock) == []
    alarm_time.assert_within_minute()


def test_press_on_pendulum_leaves_mp3_press_on_dial_stops(app, sounds, alarm_time):
    # Alarm 1 sounds; alarm 0 is off but names a WAV, so a stop that looked at the wrong
    # alarm would stop a WAV instead of the MP3.
    ini = {**alarm(0, alarm_time.at, SOUND_FILE, sounds["wav"], switch=0),
           **alarm(1, alarm_time.at, SOUND_FILE, sounds["long mp3"])}
    clock = start(app, alarm_time, ini)
    x, y, _, _ = clock.geometry()

    wait_for(lambda: STATUS_MP3 in sent_mci(clock), 10, "no MP3 check", clock)
    opens = [c for c in sent_mci(clock) if c.startswith("open")]
    assert [c.rstrip(" ") for c in opens] == [
        f'open "{to_windows_path(sounds["long mp3"])}" type MPEGVideo Alias MP3Play']

    before = len(sent_mci(clock))
    clock.click(x + ON_PENDULUM[0], y + ON_PENDULUM[1])
    # Still sounding: two more of the once-a-second checks, never a stop or a restart.
    wait_for(lambda: sent_mci(clock)[before:].count(STATUS_MP3) >= 2, 10,
             "the MP3 checks ended after a press on the pendulum", clock)
    assert set(sent_mci(clock)[before:]) == {STATUS_MP3}, sent_mci(clock)[before:]

    assert_stops_mp3(clock, lambda: clock.click(x + ON_DIAL[0], y + ON_DIAL[1]),
                     "a press on the dial")
    assert play_sound_calls(clock) == []
    alarm_time.assert_within_minute()


@pytest.mark.parametrize("shift, switch", [
    # The minute before the clock started: neither the start nor the step into the alarm's
    # minute passes over it.
    (datetime.timedelta(minutes=-3), 1),
    (datetime.timedelta(hours=1), 1),     # this minute, another hour
    (datetime.timedelta(0), -1),          # on as -1 (true as the INI writes it): still off
], ids=["minute-gone", "other-hour", "switch-minus-1"])
def test_alarm_that_must_not_fire(app, sounds, alarm_time, shift, switch):
    # Alarm 1 rings this minute: it can fire only if alarm 0, looked at first, did not, and
    # it shows that the tick ran and the trace works.
    ini = {**alarm(0, alarm_time.at + shift, SOUND_FILE, sounds["wav"], switch=switch),
           **alarm(1, alarm_time.at, SOUND_FILE, sounds["other wav"])}
    clock = start(app, alarm_time, ini)

    wait_for(lambda: played_names(clock), 10, "alarm 1 did not fire", clock)
    watch(2.0)
    assert played_names(clock) == [to_windows_path(sounds["other wav"])]
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP)]
    assert sent_mci(clock) == []
    alarm_time.assert_within_minute()


def test_mp3_alarm_in_a_deep_folder_still_sounds(app, sounds, alarm_time, tmp_path):
    # A path of about 240 characters: the open command must hold all of it, not its first 255
    # characters with the type and alias cut off.
    base = to_windows_path(tmp_path)
    folder = tmp_path / ("deep alarm " + "d" * max(1, 225 - len(base)))
    folder.mkdir()
    mp3 = folder / "a.mp3"
    shutil.copy(sounds["long mp3"], mp3)
    assert 235 <= len(to_windows_path(mp3)) <= 250
    clock = start(app, alarm_time, alarm(0, alarm_time.at, SOUND_FILE, mp3))

    # The alias was opened, so the device answers "playing" at each check and the 12-second
    # file is never restarted; an open cut before its alias leaves "MP3Play" unknown, which
    # winmm answers by trying to open a device of that name.
    wait_for(lambda: sent_mci(clock).count(STATUS_MP3) >= 3, 15, "the MP3 did not play on",
             clock)
    opens = [c for c in sent_mci(clock) if c.startswith("open")]
    assert len(opens) == 1 and opens[0].startswith(f'open "{to_windows_path(mp3)}" type')
    assert "play MP3Play from 0" not in sent_mci(clock)
    assert not any("open mp3play wait" in line.lower() for line in clock.trace_lines())
    alarm_time.assert_within_minute()


def test_ok_during_an_mp3_alarm_neither_rings_again_nor_loses_the_stop(app, sounds,
                                                                         alarm_time):
    # The dialog turns the ringing MP3 alarm into a WAV alarm for the same minute, and OK
    # reloads the clock inside that minute: the MP3 goes on being repeated, nothing rings a
    # second time, and Esc stops the MP3 that plays, not the WAV the settings now name.
    ini = {"Pos_X": 150, "Pos_Y": 150, **alarm(0, alarm_time.at, SOUND_FILE, sounds["long mp3"])}
    clock = start(app, alarm_time, ini, needs=40, trace=MENU_TRACE)
    wait_for(lambda: STATUS_MP3 in sent_mci(clock), 10, "the MP3 did not start", clock)

    old = clock_window(clock)
    dialog = open_dialog(clock, at=ON_PENDULUM)
    choose_file(dialog, row(0)["choose"], to_windows_path(sounds["wav"]))
    dialog.click(OK)
    dialog.wait_closed()
    assert ini_values(clock.ini_bytes())["Sound_F_0"] == to_windows_path(sounds["wav"])

    mark = len(sent_mci(clock))
    reloaded(clock, old)
    wait_for(lambda: sent_mci(clock)[mark:].count(STATUS_MP3) >= 2, 10,
             "the MP3 repeat ended with the reload", clock)
    opens = [c for c in sent_mci(clock) if c.startswith("open")]
    assert len(opens) == 1, opens
    assert play_sound_calls(clock) == []
    # The reload happened inside the alarm's minute, so "nothing rings a second time" was
    # tested against the minute that already rang.
    alarm_time.assert_within_minute()

    assert_stops_mp3(clock, lambda: clock.key("Escape"), "Escape")
    assert play_sound_calls(clock) == []
