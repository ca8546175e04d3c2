"""The settings dialog as a test drives it: where its controls are, opening it from the menu,
the colour and file choosers, and the clock reloaded by its OK."""

from __future__ import annotations

import re
import time
from pathlib import Path

from PIL import ImageChops

from harness import HarnessError, MENU_TRACE, drawn_menu
from support_clock import ON_DIAL, colour_value, wait_for
from support_face import bbox, is_numeral


TRACE = MENU_TRACE + ",+msg"




TITLE = "Tessarineの設定"


SIZE = (537, 523)


# Client positions of what the tests press or look at.
OK = (396, 494)


CANCEL = (480, 494)


CLOSE = (523, 11)


STRIP = (300, 10)




HOUR_0 = (48, 376)


TRACK_0 = (228, 376)


PREVIEW_DIAL = (138, 186)  # 80 x 80


PREVIEW_PENDULUM = (138, 266)  # 80 x 57




PHYS_FIGURES = (240, 260)  # tops of the total and free figures' text, in boxes at x 346..422


KEYS = ([f"Color_{i}" for i in range(6)] + [f"Graph_Color_{i}" for i in range(4)]
        + ["Filter_Color", "Shape"]
        + [f"Sound_{k}_{i}" for i in range(2) for k in ("C", "H", "M", "Kbn", "Repeat", "F")]
        + ["Mem_Ival", "Mem_Kagen", "Alarm_Path"])


FACE, NUMERALS = (0, 40, 80), (255, 255, 0)


HOUR, MINUTE, SECOND, BOB = (255, 0, 0), (0, 255, 0), (0, 0, 255), (128, 0, 128)


GRAPH = [(30, 30, 30), (0, 0, 160), (0, 200, 0), (255, 255, 255)]



def base_ini(mem_ival: int, shape: int = 2) -> dict:
    # The clock in the top-left corner, clear of the centred dialog.
    ini = {"Pos_X": 10 * 15, "Pos_Y": 10 * 15, "Color_0": colour_value(FACE), "Color_1": colour_value(NUMERALS), "Color_2": colour_value(HOUR),
           "Color_3": colour_value(MINUTE), "Color_4": colour_value(SECOND), "Color_5": colour_value(BOB),
           "Shape": shape, "Mem_Ival": mem_ival, "Mem_Kagen": 30}
    ini.update({f"Graph_Color_{i}": colour_value(c) for i, c in enumerate(GRAPH)})
    return ini


class Dialog:
    def __init__(self, clock, window: int):
        self.clock = clock
        self.window = window

    def geometry(self):
        return self.clock.display.geometry(self.window)

    def at(self, p):
        x, y, _, _ = self.geometry()
        return x + p[0], y + p[1]

    def click(self, p, button: int = 1):
        self.clock.click(*self.at(p), button)

    def image(self, path: Path):
        shot = self.clock.display.screenshot(self.geometry())
        shot.save(path)
        return shot

    def open(self) -> bool:
        return self.window in self.clock.windows()

    def wait_closed(self):
        wait_for(lambda: not self.open(), 5, "the dialog did not close")


def open_dialog(clock, at=ON_DIAL) -> Dialog:
    """Opens the dialog through the menu of a right-click `at` (the pendulum area keeps a
    ringing alarm going)."""
    x, y, _, _ = clock.geometry()
    since = len(clock.trace_lines())
    clock.click(x + at[0], y + at[1], 3)
    drawn_menu(clock, since).click("設定変更(&S)")
    end = time.monotonic() + 10
    while time.monotonic() < end:
        for w in clock.windows():
            if clock.display.window_name(w) == TITLE:
                dialog = Dialog(clock, w)
                time.sleep(0.5)  # its first paint
                return dialog
        time.sleep(0.1)
    raise HarnessError("the settings dialog did not open")


_TIMER = re.compile(r"NtUserSetTimer Added (\w+) (\d+) \S+ timeout (\d+)")


def timers_started(clock, since: int = 0):
    """(window, id) of every timer the program started after trace line `since`."""
    out = []
    for line in clock.trace_lines()[since:]:
        m = _TIMER.search(line)
        if m:
            out.append((m.group(1), int(m.group(2))))
    return out


def clock_window_handle(clock, since: int = 0) -> str:
    """The current clock window's handle: the window its pendulum timer (id 2) was last started
    on (the timer takes over the frames whenever the program hands a message on, so an old
    clock window starts it too until it is gone)."""
    return [w for w, i in timers_started(clock, since) if i == 2][-1]


def memory_check_started(clock, since: int) -> bool:
    """Whether the clock's memory check (its timer 3) was switched on after line `since`."""
    time.sleep(0.8)
    clock_handle = clock_window_handle(clock)
    return (clock_handle, 3) in timers_started(clock, since)


def set_ival_to_zero(dialog):
    x, y, w, h = IVAL_BAR
    # The thumb, dragged past the left arrow, lets go at the bar's minimum.
    sx, sy = dialog.at((x + w // 2, y + h // 2))
    dialog.clock.display.drag(sx, sy, sx - 60, sy, steps=6)


def colour_pixels(image, box, rgb, tolerance=0):
    x0, y0, w, h = box
    return [(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w)
            if all(abs(a - b) <= tolerance for a, b in zip(image.getpixel((x, y)), rgb))]


COLOUR_TITLE = "色"


CHOOSER_TITLE = "wavﾌｧｲﾙを選択"


# Client positions in the settings dialog.
COLOUR_BUTTON = [(52, 80 + 28 * i) for i in range(7)]  # 背景 .. 振り子, 初期値


SWATCH = [(94, 78 + 28 * i) for i in range(6)]


PREVIEW_BACK = (136, 184)  # inside the preview's frame, beside the dial


GRAPH_BUTTON = [(270, 86 + 24 * i) for i in range(4)]


FILTER_BUTTON = (270, 206)


BOARD = (378, 74, 130, 130)  # the memory pie's board: x, y, w, h


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


def choose_file(dialog, button, typed: str, tmp_path=None, name="chooser"):
    """Presses "...", types `typed` into the chooser's file name box and presses Return (or
    Escape for `typed` None)."""
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
        clock.display.key("Return")
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
