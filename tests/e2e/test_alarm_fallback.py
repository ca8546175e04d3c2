"""An alarm is never silent: when its own sound cannot start, the program's chime (a WAVE
resource, played looping by the system's sound player) takes over; with no waveform device at
all, the dial shows a red rim and the tray icon alternates until the alarm is stopped. A sound
that plays is left alone. None of it writes the settings file.

Each case runs on a local time of its own (sound_trace.AlarmTime): the clock starts before the
alarm's minute, and the test moves it into the alarm's minute once the clock shows, so
nothing depends on when the test runs. What the program did is read back from the +mci/+winmm
trace and from the screen.
"""

from __future__ import annotations

import contextlib
import datetime
import random
import time

from harness import to_windows_path, tray_window
from sound_trace import (CD, MCI_SENT, PLAY_SOUND_CALL, SOUND_FILE, STATUS_MP3, AlarmTime,
                         alarm, play_sound_calls, played_names, sent_mci)
from support_clock import ON_DIAL, ON_PENDULUM, TO_TRAY, ini_values, open_menu, wait_for
from support_dialog import (CANCEL, CLOCK_CLASS, DIALOG_CLASS, OK, clock_window, open_dialog,
                            read_tree, reds, reloaded, row)

# SND_RESOURCE | SND_LOOP | SND_ASYNC: the chime, looped until stopped.
CHIME = (False, 0x4000D)
STOP = (True, 0)
RED = (224, 32, 32)
MINUTE = datetime.timedelta(minutes=1)
TRACE = "-all,+mci,+winmm,+menu"


def red_pixels(image, box=None) -> int:
    image = image.crop(box) if box else image
    return sum(1 for p in image.getdata() if all(abs(a - b) <= 24 for a, b in zip(p, RED)))


class Alarm:
    """A clock started on a local time before `due`, its settings file kept to compare with
    what it holds after the case."""

    def __init__(self, app, tmp_path, alarms: dict):
        self.time = AlarmTime(tmp_path)
        self.local, self.due = self.time.local, self.time.at
        ini = {"Pos_X": 150, "Pos_Y": 150, "TopMost": 0}
        for slot, (kind, sound) in alarms.items():
            ini.update(alarm(slot, self.due + slot * MINUTE, kind, sound))
        self.clock = app.start(ini=ini, trace=TRACE, local_clock=self.local)
        self.ini = self.clock.ini_bytes()
        self.tmp_path = tmp_path

    def ring(self, slot: int = 0) -> None:
        """Moves the clock into alarm `slot`'s minute."""
        if slot == 0:
            self.time.ring(needs=20)
        else:
            self.local.set(self.due + slot * MINUTE)

    def ring_until_chime(self, what: str, timeout: float = 10) -> None:
        """Moves the clock into the alarm's minute and waits for the chime."""
        self.ring()
        rang = time.monotonic()
        wait_for(lambda: chimes(self.clock), timeout, f"no chime for {what}", self.clock)
        print(f"chime {time.monotonic() - rang:.2f} s after the move into the alarm's minute")

    def shot(self, name: str):
        image = self.clock.window_image()
        image.save(self.tmp_path / f"{name}.png")
        return image

    def settings_untouched(self) -> None:
        assert self.clock.ini_bytes() == self.ini, "the alarm changed the settings file"


def chimes(clock) -> int:
    return play_sound_calls(clock).count(CHIME)


def test_cd_alarm_without_a_drive_chimes_and_escape_stops_it(app, tmp_path):
    case = Alarm(app, tmp_path, {0: (CD, None)})
    clock = case.clock
    case.ring_until_chime("a CD alarm without a drive")
    # The drive was tried first, exactly as always; it did not open, so nothing watches it.
    assert sent_mci(clock)[:2] == ["open cdaudio", "set cdaudio time format tmsf"]
    assert play_sound_calls(clock) == [CHIME]

    clock.key("Escape")
    wait_for(lambda: play_sound_calls(clock) == [CHIME, STOP], 5, "no stop after Escape", clock)
    assert "status cdaudio current track" not in sent_mci(clock)
    case.settings_untouched()


def test_wav_gone_since_the_start_chimes_and_a_press_on_the_dial_stops_it(app, sounds,
                                                                          tmp_path):
    wav = tmp_path / "gone.wav"
    wav.write_bytes(sounds["wav"].read_bytes())
    case = Alarm(app, tmp_path, {0: (SOUND_FILE, wav)})
    clock = case.clock
    wav.unlink()  # a stick pulled out after the clock read its settings
    case.ring()
    wait_for(lambda: chimes(clock), 10, "no chime for a WAV file that has gone", clock)
    # The player's own thread names what it plays a moment after the call.
    wait_for(lambda: played_names(clock), 5, "the player named nothing", clock)
    # The player was handed the chime only, never the missing file.
    assert play_sound_calls(clock) == [CHIME]
    # The player's own line follows the call's, later on a loaded machine.
    wait_for(lambda: played_names(clock) == ["CHIME"], 5, "the chime was not played", clock)

    x, y, _, _ = clock.geometry()
    clock.click(x + ON_DIAL[0], y + ON_DIAL[1])
    wait_for(lambda: play_sound_calls(clock) == [CHIME, STOP], 5,
             "no stop after a press on the dial", clock)
    assert sent_mci(clock) == []
    case.settings_untouched()


def test_wav_missing_at_start_keeps_its_alarm_marks_its_path_and_chimes(app, sounds, acc_tree_exe,
                                                                       tmp_path):
    """A sound file not there when the clock starts (a stick not yet put in, a share not yet
    up) costs nothing: the alarm stays on with its path, the dialog marks the path in red for
    eye and reader, saving writes neither away; at the minute the chime rings. Back in place,
    the next start shows no mark and the WAV plays."""
    wav = tmp_path / "stick" / "alarm.wav"
    wav.parent.mkdir()
    away = tmp_path / "away.wav"
    away.write_bytes(sounds["wav"].read_bytes())
    case = Alarm(app, tmp_path, {0: (SOUND_FILE, wav)})
    clock = case.clock
    path = to_windows_path(wav)
    stored = {k: ini_values(case.ini)[k] for k in ("Sound_C_0", "Sound_F_0")}

    def path_shown(want_mark: bool):
        """The path as a reader hears it, and whether it is drawn in red."""
        dialog = open_dialog(clock)
        rows, _ = read_tree(clock, acc_tree_exe, DIALOG_CLASS)
        heard = next(r[5] for r in rows if r[4] == "ｱﾗｰﾑ1 Path :")
        shot = dialog.image_when(lambda shot: (reds(shot, row(0)["path"]) > 20) == want_mark,
                                 tmp_path / f"path-marked-{want_mark}.png")
        return dialog, heard, reds(shot, row(0)["path"]) > 20

    dialog, heard, red = path_shown(True)
    assert (heard, red) == (path + " 見つかりません", True)
    old = clock_window(clock)
    dialog.click(OK)  # saves every key and reloads the clock
    dialog.wait_closed()
    reloaded(clock, old)
    assert {k: ini_values(clock.ini_bytes())[k] for k in stored} == stored

    def heard() -> str:
        """The clock's value as a reader hears it."""
        return read_tree(clock, acc_tree_exe, CLOCK_CLASS)[0][0][5]

    case.ring()
    wait_for(lambda: chimes(clock), 10, "no chime for a WAV file still missing", clock)
    # The player's own line follows the call's, later on a loaded machine.
    wait_for(lambda: played_names(clock) == ["CHIME"], 5, "the chime was not played", clock)
    wait_for(lambda: "  ｱﾗｰﾑ 7:30 鳴っています" in heard(), 10, "no ring heard", clock)
    clock.key("Escape")
    wait_for(lambda: play_sound_calls(clock) == [CHIME, STOP], 5, "no stop after Escape", clock)
    assert "鳴っています" not in heard() and "  次のｱﾗｰﾑ 7:30" in heard()
    saved = clock.ini_bytes()
    clock.stop()

    away.rename(wav)
    case.time.local.set(case.time.start_at)
    clock = case.clock = app.start(ini=None, trace=TRACE, local_clock=case.local)
    dialog, heard, red = path_shown(False)
    assert (heard, red) == (path, False)
    dialog.click(CANCEL)
    dialog.wait_closed()
    case.ring()
    wait_for(lambda: played_names(clock), 10, "no PlaySound for the WAV back in place", clock)
    assert played_names(clock) == [path]
    clock.key("Escape")
    wait_for(lambda: len(play_sound_calls(clock)) > 1, 5, "no stop after Escape", clock)
    assert clock.ini_bytes() == saved


@contextlib.contextmanager
def no_sound_driver(wine):
    """The prefix without an audio driver while the block runs: no waveform device."""
    key = r"HKCU\Software\Wine\Drivers"
    wine.run(["reg", "add", key, "/v", "Audio", "/t", "REG_SZ", "/d", "", "/f"])
    try:
        yield
    finally:
        wine.run(["reg", "delete", key, "/v", "Audio", "/f"])


def test_without_a_sound_device_the_dial_and_the_tray_icon_ring(app, wine, sounds, tmp_path,
                                                                time_change_path):
    with no_sound_driver(wine):
        case = Alarm(app, tmp_path, {0: (SOUND_FILE, sounds["wav"]),
                                     1: (SOUND_FILE, sounds["other wav"])})
        clock = case.clock
        assert red_pixels(case.shot("before")) == 0
        case.ring(0)
        image = wait_for(lambda: (lambda i: i if red_pixels(i) > 100 else None)(
            case.shot("ringing")), 10, "no ringing sign on the dial", clock)
        # The rim round the dial, not a spot: red on all four sides of its centre.
        for box in [(0, 0, 80, 20), (0, 60, 80, 80), (0, 0, 20, 80), (60, 0, 80, 80)]:
            assert red_pixels(image, box) > 10, f"no red in {box}; see ringing.png"
        clock.key("space")
        wait_for(lambda: red_pixels(case.shot("stopped")) == 0, 5,
                 "the sign stayed after Space", clock)

        # In the tray: the next alarm makes the icon alternate until the pointer is over it.
        open_menu(clock, ON_PENDULUM).click(TO_TRAY)
        tray = wait_for(lambda: tray_window(clock.display), 10, "no icon in the tray")
        cell = (tray[0], tray[1], tray[0] + 20, tray[1] + 20)

        def cell_red() -> int:
            # Over what red the clock's own icon has.
            return red_pixels(clock.display.screenshot((cell[0], cell[1], 20, 20))) - own

        own = 0
        own = cell_red()
        # Hidden, the clock wakes once a minute: the moved time is announced, as Windows does,
        # once the move is complete.
        case.ring(1)
        case.local.settle()
        assert wine.run([str(time_change_path)]).returncode == 0, "time_change found no clock"
        seen = set()
        wait_for(lambda: seen.add(cell_red() > 30) or seen == {True, False}, 10,
                 "the tray icon does not alternate", clock)
        clock.display.screenshot((cell[0], cell[1], 20, 20)).save(tmp_path / "tray.png")
        clock.display.move_pointer(cell[0] + 10, cell[1] + 10)
        wait_for(lambda: cell_red() <= 0, 5, "the ringing icon stayed", clock)
        clock.display.screenshot((cell[0], cell[1], 20, 20)).save(tmp_path / "tray-stopped.png")
        # Three more ticks of the clock leave the icon as it is.
        end = time.monotonic() + 3
        while time.monotonic() < end:
            assert cell_red() <= 0, "the tray icon went on alternating after the stop"
            time.sleep(0.2)
        # Nothing could sound: the player was never handed anything.
        assert play_sound_calls(clock) == [] and sent_mci(clock) == []
        case.settings_untouched()


def test_an_mp3_that_plays_gets_no_chime(app, sounds, tmp_path):
    case = Alarm(app, tmp_path, {0: (SOUND_FILE, sounds["long mp3"])})
    clock = case.clock
    case.ring()
    # Three of the one-second checks: the MP3 plays on and nothing else is started.
    wait_for(lambda: sent_mci(clock).count(STATUS_MP3) >= 3, 15, "the MP3 did not play", clock)
    assert play_sound_calls(clock) == []
    assert "play MP3Play from 0" not in sent_mci(clock)
    clock.key("Escape")
    wait_for(lambda: "close MP3Play" in sent_mci(clock), 5, "no close after Escape", clock)
    assert play_sound_calls(clock) == []
    case.settings_untouched()


def test_an_mp3_that_never_plays_gives_way_to_the_chime(app, tmp_path):
    # A broken download: random bytes under an .mp3 name open and take "play", yet the
    # device answers "stopped" at every check.
    garbage = tmp_path / "garbage.mp3"
    garbage.write_bytes(random.Random(32).randbytes(50_000))
    case = Alarm(app, tmp_path, {0: (SOUND_FILE, garbage)})
    clock = case.clock
    case.ring_until_chime("an MP3 that never plays", timeout=15)

    # Tried as any MP3, restarted at the first two checks, let go at the third.
    sent = sent_mci(clock)
    assert sent[0].startswith("open ") and "garbage.mp3" in sent[0], sent
    assert sent[1:] == ["play MP3Play"] + [STATUS_MP3, "stop MP3Play", "play MP3Play from 0"] * 2 \
        + [STATUS_MP3, "stop MP3Play", "close MP3Play"], sent
    lines = clock.trace_lines()
    closed = next(i for i, line in enumerate(lines)
                  if (m := MCI_SENT.search(line)) and m.group("cmd") == "close MP3Play")
    chimed = next(i for i, line in enumerate(lines)
                  if (m := PLAY_SOUND_CALL.search(line)) and int(m.group("flags"), 16) == CHIME[1])
    assert closed < chimed, "the chime began before the MP3 was let go"
    assert not any('(L"playing")' in line for line in lines), "the device said it played"
    # The player's own line follows the call's, later on a loaded machine.
    wait_for(lambda: played_names(clock) == ["CHIME"], 5, "the chime was not played", clock)

    clock.key("Escape")
    wait_for(lambda: play_sound_calls(clock) == [CHIME, STOP], 5, "no stop after Escape", clock)
    assert sent_mci(clock) == sent, "the MP3 was sent more after it was let go"
    case.settings_untouched()


def test_an_alarm_without_a_file_chimes_and_one_past_max_path_plays_its_whole_path(
        app, sounds, acc_tree_exe, tmp_path):
    """A sound-file alarm switched on with no file stays on and rings the chime, its row saying
    so; a WAV whose path is longer than MAX_PATH is read whole, shown without a mark, written
    back whole by OK and played at its minute."""
    deep = tmp_path / "long"
    while len(to_windows_path(deep)) < 295:
        deep = deep / "a folder with a long name"
    deep.mkdir(parents=True)
    wav = deep / "bell.wav"
    wav.write_bytes(sounds["wav"].read_bytes())
    path = to_windows_path(wav)
    case = Alarm(app, tmp_path, {0: (SOUND_FILE, None), 1: (SOUND_FILE, wav)})
    clock = case.clock

    old = clock_window(clock)
    dialog = open_dialog(clock)
    rows, _ = read_tree(clock, acc_tree_exe, DIALOG_CLASS)
    heard = {r[4]: r[5] for r in rows if r[4] in ("ｱﾗｰﾑ1 Path :", "ｱﾗｰﾑ2 Path :")}
    assert heard == {"ｱﾗｰﾑ1 Path :": "ﾁｬｲﾑで鳴ります", "ｱﾗｰﾑ2 Path :": path}, heard
    dialog.click(OK)
    dialog.wait_closed()
    reloaded(clock, old)
    values = ini_values(clock.ini_bytes())
    assert (values["Sound_C_0"], values["Sound_F_0"], values["Sound_F_1"]) == (" 1", "", path)

    case.ring_until_chime("an alarm switched on without a file")
    clock.key("Escape")
    wait_for(lambda: STOP in play_sound_calls(clock), 5, "no stop after Escape", clock)
    case.ring(1)
    wait_for(lambda: [n for n in played_names(clock) if n != "CHIME"], 10,
             "the WAV past MAX_PATH did not play", clock)
    played = [n for n in played_names(clock) if n != "CHIME"]
    assert len(played) == 1 and played[0].lower().endswith(".wav"), played
    assert chimes(clock) == 1, "the long path gave way to the chime"
    clock.key("Escape")
