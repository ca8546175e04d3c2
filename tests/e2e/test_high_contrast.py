"""The face in high contrast: with "HighContrast=-1" and the system's colours set white on
black before the start (Wine cannot switch high contrast on, and a running program keeps the
colours it first read), every pixel of the clock is one of the system's window, text and
highlight colours, with no shade; set black on white and started again, the face follows;
"HighContrast=0" keeps the user's own colours, which the file kept all along."""

from __future__ import annotations

import re
from pathlib import Path

from harness import DESKTOP_RGB, MENU_TRACE
from support_clock import ON_DIAL, ON_PENDULUM, open_menu, wait_for, wait_painted
from support_dialog import CANCEL, Dialog, new_window
from support_face import YELLOW, clock_ini

COLORS = r"HKCU\Control Panel\Colors"
SHOTS = Path("/tmp/zones-shots")
WHITE_ON_BLACK = {"Window": (0, 0, 0), "WindowText": (255, 255, 255), "Hilight": (0, 255, 255)}
BLACK_ON_WHITE = {"Window": (255, 255, 255), "WindowText": (0, 0, 0), "Hilight": (110, 0, 55)}
# What the dialog's faces and captions take, as a high-contrast scheme sets them alike.
DIALOG_NAMES = {"ButtonFace": "Window", "ButtonText": "WindowText", "ActiveTitle": "Hilight",
                "TitleText": "Window"}


def with_dialog(scheme: dict) -> dict:
    return {**scheme, **{name: scheme[like] for name, like in DIALOG_NAMES.items()}}


def read_colours(wine) -> dict:
    found = {}
    for name in with_dialog(WHITE_ON_BLACK):
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


MENU = {"ja": ("設定変更(&S)", "終了(&E)", "Tessarineの設定"),
        "en": ("&Settings...", "&Exit", "Tessarine Settings")}


def open_settings(clock, language: str) -> Dialog:
    settings, _, title = MENU[language]
    open_menu(clock, ON_DIAL).click(settings)
    window = new_window(clock, title, timeout=10)
    assert window, "the settings dialog did not open"
    return Dialog(clock, window)


def quit_clock(clock, language: str = "ja") -> None:
    open_menu(clock, ON_PENDULUM).click(MENU[language][1])
    assert clock.wait_exit(10) is not None, "the clock did not quit"


def test_high_contrast_face_is_drawn_in_the_system_colours_alone(app, wine):
    before = read_colours(wine)
    ini = {**clock_ini(), "Pos_X": 300 * 15, "Pos_Y": 200 * 15, "TopMost": 0, "HighContrast": -1}
    try:
        for name, scheme, language in (("white-on-black", WHITE_ON_BLACK, "ja"),
                                       ("black-on-white", BLACK_ON_WHITE, "en")):
            ini["Language"] = language
            set_colours(wine, with_dialog(scheme))
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
            # No texture or picture behind the captions: all but the preview, the pie and
            # the lists is in the scheme's colours.
            dialog = open_settings(clock, language)

            def share(shot) -> float:
                pixels = list(shot.getdata())
                return sum(p in allowed for p in pixels) / len(pixels)
            shot = dialog.image_when(lambda shot: share(shot) > 0.8, SHOTS / f"dialog-{name}.png")
            assert share(shot) > 0.8, f"{share(shot):.0%} of the dialog in the system's colours"
            dialog.click(CANCEL)
            wait_for(lambda: dialog.window not in clock.windows(), 5, "the dialog stays open")
            quit_clock(clock, language)
            assert clock.ini_bytes() == written, "the user's colours left the file"

        # Never: the user's own colours, shaded as ever, whatever the system's are.
        clock = app.start(ini={**ini, "HighContrast": 0}, trace=MENU_TRACE)
        seen = clock_colours(clock, "high-contrast-never")
        assert YELLOW in seen and not seen <= set(BLACK_ON_WHITE.values()), sorted(seen)[:10]
        quit_clock(clock, ini["Language"])
    finally:
        set_colours(wine, before)
