"""Every GDI object the program makes is given back. Windows refuses to delete an object that
is still selected into a device context (DeleteObject fails and the object leaks); Wine lets
the deletion wait instead and says so on its +gdi channel:
"NtGdiDeleteObjectApp delayed for ... because object in use". A round through every window
(the clock reloaded, the settings dialog opened and closed, the cleaner's screen picture, the
menu and the tray) must leave no such line.
"""

from __future__ import annotations

from harness import MENU_TRACE, SCREEN_H, SCREEN_W, scarce_meminfo, tray_window
from support_clock import ON_DIAL, open_menu, open_tray_menu, wait_for, wait_gone
from support_dialog import CANCEL, OK, RELEASE, clock_window, open_dialog, reloaded


GDI_TRACE = MENU_TRACE + ",+gdi,warn+seh"
DELAYED = "because object in use"


def delayed_deletions(clock) -> list:
    return [line for line in clock.trace_lines() if DELAYED in line]


def test_a_round_through_every_window_deletes_no_object_still_selected(app, tmp_path):
    # A quarter free against a limit of 30 %: the dialog's "ﾒﾓﾘ開放" cleans at once.
    meminfo = scarce_meminfo(tmp_path / "meminfo", 0.25)
    clock = app.start(ini={"Pos_X": 150, "Pos_Y": 150, "Mem_Ival": 0, "Mem_Kagen": 30},
                      meminfo=meminfo, trace=GDI_TRACE)
    place = clock.geometry()

    # OK reloads the clock on a new window, where it was.
    old = clock_window(clock)
    dialog = open_dialog(clock)
    dialog.click(OK)
    dialog.wait_closed()
    reloaded(clock, old)
    assert clock.geometry() == place

    dialog = open_dialog(clock)
    dialog.click(CANCEL)
    dialog.wait_closed()

    # The cleaner covers the screen, cleans and goes; the dialog stays until OK.
    old = clock_window(clock)
    dialog = open_dialog(clock)
    dialog.click(RELEASE)
    wait_for(lambda: any(b[2:] == (SCREEN_W, SCREEN_H) for b in clock.boxes().values()), 10,
             "the cleaner did not open")
    assert clock.wait_trace("Tessarine: cleaned", 20), "the cleaner did not clean"
    wait_for(lambda: all(b[2:] != (SCREEN_W, SCREEN_H) for b in clock.boxes().values()), 20,
             "the cleaner stayed")
    assert dialog.open()
    dialog.click(OK)
    dialog.wait_closed()
    reloaded(clock, old)

    # To the tray and back, where it was.
    open_menu(clock, ON_DIAL).click("時計をﾀｽｸﾄﾚｲへ(&T)")
    assert wait_gone(clock.windows), "the clock is still shown"
    wait_for(lambda: tray_window(clock.display), 10, "no icon in the notification area")
    open_tray_menu(clock).click("時計の表示(&F)")
    clock.window = None
    clock.wait_window()
    assert clock.geometry() == place
    assert wait_gone(lambda: tray_window(clock.display)), "the icon outlived the tray"

    assert clock.alive()
    delayed = delayed_deletions(clock)
    assert delayed == [], f"{len(delayed)} objects deleted while selected, first: {delayed[0]}"
