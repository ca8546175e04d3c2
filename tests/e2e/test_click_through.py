"""A clock the mouse passes through and that lets the desktop show: clicks reach the window
beneath it, the tray icon beside it is the way back, a second start takes clicks again, and
the opacity reads back from the window."""

from __future__ import annotations

import subprocess
from pathlib import Path

from harness import MENU_TRACE, tray_window
from support_clock import (CLICK_THROUGH, ON_DIAL, ini_value, look, open_menu, open_tray_menu,
                           wait_for, wait_gone)

CATCHER = (60, 30, 240, 240)  # beneath the clock at (100, 50)
SHOTS = Path("/tmp/verbs-shots")


def test_clicks_pass_through_to_the_window_beneath_until_the_tray_menu_turns_it_off(
        app, wine, display, clock_probe_exe, tmp_path):
    log = tmp_path / "catcher.out"
    with open(log, "wb") as out:
        catcher = subprocess.Popen([wine.loader, str(clock_probe_exe), "catch",
                                    *map(str, CATCHER), "120"], env=wine.env(), stdout=out,
                                   stdin=subprocess.DEVNULL, start_new_session=True)
    try:
        clicks = lambda: [l for l in log.read_text().splitlines() if l.startswith("click")]
        wait_for(lambda: "ready" in log.read_text(), 20, "the catcher did not start")
        clock = app.start(ini={"Pos_X": 1500, "Pos_Y": 750, "TopMost": -1, "ClickThrough": -1,
                               "Opacity": 60}, trace=MENU_TRACE)
        style, alpha = look(wine, clock_probe_exe)
        assert style & 0x80020 == 0x80020 and alpha == 153, (hex(style), alpha)
        wait_for(lambda: tray_window(display), 10, "no icon beside the clock")
        SHOTS.mkdir(exist_ok=True)
        clock.screenshot((40, 20, 160, 200)).save(SHOTS / "see-through-60.png")

        x, y = clock.to_screen(*ON_DIAL)
        clock.click(x, y)
        wait_for(clicks, 10, "the click did not reach the window beneath")
        assert clicks() == [f"click {x - CATCHER[0]} {y - CATCHER[1]}"]

        menu = open_tray_menu(clock)
        assert menu.checked(CLICK_THROUGH)
        menu.click(CLICK_THROUGH)
        assert wait_gone(lambda: tray_window(display)), "the icon stayed beside the clock"
        assert ini_value(clock, "ClickThrough") == " 0"
        style, alpha = look(wine, clock_probe_exe)
        assert not style & 0x20 and alpha == 153, "see-through should stay"
        # The dial takes the click now: its menu opens there, and nothing reaches beneath.
        menu = open_menu(clock, ON_DIAL)
        assert not menu.checked(CLICK_THROUGH)
        menu.click(CLICK_THROUGH)
        wait_for(lambda: tray_window(display), 10, "no icon beside the clock")
        assert len(clicks()) == 1

        # Started again, as from a shortcut: the clock takes clicks again.
        again = app.start(wait=False)
        assert again.wait_exit(timeout=10) == 0
        assert wait_gone(lambda: tray_window(display)), "the icon stayed beside the clock"
        assert look(wine, clock_probe_exe)[0] & 0x20 == 0
    finally:
        catcher.kill()
        catcher.wait()
