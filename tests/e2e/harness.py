"""Drives the real Tessarine.exe under Wine inside a private Xvfb.

Three layers, each owning what it starts and ending it by PID:

* ``Display``    - our own Xvfb on a free display number.
* ``WinePrefix`` - a 32-bit prefix (or, for the x86_64 build, a separate 64-bit one) with
                   Japanese font replacements and a null ALSA device, run under a private HOME
                   and ``LANG=ja_JP.UTF-8`` (ANSI code page 932).
* ``App``        - one run of the program in a program folder: its window, screenshots,
                   mouse and keyboard input, Wine's trace output and the INI it wrote.

Facts that shaped it (Wine 8 on Debian 12, no window manager):
* Wine sets ``_NET_WM_PID`` to the pid of the ``wine`` process we started, so the program's
  windows are found with ``xdotool search --pid``.
* Key presses go to the X window under the pointer, so ``App.key`` moves the pointer over
  the window first. ``xdotool mousemove --sync`` stalls over Wine windows: never used.
* A program that destroys its window waits ~2 s for a window-manager reply that never comes;
  ``App.stop`` therefore ends the process with SIGTERM, which Wine handles at once.
* Xvfb resets itself when its last client disconnects, which would drop the root colour:
  it runs with ``-noreset``.
* With Debian's ``wine64`` installed beside ``wine32``, ``wine`` still runs the 32-bit loader
  (a win32 prefix behaves as before); only the ``wineserver`` wrapper now picks the 64-bit
  server, which serves a win32 prefix alike. Handed a 64-bit exe in a win64 prefix, the 32-bit
  loader starts it anew through ``start.exe`` and exits, so the pid we hold would own no
  window: 64-bit programs are started with the 64-bit loader itself.
"""

from __future__ import annotations

import contextlib
import datetime
import functools
import math
import os
import re
import shutil
import signal
import struct
import subprocess
import tempfile
import time
from io import BytesIO
from pathlib import Path
from typing import Iterable, Mapping, Optional, Sequence, Union

from PIL import Image

SCREEN_W, SCREEN_H = 1024, 768
TWIPS_PER_PIXEL = 15
# The desktop colour we paint the root window with, so that "shows the desktop" is unambiguous.
DESKTOP_RGB = (0x12, 0x34, 0x56)

EXE_NAME = "Tessarine.exe"
WINDOW_TITLE = "Tessarine"
INI_NAME = "Tessarine.ini"
# Wine names the X class after the executable, in lower case.
EXE_X_CLASS = "^tessarine\\.exe$"

# The loader per prefix architecture; "wine" is Debian's wrapper, which picks the 32-bit one.
WINE_LOADERS = {"win32": "wine", "win64": "/usr/lib/wine/wine64"}

JP_FONT = "IPAPGothic"
JP_FONT_REPLACED = ("ＭＳ Ｐゴシック", "MS UI Gothic")
TRACE_CHANNELS = "-all,+mci,+winmm"


class HarnessError(RuntimeError):
    pass


def _now() -> float:
    return time.monotonic()


def _end_process(proc: subprocess.Popen, grace: float = 5.0) -> None:
    """SIGTERM, then SIGKILL after `grace` seconds; always reaps."""
    if proc.poll() is None:
        try:
            proc.send_signal(signal.SIGTERM)
            proc.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(timeout=grace)
        except ProcessLookupError:
            pass
    else:
        proc.wait()


def _base_env() -> dict:
    """The caller's environment without anything that would override our locale or prefix."""
    env = {k: v for k, v in os.environ.items()
           if not (k.startswith("LC_") or k.startswith("WINE") or k in ("LANGUAGE", "DISPLAY"))}
    return env


def _die_with_parent() -> None:
    """In a child before exec: SIGTERM when the process that started it dies, so a test run
    that is killed leaves no server behind (Linux's PR_SET_PDEATHSIG)."""
    import ctypes
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def _read_display_number(fd: int, proc: subprocess.Popen, timeout: float) -> Optional[int]:
    import select
    data = b""
    end = _now() + timeout
    while _now() < end and not data.endswith(b"\n"):
        ready, _, _ = select.select([fd], [], [], 0.2)
        if ready:
            chunk = os.read(fd, 64)
            if not chunk:
                break
            data += chunk
        elif proc.poll() is not None:
            break
    return int(data) if data.strip().isdigit() else None


# --------------------------------------------------------------------------- display


class Display:
    """Our own Xvfb. `env` carries DISPLAY for every X tool and Wine process we start."""

    def __init__(self, number: int, proc: subprocess.Popen, log_path: Path):
        self.number = number
        self.proc = proc
        self.log_path = log_path
        self.name = f":{number}"

    @property
    def pid(self) -> int:
        return self.proc.pid

    @classmethod
    def start(cls, log_dir: Path, width: int = SCREEN_W, height: int = SCREEN_H,
              depth: int = 24, timeout: float = 20.0) -> "Display":
        """Xvfb picks a free number itself and writes it to a pipe once it listens
        (`-displayfd`), so the number is ours and the server that answers is ours: no probe
        that another server could win between our look and our start."""
        log_dir.mkdir(parents=True, exist_ok=True)
        log_path = log_dir / "xvfb.log"
        read_fd, write_fd = os.pipe()
        try:
            with open(log_path, "wb") as log:
                # Same session as pytest: a killed test run takes its Xvfb with it
                # (the session's own teardown ends it by PID otherwise).
                proc = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                     f"{width}x{height}x{depth}", "-nolisten", "tcp", "-noreset"],
                    stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                    pass_fds=(write_fd,), preexec_fn=_die_with_parent)
        finally:
            os.close(write_fd)
        try:
            number = _read_display_number(read_fd, proc, timeout)
        finally:
            os.close(read_fd)
        if number is None:
            _end_process(proc)
            raise HarnessError(f"Xvfb gave no display number; see {log_path}")
        return cls(number, proc, log_path)

    @property
    def env(self) -> dict:
        return {"DISPLAY": self.name}

    def run(self, *args: str, check: bool = True, timeout: float = 20) -> str:
        """Runs an X tool (xdotool, xwininfo, ...) against this display; returns its stdout."""
        env = _base_env()
        env.update(self.env)
        r = subprocess.run(list(args), env=env, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE, timeout=timeout)
        if check and r.returncode != 0:
            raise HarnessError(f"{' '.join(args)} failed ({r.returncode}): "
                               f"{r.stderr.decode(errors='replace').strip()}")
        return r.stdout.decode(errors="replace")

    def set_root_colour(self, rgb: Sequence[int] = DESKTOP_RGB) -> None:
        self.run("xsetroot", "-solid", "#%02x%02x%02x" % tuple(rgb))

    def screenshot(self, region: Optional[Sequence[int]] = None) -> Image.Image:
        """The screen, or the part (x, y, w, h) of it; parts off the screen come out black."""
        env = _base_env()
        env.update(self.env)
        png = subprocess.run(["import", "-window", "root", "png:-"], env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                             timeout=20, check=True).stdout
        image = Image.open(BytesIO(png)).convert("RGB")
        if region is not None:
            x, y, w, h = region
            image = image.crop((x, y, x + w, y + h))
        return image

    def grab(self, window: Optional[int] = None) -> Image.Image:
        """The whole screen, or one window, quickly (xwd, a few tens of milliseconds for the
        screen, less for a window): for catching something that is on the screen briefly."""
        env = _base_env()
        env.update(self.env)
        which = ["-id", str(window)] if window else ["-root"]
        data = subprocess.run(["xwd", *which, "-silent"], env=env, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=20, check=True).stdout
        header = struct.unpack(">25I", data[:100])
        header_size, width, height = header[0], header[4], header[5]
        byte_order, bits_per_pixel, bytes_per_line, ncolors = (header[7], header[11],
                                                               header[12], header[19])
        # Packed 24-bit pixels once Wine has installed its colour map, 32-bit before.
        formats = {(24, 0): "BGR", (24, 1): "RGB", (32, 0): "BGRX", (32, 1): "XRGB"}
        raw = formats.get((bits_per_pixel, byte_order))
        if raw is None:
            raise HarnessError(f"xwd gave {bits_per_pixel} bits per pixel")
        pixels = data[header_size + 12 * ncolors:]
        return Image.frombuffer("RGB", (width, height), pixels, "raw", raw, bytes_per_line,
                                1).copy()

    def visible_windows(self, pattern: str = EXE_X_CLASS, pid: Optional[int] = None,
                        mapped: bool = True) -> list:
        """X ids of the windows whose WM_CLASS matches `pattern` (of one pid if given); with
        `mapped`, only those on the screen."""
        args = ["xdotool", "search"] + (["--onlyvisible"] if mapped else [])
        if pid is not None:
            # Without --all, xdotool takes a window matching either condition.
            args += ["--all", "--pid", str(pid)]
        args += ["--class", pattern]
        env = _base_env()
        env.update(self.env)
        for _ in range(20):
            r = subprocess.run(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               timeout=20)
            # A window that ends while xdotool looks at it fails the whole search with an X
            # error and no output: that is no "nothing found" (exit 1, silent), so look again.
            if b"X Error" not in r.stderr:
                return [int(w) for w in r.stdout.decode(errors="replace").split()]
        raise HarnessError(f"{' '.join(args)} kept failing: {r.stderr.decode(errors='replace')}")

    def window_name(self, window: int) -> str:
        return self.run("xdotool", "getwindowname", str(window), check=False).rstrip("\n")

    def geometry(self, window: int) -> tuple:
        """(x, y, w, h) of an X window in screen pixels; x and y may be negative."""
        out = self.run("xwininfo", "-id", str(window))

        def field(label: str) -> int:
            m = re.search(rf"{label}:\s+(-?\d+)", out)
            if not m:
                raise HarnessError(f"xwininfo gave no {label!r}:\n{out}")
            return int(m.group(1))

        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def move_pointer(self, x: int, y: int) -> None:
        self.run("xdotool", "mousemove", "--", str(x), str(y))

    def click(self, x: int, y: int, button: int = 1) -> None:
        self.run("xdotool", "mousemove", "--", str(x), str(y),
                 "sleep", "0.05", "click", str(button))

    def drag(self, x1: int, y1: int, x2: int, y2: int, steps: int = 10,
             button: int = 1) -> None:
        """Press at (x1, y1), move in `steps` even steps to (x2, y2), release: one xdotool run.

        Pauses after the press and before the release, so that a program reading the cursor
        position (GetCursorPos) when it handles the press or a move sees where that event was."""
        args = ["xdotool", "mousemove", "--", str(x1), str(y1), "sleep", "0.05",
                "mousedown", str(button), "sleep", "0.1"]
        for i in range(1, steps + 1):
            args += ["mousemove", "--", str(x1 + (x2 - x1) * i // steps),
                     str(y1 + (y2 - y1) * i // steps), "sleep", "0.02"]
        args += ["sleep", "0.1", "mouseup", str(button)]
        self.run(*args)

    def key(self, *keysyms: str) -> None:
        self.run("xdotool", "key", "--delay", "60", *keysyms)

    def stop(self) -> None:
        _end_process(self.proc)


# --------------------------------------------------------------------------- wine prefix


def to_windows_path(path: Union[str, Path]) -> str:
    """The Windows form of a Unix path, through Wine's Z: drive (maps "/")."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class WinePrefix:
    """A Wine prefix used by one test session: 32-bit unless `arch` is "win64".

    `root` is the session's private directory: HOME for every Wine process (it holds the
    `.asoundrc` with the null ALSA device, so the user's own HOME is never touched) and,
    unless an existing prefix is reused, the prefix itself.
    """

    def __init__(self, path: Path, root: Path, display: Display, owned: bool,
                 arch: str = "win32"):
        self.path = path
        self.root = root
        self.home = root / "home"
        self.display = display
        self.owned = owned  # created by us, deleted by us
        self.arch = arch
        self.loader = WINE_LOADERS[arch]

    @classmethod
    def for_session(cls, display: Display, reuse: Optional[str] = None,
                    arch: str = "win32") -> "WinePrefix":
        root = Path(tempfile.mkdtemp(prefix=f"tessarine-e2e-{arch}-"))
        if reuse:
            prefix = cls(Path(reuse).resolve(), root, display, owned=False, arch=arch)
        else:
            prefix = cls(root / "prefix", root, display, owned=True, arch=arch)
        prefix.ensure()
        return prefix

    def env(self, debug: str = "-all", locale: str = "ja_JP.UTF-8") -> dict:
        env = _base_env()
        env.update(self.display.env)
        env.update({
            "WINEPREFIX": str(self.path),
            "WINEARCH": self.arch,
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            "WINEDEBUG": debug,
            "HOME": str(self.home),
            "LANG": locale,
        })
        return env

    def _initialised(self) -> bool:
        user_reg = self.path / "user.reg"
        return ((self.path / "system.reg").is_file() and user_reg.is_file()
                and JP_FONT in user_reg.read_text(encoding="utf-8", errors="replace"))

    def ensure(self) -> None:
        self.home.mkdir(parents=True, exist_ok=True)
        # winealsa then sees one (silent) output device: waveOutGetNumDevs() == 1.
        (self.home / ".asoundrc").write_text("pcm.!default { type null }\n")
        if self._initialised():
            return
        log = self.root / "wineboot.log"
        with open(log, "ab") as out:
            if not (self.path / "system.reg").is_file():
                boot = ["wineboot", "-i"] if self.arch == "win32" else [self.loader, "wineboot",
                                                                        "-i"]
                subprocess.run(boot, env=self.env(), stdout=out, stderr=out,
                               timeout=180, check=True)
            for face in JP_FONT_REPLACED:
                # The full-width face name survives only under a UTF-8 C locale.
                subprocess.run([self.loader, "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                                "/v", face, "/t", "REG_SZ", "/d", JP_FONT, "/f"],
                               env=self.env(locale="C.UTF-8"), stdout=out, stderr=out,
                               timeout=60, check=True)
            # Registry reaches the disk only when the server exits.
            subprocess.run(["wineserver", "-w"], env=self.env(), stdout=out, stderr=out,
                           timeout=120, check=True)
        if not self._initialised():
            raise HarnessError(f"Wine prefix {self.path} not initialised; see {log}")

    def run(self, args: Sequence[str], cwd: Optional[Path] = None, timeout: float = 60,
            debug: str = "-all", locale: str = "ja_JP.UTF-8") -> subprocess.CompletedProcess:
        """Runs a console program to its end under Wine; stdout and stderr as bytes."""
        return subprocess.run([self.loader, *args], cwd=cwd,
                              env=self.env(debug=debug, locale=locale),
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=timeout)

    def kill(self) -> None:
        """Ends every process of this prefix (and only of this prefix) and its wineserver."""
        subprocess.run(["wineserver", "-k"], env=self.env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
        subprocess.run(["wineserver", "-w"], env=self.env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)

    def remove(self) -> None:
        shutil.rmtree(self.root, ignore_errors=True)


# --------------------------------------------------------------------------- INI files


IniContent = Union[str, bytes, Mapping[str, object]]


def format_value(value: object) -> str:
    """Numbers in the program's own form: a leading blank for 0 and above, "-" otherwise."""
    if isinstance(value, bool):
        value = -1 if value else 0
    if isinstance(value, int):
        return f" {value}" if value >= 0 else str(value)
    return str(value)


def ini_bytes(content: IniContent, section: str = "Section") -> bytes:
    """An INI file as the program's platform writes it: code page 932, CRLF line ends.

    A mapping becomes one section of `key=value` lines (ints through `format_value`); text is
    taken as it is, apart from line ends; bytes are used unchanged.
    """
    if isinstance(content, bytes):
        return content
    if isinstance(content, Mapping):
        lines = [f"[{section}]"] + [f"{k}={format_value(v)}" for k, v in content.items()]
        text = "\n".join(lines) + "\n"
    else:
        text = content
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    return text.encode("cp932")


@contextlib.contextmanager
def bench_session(name: str):
    """For a bench, outside pytest: a fresh folder, a private Xvfb and a Wine prefix (the one
    TESSARINE_BENCH_PREFIX names, if set), as (root, display, wine); all gone afterwards."""
    root = Path(tempfile.mkdtemp(prefix=f"tessarine-{name}-bench-"))
    display = wine = None
    try:
        display = Display.start(root / "x")
        wine = WinePrefix.for_session(display, os.environ.get("TESSARINE_BENCH_PREFIX"))
        yield root, display, wine
    finally:
        if wine is not None:
            wine.kill()
        if display is not None:
            display.stop()
        if wine is not None:
            wine.remove()
        shutil.rmtree(root, ignore_errors=True)


def make_program_dir(parent: Path, exe: Path, name: str = "prog",
                     ini: Optional[IniContent] = None) -> Path:
    """A fresh program folder holding a copy of the exe (always named Tessarine.exe)."""
    folder = parent / name
    folder.mkdir(parents=True)
    shutil.copyfile(exe, folder / EXE_NAME)
    if ini is not None:
        (folder / INI_NAME).write_bytes(ini_bytes(ini))
    return folder


# --------------------------------------------------------------------------- the program


def scarce_meminfo(path: Path, free_share: float) -> Path:
    """Writes at `path` a copy of /proc/meminfo in which `free_share` (0..1) of the physical
    memory is available; for `App(meminfo=...)`."""
    lines = Path("/proc/meminfo").read_text().splitlines()
    total = next(int(l.split()[1]) for l in lines if l.startswith("MemTotal:"))
    free = round(total * free_share)
    # Wine counts buffers and the page cache as available too.
    figures = {"MemFree": free, "MemAvailable": free, "Buffers": 0, "Cached": 0,
               "SReclaimable": 0}
    out = [f"{l.split(':')[0]}: {figures[l.split(':')[0]]} kB" if l.split(":")[0] in figures
           else l for l in lines]
    path.write_text("\n".join(out) + "\n")
    return path


def _in_own_mounts(binds: Sequence[tuple], command: list) -> list:
    """`command`, run in a mount namespace of its own (the same pid, so its windows are still
    found by it) in which each (file, target) of `binds` is seen at `target`: what only this
    program reads changes, the machine stays as it is. Only files the program's own process
    reads (/proc/meminfo, /etc/localtime) can be changed so: Wine's server, which opens the
    files a program asks for through the Windows file functions, lives outside."""
    if not binds:
        return command
    mounts = " && ".join(f'mount --bind "${{{2 * i + 1}}}" "${{{2 * i + 2}}}"'
                         for i in range(len(binds)))
    args = [str(part) for pair in binds for part in pair]
    return ["unshare", "--mount", "--propagation", "private", "sh", "-c",
            f'{mounts} && shift {len(args)} && exec "$@"', "sh", *args] + command


class LocalClock:
    """The local time one program reads, moved without touching the machine's clock: a time
    zone file bound over /etc/localtime in the program's own mount namespace
    (`App(local_clock=...)`), rewritten by `set`. The C library reads the file again when its
    modification time changes, and Wine asks it for the offset at least once a second, so a
    running program follows within a second, as after a sleep or a change of the clock.

    Offsets are whole minutes (Wine counts its bias in minutes): the local seconds are UTC's."""

    def __init__(self, path: Path):
        self.path = path
        self.offset = datetime.timedelta(0)
        self._stamp = 1_000_000_000
        self._set_in = 0
        self._write()

    def set(self, local: datetime.datetime) -> datetime.timedelta:
        """From now on the local time is in the minute of `local`; returns the offset."""
        utc = datetime.datetime.utcnow().replace(second=0, microsecond=0)
        self.offset = local.replace(second=0, microsecond=0) - utc
        self._write()
        self._set_in = math.floor(time.time())
        return self.offset

    def settle(self) -> None:
        """Returns once a running program must see the last `set`: Wine keeps the offset it
        read for the rest of that second of the wall clock, so a change is complete, as it is
        when Windows announces one, only in the next second."""
        while time.time() < self._set_in + 1.02:
            time.sleep(0.02)

    def nearest(self, hour: int, minute: int) -> datetime.datetime:
        """The time of day `hour`:`minute` on the day that keeps the offset within 12 hours."""
        utc = datetime.datetime.utcnow()
        days = [utc.replace(hour=hour, minute=minute, second=0, microsecond=0)
                + datetime.timedelta(days=d) for d in (-1, 0, 1)]
        return min(days, key=lambda t: abs(t - utc))

    def utc(self, local: datetime.datetime) -> datetime.datetime:
        return local - self.offset

    def _write(self) -> None:
        seconds = int(self.offset.total_seconds())
        sign = "-" if seconds >= 0 else "+"  # POSIX counts west of Greenwich as positive
        h, rest = divmod(abs(seconds), 3600)
        posix = f"<LCL>{sign}{h}:{rest // 60:02d}"

        def block() -> bytes:  # TZif version 2: no transitions, one local time type
            counts = struct.pack(">6l", 0, 0, 0, 0, 1, 4)
            return b"TZif2" + b"\0" * 15 + counts + struct.pack(">lBB", seconds, 0, 0) + b"LCL\0"

        # In place, so that the file bound in the program's namespace is the one rewritten.
        with open(self.path, "r+b" if self.path.exists() else "wb") as f:
            f.truncate(0)
            f.write(block() + block() + b"\n" + posix.encode() + b"\n")
        self._stamp += 1
        os.utime(self.path, (self._stamp, self._stamp))


@functools.lru_cache(maxsize=None)
def private_meminfo_problem() -> Optional[str]:
    """Why `App(meminfo=...)` cannot be set up here, or None when it can. A private mount
    namespace needs privileges that a chroot or a container without extra ones lacks; the
    same command is tried once with a harmless program."""
    with tempfile.NamedTemporaryFile("w", prefix="tessarine-meminfo-") as copy:
        copy.write(Path("/proc/meminfo").read_text())
        copy.flush()
        try:
            r = subprocess.run(_in_own_mounts([(Path(copy.name), "/proc/meminfo")], ["true"]), stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=30)
        except OSError as e:
            return f"no private /proc/meminfo: {e}"
    if r.returncode == 0:
        return None
    why = r.stderr.decode(errors="replace").strip() or f"exit code {r.returncode}"
    return f"no private /proc/meminfo here (a chroot or a container without privileges?): {why}"


class App:
    """One run of the program in `folder`; `locale` sets its ANSI code page (932 for the
    default, 1252 for "C.UTF-8")."""

    def __init__(self, wine: WinePrefix, folder: Path, log_dir: Path,
                 trace: Union[bool, str] = False, exe_name: str = EXE_NAME,
                 meminfo: Optional[Path] = None, locale: str = "ja_JP.UTF-8",
                 local_clock: Optional[LocalClock] = None, args: Sequence[str] = ()):
        self.wine = wine
        self.display = wine.display
        self.folder = folder
        self.exe = folder / exe_name
        log_dir.mkdir(parents=True, exist_ok=True)
        stamp = f"{int(time.time() * 1000) % 10**8}"
        self.stdout_path = log_dir / f"app-{stamp}.out"
        self.stderr_path = log_dir / f"app-{stamp}.err"
        debug = trace if isinstance(trace, str) else (TRACE_CHANNELS if trace else "-all")
        binds = []
        if meminfo is not None:
            binds.append((meminfo, "/proc/meminfo"))
        env = wine.env(debug=debug, locale=locale)
        if local_clock is not None:
            binds.append((local_clock.path, "/etc/localtime"))
            env.pop("TZ", None)  # a TZ would take the place of /etc/localtime
        self.started_at = _now()
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.proc = subprocess.Popen(_in_own_mounts(binds, [wine.loader, str(self.exe), *args]),
                                         cwd=folder, env=env, stdin=subprocess.DEVNULL,
                                         stdout=out, stderr=err, start_new_session=True,
                                         preexec_fn=_die_with_parent)
        self.window: Optional[int] = None

    @property
    def pid(self) -> int:
        return self.proc.pid

    # --- life cycle

    def alive(self) -> bool:
        return self.proc.poll() is None

    def wait_exit(self, timeout: float) -> Optional[int]:
        """The exit code, or None if the program still runs after `timeout` seconds."""
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self) -> None:
        _end_process(self.proc)

    def status_kb(self, field: str) -> int:
        """A figure of /proc/<pid>/status in kB ("VmHWM", the peak working set; "VmSize")."""
        for line in Path(f"/proc/{self.pid}/status").read_text().splitlines():
            if line.startswith(field + ":"):
                return int(line.split()[1])
        raise HarnessError(f"no {field} for pid {self.pid}")

    # --- windows

    def windows(self, mapped: bool = True) -> list:
        """This process's top-level windows; with `mapped`, only those on the screen."""
        return self.display.visible_windows(EXE_X_CLASS, pid=self.pid, mapped=mapped)

    def boxes(self, mapped: bool = True) -> dict:
        """{window: (x, y, w, h)} of this process's top-level windows, leaving out any that
        closed between the listing and the look."""
        found = {}
        for w in self.windows(mapped):
            try:
                found[w] = self.display.geometry(w)
            except HarnessError:
                if w in self.windows(mapped):
                    raise
        return found

    def wait_window(self, timeout: float = 15, name: Optional[str] = None,
                    mapped: bool = True) -> int:
        """X id of the program's first visible window (whose title is `name`, if given).

        Wine leaves a window that lies wholly off the screen unmapped; find such a window
        with `mapped=False` and a `name` (every Wine thread also owns an unmapped 1 x 1
        "Default IME" window)."""
        if not mapped and name is None:
            raise ValueError("an unmapped window can only be told apart by its name")
        end = _now() + timeout
        while True:
            for w in self.windows(mapped):
                if name is None or self.display.window_name(w) == name:
                    self.window = w
                    return w
            if not self.alive():
                raise HarnessError(f"{self.exe.name} ended (code {self.proc.returncode}) "
                                   f"without a window; stderr:\n{self._stderr_tail()}")
            if _now() >= end:
                raise HarnessError(f"no window of {self.exe.name} within {timeout} s; "
                                   f"stderr:\n{self._stderr_tail()}")
            time.sleep(0.1)

    def _window(self) -> int:
        return self.window if self.window is not None else self.wait_window()

    def geometry(self) -> tuple:
        return self.display.geometry(self._window())

    def wait_geometry(self, expected: Sequence[int], timeout: float = 5) -> tuple:
        """Polls until the window reaches `expected` (x, y, w, h); returns the last seen."""
        end = _now() + timeout
        while True:
            g = self.geometry()
            if tuple(g) == tuple(expected) or _now() >= end:
                return g
            time.sleep(0.05)

    def screenshot(self, region: Optional[Sequence[int]] = None) -> Image.Image:
        return self.display.screenshot(region)

    def window_image(self) -> Image.Image:
        """The screen under the window's rectangle, in window coordinates."""
        return self.display.screenshot(self.geometry())

    def to_screen(self, dx: int, dy: int) -> tuple:
        x, y, _, _ = self.geometry()
        return x + dx, y + dy

    # --- input (screen coordinates)

    def click(self, x: int, y: int, button: int = 1) -> None:
        self.display.click(x, y, button)

    def drag(self, x1: int, y1: int, x2: int, y2: int, steps: int = 10) -> None:
        self.display.drag(x1, y1, x2, y2, steps)

    def key(self, *keysyms: str, hover: bool = True) -> None:
        """Sends key presses; with `hover` the pointer first goes to the window's centre,
        because the X server gives keys to the window under the pointer."""
        if hover:
            x, y, w, h = self.geometry()
            self.display.move_pointer(x + w // 2, y + h // 2)
            time.sleep(0.05)
        self.display.key(*keysyms)

    # --- what the program left behind

    def trace_lines(self) -> list:
        return self.stderr_path.read_bytes().decode("utf-8", errors="replace").splitlines()

    def wait_trace(self, pattern: str, timeout: float = 10) -> Optional[str]:
        """The first stderr line matching the regex `pattern`, waiting up to `timeout` s."""
        rx = re.compile(pattern)
        end = _now() + timeout
        while True:
            for line in self.trace_lines():
                if rx.search(line):
                    return line
            if _now() >= end:
                return None
            time.sleep(0.1)

    def ini_path(self) -> Path:
        return self.folder / INI_NAME

    def ini_bytes(self) -> Optional[bytes]:
        p = self.ini_path()
        return p.read_bytes() if p.exists() else None

    def _stderr_tail(self, lines: int = 30) -> str:
        try:
            return "\n".join(self.trace_lines()[-lines:])
        except OSError:
            return "(no stderr)"


# --------------------------------------------------------------------------- popup menus

# Wine's +menu trace of every item it draws: "{ ID=0x3, Text=L"..."  }" then its rectangle.
_MENU_DRAWN = re.compile(r":trace:menu:draw_menu_item \{ ID=0x(?P<id>[0-9a-fA-F]+)(?P<rest>.*)\}")
_MENU_RECT = re.compile(r":trace:menu:draw_menu_item rect=\((-?\d+),(-?\d+)\)-\((-?\d+),(-?\d+)\)")
_MENU_TEXT = re.compile(r'Text=L"(?P<text>(?:[^"\\]|\\.)*)"')
MENU_TRACE = "-all,+menu,+mci,+winmm"


def wine_unescape(s: str) -> str:
    """Wine's debugstr_w: non-ASCII characters as \\xxxx, \\n \\r \\t, and \\" \\\\ escapes."""
    controls = {"n": "\n", "r": "\r", "t": "\t"}
    return re.sub(r"\\([0-9a-fA-F]{4}|.)",
                  lambda m: chr(int(m.group(1), 16)) if len(m.group(1)) == 4
                  else controls.get(m.group(1), m.group(1)), s)


class PopupMenu:
    """A popup menu as Wine last drew it: its entries (separators as "-"), their check marks,
    and clicks on them at the places they were drawn."""

    def __init__(self, display: Display, items: list, origin: tuple):
        self.display = display
        self.items = items  # (text, checked, (left, top, right, bottom))
        self.origin = origin

    def texts(self) -> list:
        return [t for t, _, _ in self.items]

    def checked(self, text: str) -> bool:
        return next(c for t, c, _ in self.items if t == text)

    def click(self, text: str) -> None:
        l, t, r, b = next(rect for tx, _, rect in self.items if tx == text)
        self.display.click(self.origin[0] + (l + r) // 2, self.origin[1] + (t + b) // 2)


def _menu_items(lines: list) -> list:
    """(text, checked, rect) of each item drawn from the first of `lines` on."""
    items, pending = [], None
    for line in lines:
        m = _MENU_DRAWN.search(line)
        if m:
            rest = m.group("rest")
            text = _MENU_TEXT.search(rest)
            flags = rest[:text.start()] if text else rest
            pending = (wine_unescape(text.group("text")) if text else "-", "check" in flags)
            continue
        r = _MENU_RECT.search(line)
        if r and pending:
            items.append((pending[0], pending[1], tuple(int(v) for v in r.groups())))
            pending = None
        elif items and ":trace:menu:draw_menu_item" not in line and \
                ":trace:menu:draw_popup_menu" not in line:
            break
    return items


def drawn_menu(app: "App", since: int, timeout: float = 5) -> PopupMenu:
    """The popup menu the program drew after trace line `since` (needs MENU_TRACE; lines of
    other channels traced as well are passed over), once its items have all been drawn (the
    same items read twice in a row) and its window is on the screen."""
    end = _now() + timeout
    last: list = []
    while True:
        lines = [line for line in app.trace_lines()[since:] if ":trace:menu:" in line]
        starts = [i for i, line in enumerate(lines) if ":trace:menu:draw_popup_menu wnd=" in line]
        items = _menu_items(lines[starts[-1]:]) if starts else []
        if items and items == last:
            # The menu's window: the one of this program that fits the drawn items with an
            # equal frame on every side.
            right = max(i[2][2] for i in items)
            bottom = max(i[2][3] for i in items)
            for w in app.windows():
                x, y, ww, hh = app.display.geometry(w)
                if ww - right == hh - bottom and ww >= right:
                    border = (ww - right) // 2
                    return PopupMenu(app.display, items, (x + border, y + border))
        last = items
        if _now() >= end:
            raise HarnessError("no popup menu drawn" if not items else
                               f"the popup menu of {[i[0] for i in items]} has no window")
        time.sleep(0.1)


def tray_window(display: Display) -> Optional[tuple]:
    """Geometry of Wine's stand-alone notification area while it shows any icon, else None.
    Icons sit in 20-pixel cells from its left edge."""
    ids = display.run("xdotool", "search", "--onlyvisible", "--name", "^Wine System Tray$",
                      check=False).split()
    return display.geometry(int(ids[0])) if ids else None


def colour_close(a: Iterable[int], b: Iterable[int], tolerance: int = 0) -> bool:
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def pe_resources(exe: Path) -> dict:
    """{(type, id): bytes} for every resource with integer type and id (first language)."""
    data = exe.read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    sections, opt_size = struct.unpack_from("<H12xH", data, pe + 6)
    opt = pe + 24
    dirs = opt + (96 if struct.unpack_from("<H", data, opt)[0] == 0x10B else 112)
    rsrc_rva = struct.unpack_from("<I", data, dirs + 2 * 8)[0]
    table = []
    for i in range(sections):
        _, vsize, va, rawsize, raw = struct.unpack_from("<8sIIII", data, opt + opt_size + 40 * i)
        table.append((va, max(vsize, rawsize), raw))

    def at(rva: int) -> int:
        for va, size, raw in table:
            if va <= rva < va + size:
                return raw + rva - va
        raise AssertionError(f"RVA {rva:#x} outside every section")

    base = at(rsrc_rva)

    def entries(offset: int):
        named, ids = struct.unpack_from("<HH", data, base + offset + 12)
        for k in range(named + ids):
            name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * k)
            if not name & 0x80000000:
                yield name, target

    found = {}
    for rtype, t in entries(0):
        for rid, n in entries(t & 0x7FFFFFFF):
            _, leaf = next(entries(n & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", data, base + leaf)
            found[(rtype, rid)] = data[at(rva):at(rva) + size]
    return found
