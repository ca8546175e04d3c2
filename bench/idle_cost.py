#!/usr/bin/python3
"""What the clock costs while it just sits on the desktop, measured in one run on one
private Xvfb display, against two baselines:

  CPU     the clock under Wine (its own process plus the wineserver that serves only it)
          against `xclock -update 1`; the X server's share is measured too.
  Memory  the clock's anonymous memory against a minimal window program of the same size
          under the same Wine.

The three programs run one after the other, each for its own window, so every X server
delta belongs to one program. A benchmark reports; it exits 0 whether or not the targets
are met, and non-zero only when the measurement itself failed.

Usage: /usr/bin/python3 bench/idle_cost.py [--seconds N] [--warmup N] [--exe PATH]
           [--prefix DIR] [--also EXE]...
Environment: TESSARINE_BENCH_SECONDS (window length), TESSARINE_BENCH_PREFIX (a Wine prefix
directory to keep and reuse between runs, which saves the ~10 s of creating one).
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLOCK_EXE = os.path.join(ROOT, "build", "win32", "Tessarine.exe")
MINIMAL_SRC = os.path.join(ROOT, "bench", "minimal_window.cpp")
MINIMAL_EXE = os.path.join(ROOT, "build", "bench", "minimal_window.exe")

CPU_TARGET_RATIO = 2.0  # the clock's CPU at most twice xclock's
MEM_TARGET_KB = 2048  # at most 2 MB more than the minimal window program

CLK_TCK = os.sysconf("SC_CLK_TCK")


class BenchError(Exception):
    pass


# ---------------------------------------------------------------- /proc readings


def cpu_ns(pid):
    """CPU time of a process in nanoseconds, summed over its threads.

    /proc/<pid>/task/*/schedstat counts in nanoseconds; /proc/<pid>/stat only in clock ticks
    (10 ms), and xclock uses a few ticks a minute, so ticks alone would make the ratio noise.
    """
    total = 0
    try:
        for tid in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                    total += int(f.read().split()[0])
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
            p = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                 stdout=err, stderr=err, env=self.xenv)
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
        if (not os.path.exists(MINIMAL_EXE)
                or os.path.getmtime(MINIMAL_EXE) < os.path.getmtime(MINIMAL_SRC)):
            os.makedirs(os.path.dirname(MINIMAL_EXE), exist_ok=True)
            self.log("building minimal_window.exe")
            if subprocess.call(["i686-w64-mingw32-g++-posix", "-std=c++17", "-Wall", "-Wextra",
                                "-O2", "-static", "-mwindows", "-municode", "-o", MINIMAL_EXE,
                                MINIMAL_SRC]) != 0:
                raise BenchError("minimal_window.exe did not build")

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

    def wait_window(self, name, proc, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if proc.poll() is not None:
                raise BenchError(f"{name}: the program ended before its window appeared")
            r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                               env=self.xenv, capture_output=True, text=True)
            if r.stdout.strip():
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

    def measure(self, label, argv, window_name, wine):
        """Starts one program, lets it settle, then measures its CPU over the window."""
        self.log(f"{label}: starting")
        logf = open(os.path.join(self.tmp, f"{window_name}.log"), "w")
        cwd = os.path.dirname(argv[-1]) if wine else self.tmp
        if wine:
            self.prefix_in_use = True
        proc = subprocess.Popen(argv, env=self.wenv if wine else self.xenv, cwd=cwd,
                                stdout=logf, stderr=logf)
        self.children.append(proc)
        self.wait_window(window_name, proc)
        time.sleep(self.args.warmup)

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
                raise BenchError(f"{label}: no wineserver found for {self.prefix}")
        watched = [proc.pid, self.xvfb.pid] + ([server] if server else []) + list(others)
        mem_start = anonymous_kb(proc.pid) if wine else None
        ns0 = {p: cpu_ns(p) for p in watched}
        ticks0 = {p: cpu_ticks(p) for p in watched}
        t0 = time.monotonic()
        self.log(f"{label}: measuring for {self.args.seconds:g} s")
        time.sleep(self.args.seconds)
        ns1 = {p: cpu_ns(p) for p in watched}
        ticks1 = {p: cpu_ticks(p) for p in watched}
        elapsed = time.monotonic() - t0
        if proc.poll() is not None or ns1[proc.pid] is None:
            raise BenchError(f"{label}: the program ended during the measurement")
        mem_end = anonymous_kb(proc.pid) if wine else None

        per_min = 60.0 / elapsed

        def sec(p):  # CPU seconds per minute
            if p is None or ns0.get(p) is None or ns1.get(p) is None:
                return 0.0
            return (ns1[p] - ns0[p]) / 1e9 * per_min

        def tick_sec(p):
            if p is None or ticks0.get(p) is None or ticks1.get(p) is None:
                return 0.0
            return (ticks1[p] - ticks0[p]) / CLK_TCK * per_min

        result = {
            "label": label,
            "program": sec(proc.pid),
            "server": sec(server) if wine else None,
            "xvfb": sec(self.xvfb.pid),
            "others": {name: 0.0 for name in others.values()},
            "ticks": tick_sec(proc.pid) + (tick_sec(server) if wine else 0.0),
            "mem_start": mem_start,
            "mem_end": mem_end,
        }
        for pid, name in others.items():
            result["others"][name] += sec(pid)

        if wine:
            self.stop_wine()  # ends the program with its prefix, and the wineserver too
        self.stop_children()
        return result

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

        # A fresh program folder, as a user would have it: the clock creates its settings there.
        prog = os.path.join(self.tmp, "Tessarine")
        os.makedirs(prog)
        clock_exe = shutil.copy(self.args.exe, prog)
        minimal_exe = shutil.copy(MINIMAL_EXE, self.tmp)

        clock = self.measure("Tessarine.exe", ["wine", clock_exe], "Tessarine", wine=True)
        minimal = self.measure("minimal window", ["wine", minimal_exe], "MinimalWindow", wine=True)
        xclock = self.measure("xclock -update 1", ["xclock", "-update", "1"], "xclock", wine=False)
        extra = []
        for i, exe in enumerate(self.args.also):
            folder = os.path.join(self.tmp, f"also{i}")
            os.makedirs(folder)
            copy = shutil.copy(exe, os.path.join(folder, "Tessarine.exe"))
            extra.append(self.measure(os.path.basename(exe)[:28], ["wine", copy], "Tessarine",
                                      wine=True))
        return report(self.args, self.display, clock, minimal, xclock, extra)


# ---------------------------------------------------------------- output


def report(args, display, clock, minimal, xclock, extra):
    def total(r, with_x):
        return r["program"] + (r["server"] or 0.0) + (r["xvfb"] if with_x else 0.0)

    print(f"Idle cost: {args.seconds:g} s window per program after a {args.warmup:g} s warm-up, "
          f"one after the other on Xvfb {display} (1024x768x24)")
    print()
    print("CPU seconds per minute (from /proc/<pid>/task/*/schedstat)")
    print(f"  {'':28}{'program':>9}{'wineserver':>12}{'Xvfb':>9}{'total':>9}")
    for r in [clock, minimal, xclock] + extra:
        server = f"{r['server']:12.3f}" if r["server"] is not None else f"{'-':>12}"
        print(f"  {r['label']:28}{r['program']:9.3f}{server}{r['xvfb']:9.3f}{total(r, True):9.3f}")
    print()
    for r in (clock, minimal):
        busy = {k: v for k, v in r["others"].items() if v >= 0.0005}
        text = ", ".join(f"{k} {v:.3f}" for k, v in sorted(busy.items())) or "all below 0.001"
        print(f"  other processes of the prefix during {r['label']} (not counted): {text}")
    print(f"  cross-check from /proc/<pid>/stat ticks (program + wineserver): "
          f"Tessarine.exe {clock['ticks']:.2f}, minimal {minimal['ticks']:.2f}, "
          f"xclock {xclock['ticks']:.2f} s/min")
    print()

    ok = True
    base = total(xclock, True)
    ratio = total(clock, True) / base if base > 0 else float("inf")
    base_client = total(xclock, False)
    ratio_client = total(clock, False) / base_client if base_client > 0 else float("inf")
    cpu_pass = ratio <= CPU_TARGET_RATIO
    ok &= cpu_pass
    print(f"CPU ratio Tessarine.exe / xclock (with each one's Xvfb share): {ratio:.1f}x   "
          f"target <= {CPU_TARGET_RATIO:g}x (while drawing 10x the frames)   "
          f"{'PASS' if cpu_pass else 'FAIL'}")
    print(f"  without the X server: {ratio_client:.1f}x;  minimal Wine window / xclock: "
          f"{total(minimal, True) / base if base > 0 else float('inf'):.1f}x")
    print()

    c, m = clock["mem_end"], minimal["mem_end"]
    diff = c["Anonymous"] - m["Anonymous"]
    mem_pass = diff <= MEM_TARGET_KB
    ok &= mem_pass
    print("Private memory (smaps_rollup 'Anonymous:', kB, at the end of the window)")
    print(f"  {'':28}{'Anonymous':>10}{'at start':>10}{'Rss':>9}{'Pss':>9}")
    for r in (clock, minimal):
        e, s = r["mem_end"], r["mem_start"]
        print(f"  {r['label']:28}{e['Anonymous']:10d}{s['Anonymous']:10d}{e['Rss']:9d}{e['Pss']:9d}")
    print(f"Memory difference Tessarine.exe - minimal window: {diff:+d} kB   "
          f"target <= +{MEM_TARGET_KB} kB   {'PASS' if mem_pass else 'FAIL'}")
    return ok


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--seconds", type=float,
                    default=float(os.environ.get("TESSARINE_BENCH_SECONDS", "60")),
                    help="measurement window per program (default 60, or $TESSARINE_BENCH_SECONDS)")
    ap.add_argument("--warmup", type=float, default=5.0,
                    help="seconds to wait after a window appears before measuring (default 5)")
    ap.add_argument("--exe", default=CLOCK_EXE, help="the clock to measure (default: the win32 build)")
    ap.add_argument("--also", action="append", default=[], metavar="EXE",
                    help="measure the CPU of another build of the clock too (repeatable; for "
                         "comparing variants when looking for where the time goes)")
    ap.add_argument("--prefix", default=os.environ.get("TESSARINE_BENCH_PREFIX"),
                    help="Wine prefix to reuse and keep (default: a fresh one, removed afterwards; "
                         "or $TESSARINE_BENCH_PREFIX)")
    args = ap.parse_args()
    args.exe = os.path.abspath(args.exe)
    args.also = [os.path.abspath(a) for a in args.also]

    # Ctrl-C and kill both go through the same clean-up as a normal end.
    def stop(signum, _frame):
        raise KeyboardInterrupt(signal.Signals(signum).name)
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)
    signal.signal(signal.SIGINT, stop)

    bench = Bench(args)
    try:
        bench.run()
        return 0
    except BenchError as e:
        print(f"idle_cost: measurement failed: {e}", file=sys.stderr)
        return 1
    except KeyboardInterrupt as e:
        print(f"idle_cost: interrupted ({e or 'SIGINT'})", file=sys.stderr)
        return 130
    finally:
        bench.cleanup()


if __name__ == "__main__":
    sys.exit(main())
