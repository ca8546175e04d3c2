"""The list of every alarm behind the settings dialog's "その他のｱﾗｰﾑ..." button, on the suite's
pinned local time (`alarm_time`): an alarm added from the keyboard alone, read by a screen
reader from another process, saved with the dialog's 設定 and rung with another in its minute."""

from __future__ import annotations

import datetime
import re

from harness import MENU_TRACE, to_windows_path
from sound_trace import SOUND_FILE, alarm, played_names
from support_clock import ini_values, wait_for
from support_dialog import clock_window, closed, new_window, open_dialog, read_tree, reloaded, \
    type_text, window_named

LIST_CLASS, LIST_TITLE, RING_CLASS = "Tessarine_AlarmList", "ｱﾗｰﾑ一覧", "Tessarine_Ring"
ROLE_CHECKBOX, STATE_CHECKED = 44, 0x10


def open_list(clock):
    """The settings dialog, and the list from it by the keyboard: Shift+Tab from the dialog's
    start passes ✕, ｷｬﾝｾﾙ and 設定 to the list's button. The dialog, still open under it."""
    dialog = open_dialog(clock)
    x, y, w, h = dialog.geometry()
    clock.display.move_pointer(x + w // 2, y + h // 2)
    clock.display.key("shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "space")
    assert new_window(clock, LIST_TITLE), "the list did not open"
    return dialog


def test_an_alarm_added_by_keyboard_is_saved_read_and_rings_before_another_of_its_minute(
        app, sounds, alarm_time, acc_tree_exe, tmp_path):
    """Alarms 3 (off) and 4 (at another time, its file gone) and 7 (at the alarm's minute) are in the file.
    From the keyboard: the dialog's button, Add, the time, today alone, the sound file and a
    label; the list, read from another process, names every alarm with its switch and columns.
    設定 writes alarm 5's keys and none for the unused 6 and 8. At the minute alarm 5 rings its
    file alone; the ringing window shows its label and names alarm 7, which counts as rung."""
    at = alarm_time.at
    today = at.isoweekday() % 7  # 0 Sunday
    label = "お薬 take pills"
    wav = to_windows_path(sounds["wav"])
    ini = {**alarm(0, at - datetime.timedelta(hours=2), SOUND_FILE, sounds["other wav"]),
           **alarm(2, at, SOUND_FILE, sounds["other wav"], switch=0),
           **alarm(3, at + datetime.timedelta(minutes=30), SOUND_FILE,
                   tmp_path / "gone" / "鐘.wav"),
           **alarm(6, at, SOUND_FILE, sounds["other wav"]), "Sound_Once_6": -1,
           "Pos_X": 150, "Pos_Y": 150}
    clock = app.start(ini=ini, trace=MENU_TRACE, local_clock=alarm_time.local)
    before = clock.ini_bytes()
    old = clock_window(clock)
    dialog = open_list(clock)
    clock.display.key("Tab", "space")  # Add
    assert new_window(clock, "ｱﾗｰﾑ5の詳細"), "Add did not open alarm 5's window"
    clock.display.key(*f"{at.hour:02d}", "Tab", *f"{at.minute:02d}", "Tab", "Tab")
    type_text(clock.display, wav)
    clock.display.key("Tab", "Tab")  # past ... to Sunday
    for d in range(7):
        clock.display.key(*(["space"] if d != today else []), "Tab")
    clock.display.key("Tab")  # past once
    type_text(clock.display, label)
    clock.display.key("Return")
    closed(clock, "ｱﾗｰﾑ5の詳細")

    rows, focus = read_tree(clock, acc_tree_exe, LIST_CLASS)
    alarms = {r[4]: r for r in rows if r[1] == ROLE_CHECKBOX}
    assert list(alarms) == ["ｱﾗｰﾑ1", "ｱﾗｰﾑ2", "ｱﾗｰﾑ3", "ｱﾗｰﾑ4", "ｱﾗｰﾑ5", "ｱﾗｰﾑ7"], rows
    on = {name: bool(r[2] & STATE_CHECKED) for name, r in alarms.items()}
    assert on == {"ｱﾗｰﾑ1": True, "ｱﾗｰﾑ2": False, "ｱﾗｰﾑ3": False, "ｱﾗｰﾑ4": True,
                  "ｱﾗｰﾑ5": True, "ｱﾗｰﾑ7": True}, rows
    day = "日月火水木金土"[today]
    assert alarms["ｱﾗｰﾑ5"][5] == f"{at.hour}:{at.minute:02d}  {day}  {label}  {sounds['wav'].name}"
    assert alarms["ｱﾗｰﾑ7"][5].startswith(f"{at.hour}:{at.minute:02d}  毎日  "), rows
    assert alarms["ｱﾗｰﾑ4"][5].endswith("  鐘.wav (見つかりません)"), rows
    assert rows[focus][4] == "ｱﾗｰﾑ5", (rows, focus)  # the row added has the keyboard
    clock.display.screenshot(clock.display.geometry(window_named(clock, LIST_TITLE))).save(
        tmp_path / "list.png")

    clock.display.key("Return")  # the list's OK
    closed(clock, LIST_TITLE)
    assert clock.ini_bytes() == before  # kept for the dialog's 設定
    clock.display.key("Tab", "space")  # 設定
    dialog.wait_closed()
    reloaded(clock, old)
    values = ini_values(clock.ini_bytes())
    assert {k: values.get(k) for k in ("Sound_C_4", "Sound_H_4", "Sound_M_4", "Sound_Kbn_4",
                                       "Sound_F_4", "Sound_Days_4", "Sound_Label_4")} == {
        "Sound_C_4": " 1", "Sound_H_4": f" {at.hour}", "Sound_M_4": f" {at.minute}",
        "Sound_Kbn_4": " 2", "Sound_F_4": wav, "Sound_Days_4": f" {1 << today}",
        "Sound_Label_4": label}, values
    assert not [k for k in values if re.match(r"Sound_\w+_[57]$", k)], values

    alarm_time.ring(30)
    title = f"ｱﾗｰﾑ5 {at.hour}:{at.minute:02d} {label}"
    assert new_window(clock, title, timeout=10), "alarm 5 did not ring"
    rows, _ = read_tree(clock, acc_tree_exe, RING_CLASS)
    assert [r[4] for r in rows if r[4].startswith("+")] == [
        f"+1: ｱﾗｰﾑ7 {at.hour}:{at.minute:02d}"], rows
    assert any(r[4] == label for r in rows), rows
    clock.display.screenshot(clock.display.geometry(window_named(clock, title))).save(
        tmp_path / "ringing.png")
    assert played_names(clock) == [wav]
    # Alarm 7, a once-alarm, counted as rung: off in the file.
    wait_for(lambda: ini_values(clock.ini_bytes()).get("Sound_C_6") == " 0", 5,
             "the once-alarm rung with another is still on", clock)
    clock.key("Escape")
    closed(clock, title)
    alarm_time.assert_within_minute()


def test_a_once_alarm_that_rings_while_the_list_is_open_stays_off_through_its_ok(
        app, sounds, alarm_time, acc_tree_exe):
    """The list edits a copy: alarm 3, a once-alarm, rings and is answered (so switched off)
    while the list is open, and the list's OK and the dialog's 設定 must not switch it on
    again."""
    at = alarm_time.at
    ini = {**alarm(2, at, SOUND_FILE, sounds["wav"]), "Sound_Once_2": -1, "Pos_X": 150,
           "Pos_Y": 150}
    clock = app.start(ini=ini, trace=MENU_TRACE, local_clock=alarm_time.local)
    old = clock_window(clock)
    dialog = open_list(clock)

    alarm_time.ring(30)
    title = f"ｱﾗｰﾑ3 {at.hour}:{at.minute:02d}"
    assert new_window(clock, title, timeout=10), "no ring"
    rows, _ = read_tree(clock, acc_tree_exe, RING_CLASS)
    x, y, w, h = next(r[3] for r in rows if r[4] == "停止")
    clock.click(x + w // 2, y + h // 2)  # answered: a once-alarm goes off
    closed(clock, title)
    wait_for(lambda: ini_values(clock.ini_bytes()).get("Sound_C_2") == " 0", 5,
             "the once-alarm is still on in the file", clock)
    x, y, w, h = clock.display.geometry(window_named(clock, LIST_TITLE))
    clock.display.move_pointer(x + w // 2, y + h // 2)
    clock.display.key("Return")  # the list's OK
    closed(clock, LIST_TITLE)
    clock.display.key("Tab", "space")  # 設定
    dialog.wait_closed()
    reloaded(clock, old)
    assert ini_values(clock.ini_bytes()).get("Sound_C_2") == " 0"
