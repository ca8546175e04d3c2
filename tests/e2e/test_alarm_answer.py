"""An alarm a user can answer: its days, once, label, volume and fade-in, the ringing window with
ｽﾇｰｽﾞ and 停止, and the snooze, on the suite's pinned local time (`alarm_time`)."""

from __future__ import annotations

import datetime
import re
import time

import pytest

from harness import MENU_TRACE, drawn_menu, to_windows_path, tray_window
from sound_trace import SOUND_FILE, alarm, play_sound_calls, played_names, sent_mci
from support_clock import (ON_PENDULUM, TO_TRAY, ini_values, open_menu, open_tray_menu, wait_for,
                           watch)
from support_dialog import (CANCEL, CLOCK_CLASS, COLOUR_BUTTON, COLOUR_CANCEL, COLOUR_TITLE, OK,
                            clock_window, closed, new_window, open_dialog, read_tree, reloaded,
                            window_named)

RING_CLASS = "Tessarine_Ring"
ROLE_BUTTON = 43
OPTIONS_TITLE = "ｱﾗｰﾑ1の詳細"
OPTIONS_0 = (480, 398)  # alarm 1's 詳細, in the dialog's client area at 96 DPI

# winmm's trace of the program's own volume: both channels in one word.
WAVE_VOLUME = re.compile(r":trace:winmm:waveOutSetVolume \(\S+, (?P<v>[0-9A-Fa-f]{8})\)")


def wave_volumes(clock) -> list:
    """Each waveOutSetVolume as a percentage of full (the left channel)."""
    return [round((int(m.group("v"), 16) & 0xFFFF) * 100 / 0xFFFF)
            for m in map(WAVE_VOLUME.search, clock.trace_lines()) if m]


def mp3_volumes(clock) -> list:
    return [int(c.rsplit(" ", 1)[1]) for c in sent_mci(clock)
            if c.startswith("setaudio MP3Play volume to ")]


@pytest.mark.parametrize("kind", ["wav", "mp3"])
def test_a_ten_second_fade_rises_from_silence_to_the_set_volume(app, sounds, alarm_time, kind):
    # An MP3 longer than the fade: a short one may end between two checks and, never seen
    # playing, give way to the chime.
    ini = alarm(0, alarm_time.at, SOUND_FILE, sounds["wav" if kind == "wav" else "long mp3"])
    ini.update({"Sound_Volume_0": 60, "Sound_FadeIn_0": 10})
    clock = app.start(ini=ini, trace=True, local_clock=alarm_time.local)
    alarm_time.ring(20)
    levels, full = (wave_volumes, 60) if kind == "wav" else (mp3_volumes, 600)
    wait_for(lambda: full in levels(clock), 20, "the fade never reached its volume", clock)
    seen = levels(clock)
    # From silence, rising step by step over the ten seconds, never past the volume, and done.
    assert seen[0] == 0 and seen[-1] == full, seen
    assert seen == sorted(seen) and len(set(seen)) >= 10, seen
    clock.key("Escape")
    alarm_time.assert_within_minute()


def test_a_labelled_weekday_alarm_rings_a_window_snoozes_rings_again_and_stops_for_good(
        app, sounds, alarm_time, acc_tree_exe, tmp_path):
    """Alarm 1 is limited to today's weekday, once, with a label; alarm 2 rings at the snooze's
    minute but on every other day only. The ringing window names the alarm, its time and label
    for a reader, with both buttons; the clock's menu begins with ｽﾇｰｽﾞ and 停止, and "z" from
    the keyboard snoozes: the window closes and the clock reads out the snoozed ring. The time
    moved on by the snooze length rings alarm 1 again (alarm 2 stays silent); 停止 ends it and
    the once-alarm is off in the file, and stays off through the OK of a settings dialog that
    was open while it rang."""
    today = 1 << (alarm_time.at.isoweekday() % 7)  # bit 0 Sunday
    later = alarm_time.at + datetime.timedelta(minutes=10)
    label = "お薬 take pills"
    ini = {**alarm(0, alarm_time.at, SOUND_FILE, sounds["wav"]),
           **alarm(1, later, SOUND_FILE, sounds["other wav"]),
           "Sound_Days_0": today, "Sound_Once_0": -1, "Sound_Label_0": label,
           "Sound_Days_1": 127 & ~today, "Snooze_Min": 10, "Pos_X": 150, "Pos_Y": 150}
    clock = app.start(ini=ini, trace=MENU_TRACE, local_clock=alarm_time.local)
    title = f"ｱﾗｰﾑ1 7:30 {label}"
    alarm_time.ring(30)

    assert new_window(clock, title, timeout=10), "no ringing window"
    assert played_names(clock) == [to_windows_path(sounds["wav"])]
    rows, _ = read_tree(clock, acc_tree_exe, RING_CLASS)
    named = {(r[4], r[1]): r for r in rows}
    assert rows[0][4] == title, rows
    assert ("ｽﾇｰｽﾞ (10分)", ROLE_BUTTON) in named and ("停止", ROLE_BUTTON) in named, rows
    assert any(r[4] == label for r in rows), rows
    clock.display.screenshot(clock.display.geometry(window_named(clock, title))).save(
        tmp_path / "ringing.png")

    # From the keyboard: the clock's menu, ｽﾇｰｽﾞ by its letter.
    since = len(clock.trace_lines())
    clock.key("shift+F10")
    assert drawn_menu(clock, since).texts()[:3] == ["ｽﾇｰｽﾞ(&Z)", "停止(&X)", "-"]
    clock.display.key("z")
    closed(clock, title)
    wait_for(lambda: (True, 0) in play_sound_calls(clock), 5, "the snooze left the sound", clock)
    wait_for(lambda: "ｽﾇｰｽﾞ中 7:40" in read_tree(clock, acc_tree_exe, CLOCK_CLASS)[0][0][5], 10,
             "the clock does not read out the snooze", clock)

    # Ten minutes on, with the settings dialog open: alarm 1 again, not alarm 2, whose day
    # this is not.
    old = clock_window(clock)
    dialog = open_dialog(clock)
    alarm_time.local.set(later)
    assert new_window(clock, title, timeout=10), "the snooze did not ring"
    assert played_names(clock) == [to_windows_path(sounds["wav"])] * 2
    rows, _ = read_tree(clock, acc_tree_exe, RING_CLASS)
    x, y, w, h = next(r[3] for r in rows if r[4] == "停止" and r[1] == ROLE_BUTTON)
    clock.click(x + w // 2, y + h // 2)
    closed(clock, title)
    wait_for(lambda: ini_values(clock.ini_bytes()).get("Sound_C_0") == " 0", 5,
             "the once-alarm is still on in the file", clock)
    # The dialog, opened while it was on, shows it off: its OK keeps it off.
    dialog.click(OK)
    dialog.wait_closed()
    reloaded(clock, old)
    values = ini_values(clock.ini_bytes())
    assert values["Sound_C_0"] == " 0" and values["Sound_C_1"] == " 1", values
    assert values["Sound_Label_0"] == label, values
    assert to_windows_path(sounds["other wav"]) not in played_names(clock)


def test_esc_in_the_ringing_window_stops_the_alarm_under_another_windows_loop(
        app, sounds, alarm_time, acc_tree_exe, tmp_path):
    """Alarm 1 rings while its own window is open over the settings dialog: its 試聴 is grey
    with a note that says why, and a press on it neither stops nor replaces the alarm's sound,
    nor does closing the window. With the window open again, and later with the colour chooser
    open for alarm 2, a click makes the ringing window the active one and Esc there stops the
    sound; the window closes, the clock no longer reads out a ring, and the window that was
    open stays open."""
    later = alarm_time.at + datetime.timedelta(minutes=10)
    ini = {**alarm(0, alarm_time.at, SOUND_FILE, sounds["wav"]),
           **alarm(1, later, SOUND_FILE, sounds["other wav"]), "Pos_X": 150, "Pos_Y": 150}
    clock = app.start(ini=ini, trace=MENU_TRACE, local_clock=alarm_time.local)
    dialog = open_dialog(clock)

    def answer_with_esc(title: str) -> None:
        assert new_window(clock, title, timeout=10), f"no ringing window under {title}"
        rows, _ = read_tree(clock, acc_tree_exe, RING_CLASS)
        x, y, w, h = next(r[3] for r in rows if r[4] == title.replace(" ", "  ", 1))
        clock.click(x + w // 2, y + h // 2)  # on the headline, which is no button
        wait_for(lambda: read_tree(clock, acc_tree_exe, RING_CLASS)[1] == 3, 10,
                 "the ringing window did not take the keyboard", clock)
        stops = play_sound_calls(clock).count((True, 0))
        clock.display.key("Escape")
        wait_for(lambda: play_sound_calls(clock).count((True, 0)) > stops, 5,
                 "Esc left the sound on", clock)
        closed(clock, title)
        wait_for(lambda: "鳴っています" not in read_tree(clock, acc_tree_exe, CLOCK_CLASS)[0][0][5],
                 10, "the clock still reads out a ring", clock)

    def close_options() -> None:
        x, y, w, h = clock.display.geometry(window_named(clock, OPTIONS_TITLE))
        clock.display.move_pointer(x + w // 2, y + h // 2)
        clock.display.key("Escape")
        closed(clock, OPTIONS_TITLE)

    # Before the alarm, 試聴 plays the alarm's own file and turns into 停止; the alarm, once
    # due, takes the player. While it rings 試聴 is refused, and the alarm goes on.
    dialog.click(OPTIONS_0)
    assert new_window(clock, OPTIONS_TITLE, timeout=10), "the alarm's window did not open"

    def button(name: str):
        rows, _ = read_tree(clock, acc_tree_exe, "Tessarine_AlarmOptions")
        return next((r for r in rows if r[4] == name and r[1] == ROLE_BUTTON), None)

    wav = to_windows_path(sounds["wav"])
    x, y, w, h = button("試聴")[3]
    clock.click(x + w // 2, y + h // 2)
    wait_for(lambda: played_names(clock) == [wav], 5, "試聴 did not play the alarm's file", clock)
    wait_for(lambda: button("停止"), 5, "試聴 did not turn into 停止", clock)
    alarm_time.ring(50)
    assert new_window(clock, "ｱﾗｰﾑ1 7:30", timeout=10), "no ringing window"
    wait_for(lambda: played_names(clock) == [wav, wav], 5, "the alarm's sound did not start",
             clock)
    calls = play_sound_calls(clock)

    def test_button():
        grey = button("試聴")
        return grey if grey and grey[2] & 1 else None  # unavailable

    wait_for(test_button, 10, "試聴 is not grey while the alarm rings", clock)
    test = test_button()
    rows, _ = read_tree(clock, acc_tree_exe, "Tessarine_AlarmOptions")
    assert any(r[4] == "ｱﾗｰﾑが鳴っている間は試聴できません" for r in rows), rows
    clock.display.screenshot().save(tmp_path / "test-refused.png")
    x, y, w, h = test[3]
    clock.click(x + w // 2, y + h // 2)
    close_options()
    assert play_sound_calls(clock) == calls, "試聴 or its window touched the alarm's sound"
    assert window_named(clock, "ｱﾗｰﾑ1 7:30"), "the alarm stopped ringing"

    # Under the alarm window's own loop.
    dialog.click(OPTIONS_0)
    assert new_window(clock, OPTIONS_TITLE, timeout=10), "the alarm's window did not open"
    answer_with_esc("ｱﾗｰﾑ1 7:30")
    assert window_named(clock, OPTIONS_TITLE), "Esc in the ringing window closed the alarm's"
    close_options()

    # Under the system's loop of the colour chooser.
    dialog.click(COLOUR_BUTTON[0])
    chooser = new_window(clock, COLOUR_TITLE, timeout=10)
    assert chooser, "the colour chooser did not open"
    alarm_time.local.set(later)
    answer_with_esc("ｱﾗｰﾑ2 7:40")
    assert window_named(clock, COLOUR_TITLE), "Esc in the ringing window closed the chooser"
    x, y, _, _ = clock.display.geometry(window_named(clock, COLOUR_TITLE))
    clock.click(x + COLOUR_CANCEL[0], y + COLOUR_CANCEL[1])
    closed(clock, COLOUR_TITLE)
    dialog.click(CANCEL)
    dialog.wait_closed()


def test_in_the_tray_a_snooze_rings_its_length_after_the_press_and_the_menu_cancels_it(
        app, sounds, alarm_time, acc_tree_exe):
    """With the clock in the notification area, where it wakes once a minute: a snooze of one
    minute pressed in mid-minute rings again a minute after the press, to the second, not at
    the next minute's turn. Snoozed again, the tray's menu offers ｽﾇｰｽﾞ解除; chosen, the clock
    no longer reads out a snooze and nothing rings at the snooze's time."""
    ini = {**alarm(0, alarm_time.at, SOUND_FILE, sounds["wav"]), "Snooze_Min": 1,
           "Pos_X": 150, "Pos_Y": 150}
    clock = app.start(ini=ini, trace=MENU_TRACE, local_clock=alarm_time.local)
    title = "ｱﾗｰﾑ1 7:30"
    open_menu(clock, ON_PENDULUM).click(TO_TRAY)
    wait_for(lambda: not clock.windows(), 5, "the clock is still shown")
    wait_for(lambda: tray_window(clock.display), 10, "no icon in the notification area")
    alarm_time.ring(20)  # seen at the hidden clock's next wake, at the minute's turn
    assert new_window(clock, title, timeout=70), "no ringing window"

    def snooze() -> float:
        """ｽﾇｰｽﾞ (1分) pressed in mid-minute, where a ring at the minute's turn would come
        well before a minute had passed; when the sound stopped (a time.time() value)."""
        wait_for(lambda: 5 <= time.time() % 60 <= 50, 60, "no mid-minute to press in")
        rows, _ = read_tree(clock, acc_tree_exe, RING_CLASS)
        x, y, w, h = next(r[3] for r in rows if r[4] == "ｽﾇｰｽﾞ (1分)" and r[1] == ROLE_BUTTON)
        stops = play_sound_calls(clock).count((True, 0))
        clock.click(x + w // 2, y + h // 2)
        wait_for(lambda: play_sound_calls(clock).count((True, 0)) > stops, 5,
                 "the snooze left the sound", clock)
        pressed = time.time()
        closed(clock, title)
        return pressed

    def reading() -> str:
        return read_tree(clock, acc_tree_exe, CLOCK_CLASS)[0][0][5]

    pressed = snooze()
    wait_for(lambda: len(played_names(clock)) == 2, 70, "the snooze did not ring", clock)
    rang = time.time()
    assert 58 <= rang - pressed <= 62, f"the snooze rang {rang - pressed:.1f} s after the press"
    assert new_window(clock, title, timeout=10), "no ringing window for the snooze"

    pressed = snooze()
    wait_for(lambda: "ｽﾇｰｽﾞ中" in reading(), 10, "the clock does not read out the snooze", clock)
    menu = open_tray_menu(clock)
    assert menu.texts()[:2] == ["ｽﾇｰｽﾞ解除(&C)", "-"], menu.texts()
    menu.click("ｽﾇｰｽﾞ解除(&C)")
    wait_for(lambda: "ｽﾇｰｽﾞ" not in reading(), 10, "the clock still reads out a snooze", clock)
    assert "次のｱﾗｰﾑ 7:30" in reading(), reading()
    watch(max(0.0, pressed + 63 - time.time()))
    assert len(played_names(clock)) == 2, "the cancelled snooze rang"
    assert window_named(clock, "Tessarine") is None, "the snooze showed the clock"
