"""The popup menu and the tray icon, driven with the mouse as a user would: what each menu
shows, what its commands write and do, and the icon's life in the notification area.
Menus are read back from Wine's +menu trace of the items it draws, and clicked where drawn."""

from __future__ import annotations


from harness import MENU_TRACE, tray_window
from sound_trace import SND_ASYNC_LOOP, SOUND_FILE, alarm, play_sound_calls
from support_dialog import window_named
from support_clock import (CLOCK_MENU, ON_DIAL, ON_PENDULUM, ON_TOP, TRAY_MENU, ini_value,
                           open_menu, open_tray_menu, wait_for,
                           wait_gone)



def test_clock_menu_toggles_on_top_and_quits_where_dragged(app):
    ini = b"; kept as it is\r\n[Section]\r\nColor_0=255\r\n"
    clock = app.start(ini=ini, trace=MENU_TRACE)
    x0, y0, _, _ = clock.geometry()

    menu = open_menu(clock, ON_DIAL)
    assert menu.texts() == CLOCK_MENU
    assert not menu.checked(ON_TOP)
    menu.click(ON_TOP)
    wait_for(lambda: ini_value(clock, "TopMost") == "-1", 3, "TopMost not written as -1")

    menu = open_menu(clock, ON_PENDULUM)  # the pendulum area opens the same menu
    assert menu.texts() == CLOCK_MENU
    assert menu.checked(ON_TOP)
    menu.click(ON_TOP)
    wait_for(lambda: ini_value(clock, "TopMost") == " 0", 3, "TopMost not written as ' 0'")
    assert not open_menu(clock, ON_DIAL).checked(ON_TOP)

    # Dismissed with Esc: nothing runs, and the clock goes on ticking.
    clock.display.key("Escape")
    assert wait_gone(lambda: len(clock.windows()) > 1), "the menu stayed after Escape"
    before = clock.window_image()
    wait_for(lambda: clock.window_image() != before, 10, "the clock stopped ticking")
    assert clock.alive()

    clock.drag(x0 + 40, y0 + 40, x0 + 140, y0 + 90)
    assert clock.wait_geometry((x0 + 100, y0 + 50, 81, 137))[:2] == (x0 + 100, y0 + 50)
    open_menu(clock, ON_DIAL).click("終了(&E)")
    assert clock.wait_exit(10) is not None
    assert ini_value(clock, "Pos_X") == f" {(x0 + 100) * 15}"
    assert ini_value(clock, "Pos_Y") == f" {(y0 + 50) * 15}"
    assert ini_value(clock, "TopMost") == " 0"
    text = clock.ini_bytes()
    assert text.startswith(b"; kept as it is\r\n[Section]\r\nColor_0=255\r\n")

    again = app.start(trace=MENU_TRACE)
    assert again.geometry()[:2] == (x0 + 100, y0 + 50)


def test_tray_round_trip_stops_the_alarm_and_survives_a_taskbar_restart(app, sounds,
                                                                        tray_restart,
                                                                        alarm_time):
    clock = app.start(ini=alarm(0, alarm_time.at, SOUND_FILE, sounds["wav"]), trace=MENU_TRACE,
                      local_clock=alarm_time.local)
    x0, y0, _, _ = clock.geometry()
    alarm_time.ring(needs=20)
    wait_for(lambda: play_sound_calls(clock), 10, "the alarm did not ring", clock)

    # From the pendulum area: a press there leaves the alarm ringing.
    # The ringing window stays on the screen, by the notification area.
    open_menu(clock, ON_PENDULUM).click("時計をﾀｽｸﾄﾚｲへ(&T)")
    assert wait_gone(lambda: window_named(clock, "Tessarine")), "the clock is still shown"
    wait_for(lambda: tray_window(clock.display), 10, "no icon in the notification area")
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP)]

    # Only moving over the icon, no click, silences the alarm.
    tx, ty, _, _ = tray_window(clock.display)
    clock.display.move_pointer(tx + 10, ty + 10)
    wait_for(lambda: len(play_sound_calls(clock)) > 1, 10, "moving over the icon did not stop "
             "the alarm", clock)
    assert play_sound_calls(clock) == [(False, SND_ASYNC_LOOP), (True, 0)]
    alarm_time.assert_within_minute()

    # A lost taskbar loses the icon; the taskbar's restart message brings it back.
    tray_restart(clock, delete_first=True)
    assert wait_gone(lambda: tray_window(clock.display)), "the icon was not deleted"
    tray_restart(clock, delete_first=False)
    wait_for(lambda: tray_window(clock.display), 10, "the icon did not come back")

    menu = open_tray_menu(clock)
    assert menu.texts() == TRAY_MENU
    menu.click("時計の表示(&F)")
    clock.wait_window(name="Tessarine")
    assert clock.geometry()[:2] == (x0, y0)
    assert wait_gone(lambda: tray_window(clock.display)), "the icon outlived the tray"

    # Quitting from the tray removes the icon and saves where the hidden clock stood.
    open_menu(clock, ON_DIAL).click("時計をﾀｽｸﾄﾚｲへ(&T)")
    wait_for(lambda: tray_window(clock.display), 10, "no icon the second time")
    open_tray_menu(clock).click("終了(&E)")
    assert clock.wait_exit(10) is not None
    assert wait_gone(lambda: tray_window(clock.display)), "the icon outlived the program"
    assert (ini_value(clock, "Pos_X"), ini_value(clock, "Pos_Y"), ini_value(clock, "TopMost")) \
        == (f" {x0 * 15}", f" {y0 * 15}", " 0")
