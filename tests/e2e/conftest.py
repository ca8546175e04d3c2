"""Fixtures for the end-to-end tests: one Xvfb and one Wine prefix per session, a fresh
program folder per test, and `app` to start the program in it.

Environment:
  TESSARINE_EXE          the exe under test (default <repo>/build/win32/Tessarine.exe)
  TESSARINE_EXE64        the x86_64 build (default <repo>/build/win64/Tessarine.exe), run in
                         a separate 64-bit prefix made only when a test asks for it
  TESSARINE_INI_INTEROP  the INI interop helper (default <repo>/build/win32/ini_interop.exe)
  TESSARINE_WINEPREFIX   reuse this prefix (initialised on first use) instead of a new one
                         per session; saves ~10 s. Its processes are ended at session end,
                         so do not point it at a prefix in which anything else runs.
"""

from __future__ import annotations

import os
import shutil
import subprocess
import sys
import time
from pathlib import Path
from typing import Optional

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness import (App, Display, IniContent, WinePrefix, make_program_dir,  # noqa: E402
                     ini_bytes, private_meminfo_problem, tray_window, INI_NAME)
from sound_trace import AlarmTime  # noqa: E402

REPO = Path(__file__).resolve().parents[2]


def pytest_configure(config):
    # A test skipped because its set-up cannot be made here says why in the summary.
    if "s" not in config.option.reportchars:
        config.option.reportchars += "s"
    # A hang fails its test with a trace instead of the whole run (pytest-timeout, installed
    # with the other packages); the slowest scenario takes about three minutes.
    if getattr(config.option, "timeout", None) is None and config.pluginmanager.hasplugin("timeout"):
        config.option.timeout = 600


def _built_file(env_name: str, default: Path) -> Path:
    path = Path(os.environ.get(env_name) or default)
    if not path.is_file():
        # A missing build must fail the run, never let it pass as skipped.
        pytest.fail(f"{path} does not exist: build the Windows target first "
                    f"(cmake --build build/win32) or set {env_name}", pytrace=False)
    return path


@pytest.fixture(scope="session")
def exe_path() -> Path:
    return _built_file("TESSARINE_EXE", REPO / "build" / "win32" / "Tessarine.exe")


@pytest.fixture(scope="session")
def exe64_path() -> Path:
    return _built_file("TESSARINE_EXE64", REPO / "build" / "win64" / "Tessarine.exe")


@pytest.fixture(scope="session")
def interop_path() -> Path:
    return _built_file("TESSARINE_INI_INTEROP", REPO / "build" / "win32" / "ini_interop.exe")


@pytest.fixture(scope="session")
def taskbar_restart_path() -> Path:
    return _built_file("TESSARINE_TASKBAR_RESTART",
                       REPO / "build" / "win32" / "taskbar_restart.exe")


@pytest.fixture(scope="session")
def display_change_path() -> Path:
    return _built_file("TESSARINE_DISPLAY_CHANGE",
                       REPO / "build" / "win32" / "display_change.exe")


@pytest.fixture(scope="session")
def time_change_path() -> Path:
    return _built_file("TESSARINE_TIME_CHANGE", REPO / "build" / "win32" / "time_change.exe")


@pytest.fixture(scope="session")
def dpi_changed_exe() -> Path:
    return _built_file("TESSARINE_DPI_CHANGED", REPO / "build" / "win32" / "dpi_changed.exe")


@pytest.fixture(scope="session")
def clock_probe_exe() -> Path:
    """Catches clicks beneath the clock, reads its layered look, locks the session for it
    (tests/win/clock_probe.cpp)."""
    return _built_file("TESSARINE_CLOCK_PROBE", REPO / "build" / "win32" / "clock_probe.exe")


@pytest.fixture(scope="session")
def acc_tree_exe() -> Path:
    """Prints what a screen reader gets from a window of the program (tests/win/acc_tree.cpp)."""
    return _built_file("TESSARINE_ACC_TREE", REPO / "build" / "win32" / "acc_tree.exe")


@pytest.fixture(scope="session")
def memory_figures_exe() -> Path:
    return _built_file("TESSARINE_MEMORY_FIGURES",
                       REPO / "build" / "win32" / "memory_figures.exe")


@pytest.fixture
def tray_restart(wine, taskbar_restart_path):
    """`tray_restart(clock, delete_first)`: with delete_first the clock's icon is lost as when
    the taskbar dies; without, the message of a newly started taskbar is broadcast."""
    def run(clock, delete_first: bool) -> None:
        step = "delete" if delete_first else "restart"
        result = wine.run([str(taskbar_restart_path), step], timeout=30)
        assert result.returncode == 0, f"taskbar_restart {step} failed: {result.stderr[-500:]}"
    return run


@pytest.fixture(scope="session")
def display(tmp_path_factory):
    d = Display.start(tmp_path_factory.mktemp("xvfb"))
    try:
        d.set_root_colour()
        yield d
    finally:
        d.stop()


@pytest.fixture(scope="session")
def wine(display):
    prefix = WinePrefix.for_session(display, os.environ.get("TESSARINE_WINEPREFIX"))
    try:
        yield prefix
    finally:
        prefix.kill()
        prefix.remove()  # the session root; a reused prefix lives elsewhere and stays


@pytest.fixture(scope="session")
def wine64(display):
    """The 64-bit prefix: about 15 s to make, so only sessions that run the x86_64 build pay."""
    prefix = WinePrefix.for_session(display, arch="win64")
    try:
        yield prefix
    finally:
        prefix.kill()
        prefix.remove()


@pytest.fixture
def program_dir(tmp_path, exe_path) -> Path:
    """A fresh folder holding only Tessarine.exe."""
    return make_program_dir(tmp_path, exe_path)


class AppStarter:
    """`app.start(...)` starts the program; every run is stopped when the test ends."""

    def __init__(self, wine: WinePrefix, program_dir: Path, exe_path: Path, tmp_path: Path):
        self.wine = wine
        self.program_dir = program_dir
        self.exe_path = exe_path
        self.tmp_path = tmp_path
        self.started: list = []

    def start(self, ini: Optional[IniContent] = None, folder_name: Optional[str] = None,
              trace=False, wait: bool = True, meminfo: Optional[Path] = None,
              folder: Optional[Path] = None, locale: str = "ja_JP.UTF-8",
              local_clock=None, args=()) -> App:
        """Starts the program in `program_dir`, or in a new folder `folder_name` (which may
        hold blanks and Japanese characters), or in `folder` as it is (an unpacked package).
        `ini` (a mapping, text or bytes) is written as Tessarine.ini first; None leaves the
        folder's INI as it is. With `wait`, returns once the window is visible. A test whose
        `meminfo` or `local_clock` cannot be shown to the program here (both need a private
        mount namespace) is skipped, with the reason. `args` follow the program's name on its
        command line."""
        if (meminfo is not None or local_clock is not None) and private_meminfo_problem():
            pytest.skip(private_meminfo_problem())
        if folder is None and folder_name is not None:
            folder = make_program_dir(self.tmp_path, self.exe_path, folder_name, ini)
        else:
            folder = folder or self.program_dir
            if ini is not None:
                (folder / INI_NAME).write_bytes(ini_bytes(ini))
        app = App(self.wine, folder, self.tmp_path / "logs", trace=trace, meminfo=meminfo,
                  locale=locale, local_clock=local_clock, args=args)
        self.started.append(app)
        if wait:
            # The clock by its title: an alarm due at the start opens its ringing window too.
            app.wait_window(name="Tessarine")
        return app

    def stop_all(self) -> None:
        for app in reversed(self.started):
            app.stop()
        # Wine's notification area drops the icon of a program that died a moment later: the
        # next test's "an icon shows" must not see this one's.
        end = time.monotonic() + 10
        while self.started and tray_window(self.wine.display) and time.monotonic() < end:
            time.sleep(0.1)


@pytest.fixture
def app(wine, program_dir, exe_path, tmp_path):
    starter = AppStarter(wine, program_dir, exe_path, tmp_path)
    try:
        yield starter
    finally:
        starter.stop_all()


@pytest.fixture
def alarm_time(tmp_path):
    """The pinned local time of an alarm scenario (sound_trace.AlarmTime); skipped with the
    reason where the program's local time cannot be moved."""
    if private_meminfo_problem():
        pytest.skip(private_meminfo_problem())
    return AlarmTime(tmp_path)


@pytest.fixture(scope="session")
def sounds(tmp_path_factory) -> dict:
    """Short sound files in a folder whose name holds a blank."""
    for tool in ("sox", "lame"):
        if shutil.which(tool) is None:
            pytest.fail(f"{tool} is needed to make the test sounds", pytrace=False)
    folder = tmp_path_factory.mktemp("snd") / "alarm sounds"
    folder.mkdir()

    def wav(name: str, seconds: float, hertz: int) -> Path:
        path = folder / name
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", "-b", "16", str(path),
                        "synth", str(seconds), "sine", str(hertz)], check=True)
        return path

    def mp3(name: str, source: Path) -> Path:
        path = folder / name
        subprocess.run(["lame", "--quiet", "-b", "32", str(source), str(path)], check=True)
        return path

    files = {"wav": wav("chime.wav", 1, 440), "other wav": wav("other.wav", 1, 660)}
    # Short enough to end between two of the program's one-second checks; long enough to
    # play on through a check.
    files["short mp3"] = mp3("short.mp3", files["wav"])
    files["long mp3"] = mp3("long.mp3", wav("long.wav", 12, 330))
    return files


@pytest.fixture
def app64(wine64, exe64_path, tmp_path):
    """Like `app`, for the x86_64 build in the 64-bit prefix."""
    starter = AppStarter(wine64, make_program_dir(tmp_path, exe64_path, "prog64"), exe64_path,
                         tmp_path)
    try:
        yield starter
    finally:
        starter.stop_all()
