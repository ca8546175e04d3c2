"""The clock and its settings dialog with the keyboard alone, as read by a screen reader
through oleacc from another process (tests/win/acc_tree.cpp prints what a reader gets)."""

from __future__ import annotations

import os
import time
from pathlib import Path

import pytest

from harness import MENU_TRACE, HarnessError, drawn_menu
from sound_trace import wait_for

REPO = Path(__file__).resolve().parents[2]
CLOCK_CLASS = "Tessarine_F_Tokei"
DIALOG_CLASS = "Tessarine_F_Setting"
ROLE_CLOCK = 0x3D


@pytest.fixture(scope="session")
def acc_tree_exe() -> Path:
    path = Path(os.environ.get("TESSARINE_ACC_TREE") or REPO / "build" / "win32" / "acc_tree.exe")
    if not path.is_file():
        pytest.fail(f"{path} does not exist: build the Windows target first", pytrace=False)
    return path


def read_tree(app, exe: Path, window_class: str) -> tuple:
    """The elements (child, role, state, (x, y, w, h), name, value) and the focused child."""
    result = app.wine.run([str(exe), window_class], timeout=30)
    assert result.returncode == 0, f"no accessible object for {window_class}"
    rows, focus = [], None
    for line in result.stdout.decode("utf-8").splitlines():
        f = line.split("\t")
        if f[0] == "focus":
            focus = int(f[1])
            continue
        rows.append((int(f[0]), int(f[1]), int(f[2], 16), tuple(map(int, f[3].split(","))),
                     f[4], f[5]))
    return rows, focus


def test_clock_by_keyboard(app, acc_tree_exe):
    clock = app.start({"Pos_X": 100 * 15, "Pos_Y": 100 * 15, "Sound_C_0": -1, "Sound_H_0": 7,
                       "Sound_M_0": 30}, trace=MENU_TRACE)
    rows, _ = read_tree(clock, acc_tree_exe, CLOCK_CLASS)
    print(rows)
