#!/usr/bin/env python3
"""Start time of the clock against a minimal window program, on one warm Wine server.

Starts build/win32/Tessarine.exe (and each --also build) and bench/minimal_window.exe in
turn, round after round, in one Wine prefix whose server and desktop stay up between them
(with --cold-desktop only the server), and takes the time from the start of the process to
the moment its first window is mapped on the screen (the X server's MapNotify, read as it
comes from `xev`, so no polling stands between the two). Prints the median of each and the
ratio to the minimal window.

    /usr/bin/python3 bench/start_time.py [--rounds 40] [--also OLD.exe] [--cold-desktop]
    TESSARINE_BENCH_PREFIX=/tmp/tessarine-bench-prefix /usr/bin/python3 bench/start_time.py

Exit code 0 whether or not the target (at most 1.3x the minimal window) is met; 1 when the
measurement failed.
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import threading
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from harness import App, HarnessError, bench_session, make_program_dir  # noqa: E402

BUILD = REPO / "build" / "bench"
TARGET, AIM = 1.3, 1.1
INI = {"Pos_X": 400, "Pos_Y": 300}  # wholly on the screen, where Wine maps it


def build_helper(name: str) -> Path:
    """bench/<name>.cpp as build/bench/<name>.exe, built as idle_cost.py builds it."""
    src, exe = REPO / "bench" / f"{name}.cpp", BUILD / f"{name}.exe"
    if not exe.exists() or exe.stat().st_mtime < src.stat().st_mtime:
        BUILD.mkdir(parents=True, exist_ok=True)
        subprocess.run(["i686-w64-mingw32-g++-posix", "-std=c++17", "-O2", "-static",
                        "-mwindows", "-municode", "-o", str(exe), str(src)], check=True)
    return exe


class MapWatch:
    """The root window's children as they are mapped and unmapped, each with the monotonic
    time its line arrived from `xev`."""

    EVENT = re.compile(r"^(MapNotify|UnmapNotify|DestroyNotify) event")
    WINDOW = re.compile(r"\bwindow (0x[0-9a-f]+), ")

    def __init__(self, display):
        env = dict(os.environ, **display.env)
        self.proc = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                                     env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                     text=True)
        self.events = []  # (time, kind, window)
        self.changed = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        kind = None
        for line in self.proc.stdout:
            now = time.monotonic()
            m = self.EVENT.match(line)
            if m:
                kind = m.group(1)
                continue
            m = self.WINDOW.search(line)  # the event's second line names the window
            if kind and m:
                with self.changed:
                    self.events.append((now, kind, int(m.group(1), 16)))
                    self.changed.notify_all()
                kind = None

    def wait(self, since: int, kinds: tuple, accept, timeout: float = 60):
        """(time, window) of the first event from index `since` of one of `kinds` whose window
        `accept` takes."""
        end = time.monotonic() + timeout
        with self.changed:
            while True:
                for at, kind, window in self.events[since:]:
                    if kind in kinds and accept(window):
                        return at, window
                since = len(self.events)
                left = end - time.monotonic()
                if left <= 0 or not self.changed.wait(left):
                    raise HarnessError(f"no {'/'.join(kinds)} within {timeout} s")

    def stop(self):
        self.proc.kill()
        self.proc.wait()


def start_ms(wine, folder: Path, logs: Path, watch: MapWatch) -> float:
    """Milliseconds from the process start to its first window on the screen."""
    since = len(watch.events)
    app = App(wine, folder, logs)
    try:
        mapped_at, window = watch.wait(since, ("MapNotify",),
                                       lambda w: w in app.windows(mapped=False))
        return (mapped_at - app.started_at) * 1000
    finally:
        app.stop()
        # The next start begins once this window has left the screen.
        watch.wait(since, ("UnmapNotify", "DestroyNotify"), lambda w: w == window)


def quarter(times: list) -> float:
    """The median of the quickest quarter: what a start takes when nothing else gets in."""
    return statistics.median(sorted(times)[:max(1, len(times) // 4)])


def measure(args, root: Path, display, wine) -> tuple:
    """({name: exe}, {name: [ms, ...]}), the programs started in turn, round after round."""
    programs = {"minimal": build_helper("minimal_window"), "clock": Path(args.exe)}
    for i, other in enumerate(args.also):
        programs[f"also{i + 1}"] = Path(other)
    # Every program is copied as Tessarine.exe: the same name, the same X class.
    folders = {name: make_program_dir(root, exe, name, INI if name != "minimal" else None)
               for name, exe in programs.items()}
    logs, watch, anchor = root / "logs", None, None
    try:
        if args.cold_desktop:
            subprocess.run(["wineserver", "-p"], env=wine.env(), check=True)
        else:
            # A windowless program keeps the server and its desktop up, as a session's shell
            # keeps them up on Windows: each start is a start into a running session.
            anchor = App(wine, make_program_dir(root, build_helper("no_window"), "anchor"), logs)
        watch = MapWatch(display)
        names = list(programs)
        for name in names:  # the first start of each fills the page cache
            start_ms(wine, folders[name], logs, watch)
        times = {name: [] for name in names}
        for r in range(args.rounds):
            for name in names[r % len(names):] + names[:r % len(names)]:
                times[name].append(start_ms(wine, folders[name], logs, watch))
        return programs, times
    finally:
        if watch is not None:
            watch.stop()
        if anchor is not None:
            anchor.stop()


def report(programs: dict, times: dict) -> None:
    base = statistics.median(times["minimal"])
    for name, exe in programs.items():
        med = statistics.median(times[name])
        # Other load on the machine comes and goes more slowly than one round: the ratio
        # within each round is steadier than the ratio of the medians.
        paired = statistics.median(t / m for t, m in zip(times[name], times["minimal"]))
        print(f"{name:8s} {exe.name:22s} median {med:6.1f} ms  {med / base:4.2f}x  "
              f"in-round {paired:4.2f}x  quickest quarter {quarter(times[name]):6.1f} ms")
        print(f"         runs {' '.join(f'{t:.0f}' for t in times[name])}")
    ratio = statistics.median(times["clock"]) / base
    verdict = "met" if ratio <= TARGET else "NOT met"
    print(f"clock / minimal window = {ratio:.2f}; target at most {TARGET}: {verdict} (aim {AIM})")


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--rounds", type=int, default=40)
    ap.add_argument("--exe", default=str(REPO / "build" / "win32" / "Tessarine.exe"))
    ap.add_argument("--also", action="append", default=[], help="another build, measured alike")
    ap.add_argument("--cold-desktop", action="store_true",
                    help="keep only the server up: the desktop process ends with each program "
                         "and starts again with the next")
    args = ap.parse_args()
    with bench_session("start") as (root, display, wine):
        try:
            report(*measure(args, root, display, wine))
            return 0
        except (HarnessError, subprocess.CalledProcessError) as e:
            print(f"measurement failed: {e}", file=sys.stderr)
            return 1


if __name__ == "__main__":
    sys.exit(main())
