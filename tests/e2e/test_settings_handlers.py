"""The settings dialog's buttons, driven with the mouse and the keyboard: the clock colours
through the colour dialog and their reset, the graph and filter colours, the dial shape (and
the clock reloaded in it), the alarm rows' switch, kind options, file chooser and clearing,
the two scroll bars with their value labels, and "ﾒﾓﾘ開放".

The colour dialog ("色") and the file chooser ("wavﾌｧｲﾙを選択") are Wine's own; they are found
by their titles among the program's windows. Labels are drawn by the dialog itself, so what
they show is judged from screenshots: a swatch's colour, ink in a path label, the red of
"On", and a value label's picture against its picture for the same value earlier.
"""

from __future__ import annotations

import re
import time

from PIL import ImageChops

from harness import MENU_TRACE, SCREEN_H, SCREEN_W, scarce_meminfo, to_windows_path
from sound_trace import wait_for
from test_face import DialScale, bbox, is_numeral
from test_settings_dialog import OK, PREVIEW_DIAL, ini_values, open_dialog, value

COLOUR_TITLE = "色"
CHOOSER_TITLE = "wavﾌｧｲﾙを選択"

# Client positions in the settings dialog.
COLOUR_BUTTON = [(52, 80 + 28 * i) for i in range(7)]  # 背景 .. 振り子, 初期値
SWATCH = [(94, 78 + 28 * i) for i in range(6)]
PREVIEW_BACK = (136, 184)  # inside the preview's frame, beside the dial
GRAPH_BUTTON = [(270, 86 + 24 * i) for i in range(4)]
FILTER_BUTTON = (270, 206)
BOARD = (378, 74, 130, 130)
SHAPE_MARK = [(140, 76 + 20 * i) for i in range(3)]
SHAPE_CAPTION = [(165, 76 + 20 * i) for i in range(3)]
RELEASE = (330, 184)
IVAL_BAR, KAGEN_BAR = (382, 286, 65, 17), (382, 310, 65, 17)
IVAL_LABEL, KAGEN_LABEL = (452, 288, 53, 13), (452, 312, 53, 13)


def row(i):
    """Client positions of alarm row i."""
    dy = 48 * i
    return {"switch": (28, 376 + dy), "state": (22, 390 + dy, 22, 13), "hour": (48, 376 + dy),
            "cd_mark": (158, 370 + dy, 13, 13), "cd": (185, 376 + dy),
            "file_mark": (346, 370 + dy, 13, 13), "file_mark_at": (352, 376 + dy),
            "choose": (440, 376 + dy), "clear": (480, 375 + dy),
            "path": (160, 392 + dy, 345, 13)}


# The colour dialog's basic colours: cells 30 pixels apart across, 23 down, from (20, 32).
RED_CELL, YELLOW_CELL, CYAN_CELL, MAGENTA_CELL = (0, 1), (1, 1), (4, 1), (7, 1)
BLUE_CELL = (4, 3)
RED, YELLOW, CYAN, MAGENTA, BLUE = (255, 0, 0), (255, 255, 0), (0, 255, 255), (255, 0, 255), \
    (0, 0, 255)
COLOUR_OK, COLOUR_CANCEL = (51, 282), (150, 282)
CUSTOM_BOX = [(20 + 30 * (k % 8), 198 + 23 * (k // 8)) for k in range(16)]


def crop(image, box):
    x, y, w, h = box
    return image.crop((x, y, x + w, y + h))


def same(a, b) -> bool:
    return ImageChops.difference(a, b).getbbox() is None


def new_window(clock, name: str, timeout: float = 5):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for w in clock.windows():
            if clock.display.window_name(w) == name:
                return w
        time.sleep(0.1)
    return None


def colour_dialog(dialog, button, tmp_path=None):
    """Presses a colour button; the colour dialog's window and its screenshot."""
    dialog.click(button)
    w = new_window(dialog.clock, COLOUR_TITLE)
    assert w, "the colour dialog did not open"
    time.sleep(0.3)
    shot = dialog.clock.display.screenshot(dialog.clock.display.geometry(w))
    if tmp_path:
        shot.save(tmp_path / "colour-dialog.png")
    return w, shot


def pick_colour(dialog, button, cell, ok=True):
    """Chooses the basic colour `cell` (column, row) in the colour dialog of `button`."""
    clock = dialog.clock
    w, _ = colour_dialog(dialog, button)
    x, y, _, _ = clock.display.geometry(w)
    clock.click(x + 20 + 30 * cell[0], y + 32 + 23 * cell[1])
    time.sleep(0.2)
    end = COLOUR_OK if ok else COLOUR_CANCEL
    clock.click(x + end[0], y + end[1])
    wait_for(lambda: w not in clock.windows(), 5, "the colour dialog did not close")
    time.sleep(0.3)


def choose_file(dialog, button, typed: str, tmp_path=None, name="chooser", refused=False):
    """Presses "...", types `typed` into the chooser's file name box and presses Return (or
    Escape for `typed` None). With `refused`, the chooser must answer with a message of its
    own and stay open; the message is closed and the chooser cancelled."""
    clock = dialog.clock
    dialog.click(button)
    w = new_window(clock, CHOOSER_TITLE)
    assert w, "the file chooser did not open"
    time.sleep(0.5)
    x, y, width, height = clock.display.geometry(w)
    if tmp_path:
        clock.display.screenshot((x, y, width, height)).save(tmp_path / f"{name}.png")
    clock.display.move_pointer(x + width // 2, y + height // 2)  # keys go to the window under it
    if typed is None:
        clock.display.key("Escape")
    else:
        # xdotool binds a spare key to each character the keyboard lacks; Wine must see each
        # new binding before its key press, or the character is lost.
        for run in re.findall(r"[\x00-\x7f]+|[^\x00-\x7f]+", typed):
            delay = "20" if run.isascii() else "200"
            clock.display.run("xdotool", "type", "--delay", delay, run)
        before = set(clock.windows())
        clock.display.key("Return")
        if refused:
            message = wait_for(lambda: set(clock.windows()) - before, 5,
                               "the chooser took a name that does not exist")
            if tmp_path:
                mx, my, mw, mh = clock.display.geometry(message.pop())
                clock.display.screenshot((mx, my, mw, mh)).save(tmp_path / f"{name}.png")
            clock.display.key("Return")
            wait_for(lambda: set(clock.windows()) == before, 5, "the message did not close")
            clock.display.key("Escape")
    wait_for(lambda: w not in clock.windows(), 5, "the file chooser did not close")
    time.sleep(0.3)


def ink(image, box) -> int:
    """Dark pixels (text) in a white label."""
    return sum(1 for p in crop(image, box).getdata() if max(p) < 128)


def reds(image, box) -> int:
    return sum(1 for r, g, b in crop(image, box).getdata() if r > 200 and g < 80 and b < 80)


def numeral_centres(clock, timeout: float = 5.0):
    """Centres of the clock's "12", "6", "9" and "3" (numerals in a colour of their own), each
    taken over all its ink, as a hand may cut a glyph in two. A clock just reloaded on a busy
    machine may not have painted yet: the screen is read again until all four show."""
    def centre(pixels):
        x0, y0, x1, y1 = bbox(pixels)
        return (x0 + x1) / 2, (y0 + y1) / 2

    end = time.monotonic() + timeout
    while True:
        x, y, _, _ = clock.geometry()
        image = clock.display.screenshot((x, y, 80, 80))
        ink = [(px, py) for py in range(80) for px in range(80)
               if is_numeral(image.getpixel((px, py)))]
        column = [p for p in ink if abs(p[0] - 40) <= 8]
        band = [p for p in ink if abs(p[1] - 40) <= 6]
        groups = [[p for p in column if p[1] < 40], [p for p in column if p[1] > 40],
                  [p for p in band if p[0] < 40], [p for p in band if p[0] > 40]]
        if all(groups) or time.monotonic() >= end:
            break
        time.sleep(0.2)
    assert all(groups), "the clock's numerals did not show"
    return [centre(g) for g in groups], image


def clock_window(clock) -> int:
    clock.geometry()  # finds the window when it is not known yet
    return clock.window


def reloaded(clock, old: int):
    """Waits for the clock's window that replaced `old`."""
    def back():
        return [w for w in clock.windows()
                if w != old and clock.display.window_name(w) == "Tessarine"]
    wait_for(back, 5, "the clock did not come back")
    time.sleep(1.2)
    clock.window = back()[0]


# --------------------------------------------------------------------------- scenarios


def test_colours_reset_pick_and_shape_reach_the_preview_the_file_and_the_clock(app, tmp_path):
    ini = {"Pos_X": 150, "Pos_Y": 150, "Color_0": value((0, 40, 80)), "Color_1": value((9, 9, 9)),
           "Color_2": value(RED), "Color_3": value(RED), "Color_4": value(BLUE),
           "Color_5": value(RED), "Shape": 0, "Mem_Ival": 30, "Mem_Kagen": 30,
           "Graph_Color_0": value((30, 30, 30)), "Graph_Color_1": value((0, 0, 160)),
           "Graph_Color_2": value((0, 200, 0)), "Graph_Color_3": value((255, 255, 255)),
           "Filter_Color": value((1, 2, 3))}
    clock = app.start(ini=ini, trace=MENU_TRACE)
    time.sleep(0.5)
    dialog = open_dialog(clock)

    # "初期値": black, white, black, black, white, black, with no dialog, the preview redrawn.
    dialog.click(COLOUR_BUTTON[6])
    time.sleep(0.5)
    assert new_window(clock, COLOUR_TITLE, timeout=0.5) is None
    shot = dialog.image(tmp_path / "reset.png")
    defaults = [(0, 0, 0), (255, 255, 255), (0, 0, 0), (0, 0, 0), (255, 255, 255), (0, 0, 0)]
    assert [shot.getpixel(p) for p in SWATCH] == defaults
    assert shot.getpixel(PREVIEW_BACK) == (0, 0, 0)

    # The colour dialog: no custom-colour editor, and its 16 custom boxes in the system colours
    # (box 15, the button face, is what the dialog itself is painted in; 7 and 8, menu and
    # window text, are black; 5, the window, white). Cancelled, it changes nothing.
    w, look = colour_dialog(dialog, COLOUR_BUTTON[2], tmp_path)
    boxes = [look.getpixel(p) for p in CUSTOM_BOX]
    assert boxes[15] == look.getpixel((4, 4)), boxes
    assert boxes[7] == boxes[8] == (0, 0, 0) and boxes[5] == (255, 255, 255), boxes
    assert len(set(boxes)) >= 4, boxes
    x, y, width, height = clock.display.geometry(w)
    assert width < 400, "the dialog opened with its custom-colour editor"
    clock.click(x + COLOUR_CANCEL[0], y + COLOUR_CANCEL[1])
    wait_for(lambda: w not in clock.windows(), 5, "the colour dialog did not close")

    # Colours chosen: a blue face and yellow numerals on the swatches and the preview; a
    # magenta free-memory sector; a cyan filter.
    pick_colour(dialog, COLOUR_BUTTON[0], BLUE_CELL)
    pick_colour(dialog, COLOUR_BUTTON[1], YELLOW_CELL)
    pick_colour(dialog, COLOUR_BUTTON[3], RED_CELL, ok=False)
    pick_colour(dialog, GRAPH_BUTTON[2], MAGENTA_CELL)
    pick_colour(dialog, FILTER_BUTTON, CYAN_CELL)
    shot = dialog.image(tmp_path / "picked.png")
    assert [shot.getpixel(p) for p in SWATCH] == [BLUE, YELLOW] + defaults[2:]
    assert shot.getpixel(PREVIEW_BACK) == BLUE
    dial = crop(shot, PREVIEW_DIAL + (80, 80))
    assert any(is_numeral(p) for p in dial.getdata()), "no yellow numerals in the preview"
    assert shot.getpixel(GRAPH_BUTTON[2]) == MAGENTA and shot.getpixel(FILTER_BUTTON) == CYAN
    assert any(p == MAGENTA for p in crop(shot, BOARD).getdata()), "graph not redrawn"

    # Shape: the caption chooses, the mark follows, the preview's numerals move.
    marks = [crop(shot, (p[0] - 6, p[1] - 6, 13, 13)) for p in SHAPE_MARK]
    dialog.click(SHAPE_CAPTION[1])
    time.sleep(0.5)
    shot = dialog.image(tmp_path / "shape1.png")
    assert same(crop(shot, (SHAPE_MARK[1][0] - 6, SHAPE_MARK[1][1] - 6, 13, 13)), marks[0])
    assert same(crop(shot, (SHAPE_MARK[0][0] - 6, SHAPE_MARK[0][1] - 6, 13, 13)), marks[1])
    assert not same(crop(shot, PREVIEW_DIAL + (80, 80)), dial), "preview not redrawn"

    old_clock = clock_window(clock)
    dialog.click(OK)
    dialog.wait_closed()
    values = ini_values(clock.ini_bytes())
    assert [values[f"Color_{i}"] for i in range(6)] == [
        f" {value(c)}" for c in [BLUE, YELLOW] + defaults[2:]]
    assert values["Graph_Color_2"] == f" {value(MAGENTA)}"
    assert values["Graph_Color_1"] == f" {value((0, 0, 160))}"
    assert values["Filter_Color"] == f" {value(CYAN)}"

    # Each shape, chosen by its mark or its caption, then OK: the clock comes back with its
    # numerals on that shape's scale.
    for shape, target in [(1, None), (2, SHAPE_MARK[2]), (0, SHAPE_CAPTION[0])]:
        if target:
            dialog = open_dialog(clock)
            dialog.click(target)
            time.sleep(0.3)
            dialog.click(OK)
            dialog.wait_closed()
        reloaded(clock, old_clock)
        old_clock = clock.window
        assert ini_values(clock.ini_bytes())["Shape"] == f" {shape}"
        found, face = numeral_centres(clock)
        face.save(tmp_path / f"clock-shape{shape}.png")
        scale = DialScale(shape)
        expected = [scale.point(0, -8), scale.point(0, 8), scale.point(-8, 0), scale.point(8, 0)]
        assert all(abs(a - b) <= 2.5 for f, e in zip(found, expected) for a, b in zip(f, e)), \
            f"shape {shape}: 12, 6, 9, 3 at {found}, expected {expected}"


def test_alarm_rows_switch_kind_choose_and_clear(app, tmp_path, wine):
    sounds = tmp_path / "sounds"
    other = sounds / "other"
    other.mkdir(parents=True)
    for f in (sounds / "chime.wav", other / "bell.wav", other / "chime2.wav"):
        f.write_bytes(b"RIFF")
    in_root = [wine.path / "drive_c" / n for n in ("tessarine-root.wav", "tessarine-again.wav")]
    for f in in_root:
        f.write_bytes(b"RIFF")
    ini = {"Pos_X": 150, "Pos_Y": 150, "Mem_Ival": 30, "Mem_Kagen": 30,
           "Sound_C_0": 0, "Sound_H_0": 7, "Sound_Kbn_0": 2,
           "Sound_C_1": 1, "Sound_H_1": 9, "Sound_Kbn_1": 2,
           "Sound_F_1": to_windows_path(sounds / "chime.wav"),
           "Alarm_Path": to_windows_path(sounds)}
    try:
        clock = app.start(ini=ini, trace=MENU_TRACE)
        time.sleep(0.5)
        dialog = open_dialog(clock)
        r0, r1 = row(0), row(1)
        shot = dialog.image(tmp_path / "alarms-open.png")
        assert reds(shot, r0["state"]) == 0 and reds(shot, r1["state"]) > 5, "Off / On"
        assert ink(shot, r0["path"]) == 0 and ink(shot, r1["path"]) > 20
        selected, unselected = crop(shot, r0["file_mark"]), crop(shot, r0["cd_mark"])

        # Row 0 is off: its hour box, its "音楽CD" and its "..." do not react.
        dialog.click(r0["hour"])
        clock.display.key("Down", "Down", "Return")
        dialog.click(r0["cd"])
        dialog.click(r0["choose"])
        assert new_window(clock, CHOOSER_TITLE, timeout=1) is None, "chooser of an off row"
        shot = dialog.image(tmp_path / "alarms-off-row.png")
        assert same(crop(shot, r0["cd_mark"]), unselected)

        # Switched on: "On" in red, and the row answers: hour 02, "音楽CD" then "MP3、WAV"
        # then "音楽CD" again.
        dialog.click(r0["switch"])
        time.sleep(0.3)
        assert reds(dialog.image(tmp_path / "alarms-on.png"), r0["state"]) > 5
        dialog.click(r0["hour"])
        time.sleep(0.3)
        clock.display.key("Home", "Down", "Down", "Return")
        dialog.click(r0["cd"])
        time.sleep(0.3)
        shot = dialog.image(tmp_path / "alarms-cd.png")
        assert same(crop(shot, r0["cd_mark"]), selected)
        assert same(crop(shot, r0["file_mark"]), unselected)
        dialog.click(r0["file_mark_at"])
        time.sleep(0.3)
        assert same(crop(dialog.image(tmp_path / "alarms-file.png"), r0["file_mark"]), selected)
        dialog.click(r0["cd"])

        # "ｸﾘｱ" empties row 1's path; a file typed in full into row 0's chooser shows there;
        # row 1's chooser then opens in that file's folder, so a bare name lands in it.
        dialog.click(r1["clear"])
        time.sleep(0.3)
        assert ink(dialog.image(tmp_path / "alarms-cleared.png"), r1["path"]) == 0
        choose_file(dialog, r0["choose"], to_windows_path(other / "bell.wav"), tmp_path)
        shot = dialog.image(tmp_path / "alarms-chosen.png")
        assert ink(shot, r0["path"]) > 20
        chosen = crop(shot, r0["path"])
        choose_file(dialog, r1["choose"], "chime2.wav")
        assert ink(dialog.image(tmp_path / "alarms-chosen-bare.png"), r1["path"]) > 20

        # A cancelled chooser keeps the path, and so does a name that does not exist, which
        # the chooser refuses with its own message.
        choose_file(dialog, r0["choose"], None)
        assert same(crop(dialog.image(tmp_path / "alarms-cancelled.png"), r0["path"]), chosen)
        choose_file(dialog, r0["choose"], "no-such-bell.wav", tmp_path, "chooser-refused",
                    refused=True)
        assert same(crop(dialog.image(tmp_path / "alarms-cancelled.png"), r0["path"]), chosen)

        # Row 1 switched off: its controls go grey and its hour box ignores the keys.
        dialog.click(r1["switch"])
        dialog.click(r1["hour"])
        clock.display.key("Down", "Return")
        shot = dialog.image(tmp_path / "alarms-row1-off.png")
        assert reds(shot, r1["state"]) == 0
        old = clock_window(clock)
        dialog.click(OK)
        dialog.wait_closed()
        values = ini_values(clock.ini_bytes())
        assert (values["Sound_C_0"], values["Sound_H_0"], values["Sound_Kbn_0"]) == (" 1", " 2", " 1")
        assert values["Sound_F_0"] == to_windows_path(other / "bell.wav")
        assert (values["Sound_C_1"], values["Sound_H_1"], values["Sound_Kbn_1"]) == (" 0", " 9", " 2")
        assert values["Sound_F_1"] == to_windows_path(other / "chime2.wav")
        assert values["Alarm_Path"] == to_windows_path(other)

        # A file in the root of C: leaves the bare drive as the folder; the next chooser
        # opens at the drive's root, so a bare name lands there.
        reloaded(clock, old)
        old = clock_window(clock)
        dialog = open_dialog(clock)
        choose_file(dialog, r0["choose"], "C:\\tessarine-root.wav")
        dialog.click(OK)
        dialog.wait_closed()
        values = ini_values(clock.ini_bytes())
        assert (values["Sound_F_0"], values["Alarm_Path"]) == ("C:\\tessarine-root.wav", "C:")
        reloaded(clock, old)
        dialog = open_dialog(clock)
        choose_file(dialog, r0["choose"], "tessarine-again.wav", tmp_path, "chooser-at-c")
        dialog.click(OK)
        dialog.wait_closed()
        assert ini_values(clock.ini_bytes())["Sound_F_0"] == "C:\\tessarine-again.wav"
    finally:
        for f in in_root:
            f.unlink()


def test_scroll_bars_step_stop_and_label_and_release_tests_the_dialog_limit(app, tmp_path):
    meminfo = scarce_meminfo(tmp_path / "meminfo", 0.25)
    clock = app.start(ini={"Pos_X": 150, "Pos_Y": 150, "Mem_Ival": 58, "Mem_Kagen": 12},
                      meminfo=meminfo, trace=MENU_TRACE + ",warn+seh")
    time.sleep(0.5)
    dialog = open_dialog(clock)

    def arrow(bar, right):
        x, y, w, h = bar
        dialog.click((x + w - 7 if right else x + 7, y + h // 2))

    def trough(bar, right):
        x, y, w, h = bar
        dialog.click((x + w - 19 if right else x + 19, y + h // 2))

    # (label, bar, action, value expected after it)
    steps = [
        (IVAL_LABEL, IVAL_BAR, None, 58),
        (IVAL_LABEL, IVAL_BAR, lambda: arrow(IVAL_BAR, True), 59),
        (IVAL_LABEL, IVAL_BAR, lambda: arrow(IVAL_BAR, True), 60),
        (IVAL_LABEL, IVAL_BAR, lambda: arrow(IVAL_BAR, True), 60),
        (IVAL_LABEL, IVAL_BAR, lambda: trough(IVAL_BAR, False), 55),
        (IVAL_LABEL, IVAL_BAR, lambda: trough(IVAL_BAR, False), 50),
        (IVAL_LABEL, IVAL_BAR, lambda: arrow(IVAL_BAR, False), 49),
        (KAGEN_LABEL, KAGEN_BAR, None, 12),
        (KAGEN_LABEL, KAGEN_BAR, lambda: arrow(KAGEN_BAR, False), 11),
        (KAGEN_LABEL, KAGEN_BAR, lambda: arrow(KAGEN_BAR, False), 10),
        (KAGEN_LABEL, KAGEN_BAR, lambda: arrow(KAGEN_BAR, False), 10),
        (KAGEN_LABEL, KAGEN_BAR, lambda: trough(KAGEN_BAR, True), 20),
    ]
    seen = {}

    def run(steps):
        for label, bar, action, expected in steps:
            if action:
                action()
                time.sleep(0.3)
            picture = crop(dialog.image(tmp_path / "bars.png"), label)
            key = (label, expected)
            for (other_label, other_value), other in seen.items():
                if other_label == label:
                    assert same(picture, other) == (other_value == expected), \
                        f"label at {expected} against {other_value}"
            seen[key] = picture

    run(steps)

    # 25 % free and the limit at 20: nothing is cleaned.
    dialog.click(RELEASE)
    assert clock.wait_trace("Tessarine: cleaned", 3) is None, "cleaned above the limit"

    # One page up to 30, not saved: 25 % free is now below it. The cleaner covers the screen,
    # cleans and goes by itself; the dialog stays.
    run([(KAGEN_LABEL, KAGEN_BAR, lambda: trough(KAGEN_BAR, True), 30)])
    dialog.click(RELEASE)
    covered = None
    end = time.monotonic() + 10
    while time.monotonic() < end and covered is None:
        covered = next((w for w in clock.windows()
                        if clock.display.geometry(w)[2:] == (SCREEN_W, SCREEN_H)), None)
    assert covered, "the cleaner did not open"
    clock.display.screenshot().save(tmp_path / "cleaner.png")
    assert clock.wait_trace("Tessarine: cleaned", 20), "the cleaner did not clean"
    wait_for(lambda: covered not in clock.windows(), 20, "the cleaner stayed")
    assert dialog.open()

    run([(KAGEN_LABEL, KAGEN_BAR, lambda: trough(KAGEN_BAR, True), v) for v in (40, 50, 60, 60)]
        + [(KAGEN_LABEL, KAGEN_BAR, lambda: arrow(KAGEN_BAR, False), 59)])
    old = clock_window(clock)
    dialog.click(OK)
    dialog.wait_closed()
    values = ini_values(clock.ini_bytes())
    assert (values["Mem_Ival"], values["Mem_Kagen"]) == (" 49", " 59")

    # Opened again, the labels show the saved values as the bars showed them.
    reloaded(clock, old)
    dialog = open_dialog(clock)
    time.sleep(0.5)
    shot = dialog.image(tmp_path / "bars-reopened.png")
    assert same(crop(shot, IVAL_LABEL), seen[(IVAL_LABEL, 49)])
    assert same(crop(shot, KAGEN_LABEL), seen[(KAGEN_LABEL, 59)])

