"""The clock at the screen densities of today's laptops and 4K screens: Wine's LogPixels at
96, 120, 144 and 192. At each the window has its 96-DPI size scaled and rounded half away from
zero, and dial and numerals are drawn at that size rather than stretched; the settings dialog
has every box of its layout scaled; a position saved at one density is the same place in
inches at another; and a move to a monitor of another density (WM_DPICHANGED, sent by a helper
because Wine has one DPI for all monitors) redraws the clock, or the dialog with its unsaved
edits, at the rectangle the system suggests. The dialog's pictures at 144 DPI are their 150 %
drawings copied pixel for pixel, not the 100 % ones enlarged.

A change of LogPixels takes effect when the prefix's server restarts; the fixture sets 96
again at the end, for the tests that follow.
"""

from __future__ import annotations

import math
import statistics
import time
from pathlib import Path

import pytest
from PIL import Image

from harness import DESKTOP_RGB, HarnessError, MENU_TRACE
from support_clock import colour_value, ini_values, wait_for
from support_dialog import BOARD, GRAPH, OK, SIZE, TRACK_0, open_dialog


SIZES = {96: (81, 137), 120: (101, 171), 144: (122, 206), 192: (162, 274)}
YELLOW = (255, 255, 0)
# Black face: the dial box's corners keep the vertical shade, whose blue is 30 above red and
# green, which nothing on the face has. Hands in pure colours, numerals yellow.
INI = {"Color_0": 0, "Color_1": 0x00FFFF, "Color_2": 0x0000FF, "Color_3": 0x00FF00,
       "Color_4": 0xFF0000, "Color_5": 0x008080, "Shape": 0,
       **{f"Graph_Color_{i}": colour_value(c) for i, c in enumerate(GRAPH)}}
ON_PENDULUM = (40, 110)  # at 96 DPI
# The settings dialog at 96 DPI: a point on the OK face left of its caption and one on the
# panel just left of the face, and the memory pie's board (inside its corner) and centre.
OK_FACE, LEFT_OF_OK = (362, 490), (350, 494)
ON_BOARD, PIE_CENTRE = (BOARD[0] + 2, BOARD[1] + 2), (BOARD[0] + 65, BOARD[1] + 65)
# Pictures of the dialog at 96 DPI: the close box, the first shape mark (the others lie 20
# below it) and the first alarm switch; and a stretch of the title strip clear of its caption.
CLOSE, SHAPE_MARK, SWITCH_0 = (516, 4), (134, 70), (22, 370)
STRIP = (300, 0, 500, 20)
ASSETS = Path(__file__).resolve().parents[2] / "assets"


@pytest.fixture
def density(wine):
    """`density(dpi)` sets LogPixels for the programs started next; 96 again at the end, even
    when the test failed, so that no later test runs at another density."""
    def set_dpi(dpi: int) -> None:
        result = wine.run(["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                           "/t", "REG_DWORD", "/d", str(dpi), "/f"])
        wine.kill()
        assert result.returncode == 0, f"reg add LogPixels {dpi}: {result.stderr[-500:]}"
    try:
        yield set_dpi
    finally:
        set_dpi(96)


def scaled(v: int, dpi: int) -> int:
    return int(math.floor(v * dpi / 96 + 0.5))


def settled_dial(clock, dpi: int, timeout: float = 5.0):
    """The window's geometry and its dial box once the window has its size at `dpi` and is
    painted."""
    end = time.monotonic() + timeout
    size, dial = SIZES[dpi], scaled(80, dpi)
    while True:
        g = clock.geometry()
        if tuple(g[2:]) == size:
            shot = clock.screenshot((g[0], g[1], dial, dial))
            if DESKTOP_RGB not in (shot.getpixel((dial // 2, 2)), shot.getpixel((2, dial // 2))):
                return g, shot
        if time.monotonic() > end:
            raise HarnessError(f"the clock did not settle at {size}: {g}")
        time.sleep(0.1)


def dial_diameter(dial) -> float:
    """The face disc's diameter from its area: every pixel of the box that is not corner shade."""
    w, h = dial.size
    corners = sum(1 for r, g, b in dial.getdata() if b - r == 30 and r == g)
    return 2 * math.sqrt((w * h - corners) / math.pi)


def glyph_height(dial) -> float:
    """The median height of the twelve numerals' yellow pixels, each looked for around its
    place on the circle of radius 8 dial units (hands may cover part of one or two)."""
    unit = dial.size[0] / 20
    heights = []
    for m in range(1, 13):
        a = m * math.pi / 6 - math.pi / 2
        cx, cy = (10 + 8 * math.cos(a)) * unit, (10 + 8 * math.sin(a)) * unit
        ys = [y for y in range(int(cy - 1.5 * unit), int(cy + 1.5 * unit) + 1)
              for x in range(int(cx - 1.2 * unit), int(cx + 1.2 * unit) + 1)
              if 0 <= x < dial.size[0] and 0 <= y < dial.size[1]
              and dial.getpixel((x, y)) == YELLOW]
        if ys:
            heights.append(max(ys) - min(ys) + 1)
    return statistics.median(heights)


def blocky_share(dial) -> float:
    """Of the aligned 2 x 2 blocks that hold a numeral's or a hand's pixel, the share that are
    one colour: 1.0 for a picture doubled pixel by pixel."""
    pure = {YELLOW, (255, 0, 0), (0, 255, 0)}
    blocks = uniform = 0
    for y in range(0, dial.size[1] - 1, 2):
        for x in range(0, dial.size[0] - 1, 2):
            px = [dial.getpixel((x + i, y + j)) for j in (0, 1) for i in (0, 1)]
            if any(p in pure for p in px):
                blocks += 1
                uniform += len(set(px)) == 1
    return uniform / blocks


def art(name: str, dpi: int) -> Image.Image:
    scale = dpi * 100 // 96
    return Image.open(ASSETS / (f"{name}.bmp" if scale == 100 else f"{name}@{scale}.bmp"))


def shows_art(shot, dpi: int, name: str, at) -> bool:
    """Whether the dialog's screenshot shows picture `name` at `at` (96-DPI client pixels) as
    drawn for `dpi`, pixel for pixel."""
    picture = art(name, dpi).convert("RGB")
    x, y = scaled(at[0], dpi), scaled(at[1], dpi)
    return shot.crop((x, y, x + picture.width, y + picture.height)).tobytes() == picture.tobytes()


def drawn_for(shot, dpi: int, shape: int, switch_on: bool) -> list:
    """The dialog's pictures that are not their drawings for `dpi`: title strip, close box,
    shape marks with `shape` selected, the first alarm switch."""
    part = tuple(scaled(v, dpi) for v in STRIP)
    wrong = [] if shot.crop(part).tobytes() == art("title", dpi).crop(part).tobytes() else ["title"]
    expected = [("close_up", CLOSE), ("switch_on" if switch_on else "switch_off", SWITCH_0)]
    expected += [("option_on" if i == shape else "option_off", (SHAPE_MARK[0], SHAPE_MARK[1] + 20 * i))
                 for i in range(3)]
    return wrong + [name for name, at in expected if not shows_art(shot, dpi, name, at)]


def check_dialog(clock, dpi: int) -> None:
    """The settings dialog at `dpi`: its whole layout scaled, the memory pie with it."""
    dialog = open_dialog(clock)
    x, y, w, h = dialog.geometry()
    assert all(abs(a - scaled(b, dpi)) <= 1 for a, b in zip((w, h), SIZE)), (w, h)

    def at(p):
        return shot.getpixel((scaled(p[0], dpi), scaled(p[1], dpi)))

    def painted():
        nonlocal shot
        shot = clock.display.screenshot((x, y, w, h))
        return at(ON_BOARD) == GRAPH[0]
    shot = None
    wait_for(painted, 5, "the dialog's memory board was not painted in its back colour")
    face, panel = at(OK_FACE), at(LEFT_OF_OK)
    assert min(face) > 180 and max(abs(c - 128) for c in panel) < 40, (face, panel)
    # The pie's radius is 45 pixels at 96 DPI: the top of the disc in the total or free
    # colour at 40 scaled pixels above the centre, the board at 50.
    cx, cy = scaled(PIE_CENTRE[0], dpi), scaled(PIE_CENTRE[1], dpi)
    assert shot.getpixel((cx, cy - scaled(40, dpi))) in (GRAPH[1], GRAPH[2])
    assert shot.getpixel((cx, cy - scaled(50, dpi))) == GRAPH[0]
    assert drawn_for(shot, dpi, INI["Shape"], False) == []
    clock.display.key("Escape")
    dialog.wait_closed()


def test_clock_at_each_density_and_a_move_to_another(app, density, dpi_changed_exe, tmp_path):
    seen = {}
    for dpi in (96, 120, 144, 192):
        density(dpi)
        # The same pixel place at every density: the file's twips are of 96 DPI.
        trace = MENU_TRACE if dpi == 144 else False  # the dialog is opened through the menu
        clock = app.start(ini=dict(INI, Pos_X=1500, Pos_Y=1500), trace=trace)
        (x, y, w, h), dial = settled_dial(clock, dpi)
        dial.save(tmp_path / f"dial-{dpi}.png")
        assert (x, y) == (100, 100), f"at {dpi} DPI"
        seen[dpi] = (dial_diameter(dial), glyph_height(dial), dial)

        if dpi == 144:
            check_dialog(clock, dpi)
            # Moved by the pendulum area and closed: the position is kept in twips of 96 DPI.
            px, py = x + scaled(ON_PENDULUM[0], dpi), y + scaled(ON_PENDULUM[1], dpi)
            clock.drag(px, py, px + 60, py + 30)
            assert clock.wait_geometry((x + 60, y + 30, w, h)) == (x + 60, y + 30, w, h)
            clock.key("alt+F4")
            assert clock.wait_exit(10) is not None
            saved = clock.ini_bytes()
            assert b"Pos_X= 2400\r\n" in saved and b"Pos_Y= 1950\r\n" in saved, saved
        clock.stop()

    base_diameter, base_glyph, base_dial = seen[96]
    for dpi, (diameter, glyph, _) in seen.items():
        factor = dpi / 96
        assert abs(diameter - base_diameter * factor) <= 1, f"dial at {dpi} DPI: {diameter}"
        assert abs(glyph - base_glyph * factor) <= 1, f"numerals at {dpi} DPI: {glyph}"

    # Drawn at 192, not the 96-DPI picture doubled: numerals differ from the doubled ones, and
    # their edges and the hands' are not made of 2 x 2 blocks.
    dial192 = seen[192][2]
    doubled = base_dial.resize(dial192.size, Image.NEAREST)
    differing = sum(1 for a, b in zip(dial192.getdata(), doubled.getdata())
                    if (a == YELLOW) != (b == YELLOW))
    assert differing > 100, f"the 192-DPI numerals are the 96-DPI ones doubled ({differing})"
    assert blocky_share(doubled) == 1.0
    assert blocky_share(dial192) < 0.5

    # Back at 96 DPI the file written at 144 puts the clock at the same pixels, 160 x 130, where
    # it was left. Then a move to a 144-DPI monitor.
    density(96)
    clock = app.start(ini=saved, trace=MENU_TRACE)
    (x, y, w, h), _ = settled_dial(clock, 96)
    assert (x, y) == (160, 130)
    suggested = (300, 200, 300 + SIZES[144][0], 200 + SIZES[144][1])
    result = clock.wine.run([str(dpi_changed_exe), "144", *map(str, suggested)], timeout=30)
    assert result.returncode == 0, result.stderr[-500:]
    (x, y, w, h), dial = settled_dial(clock, 144)
    dial.save(tmp_path / "dial-moved-to-144.png")
    assert (x, y) == suggested[:2]
    assert abs(dial_diameter(dial) - seen[144][0]) <= 1
    assert abs(glyph_height(dial) - seen[144][1]) <= 1

    # The dialog, edited but not saved, moved to a 144-DPI monitor: the alarm switched on, a
    # track typed, the second shape chosen. It takes the suggested rectangle, its pictures are
    # the 150 % drawings and still show the edits, and OK saves them.
    dialog = open_dialog(clock)

    def shot():
        return clock.display.screenshot(dialog.geometry())
    dialog.click((SWITCH_0[0] + 6, SWITCH_0[1] + 6))
    wait_for(lambda: shows_art(shot(), 96, "switch_on", SWITCH_0), 5, "the alarm was not switched on")
    track = (TRACK_0[0] - 4, TRACK_0[1] - 8, TRACK_0[0] + 12, TRACK_0[1] + 8)
    empty = shot().crop(track).tobytes()
    dialog.click(TRACK_0)
    clock.display.key("7")
    wait_for(lambda: shot().crop(track).tobytes() != empty, 5, "the typed track did not show")
    dialog.click((SHAPE_MARK[0] + 6, SHAPE_MARK[1] + 26))
    wait_for(lambda: shows_art(shot(), 96, "option_on", (SHAPE_MARK[0], SHAPE_MARK[1] + 20)), 5,
             "the second shape was not chosen")
    size = (scaled(SIZE[0], 144), scaled(SIZE[1], 144))
    suggested = (100, 0, 100 + size[0], size[1])
    result = clock.wine.run([str(dpi_changed_exe), "144", *map(str, suggested),
                             "Tessarine_F_Setting"], timeout=30)
    assert result.returncode == 0, result.stderr[-500:]
    wait_for(lambda: tuple(dialog.geometry()) == (100, 0, *size)
             and drawn_for(shot(), 144, 1, True) == [], 5,
             "the dialog was not redrawn at 144 DPI in the suggested rectangle with its edits")
    shot().save(tmp_path / "dialog-moved-to-144.png")
    dialog.click((scaled(OK[0], 144), scaled(OK[1], 144)))
    dialog.wait_closed()
    values = ini_values(clock.ini_bytes())
    assert (values["Shape"], values["Sound_C_0"], values["Sound_Repeat_0"]) == (" 1", " 1", " 7")
