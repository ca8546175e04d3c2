"""The clock goes on while the user cannot see it move, and while its menu holds the program in
a nested message loop: the pendulum swings behind an open menu; sent to the tray it leaves
nothing on the screen, still rings an alarm that falls due meanwhile, and comes back showing
the time and the swing as they are then; in the tray, where it wakes once a minute, a change
of the time rings a jumped-over alarm at that wake, or at once when Windows announces it. Though
the shown clock's tick comes once a second, the second ring moves within 100 ms of the host's
second change.
"""

from __future__ import annotations

import datetime
import math
import time
from pathlib import Path

from harness import DESKTOP_RGB, MENU_TRACE, drawn_menu, to_windows_path, tray_window
from sound_trace import SND_ASYNC_LOOP, SOUND_FILE, alarm, play_sound_calls, played_names
from support_clock import (BLUE, FROM_TRAY, ON_DIAL, ON_PENDULUM, TO_TRAY, open_menu, wait_for,
                           watch)
from support_dialog import closed, new_window, read_tree, window_named
from support_face import (DialScale, PEND_BOTTOM, PEND_TOP, Shots, bbox, bob_centre, clock_ini,
                          grabs_around, hand_angles, pixels_of)



def test_pendulum_swings_while_the_menu_is_open(app, tmp_path):
    clock = app.start(ini=clock_ini(), trace=MENU_TRACE)
    shots = Shots(clock, tmp_path, "menu-open")
    shots.settled()
    menu = open_menu(clock, ON_DIAL)
    # The menu opens down and to the right of the press, over the right half of the pendulum
    # area; the bob passes through the left half too.
    left_half = (0, PEND_TOP, ON_DIAL[0], PEND_BOTTOM)
    seen = set()
    end = time.monotonic() + 3
    while time.monotonic() < end:
        image, path = shots.take()
        seen.add(image.crop(left_half).tobytes())
        time.sleep(0.25)
    # Still open after three seconds: the program's windows are the clock and the menu.
    assert len(clock.windows()) == 2, f"the menu closed early; last shot {path}"
    assert len(seen) > 1, f"the pendulum stood still while the menu was open; last shot {path}"
    clock.display.key("Escape")
    assert menu.texts()[0].startswith("設定変更")


def only_desktop(image) -> bool:
    return all(p == DESKTOP_RGB for p in image.getdata())


def test_clock_in_the_tray_shows_nothing_rings_its_alarm_and_returns_current(
        app, sounds, tmp_path, alarm_time):
    # The alarm's minute comes by itself while the clock is in the tray, and the clock stays
    # there over 30 s (its pendulum asleep, caught up when it is shown again).
    ini = {**clock_ini(), **alarm(0, alarm_time.at, SOUND_FILE, sounds["wav"])}
    clock = app.start(ini=ini, trace=MENU_TRACE, local_clock=alarm_time.local)
    shots = Shots(clock, tmp_path, "tray")
    shots.settled()
    region = shots.region

    open_menu(clock, ON_PENDULUM).click(TO_TRAY)
    wait_for(lambda: not clock.windows(), 5, "the clock is still shown")
    wait_for(lambda: tray_window(clock.display), 10, "no icon in the notification area")
    due = alarm_time.turn_after(30)
    for _ in range(2):  # nothing of the dial or the bob is drawn over the desktop
        image, path = shots.take()
        assert only_desktop(image), f"something of the hidden clock shows in {path}"
        watch(0.5)
    wait_for(lambda: time.time() >= due - 1, 100, "the alarm's minute did not come")
    assert played_names(clock) == [], "the alarm rang before its minute"

    wait_for(lambda: played_names(clock), 10, "no alarm in the tray", clock)
    assert played_names(clock) == [to_windows_path(sounds["wav"])]
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP)]
    image, path = shots.take()
    assert window_named(clock, "Tessarine") is None and only_desktop(image), (
        f"the alarm showed the clock: {path}")

    # Back through the tray menu (the right press on the icon also silences the alarm).
    tx, ty, _, _ = tray_window(clock.display)
    since = len(clock.trace_lines())
    clock.click(tx + 10, ty + 10, 3)
    drawn_menu(clock, since).click(FROM_TRAY)
    clock.wait_window(name="Tessarine")
    shots.region = region  # it comes back where it was
    image, path, t = shots.within_one_second(not_before=time.time())
    stamp = time.strftime("%H:%M:%S", t)
    # The second ring where this second puts it.
    second_angle = hand_angles(t)[2]
    cx, cy = DialScale(0).point(math.cos(second_angle) * 8, math.sin(second_angle) * 8)
    ring = pixels_of(image, BLUE)
    assert ring, f"no second ring at {stamp} in {path}"
    x0, y0, x1, y1 = bbox(ring)
    assert abs((x0 + x1) / 2 - cx) <= 1 and abs((y0 + y1) / 2 - cy) <= 1, \
        f"second ring over ({x0}, {y0})..({x1}, {y1}) at {stamp} in {path}, expected " \
        f"({cx:.1f}, {cy:.1f})"
    # The bob on its arc, and still swinging.
    centres = set()

    def bob_moved():
        image, path = shots.take()
        centre, _, _ = bob_centre(image, (0, 0, 0))
        assert centre, f"no bob in {path}"
        assert abs(math.hypot(centre[0] - 40, centre[1] - PEND_TOP) - 30) <= 1.5, path
        centres.add((round(centre[0]), round(centre[1])))
        return len(centres) > 1
    wait_for(bob_moved, 10, "the bob stood still after the clock came back")


def test_in_the_tray_a_moved_time_rings_at_the_next_minute_or_at_once_when_announced(
        app, wine, sounds, tmp_path, alarm_time, time_change_path, acc_tree_exe):
    # Two alarms a quarter of an hour apart; each jump lands eight minutes past one of them,
    # late enough to be a jump, early enough to ring.
    late = datetime.timedelta(minutes=8)
    first, second = alarm_time.at, alarm_time.at + datetime.timedelta(minutes=15)
    ini = {**clock_ini(), **alarm(0, first, SOUND_FILE, sounds["wav"]),
           **alarm(1, second, SOUND_FILE, sounds["other wav"]), "Snooze_Min": 1}
    clock = app.start(ini=ini, trace=MENU_TRACE, local_clock=alarm_time.local)
    shots = Shots(clock, tmp_path, "tray-jump")
    shots.settled()
    open_menu(clock, ON_PENDULUM).click(TO_TRAY)
    wait_for(lambda: not clock.windows(), 5, "the clock is still shown")
    wait_for(lambda: tray_window(clock.display), 10, "no icon in the notification area")

    # Unannounced, as after a sleep Windows did not report: seen at the next minute's wake.
    # The clock stays hidden; the ringing window comes up by the notification area.
    alarm_time.local.set(first + late)
    wait_for(lambda: played_names(clock), 65, "the jump over the alarm did not ring", clock)
    assert played_names(clock) == [to_windows_path(sounds["wav"])]
    ring_title = f"ｱﾗｰﾑ1 {first.hour}:{first.minute:02d}"
    assert new_window(clock, ring_title, timeout=10), "no ringing window"
    image, path = shots.take()
    assert window_named(clock, "Tessarine") is None and only_desktop(image), (
        f"the alarm showed the clock: {path}")

    # Snoozed for a minute from the ringing window: rung again at the hidden clock's next wake.
    rows, _ = read_tree(clock, acc_tree_exe, "Tessarine_Ring")
    x, y, w, h = next(r[3] for r in rows if r[4].startswith("ｽﾇｰｽﾞ"))
    clock.click(x + w // 2, y + h // 2)
    closed(clock, ring_title)
    wait_for(lambda: len(played_names(clock)) == 2, 65, "the snooze did not ring hidden", clock)
    assert window_named(clock, "Tessarine") is None, "the snooze showed the clock"
    tx, ty, _, _ = tray_window(clock.display)
    clock.display.move_pointer(tx + 10, ty + 10)  # silences it
    wait_for(lambda: len(play_sound_calls(clock)) == 4, 10, "the alarm did not stop", clock)
    closed(clock, ring_title)

    # Announced by WM_TIMECHANGE once the change is complete: rung before the minute's wake
    # could have seen it.
    wait_for(lambda: 2 <= time.time() % 60 < 20, 60, "no fresh minute")
    wake = math.floor(time.time() / 60) * 60 + 60
    alarm_time.local.set(second + late)
    alarm_time.local.settle()
    assert wine.run([str(time_change_path)]).returncode == 0, "time_change found no clock"
    wait_for(lambda: len(played_names(clock)) == 3, wake - time.time() - 1,
             "WM_TIMECHANGE did not ring the jumped-over alarm", clock)
    assert played_names(clock)[2] == to_windows_path(sounds["other wav"])
    assert window_named(clock, "Tessarine") is None, "the alarm showed the clock"


def test_second_ring_moves_at_the_second_and_never_before(app, tmp_path):
    # How soon after the second it moves is a figure for bench/second_ring.py; here, only that
    # it moves in the second that begins and not in the one before.
    clock = app.start(ini=clock_ini())
    shots = Shots(clock, tmp_path, "boundary")
    shots.settled()
    clock.geometry()  # finds the window the grabs read
    missed, early, measured = [], [], 0
    for _ in range(10):
        if measured == 5:
            break
        boundary = math.floor(time.time()) + 1.0
        grabs = grabs_around(clock, boundary, 0.9, stop_on_move=True)
        old = [c for s0, s1, c in grabs if s1 <= boundary - 0.02]
        if not old:
            continue  # the machine was too busy to read the screen before this second
        measured += 1
        stamp = time.strftime("%H:%M:%S", time.localtime(boundary))
        if any(c != old[0] for c in old):
            early.append(stamp)
        if not any(s0 >= boundary and c != old[0] for s0, s1, c in grabs):
            missed.append(stamp)
    # A machine busy elsewhere may hold one tick past its second.
    assert measured >= 3, f"the screen could be read around only {measured} seconds"
    assert len(missed) <= 1, f"the second ring did not move in the seconds {missed}"
    assert early == [], f"the second ring moved before the second at {early}"


def run_count(pid: int) -> int:
    """How often the process's threads have been put on a CPU (schedstat's third field)."""
    total = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            total += int((task / "schedstat").read_text().split()[2])
        except (FileNotFoundError, ProcessLookupError):
            pass  # a thread that ended meanwhile
    return total


def test_a_locked_session_rests_the_shown_clock_and_unlocking_brings_its_frames_back(
        app, wine, clock_probe_exe, tmp_path):
    clock = app.start(ini=clock_ini())
    shots = Shots(clock, tmp_path, "locked")
    shots.settled()

    def runs_in(seconds: float) -> int:
        before = run_count(clock.pid)
        watch(seconds)
        return run_count(clock.pid) - before

    shown = runs_in(3)
    assert wine.run([str(clock_probe_exe), "session", "lock"]).returncode == 0
    wait_for(lambda: runs_in(1) <= 2, 10, "the locked clock still runs its frames", clock)
    locked = runs_in(3)
    # Shown, ten frames a second; locked, the hidden clock's wake at the minute and little else.
    assert shown >= 25 and locked <= 6, (shown, locked)
    pendulum = (0, PEND_TOP, 80, PEND_BOTTOM)
    still = shots.take()[0].crop(pendulum).tobytes()
    assert wine.run([str(clock_probe_exe), "session", "unlock"]).returncode == 0
    wait_for(lambda: shots.take()[0].crop(pendulum).tobytes() != still, 5,
             "the pendulum stood still after the unlock", clock)
    assert runs_in(3) >= 25
