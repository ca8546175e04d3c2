"""The face in high contrast: with "HighContrast=-1" and the system's colours set white on
black before the start (Wine cannot switch high contrast on, and a running program keeps the
colours it first read), every pixel of the clock is one of the system's window, text and
highlight colours, with no shade; set black on white and started again, the face follows;
"HighContrast=0" keeps the user's own colours, which the file kept all along."""

from __future__ import annotations

import re
from pathlib import Path

from harness import DESKTOP_RGB, MENU_TRACE
from support_clock import ON_PENDULUM, open_menu, wait_for, wait_painted
from support_face import YELLOW, clock_ini

COLORS = r"HKCU\Control Panel\Colors"
SHOTS = Path("/tmp/zones-shots")
QUIT = "終了(&E)"
WHITE_ON_BLACK = {"Window": (0, 0, 0), "WindowText": (255, 255, 255), "Hilight": (0, 255, 255)}
BLACK_ON_WHITE = {"Window": (255, 255, 255), "WindowText": (0, 0, 0), "Hilight": (110, 0, 55)}


def read_colours(wine) -> dict:
    found = {}
    for name in WHITE_ON_BLACK:
        out = wine.run(["reg", "query", COLORS, "/v", name], locale="C.UTF-8").stdout.decode()
        m = re.search(name + r"\s+REG_SZ\s+(.*\S)", out)
        found[name] = m.group(1) if m else None
    return found


def set_colours(wine, colours: dict) -> None:
    """Written while no program runs; a fresh server reads them at the next start."""
    for name, value in colours.items():
        if value is None:
            args = ["reg", "delete", COLORS, "/v", name, "/f"]
        else:
            text = value if isinstance(value, str) else " ".join(map(str, value))
            args = ["reg", "add", COLORS, "/v", name, "/t", "REG_SZ", "/d", text, "/f"]
        wine.run(args, locale="C.UTF-8")
    wine.kill()


def clock_colours(clock, name: str) -> set:
    image = wait_painted(clock)
    SHOTS.mkdir(exist_ok=True)
    image.save(SHOTS / f"{name}.png")
    return set(image.getdata()) - {DESKTOP_RGB}  # the region's cut corners


def quit_clock(clock) -> None:
    open_menu(clock, ON_PENDULUM).click(QUIT)
    assert clock.wait_exit(10) is not None, "the clock did not quit"


def test_high_contrast_face_is_drawn_in_the_system_colours_alone(app, wine):
    before = read_colours(wine)
    ini = {**clock_ini(), "Pos_X": 300 * 15, "Pos_Y": 200 * 15, "TopMost": 0, "HighContrast": -1}
    try:
        for name, scheme in (("white-on-black", WHITE_ON_BLACK), ("black-on-white", BLACK_ON_WHITE)):
            set_colours(wine, scheme)
            clock = app.start(ini=ini, trace=MENU_TRACE)
            written = clock.ini_bytes()
            allowed = set(scheme.values())

            def in_scheme():
                seen = clock_colours(clock, f"high-contrast-{name}")
                return seen if seen == allowed else None
            # Every colour of the scheme is there (the hands, the numerals, the second ring),
            # and nothing else.
            seen = wait_for(in_scheme, 5, f"the face {name} is not in the system's colours")
            assert seen == allowed
            quit_clock(clock)
            assert clock.ini_bytes() == written, "the user's colours left the file"

        # Never: the user's own colours, shaded as ever, whatever the system's are.
        clock = app.start(ini={**ini, "HighContrast": 0}, trace=MENU_TRACE)
        seen = clock_colours(clock, "high-contrast-never")
        assert YELLOW in seen and not seen <= set(BLACK_ON_WHITE.values()), sorted(seen)[:10]
        quit_clock(clock)
    finally:
        set_colours(wine, before)
