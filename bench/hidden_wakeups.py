#!/usr/bin/python3
"""How often the clock hidden in the notification area wakes, against a Wine program with no
window (the floor), over the same minute.

A wake-up is one run of a thread on a CPU: the third field of /proc/<pid>/task/*/schedstat
(the times the thread was scheduled; the second is nanoseconds spent waiting to run), summed
over the process's threads. The clock, hidden as
the tray hides it, and no_window.exe run side by side in one prefix, so the wineserver's own
beat and whatever else the machine does fall on both alike; both are read at the start and the
end of one window. Each clock given (--exe, then every --also) gets a run of its own.

With --way locked the clock stays shown and is told the session was locked instead (a shown
clock no one can see should wake as the hidden one does); --way shown leaves it shown, for the
figure the lock is to bring down.

Usage: /usr/bin/python3 bench/hidden_wakeups.py [--seconds 60] [--way hidden|locked|shown]
                                                [--exe PATH] [--also EXE]...
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from idle_cost import (MIN_WARMUP, Bench, BenchError, add_clock_args,  # noqa: E402
                       run_bench, schedstat_sum)


def run_count(pid):
    return schedstat_sum(pid, 2)


class WakeupBench(Bench):
    def measure(self, label, exe):
        folder = tempfile.mkdtemp(prefix="clock-", dir=self.tmp)
        copy = shutil.copy(exe, os.path.join(folder, "Tessarine.exe"))
        clock = self.launch(label, ["wine", copy], True, "Tessarine", cwd=folder)
        way = {"hidden": "hide", "locked": "lock"}.get(self.args.way)
        if way and subprocess.call(["wine", self.exes["show_window"], way], env=self.wenv,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL) != 0:
            raise BenchError(f"{label}: the clock window could not be {self.args.way}")
        floor = self.launch("no window (floor)", ["wine", self.exes["no_window"]], True)
        time.sleep(self.args.warmup)  # past the registry save; the floor settled too
        if self.args.way == "hidden" and self.visible_window("Tessarine"):
            raise BenchError(f"{label}: the clock window is still on the screen")
        self.log(f"{label}: counting for {self.args.seconds:g} s")
        before = {p: run_count(p.pid) for p in (clock, floor)}
        t0 = time.monotonic()
        time.sleep(self.args.seconds)
        after = {p: run_count(p.pid) for p in (clock, floor)}
        per_min = 60.0 / (time.monotonic() - t0)
        if None in before.values() or None in after.values():
            raise BenchError(f"{label}: a program ended during the count")
        self.finish(True)
        return tuple((after[p] - before[p]) * per_min for p in (clock, floor))

    def run(self):
        self.build()
        self.start_display()
        self.ensure_prefix()
        rows = [(os.path.basename(e), *self.measure(os.path.basename(e), e))
                for e in [self.args.exe] + self.args.also]
        print(f"Wake-ups a minute over {self.args.seconds:g} s (schedstat run counts)")
        print(f"{'clock':<28}{self.args.way:>10}{'floor':>10}{'ratio':>8}")
        for name, clock, floor in rows:
            # A floor blocked in its message loop may not run at all in the window.
            ratio = f"{clock / floor:.2f}" if floor else "-"
            print(f"{name[:27]:<28}{clock:>10.1f}{floor:>10.1f}{ratio:>8}")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--seconds", type=float, default=60.0, help="counting window (default 60)")
    ap.add_argument("--way", choices=("hidden", "locked", "shown"), default="hidden",
                    help="how the clock is kept from sight (default: hidden in the tray)")
    add_clock_args(ap)
    args = ap.parse_args()
    args.warmup = MIN_WARMUP  # past the wineserver's registry save
    args.exe = os.path.abspath(args.exe)
    args.also = [os.path.abspath(a) for a in args.also]
    return run_bench(WakeupBench(args), "hidden_wakeups")


if __name__ == "__main__":
    sys.exit(main())
