"""Other places' time: Windows' additional clock for India, set in the registry as Windows'
settings set it, is in the clock's reader value, the dial's tool tip and the tray icon's tip
(read from Wine's +tooltips trace as the tips show); the file's "Zone_1=-" takes it away and
"Zone_2" names a zone of its own, leaving the file byte for byte as it was; their own window,
from the clock's menu, changes them by the keyboard alone, as a reader hears it."""

from __future__ import annotations

import datetime
import re
from zoneinfo import ZoneInfo

from harness import MENU_TRACE, tray_window
from support_clock import (ON_DIAL, ON_PENDULUM, TO_TRAY, ini_values, open_menu, open_tray_menu,
                           wait_for)
from support_dialog import CLOCK_CLASS, new_window, read_tree

CLOCKS = r"HKCU\Control Panel\TimeDate\AdditionalClocks"
DAY = {-1: "前日", 0: "", 1: "翌日"}


def zone_lines(label: str, text: str) -> list:
    return re.findall(label + r" (\d{1,2}):(\d\d)(?: \((前日|翌日)\))?", text)


def right_time(found: list, place: str) -> bool:
    """One line, naming the time at `place` within the minute around the reading, and the day
    when its date is not the local one."""
    now = datetime.datetime.now().astimezone()
    for t in (now - datetime.timedelta(seconds=61), now):
        there = t.astimezone(ZoneInfo(place))
        if found == [(str(there.hour), f"{there.minute:02d}", DAY[(there.date() - t.date()).days])]:
            return True
    return False


def shown_tip(clock, prefix: str):
    tips = [line.split('L"', 1)[1].rsplit('"', 1)[0].replace("\\n", "\n")
            for line in clock.trace_lines() if "TOOLTIPS_Show Show tooltip" in line and 'L"' in line]
    return ([t for t in tips if t.startswith(prefix)] or [None])[-1]


def tray_tip(clock) -> str:
    """Sends the clock to the tray and rests the pointer on the icon until its tip shows."""
    open_menu(clock, ON_PENDULUM).click(TO_TRAY)
    tx, ty, _, _ = wait_for(lambda: tray_window(clock.display), 10, "no tray icon")
    clock.display.move_pointer(tx + 10, ty + 10)
    return wait_for(lambda: shown_tip(clock, "Tessarine\n"), 10, "no tip shown", clock)


def test_other_zones_in_the_value_and_tips_chosen_by_windows_the_file_or_their_window(
        app, wine, acc_tree_exe):
    for name, kind, data in (("Enable", "REG_DWORD", "1"), ("DisplayName", "REG_SZ", "Mumbai"),
                             ("TzRegKeyName", "REG_SZ", "India Standard Time")):
        wine.run(["reg", "add", CLOCKS + r"\1", "/v", name, "/t", kind, "/d", data, "/f"],
                 locale="C.UTF-8")
    trace = MENU_TRACE + ",+tooltips"
    ini = {"Pos_X": 300 * 15, "Pos_Y": 200 * 15, "TopMost": 0}

    def value() -> str:  # empty while the clock is laid out anew
        try:
            return read_tree(clock, acc_tree_exe, CLOCK_CLASS)[0][0][5]
        except AssertionError:
            return ""
    try:
        # Each run starts the notification area afresh, tracing into that clock's log.
        wine.kill()
        clock = app.start(ini=ini, trace=trace)
        found = wait_for(lambda: zone_lines("Mumbai", value()), 10, "no Mumbai in the value")
        assert right_time(found, "Asia/Kolkata"), value()
        assert re.fullmatch(r"\d{1,2}:\d\d  Mumbai \S+( \(\S+\))?", value()), value()
        # Over the dial, as a tool tip: made at the first move, shown after the next.
        x, y, _, _ = clock.geometry()
        clock.display.move_pointer(x + ON_DIAL[0], y + ON_DIAL[1])
        wait_for(lambda: any('add text L"Mumbai' in line for line in clock.trace_lines()), 10,
                 "no tool tip made over the dial", clock)
        clock.display.move_pointer(x + ON_DIAL[0] + 1, y + ON_DIAL[1])
        tip = wait_for(lambda: shown_tip(clock, "Mumbai"), 10, "no tool tip over the dial", clock)
        assert zone_lines("Mumbai", tip) == found, tip
        tip = tray_tip(clock)
        assert tip.count("\n") == 1 and right_time(zone_lines("Mumbai", tip), "Asia/Kolkata"), tip
        open_tray_menu(clock).click("終了(&E)")
        assert clock.wait_exit(10) is not None

        # The file's own choice: none for the first, London by its key name for the second.
        ini = {**ini, "Zone_1": "-", "Zone_2": "GMT Standard Time", "Zone_2_Label": "London"}
        wine.kill()
        clock = app.start(ini=ini, trace=trace)
        before = clock.ini_bytes()
        found = wait_for(lambda: zone_lines("London", value()), 10, "no London in the value")
        assert "Mumbai" not in value() and right_time(found, "Europe/London"), value()
        tip = tray_tip(clock)
        assert "Mumbai" not in tip and right_time(zone_lines("London", tip), "Europe/London"), tip
        open_tray_menu(clock).click("他の地域の時刻(&W)")

        # Their window, from the tray's menu: the first clock back to Windows' own under a name
        # of the user's, by the keyboard; the second's keys stay as they were.
        window = new_window(clock, "他の地域の時刻", timeout=10)
        focused = lambda: read_tree(clock, acc_tree_exe, "Tessarine_Zones")[0][-1][4:]
        assert focused() == ("時計1", "なし"), focused()
        wx, wy, ww, wh = clock.display.geometry(window)
        clock.display.move_pointer(wx + ww // 2, wy + wh - 5)  # keys go to the window under it
        clock.display.key("Home")
        clock.display.key("Tab")
        assert focused()[0] == "時計1 名前", focused()
        clock.display.run("xdotool", "type", "Bombay")
        clock.display.key("Return")
        wait_for(lambda: window not in clock.windows(), 5, "the zones window stays open")
        values = ini_values(clock.ini_bytes())
        assert [values[f"Zone_{n}{k}"] for n in (1, 2) for k in ("", "_Label")] == \
            ["", "Bombay", "GMT Standard Time", "London"], values
        found = wait_for(lambda: zone_lines("Bombay", value()), 10, "no Bombay in the value")
        assert right_time(found, "Asia/Kolkata") and "London" in value(), value()
        # Nothing else of the file changed.
        assert before.replace(b"Zone_1=-", b"Zone_1=").split(b"\r\n") == \
            [l for l in clock.ini_bytes().split(b"\r\n") if not l.startswith(b"Zone_1_Label")]
    finally:
        wine.run(["reg", "delete", CLOCKS + r"\1", "/f"], locale="C.UTF-8")
