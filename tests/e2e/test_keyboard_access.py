"""The clock and its settings dialog with the keyboard alone, as read by a screen reader
through oleacc from another process (tests/win/acc_tree.cpp prints what a reader gets)."""

from __future__ import annotations

import re
from pathlib import Path

import pytest

from harness import MENU_TRACE, drawn_menu
from support_clock import wait_for
from support_dialog import (CHOOSER_TITLE, CLOCK_CLASS, COLOUR_TITLE, DIALOG_CLASS, closed,
                            new_window, read_tree, type_text)

ROLE_CLOCK, ROLE_STATIC, ROLE_CHECK = 0x3D, 41, 44
ROLE_DIALOG, ROLE_TEXT, ROLE_BUTTON, ROLE_SLIDER = 0x12, 42, 43, 51
CHECKED, UNAVAILABLE, INVISIBLE = 0x10, 0x1, 0x8000
OPTIONS_CLASS, OPTIONS_TITLE = "Tessarine_AlarmOptions", "ｱﾗｰﾑ1の詳細"


@pytest.fixture
def density(wine):
    """Sets Wine's LogPixels (in effect once the prefix's server restarts); 96 again after."""
    def set_dpi(dpi: int) -> None:
        wine.run(["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                  "REG_DWORD", "/d", str(dpi), "/f"])
        wine.kill()
    try:
        yield set_dpi
    finally:
        set_dpi(96)


# The stops of Tab in reading order, as the layout places them: name, client box at 96 DPI.
# Group panels start at: colours (14, 62), shape (126, 62), memory (250, 62), alarms (14, 354).
def alarm_row(i: int, kind: str) -> list:
    y = 366 + 48 * i
    row = [(f"ｱﾗｰﾑ{i + 1}", (22, y + 4, 12, 12))]
    if kind == "off":
        return row
    a = f"ｱﾗｰﾑ{i + 1} "
    # Left to right: the chosen mark of the sound kind before or after the track list.
    cd = [(a + "音楽CD", (158, y + 4, 13, 13))] if kind == "cd" else []
    file = [(a + "MP3、WAV", (346, y + 4, 13, 13))] if kind == "file" else []
    return row + [(a + "時", (38, y, 37, 21)), (a + "分", (94, y, 37, 21))] + cd + [
        (a + "曲目をﾘﾋﾟｰﾄ", (222, y, 41, 20))] + file + [
        (a + "MP3、WAV ...", (430, y, 21, 20)), (a + "ｸﾘｱ", (454, y, 53, 19)),
        (a + "詳細", (454, y + 23, 53, 19))]


def stops(shape: str, rows: tuple) -> list:
    colours = ["背景", "文字", "時針", "分針", "秒針", "振り子", "初期値"]
    graph = ["ｸﾞﾗﾌ " + g for g in ("背景", "物理ﾒﾓﾘ（Total）", "物理ﾒﾓﾘ（Free）", "％表示")]
    shapes = {"真円": 0, "楕円（縦）": 1, "楕円（横）": 2}
    return ([(c, (22, 70 + 28 * i, 61, 20)) for i, c in enumerate(colours)]
            + [(shape, (134, 70 + 20 * shapes[shape], 13, 13))]
            + [(g, (262, 78 + 24 * i, 17, 17)) for i, g in enumerate(graph)]
            + [("ﾒﾓﾘ開放", (290, 174, 81, 20)), ("解放時のﾌｨﾙﾀ", (262, 198, 17, 17)),
               ("ﾒﾓﾘﾁｪｯｸのｲﾝﾀｰﾊﾞﾙ", (382, 286, 65, 17)), ("ﾒﾓﾘ(Free)下限", (382, 310, 65, 17))]
            + alarm_row(0, rows[0]) + alarm_row(1, rows[1])
            + [("その他のｱﾗｰﾑ... (0)", (228, 484, 121, 20)),
               ("設定", (356, 484, 81, 20)), ("ｷｬﾝｾﾙ", (440, 484, 81, 20)), ("閉じる", (516, 4, 15, 15))])


def close(a, b, tolerance: int = 1) -> bool:
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


LISTS = (" 時", " 分", " 曲目をﾘﾋﾟｰﾄ")


def at(name: str, found, want) -> bool:
    """A box where the layout puts it; a list keeps its own height, whatever the table says."""
    return close(found[:3], want[:3]) and (name.endswith(LISTS) or close(found[3:], want[3:]))


class Reader:
    """The dialog as a screen reader reads it, and keys sent to it."""

    def __init__(self, clock, exe: Path, dialog: int):
        self.clock, self.exe, self.dialog = clock, exe, dialog

    def tree(self) -> tuple:
        return read_tree(self.clock, self.exe, DIALOG_CLASS)

    def focused(self):
        """(name, client box, row) of the focused element, or None. A list or a bar must be
        read the same from its own window, the edit box of the list that takes typing too:
        name, value and role."""
        rows, focus = self.tree()
        x, y, _, _ = self.clock.display.geometry(self.dialog)
        own = [row for row in rows if row[0] == -1]
        for row in rows:
            same = all(o[4:] == row[4:] and o[1] == row[1] for o in own)
            if row[0] == focus and focus > 0 and same:
                bx, by, bw, bh = row[3]
                return row[4], (bx - x, by - y, bw, bh), row
        return None

    def wait_focus(self, name: str, box=None, timeout: float = 10):
        last = []

        def there() -> bool:
            last[:] = [self.focused()]
            f = last[0]
            return f is not None and f[0] == name and (box is None or at(name, f[1], box))
        wait_for(there, timeout, f"focus on {name} {box}")
        return last[0]

    def key(self, *keys: str) -> None:
        # Xvfb has no window manager: keys go to the window under the pointer.
        x, y, w, h = self.clock.display.geometry(self.dialog)
        self.clock.display.move_pointer(x + w // 2, y + h - 4)
        self.clock.display.key(*keys)


def open_by_keyboard(clock, exe: Path) -> Reader:
    since = len(clock.trace_lines())
    clock.key("shift+F10")
    menu = drawn_menu(clock, since)
    x, y, w, _ = clock.geometry()
    # At the dial's centre (the dial is as wide as the clock), not at the pointer, which lies
    # over the pendulum area.
    assert close(menu.origin, (x + w // 2, y + w // 2), 4), (menu.origin, clock.geometry())
    clock.display.key("s")
    found = []
    wait_for(lambda: found.extend(w for w in clock.windows()
                                  if clock.display.window_name(w) == "Tessarineの設定") or found,
             10, "the dialog did not open")
    return Reader(clock, exe, found[0])


def test_settings_by_keyboard_alone(app, acc_tree_exe):
    """Shift+F10 and "S" open the dialog; Tab walks every stop in reading order and comes
    round; a colour through the chooser, the second shape by an arrow, alarm 1 at 07:05 on CD
    track 3 switched on, Enter on OK: the file holds them. Reopened, changed and left by Esc:
    the file is unchanged byte for byte."""
    # Alarm 1's switch holds -1, a true as the file writes other keys: it never rings, so
    # every view says off, and one press turns it on.
    clock = app.start({"Pos_X": 10 * 15, "Pos_Y": 10 * 15, "Color_1": 0xFFFF, "Shape": 0,
                       "Sound_C_0": -1, "Sound_Kbn_0": 2, "Mem_Ival": 30, "Mem_Kagen": 30},
                      trace=MENU_TRACE)
    # The clock: read as a clock showing the time, no alarm set; moved by the arrow keys.
    (me,), _ = read_tree(clock, acc_tree_exe, CLOCK_CLASS)
    assert (me[1], me[4]) == (ROLE_CLOCK, "Tessarine") and re.fullmatch(r"\d{1,2}:\d\d", me[5])
    clock.key("Right")
    clock.key("ctrl+Down")
    assert clock.wait_geometry((11, 20, 81, 137)) == (11, 20, 81, 137)
    r = open_by_keyboard(clock, acc_tree_exe)

    # The tree: every element named, the stops where the layout draws them, nothing checked
    # but the first shape and the file kinds.
    rows, _ = r.tree()
    assert len(rows) > 60 and all(row[4] for row in rows)
    # Alarm 1 (-1) reads, says and looks off, its lamp as alarm 2's (0).
    assert {(row[1], row[5]) for row in rows if row[4] == "ｱﾗｰﾑ1"} == {(ROLE_CHECK, ""),
                                                                       (ROLE_STATIC, "Off")}
    assert not next(row for row in rows if row[4] == "ｱﾗｰﾑ1" and row[1] == ROLE_CHECK)[2] & 0x10
    lamps = [clock.display.screenshot(row[3]) for row in sorted(rows, key=lambda row: row[4])
             if row[1] == ROLE_CHECK]
    assert len(lamps) == 2 and list(lamps[0].getdata()) == list(lamps[1].getdata())
    order = stops("真円", ("off", "off"))
    assert r.focused() is None  # the dialog itself, until Tab
    for name, box in order + order[:1]:
        r.key("Tab")
        r.wait_focus(name, box)
    r.key("shift+Tab")
    r.wait_focus(*order[-1])
    r.key("Tab", "Tab")  # 文字

    def through_chooser(title: str, key: str) -> None:
        """Enter opens the focused button's chooser, `key` leaves it."""
        r.key("Return")
        window = new_window(clock, title, timeout=10)
        assert window, f"no chooser {title}"
        cx, cy, cw, ch = clock.display.geometry(window)
        clock.display.move_pointer(cx + cw // 2, cy + ch // 2)
        clock.display.key(key)
        closed(clock, title)

    # The colour chooser from the keyboard: Enter takes its colour, and the focus comes back
    # to the button.
    through_chooser(COLOUR_TITLE, "Return")
    _, _, row = r.wait_focus("文字", order[1][1])
    swatch = next(x for x in r.tree()[0] if x[4] == "文字" and x[1] == 41)
    assert swatch[5] != "RGB(255, 255, 0)"

    # The second shape with an arrow key; alarm 1 on, 07:05, CD track 3.
    r.key(*["Tab"] * 6)  # 真円
    r.wait_focus("真円")
    r.key("Right")
    r.wait_focus("楕円（縦）", (134, 90, 13, 13))
    for _ in range(9):
        r.key("Tab")
    r.wait_focus("ｱﾗｰﾑ1")
    r.key("space")
    wait_for(lambda: next(x for x in r.tree()[0] if x[4] == "ｱﾗｰﾑ1" and x[1] == 44)[2] & 0x10,
             10, "the switch is not on")
    r.key("Tab")
    r.wait_focus("ｱﾗｰﾑ1 時")
    r.key("alt+Down", *["Down"] * 7, "Return")
    r.key("Tab")
    r.wait_focus("ｱﾗｰﾑ1 分")
    r.key("alt+Down", *["Down"] * 5, "Return")
    # Left to right: the track list, then the chosen kind's mark, then "...".
    r.key("Tab")
    r.wait_focus("ｱﾗｰﾑ1 曲目をﾘﾋﾟｰﾄ")
    assert r.focused()[2][5] == "なし"
    r.key("Tab")
    r.wait_focus("ｱﾗｰﾑ1 MP3、WAV")
    r.key("Tab")
    r.wait_focus("ｱﾗｰﾑ1 MP3、WAV ...")
    r.key("shift+Tab")
    r.wait_focus("ｱﾗｰﾑ1 MP3、WAV")
    r.key("Left")
    r.wait_focus("ｱﾗｰﾑ1 音楽CD")
    r.key("Tab")
    r.wait_focus("ｱﾗｰﾑ1 曲目をﾘﾋﾟｰﾄ")
    r.key("3")

    def lists() -> tuple:
        values = {x[4]: x[5] for x in r.tree()[0] if x[1] == 46}
        return values["ｱﾗｰﾑ1 時"], values["ｱﾗｰﾑ1 分"], values["ｱﾗｰﾑ1 曲目をﾘﾋﾟｰﾄ"]
    wait_for(lambda: lists() == ("07", "05", "3"), 10, "the lists do not read 07, 05, 3")
    # The file chooser, left with Esc, gives the focus back too.
    r.key("Tab")
    r.wait_focus("ｱﾗｰﾑ1 MP3、WAV ...")
    through_chooser(CHOOSER_TITLE, "Escape")
    r.wait_focus("ｱﾗｰﾑ1 MP3、WAV ...")
    r.key("Tab", "Tab", "Tab", "Tab", "Tab")
    r.wait_focus("設定")
    r.key("Return")
    wait_for(lambda: r.dialog not in clock.windows(), 10, "OK did not close the dialog")
    text = clock.ini_bytes().decode("cp932")
    for key, want in [("Shape", " 1"), ("Sound_C_0", " 1"), ("Sound_H_0", " 7"),
                      ("Sound_M_0", " 5"), ("Sound_Kbn_0", " 1"), ("Sound_Repeat_0", " 3")]:
        assert f"{key}={want}\r\n" in text, (key, text)
    assert "Color_1= 65535\r\n" not in text
    # Saved as a drag is; the reloaded clock reads out the alarm.
    assert "Pos_X= 165\r\nPos_Y= 300\r\n" in text
    clock.window = None
    clock.wait_window()
    wait_for(lambda: read_tree(clock, acc_tree_exe, CLOCK_CLASS)[0][0][5].find("次のｱﾗｰﾑ 7:05") > 0,
             10, "the clock does not read out the alarm")

    # Reopened on the reloaded clock, changed and left with Esc: nothing written.
    saved = clock.ini_bytes()
    r = open_by_keyboard(clock, acc_tree_exe)
    r.key(*["Tab"] * 8, "Right")
    r.wait_focus("楕円（横）")
    r.key("Escape")
    wait_for(lambda: r.dialog not in clock.windows(), 10, "Esc did not close the dialog")
    assert clock.ini_bytes() == saved


@pytest.mark.parametrize("dpi", [96, 144, 192])
def test_the_tree_a_reader_sees_at_each_density(app, acc_tree_exe, density, dpi):
    """Every element named; every stop where the layout draws it at the density, within a
    pixel; a mark's state follows an edit made with the keyboard."""
    if dpi != 96:
        density(dpi)
    clock = app.start({"Pos_X": 10 * 15, "Pos_Y": 10 * 15, "Shape": 0, "Sound_C_1": 1,
                       "Sound_Kbn_1": 1}, trace=MENU_TRACE)
    r = open_by_keyboard(clock, acc_tree_exe)
    rows, _ = r.tree()
    assert all(row[4] for row in rows) and len({row[1] for row in rows}) >= 8
    x, y, _, _ = clock.display.geometry(r.dialog)

    def scaled(v: int) -> int:
        return int(v * dpi / 96 + 0.5)
    for name, box in stops("真円", ("off", "cd")):
        want = tuple(scaled(v) for v in box)
        found = [row[3] for row in rows if row[4] == name]
        assert any(at(name, (bx - x, by - y, bw, bh), want) for bx, by, bw, bh in found), \
            (name, want, found, (x, y))
    state = {row[4]: row[2] for row in rows if row[1] == 45}
    assert state["真円"] & 0x10 and not state["楕円（縦）"] & 0x10 and state["ｱﾗｰﾑ2 音楽CD"] & 0x10
    # A press on a mark's caption focuses the mark, as a click on a button does: the arrows
    # go on from there, Tab to the stop after it. The dotted focus mark shows only once a key
    # has been pressed, in black: an inverted dot would be lost on the grey panel.
    marks = {row[4]: row[3] for row in rows if row[1] == 45}

    def dots_left_of(name: str) -> int:
        bx, by, _, bh = marks[name]
        return sum(max(p[:3]) < 40 for p in clock.display.screenshot((bx - 1, by, 1, bh)).getdata())
    mark = marks["楕円（横）"]
    clock.display.click(mark[0] + mark[2] + scaled(8), mark[1] + mark[3] // 2)
    r.wait_focus("楕円（横）")
    assert dots_left_of("楕円（横）") == 0
    r.key("Up")
    wait_for(lambda: {row[4]: row[2] for row in r.tree()[0] if row[1] == 45}["楕円（縦）"] & 0x10,
             10, "the second shape is not checked")
    wait_for(lambda: dots_left_of("楕円（縦）") >= marks["楕円（縦）"][3] // 3, 10,
             "no focus mark round the second shape")
    r.key("Tab")
    r.wait_focus("ｸﾞﾗﾌ 背景", tuple(scaled(v) for v in (262, 78, 17, 17)))
    # A focused scroll bar takes the arrows; a reader hears its new value.
    r.key(*["Tab"] * 6)
    r.wait_focus("ﾒﾓﾘﾁｪｯｸのｲﾝﾀｰﾊﾞﾙ")
    r.key("Right")
    wait_for(lambda: r.focused()[2][5] == "31分", 10, "the interval did not move to 31")
    r.key("Escape")


def test_an_alarms_own_settings_by_keyboard(app, acc_tree_exe, tmp_path):
    """Tab reaches alarm 1's "詳細" after its ｸﾘｱ and Enter opens its window, read by a reader
    as a dialog of named check boxes, an edit box and sliders (the volume grey for a CD alarm).
    Sunday unchecked with Space, once checked, a label typed in Japanese and Latin, OK, then
    設定: the file holds the three keys and no untouched one. Reopened, the window shows them;
    an edit there, OK, then ｷｬﾝｾﾙ in the dialog leaves the file as it was."""
    clock = app.start({"Pos_X": 10 * 15, "Pos_Y": 10 * 15, "Sound_C_0": 1, "Sound_Kbn_0": 1,
                       "Mem_Ival": 30, "Mem_Kagen": 30}, trace=MENU_TRACE)
    label = "朝会 at 9"

    def open_options(r: Reader) -> tuple:
        r.key(*["Tab"] * 23)
        r.wait_focus("ｱﾗｰﾑ1 ｸﾘｱ")
        r.key("Tab")
        r.wait_focus("ｱﾗｰﾑ1 詳細", (454, 389, 53, 19))
        r.key("Return")
        window = new_window(clock, OPTIONS_TITLE, timeout=10)
        assert window, "the alarm's window did not open"
        x, y, w, h = clock.display.geometry(window)
        # Keys go to the window under the pointer.
        clock.display.move_pointer(x + w // 2, y + h // 2)
        return window, (x, y, w, h)

    def elements() -> tuple:
        rows, focus = read_tree(clock, acc_tree_exe, OPTIONS_CLASS)
        # By name and role: a slider and its value label share their caption's name.
        return {(row[4], row[1]): row for row in rows if row[0] > 0}, rows[0], focus

    r = open_by_keyboard(clock, acc_tree_exe)
    window, box = open_options(r)
    # Over the middle of the dialog it came from.
    dx, dy, dw, dh = clock.display.geometry(r.dialog)
    assert close((box[0] + box[2] // 2, box[1] + box[3] // 2), (dx + dw // 2, dy + dh // 2), 40)
    byname, me, focus = elements()
    assert (me[1], me[4]) == (ROLE_DIALOG, OPTIONS_TITLE)
    sunday = byname["日", ROLE_CHECK]
    assert focus == sunday[0] and sunday[2] & CHECKED
    assert not byname["一度だけ鳴らす", ROLE_CHECK][2] & CHECKED
    assert byname["ﾒｯｾｰｼﾞ", ROLE_TEXT][5] == ""
    volume = [row for row in byname.values() if row[1] == ROLE_SLIDER]
    assert {(row[4], row[5]) for row in volume} == {("音量", "100％"), ("ﾌｪｰﾄﾞｲﾝ", "0秒"),
                                                     ("ｽﾇｰｽﾞ", "10分")}
    # A CD plays at the drive's volume: its volume and fade-in are grey and a note says why.
    assert [row[4] for row in volume if row[2] & UNAVAILABLE] == ["音量", "ﾌｪｰﾄﾞｲﾝ"]
    assert not byname["音楽CDはﾄﾞﾗｲﾌﾞの音量で鳴ります", ROLE_STATIC][2] & INVISIBLE
    assert ("OK", ROLE_BUTTON) in byname and ("ｷｬﾝｾﾙ", ROLE_BUTTON) in byname
    clock.display.screenshot(box).save(tmp_path / "options.png")

    clock.display.key("space", *["Tab"] * 7, "space", "Tab")
    type_text(clock.display, label)

    def edited() -> bool:
        b = elements()[0]
        return (not b["日", ROLE_CHECK][2] & CHECKED and b["月", ROLE_CHECK][2] & CHECKED
                and b["一度だけ鳴らす", ROLE_CHECK][2] & CHECKED
                and b["ﾒｯｾｰｼﾞ", ROLE_TEXT][5] == label)
    wait_for(edited, 10, "Sunday, once and the label are not as typed")
    clock.display.key("Return")
    closed(clock, OPTIONS_TITLE)
    r.wait_focus("ｱﾗｰﾑ1 詳細")
    assert clock.ini_bytes() is None or b"Sound_Days_0" not in clock.ini_bytes()
    r.key("Tab", "Tab", "Tab")
    r.wait_focus("設定")
    r.key("Return")
    wait_for(lambda: r.dialog not in clock.windows(), 10, "OK did not close the dialog")
    text = clock.ini_bytes().decode("cp932")
    for key, want in [("Sound_Days_0", " 126"), ("Sound_Once_0", "-1"), ("Sound_Label_0", label)]:
        assert f"{key}={want}\r\n" in text, (key, text)
    assert "Sound_Volume_1" not in text and "Snooze_Min" not in text

    # Reopened: the window shows what was saved. Monday off there, OK, then ｷｬﾝｾﾙ: nothing.
    clock.window = None
    clock.wait_window()
    saved = clock.ini_bytes()
    r = open_by_keyboard(clock, acc_tree_exe)
    open_options(r)
    wait_for(lambda: not elements()[0]["日", ROLE_CHECK][2] & CHECKED, 10,
             "Sunday is checked again")
    assert elements()[0]["ﾒｯｾｰｼﾞ", ROLE_TEXT][5] == label
    clock.display.key("Tab", "space")
    wait_for(lambda: not elements()[0]["月", ROLE_CHECK][2] & CHECKED, 10,
             "Monday stayed checked")
    clock.display.key("Return")
    closed(clock, OPTIONS_TITLE)
    r.wait_focus("ｱﾗｰﾑ1 詳細")
    r.key("Escape")
    wait_for(lambda: r.dialog not in clock.windows(), 10, "Esc did not close the dialog")
    assert clock.ini_bytes() == saved
