"""The release packages (scripts/package.sh) as a Windows user gets them: rebuilt elsewhere
they come out byte for byte the same, and the 32-bit one, unpacked, is a clock that runs.

Packages are looked for in dist/ (or $TESSARINE_DIST); scripts/test.sh makes them first."""

from __future__ import annotations

import os
import re
import shutil
import subprocess
import zipfile
from pathlib import Path

import pytest

from harness import DESKTOP_RGB, INI_NAME, pe_resources
from support_clock import CENTRE, INSIDE, OUTSIDE, WIN_H, WIN_W, wait_painted


REPO = Path(__file__).resolve().parents[2]
RT_VERSION = 16
CONTENTS = ["LICENSE.txt", "ReadMe.txt", "THIRD-PARTY-NOTICES.txt", "Tessarine.exe"]


def project_version() -> str:
    text = (REPO / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"project\(Tessarine VERSION ([0-9.]+)", text).group(1)


def package(source: Path, out: Path, **env: str) -> None:
    result = subprocess.run(["bash", str(source / "scripts" / "package.sh"), str(out)],
                            env={**os.environ, **env}, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=900)
    assert result.returncode == 0, f"package.sh in {source} failed:\n" \
                                   f"{result.stdout.decode(errors='replace')[-3000:]}"


def copy_sources(dest: Path) -> None:
    """The files git knows or would add, as they are now, without the build folders."""
    names = subprocess.run(["git", "-C", str(REPO), "ls-files", "-z", "--cached", "--others",
                            "--exclude-standard"], stdout=subprocess.PIPE, check=True
                           ).stdout.decode().split("\0")
    for name in filter(None, names):
        if (REPO / name).is_file():
            (dest / name).parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(REPO / name, dest / name)


def test_packages_rebuilt_elsewhere_are_identical(tmp_path):
    epoch = subprocess.run(["git", "-C", str(REPO), "log", "-1", "--format=%ct"],
                           stdout=subprocess.PIPE, check=True).stdout.decode().strip()
    here, there = tmp_path / "here", tmp_path / "there"
    package(REPO, here)
    # Another folder, another time zone, and later than the first run by a whole build.
    copy = tmp_path / "another place" / "src"
    copy_sources(copy)
    package(copy, there, SOURCE_DATE_EPOCH=epoch, TZ="Pacific/Kiritimati")

    version = project_version()
    names = [f"Tessarine-{version}-win32.zip", f"Tessarine-{version}-win64.zip", "SHA256SUMS"]
    assert sorted(p.name for p in here.iterdir()) == sorted(names)
    for name in names:
        first, second = (here / name).read_bytes(), (there / name).read_bytes()
        if first != second and name.endswith(".zip"):
            with zipfile.ZipFile(here / name) as a, zipfile.ZipFile(there / name) as b:
                differ = [n for n in a.namelist()
                          if n not in b.namelist() or a.read(n) != b.read(n)
                          or a.getinfo(n).date_time != b.getinfo(n).date_time]
            pytest.fail(f"{name} differs between the two runs; members: {differ or 'headers'}")
        assert first == second, f"{name} differs between the two runs"


def test_unpacked_32bit_package_shows_the_clock(app, tmp_path):
    version = project_version()
    dist = Path(os.environ.get("TESSARINE_DIST") or REPO / "dist")
    zip_path = dist / f"Tessarine-{version}-win32.zip"
    if not zip_path.is_file():
        pytest.fail(f"{zip_path} does not exist: run scripts/package.sh first", pytrace=False)
    folder = tmp_path / "Tessarine"
    with zipfile.ZipFile(zip_path) as z:
        assert sorted(z.namelist()) == CONTENTS
        z.extractall(folder)

    # One version everywhere a user can read it: the zip's name, the read-me, the exe's
    # properties.
    readme = (folder / "ReadMe.txt").read_bytes().decode("utf-8-sig")
    assert readme.startswith(f"Tessarine {version},")
    assert "\r\n" in readme and "設定変更(S)" in readme
    resource = pe_resources(folder / "Tessarine.exe")[(RT_VERSION, 1)]
    assert f"{version}.0".encode("utf-16-le") in resource

    clock = app.start(folder=folder)
    assert clock.wait_geometry((*CENTRE, WIN_W, WIN_H)) == (*CENTRE, WIN_W, WIN_H)
    image = wait_painted(clock)
    for p in OUTSIDE:
        assert image.getpixel(p) == DESKTOP_RGB, f"{p} should show the desktop"
    for p in INSIDE:
        assert image.getpixel(p) != DESKTOP_RGB, f"{p} should belong to the clock"

    # Its settings go beside it, as the read-me says.
    clock.key("alt+F4")
    assert clock.wait_exit(10) is not None, "Alt+F4 should close the clock"
    assert (folder / INI_NAME).is_file()
