"""What the installer tests need beyond the harness: msiexec in a prefix of the test's own,
the installed-programs list as Wine keeps it, and the targets of shortcut (.lnk) files."""

from __future__ import annotations

import re
import struct
import subprocess
from pathlib import Path
from typing import Optional

from harness import EXE_X_CLASS, WinePrefix


UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
# Where Windows Installer keeps what it knows of a product installed for the user alone.
USER_PRODUCTS_KEY = r"HKCU\Software\Microsoft\Installer\Products"


def msiexec(prefix: WinePrefix, *args: str, timeout: float = 180) -> int:
    """Runs `msiexec ARGS /qn` to its end; its exit code. Windows' 3010, "restart to finish",
    arrives as 194: a Unix exit status keeps 8 bits. Output goes nowhere: a clock the
    installer starts would hold a pipe open."""
    return subprocess.run([prefix.loader, "msiexec", *args, "/qn"], env=prefix.env(),
                          stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=timeout).returncode


def user_folder(prefix: WinePrefix) -> Path:
    """The prefix's user profile (C:\\users\\<name>)."""
    users = [p for p in (prefix.path / "drive_c" / "users").iterdir()
             if p.name != "Public" and (p / "AppData").is_dir()]
    assert len(users) == 1, f"one user profile expected, found {users}"
    return users[0]


def windows_to_unix(prefix: WinePrefix, path: str) -> Path:
    """A C:\\ path of the prefix as a Unix path (letter case as it is on the disk)."""
    assert path[:3].upper() == "C:\\", path
    here = prefix.path / "drive_c"
    for part in filter(None, path[3:].split("\\")):
        match = [p for p in here.iterdir() if p.name.lower() == part.lower()] \
            if here.is_dir() else []
        here = match[0] if match else here / part
    return here


def registry_keys(prefix: WinePrefix, key: str) -> dict:
    """Last name of each key under `key` -> {value name: data}, from `reg query /s`."""
    out = prefix.run(["reg", "query", key, "/s"], timeout=60).stdout.decode(
        "utf-8", errors="replace")
    keys: dict = {}
    current: Optional[dict] = None
    for line in out.splitlines():
        name = re.match(r"HKEY_\w+\\.*\\([^\\]+)$", line.strip())
        value = re.match(r" {4}(\S.*?) {4}(REG_\w+)(?: {4}(.*))?$", line.rstrip("\r"))
        if name:
            current = keys.setdefault(name.group(1), {})
        elif value and current is not None:
            current[value.group(1)] = value.group(3) or ""
    return keys


def entries_named(prefix: WinePrefix, name: str) -> list:
    """The installed-programs list's entries called `name`."""
    return [e for e in registry_keys(prefix, UNINSTALL_KEY).values()
            if e.get("DisplayName") == name]


def product_icon(prefix: WinePrefix, name: str) -> Optional[str]:
    """The icon the installer keeps for the product `name` installed for the user."""
    return next((p.get("ProductIcon") for p in registry_keys(prefix, USER_PRODUCTS_KEY).values()
                 if p.get("ProductName") == name), None)


def shortcut_target(lnk: Path) -> tuple:
    """(target path, working folder) of a shell link file, from its LinkInfo's local path
    and its string data."""
    data = lnk.read_bytes()
    assert data[:4] == b"\x4c\0\0\0", f"{lnk} is no shell link"
    flags = struct.unpack_from("<I", data, 20)[0]
    at = 76
    if flags & 0x1:  # HasLinkTargetIDList
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = ""
    if flags & 0x2:  # HasLinkInfo
        size, header, info_flags, _, base = struct.unpack_from("<5I", data, at)
        if info_flags & 0x1:  # VolumeIDAndLocalBasePath
            if header >= 0x24:
                unicode_base = struct.unpack_from("<I", data, at + 28)[0]
                end = data.index(b"\0\0", at + unicode_base)
                end += (end - at - unicode_base) % 2
                target = data[at + unicode_base:end].decode("utf-16-le")
            else:
                target = data[at + base:data.index(b"\0", at + base)].decode("cp1252")
        at += size
    strings = []
    for bit in (0x4, 0x8, 0x10, 0x20, 0x40):  # name, relative path, folder, arguments, icon
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            width = 2 if flags & 0x80 else 1  # IsUnicode
            text = data[at + 2:at + 2 + count * width]
            strings.append((bit, text.decode("utf-16-le" if width == 2 else "cp1252").rstrip("\0")))
            at += 2 + count * width
    folder = dict(strings).get(0x10, "")
    return target, folder


def clocks_running(prefix: WinePrefix) -> dict:
    """Pid -> command line of each process of the prefix that shows a clock window."""
    found = {}
    for window in prefix.display.visible_windows(EXE_X_CLASS):
        pid = prefix.display.run("xdotool", "getwindowpid", str(window), check=False).strip()
        try:
            environ = Path(f"/proc/{pid}/environ").read_bytes().split(b"\0")
            args = Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0")
        except (OSError, ValueError):
            continue  # ended meanwhile
        if f"WINEPREFIX={prefix.path}".encode() in environ:
            found[int(pid)] = " ".join(a.decode(errors="replace") for a in args if a)
    return found
