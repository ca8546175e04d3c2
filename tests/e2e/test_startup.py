"""Start-up as the user sees it: where the clock window appears, its rounded shape, the
single-instance rule (a second start calls the running clock back), and program folders with
unusual names."""


import pytest

from harness import (DESKTOP_RGB, MENU_TRACE, SCREEN_H, SCREEN_W, WINDOW_TITLE, to_windows_path,
                     tray_window)
from support_clock import (CENTRE, INSIDE, ON_PENDULUM, OUTSIDE, TO_TRAY, WIN_H, WIN_W, open_menu,
                           wait_for, wait_gone, wait_painted)



def test_without_ini_the_clock_is_centred_and_rounded(app):
    clock = app.start()

    assert clock.wait_geometry((*CENTRE, WIN_W, WIN_H)) == (*CENTRE, WIN_W, WIN_H)
    image = wait_painted(clock)
    for p in OUTSIDE:
        assert image.getpixel(p) == DESKTOP_RGB, f"{p} should show the desktop"
    for p in INSIDE:
        assert image.getpixel(p) != DESKTOP_RGB, f"{p} should belong to the clock"
    # Start-up only reads settings: a missing file stays missing.
    assert clock.ini_bytes() is None


@pytest.mark.parametrize("pos_x, pos_y, expected", [
    (" 1500", " 750", (100, 50)),
    # Partly off the left edge: kept as stored.
    ("-300", " 750", (-20, 50)),
    # On no monitor at all: a captionless window there could never be reached, so it is
    # centred instead, whether the value fits 16 bits or not.
    (" 30000", " 15000", CENTRE),
    (" 300000", " 300000", CENTRE),
    ("-200000", "-200000", CENTRE),
    # Not a number: the position stays 0 (its value at start).
    ("abc", " 750", (0, 50)),
    # An empty value counts as missing: centred.
    ("", "", CENTRE),
], ids=["inside", "partly-off", "off-screen", "too-big", "too-small", "text", "empty"])
def test_stored_position(app, pos_x, pos_y, expected):
    clock = app.start(ini={"Pos_X": pos_x, "Pos_Y": pos_y}, wait=False)
    # Wine does not map a window that lies wholly off the screen: look it up by title.
    window = clock.wait_window(name=WINDOW_TITLE, mapped=False)

    assert clock.wait_geometry((*expected, WIN_W, WIN_H)) == (*expected, WIN_W, WIN_H)
    x, y = expected
    if x < SCREEN_W and y < SCREEN_H and x + WIN_W > 0 and y + WIN_H > 0:
        assert clock.wait_window() == window, "the clock should be on the screen"


def test_second_start_ends_at_once_and_calls_the_first_back_from_the_tray(app, display):
    first = app.start(ini={"Pos_X": 1500, "Pos_Y": 750}, trace=MENU_TRACE)
    second = app.start(wait=False)

    assert second.wait_exit(timeout=5) == 0, "the second copy is still running or failed"
    assert first.alive()
    # Every window shown is the first copy's, told by the pid Wine gives it.
    shown = display.visible_windows()
    assert shown == [first.window]
    assert [int(display.run("xdotool", "getwindowpid", str(w))) for w in shown] == [first.pid]

    # Hidden in the tray, the clock comes back where it stood when started again.
    place = first.geometry()
    open_menu(first, ON_PENDULUM).click(TO_TRAY)
    assert wait_gone(first.windows), "the clock is still shown"
    wait_for(lambda: tray_window(display), 10, "no icon in the notification area")
    ini = first.ini_bytes()
    third = app.start(wait=False)
    assert third.wait_exit(timeout=10) == 0, "the third copy is still running or failed"
    wait_for(first.windows, 10, "the clock stayed in the tray", first)
    assert first.wait_geometry(place) == place
    assert wait_gone(lambda: tray_window(display)), "the icon stayed in the tray"
    assert first.ini_bytes() == ini, "calling the clock back changed the settings file"


def test_folder_with_blank_and_japanese_name(app):
    clock = app.start(ini={"Pos_X": 1500, "Pos_Y": 750}, folder_name="my clock 時計")

    assert clock.wait_geometry((100, 50, WIN_W, WIN_H)) == (100, 50, WIN_W, WIN_H)


def test_ini_codec_agrees_with_the_platform(wine, interop_path, tmp_path):
    folder = tmp_path / "interop 時計"
    folder.mkdir()

    result = wine.run([str(interop_path), to_windows_path(folder)], timeout=60)

    output = result.stdout.decode("utf-8", errors="replace")
    report = output + result.stderr.decode("utf-8", errors="replace")
    assert result.returncode == 0, f"ini_interop failed:\n{report}"
    lines = output.splitlines()
    assert any(line.startswith("PASS") for line in lines), f"no check ran:\n{report}"
    assert not any(line.startswith("FAIL") for line in lines), report


def test_drag_then_close_saves_position_and_keeps_other_settings(app):
    # A comment and an unrelated key must survive the writes on close, byte for byte.
    ini = "; keep me\r\n[Section]\r\nPos_X= 1500\r\nPos_Y= 750\r\nColor_1= 65535\r\n"
    clock = app.start(ini=ini.encode("cp932"))
    clock.wait_window()
    # Drag by the pendulum area, which moves the window without touching the alarm.
    x, y = clock.to_screen(40, 110)
    clock.drag(x, y, x + 50, y + 30)
    assert clock.wait_geometry((150, 80, WIN_W, WIN_H)) == (150, 80, WIN_W, WIN_H)

    clock.key("alt+F4")
    assert clock.wait_exit(10) is not None, "Alt+F4 should close the clock"
    text = clock.ini_bytes().decode("cp932")
    assert text.startswith("; keep me\r\n[Section]\r\n")
    assert "Pos_X= 2250\r\n" in text and "Pos_Y= 1200\r\n" in text
    assert "Color_1= 65535\r\n" in text
    assert "TopMost= 0\r\n" in text
