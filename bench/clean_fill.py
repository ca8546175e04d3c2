#!/usr/bin/python3
"""Fill rate of the memory cleaning (bytes claimed, written and released per second) against
a plain loop filling a fresh block of the same size, in the same process, at 1 GiB and 4 GiB:
natively and in the x86_64 build under wine64.

Both runs use `clean_fill` (bench/clean_fill.cpp), built from the cleaning code the program
runs: build/native/clean_fill and build/win64/clean_fill.exe (`scripts/build.sh native
win64`). The Windows one runs in a 64-bit Wine prefix of its own, made in a temporary
directory (about 15 s) unless --prefix names one to keep. A benchmark reports; it exits 0
whether or not the target is met, and non-zero only when the measurement failed.

Usage: /usr/bin/python3 bench/clean_fill.py [--sizes 1024 4096] [--prefix DIR] [--native-only]
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NATIVE = os.path.join(ROOT, "build", "native", "clean_fill")
WIN64 = os.path.join(ROOT, "build", "win64", "clean_fill.exe")
WINE64 = "/usr/lib/wine/wine64"
TARGET = 0.95
ROW = re.compile(r"^(\d+)\s+([\d.]+)\s+([\d.]+)\s+([\d.]+)\s+(-?\d+)M\s+(-?\d+)M\s+([\d.]+)")


def run(label, argv, env=None):
    print(f"== {label}: {' '.join(argv)}", flush=True)
    r = subprocess.run(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                       timeout=1800)
    out = r.stdout.decode(errors="replace")
    print(out, end="", flush=True)
    if r.returncode != 0:
        sys.stderr.write(r.stderr.decode(errors="replace"))
        raise SystemExit(f"{label} failed ({r.returncode})")
    return [(label, *m.groups()) for m in map(ROW.match, out.splitlines()) if m]


def wine_env(prefix):
    env = {k: v for k, v in os.environ.items() if not k.startswith("WINE") and k != "DISPLAY"}
    env.update(WINEPREFIX=prefix, WINEARCH="win64", WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    return env


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--sizes", nargs="+", default=["1024", "4096"], help="MiB")
    ap.add_argument("--prefix", help="a 64-bit Wine prefix to make or reuse and keep")
    ap.add_argument("--native-only", action="store_true")
    args = ap.parse_args()

    for exe in [NATIVE] + ([] if args.native_only else [WIN64]):
        if not os.path.isfile(exe):
            raise SystemExit(f"{exe} missing: run scripts/build.sh native win64")

    rows = run("native", [NATIVE, *args.sizes])
    if not args.native_only:
        tmp = None
        prefix = args.prefix
        if not prefix:
            tmp = tempfile.mkdtemp(prefix="tessarine-bench64-")
            prefix = os.path.join(tmp, "prefix")
        env = wine_env(os.path.abspath(prefix))
        try:
            if not os.path.isfile(os.path.join(prefix, "system.reg")):
                print("== making a 64-bit Wine prefix", flush=True)
                subprocess.run([WINE64, "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=300, check=True)
            rows += run("wine64", [WINE64, WIN64, *args.sizes], env)
        finally:
            # Only this prefix's processes: wineserver -k with our own WINEPREFIX.
            subprocess.run(["wineserver", "-k"], env=env, stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=env, stderr=subprocess.DEVNULL)
            if tmp:
                shutil.rmtree(tmp, ignore_errors=True)

    print()
    print(f"{'run':8} {'MiB':>6} {'cleaning':>10} {'plain':>10} {'ratio':>7} {'median':>7} "
          f"{'peak set':>10}")
    for label, mib, clean, plain, ratio, before, after, median in rows:
        verdict = "ok" if float(ratio) >= TARGET else f"below {TARGET}"
        print(f"{label:8} {mib:>6} {clean:>5} GB/s {plain:>5} GB/s {ratio:>7} {median:>7} "
              f"{after:>6} MiB  {verdict}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
