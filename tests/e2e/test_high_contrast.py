"""High contrast, set before the start (Wine can neither switch it on nor hand a running program
new colours): with "HighContrast=-1", every pixel of the clock is one of the system's window,
text and highlight colours; started again under other colours, it follows them; the settings
dialog draws no picture behind its captions, and its memory pie stands out in the text colour,
in Japanese and in English; the tray icon is the system's colours too; the file keeps the user's
colours."""

from __future__ import annotations

import re

from harness import DESKTOP_RGB, MENU_TRACE
from harness import tray_window
from support_clock import ON_DIAL, ON_PENDULUM, open_menu, open_tray_menu, wait_for, wait_painted
from support_dialog import CANCEL, Dialog, new_window
from support_face import clock_ini

COLORS = r"HKCU\Control Panel\Colors"
NAMES = ("Window", "WindowText", "Hilight", "ButtonFace", "ButtonText", "ActiveTitle", "TitleText")
# (window, text, highlight): the dialog's faces, captions and title strip take the same three.
SCHEMES = {"white-on-black": ((0, 0, 0), (255, 255, 255), (0, 255, 255)),
           "black-on-white": ((255, 255, 255), (0, 0, 0), (110, 0, 55))}
MENU = {"ja": ("設定変更(&S)", "終了(&E)", "Tessarineの設定", "時計をﾀｽｸﾄﾚｲへ(&T)"),
        "en": ("&Settings...", "&Exit", "Tessarine Settings", "&Hide in Notification Area")}


def set_colours(wine, values) -> list:
    """Each named colour set ("r g b") or deleted (None); the values they had. A fresh server
    reads them at the next start."""
    before = []
    for name, value in zip(NAMES, values):
        out = wine.run(["reg", "query", COLORS, "/v", name], locale="C.UTF-8").stdout.decode()
        m = re.search(name + r"\s+REG_SZ\s+(.*\S)", out)
        before.append(m.group(1) if m else None)
        wine.run(["reg", "delete", COLORS, "/v", name, "/f"] if value is None else
                 ["reg", "add", COLORS, "/v", name, "/t", "REG_SZ", "/d", value, "/f"],
                 locale="C.UTF-8")
    wine.kill()
    return before


def test_high_contrast_face_and_dialog_are_drawn_in_the_system_colours(app, wine, tmp_path):
    ini = {**clock_ini(), "Pos_X": 300 * 15, "Pos_Y": 200 * 15, "TopMost": 0, "HighContrast": -1}
    before = None
    try:
        for (name, (window, text, lit)), language in zip(SCHEMES.items(), ("ja", "en")):
            rgb = [" ".join(map(str, c)) for c in (window, text, lit, window, text, lit, window)]
            was = set_colours(wine, rgb)
            before = before or was
            clock = app.start(ini={**ini, "Language": language}, trace=MENU_TRACE)
            written, allowed = clock.ini_bytes(), {window, text, lit}
            # The hands, the numerals and the second ring, in these three and no other.
            wait_for(lambda: set(wait_painted(clock).getdata()) - {DESKTOP_RGB} == allowed,
                            5, f"the face {name} is not in the system's colours")
            wait_painted(clock).save(tmp_path / f"clock-{name}.png")

            settings, quit_text, title, to_tray = MENU[language]
            open_menu(clock, ON_DIAL).click(settings)
            dialog = Dialog(clock, new_window(clock, title, timeout=10))
            share = lambda shot: sum(p in allowed for p in shot.getdata()) / len(shot.getdata())
            # All but the preview, the pie and the lists is in the scheme's colours.
            shot = dialog.image_when(lambda s: share(s) > 0.8, tmp_path / f"dialog-{name}.png")
            assert share(shot) > 0.8, f"{share(shot):.0%} of the dialog in the system's colours"
            dialog.click(CANCEL)
            wait_for(lambda: dialog.window not in clock.windows(), 5, "the dialog stays open")

            # In the tray, the icon is a disc of the window colour edged in the text colour.
            open_menu(clock, ON_PENDULUM).click(to_tray)
            x, y, w, h = wait_for(lambda: tray_window(clock.display), 10, "no tray icon")
            icon = lambda: set(clock.display.screenshot((x + 2, y + 2, 16, 16)).getdata())
            wait_for(lambda: {window, text} <= icon() <= allowed, 5,
                     f"the tray icon is not in the system's colours: {icon()}")
            clock.display.screenshot((x, y, w, h)).save(tmp_path / f"tray-{name}.png")
            open_tray_menu(clock).click(quit_text)
            # Left in the tray, it starts there next time: nothing else was written.
            assert clock.wait_exit(10) is not None
            assert clock.ini_bytes() == written.rstrip(b"\r\n") + b"\r\nInTray=-1\r\n"
    finally:
        if before:
            set_colours(wine, before)
