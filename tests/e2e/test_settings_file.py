"""The settings file as users keep it: saved by a text editor as UTF-16 ("Unicode"), kept in a
synced folder behind a link, a save cut short by a kill, and a sound file whose name the system's
code page cannot hold."""

import os
import shutil
import signal
import time

import pytest

from harness import INI_NAME, MENU_TRACE, to_windows_path
from sound_trace import play_sound_calls, played_names
from support_clock import ON_PENDULUM, RED, WIN_H, WIN_W, immutable, ini_values, wait_for
from support_dialog import (COLOUR_BUTTON, KEYS, OK, SIZE, choose_file, clock_window, crop, ink,
                            open_dialog, reloaded, row, same)

PENDULUM_AREA = (2, 84)  # window background below the dial: Color_0 itself


def wait_pixel(clock, point, rgb, timeout=5.0):
    end = time.monotonic() + timeout
    while True:
        got = clock.window_image().getpixel(point)
        if got == rgb or time.monotonic() > end:
            return got
        time.sleep(0.1)


def first_glyph_width(image, box) -> int:
    """Columns of the first run of ink in `box`: the drive letter of a path label."""
    label = crop(image, box)
    inked = [any(max(label.getpixel((x, y))) < 128 for y in range(label.height))
             for x in range(label.width)]
    start = inked.index(True) if True in inked else len(inked)
    end = inked.index(False, start) if False in inked[start:] else len(inked)
    return end - start


def hover_tip(dialog, box, timeout=5.0):
    """Rests the pointer on `box` of the dialog; the geometry of the tool tip that shows."""
    clock = dialog.clock
    before = set(clock.windows())
    clock.display.move_pointer(*dialog.at((box[0] + box[2] // 2, box[1] + box[3] // 2)))
    tip = wait_for(lambda: [w for w in clock.windows() if w not in before], timeout,
                   "no tool tip", clock)
    return clock.display.geometry(tip[0])


def test_unicode_file_behind_a_link_starts_red_and_stays_unicode(app, program_dir, tmp_path):
    # The editor's file lives in a synced folder; the program folder links to it.
    synced = tmp_path / "synced"
    synced.mkdir()
    target = synced / INI_NAME
    original = "; 時計の設定\r\n[Section]\r\nColor_0= 255\r\nPos_X= 1500\r\nPos_Y= 750\r\n"
    target.write_bytes(b"\xff\xfe" + original.encode("utf-16-le"))
    (program_dir / INI_NAME).symlink_to(target)

    clock = app.start()
    assert clock.wait_geometry((100, 50, WIN_W, WIN_H)) == (100, 50, WIN_W, WIN_H)
    assert wait_pixel(clock, PENDULUM_AREA, RED) == RED

    x, y = clock.to_screen(40, 110)
    clock.drag(x, y, x + 50, y + 30)
    assert clock.wait_geometry((150, 80, WIN_W, WIN_H)) == (150, 80, WIN_W, WIN_H)
    clock.key("alt+F4")
    assert clock.wait_exit(10) is not None, "Alt+F4 should close the clock"

    # The link is still a link, and its target took the new position.
    link = program_dir / INI_NAME
    assert link.is_symlink() and link.resolve() == target.resolve()
    raw = target.read_bytes()
    assert raw.startswith(b"\xff\xfe") and len(raw) % 2 == 0
    text = raw[2:].decode("utf-16-le")  # strict: any ANSI bytes appended would not decode
    assert text.startswith("; 時計の設定\r\n[Section]\r\nColor_0= 255\r\n"), text
    assert "Pos_X= 2250\r\n" in text and "Pos_Y= 1200\r\n" in text
    assert "TopMost= 0\r\n" in text and text.endswith("\r\n")
    assert text.count("[Section]") == 1 and b"Pos_X" not in raw
    leftovers = [p.name for d in (program_dir, synced) for p in d.iterdir() if p.suffix == ".tmp"]
    assert leftovers == []


def kill_while_saving(clock, temp, replaces_before: int = 0, ini_path=None, inode=0) -> bool:
    """Kills the program as soon as its temporary file shows (after `replaces_before` finished
    saves of `ini_path`, whose inode was `inode` before); whether the kill came while the save was still writing. A save that
    finishes between our look and the kill is a miss, which a fast machine makes likelier:
    callers try again rather than fail."""
    replaces = 0
    end = time.monotonic() + 30
    while time.monotonic() < end:
        if ini_path is not None:
            now = ini_path.stat().st_ino
            replaces, inode = replaces + (now != inode), now
        if replaces >= replaces_before and temp.exists():
            break
    os.kill(clock.pid, signal.SIGKILL)
    clock.wait_exit(10)
    return temp.exists()


def test_kill_during_save_leaves_no_temporary_file_after_the_next_start(app, program_dir):
    # A large file makes the save long enough to be caught in the middle: the one write of the
    # position at closing keeps its temporary file about 0.1 s.
    head = "[Section]\r\nPos_X= 1500\r\nPos_Y= 750\r\n"
    padding = "[Notes]\r\n" + "".join(f"line{n}=メモ {n:07d}\r\n" for n in range(1000000))
    ini = (head + padding).encode("cp932")
    temp = program_dir / (INI_NAME + ".tmp")
    for _ in range(4):
        temp.unlink(missing_ok=True)
        clock = app.start(ini=ini)
        clock.key("alt+F4")
        if kill_while_saving(clock, temp):
            break
    assert temp.exists(), "no kill came while the save was writing, in four tries"

    # The settings file is whole: the old one or a finished save, never a mix.
    text = (program_dir / INI_NAME).read_bytes().decode("cp932")
    assert text in (head + padding, head + "TopMost= 0\r\n" + padding)

    second = app.start()
    wait_for(lambda: not temp.exists(), 10, "the next start did not remove the unfinished save")
    assert [p.name for p in program_dir.iterdir() if p.suffix == ".tmp"] == []
    assert second.alive()


def test_kill_during_ok_leaves_every_old_setting_or_every_new_one(app, program_dir):
    # The file lacks the dialog's keys, so OK adds all 27; a large file makes each save long
    # enough to be caught in the middle.
    head = "[Section]\r\nPos_X= 150\r\nPos_Y= 150\r\n"
    padding = "[Notes]\r\n" + "".join(f"line{n}=メモ {n:07d}\r\n" for n in range(250000))
    ini = (head + padding).encode("cp932")
    ini_path, temp = program_dir / INI_NAME, program_dir / (INI_NAME + ".tmp")

    # Killed while the first save after OK writes, then while the one after it writes (the
    # reloaded clock's position, or a second key of a save made key by key).
    for replaces_before_kill in (0, 1):
        for _ in range(4):
            ini_path.write_bytes(ini)
            temp.unlink(missing_ok=True)
            clock = app.start(trace=MENU_TRACE)
            dialog = open_dialog(clock)
            inode = ini_path.stat().st_ino
            dialog.click(OK)
            if kill_while_saving(clock, temp, replaces_before_kill, ini_path, inode):
                break
        assert temp.exists(), "no kill came while a save was writing, in four tries"

        text = ini_path.read_bytes().decode("cp932")
        assert text.endswith(padding), "the file should be whole"
        section = text[:-len(padding)].split("\r\n")
        written = [k for k in KEYS if any(line.startswith(k + "=") for line in section)]
        assert written in ([], KEYS), \
            f"killed after {replaces_before_kill} replaces: {len(written)} of 27 keys"


# A name the process's ANSI code page cannot hold: Japanese under 1252, accents under 932.
@pytest.mark.parametrize("locale, folder, name", [
    pytest.param("C.UTF-8", "日本語の音", "アラーム音.wav", id="japanese-under-1252"),
    pytest.param("ja_JP.UTF-8", "café", "réveil.wav", id="accented-under-932"),
])
def test_a_sound_file_named_outside_the_code_page_is_kept_and_rings(app, sounds, tmp_path,
                                                                    alarm_time, locale, folder,
                                                                    name):
    # A long path (about 150 characters) whose label must shorten it, and alarm 1's still
    # longer one (250 characters) in the same folders.
    deep = tmp_path / "alarm sounds"
    while len(to_windows_path(deep / folder / name)) < 150:
        deep = deep / f"a folder with a long name {len(deep.parts):02d}"
    chosen = deep / folder / name
    chosen.parent.mkdir(parents=True)
    shutil.copyfile(sounds["wav"], chosen)
    path = to_windows_path(chosen)
    longer = to_windows_path(deep)
    while len(longer) < 241:
        longer += "\\more folders"
    longer = longer[:241].rstrip("\\") + "\\bell.wav"

    # Every key in the form and order the program writes it, so that an unchanged save writes
    # the same bytes; alarm 0 is off, set for the minute the clock is moved into before it is
    # switched on, with a plain ASCII file.
    now = alarm_time.at
    values = {"Pos_X": " 150", "Pos_Y": " 150", "TopMost": " 0",
              **{f"Color_{i}": f" {c}" for i, c in enumerate([0, 16777215, 0, 0, 16777215, 0])},
              **{f"Graph_Color_{i}": f" {c}" for i, c in enumerate([0, 16776960, 4259584, 0])},
              "Filter_Color": " 16776960", "Shape": " 0",
              "Sound_C_0": " 0", "Sound_H_0": f" {now.hour}", "Sound_M_0": f" {now.minute}",
              "Sound_Kbn_0": " 2", "Sound_Repeat_0": " 0",
              "Sound_F_0": to_windows_path(sounds["wav"]),
              "Sound_C_1": " 0", "Sound_H_1": " 0", "Sound_M_1": " 0", "Sound_Kbn_1": " 1",
              "Sound_Repeat_1": " 0", "Sound_F_1": longer,
              "Mem_Ival": " 30", "Mem_Kagen": " 30", "Alarm_Path": to_windows_path(deep),
              # Japanese words whatever the code page: the user's choice, kept as written.
              "Language": "ja"}

    def text(v):
        return "".join(f"{line}\r\n" for line in ["[Section]"] + [f"{k}={x}" for k, x in v.items()])

    ascii_file = text(values).encode("ascii")
    clock = app.start(ini=ascii_file, trace=MENU_TRACE, locale=locale,
                      local_clock=alarm_time.local)

    # An OK that changes nothing leaves a file of ASCII paths as it was, byte for byte.
    old = clock_window(clock)
    dialog = open_dialog(clock)
    dialog.click(OK)
    dialog.wait_closed()
    reloaded(clock, old)
    assert clock.ini_bytes() == ascii_file

    # The alarm switched on and the file chosen with "...". Both long paths are narrowed no
    # further than a readable width (the drive letter keeps half of its 7 or 8 pixels), the
    # same whatever their lengths, so their common start looks the same in both labels; the
    # ellipsis takes what does not fit, and the tip shows it all.
    old = clock_window(clock)
    dialog = open_dialog(clock)
    dialog.click(row(0)["switch"])
    choose_file(dialog, row(0)["choose"], path)
    shot = dialog.image(tmp_path / "chosen.png")
    label = crop(shot, row(0)["path"])
    heads = [row(i)["path"][:2] + (100, 13) for i in (0, 1)]
    assert [first_glyph_width(shot, h) >= 4 for h in heads] == [True, True], "squeezed"
    assert ink(shot, heads[0]) > 50 and same(crop(shot, heads[0]), crop(shot, heads[1]))
    tip = hover_tip(dialog, row(0)["path"])
    assert tip[2] > row(0)["path"][2], f"tool tip {tip} no wider than the label"
    # The OK, the reloaded clock's alarm and the restart's all fall into the alarm's minute.
    alarm_time.ring(needs=40)
    dialog.click(OK)
    dialog.wait_closed()

    # Saved as UTF-16LE with its mark: the same text, with the three values the dialog changed.
    unicode_file = clock.ini_bytes()
    assert unicode_file.startswith(b"\xff\xfe")
    changed = {"Sound_C_0": " 1", "Sound_F_0": path, "Alarm_Path": to_windows_path(chosen.parent)}
    assert unicode_file[2:].decode("utf-16-le") == text({**values, **changed})

    # The reloaded clock rings it, and so does the clock started again.
    reloaded(clock, old)
    wait_for(lambda: played_names(clock), 10, "no alarm after OK", clock)
    assert played_names(clock) == [path]
    clock.key("Escape")
    wait_for(lambda: len(play_sound_calls(clock)) > 1, 10, "no stop after Escape", clock)
    clock.stop()
    clock = app.start(trace=MENU_TRACE, locale=locale, local_clock=alarm_time.local)
    wait_for(lambda: played_names(clock), 10, "no alarm after a restart", clock)
    assert played_names(clock) == [path]
    alarm_time.assert_within_minute()
    clock.key("Escape")

    # Reopened, the dialog shows the same path; its OK keeps the file as it was.
    dialog = open_dialog(clock)
    assert same(crop(dialog.image(tmp_path / "reopened.png"), row(0)["path"]), label)
    dialog.click(OK)
    dialog.wait_closed()
    assert clock.ini_bytes() == unicode_file


def test_a_utf8_file_without_a_mark_keeps_its_alarms_through_ok_and_a_restart(app, sounds,
                                                                              tmp_path):
    # As Notepad saves it: UTF-8, no mark, names with Czech and Cyrillic letters.
    folder = tmp_path / "snd"
    folder.mkdir()
    files = [folder / "zvonek-č.wav", folder / "звонок.wav"]
    for f in files:
        shutil.copyfile(sounds["wav"], f)
    paths = [to_windows_path(f) for f in files]
    lines = ["; budík", "[Section]", "Pos_X= 150", "Pos_Y= 150"]
    for i, path in enumerate(paths):
        # Set for an hour away from now: neither rings during the test.
        lines += [f"Sound_C_{i}= 1", f"Sound_H_{i}= {(time.localtime().tm_hour + 6) % 24}",
                  f"Sound_M_{i}= {i}", f"Sound_Kbn_{i}= 2", f"Sound_F_{i}={path}"]
    original = "".join(f"{line}\r\n" for line in lines).encode("utf-8")

    def check(data: bytes, what: str) -> None:
        assert not data.startswith(b"\xef\xbb\xbf"), f"a mark was added {what}"
        text = data.decode("utf-8")  # strict: a code page 932 write would not decode
        assert text.startswith("; budík\r\n[Section]\r\n"), what
        for i, path in enumerate(paths):
            assert f"Sound_C_{i}= 1\r\n" in text and f"Sound_F_{i}={path}\r\n" in text, \
                f"alarm {i} lost {what}:\n{text}"

    clock = app.start(ini=original, trace=MENU_TRACE)
    old = clock_window(clock)
    dialog = open_dialog(clock)
    dialog.click(OK)
    dialog.wait_closed()
    check(clock.ini_bytes(), "by OK")
    reloaded(clock, old)
    clock.stop()

    # Started again from the file OK wrote, both alarms are still on: the next OK keeps them.
    clock = app.start(trace=MENU_TRACE)
    dialog = open_dialog(clock)
    dialog.click(OK)
    dialog.wait_closed()
    check(clock.ini_bytes(), "after a restart")


def test_a_save_refused_while_the_clock_runs_is_told_shown_and_carried_by_the_next(app):
    """Tessarine.ini made read-only while the clock runs: the dialog's OK says so once, naming
    the file; the clock shows the change at once and the file stays as it was. Writable again,
    the next save (the clock's place, at its close) carries the change, and a label written by
    hand longer than the alarm's window edits is written back whole."""
    label = "朝会 " + ("a long reminder " * 5).strip()  # 82 characters
    clock = app.start(ini={"Pos_X": 150, "Pos_Y": 150, "Color_0": 255, "Sound_Label_0": label},
                      trace="-all,+msgbox,+menu")
    ini = clock.ini_path()
    if not immutable(True, ini):
        pytest.skip("chattr +i is not possible here, so no file can be read-only for root")
    try:
        kept = ini.read_bytes()

        def background_share(rgb) -> float:
            strip = clock.window_image().crop((0, 84, WIN_W, WIN_H - 10))
            return sum(1 for p in strip.getdata() if p[:3] == rgb) / (strip.width * strip.height)

        wait_for(lambda: background_share((255, 0, 0)) > 0.5, 5, "the clock is not red")
        old = clock_window(clock)
        dialog = open_dialog(clock)
        dialog.click(COLOUR_BUTTON[6])  # the default colours: a black face
        dialog.click(OK)
        line = clock.wait_trace(r":trace:msgbox:MSGBOX_OnInit ", 15)
        assert line, "no message"
        assert "Tessarine.ini" in line, line
        box = next(w for w, b in clock.boxes().items() if b[2:] not in ((WIN_W, WIN_H), SIZE))
        bx, by, bw, bh = clock.display.geometry(box)
        clock.display.move_pointer(bx + bw // 2, by + bh // 2)
        clock.display.key("Return")
        dialog.wait_closed()
        reloaded(clock, old)
        wait_for(lambda: background_share((0, 0, 0)) > 0.5, 5, "the new colour is not shown")
        assert ini.read_bytes() == kept
    finally:
        immutable(False, ini)
    x, y = clock.to_screen(*ON_PENDULUM)
    clock.drag(x, y, x + 20, y + 10)
    clock.key("alt+F4")
    assert clock.wait_exit(10) is not None, "Alt+F4 should close the clock"
    values = ini_values(clock.ini_bytes())
    assert (values["Pos_X"], values["Color_0"], values["Sound_Label_0"]) == (" 450", " 0", label)
    assert sum(":trace:msgbox:MSGBOX_OnInit " in l for l in clock.trace_lines()) == 1
