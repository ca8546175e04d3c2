#!/usr/bin/python3
"""What the clock costs while its settings dialog stands open: the dialog refreshes its memory
pie and the two "Free" figures once a second, and the clock behind it goes on ticking and
swinging. CPU per second of the program, its wineserver and the X server, over one window,
for each build given (builds alternate their place from run to run), and for the first build
once more with the dialog closed, which is what the clock alone costs.

Usage: /usr/bin/python3 bench/dialog_cost.py [--seconds N] [--runs N] [--exe PATH]
           [--also EXE]... [--prefix DIR]
It shares idle_cost.py's display, prefix, warm-up and CPU readings (see bench/README.md).
"""

import argparse
import os
import statistics
import subprocess
import sys
import shutil
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from idle_cost import (MIN_WARMUP, Bench, BenchError, add_clock_args,  # noqa: E402
                       run_bench)

DIALOG_TITLE = "Tessarineの設定"


class DialogBench(Bench):
    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.xenv, capture_output=True,
                              text=True).stdout

    def open_dialog(self, proc):
        """Right-click on the dial, then the menu's "設定変更(&S)" by its access key; returns
        the milliseconds from the key to the dialog's window on the screen."""
        ids = self.xdotool("search", "--onlyvisible", "--name", "^Tessarine$").split()
        if not ids:
            raise BenchError("the clock window is not on the screen")
        geometry = dict(line.split("=", 1) for line in
                        self.xdotool("getwindowgeometry", "--shell", ids[0]).split())
        x, y = int(geometry["X"]) + 40, int(geometry["Y"]) + 40
        self.xdotool("mousemove", str(x), str(y), "sleep", "0.1", "click", "3")
        time.sleep(1)
        pressed = time.monotonic()
        self.xdotool("key", "s")
        while not self.visible_window(DIALOG_TITLE):
            if proc.poll() is not None or time.monotonic() - pressed > 20:
                raise BenchError("the settings dialog did not open")
            time.sleep(0.01)
        opened = (time.monotonic() - pressed) * 1000.0
        self.xdotool("mousemove", "0", "0")  # nothing under the pointer while measured
        return opened

    def measure_dialog(self, label, exe, dialog=True):
        folder = tempfile.mkdtemp(prefix="dialog-", dir=self.tmp)
        copy = shutil.copy(exe, os.path.join(folder, "Tessarine.exe"))
        # The dialog in Japanese, whatever the bench's locale, so that its title is found.
        with open(os.path.join(folder, "Tessarine.ini"), "wb") as ini:
            ini.write(b"[Section]\r\nLanguage=ja\r\n")
        started = time.monotonic()
        proc = self.launch(label, ["wine", copy], True, "Tessarine", cwd=folder)
        opened = self.open_dialog(proc) if dialog else None
        time.sleep(max(0.0, started + self.args.warmup - time.monotonic()))
        r = self.sample(label, proc, True)
        r["open_ms"] = opened
        self.finish(True)
        return r

    def run(self):
        self.build()
        self.start_display()
        self.log(f"display {self.display}, work dir {self.tmp}")
        self.ensure_prefix()
        clocks = [("Tessarine.exe", self.args.exe)] + [
            (f"{os.path.basename(e)[:20]} ({i + 1})", e) for i, e in enumerate(self.args.also)]
        # The first build once more with the dialog closed: what the clock alone costs.
        alone = (clocks[0][0] + ", no dialog", self.args.exe)
        samples = {label: [] for label, _ in clocks + [alone]}
        for n in range(self.args.runs):
            self.log(f"run {n + 1} of {self.args.runs}")
            order = clocks[n % len(clocks):] + clocks[:n % len(clocks)]
            for label, exe in order:
                samples[label].append(self.measure_dialog(label, exe))
            samples[alone[0]].append(self.measure_dialog(alone[0], alone[1], dialog=False))
        return report(self.args, clocks + [alone], samples)


def report(args, clocks, samples):
    what = "median of %d runs" % args.runs if args.runs > 1 else "one run"
    print(f"Settings dialog open: {args.seconds:g} s windows after a {args.warmup:g} s warm-up, "
          f"{what}")
    print(f"  {'CPU ms per second':32}{'program':>9}{'wineserver':>12}{'Xvfb':>9}{'total':>9}")
    totals = {}
    for label, _ in clocks:
        rows = samples[label]
        row = {k: statistics.median(r[k] or 0.0 for r in rows)
               for k in ("program", "server", "xvfb", "total")}
        totals[label] = row["total"]
        # The samples are seconds per minute; per second in milliseconds is the same / 60 * 1000.
        ms = {k: v / 60.0 * 1000.0 for k, v in row.items()}
        print(f"  {label:32}{ms['program']:9.2f}{ms['server']:12.2f}{ms['xvfb']:9.2f}"
              f"{ms['total']:9.2f}")
        opens = [r["open_ms"] for r in rows if r.get("open_ms") is not None]
        if opens:
            print(f"    the dialog on the screen {statistics.median(opens):.0f} ms after the key"
                  " (median)")
        if args.runs > 1:
            print("    each run's total: " + "".join(f"{r['total'] / 60.0 * 1000.0:8.2f}"
                                                     for r in rows))
    first = clocks[0][0]
    for label, _ in clocks[1:-1]:
        if totals[label] > 0:
            print(f"  {first} / {label}: {totals[first] / totals[label]:.2f}x")
    return True


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--seconds", type=float, default=30.0, help="measurement window (default 30)")
    ap.add_argument("--warmup", type=float, default=MIN_WARMUP,
                    help=f"seconds from the clock's start to the window (default and least "
                         f"{MIN_WARMUP:g})")
    ap.add_argument("--runs", type=int, default=1, help="repeat and report medians (default 1)")
    add_clock_args(ap)
    args = ap.parse_args()
    if args.warmup < MIN_WARMUP:
        ap.error(f"--warmup below {MIN_WARMUP:g} s would measure the registry save")
    if args.runs < 1:
        ap.error("--runs must be at least 1")
    args.exe = os.path.abspath(args.exe)
    args.also = [os.path.abspath(a) for a in args.also]
    args.trace = False

    return run_bench(DialogBench(args), "dialog_cost")


if __name__ == "__main__":
    sys.exit(main())
