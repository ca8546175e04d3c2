"""The settings file as users keep it: saved by a text editor as UTF-16 ("Unicode"), kept in a
synced folder behind a link, and saves cut short by a kill."""

import os
import signal
import stat
import time

from harness import INI_NAME, MENU_TRACE
from test_settings_dialog import KEYS, OK, open_dialog

WIN_W, WIN_H = 81, 137
RED = (255, 0, 0)
PENDULUM_AREA = (2, 84)  # window background below the dial: Color_0 itself


def wait_pixel(clock, point, rgb, timeout=5.0):
    end = time.monotonic() + timeout
    while True:
        got = clock.window_image().getpixel(point)
        if got == rgb or time.monotonic() > end:
            return got
        time.sleep(0.1)


def test_unicode_file_behind_a_link_starts_red_and_stays_unicode(app, program_dir, tmp_path):
    # The editor's file lives in a synced folder; the program folder links to it.
    synced = tmp_path / "synced"
    synced.mkdir()
    target = synced / INI_NAME
    original = "; 時計の設定\r\n[Section]\r\nColor_0= 255\r\nPos_X= 1500\r\nPos_Y= 750\r\n"
    target.write_bytes(b"\xff\xfe" + original.encode("utf-16-le"))
    target.chmod(0o640)
    os.link(target, synced / "backup.ini")
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

    # What a replace cannot keep under Wine, shown for the record: the file is a new one, so the
    # hard link keeps the old text, and Unix permission bits come from the umask.
    backup = (synced / "backup.ini").read_bytes()
    print(f"\nhard link still shares the file: {backup == raw}; "
          f"mode before 0o640, after {oct(stat.S_IMODE(target.stat().st_mode))}")


def test_kill_during_save_leaves_no_temporary_file_after_the_next_start(app, program_dir):
    # A large file makes the save long enough to be caught in the middle.
    head = "[Section]\r\nPos_X= 1500\r\nPos_Y= 750\r\n"
    padding = "[Notes]\r\n" + "".join(f"line{n}=メモ {n:07d}\r\n" for n in range(250000))
    ini = (head + padding).encode("cp932")
    clock = app.start(ini=ini)
    temp = program_dir / (INI_NAME + ".tmp")

    clock.key("alt+F4")
    end = time.monotonic() + 20
    while not temp.exists() and time.monotonic() < end:
        pass
    os.kill(clock.pid, signal.SIGKILL)
    clock.wait_exit(10)
    assert temp.exists(), "the kill should have come while the save was writing"

    # The settings file is whole: the old one or a finished save, never a mix.
    text = (program_dir / INI_NAME).read_bytes().decode("cp932")
    assert text in (head + padding, head + "TopMost= 0\r\n" + padding)

    second = app.start()
    end = time.monotonic() + 5
    while temp.exists() and time.monotonic() < end:
        time.sleep(0.05)
    assert not temp.exists(), "the next start should remove the unfinished save"
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
        temp.unlink(missing_ok=True)
        clock = app.start(ini=ini, trace=MENU_TRACE)
        dialog = open_dialog(clock)
        inode = ini_path.stat().st_ino
        dialog.click(OK)
        replaces, end = 0, time.monotonic() + 30
        while time.monotonic() < end:
            now = ini_path.stat().st_ino
            replaces, inode = replaces + (now != inode), now
            if replaces >= replaces_before_kill and temp.exists():
                break
        os.kill(clock.pid, signal.SIGKILL)
        clock.wait_exit(10)
        assert temp.exists(), "the kill should have come while a save was writing"

        text = ini_path.read_bytes().decode("cp932")
        assert text.endswith(padding), "the file should be whole"
        section = text[:-len(padding)].split("\r\n")
        written = [k for k in KEYS if any(line.startswith(k + "=") for line in section)]
        assert written in ([], KEYS), f"killed after {replaces} replaces: {len(written)} of 27 keys"
