"""The settings dialog as a test drives it: where its controls are, opening it from the menu,
the colour and file choosers, and the clock reloaded by its OK."""

from __future__ import annotations

import re
import time
from pathlib import Path
from typing import Optional

import pytest
from PIL import ImageChops

from harness import DESKTOP_RGB, HarnessError, MENU_TRACE, drawn_menu
from support_clock import ON_DIAL, colour_value, wait_for, wait_painted
from support_face import DialScale, drawn_time, numeral_boxes


TRACE = MENU_TRACE + ",+msg"
TITLE, COLOUR_TITLE, CHOOSER_TITLE = "Tessarineの設定", "色", "wavﾌｧｲﾙを選択"
CLOCK_CLASS, DIALOG_CLASS = "Tessarine_F_Tokei", "Tessarine_F_Setting"
SIZE = (537, 523)  # at 96 DPI

# Client positions of what the tests press or look at, at 96 DPI.
OK, CANCEL, CLOSE, STRIP = (396, 494), (480, 494), (523, 11), (300, 10)
HOUR_0, TRACK_0 = (48, 376), (228, 376)
COLOUR_BUTTON = [(52, 80 + 28 * i) for i in range(7)]  # 背景 .. 振り子, 初期値
SWATCH = [(94, 78 + 28 * i) for i in range(6)]
GRAPH_BUTTON, FILTER_BUTTON = [(270, 86 + 24 * i) for i in range(4)], (270, 206)
SHAPE_MARK = [(140, 76 + 20 * i) for i in range(3)]
SHAPE_CAPTION = [(165, 76 + 20 * i) for i in range(3)]
PREVIEW_DIAL, PREVIEW_PENDULUM = (138, 186), (138, 266)  # 80 x 80 and 80 x 57
PREVIEW_BACK = (136, 184)  # inside the preview's frame, beside the dial
BOARD = (378, 74, 130, 130)  # the memory pie's board: x, y, w, h
PHYS_FIGURES = (240, 260)  # tops of the total and free figures' text, in boxes at x 346..422
RELEASE = (330, 184)
IVAL_BAR, KAGEN_BAR = (382, 286, 65, 17), (382, 310, 65, 17)
IVAL_LABEL, KAGEN_LABEL = (452, 288, 53, 13), (452, 312, 53, 13)

# The colour dialog's basic colours: cells 30 pixels apart across, 23 down, from (20, 32).
RED_CELL, YELLOW_CELL, CYAN_CELL, MAGENTA_CELL, BLUE_CELL = (0, 1), (1, 1), (4, 1), (7, 1), (4, 3)
COLOUR_OK, COLOUR_CANCEL = (51, 282), (150, 282)
CUSTOM_BOX = [(20 + 30 * (k % 8), 198 + 23 * (k // 8)) for k in range(16)]

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

    def grab(self):
        return self.clock.display.screenshot(self.geometry())

    def image(self, path: Path):
        return self.image_when(lambda shot: True, path)

    def image_when(self, ok, path: Optional[Path] = None, what: Optional[str] = None,
                   timeout: float = 5):
        """The first screenshot for which ok(shot) holds, saved as `path`. After `timeout`
        seconds, fails with `what`, or without one returns the last shot taken (for the
        caller's assertions to tell what is wrong)."""
        end = time.monotonic() + timeout
        while True:
            shot = self.grab()
            if ok(shot) or time.monotonic() > end:
                break
            time.sleep(0.1)
        if path:
            shot.save(path)
        if what and not ok(shot):
            pytest.fail(f"{what} within {timeout} s: {path}")
        return shot

    def open(self) -> bool:
        return window_named(self.clock, TITLE) is not None

    def wait_closed(self):
        wait_for(lambda: not self.open(), 5, "the dialog did not close")


def open_dialog(clock, at=ON_DIAL, title=TITLE) -> Dialog:
    """Opens the dialog through the menu of a right-click `at` (the pendulum area keeps a
    ringing alarm going); `title` names it (with the settings file when that is the user's)."""
    x, y, _, _ = clock.geometry()
    since = len(clock.trace_lines())
    clock.click(x + at[0], y + at[1], 3)
    drawn_menu(clock, since).click("設定変更(&S)")
    w = new_window(clock, title, timeout=10)
    if not w:
        raise HarnessError("the settings dialog did not open")
    dialog = Dialog(clock, w)
    # Painted: its title strip drawn and its controls done.
    steady(clock.display, dialog.geometry,
           lambda shot: shot.getpixel((shot.width // 2, 3)) not in (DESKTOP_RGB, (0, 0, 0)))
    return dialog


_TIMER = re.compile(r"NtUserSetTimer Added (\w+) (\d+) \S+ timeout (\d+)")


def timers_started(clock, since: int = 0):
    """(window, id) of every timer the program started after trace line `since`."""
    return [(m.group(1), int(m.group(2)))
            for m in map(_TIMER.search, clock.trace_lines()[since:]) if m]


def clock_window_handle(clock, since: int = 0) -> str:
    """The current clock window's handle: the window its pendulum timer (id 2) was last started
    on (the timer takes over the frames whenever the program hands a message on, so an old
    clock window starts it too until it is gone)."""
    return [w for w, i in timers_started(clock, since) if i == 2][-1]


def memory_check_started(clock, since: int) -> bool:
    """Whether the clock's memory check (its timer 3) was switched on after line `since`. The
    dialog switches it on as it unloads, before its window goes, so once the dialog is closed
    the trace already holds the line."""
    return (clock_window_handle(clock), 3) in timers_started(clock, since)


def set_ival_to_zero(dialog):
    x, y, w, h = IVAL_BAR
    # The thumb, dragged past the left arrow, lets go at the bar's minimum.
    sx, sy = dialog.at((x + w // 2, y + h // 2))
    dialog.clock.display.drag(sx, sy, sx - 60, sy, steps=6)


def row(i):
    """Client positions of alarm row i."""
    dy = 48 * i
    return {"switch": (28, 376 + dy), "state": (22, 390 + dy, 22, 13), "hour": (48, 376 + dy),
            "cd_mark": (158, 370 + dy, 13, 13), "cd": (185, 376 + dy),
            "file_mark": (346, 370 + dy, 13, 13), "file_mark_at": (352, 376 + dy),
            "choose": (440, 376 + dy), "clear": (480, 375 + dy),
            "path": (160, 392 + dy, 289, 13)}


def crop(image, box):
    x, y, w, h = box
    return image.crop((x, y, x + w, y + h))


def same(a, b) -> bool:
    return ImageChops.difference(a, b).getbbox() is None


def steady(display, where, ok=lambda shot: True, timeout: float = 5, fail: bool = True):
    """A screenshot of `where()` once `ok` holds and the next shot is alike: a window painted
    and at rest. After `timeout` seconds fails, or with `fail` False returns None."""
    last = None
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        shot = display.screenshot(where())
        if last is not None and same(shot, last) and ok(shot):
            return shot
        last = shot
        time.sleep(0.1)
    if fail:
        pytest.fail(f"the window did not come to rest painted within {timeout} s")
    return None


def pick_in_list(dialog, p, *keys):
    """Drops the list of the combo box at `p`, presses `keys` in it and waits for it to go
    (a press elsewhere while it is down would only close it)."""
    before = set(dialog.clock.windows())
    dialog.click(p)
    wait_for(lambda: set(dialog.clock.windows()) - before, 5, f"no list dropped at {p}")
    dialog.clock.display.key(*keys)
    wait_for(lambda: set(dialog.clock.windows()) <= before, 5, f"the list at {p} stayed")


def window_named(clock, name: str):
    return next((w for w in clock.windows() if clock.display.window_name(w) == name), None)


def new_window(clock, name: str, timeout: float = 5):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        w = window_named(clock, name)
        if w:
            return w
        time.sleep(0.1)
    return None


def closed(clock, name: str):
    """Waits until no window of the program has this title (Wine may replace a window's X
    window while it lives, so its X id going proves nothing)."""
    wait_for(lambda: window_named(clock, name) is None, 5, f"{name} did not close")


def colour_dialog(dialog, button, tmp_path=None):
    """Presses a colour button; the colour dialog's window and its screenshot."""
    dialog.click(button)
    w = new_window(dialog.clock, COLOUR_TITLE)
    assert w, "the colour dialog did not open"
    display = dialog.clock.display
    shot = steady(display, lambda: display.geometry(new_window(dialog.clock, COLOUR_TITLE)))
    if tmp_path:
        shot.save(tmp_path / "colour-dialog.png")
    return w, shot


def pick_colour(dialog, button, cell, ok=True):
    """Chooses the basic colour `cell` (column, row) in the colour dialog of `button`."""
    clock, display = dialog.clock, dialog.clock.display
    _, before = colour_dialog(dialog, button)
    x, y, _, _ = display.geometry(new_window(clock, COLOUR_TITLE))
    clock.click(x + 20 + 30 * cell[0], y + 32 + 23 * cell[1])
    # The cell drawn chosen (unless it was already).
    steady(display, lambda: display.geometry(new_window(clock, COLOUR_TITLE)),
           lambda shot: not same(shot, before), timeout=2, fail=False)
    end = COLOUR_OK if ok else COLOUR_CANCEL
    clock.click(x + end[0], y + end[1])
    closed(clock, COLOUR_TITLE)


def choose_file(dialog, button, typed: str, tmp_path=None, name="chooser", refused=False):
    """Presses "...", types `typed` into the chooser's file name box and presses Return (or
    Escape for `typed` None); with a file typed, returns once the row's path label changed
    (or after 5 s, for the caller to find it unchanged). With `refused`, the chooser must
    answer with a message of its own and stay open; the message is closed and the chooser
    cancelled."""
    clock = dialog.clock
    label = next(r["path"] for r in map(row, (0, 1)) if r["choose"] == button)
    before = crop(dialog.grab(), label)
    dialog.click(button)
    w = new_window(clock, CHOOSER_TITLE)
    assert w, "the file chooser did not open"
    shot = steady(clock.display, lambda: clock.display.geometry(new_window(clock, CHOOSER_TITLE)))
    x, y, width, height = clock.display.geometry(new_window(clock, CHOOSER_TITLE))
    if tmp_path:
        shot.save(tmp_path / f"{name}.png")
    clock.display.move_pointer(x + width // 2, y + height // 2)  # keys go to the window under it
    if typed is None:
        clock.display.key("Escape")
    else:
        type_text(clock.display, typed)
        windows = set(clock.windows())
        clock.display.key("Return")
        if refused:
            message = wait_for(lambda: set(clock.windows()) - windows, 5,
                               "the chooser took a name that does not exist")
            if tmp_path:
                mx, my, mw, mh = clock.display.geometry(message.pop())
                clock.display.screenshot((mx, my, mw, mh)).save(tmp_path / f"{name}.png")
            clock.display.key("Return")
            wait_for(lambda: set(clock.windows()) == windows, 5, "the message did not close")
            clock.display.key("Escape")
    closed(clock, CHOOSER_TITLE)
    if typed is not None and not refused:
        dialog.image_when(lambda shot: not same(crop(shot, label), before))


def type_text(display, text: str) -> None:
    """Types `text` into the window under the pointer. xdotool binds a spare key to each
    character the keyboard lacks; Wine must see each new binding before its key press, or the
    character is lost."""
    for run in re.findall(r"[\x00-\x7f]+|[^\x00-\x7f]+", text):
        delay = "20" if run.isascii() else "200"
        display.run("xdotool", "type", "--delay", delay, run)


def ink(image, box) -> int:
    """Dark pixels (text) in a white label."""
    return sum(1 for p in crop(image, box).getdata() if max(p) < 128)


def reds(image, box) -> int:
    return sum(1 for r, g, b in crop(image, box).getdata() if r > 200 and g < 80 and b < 80)


def shown_numerals(grab, shape: int, ring, since: Optional[float] = None, timeout: float = 5):
    """(boxes, shot): the numeral boxes (see numeral_boxes) of the dial box `grab()` shows, for
    the second its ring (in colour `ring`) shows: one from `since` (a time.time() value; by
    default two before the shot) on. Read again until such a ring and every numeral clear of
    the hands show: a clock just reloaded on a busy machine may not have painted yet."""
    scale = DialScale(shape)
    end = time.monotonic() + timeout
    while True:
        first = time.time() - 2 if since is None else since
        image = grab()
        t = drawn_time(image, scale, ring, first, time.time())
        boxes = numeral_boxes(image, scale, t) if t else {}
        if (boxes and all(boxes.values())) or time.monotonic() > end:
            break
        time.sleep(0.2)
    assert t, f"no second ring of a second since {first}"
    return boxes, image


def clock_window(clock) -> int:
    clock.geometry()  # finds the window when it is not known yet
    return clock.window


def reloaded(clock, old: int):
    """Waits for the clock's window that replaced `old`."""
    def back():
        return [w for w in clock.windows()
                if w != old and clock.display.window_name(w) == "Tessarine"]
    wait_for(back, 5, "the clock did not come back")
    clock.window = back()[0]
    wait_painted(clock)


def read_tree(app, exe: Path, window_class: str) -> tuple:
    """The elements (child, role, state, (x, y, w, h), name, value) and the focused child. A
    focused list or scroll bar's own object, as a reader reads it on its focus event, comes
    last as child -1."""
    result = app.wine.run([str(exe), window_class], timeout=30)
    assert result.returncode == 0, f"no accessible object for {window_class}"
    rows, focus = [], None
    for line in result.stdout.decode("utf-8").splitlines():
        f = line.split("\t")
        if f[0] == "focus":
            focus = int(f[1])
            continue
        rows.append((-1 if f[0] == "window" else int(f[0]), int(f[1]), int(f[2], 16),
                     tuple(map(int, f[3].split(","))), f[4], f[5]))
    return rows, focus
