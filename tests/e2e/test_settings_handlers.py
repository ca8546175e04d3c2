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

import time


from harness import MENU_TRACE, SCREEN_H, SCREEN_W, scarce_meminfo, to_windows_path
from support_clock import (BLUE, CYAN, MAGENTA, YELLOW, colour_value, ini_values,
                           wait_for, wait_painted)
from support_face import DialScale, misplaced
from support_dialog import (DIALOG_CLASS, read_tree, BLUE_CELL, BOARD, CHOOSER_TITLE, COLOUR_BUTTON, COLOUR_CANCEL,
                            COLOUR_TITLE, CUSTOM_BOX, CYAN_CELL, FILTER_BUTTON, GRAPH_BUTTON,
                            IVAL_BAR, IVAL_LABEL, KAGEN_BAR, KAGEN_LABEL, MAGENTA_CELL, OK,
                            PREVIEW_BACK, PREVIEW_DIAL, RED_CELL, RELEASE, SHAPE_CAPTION,
                            SHAPE_MARK, SWATCH, YELLOW_CELL, base_ini, choose_file, clock_window,
                            closed, colour_dialog, crop, ink, new_window, open_dialog,
                            pick_colour, pick_in_list, reds, reloaded, row, same,
                            shown_numerals)

WHITE = (255, 255, 255)


def test_colours_reset_pick_and_shape_reach_the_preview_the_file_and_the_clock(app, tmp_path):
    # Numerals in no colour of the palette, so that yellow ones are the picked colour.
    ini = dict(base_ini(mem_ival=30, shape=0), Color_1=colour_value((9, 9, 9)),
               Filter_Color=colour_value((1, 2, 3)))
    clock = app.start(ini=ini, trace=MENU_TRACE)
    wait_painted(clock)
    dialog = open_dialog(clock)

    # "初期値": black, white, black, black, white, black, with no dialog, the preview redrawn.
    dialog.click(COLOUR_BUTTON[6])
    defaults = [(0, 0, 0), WHITE, (0, 0, 0), (0, 0, 0), WHITE, (0, 0, 0)]
    shot = dialog.image_when(lambda shot: [shot.getpixel(p) for p in SWATCH] == defaults,
                             tmp_path / "reset.png", "the swatches not reset")
    assert new_window(clock, COLOUR_TITLE, timeout=0.5) is None
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
    closed(clock, COLOUR_TITLE)

    # Colours chosen: a blue face and yellow numerals on the swatches and the preview; a
    # magenta free-memory sector; a cyan filter.
    pick_colour(dialog, COLOUR_BUTTON[0], BLUE_CELL)
    pick_colour(dialog, COLOUR_BUTTON[1], YELLOW_CELL)
    pick_colour(dialog, COLOUR_BUTTON[3], RED_CELL, ok=False)
    pick_colour(dialog, GRAPH_BUTTON[2], MAGENTA_CELL)
    pick_colour(dialog, FILTER_BUTTON, CYAN_CELL)
    shot = dialog.image_when(lambda shot: shot.getpixel(FILTER_BUTTON) == CYAN,
                             tmp_path / "picked.png")
    assert [shot.getpixel(p) for p in SWATCH] == [BLUE, YELLOW] + defaults[2:]
    assert shot.getpixel(PREVIEW_BACK) == BLUE
    assert shot.getpixel(GRAPH_BUTTON[2]) == MAGENTA and shot.getpixel(FILTER_BUTTON) == CYAN
    assert any(p == MAGENTA for p in crop(shot, BOARD).getdata()), "graph not redrawn"

    # Shape: the caption chooses, the mark follows, the preview's numerals move to the
    # shape's places: all but the 12 and the 6 closer in.
    marks = [crop(shot, (p[0] - 6, p[1] - 6, 13, 13)) for p in SHAPE_MARK]
    since = time.time()
    dialog.click(SHAPE_CAPTION[1])
    boxes, _ = shown_numerals(lambda: crop(dialog.grab(), PREVIEW_DIAL + (80, 80)), 1, WHITE,
                              since)
    shot = dialog.image(tmp_path / "shape1.png")
    assert same(crop(shot, (SHAPE_MARK[1][0] - 6, SHAPE_MARK[1][1] - 6, 13, 13)), marks[0])
    assert same(crop(shot, (SHAPE_MARK[0][0] - 6, SHAPE_MARK[0][1] - 6, 13, 13)), marks[1])
    assert set(boxes) - {"12", "6"} and not misplaced(boxes, DialScale(1), 2.5), \
        f"preview not redrawn in shape 1: {boxes}"

    old_clock = clock_window(clock)
    dialog.click(OK)
    dialog.wait_closed()
    values = ini_values(clock.ini_bytes())
    assert [values[f"Color_{i}"] for i in range(6)] == [
        f" {colour_value(c)}" for c in [BLUE, YELLOW] + defaults[2:]]
    assert values["Graph_Color_2"] == f" {colour_value(MAGENTA)}"
    assert values["Graph_Color_1"] == f" {colour_value((0, 0, 160))}"
    assert values["Filter_Color"] == f" {colour_value(CYAN)}"

    # Each shape, chosen by its mark or its caption, then OK: the clock comes back with its
    # numerals on that shape's scale.
    for shape, target in [(1, None), (2, SHAPE_MARK[2]), (0, SHAPE_CAPTION[0])]:
        if target:
            dialog = open_dialog(clock)
            dialog.click(target)
            dialog.click(OK)
            dialog.wait_closed()
        reloaded(clock, old_clock)
        old_clock = clock.window
        assert ini_values(clock.ini_bytes())["Shape"] == f" {shape}"
        boxes, face = shown_numerals(lambda: clock.screenshot(clock.geometry()[:2] + (80, 80)),
                                     shape, WHITE)
        face.save(tmp_path / f"clock-shape{shape}.png")
        assert boxes and not misplaced(boxes, DialScale(shape), 2.5), \
            f"shape {shape}: numerals clear of the hands at {boxes}"


def test_alarm_rows_switch_kind_choose_and_clear(app, tmp_path, wine, acc_tree_exe):
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
        wait_painted(clock)
        dialog = open_dialog(clock)
        r0, r1 = row(0), row(1)
        shot = dialog.image(tmp_path / "alarms-open.png")
        assert reds(shot, r0["state"]) == 0 and reds(shot, r1["state"]) > 5, "Off / On"
        assert ink(shot, r0["path"]) == 0 and ink(shot, r1["path"]) > 20
        selected, unselected = crop(shot, r0["file_mark"]), crop(shot, r0["cd_mark"])

        # Row 0 is off: its hour box, its "音楽CD" and its "..." do not react.
        hour_box = (r0["hour"][0] - 20, r0["hour"][1] - 7, 40, 14)
        hour = crop(shot, hour_box)
        dialog.click(r0["hour"])
        clock.display.key("Down", "Down", "Return")
        dialog.click(r0["cd"])
        dialog.click(r0["choose"])
        assert new_window(clock, CHOOSER_TITLE, timeout=1) is None, "chooser of an off row"
        shot = dialog.image(tmp_path / "alarms-off-row.png")
        assert same(crop(shot, r0["cd_mark"]), unselected)
        assert same(crop(shot, hour_box), hour), "the off row's hour box took the keys"

        # Switched on: "On" in red, and the row answers: hour 02, "音楽CD" then "MP3、WAV"
        # then "音楽CD" again.
        dialog.click(r0["switch"])
        dialog.image_when(lambda shot: reds(shot, r0["state"]) > 5, tmp_path / "alarms-on.png",
                          "row 0 not shown On")
        pick_in_list(dialog, r0["hour"], "Home", "Down", "Down", "Return")
        dialog.click(r0["cd"])
        shot = dialog.image_when(lambda shot: same(crop(shot, r0["cd_mark"]), selected),
                                 tmp_path / "alarms-cd.png")
        assert same(crop(shot, r0["cd_mark"]), selected)
        assert same(crop(shot, r0["file_mark"]), unselected)
        dialog.click(r0["file_mark_at"])
        dialog.image_when(lambda shot: same(crop(shot, r0["file_mark"]), selected),
                          tmp_path / "alarms-file.png", '"MP3、WAV" not chosen')
        dialog.click(r0["cd"])

        # "ｸﾘｱ" empties row 1's path, which then says the alarm rings the chime; a file typed
        # in full into row 0's chooser shows there and chooses "MP3、WAV" over "音楽CD"; row
        # 1's chooser then opens in that file's folder, so a bare name lands in it.
        path_1 = r1["path"][:2] + (r1["path"][2] - 120, r1["path"][3])  # left of the note
        dialog.click(r1["clear"])
        dialog.image_when(lambda shot: ink(shot, path_1) == 0,
                          tmp_path / "alarms-cleared.png", "row 1's path not cleared")
        rows, _ = read_tree(clock, acc_tree_exe, DIALOG_CLASS)
        assert [r[5] for r in rows if r[4] == "ｱﾗｰﾑ2 Path :"] == ["ﾁｬｲﾑで鳴ります"], rows
        choose_file(dialog, r0["choose"], to_windows_path(other / "bell.wav"), tmp_path)
        dialog.image_when(lambda shot: same(crop(shot, r0["file_mark"]), selected),
                          tmp_path / "alarms-chosen-file.png", '"MP3、WAV" not chosen')
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
        assert same(crop(dialog.image(tmp_path / "alarms-refused.png"), r0["path"]), chosen)

        # Row 1 switched off: its controls go grey and its hour box ignores the keys (a
        # press on the grey box leaves the focus on the switch, where Enter would switch it).
        dialog.click(r1["switch"])
        dialog.click(r1["hour"])
        clock.display.key("Down", "Down")
        dialog.image_when(lambda shot: reds(shot, r1["state"]) == 0,
                          tmp_path / "alarms-row1-off.png", "row 1 still shown On")
        old = clock_window(clock)
        dialog.click(OK)
        dialog.wait_closed()
        values = ini_values(clock.ini_bytes())
        assert (values["Sound_C_0"], values["Sound_H_0"], values["Sound_Kbn_0"]) == (" 1", " 2", " 2")
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
    wait_painted(clock)
    dialog = open_dialog(clock)

    # Where a bar is pressed: its arrows 7 pixels in from its ends, its trough 19.
    RIGHT_ARROW, LEFT_ARROW, RIGHT_PAGE, LEFT_PAGE = -7, 7, -19, 19
    seen = {}

    def run(bar, label, steps):
        """Presses `bar` at each step's place (None: not at all) and waits for its label to
        show the step's value: the picture seen before for that value, unlike the others'."""
        for where, expected in steps:
            def shows_expected(shot):
                picture = crop(shot, label)
                return all(same(picture, other) == (value == expected)
                           for (other_label, value), other in seen.items() if other_label == label)
            if where:
                x, y, w, h = bar
                dialog.click((x + where if where > 0 else x + w + where, y + h // 2))
            shot = dialog.image_when(shows_expected, tmp_path / "bars.png",
                                     f"label at {expected}, against {list(seen)}")
            seen[(label, expected)] = crop(shot, label)

    run(IVAL_BAR, IVAL_LABEL, [(None, 58), (RIGHT_ARROW, 59), (RIGHT_ARROW, 60), (RIGHT_ARROW, 60),
                               (LEFT_PAGE, 55), (LEFT_PAGE, 50), (LEFT_ARROW, 49)])
    run(KAGEN_BAR, KAGEN_LABEL, [(None, 12), (LEFT_ARROW, 11), (LEFT_ARROW, 10), (LEFT_ARROW, 10),
                                 (RIGHT_PAGE, 20)])

    # 25 % free and the limit at 20: nothing is cleaned.
    dialog.click(RELEASE)
    assert clock.wait_trace("Tessarine: cleaned", 3) is None, "cleaned above the limit"

    # One page up to 30, not saved: 25 % free is now below it. The cleaner covers the screen,
    # cleans and goes by itself; the dialog stays.
    run(KAGEN_BAR, KAGEN_LABEL, [(RIGHT_PAGE, 30)])
    dialog.click(RELEASE)
    covered = None
    end = time.monotonic() + 10
    while time.monotonic() < end and covered is None:
        covered = next((w for w, b in clock.boxes().items() if b[2:] == (SCREEN_W, SCREEN_H)),
                       None)
    assert covered, "the cleaner did not open"
    clock.display.screenshot().save(tmp_path / "cleaner.png")
    assert clock.wait_trace("Tessarine: cleaned", 20), "the cleaner did not clean"
    wait_for(lambda: covered not in clock.windows(), 20, "the cleaner stayed")
    assert dialog.open()

    run(KAGEN_BAR, KAGEN_LABEL, [(RIGHT_PAGE, 40), (RIGHT_PAGE, 50), (RIGHT_PAGE, 60),
                                 (RIGHT_PAGE, 60), (LEFT_ARROW, 59)])
    old = clock_window(clock)
    dialog.click(OK)
    dialog.wait_closed()
    values = ini_values(clock.ini_bytes())
    assert (values["Mem_Ival"], values["Mem_Kagen"]) == (" 49", " 59")

    # Opened again, the labels show the saved values as the bars showed them.
    reloaded(clock, old)
    dialog = open_dialog(clock)
    shot = dialog.image(tmp_path / "bars-reopened.png")
    assert same(crop(shot, IVAL_LABEL), seen[(IVAL_LABEL, 49)])
    assert same(crop(shot, KAGEN_LABEL), seen[(KAGEN_LABEL, 59)])

