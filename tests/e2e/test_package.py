"""The release packages (scripts/package.sh) as a Windows user gets them: rebuilt elsewhere
they come out byte for byte the same; the 32-bit zip, unpacked, is a clock that runs; the
installers install, upgrade and remove the clock for one user, a running clock included.

Packages are looked for in dist/ (or $TESSARINE_DIST); scripts/test.sh makes them first."""

from __future__ import annotations

import os
import re
import shutil
import struct
import subprocess
import zipfile
from pathlib import Path

import pytest

from harness import (DESKTOP_RGB, INI_NAME, TWIPS_PER_PIXEL, App, WinePrefix, pe_resources,
                     to_windows_path)
from support_clock import CENTRE, INSIDE, OUTSIDE, WIN_H, WIN_W, wait_for, wait_painted
from support_msi import (clocks_running, entries_named, msiexec, product_icon, shortcut_target,
                         user_folder, windows_to_unix)

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
    names = [f"Tessarine-{version}-{arch}.{kind}" for arch in ("win32", "win64")
             for kind in ("zip", "msi")] + ["SHA256SUMS"]
    assert sorted(p.name for p in here.iterdir()) == sorted(names)
    for name in names:
        first, second = (here / name).read_bytes(), (there / name).read_bytes()
        if first != second and name.endswith(".zip"):
            with zipfile.ZipFile(here / name) as a, zipfile.ZipFile(there / name) as b:
                differ = [n for n in a.namelist()
                          if n not in b.namelist() or a.read(n) != b.read(n)
                          or a.getinfo(n).date_time != b.getinfo(n).date_time]
            pytest.fail(f"{name} differs between the two runs; members: {differ or 'headers'}")
        if first != second and name.endswith(".msi"):
            info = [subprocess.run(["msiinfo", "suminfo", str(d / name)], stdout=subprocess.PIPE
                                   ).stdout.decode() for d in (here, there)]
            pytest.fail(f"{name} differs between the two runs; summaries:\n{info[0]}\n{info[1]}")
        assert first == second, f"{name} differs between the two runs"
    sums = (here / "SHA256SUMS").read_text()
    assert all(name in sums for name in names[:-1]), sums


def dist_file(name: str) -> Path:
    path = Path(os.environ.get("TESSARINE_DIST") or REPO / "dist") / name
    if not path.is_file():
        pytest.fail(f"{path} does not exist: run scripts/package.sh first", pytrace=False)
    return path


def test_unpacked_32bit_package_shows_the_clock(app, tmp_path):
    version = project_version()
    zip_path = dist_file(f"Tessarine-{version}-win32.zip")
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


def newer_installer(tmp_path: Path, version: str) -> tuple:
    """The 32-bit installer one patch version later, whose read-me says so: made by the
    release's own script from the files package.sh staged for the 32-bit package."""
    stage = REPO / "build" / "package-win32" / "stage"
    if not stage.is_dir():
        pytest.fail(f"{stage} does not exist: run scripts/package.sh first", pytrace=False)
    major, minor, patch = version.split(".")
    newer = f"{major}.{minor}.{int(patch) + 1}"
    shutil.copytree(stage, tmp_path / "stage")
    readme = tmp_path / "stage" / "ReadMe.txt"
    readme.write_bytes(readme.read_bytes().replace(f"Tessarine {version},".encode(),
                                                   f"Tessarine {newer},".encode(), 1))
    msi = tmp_path / f"Tessarine-{newer}-win32.msi"
    subprocess.run(["bash", str(REPO / "scripts" / "make-msi.sh"), str(msi), "win32", newer,
                    str(tmp_path / "stage")], env={**os.environ, "SOURCE_DATE_EPOCH": "1700000000"},
                   check=True, timeout=120)
    return msi, newer


@pytest.fixture
def fresh_prefix(display):
    """`fresh_prefix(arch)`: a new Wine prefix, nothing installed yet; ended and removed after
    the test."""
    made = []

    def make(arch: str = "win32") -> WinePrefix:
        made.append(WinePrefix.for_session(display, arch=arch))
        return made[-1]
    yield make
    for prefix in made:
        prefix.kill()
        prefix.remove()


def start_from_shortcut(wine: WinePrefix, lnk: Path, log_dir: Path) -> App:
    """The clock as the shortcut starts it: its target, in its working folder."""
    target, folder = shortcut_target(lnk)
    exe = windows_to_unix(wine, target)
    assert windows_to_unix(wine, folder) == exe.parent, f"{lnk} starts in {folder}"
    clock = App(wine, exe.parent, log_dir, exe_name=exe.name)
    clock.wait_window(30)
    return clock


def test_installers_install_upgrade_and_remove_the_clock_for_one_user(fresh_prefix, tmp_path):
    version = project_version()
    msi = to_windows_path(dist_file(f"Tessarine-{version}-win32.msi"))
    newer_msi, newer = newer_installer(tmp_path, version)
    wine = fresh_prefix()
    assert msiexec(wine, "/i", msi) == 0

    # The files, in a folder of the user's; both shortcuts start the installed clock.
    home = user_folder(wine)
    folder = home / "AppData" / "Local" / "Programs" / "Tessarine"
    menu = home / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" / "Programs"
    start_menu, startup = menu / "Tessarine.lnk", menu / "StartUp" / "Tessarine.lnk"
    assert sorted(p.name for p in folder.iterdir()) == CONTENTS
    for lnk in (start_menu, startup):
        assert windows_to_unix(wine, shortcut_target(lnk)[0]) == folder / "Tessarine.exe", lnk
    [entry] = entries_named(wine, "Tessarine")
    assert (entry["DisplayVersion"], entry["Publisher"]) == (version, "Tessarine")
    assert windows_to_unix(wine, entry["InstallLocation"]) == folder
    assert int(entry["Size"]) * 1024 >= sum(p.stat().st_size for p in folder.iterdir())
    icon = windows_to_unix(wine, product_icon(wine, "Tessarine") or "C:\\no icon")
    assert icon.read_bytes()[:4] == b"\0\0\1\0", f"{icon} should be the program's icon"

    # Started from the Start menu and moved, it keeps its place beside itself.
    clock = start_from_shortcut(wine, start_menu, tmp_path / "logs")
    x, y, _, _ = clock.geometry()
    clock.drag(x + 40, y + 40, x + 140, y + 90)
    assert clock.wait_geometry((x + 100, y + 50, WIN_W, WIN_H))[:2] == (x + 100, y + 50)
    clock.key("alt+F4")
    assert clock.wait_exit(15) is not None, "Alt+F4 should close the clock"
    settings = (folder / INI_NAME).read_bytes()
    assert f"Pos_X= {(x + 100) * TWIPS_PER_PIXEL}".encode() in settings

    # Upgraded while a clock runs from the folder: the clock is closed, saving its place, the
    # files are replaced at once (no restart wanted: 0, not 3010), the new clock comes back.
    clock = start_from_shortcut(wine, start_menu, tmp_path / "logs")
    assert msiexec(wine, "/i", to_windows_path(newer_msi)) == 0
    assert clock.wait_exit(30) is not None, "the installer should have closed the clock"
    assert sorted(p.name for p in folder.iterdir()) == sorted(CONTENTS + [INI_NAME])
    assert (folder / INI_NAME).read_bytes() == settings
    readme = (folder / "ReadMe.txt").read_bytes().decode("utf-8-sig")
    assert readme.startswith(f"Tessarine {newer},")
    assert [e["DisplayVersion"] for e in entries_named(wine, "Tessarine")] == [newer]
    assert start_menu.is_file() and startup.is_file()
    again = wait_for(lambda: clocks_running(wine), 30, "the upgraded clock started again")
    assert all("programs\\tessarine\\tessarine.exe" in c.lower() for c in again.values()), again

    # Removed while that clock runs: closed again, and only the settings files stay.
    roaming = home / "AppData" / "Roaming" / "Tessarine"
    roaming.mkdir()
    (roaming / INI_NAME).write_bytes(settings)
    assert msiexec(wine, "/x", to_windows_path(newer_msi)) == 0
    wait_for(lambda: not clocks_running(wine), 30, "the clock closed by the removal")
    assert [p.name for p in folder.iterdir()] == [INI_NAME]
    assert (folder / INI_NAME).read_bytes() == settings
    assert (roaming / INI_NAME).read_bytes() == settings
    assert not start_menu.exists() and not startup.exists()
    assert entries_named(wine, "Tessarine") == []
    assert wine.run(["reg", "query", r"HKCU\Software\Tessarine"]).returncode != 0, \
        "the installer's own mark of the Startup shortcut should be gone"

    # Asked not to start at sign-in: the Start menu entry only, and an upgrade keeps it so.
    assert msiexec(wine, "/i", msi, "AUTOSTART=0") == 0
    assert start_menu.is_file() and not startup.exists()
    assert msiexec(wine, "/i", to_windows_path(newer_msi)) == 0
    assert [e["DisplayVersion"] for e in entries_named(wine, "Tessarine")] == [newer]
    assert start_menu.is_file() and not startup.exists()

    # The 64-bit installer on 64-bit Windows: the same place, a 64-bit clock.
    wine64 = fresh_prefix("win64")
    assert msiexec(wine64, "/i", to_windows_path(dist_file(f"Tessarine-{version}-win64.msi"))) == 0
    menu64 = user_folder(wine64) / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu"
    clock = start_from_shortcut(wine64, menu64 / "Programs" / "Tessarine.lnk", tmp_path / "logs")
    assert clock.exe == user_folder(wine64) / "AppData" / "Local" / "Programs" / "Tessarine" / \
        "Tessarine.exe"
    image = clock.exe.read_bytes()
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    assert image[pe:pe + 6] == b"PE\0\0\x64\x86", "the 64-bit package should hold an x86-64 exe"
    clock.stop()
