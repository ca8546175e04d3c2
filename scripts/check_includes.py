#!/usr/bin/env python3
"""Checks the walls between the source folders, from the include lines alone:

* ui/ is the floor of the window layer: its files include only ui/ headers and system headers.
* A window (F_*.h) is included only by its own sources (F_X.cpp and any F_X_part.cpp it is
  split into) and by the application, which owns every window; windows reach each other
  through the application's commands.
* app/ (start-up and the owner of the windows) stands on top: nothing outside it includes it.
* model/ (the settings model and file, the shared state, the commands port) stands below the
  windows: it includes only itself, ui/ and system headers.
* lang/ holds one table of texts per language: each includes only model/texts.h.
* Only model/ reads and writes the settings file (model/ini_file.h): everyone else goes through
  the settings store.
* The window folders (clock/, settings/, shell/, memory/) include no other window folder's
  window or layout header: what their windows share (boxes, density, fonts, reader roles,
  keys) is ui/'s kit, so one window's look never decides another's.

Usage: check_includes.py [repository root]. Prints each breach; exits 1 when there is one.
"""

import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCE_DIRS = ("app", "model", "lang", "clock", "settings", "sound", "memory", "shell", "ui")
WINDOW_DIRS = ("clock", "settings", "shell", "memory")
OWNER = {"app/application_win.cpp", "app/application_win.h"}


def breaches(root: pathlib.Path):
    for folder in SOURCE_DIRS:
        for path in sorted((root / folder).glob("*.[ch]*")):
            rel = path.relative_to(root).as_posix()
            for header in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                if folder == "ui" and not header.startswith("ui/"):
                    yield f"{rel}: ui/ includes {header}, outside ui/"
                if folder == "model" and not header.startswith(("model/", "ui/")):
                    yield f"{rel}: model/ includes {header}, above model/"
                if folder == "lang" and header != "model/texts.h":
                    yield f"{rel}: a language table includes {header}"
                if header == "model/ini_file.h" and folder != "model":
                    yield f"{rel}: includes {header}; only the settings store reads the file"
                if folder != "app" and header.startswith("app/"):
                    yield f"{rel}: includes {header} of the program's root"
                name = header.rsplit("/", 1)[-1]
                other = header.split("/", 1)[0]
                if (folder in WINDOW_DIRS and other in WINDOW_DIRS and other != folder
                        and (name.lower().startswith("f_") or name.endswith("_layout.h"))):
                    yield f"{rel}: includes {header}, another window folder's window or layout"
                if name.lower().startswith("f_") and name.endswith(".h"):
                    window = name[:-2]
                    own = path.stem == window or path.stem.startswith(window + "_")
                    if not own and rel not in OWNER:
                        yield f"{rel}: includes the window header {header}"


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[1])
    found = list(breaches(root.resolve()))
    for line in found:
        print(line)
    print(f"include rules: {len(found)} breach(es)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
