#!/usr/bin/env python3
"""Start delay of the clock with a 10 MB settings file against a small one.

Starts Tessarine.exe under Wine in a private Xvfb, alternately with each file, and takes the
time from the start of the process to its window being on the screen. Reports the median of
each and their ratio. The large file holds 10 MB of other lines before the settings section,
which the reader has to get through before it finds any key.

    /usr/bin/python3 bench/ini_start_delay.py [--runs 5] [--exe build/win32/Tessarine.exe]
    TESSARINE_BENCH_PREFIX=/tmp/tessarine-bench-prefix /usr/bin/python3 bench/ini_start_delay.py

Exit code 0 whether or not the target (large within 1.5 x small) is met; 1 when it failed.
"""

import argparse
import statistics
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from harness import App, INI_NAME, bench_session, make_program_dir  # noqa: E402

SETTINGS = ("[Section]\r\n" + "".join(f"Color_{n}= {n * 4000}\r\n" for n in range(6)) +
            "Shape= 1\r\nMem_Ival= 30\r\nPos_X= 1500\r\nPos_Y= 750\r\nTopMost= 0\r\n")


def large_ini(size: int) -> bytes:
    line = "memo{:08d}=メモ書き、同期フォルダーの説明 0123456789\r\n"
    lines, total, n = ["[Notes]\r\n"], 0, 0
    while total < size:
        lines.append(line.format(n))
        total += len(lines[-1].encode("cp932"))
        n += 1
    return ("".join(lines) + SETTINGS).encode("cp932")


def start_delay(wine, folder: Path, logs: Path) -> float:
    app = App(wine, folder, logs)
    try:
        app.wait_window(timeout=60)
        return time.monotonic() - app.started_at
    finally:
        app.stop()
        wine.kill()  # each run starts from a cold wineserver


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--size-mb", type=float, default=10)
    ap.add_argument("--exe", default=str(REPO / "build" / "win32" / "Tessarine.exe"))
    args = ap.parse_args()

    with bench_session("ini") as (root, display, wine):
        try:
            files = {"small": SETTINGS.encode("cp932"), "large": large_ini(int(args.size_mb * 2**20))}
            folders = {}
            for name, data in files.items():
                folders[name] = make_program_dir(root, Path(args.exe), name)
                (folders[name] / INI_NAME).write_bytes(data)
            start_delay(wine, folders["small"], root / "logs")  # warm the prefix and page cache
            times = {name: [] for name in files}
            for _ in range(args.runs):
                for name in files:
                    (folders[name] / INI_NAME).write_bytes(files[name])
                    times[name].append(start_delay(wine, folders[name], root / "logs"))
            for name in files:
                print(f"{name:5s} {len(files[name]) / 2**20:6.2f} MB  median {statistics.median(times[name]):.3f} s"
                      f"  runs {' '.join(f'{t:.3f}' for t in times[name])}")
            extra = statistics.median(times["large"]) - statistics.median(times["small"])
            ratio = statistics.median(times["large"]) / statistics.median(times["small"])
            print(f"large / small = {ratio:.2f}  (+{extra * 1000:.0f} ms); target at most 1.5: "
                  f"{'met' if ratio <= 1.5 else 'NOT met'}")
            return 0
        except Exception as e:  # noqa: BLE001
            print(f"measurement failed: {e}", file=sys.stderr)
            return 1


if __name__ == "__main__":
    sys.exit(main())
