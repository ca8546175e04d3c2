#!/usr/bin/env python3
"""How long the settings dialog's OK takes to save: 27 writes of one key each (before)
against one write of all 27 keys (after), alternated on the same file by
build/win32/ok_save.exe (bench/ok_save.cpp, built by `scripts/build.sh win32`) under Wine.

    /usr/bin/python3 bench/ok_save.py [--rounds 15] [--dir FOLDER]
    TESSARINE_BENCH_PREFIX=/tmp/tessarine-bench-prefix /usr/bin/python3 bench/ok_save.py

--dir puts the settings file on the disk to judge (a USB stick, a network share); by default
it goes in a temporary folder. Exit code 0 with the figures; 1 when the measurement failed.
"""

import argparse
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from harness import bench_session, to_windows_path  # noqa: E402


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--rounds", type=int, default=15)
    ap.add_argument("--dir", help="folder for the settings file (default: a temporary one)")
    ap.add_argument("--exe", default=str(REPO / "build" / "win32" / "ok_save.exe"))
    args = ap.parse_args()
    if not Path(args.exe).is_file():
        print(f"{args.exe} missing: run scripts/build.sh win32", file=sys.stderr)
        return 1

    with bench_session("ok") as (root, display, wine):
        folder = Path(args.dir).resolve() if args.dir else root / "files"
        folder.mkdir(parents=True, exist_ok=True)
        r = wine.run([args.exe, to_windows_path(folder), str(args.rounds)], timeout=1800)
        print(r.stdout.decode(errors="replace"), end="")
        if r.returncode != 0:
            print(r.stderr.decode(errors="replace")[-2000:], file=sys.stderr)
        return 0 if r.returncode == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
