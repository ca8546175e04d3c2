"""The clock from outside: each command-line verb against a running clock and with none,
with the exit code a script reads, and /snooze answering a ringing alarm."""

from __future__ import annotations

from harness import tray_window
from sound_trace import SOUND_FILE, alarm
from support_clock import CLICKS_PASS, ini_value, look, wait_for, wait_gone
from support_dialog import TITLE as SETTINGS_TITLE, closed, new_window, read_tree, CLOCK_CLASS

RING_TITLE = "ｱﾗｰﾑ1 7:30"


def verb(app, *args: str) -> tuple:
    """Starts the program with `args`; its exit code and what it wrote on its output and on
    its error output."""
    run = app.start(args=args, wait=False)
    code = run.wait_exit(timeout=15)
    assert code is not None, f"{args} still runs"
    return (code, *(p.read_bytes().decode("utf-8", "replace")
                    for p in (run.stdout_path, run.stderr_path)))


def test_each_verb_answers_with_its_exit_code(app, display):
    # With no clock running, nothing starts one but /show and /settings.
    assert verb(app, "/stop")[:2] == (2, "")
    assert verb(app, "--EXIT")[0] == 2
    assert verb(app, "/strike", "on")[0] == 2
    assert verb(app, "/strike", "loud")[0] == 64
    code, _, text = verb(app, "/bogus")
    assert code == 64 and "不明な指定です: /bogus" in text and "/snooze" in text, text
    code, text, _ = verb(app, "-?")
    assert code == 0 and "/settings" in text and "64" in text, text
    assert not display.visible_windows(), "a verb started a clock"
    assert not app.program_dir.joinpath("Tessarine.ini").exists()

    clock = app.start(ini={"Pos_X": 1500, "Pos_Y": 750})
    place = clock.geometry()
    assert verb(app, "/Stop")[0] == 1, "nothing rings, so there is nothing to stop"
    assert verb(app, "-snooze")[0] == 1
    # The strike's switch, as the menu's: on in the hour's count, then off again.
    assert verb(app, "/Strike", "ON")[0] == 0
    wait_for(lambda: (ini_value(clock, "Strike") or "").strip() == "2", 5, "/strike on wrote no 2")
    assert verb(app, "/strike", "off")[0] == 0
    wait_for(lambda: (ini_value(clock, "Strike") or "").strip() == "0", 5, "/strike off wrote no 0")

    assert verb(app, "/hide")[0] == 0
    assert wait_gone(clock.windows), "/hide left the clock shown"
    wait_for(lambda: tray_window(display), 10, "no icon in the notification area")
    assert verb(app, "--hide")[0] == 1, "already hidden"

    # A shortcut to the program with no verb, as the Startup folder holds it.
    assert verb(app)[0] == 0
    wait_for(clock.windows, 10, "the clock stayed in the tray", clock)
    assert clock.wait_geometry(place) == place
    assert wait_gone(lambda: tray_window(display)), "the icon stayed in the tray"

    assert verb(app, "/SETTINGS")[0] == 0
    assert new_window(clock, SETTINGS_TITLE, timeout=10), "/settings opened no dialog"
    # Quit from the tray, a start without a verb (the Startup folder's shortcut) shows only
    # the icon; /show starts a clock shown, where it stood.
    assert verb(app, "/hide")[0] == 0
    assert verb(app, "/exit")[0] == 0
    assert clock.wait_exit(timeout=10) == 0, "/exit left the clock running"
    assert ini_value(clock, "InTray") == "-1"
    startup = app.start(wait=False)
    wait_for(lambda: tray_window(display), 15, "no icon in the notification area", startup)
    assert not startup.windows(), "the clock quit in the tray started shown"
    assert verb(app, "--exit")[0] == 0
    assert startup.wait_exit(timeout=10) == 0
    assert wait_gone(lambda: tray_window(display)), "the icon stayed in the tray"
    started = app.start(args=("/show",))
    assert started.geometry() == place


def test_snooze_verb_answers_a_ringing_alarm(app, wine, sounds, alarm_time, acc_tree_exe,
                                             clock_probe_exe):
    ini = {**alarm(0, alarm_time.at, SOUND_FILE, sounds["wav"]), "Pos_X": 150, "Pos_Y": 150,
           "ClickThrough": -1}
    clock = app.start(ini=ini, local_clock=alarm_time.local)
    assert look(wine, clock_probe_exe)[0] & CLICKS_PASS
    alarm_time.ring(20)
    assert new_window(clock, RING_TITLE, timeout=30), "no ringing window"
    # While it rings, the dial takes clicks again, so that a click still stops it.
    wait_for(lambda: not look(wine, clock_probe_exe)[0] & CLICKS_PASS, 5,
             "the ringing clock lets clicks through", clock)

    assert verb(app, "/snooze")[0] == 0
    closed(clock, RING_TITLE)
    reading = read_tree(clock, acc_tree_exe, CLOCK_CLASS)[0][0][5]
    assert "ｽﾇｰｽﾞ中" in reading, reading
    assert verb(app, "/stop")[0] == 1, "the snoozed alarm no longer rings"
    assert look(wine, clock_probe_exe)[0] & CLICKS_PASS
