#!/usr/bin/python3
"""What the clock costs while it just sits on the desktop, shown and hidden, measured in one
run on one private Xvfb display.

  CPU     first the figure that matters: the clock's CPU above the floor per drawn frame,
          against xclock's CPU per drawn frame. The floor is a Wine program with no window
          at all, measured in the same run: what the runtime costs any program (its server
          wakes about 60 times a second whatever the program does). Then the hidden clock
          (the window hidden as the tray does) against the same floor.
  Memory  the clock's anonymous memory against a minimal window program of the same size
          under the same Wine.

The programs run one after the other, each alone in the prefix and on the display, so every
wineserver and X server delta belongs to one program. Each Wine program is measured only
after a warm-up of at least 35 s, because the wineserver saves the registry once about 30 s
after it starts, and that save would otherwise fall into the window. A benchmark reports; it
exits 0 whether or not the targets are met, and non-zero only when the measurement failed.

  Density with --dpi N: the clock is measured at 96 DPI and at N (Wine's LogPixels) in the
          same run, and its cost per drawn frame at N is set against the one at 96: a frame
          there has (N/96)^2 the pixels, but only the bob's changed squares are drawn.

Usage: /usr/bin/python3 bench/idle_cost.py [--seconds N] [--warmup N] [--runs N] [--exe PATH]
           [--prefix DIR] [--also EXE]... [--dpi N]
Environment: TESSARINE_BENCH_SECONDS (window length), TESSARINE_BENCH_PREFIX (a Wine prefix
directory to keep and reuse between runs, which saves the ~10 s of creating one).
"""

import argparse
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLOCK_EXE = os.path.join(ROOT, "build", "win32", "Tessarine.exe")
BENCH_DIR = os.path.join(ROOT, "bench")
BUILD_DIR = os.path.join(ROOT, "build", "bench")
# name: (source, subsystem)
HELPERS = {
    "minimal_window": ("minimal_window.cpp", "-mwindows"),
    "no_window": ("no_window.cpp", "-mwindows"),
    "show_window": ("show_window.cpp", "-mconsole"),
}

# Frames a second each program draws. The clock: the pendulum's ten; the dial's redraw once a
# second is left out, so the clock's per-frame figure errs on its own expense. xclock with
# -update 1 redraws its second hand once a second.
CLOCK_FPS = 10.0
XCLOCK_FPS = 1.0
FRAME_TARGET_RATIO = 0.6  # clock above the floor, per frame, at most this times xclock's
FRAME_AIM_RATIO = 0.5
HIDDEN_TARGET_ABOVE_FLOOR = 0.03  # s/min: a hidden clock costs hardly more than no window
SHOWN_WAKEUPS_TARGET = 11  # messages a second: ten pendulum frames (and at most one tick)
HIDDEN_WAKEUPS_TARGET = 1
MIN_WARMUP = 35.0  # past the wineserver's one registry save ~30 s after it starts
MEM_TARGET_KB = 2048  # at most 2 MB more than the minimal window program
DPI_TARGET_RATIO = 2.0  # per drawn frame at --dpi, at most twice the 96-DPI figure

CLK_TCK = os.sysconf("SC_CLK_TCK")


class BenchError(Exception):
    pass


# ---------------------------------------------------------------- /proc readings


def cpu_ns(pid):
    """CPU time of a process in nanoseconds, summed over its threads.

    /proc/<pid>/task/*/schedstat counts in nanoseconds; /proc/<pid>/stat only in clock ticks
    (10 ms), and xclock uses a few ticks a minute, so ticks alone would make the ratio noise.
    """
    return schedstat_sum(pid, 0)


def schedstat_sum(pid, field):
    """One field of /proc/<pid>/task/*/schedstat summed over the threads (0: nanoseconds on a
    CPU, 1: nanoseconds waiting to run, 2: times scheduled); None when the process has ended."""
    total = 0
    try:
        for tid in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                    total += int(f.read().split()[field])
            except (FileNotFoundError, ProcessLookupError):
                pass  # a thread that ended between listing and reading
    except FileNotFoundError:
        return None
    return total


def cpu_ticks(pid):
    """utime + stime from /proc/<pid>/stat, in clock ticks (the cross-check)."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            text = f.read()
    except FileNotFoundError:
        return None
    fields = text[text.rindex(")") + 2:].split()  # the command name may hold spaces
    return int(fields[11]) + int(fields[12])  # fields 14 and 15 of the whole line


def anonymous_kb(pid):
    """'Anonymous:' of smaps_rollup: every page the process made its own (heap, stacks,
    VirtualAlloc, DIB sections, copied-on-write pages of mapped DLLs), none of the shared
    file pages that a second process of the same runtime would get for free."""
    values = {}
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2 and parts[0].endswith(":") and parts[1].isdigit():
                values[parts[0][:-1]] = int(parts[1])
    return values


def processes_of_prefix(prefix):
    """PIDs whose environment names this Wine prefix, with their command lines."""
    needle = b"WINEPREFIX=" + os.fsencode(prefix)
    found = {}
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open(f"/proc/{name}/environ", "rb") as f:
                env = f.read().split(b"\0")
            with open(f"/proc/{name}/cmdline", "rb") as f:
                cmd = f.read().replace(b"\0", b" ").decode(errors="replace").strip()
        except (FileNotFoundError, ProcessLookupError, PermissionError):
            continue
        if needle in env:
            found[int(name)] = cmd
    return found


# ---------------------------------------------------------------- the run


class Bench:
    def __init__(self, args):
        self.args = args
        self.tmp = tempfile.mkdtemp(prefix="tessarine-bench-")
        self.prefix = os.path.abspath(args.prefix) if args.prefix else os.path.join(self.tmp, "prefix")
        self.xvfb = None
        self.display = None
        self.children = []  # Popen objects still to end
        self.prefix_in_use = False
        self.exes = {}
        base = {k: v for k, v in os.environ.items() if not k.startswith("WINE")}
        self.xenv = base  # Xvfb and xclock: no WINEPREFIX, so the prefix scan never sees them
        self.wenv = dict(base, WINEARCH="win32", WINEPREFIX=self.prefix, WINEDEBUG="-all",
                         WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")

    def log(self, msg):
        print(f"[bench] {msg}", file=sys.stderr, flush=True)

    # --- display

    def start_display(self):
        for n in range(140, 200):
            if os.path.exists(f"/tmp/.X{n}-lock") or os.path.exists(f"/tmp/.X11-unix/X{n}"):
                continue
            err = open(os.path.join(self.tmp, f"xvfb-{n}.log"), "w")
            p = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                                  "-noreset"], stdout=err, stderr=err, env=self.xenv)
            deadline = time.time() + 10
            while time.time() < deadline and p.poll() is None:
                if os.path.exists(f"/tmp/.X11-unix/X{n}") and subprocess.call(
                        ["xdpyinfo", "-display", f":{n}"], stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL) == 0:
                    self.xvfb, self.display = p, f":{n}"
                    self.xenv["DISPLAY"] = self.wenv["DISPLAY"] = self.display
                    return
                time.sleep(0.1)
            if p.poll() is None:  # never answered: not ours to keep
                p.kill()
                p.wait()
            # lost a race for that number, or it failed: try the next one
        raise BenchError("no free X display between :140 and :199")

    # --- programs

    def build(self):
        if not os.path.exists(self.args.exe):
            if self.args.exe != CLOCK_EXE:
                raise BenchError(f"{self.args.exe} does not exist")
            self.log("building the clock (scripts/build.sh win32)")
            if subprocess.call(["bash", os.path.join(ROOT, "scripts", "build.sh"), "win32"]) != 0:
                raise BenchError("the clock's build failed")
        os.makedirs(BUILD_DIR, exist_ok=True)
        for name, (source, subsystem) in HELPERS.items():
            src = os.path.join(BENCH_DIR, source)
            exe = os.path.join(BUILD_DIR, name + ".exe")
            if not os.path.exists(exe) or os.path.getmtime(exe) < os.path.getmtime(src):
                self.log(f"building {name}.exe")
                if subprocess.call(["i686-w64-mingw32-g++-posix", "-std=c++17", "-Wall", "-Wextra",
                                    "-O2", "-static", subsystem, "-municode", "-o", exe, src]) != 0:
                    raise BenchError(f"{name}.exe did not build")
            self.exes[name] = shutil.copy(exe, self.tmp)

    def ensure_prefix(self):
        if os.path.exists(os.path.join(self.prefix, "system.reg")):
            return
        self.log(f"creating Wine prefix {self.prefix} (once, ~10 s)")
        os.makedirs(self.prefix, exist_ok=True)
        self.prefix_in_use = True
        out = open(os.path.join(self.tmp, "wineboot.log"), "w")
        if subprocess.call(["wineboot", "-i"], env=self.wenv, stdout=out, stderr=out) != 0:
            raise BenchError("wineboot -i failed; see " + out.name)
        # The same font replacements the tests use, so the clock finds its dial font.
        for face in ("ＭＳ Ｐゴシック", "MS UI Gothic"):
            subprocess.call(["wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                             "/v", face, "/t", "REG_SZ", "/d", "IPAPGothic", "/f"],
                            env=dict(self.wenv, LC_ALL="C.UTF-8"), stdout=out, stderr=out)
        subprocess.call(["wineserver", "-w"], env=self.wenv)

    def visible_window(self, name):
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                           env=self.xenv, capture_output=True, text=True)
        return bool(r.stdout.strip())

    def wait_window(self, name, proc, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if proc.poll() is not None:
                raise BenchError(f"{name}: the program ended before its window appeared")
            if self.visible_window(name):
                return
            time.sleep(0.2)
        raise BenchError(f"no window named {name!r} within {timeout} s")

    def stop_wine(self):
        if self.prefix_in_use:
            subprocess.call(["wineserver", "-k"], env=self.wenv, stderr=subprocess.DEVNULL)
            subprocess.call(["wineserver", "-w"], env=self.wenv, stderr=subprocess.DEVNULL)
            self.prefix_in_use = False

    def stop_children(self):
        for p in self.children:
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        self.children = []

    def launch(self, label, argv, wine, window_name=None, cwd=None):
        """Starts one program and waits for its window (if it has one)."""
        self.log(f"{label}: starting")
        logf = open(os.path.join(self.tmp, f"{label.split()[0]}.log"), "a")
        if wine:
            self.prefix_in_use = True
        proc = subprocess.Popen(argv, env=self.wenv if wine else self.xenv, cwd=cwd or self.tmp,
                                stdout=logf, stderr=logf)
        self.children.append(proc)
        if window_name:
            self.wait_window(window_name, proc)
        return proc

    def watched(self, proc, wine):
        """The program, the X server, and for Wine the prefix's wineserver and helpers."""
        server, others = None, {}
        if wine:
            for pid, cmd in processes_of_prefix(self.prefix).items():
                if pid == proc.pid:
                    continue
                if "wineserver" in cmd:
                    server = pid
                else:
                    others[pid] = os.path.basename(cmd.split(" ")[0].replace("\\", "/"))
            if server is None:
                raise BenchError(f"no wineserver found for {self.prefix}")
        return server, others

    def sample(self, label, proc, wine):
        """CPU of one program (and what serves it) over one measurement window, per minute."""
        server, others = self.watched(proc, wine)
        pids = [proc.pid, self.xvfb.pid] + ([server] if server else []) + list(others)
        ns0 = {p: cpu_ns(p) for p in pids}
        ticks0 = {p: cpu_ticks(p) for p in pids}
        t0 = time.monotonic()
        self.log(f"{label}: measuring for {self.args.seconds:g} s")
        time.sleep(self.args.seconds)
        ns1 = {p: cpu_ns(p) for p in pids}
        ticks1 = {p: cpu_ticks(p) for p in pids}
        elapsed = time.monotonic() - t0
        if proc.poll() is not None or ns1[proc.pid] is None:
            raise BenchError(f"{label}: the program ended during the measurement")
        per_min = 60.0 / elapsed

        def sec(p):
            if p is None or ns0.get(p) is None or ns1.get(p) is None:
                return 0.0
            return (ns1[p] - ns0[p]) / 1e9 * per_min

        def tick_sec(p):
            if p is None or ticks0.get(p) is None or ticks1.get(p) is None:
                return 0.0
            return (ticks1[p] - ticks0[p]) / CLK_TCK * per_min

        r = {"label": label, "program": sec(proc.pid), "server": sec(server) if wine else None,
             "xvfb": sec(self.xvfb.pid), "others": {},
             "ticks": tick_sec(proc.pid) + (tick_sec(server) if wine else 0.0)}
        for pid, name in others.items():
            r["others"][name] = r["others"].get(name, 0.0) + sec(pid)
        r["total"] = r["program"] + (r["server"] or 0.0) + r["xvfb"]
        return r

    def finish(self, wine):
        if wine:
            self.stop_wine()  # ends the program with its prefix, and the wineserver too
        self.stop_children()

    def set_dpi(self, dpi):
        """Wine's screen density; it takes effect with the prefix's next server."""
        self.prefix_in_use = True
        subprocess.call(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                         "/t", "REG_DWORD", "/d", str(dpi), "/f"], env=self.wenv,
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.stop_wine()

    def measure_clock(self, label, exe, dpi=96):
        """The clock shown, then the same process hidden as the tray hides it."""
        if dpi != 96:
            self.set_dpi(dpi)
        try:
            return self.measure_clock_at(label, exe)
        finally:
            if dpi != 96:
                self.set_dpi(96)

    def measure_clock_at(self, label, exe):
        folder = tempfile.mkdtemp(prefix="clock-", dir=self.tmp)  # a fresh program folder
        copy = shutil.copy(exe, os.path.join(folder, "Tessarine.exe"))
        proc = self.launch(label, ["wine", copy], True, "Tessarine", cwd=folder)
        time.sleep(self.args.warmup)
        mem_start = anonymous_kb(proc.pid)
        shown = self.sample(label + " shown", proc, True)
        shown["mem_start"], shown["mem_end"] = mem_start, anonymous_kb(proc.pid)
        if subprocess.call(["wine", self.exes["show_window"], "hide"], env=self.wenv,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) != 0:
            raise BenchError(f"{label}: the clock window could not be hidden")
        time.sleep(3)  # the helper's own process is gone and the hide has settled
        if self.visible_window("Tessarine"):
            raise BenchError(f"{label}: the clock window is still on the screen")
        hidden = self.sample(label + " hidden", proc, True)
        self.finish(True)
        return shown, hidden

    def trace_clock(self, label, exe, seconds=10.0):
        """Ten seconds of the shown clock under Wine's X driver trace and strace: the X errors
        that Wine reads back and ignores, and every file the program (or its wineserver)
        looks up, so that work done per frame shows as a count near frames x n."""
        folder = tempfile.mkdtemp(prefix="trace-", dir=self.tmp)
        copy = shutil.copy(exe, os.path.join(folder, "Tessarine.exe"))
        log, calls = os.path.join(folder, "x11drv.log"), os.path.join(folder, "strace.log")
        self.log(f"{label}: tracing for {seconds:g} s")
        self.prefix_in_use = True
        with open(log, "w") as err:
            proc = subprocess.Popen(["strace", "-f", "-qq", "-e", "trace=%file", "-o", calls,
                                     "wine", copy], env=dict(self.wenv, WINEDEBUG="+x11drv"),
                                    cwd=folder, stdout=subprocess.DEVNULL, stderr=err)
            self.children.append(proc)
            self.wait_window("Tessarine", proc, timeout=60)
            time.sleep(10)  # start-up done; its file lookups stay out of the count

            def lines(path):
                with open(path, errors="replace") as f:
                    return f.read().splitlines()
            errors0, calls0 = len(lines(log)), len(lines(calls))
            time.sleep(seconds)
            errors = [l for l in lines(log)[errors0:] if "got ignored error" in l]
            looked_up = lines(calls)[calls0:]
        self.finish(True)
        kinds = {}
        for line in errors:
            kind = line[line.index("got ignored error"):].strip()
            kinds[kind] = kinds.get(kind, 0) + 1
        paths = {}
        for line in looked_up:
            if '"' in line:
                path = line.split('"')[1]
                paths[path] = paths.get(path, 0) + 1
        return {"label": label, "seconds": seconds, "errors": kinds, "paths": paths}

    def count_wakeups(self, label, exe, seconds=10.0):
        """How often the clock's main thread is woken, shown and then hidden, per second, and
        how many requests it sends the wineserver, from the server's own trace (+server): a
        wake-up is the server ending a wait of that thread ("*wakeup*"), whether for a message
        or for a wait that ran out. Measured apart from the CPU, which the trace inflates."""
        folder = tempfile.mkdtemp(prefix="wake-", dir=self.tmp)
        copy = shutil.copy(exe, os.path.join(folder, "Tessarine.exe"))
        log = os.path.join(folder, "server.log")
        self.log(f"{label}: counting wake-ups for {seconds:g} s shown and {seconds:g} s hidden")
        self.prefix_in_use = True
        # The trace comes from the wineserver this start brings up: none may be running.
        subprocess.call(["wineserver", "-k"], env=self.wenv, stderr=subprocess.DEVNULL)
        subprocess.call(["wineserver", "-w"], env=self.wenv, stderr=subprocess.DEVNULL)
        with open(log, "w") as err:
            proc = subprocess.Popen(["wine", copy], env=dict(self.wenv, WINEDEBUG="-all,+server"),
                                    cwd=folder, stdout=subprocess.DEVNULL, stderr=err)
            self.children.append(proc)
            self.wait_window("Tessarine", proc, timeout=60)
            time.sleep(5)  # start-up done
            thread = None
            with open(log, errors="replace") as f:
                for line in f:
                    # The clock is the first process of this server; its first thread looks
                    # up its own path.
                    if "Tessarine.exe" in line:
                        thread = line.split(":", 1)[0]
                        break
            if thread is None:
                raise BenchError(f"{label}: the clock's thread is not in the server trace")
            request = re.compile(re.escape(thread) + r": [a-z_0-9]+\((?!\) =)")

            def taken():
                wakes = requests = 0
                with open(log, errors="replace") as f:
                    for line in f:
                        if line.startswith(thread + ": *wakeup*"):
                            wakes += 1
                        elif request.match(line):
                            requests += 1
                return wakes, requests
            counts = []
            for hide in (False, True):
                if hide and subprocess.call(["wine", self.exes["show_window"], "hide"],
                                            env=self.wenv, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL) != 0:
                    raise BenchError(f"{label}: the clock window could not be hidden")
                if hide:
                    time.sleep(3)
                (w0, r0), t0 = taken(), time.monotonic()
                time.sleep(seconds)
                (w1, r1), t1 = taken(), time.monotonic()
                counts.append(((w1 - w0) / (t1 - t0), (r1 - r0) / (t1 - t0)))
        self.finish(True)
        return {"label": label, "shown": counts[0][0], "hidden": counts[1][0],
                "shown_requests": counts[0][1], "hidden_requests": counts[1][1]}

    def measure_floor(self):
        # No window to wait for: the warm-up runs from the start.
        proc = self.launch("no window (floor)", ["wine", self.exes["no_window"]], True)
        time.sleep(self.args.warmup)
        r = self.sample("no window (floor)", proc, True)
        self.finish(True)
        return r

    def measure_minimal_memory(self):
        proc = self.launch("minimal window", ["wine", self.exes["minimal_window"]], True,
                           "MinimalWindow")
        time.sleep(5)
        mem = anonymous_kb(proc.pid)
        self.finish(True)
        return mem

    def measure_xclock(self):
        proc = self.launch("xclock -update 1", ["xclock", "-update", "1"], False, "xclock")
        time.sleep(5)
        r = self.sample("xclock -update 1", proc, False)
        self.finish(False)
        return r

    def cleanup(self):
        try:
            self.stop_children()
        finally:
            try:
                self.stop_wine()
            finally:
                if self.xvfb and self.xvfb.poll() is None:
                    self.xvfb.terminate()
                    try:
                        self.xvfb.wait(5)
                    except subprocess.TimeoutExpired:
                        self.xvfb.kill()
                        self.xvfb.wait()
                shutil.rmtree(self.tmp, ignore_errors=True)

    def run(self):
        self.build()
        self.start_display()
        self.log(f"display {self.display}, work dir {self.tmp}")
        self.ensure_prefix()
        clocks = [("Tessarine.exe", self.args.exe, 96)] + [
            (f"{os.path.basename(e)[:20]} ({i + 1})", e, 96) for i, e in enumerate(self.args.also)]
        if self.args.dpi != 96:
            clocks.append((f"Tessarine.exe at {self.args.dpi} DPI", self.args.exe, self.args.dpi))
        runs = []
        for n in range(self.args.runs):
            self.log(f"run {n + 1} of {self.args.runs}")
            run = {"clocks": {}}
            # Variants alternate their place from run to run, so drift hits none of them alone.
            order = clocks[n % len(clocks):] + clocks[:n % len(clocks)]
            for label, exe, dpi in order:
                run["clocks"][label] = self.measure_clock(label, exe, dpi)
            run["floor"] = self.measure_floor()
            run["xclock"] = self.measure_xclock()
            runs.append(run)
        minimal_mem = self.measure_minimal_memory()
        traces = ([self.trace_clock(label, exe) for label, exe, dpi in clocks if dpi == 96]
                  if self.args.trace else [])
        wakeups = [self.count_wakeups(label, exe) for label, exe, dpi in clocks if dpi == 96]
        return report(self.args, self.display, [c[0] for c in clocks], runs, minimal_mem, traces,
                      wakeups)


# ---------------------------------------------------------------- output


def median_row(rows):
    """Field-wise median of several samples of one program."""
    out = {"label": rows[0]["label"]}
    for key in ("program", "server", "xvfb", "total", "ticks"):
        values = [r[key] for r in rows if r[key] is not None]
        out[key] = statistics.median(values) if values else None
    names = {k for r in rows for k in r["others"]}
    out["others"] = {k: statistics.median(r["others"].get(k, 0.0) for r in rows) for k in names}
    return out


def per_frame_ms(cost_per_min, fps):
    return cost_per_min / (fps * 60.0) * 1000.0


def report(args, display, labels, runs, minimal_mem, traces, wakeups):
    n = len(runs)
    floor = median_row([r["floor"] for r in runs])
    xclock = median_row([r["xclock"] for r in runs])
    shown = {lb: median_row([r["clocks"][lb][0] for r in runs]) for lb in labels}
    hidden = {lb: median_row([r["clocks"][lb][1] for r in runs]) for lb in labels}
    ok = True

    what = "median of %d runs" % n if n > 1 else "one run"
    print(f"Idle cost: {args.seconds:g} s windows after a {args.warmup:g} s warm-up, {what}, "
          f"on Xvfb {display} (1024x768x24)")
    print()
    x_frame = per_frame_ms(xclock["total"], XCLOCK_FPS)
    print(f"CPU per drawn frame (ms; the clock above the floor, at {CLOCK_FPS:g} frames/s; "
          f"xclock in full, at {XCLOCK_FPS:g} frame/s)")
    for lb in labels:
        above = shown[lb]["total"] - floor["total"]
        c_frame = per_frame_ms(above, CLOCK_FPS)
        ratio = c_frame / x_frame if x_frame > 0 else float("inf")
        passed = ratio <= FRAME_TARGET_RATIO
        if lb == labels[0]:
            ok &= passed
        print(f"  {lb:28} {c_frame:7.3f}  vs xclock {x_frame:7.3f}  = {ratio:.2f}x   "
              f"target <= {FRAME_TARGET_RATIO:g}x (aim {FRAME_AIM_RATIO:g}x)   "
              f"{'PASS' if passed else 'FAIL'}")
    if args.dpi != 96:
        frame = {lb: per_frame_ms(shown[lb]["total"] - floor["total"], CLOCK_FPS)
                 for lb in (labels[0], labels[-1])}
        ratio = frame[labels[-1]] / frame[labels[0]] if frame[labels[0]] > 0 else float("inf")
        passed = ratio <= DPI_TARGET_RATIO
        ok &= passed
        print(f"  at {args.dpi} DPI against 96 DPI, per drawn frame: {frame[labels[-1]]:.3f} / "
              f"{frame[labels[0]]:.3f} = {ratio:.2f}x   target <= {DPI_TARGET_RATIO:g}x   "
              f"{'PASS' if passed else 'FAIL'}")
    print("Hidden clock (s/min, everything it costs, against the floor)")
    for lb in labels:
        extra = hidden[lb]["total"] - floor["total"]
        passed = extra <= HIDDEN_TARGET_ABOVE_FLOOR
        if lb == labels[0]:
            ok &= passed
        print(f"  {lb:28} {hidden[lb]['total']:7.3f}  floor {floor['total']:.3f}  = floor "
              f"{extra:+.3f}   target <= floor +{HIDDEN_TARGET_ABOVE_FLOOR:g}   "
              f"{'PASS' if passed else 'FAIL'}")
    print("Wake-ups of the clock's thread per second, shown / hidden (and its wineserver "
          "requests)")
    for w in wakeups:
        passed = (w["shown"] <= SHOWN_WAKEUPS_TARGET + 0.5
                  and w["hidden"] <= HIDDEN_WAKEUPS_TARGET + 0.5)
        if w["label"] == labels[0]:
            ok &= passed
        print(f"  {w['label']:28} {w['shown']:6.1f} / {w['hidden']:5.1f}   target <= "
              f"{SHOWN_WAKEUPS_TARGET} / <= {HIDDEN_WAKEUPS_TARGET}   "
              f"{'PASS' if passed else 'FAIL'}   (requests {w['shown_requests']:.1f} / "
              f"{w['hidden_requests']:.1f})")
    print()

    print("CPU seconds per minute (from /proc/<pid>/task/*/schedstat)")
    print(f"  {'':36}{'program':>9}{'wineserver':>12}{'Xvfb':>9}{'total':>9}")
    rows = ([shown[lb] for lb in labels] + [hidden[lb] for lb in labels] + [floor, xclock])
    for r in rows:
        server = f"{r['server']:12.3f}" if r["server"] is not None else f"{'-':>12}"
        print(f"  {r['label']:36}{r['program']:9.3f}{server}{r['xvfb']:9.3f}{r['total']:9.3f}")
    if n > 1:
        print("  each run's totals:")
        for r in rows:
            key = r["label"]
            samples = []
            for run in runs:
                for lb in labels:
                    for part in run["clocks"][lb]:
                        if part["label"] == key:
                            samples.append(part["total"])
                for part in (run["floor"], run["xclock"]):
                    if part["label"] == key:
                        samples.append(part["total"])
            print(f"    {key:34}" + "".join(f"{v:7.3f}" for v in samples))
    busy = {}
    for r in rows:
        for k, v in r["others"].items():
            if v >= 0.0005:
                busy[f"{k} ({r['label']})"] = v
    text = ", ".join(f"{k} {v:.3f}" for k, v in sorted(busy.items())) or "all below 0.001"
    print(f"  other processes of the prefix (not counted): {text}")
    print("  cross-check from /proc/<pid>/stat ticks (program + wineserver): " + ", ".join(
        f"{r['label']} {r['ticks']:.2f}" for r in rows) + " s/min")
    print()

    for t in traces:
        frames = int(t["seconds"] * CLOCK_FPS)
        errors = sum(t["errors"].values())
        print(f"Traced {t['seconds']:g} s of {t['label']} shown (~{frames} frames): "
              f"{errors} ignored X errors, {sum(t['paths'].values())} file lookups")
        for kind, count in sorted(t["errors"].items(), key=lambda kv: -kv[1]):
            print(f"  {count:6d}  {kind}")
        for path, count in sorted(t["paths"].items(), key=lambda kv: -kv[1])[:6]:
            print(f"  {count:6d}  {path or '(empty path)'}")
    if traces:
        print()

    first = runs[-1]["clocks"][labels[0]][0]
    c, m = first["mem_end"], minimal_mem
    diff = c["Anonymous"] - m["Anonymous"]
    mem_pass = diff <= MEM_TARGET_KB
    ok &= mem_pass
    print("Private memory (smaps_rollup 'Anonymous:', kB; the clock at the start and the end of "
          "its last shown window, the minimal window 5 s after it appeared)")
    print(f"  {'':28}{'Anonymous':>10}{'at start':>10}{'Rss':>9}{'Pss':>9}")
    s = first["mem_start"]
    print(f"  {'Tessarine.exe':28}{c['Anonymous']:10d}{s['Anonymous']:10d}{c['Rss']:9d}{c['Pss']:9d}")
    print(f"  {'minimal window':28}{m['Anonymous']:10d}{'':>10}{m['Rss']:9d}{m['Pss']:9d}")
    print(f"Memory difference Tessarine.exe - minimal window: {diff:+d} kB   "
          f"target <= +{MEM_TARGET_KB} kB   {'PASS' if mem_pass else 'FAIL'}")
    return ok


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--seconds", type=float,
                    default=float(os.environ.get("TESSARINE_BENCH_SECONDS", "30")),
                    help="measurement window per program (default 30, or $TESSARINE_BENCH_SECONDS)")
    ap.add_argument("--warmup", type=float, default=MIN_WARMUP,
                    help=f"seconds a Wine program runs before it is measured (default and least "
                         f"{MIN_WARMUP:g}: the wineserver saves the registry ~30 s after it starts)")
    ap.add_argument("--runs", type=int, default=1,
                    help="repeat the whole sequence and report medians (default 1; 5 for figures "
                         "worth quoting)")
    ap.add_argument("--no-trace", dest="trace", action="store_false",
                    help="leave out the ten traced seconds per clock (X errors and file lookups "
                         "per frame, under WINEDEBUG=+x11drv and strace)")
    ap.add_argument("--exe", default=CLOCK_EXE, help="the clock to measure (default: the win32 build)")
    ap.add_argument("--also", action="append", default=[], metavar="EXE",
                    help="measure another build of the clock too, shown and hidden (repeatable; "
                         "for comparing variants, e.g. before and after a change)")
    ap.add_argument("--prefix", default=os.environ.get("TESSARINE_BENCH_PREFIX"),
                    help="Wine prefix to reuse and keep (default: a fresh one, removed afterwards; "
                         "or $TESSARINE_BENCH_PREFIX)")
    ap.add_argument("--dpi", type=int, default=96,
                    help="also measure the clock at this screen density (Wine's LogPixels) and "
                         "compare its cost per drawn frame with the one at 96")
    args = ap.parse_args()
    if args.warmup < MIN_WARMUP:
        ap.error(f"--warmup below {MIN_WARMUP:g} s would measure the registry save")
    if args.runs < 1:
        ap.error("--runs must be at least 1")
    args.exe = os.path.abspath(args.exe)
    args.also = [os.path.abspath(a) for a in args.also]

    return run_bench(Bench(args), "idle_cost")


def add_clock_args(ap):
    """--exe, --also and --prefix, as the smaller benchmarks beside this one take them."""
    ap.add_argument("--exe", default=CLOCK_EXE, help="the clock (default: the win32 build)")
    ap.add_argument("--also", action="append", default=[], metavar="EXE",
                    help="another build to measure in the same run (repeatable)")
    ap.add_argument("--prefix", default=os.environ.get("TESSARINE_BENCH_PREFIX"),
                    help="Wine prefix to reuse and keep (default: a fresh one, removed after)")


def run_bench(bench, name):
    """Runs `bench` to its end; Ctrl-C and kill both go through the same clean-up as a normal
    end. The exit code: 0 measured, 1 the measurement failed, 130 interrupted."""
    def stop(signum, _frame):
        raise KeyboardInterrupt(signal.Signals(signum).name)
    for s in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
        signal.signal(s, stop)
    try:
        bench.run()
        return 0
    except BenchError as e:
        print(f"{name}: measurement failed: {e}", file=sys.stderr)
        return 1
    except KeyboardInterrupt as e:
        print(f"{name}: interrupted ({e or 'SIGINT'})", file=sys.stderr)
        return 130
    finally:
        bench.cleanup()


if __name__ == "__main__":
    sys.exit(main())
