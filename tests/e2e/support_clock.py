"""What many end-to-end tests need of the clock window: where to press, its geometry, its
menus and the tray, waiting on a condition, and reading the INI it wrote."""

from __future__ import annotations

import subprocess
import time
from typing import Callable, Optional

import pytest
from PIL import Image, ImageChops

from harness import DESKTOP_RGB, SCREEN_H, SCREEN_W, TWIPS_PER_PIXEL, drawn_menu, tray_window


WIN_W, WIN_H = 81, 137


def centred(screen_px: int, window_px: int) -> int:
    """The program centres in twips: (screen - window) in twips, halved dropping the
    remainder, then shown at 15 twips per pixel. On 1024 x 768 that is 7072 twips = 471.47 px
    across and 4732 twips = 315.47 px down; truncating and rounding both give 471 and 315."""
    twips = (screen_px * TWIPS_PER_PIXEL - window_px * TWIPS_PER_PIXEL) // 2
    return round(twips / TWIPS_PER_PIXEL)


CENTRE = (centred(SCREEN_W, WIN_W), centred(SCREEN_H, WIN_H))


# CreateRoundRectRgn(0, 0, 81, 137, 15, 15), and GDI regions leave out their right and
# bottom edges: the four corners, the last column and the last row show the desktop.
OUTSIDE = [(0, 0), (WIN_W - 2, 0), (0, WIN_H - 2), (WIN_W - 2, WIN_H - 2),
           (WIN_W - 1, WIN_H // 2), (WIN_W // 2, WIN_H - 1)]


# Inside: the middle of each straight edge just inside the region, and the dial's centre.
INSIDE = [(WIN_W // 2, 0), (0, WIN_H // 2), (WIN_W - 2, WIN_H // 2), (WIN_W // 2, WIN_H - 2),
          (40, 40)]


def wait_painted(app, timeout: float = 5.0):
    """The window's pixels once every INSIDE point differs from the desktop."""
    end = time.monotonic() + timeout
    while True:
        image = app.window_image()
        if all(image.getpixel(p) != DESKTOP_RGB for p in INSIDE) or time.monotonic() > end:
            return image
        time.sleep(0.1)


CLICK_THROUGH, OPACITY = "ｸﾘｯｸを通す(&L)", "不透明度(&O)"
ZONES = "他の地域の時刻(&W)"
STRIKE, STRIKE_WINDOW = "時報を鳴らす(&J)", "時報の設定(&K)..."


CLOCK_MENU = ["設定変更(&S)", ZONES, "-", "常に手前に表示(&N)", "-", STRIKE, STRIKE_WINDOW, "-",
              "時計をﾀｽｸﾄﾚｲへ(&T)", "-", CLICK_THROUGH, OPACITY, "-", "終了(&E)"]


TRAY_MENU = ["時計の表示(&F)", "-", ZONES, STRIKE, STRIKE_WINDOW, "-", CLICK_THROUGH, OPACITY, "-",
             "終了(&E)"]


ON_TOP = "常に手前に表示(&N)"


def ini_keys(data: bytes) -> list:
    return [line.split(b"=", 1)[0].decode("cp932") for line in data.split(b"\r\n") if b"=" in line]


def ini_values(data: bytes) -> dict:
    return {k.decode("cp932"): v.decode("cp932")
            for k, v in (line.split(b"=", 1) for line in data.split(b"\r\n") if b"=" in line)}


def ini_value(clock, key: str) -> Optional[str]:
    return ini_values(clock.ini_bytes() or b"").get(key)


def open_menu(clock, where):
    x, y, _, _ = clock.geometry()
    since = len(clock.trace_lines())
    clock.click(x + where[0], y + where[1], 3)
    return drawn_menu(clock, since)


def open_tray_menu(clock):
    # The notification area may come back elsewhere after it was emptied.
    tx, ty, _, _ = tray_window(clock.display)
    since = len(clock.trace_lines())
    clock.click(tx + 10, ty + 10, 3)
    return drawn_menu(clock, since)


def wait_gone(probe, timeout: float = 5):
    end = time.monotonic() + timeout
    while probe() and time.monotonic() < end:
        time.sleep(0.1)
    return not probe()


TO_TRAY = "時計をﾀｽｸﾄﾚｲへ(&T)"


FROM_TRAY = "時計の表示(&F)"


# Pure colours the tests paint the clock with.
RED, GREEN, BLUE = (255, 0, 0), (0, 255, 0), (0, 0, 255)
YELLOW, CYAN, MAGENTA = (255, 255, 0), (0, 255, 255), (255, 0, 255)


def colour_value(rgb) -> int:
    """A colour as the INI holds it: red in the low byte."""
    r, g, b = rgb
    return r + 256 * g + 65536 * b


def differing_pixels(a: Image.Image, b: Image.Image, holes=()) -> int:
    """Pixels that differ between `a` and `b`, not counting the rectangles (x, y, w, h) in
    `holes`."""
    diff = ImageChops.difference(a, b).convert("L").point(lambda v: 255 if v else 0)
    for x, y, w, h in holes:
        diff.paste(0, (x, y, x + w, y + h))
    return sum(1 for v in diff.getdata() if v)


# Window-relative points: the dial box covers rows 0..79, the pendulum box rows 84..136.
ON_DIAL = (40, 40)
ON_PENDULUM = (40, 110)


def wait_for(probe: Callable[[], object], timeout: float, what: str, clock=None):
    """Polls `probe` until it gives something true and returns that; fails with `what` and,
    given the program's run, the tail of its trace."""
    end = time.monotonic() + timeout
    while True:
        result = probe()
        if result or time.monotonic() >= end:
            break
        time.sleep(0.1)
    if not result:
        tail = "\n".join(clock.trace_lines()[-15:]) if clock else ""
        pytest.fail(f"{what} within {timeout} s\ntrace tail:\n{tail}")
    return result


def watch(seconds: float) -> None:
    """A window of time in which something must not happen (no second ring, no stop). A wait
    for something that must happen is `wait_for`, never this."""
    time.sleep(seconds)


def until(moment: float) -> None:
    """Sleeps until the time.monotonic() value `moment`: for a step planned at a time of the
    program's own (a shot just before its one-minute check), not for waiting on an event."""
    time.sleep(max(0.0, moment - time.monotonic()))


def immutable(on: bool, *paths) -> bool:
    """chattr +i (or -i): not even root may change the file or the folder's entries."""
    result = subprocess.run(["chattr", "+i" if on else "-i", *map(str, paths)],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return result.returncode == 0


def look(wine, probe) -> tuple:
    """The clock's extended style and its layered alpha (-1 when not layered), read by
    tests/win/clock_probe.cpp."""
    out = wine.run([str(probe), "look"]).stdout.decode().split()
    return int(out[1], 16), int(out[3])


CLICKS_PASS = 0x20  # WS_EX_TRANSPARENT
