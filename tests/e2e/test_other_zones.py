"""Other places' time where the clock already speaks: Windows' additional clock for India,
set in the registry as Windows' date and time settings set it, is read by a screen reader in
the clock's value and shows in the tray icon's tip (read from Wine's notification area as it
shows the tip) and over the dial as a tool tip; the file's "Zone_1=-" takes it away and "Zone_2" names a zone of its own, and a
run that changed nothing leaves the file as it was, byte for byte. Their own window, from the
clock's menu, changes them by the keyboard alone, as a reader hears it."""

from __future__ import annotations

import datetime
import re
from pathlib import Path
from zoneinfo import ZoneInfo

from harness import MENU_TRACE, tray_window
from support_clock import (ON_DIAL, ON_PENDULUM, TO_TRAY, ini_values, open_menu, open_tray_menu,
                           wait_for)
from support_dialog import CLOCK_CLASS, new_window, read_tree

CLOCKS = r"HKCU\Control Panel\TimeDate\AdditionalClocks"
QUIT = "終了(&E)"
DAY = {-1: "前日", 0: "", 1: "翌日"}
SHOTS = Path("/tmp/zones-shots")
ZONES_MENU, ZONES_TITLE, ZONES_CLASS = "他の地域の時刻(&W)", "他の地域の時刻", "Tessarine_Zones"


def set_windows_clock(wine, n: int, zone: str, name: str) -> None:
    key = f"{CLOCKS}\\{n}"
    for value, kind, data in (("Enable", "REG_DWORD", "1"), ("DisplayName", "REG_SZ", name),
                              ("TzRegKeyName", "REG_SZ", zone)):
        assert wine.run(["reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f"],
                        locale="C.UTF-8").returncode == 0


def zone_lines(label: str, text: str) -> list:
    return re.findall(label + r" (\d{1,2}):(\d\d)(?: \((前日|翌日)\))?", text)


def right_time(found: tuple, place: str) -> bool:
    """The line names the time at `place` within the minute around the reading, and the day
    when its date is not the local one."""
    hour, minute, day = found
    now = datetime.datetime.now().astimezone()
    for t in (now - datetime.timedelta(seconds=61), now):
        there = t.astimezone(ZoneInfo(place))
        if ((int(hour), int(minute)) == (there.hour, there.minute)
                and day == DAY[(there.date() - t.date()).days]):
            return True
    return False


def shown_tips(clock) -> list:
    return [line.split('L"', 1)[1].rsplit('"', 1)[0].replace("\\n", "\n")
            for line in clock.trace_lines() if "TOOLTIPS_Show Show tooltip" in line and 'L"' in line]


def tip_in_tray(clock) -> str:
    """Rests the pointer on the icon until the notification area shows its tip."""
    tx, ty, _, _ = wait_for(lambda: tray_window(clock.display), 10, "no tray icon")
    clock.display.move_pointer(tx + 10, ty + 10)
    tray = lambda: [t for t in shown_tips(clock) if t.startswith("Tessarine")][-1:]
    return wait_for(tray, 10, "no tip shown", clock)[0]


def quit_from_tray(clock) -> None:
    open_tray_menu(clock).click(QUIT)
    assert clock.wait_exit(10) is not None, "the clock did not quit"


def test_windows_additional_clock_in_the_value_and_tip_and_the_file_can_take_it_away(
        app, wine, acc_tree_exe):
    set_windows_clock(wine, 1, "India Standard Time", "Mumbai")
    # The notification area is started afresh by each clock, so that it traces its tips into
    # that clock's log.
    wine.kill()
    trace = MENU_TRACE + ",+tooltips"
    try:
        ini = {"Pos_X": 300 * 15, "Pos_Y": 200 * 15, "TopMost": 0}
        clock = app.start(ini=ini, trace=trace)

        def value() -> str:
            return read_tree(clock, acc_tree_exe, CLOCK_CLASS)[0][0][5]
        found = wait_for(lambda: zone_lines("Mumbai", value()), 10, "no Mumbai in the value")
        assert len(found) == 1 and right_time(found[0], "Asia/Kolkata"), value()
        assert re.fullmatch(r"\d{1,2}:\d\d  Mumbai \S+( \(\S+\))?", value()), value()

        # Over the dial, the same line as a tool tip (made at the first move, shown after).
        x, y, _, _ = clock.geometry()

        clock.display.move_pointer(x + ON_DIAL[0], y + ON_DIAL[1])
        wait_for(lambda: any('add text L"Mumbai' in line for line in clock.trace_lines()), 10,
                 "no tool tip made over the dial", clock)
        clock.display.move_pointer(x + ON_DIAL[0] + 1, y + ON_DIAL[1])  # then rests there

        def dial_tip():
            return [t for t in shown_tips(clock) if t.startswith("Mumbai")]
        tip = wait_for(dial_tip, 10, "no tool tip over the dial", clock)[-1]
        assert zone_lines("Mumbai", tip) == found, tip
        SHOTS.mkdir(exist_ok=True)
        clock.screenshot((x - 20, y - 20, 260, 200)).save(SHOTS / "dial-tip.png")

        open_menu(clock, ON_PENDULUM).click(TO_TRAY)
        tip = tip_in_tray(clock)
        assert tip.startswith("Tessarine\nMumbai ") and tip.count("\n") == 1, tip
        assert right_time(zone_lines("Mumbai", tip)[0], "Asia/Kolkata"), tip
        quit_from_tray(clock)

        # The file's own choice: none for the first, London by its key name for the second.
        ini = {**ini, "Zone_1": "-", "Zone_2": "GMT Standard Time", "Zone_2_Label": "London"}
        wine.kill()
        clock = app.start(ini=ini, trace=trace)
        before = clock.ini_bytes()
        found = wait_for(lambda: zone_lines("London", value()), 10, "no London in the value")
        assert "Mumbai" not in value() and right_time(found[0], "Europe/London"), value()
        open_menu(clock, ON_PENDULUM).click(TO_TRAY)
        tip = wait_for(lambda: "London" in tip_in_tray(clock) and tip_in_tray(clock), 10,
                       "the tip does not name London", clock)
        assert "Mumbai" not in tip and right_time(zone_lines("London", tip)[0], "Europe/London")
        quit_from_tray(clock)
        assert clock.ini_bytes() == before

        # Chosen in their own window from the clock's menu, by the keyboard: the first clock
        # back to Windows' own, under a name of the user's; the second's keys stay as they were.
        clock = app.start(ini=ini, trace=trace)
        open_menu(clock, ON_PENDULUM).click(ZONES_MENU)
        window = new_window(clock, ZONES_TITLE, timeout=10)
        assert window, "the zones window did not open"
        focused = lambda: read_tree(clock, acc_tree_exe, ZONES_CLASS)[0][-1]
        assert focused()[4:] == ("時計1", "なし"), focused()
        wx, wy, ww, wh = clock.display.geometry(window)
        clock.display.screenshot((wx, wy, ww, wh)).save(SHOTS / "zones-window-ja.png")
        clock.display.move_pointer(wx + ww // 2, wy + wh - 5)  # keys go to the window under it
        clock.display.key("Home")
        clock.display.key("Tab")
        assert focused()[4] == "時計1 名前", focused()
        clock.display.run("xdotool", "type", "Bombay")
        clock.display.key("Return")
        wait_for(lambda: window not in clock.windows(), 5, "the zones window stays open")
        values = ini_values(clock.ini_bytes())
        assert (values["Zone_1"], values["Zone_1_Label"]) == ("", "Bombay"), values
        assert (values["Zone_2"], values["Zone_2_Label"]) == ("GMT Standard Time", "London")
        def value_once_back() -> str:  # the clock is laid out anew with the new settings
            try:
                return value()
            except AssertionError:
                return ""
        found = wait_for(lambda: zone_lines("Bombay", value_once_back()), 10,
                         "no Bombay in the value")
        assert right_time(found[0], "Asia/Kolkata") and "London" in value(), value()
    finally:
        wine.run(["reg", "delete", f"{CLOCKS}\\1", "/f"], locale="C.UTF-8")
