"""The settings dialog, opened from the clock's menu and driven with the mouse: where it
opens, what its preview and memory pie show, that the clock's dial refuses the menu while it
is open, dragging it by its title strip, and what OK, cancel, the close picture and Esc do to
the settings file and to the clock's memory check.

Positions inside the dialog are in its client pixels, from its fixed layout. The memory check
is watched through Wine's +msg trace, which logs every timer the program starts
("NtUserSetTimer Added <window> <id> ..."); the clock's check is its timer 3.
"""

from __future__ import annotations

import math
import time

import pytest

from harness import HarnessError, SCREEN_H, SCREEN_W, drawn_menu
from support_clock import (CLOCK_MENU, ON_DIAL, ON_PENDULUM, colour_value, ini_keys, ini_values,
                           wait_for, wait_painted)
from support_dialog import (BOARD, BOB, CANCEL, CLOSE, FACE, GRAPH, HOUR, HOUR_0, IVAL_BAR, KEYS,
                            MINUTE, OK, PHYS_FIGURES, PREVIEW_DIAL, PREVIEW_PENDULUM,
                            SECOND, SIZE, STRIP, TRACE, TRACK_0, base_ini, clock_window,
                            clock_window_handle, crop, memory_check_started, open_dialog,
                            pick_in_list, reloaded, set_ival_to_zero, timers_started)
from support_face import (DialScale, covered, drawn_time, hands_at, misplaced, numeral_boxes,
                          pixels_of)




def test_dialog_shows_the_clock_and_memory_and_cancel_keeps_the_file(app, tmp_path,
                                                                    memory_figures_exe):
    clock = app.start(ini=base_ini(mem_ival=30, shape=2), trace=TRACE)
    wait_painted(clock)
    before = clock.ini_bytes()
    opened = time.time()
    dialog = open_dialog(clock)

    # Centred, at its full size, above the clock.
    x, y, w, h = dialog.geometry()
    assert (w, h) == SIZE
    assert (x, y) == (round((SCREEN_W * 15 - w * 15) // 2 / 15),
                      round((SCREEN_H * 15 - h * 15) // 2 / 15))
    def free_degrees():
        total_kb, avail_kb = (int(v) for v in
                              clock.wine.run([str(memory_figures_exe)]).stdout.split())
        return avail_kb / total_kb * 360

    # Figures move while the test runs: the pie must lie within what was seen around the shot.
    seen = [free_degrees()]
    shot = dialog.image(tmp_path / "dialog.png")
    seen.append(free_degrees())

    # The preview: a round dial in the clock's colours, flattened numerals (shape 2), the
    # three hands, and the bob resting right of the pivot.
    dx, dy = PREVIEW_DIAL
    dial = (dx, dy, 80, 80)
    rim = tuple(c + 6 for c in FACE)  # the rim row, or the ring inside it
    assert shot.getpixel((dx + 40, dy)) in (FACE, rim), "dial rim not in Color_0"
    assert shot.getpixel((dx + 40, dy + 2)) in (rim, tuple(c + 12 for c in FACE))
    # The hands of the second the ring shows; the minute hand may hide the whole hour hand.
    scale = DialScale(2)
    preview = crop(shot, dial)
    now = drawn_time(preview, scale, SECOND, opened, time.time())
    assert now, "the preview's ring shows no second since the dialog was opened"
    hour_hidden = all(covered(p, now, scale, ("minute", "ring"), 1)
                      for p in hands_at(now, scale)[0])
    assert pixels_of(preview, MINUTE) and (hour_hidden or pixels_of(preview, HOUR)), \
        f"a hand's colour is missing from the preview at {time.strftime('%H:%M:%S', now)}"
    # Numerals in Color_1 (yellow) where the flattened dial puts them: the 12 at 8/26 of the
    # height above the centre, not 8/20.
    boxes = numeral_boxes(preview, scale, now)
    assert boxes and not misplaced(boxes, scale, 2.5), f"numerals at {boxes}"
    px, py = PREVIEW_PENDULUM
    # 24 px right of the pivot and 26.8 below it: the brightest disc, OR-ed onto the face colour.
    around = [shot.getpixel((px + 64 + i, py + 27 + j)) for i in (-1, 0, 1) for j in (-1, 0, 1)]
    assert tuple(min(c + 192, 255) | f for c, f in zip(BOB, FACE)) in around, around
    assert shot.getpixel((px + 20, py + 27)) == FACE

    # The pie: the free sector from three o'clock clockwise, as large as the free share the
    # system reports (figures move a little while the test runs).
    bx, by = BOARD[:2]
    def colour_at(a):
        return shot.getpixel((round(bx + 65 + 36 * math.cos(math.radians(a))),
                              round(by + 65 + 36 * math.sin(math.radians(a)))))

    # The first spoke is 3 px wide (about 2.5 degrees either side at this radius) and always in
    # the free colour; between its two sides the free sector runs on unbroken to its end. (Read
    # across that spoke, a nearly full sector shows the total colour between its end and it.)
    assert all(colour_at(a) == GRAPH[2] for a in (-1, 0, 1)), "no free spoke at three o'clock"
    ring = {a: colour_at(a) for a in range(3, 357)}
    free = [a for a, c in ring.items() if c == GRAPH[2]]
    total = [a for a, c in ring.items() if c == GRAPH[1]]
    end = free[-1] if free else 0
    assert free == list(range(3, end + 1)), free
    assert min(seen) - 6 <= end <= max(seen) + 6, f"sector ends at {end}, free share seen {seen}"
    assert len(free) + len(total) >= 349 or max(seen) > 348

    # The physical-memory figures whole in their boxes (a machine of 10 GB or more has
    # figures wider than the box): blank columns inside each frame before and after them.
    for top in PHYS_FIGURES:
        inked = [x for x in range(348, 421) for y in range(top, top + 13)
                 if max(shot.getpixel((x, y))) < 128]
        assert inked and min(inked) > 349 and max(inked) < 420, f"figure at row {top} cut"

    # While it is open the dial opens no menu; the pendulum area still does.
    cx, cy, _, _ = clock.geometry()
    since = len(clock.trace_lines())
    clock.click(cx + ON_DIAL[0], cy + ON_DIAL[1], 3)
    with pytest.raises(HarnessError):
        drawn_menu(clock, since, timeout=1.5)
    since = len(clock.trace_lines())
    clock.click(cx + ON_PENDULUM[0], cy + ON_PENDULUM[1], 3)
    assert drawn_menu(clock, since).texts() == CLOCK_MENU
    shown = set(clock.windows())
    clock.display.key("Escape")
    wait_for(lambda: set(clock.windows()) < shown, 5, "the menu stayed")

    # Dragged by its title strip, it follows the pointer.
    sx, sy = dialog.at(STRIP)
    clock.display.drag(sx, sy, sx - 70, sy + 45)
    wait_for(lambda: dialog.geometry()[:2] == (x - 70, y + 45), 3,
             f"dialog at {dialog.geometry()[:2]}, not {(x - 70, y + 45)}")

    # Cancel after moving the interval bar to 0: nothing written, and the memory check
    # follows the saved 30 minutes.
    set_ival_to_zero(dialog)
    since = len(clock.trace_lines())
    dialog.click(CANCEL)
    dialog.wait_closed()
    assert memory_check_started(clock, since), "memory check left off after cancel"
    assert clock.ini_bytes() == before

    # The close picture and Esc close it the same way.
    dialog = open_dialog(clock)
    dialog.click(CLOSE)
    dialog.wait_closed()
    dialog = open_dialog(clock)
    clock.display.move_pointer(*dialog.at((268, 300)))  # keys go to the window under it
    clock.display.key("Escape")
    dialog.wait_closed()
    assert clock.ini_bytes() == before
    assert clock.alive()


def test_ok_writes_every_key_in_order_and_reloads_the_clock(app, tmp_path):
    ini = base_ini(mem_ival=0)
    ini.update({"Sound_C_0": 1, "Sound_Kbn_0": 1})
    clock = app.start(ini=ini, trace=TRACE)
    wait_painted(clock)
    place = clock.geometry()

    # Cancel after moving the interval bar away from a saved 0: the check stays off.
    dialog = open_dialog(clock)
    dialog.click((IVAL_BAR[0] + IVAL_BAR[2] - 8, IVAL_BAR[1] + 8))
    since = len(clock.trace_lines())
    dialog.click(CANCEL)
    dialog.wait_closed()
    assert not memory_check_started(clock, since), "memory check switched on by an unsaved bar"

    # Edited with the mouse and the keyboard: hour 0 moved down two, track typed as 2.5, the
    # interval one arrow step up from 0. Then OK.
    dialog = open_dialog(clock)
    pick_in_list(dialog, HOUR_0, "Down", "Down", "Return")
    dialog.click(TRACK_0)
    clock.display.key("2", "period", "5")
    dialog.click((IVAL_BAR[0] + IVAL_BAR[2] - 8, IVAL_BAR[1] + 8))
    dialog.image(tmp_path / "edited.png")
    since = len(clock.trace_lines())
    old_window = clock_window(clock)
    dialog.click(OK)
    dialog.wait_closed()

    # The clock comes back where it was, on a new window whose memory check runs. Found by
    # its title: the first window of the program may still be the dialog going, or the old
    # clock, when a listing races with their ends.
    reloaded(clock, old_window)
    assert clock.wait_geometry(place) == place
    wait_for(lambda: (clock_window_handle(clock, since), 3) in timers_started(clock, since), 5,
             "the reloaded clock checks no memory", clock)

    data = clock.ini_bytes()
    keys = ini_keys(data)
    # Keys that were in the file keep their lines; the new ones follow in the saving order.
    old = [k for k in ini]
    new = [k for k in KEYS if k not in old]
    assert keys[:len(old)] == old
    assert keys[len(old):len(old) + len(new)] == new
    values = ini_values(data)
    expected = {"Color_0": f" {colour_value(FACE)}", "Shape": " 2", "Sound_H_0": " 2",
                "Sound_M_0": " 0", "Sound_Repeat_0": " 2", "Sound_Kbn_0": " 1", "Sound_C_0": " 1",
                "Sound_F_0": "", "Sound_F_1": "", "Mem_Ival": " 1", "Mem_Kagen": " 30"}
    assert {k: values[k] for k in expected} == expected
    assert values["Alarm_Path"].endswith("\\prog"), values["Alarm_Path"]
