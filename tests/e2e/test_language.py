"""Every word in the user's language: English under an English display language, Japanese
under a Japanese one, and the settings file's "Language" over either. Read as a user and a
screen reader meet them: the clock's and the tray's menus (from Wine's +menu trace), the
dialog (through oleacc, and on the screen), and every caption measured against its box."""

from __future__ import annotations

import re
from pathlib import Path

import pytest

from harness import MENU_TRACE, tray_window
from support_clock import ON_DIAL, ini_values, open_menu, open_tray_menu, wait_for, wait_gone
from support_dialog import (CANCEL, CLOCK_CLASS, DIALOG_CLASS, OK, Dialog, clock_window,
                            new_window, read_tree, reloaded)

REPO = Path(__file__).resolve().parents[2]
# Kana, kanji and the full- and half-width forms: none may be left in an English text.
JAPANESE = re.compile(r"[\u3000-\u30ff\u3400-\u9fff\uff00-\uffef]")
EN_CLOCK_MENU = ["&Settings...", "&World Time...", "-", "Always on &Top", "-", "St&rike the Hours",
                 "Stri&ke Settings...", "-", "&Hide in Notification Area", "-", "C&lick Through",
                 "&Opacity", "-", "&Exit"]
JA_CLOCK_MENU = ["設定変更(&S)", "他の地域の時刻(&W)", "-", "常に手前に表示(&N)", "-", "時報を鳴らす(&J)",
                 "時報の設定(&K)...", "-", "時計をﾀｽｸﾄﾚｲへ(&T)", "-", "ｸﾘｯｸを通す(&L)", "不透明度(&O)",
                 "-", "終了(&E)"]


@pytest.fixture(scope="session")
def caption_fit_exe() -> Path:
    path = REPO / "build" / "win32" / "caption_fit.exe"
    if not path.is_file():
        pytest.fail(f"{path} does not exist: build the Windows target first", pytrace=False)
    return path


@pytest.mark.parametrize("locale", ["ja_JP.UTF-8", "en_US.UTF-8"])
def test_every_caption_fits_its_box_in_every_language(wine, caption_fit_exe, locale):
    """Each language's captions, in its font and in the other's, on a Japanese and on an
    English system, clear of their neighbours and group frames at 100, 150 and 200 %."""
    result = wine.run([str(caption_fit_exe), "96", "144", "192"], timeout=60, locale=locale)
    out = result.stdout.decode("utf-8")
    assert result.returncode == 0, "captions that do not fit or touch a neighbour:\n" + out
    assert int(out.split("checked\t")[1]) >= 3 * 2 * 2 * 40


def open_settings(clock, item: str) -> Dialog:
    menu = open_menu(clock, ON_DIAL)
    menu.click(item)
    window = wait_for(lambda: [w for w in clock.windows()
                               if clock.display.window_name(w) not in ("Tessarine", "")], 10,
                      "the dialog did not open")
    return Dialog(clock, window[0])


def test_english_clock_menus_dialog_and_reader(app, acc_tree_exe, tmp_path):
    """Under an English display language: the clock's menu, the dialog as seen and as read,
    and the tray's menu are English, with no Japanese character left; the reader hears the
    clock's alarm in English."""
    clock = app.start({"Pos_X": 150, "Pos_Y": 150, "Sound_C_0": 1, "Sound_H_0": 7,
                       "Sound_M_0": 30, "Sound_Kbn_0": 1}, trace=MENU_TRACE,
                      locale="en_US.UTF-8")
    (me,), _ = read_tree(clock, acc_tree_exe, CLOCK_CLASS)
    assert re.search(r"  Next alarm 7:30( \(\w{3}\))?$", me[5]), me

    assert open_menu(clock, ON_DIAL).texts() == EN_CLOCK_MENU
    clock.display.key("Escape")
    dialog = open_settings(clock, "&Settings...")
    assert clock.display.window_name(dialog.window) == "Tessarine Settings"
    rows, _ = read_tree(clock, acc_tree_exe, DIALOG_CLASS)
    heard = [(row[4], row[5]) for row in rows]
    assert not [h for h in heard if JAPANESE.search(h[0] + h[1])], heard
    for name in ("OK", "Cancel", "Close", "Background", "Graph Background", "Alarm 1",
                 "Alarm 1 Loop track", "Alarm 2 MP3/WAV ...", "Check every"):
        assert name in dict(heard), (name, heard)
    assert dict(heard)["Alarm 1 Loop track"] == "None"
    assert dict(heard)["Check every"].endswith(" min")
    dialog.image(tmp_path / "dialog-en.png")
    dialog.click(CANCEL)
    dialog.wait_closed()

    open_menu(clock, ON_DIAL).click("&Hide in Notification Area")
    assert wait_gone(clock.windows), "the clock is still shown"
    wait_for(lambda: tray_window(clock.display), 10, "no icon in the notification area")
    tray = open_tray_menu(clock)
    assert tray.texts() == ["Show &Clock", "-", "&World Time...", "St&rike the Hours",
                            "Stri&ke Settings...", "-", "C&lick Through", "&Opacity", "-", "&Exit"]
    tray.click("Show &Clock")
    wait_for(clock.windows, 5, "the clock did not come back")


@pytest.mark.parametrize("locale, setting, menu, title", [
    ("en_US.UTF-8", "ja", JA_CLOCK_MENU, "Tessarineの設定"),
    ("ja_JP.UTF-8", "en", EN_CLOCK_MENU, "Tessarine Settings"),
], ids=["ja-under-english", "en-under-japanese"])
def test_the_setting_wins_and_stays_as_written(app, locale, setting, menu, title):
    """"Language" in the file chooses over the display language, for the menu and the dialog;
    an OK that changed nothing leaves the file byte for byte as it was, the key with it."""
    clock = app.start({"Pos_X": 150, "Pos_Y": 150, "Language": setting}, trace=MENU_TRACE,
                      locale=locale)
    # Once through OK, so that the file holds every key as the program writes it.
    for _ in range(2):
        saved = clock.ini_bytes()
        assert open_menu(clock, ON_DIAL).texts() == menu
        clock.display.key("Escape")
        old = clock_window(clock)
        dialog = open_settings(clock, menu[0])
        assert clock.display.window_name(dialog.window) == title
        dialog.click(OK)
        dialog.wait_closed()
        reloaded(clock, old)
    assert clock.ini_bytes() == saved
    assert ini_values(saved)["Language"] == setting
