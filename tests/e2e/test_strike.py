"""The hours' strike on a pinned local time: the clock starts the minute before a boundary and
the boundary comes by itself, as on a clock nobody moves. The strokes are PlaySound calls of
the program's own bells, read back from Wine's +winmm trace as they appear; an alarm's chime
and the stop are read the same way.
"""

from __future__ import annotations

import datetime
import math
import time

from harness import LocalClock
from sound_trace import SOUND_FILE, alarm, play_sound_calls, played_names
from support_clock import ON_DIAL, STRIKE, STRIKE_WINDOW, ini_value, open_menu, wait_for, watch
from support_dialog import closed, new_window, read_tree

TRACE = "-all,+mci,+winmm,+menu"
STROKE = (False, 0x40005)  # SND_RESOURCE | SND_ASYNC: one bell, played to its end
CHIME = (False, 0x4000D)
STOP = (True, 0)
ROLE_DIALOG, ROLE_RADIO, ROLE_SLIDER, CHECKED = 0x12, 45, 51, 0x10


class Boundaries:
    """Moves the program's local time so that the minute of `hour`:00 begins at the next turn
    of the real minute that leaves at least `lead` seconds to get there."""

    def __init__(self, folder, first: int):
        self.local = LocalClock(folder / "localtime")
        # The program starts a few minutes before the first boundary: no strike, no alarm.
        self.local.set(self.local.nearest(first, 0) - datetime.timedelta(minutes=5))

    def before(self, hour: int, lead: float = 6) -> float:
        at = self.local.nearest(hour, 0)
        now = time.time()
        turn = math.floor(now / 60) * 60 + 60
        if turn - now < lead:
            turn += 60
        self.local.set(at - datetime.timedelta(seconds=turn - math.floor(now / 60) * 60))
        return turn


def strokes_as_they_come(clock, count: int, timeout: float) -> list:
    """The time.time() at which each of the next `count` strokes appeared in the trace."""
    before = play_sound_calls(clock).count(STROKE)
    seen = []
    end = time.time() + timeout
    while len(seen) < count and time.time() < end:
        while len(seen) < play_sound_calls(clock).count(STROKE) - before:
            seen.append(time.time())
        time.sleep(0.05)
    return seen


def test_three_strokes_paced_at_three_escape_ends_noon_menu_and_window_switch(
        app, tmp_path, acc_tree_exe):
    times = Boundaries(tmp_path, 3)
    ini = {"Strike": 2, "Strike_Quiet_From": 0, "Strike_Quiet_To": 0}
    clock = app.start(ini=ini, trace=TRACE, local_clock=times.local)
    turn = times.before(3)

    # 3:00: three strokes of the hour's bell, about two seconds apart, then no more.
    heard = strokes_as_they_come(clock, 3, turn - time.time() + 12)
    assert len(heard) == 3, play_sound_calls(clock)
    assert heard[0] - turn < 3
    assert all(1.5 < b - a < 3.5 for a, b in zip(heard, heard[1:])), heard
    assert set(played_names(clock)) == {"STRIKE_HOUR"}
    watch(3)
    assert play_sound_calls(clock) == [STROKE] * 3

    # Noon, reached by a jump to 11:59 (which strikes nothing): Esc after two of its twelve.
    turn = times.before(12)
    assert len(strokes_as_they_come(clock, 2, turn - time.time() + 8)) == 2
    clock.key("Escape")
    wait_for(lambda: STOP in play_sound_calls(clock), 5, "no stop after Escape", clock)
    calls = play_sound_calls(clock)
    watch(3)
    assert play_sound_calls(clock) == calls and calls.count(STROKE) < 3 + 12

    # The menu's switch: off, then back to the count.
    menu = open_menu(clock, ON_DIAL)
    assert menu.checked(STRIKE)
    menu.click(STRIKE)
    wait_for(lambda: ini_value(clock, "Strike") == " 0", 3, "Strike not written as ' 0'")
    menu = open_menu(clock, ON_DIAL)
    assert not menu.checked(STRIKE)
    menu.click(STRIKE)
    wait_for(lambda: ini_value(clock, "Strike") == " 2", 3, "Strike not written as ' 2'")

    # Its window, by keyboard and as a reader reads it: the mode's option buttons, the quiet
    # hours and the volume; Down picks the next mode and Enter is OK.
    open_menu(clock, ON_DIAL).click(STRIKE_WINDOW)
    window = new_window(clock, "時報の設定", timeout=10)
    assert window, "the strike's window did not open"
    x, y, w, h = clock.display.geometry(window)
    clock.display.move_pointer(x + w // 2, y + h // 2)
    clock.display.screenshot((x, y, w, h)).save(tmp_path / "strike-window.png")
    rows, focus = read_tree(clock, acc_tree_exe, "Tessarine_Strike")
    assert (rows[0][1], rows[0][4]) == (ROLE_DIALOG, "時報の設定")
    modes = [r for r in rows if r[1] == ROLE_RADIO and r[0] > 0]
    assert [r[4] for r in modes if r[2] & CHECKED] == ["時の数だけ"] and focus == modes[2][0]
    assert {(r[4], r[5]) for r in rows if r[1] == ROLE_SLIDER} == {
        ("開始", "0時"), ("終了", "0時"), ("音量", "40％")}
    clock.display.key("Down", "Return")
    wait_for(lambda: ini_value(clock, "Strike") == " 3", 5, "Strike not written as ' 3'")
    closed(clock, "時報の設定")


def test_an_alarm_alone_at_its_minute_and_nothing_in_the_quiet_hours(app, tmp_path):
    times = Boundaries(tmp_path, 7)
    # Default quiet hours (22 to 7): 7:00 strikes unless an alarm rings, 22:00 never.
    ini = {"Strike": 2, **alarm(0, times.local.nearest(7, 0), SOUND_FILE, None)}
    clock = app.start(ini=ini, trace=TRACE, local_clock=times.local)
    turn = times.before(7)

    wait_for(lambda: CHIME in play_sound_calls(clock), turn - time.time() + 10, "no alarm", clock)
    watch(3)
    assert play_sound_calls(clock) == [CHIME]
    clock.key("Escape")
    wait_for(lambda: play_sound_calls(clock) == [CHIME, STOP], 5, "no stop after Escape", clock)

    turn = times.before(22)
    watch(turn - time.time() + 4)
    assert play_sound_calls(clock) == [CHIME, STOP]
