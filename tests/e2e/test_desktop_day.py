"""A clock that lives through a desktop's day: alarms through sleep and changes of the clock,
the end of a session, a monitor that goes away under the clock, and a program folder the
user cannot write.

The program's local time is moved through the time zone it sees (harness.LocalClock), which
it follows within a second, as it follows the clock after a sleep; the machine's clock is
never touched. Its wake timer is read from Wine's trace: +sync names the resume flag of each
NtSetTimer, +server the absolute due time of the set_timer request that follows it (the
server traces every request once one program asks for +server, into its own stderr).
"""

from __future__ import annotations

import datetime
import re
import shutil

import pytest

from harness import (EXE_NAME, INI_NAME, LocalClock, MENU_TRACE, SCREEN_H, SCREEN_W, ini_bytes,
                     to_windows_path, tray_window, wine_unescape)
from sound_trace import SOUND_FILE, alarm, play_sound_calls, played_names
from support_clock import (ON_PENDULUM, TO_TRAY, WIN_H, WIN_W, centred, immutable, ini_values,
                           open_menu, wait_for)
from support_dialog import COLOUR_BUTTON, OK, TITLE, clock_window, open_dialog, reloaded, row


WAKE_TRACE = MENU_TRACE + ",+sync,+server"
_NT_SET_TIMER = re.compile(r"^(?P<tid>[0-9a-f]+):trace:sync:NtSetTimer \((?P<handle>0x[0-9a-f]+),"
                           r"[^,]+,[^,]+,[^,]+,(?P<resume>[0-9a-f]+),")
_SET_TIMER = re.compile(r"^(?P<tid>[0-9a-f]+): set_timer\( handle=(?P<handle>[0-9a-f]+), "
                        r"expire=(?P<expire>[0-9a-f]+) ")
_FILETIME_ORIGIN = datetime.datetime(1601, 1, 1)


def wake_timers(clock) -> list:
    """(due time in UTC, resume flag) of every waitable timer the program set, in order."""
    out, pending = [], {}
    for line in clock.trace_lines():
        m = _NT_SET_TIMER.search(line)
        if m:
            pending[m.group("tid")] = int(m.group("resume"), 16) != 0
            continue
        m = _SET_TIMER.search(line)
        if m and m.group("tid") in pending:
            ticks = int(m.group("expire"), 16)  # 100 ns since 1601, UTC
            due = _FILETIME_ORIGIN + datetime.timedelta(microseconds=ticks // 10)
            out.append((due, pending.pop(m.group("tid"))))
    return out


def test_alarm_rings_late_or_never_after_a_jump_and_wakes_the_machine(app, wine, sounds,
                                                                     tmp_path):
    # Wine's server writes the +server trace where it was started: let the clock start it.
    wine.kill()
    local = LocalClock(tmp_path / "localtime")
    seven = local.nearest(7, 0)
    minute = datetime.timedelta(minutes=1)
    local.set(seven - 5 * minute)
    clock = app.start(ini={**alarm(0, seven, SOUND_FILE, sounds["wav"], switch=0),
                           "Pos_X": 150, "Pos_Y": 150},
                      trace=WAKE_TRACE, local_clock=local)

    def rings() -> int:
        return sum(1 for silent, _ in play_sound_calls(clock) if not silent)

    def jump(to: datetime.datetime, next_alarm: datetime.datetime):
        """Moves the clock to `to`; waits until the clock has seen it, which its wake timer
        shows: set anew for `next_alarm` by the new offset."""
        local.set(to)
        due = local.utc(next_alarm)
        wait_for(lambda: wake_timers(clock)[-1:] == [(due, True)], 5,
                 f"no wake timer for {next_alarm} after a jump to {to:%H:%M}", clock)

    # Switched off: no wake timer. Switched on in the dialog: set for today's 7:00 in UTC,
    # with the resume flag.
    assert wake_timers(clock) == []
    old = clock_window(clock)
    dialog = open_dialog(clock)
    dialog.click(row(0)["switch"])
    dialog.click(OK)
    reloaded(clock, old)
    wait_for(lambda: wake_timers(clock), 5, "no wake timer after the alarm was switched on", clock)
    assert wake_timers(clock) == [(local.utc(seven), True)]

    # 6:58 to 7:45: 45 minutes late is too late; the wake timer goes on to tomorrow's 7:00.
    jump(seven - 2 * minute, seven)
    jump(seven + 45 * minute, seven + 24 * 60 * minute)
    assert rings() == 0

    # 6:58 to 7:05: five minutes late, it rings at once.
    jump(seven - 2 * minute, seven)
    jump(seven + 5 * minute, seven + 24 * 60 * minute)
    wait_for(lambda: rings() == 1, 3, "no late alarm", clock)
    assert played_names(clock) == [to_windows_path(sounds["wav"])]

    # Stopped, then the clock is set back over 7:00 and passes it again: no second ring.
    clock.key("Escape")
    wait_for(lambda: len(play_sound_calls(clock)) == 2, 3, "no stop after Escape", clock)
    jump(seven - minute, seven + 24 * 60 * minute)
    jump(seven + minute, seven + 24 * 60 * minute)
    assert rings() == 1


PLACEMENT = ("Pos_X", "Pos_Y", "TopMost")


@pytest.mark.parametrize("in_tray", [False, True], ids=["shown", "in-tray"])
def test_end_of_session_keeps_where_the_clock_was_and_not_the_open_dialog(app, wine, in_tray):
    ini = {"Pos_X": 150, "Pos_Y": 150, "TopMost": -1, "Sound_C_0": 0, "Sound_H_0": 7,
           "Sound_M_0": 0, "Sound_Kbn_0": 2}
    clock = app.start(ini=ini, trace=MENU_TRACE)
    x, y = clock.to_screen(*ON_PENDULUM)
    clock.drag(x, y, x + 100, y + 50)
    assert clock.wait_geometry((110, 60, WIN_W, WIN_H)) == (110, 60, WIN_W, WIN_H)
    dialog = open_dialog(clock, at=ON_PENDULUM)
    dialog.click(row(0)["switch"])  # an edit never saved
    if in_tray:
        open_menu(clock, ON_PENDULUM).click(TO_TRAY)
        wait_for(lambda: tray_window(clock.display), 10, "no icon in the notification area")
        wait_for(lambda: clock.window not in clock.windows(), 5, "the clock did not hide")
    before = ini_values(clock.ini_bytes())

    result = wine.run(["wineboot", "--end-session"], timeout=60)
    assert result.returncode == 0, result.stderr[-500:]
    wait_for(lambda: ini_values(clock.ini_bytes()) != before, 10,
             "nothing written at the end of the session")
    after = ini_values(clock.ini_bytes())
    assert [after[k] for k in PLACEMENT] == [" 1650", " 900", "-1"]
    # In the tray, it starts there next time.
    assert after.get("InTray") == ("-1" if in_tray else None)
    # The dialog's edit is lost, as with its cancel; nothing else was written.
    kept = PLACEMENT + ("InTray",)
    assert {k: v for k, v in after.items() if k not in kept} == \
        {k: v for k, v in before.items() if k not in kept}


def test_a_monitor_that_goes_away_brings_the_clock_to_one_that_is_there(app, wine,
                                                                       display_change_path):
    clock = app.start(ini={"Pos_X": 150, "Pos_Y": 150})

    def monitor_gone(x: int, y: int) -> None:
        result = wine.run([str(display_change_path), str(x), str(y)], timeout=30)
        assert result.returncode == 0, "display_change found no clock"

    # Still partly on the screen: left where the change left it.
    monitor_gone(1000, 700)
    assert clock.wait_geometry((1000, 700, WIN_W, WIN_H)) == (1000, 700, WIN_W, WIN_H)
    # On no monitor: to the centre of the nearest one, as a start puts it.
    monitor_gone(1500, 300)
    centre = (centred(SCREEN_W, WIN_W), centred(SCREEN_H, WIN_H))
    assert clock.wait_geometry((*centre, WIN_W, WIN_H)) == (*centre, WIN_W, WIN_H)
    # And there it stays for the next start.
    clock.key("alt+F4")
    assert clock.wait_exit(10) is not None, "Alt+F4 should close the clock"
    values = ini_values(clock.ini_bytes())
    assert (values["Pos_X"], values["Pos_Y"]) == (f" {centre[0] * 15}", f" {centre[1] * 15}")
    # A folder the program can write holds its file and nothing else.
    assert sorted(p.name for p in clock.folder.iterdir()) == [EXE_NAME, INI_NAME]


def test_a_read_only_program_folder_keeps_settings_in_the_users_own_file(app, wine,
                                                                         program_dir):
    roaming = [p for p in (wine.path / "drive_c" / "users").glob("*/AppData/Roaming")
               if p.parent.parent.name != "Public"]
    assert len(roaming) == 1, roaming
    own_dir = roaming[0] / "Tessarine"
    own = own_dir / INI_NAME
    # The dialog names the user's file in its title.
    titled = f"{TITLE}  (C:\\{str(own).split('/drive_c/')[1].replace('/', chr(92))})"
    shutil.rmtree(own_dir, ignore_errors=True)
    beside = program_dir / INI_NAME
    beside.write_bytes(ini_bytes({"Pos_X": 150, "Pos_Y": 150, "Sound_C_0": 0, "Sound_H_0": 7,
                                  "Sound_M_0": 0, "Sound_Kbn_0": 2}))
    if not immutable(True, beside, program_dir):
        pytest.skip("chattr +i is not possible here (needs root and a file system with "
                    "the immutable flag), so no folder can be read-only for Wine under root")
    try:
        clock = app.start(trace="-all,+msgbox,+menu")
        # The first start begins the user's file as a copy of the program folder's.
        wait_for(lambda: own.exists(), 5, "no file of the user's")
        assert own.read_bytes() == beside.read_bytes()

        x, y = clock.to_screen(*ON_PENDULUM)
        clock.drag(x, y, x + 100, y + 50)
        assert clock.wait_geometry((110, 60, WIN_W, WIN_H)) == (110, 60, WIN_W, WIN_H)
        old = clock_window(clock)
        dialog = open_dialog(clock, title=titled)
        dialog.click(row(0)["switch"])
        dialog.click(OK)
        reloaded(clock, old)
        clock.key("alt+F4")
        assert clock.wait_exit(10) is not None, "Alt+F4 should close the clock"

        # A restart from the same folder finds what the user did.
        again = app.start()
        assert again.wait_geometry((110, 60, WIN_W, WIN_H)) == (110, 60, WIN_W, WIN_H)
        values = ini_values(own.read_bytes())
        assert (values["Sound_C_0"], values["Pos_X"], values["Pos_Y"]) == (" 1", " 1650", " 900")
        again.key("alt+F4")
        assert again.wait_exit(10) is not None

        # Neither file can be written: the clock still takes the user's own file (not the
        # program folder's older one), one message names it, and the clock runs.
        own.write_bytes(own.read_bytes().replace(b"Color_0= 0\r\n", b"Color_0= 255\r\n"))  # red
        kept = own.read_bytes()
        assert immutable(True, own)
        told = app.start(trace="-all,+msgbox,+menu", wait=False)
        line = told.wait_trace(r":trace:msgbox:MSGBOX_OnInit ", 15)
        assert line, "no message"
        text = wine_unescape(re.search(r'L"(.*)"', line).group(1))
        assert str(own).split("/drive_c/")[1].replace("/", "\\") in text, text

        def windows() -> list:
            return [box[2:] for box in told.boxes().values()]

        # The clock runs behind the message, and on once it is closed.
        wait_for(lambda: (WIN_W, WIN_H) in windows() and len(windows()) == 2, 5,
                 "not the clock and one message")
        box = next(w for w, b in told.boxes().items() if b[2:] != (WIN_W, WIN_H))
        bx, by, bw, bh = told.display.geometry(box)
        told.display.move_pointer(bx + bw // 2, by + bh // 2)
        told.display.key("Return")
        wait_for(lambda: windows() == [(WIN_W, WIN_H)], 5, "the message did not close")
        assert told.alive()
        assert told.wait_geometry((110, 60, WIN_W, WIN_H)) == (110, 60, WIN_W, WIN_H)

        # The dialog's colours set back to their defaults and OK: the running clock shows them
        # at once although nothing could be saved, and the one message stays the only one.
        def background_share(rgb) -> float:
            strip = told.window_image().crop((0, 84, WIN_W, WIN_H - 10))
            return sum(1 for p in strip.getdata() if p[:3] == rgb) / (strip.width * strip.height)

        wait_for(lambda: background_share((255, 0, 0)) > 0.5, 5, "the clock is not red")
        old = clock_window(told)
        dialog = open_dialog(told, title=titled)
        dialog.click(COLOUR_BUTTON[6])
        dialog.click(OK)
        reloaded(told, old)
        wait_for(lambda: background_share((0, 0, 0)) > 0.5, 5, "the new colour is not shown")
        assert own.read_bytes() == kept
        assert sum(":trace:msgbox:MSGBOX_OnInit " in l for l in told.trace_lines()) == 1
        told.key("alt+F4")
        assert told.wait_exit(10) is not None

        # Under an English display language the message is English, the path as it is.
        english = app.start(trace="-all,+msgbox", wait=False, locale="en_US.UTF-8")
        line = english.wait_trace(r":trace:msgbox:MSGBOX_OnInit ", 15)
        assert line, "no English message"
        text = wine_unescape(re.search(r'L"(.*)"', line).group(1))
        assert text.startswith("Cannot write to the settings file!"), text
        assert text.endswith("Changes to the settings will not be saved."), text
        english.stop()

        # Both writable again: the settings stay in the user's file, which holds the latest
        # place; the program folder's older file is left as it is.
        assert immutable(False, beside, program_dir) and immutable(False, own)
        older = beside.read_bytes()
        back = app.start()
        assert back.wait_geometry((110, 60, WIN_W, WIN_H)) == (110, 60, WIN_W, WIN_H)
        x, y = back.to_screen(*ON_PENDULUM)
        back.drag(x, y, x + 20, y + 10)
        assert back.wait_geometry((130, 70, WIN_W, WIN_H)) == (130, 70, WIN_W, WIN_H)
        back.key("alt+F4")
        assert back.wait_exit(10) is not None
        values = ini_values(own.read_bytes())
        assert (values["Pos_X"], values["Pos_Y"]) == (" 1950", " 1050"), values
        assert beside.read_bytes() == older
    finally:
        immutable(False, beside, program_dir)
        if own.exists():
            immutable(False, own)
        shutil.rmtree(own_dir, ignore_errors=True)
