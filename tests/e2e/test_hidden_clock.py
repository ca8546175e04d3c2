"""The clock hidden as the tray hides it (here by a helper that hides its window from outside):
nothing of it stays on the screen, an alarm that falls due meanwhile still rings, and when it
comes back it shows the time and the swing as they are then, not as they were when it went.
"""

from __future__ import annotations

import datetime
import math
import subprocess
import time

from harness import DESKTOP_RGB, to_windows_path
from test_alarm_sound import SND_ASYNC_LOOP, SOUND_FILE, alarm, play_sound_calls, played_names
from test_face import BLUE, PEND_TOP, DialScale, Shots, bbox, bob_centre, clock_ini, hand_angles, \
    pixels_of


def late_in_a_minute(first: int = 42, last: int = 50) -> datetime.datetime:
    """Waits until the local time is between `first` and `last` seconds into a minute."""
    while True:
        now = datetime.datetime.fromtimestamp(time.time())
        if first <= now.second <= last:
            return now
        wait = (first - now.second) % 60 - now.microsecond / 1e6 + 0.1
        time.sleep(max(wait, 0.1))


def only_desktop(image) -> bool:
    return all(p == DESKTOP_RGB for p in image.getdata())


def test_hidden_clock_shows_nothing_rings_its_alarm_and_returns_current(
        app, wine, show_window_path, tmp_path):
    wav = tmp_path / "chime.wav"
    subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", "-b", "16", str(wav), "synth", "1",
                    "sine", "440"], check=True)
    # Started late in a minute with the alarm set for the next one, so that the minute turns
    # while the clock is hidden.
    now = late_in_a_minute()
    due = (now + datetime.timedelta(minutes=1)).replace(second=0, microsecond=0)
    clock = app.start(ini={**clock_ini(), **alarm(0, due, SOUND_FILE, wav)}, trace=True)
    shots = Shots(clock, tmp_path, "hidden")
    shots.settled()
    region = shots.region

    assert wine.run([str(show_window_path), "hide"]).returncode == 0
    end = time.monotonic() + 5
    while clock.windows() and time.monotonic() < end:
        time.sleep(0.1)
    assert clock.windows() == [], "the clock window is still mapped"
    for _ in range(2):  # nothing of the dial or the bob is drawn over the desktop
        image, path = shots.take()
        assert only_desktop(image), f"something of the hidden clock shows in {path}"
        time.sleep(0.5)
    assert played_names(clock) == [], "the alarm rang before its minute"

    seconds_left = (due - datetime.datetime.fromtimestamp(time.time())).total_seconds()
    end = time.monotonic() + seconds_left + 5
    while not played_names(clock) and time.monotonic() < end:
        time.sleep(0.2)
    assert played_names(clock) == [to_windows_path(wav)], "no alarm while hidden"
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP)]
    image, path = shots.take()
    assert clock.windows() == [] and only_desktop(image), f"the alarm showed the clock: {path}"

    assert wine.run([str(show_window_path), "show"]).returncode == 0
    clock.wait_window()
    shots.region = region  # it comes back where it was
    image, path, t = shots.within_one_second(not_before=time.time())
    stamp = time.strftime("%H:%M:%S", t)
    # The second ring where this second puts it.
    scale = DialScale(0)
    second_angle = hand_angles(t)[2]
    cx, cy = scale.point(math.cos(second_angle) * 8, math.sin(second_angle) * 8)
    ring = pixels_of(image, BLUE)
    assert ring, f"no second ring at {stamp} in {path}"
    x0, y0, x1, y1 = bbox(ring)
    assert abs((x0 + x1) / 2 - cx) <= 1 and abs((y0 + y1) / 2 - cy) <= 1, \
        f"second ring over ({x0}, {y0})..({x1}, {y1}) at {stamp}, expected ({cx:.1f}, {cy:.1f})"
    # The bob is on its arc and still swinging.
    centres = []
    for _ in range(3):
        centre, _, _ = bob_centre(image, (0, 0, 0))
        assert centre, f"no bob in {path}"
        assert abs(math.hypot(centre[0] - 40, centre[1] - PEND_TOP) - 30) <= 1.5, path
        centres.append((round(centre[0]), round(centre[1])))
        time.sleep(0.3)
        image, path = shots.take()
    assert len(set(centres)) > 1, f"the bob stays at {centres[0]} after the clock came back"
