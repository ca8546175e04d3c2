#!/usr/bin/env python3
"""Checks the house's size rules on the program's own sources (not tests, tools or benches):

* no source file over 500 lines;
* no function over 60 lines, counted from the line that opens its body to the line that closes
  it. A function is found as a body that opens at the end of a line ending a signature (a
  closing parenthesis, perhaps followed by const, override or an initialiser list) at namespace
  level, and closes at the first brace back at that depth: enough for this code's layout.

Usage: check_sizes.py [repository root]. Prints each breach; exits 1 when there is one.
"""

import pathlib
import re
import sys

SOURCE_DIRS = ("app", "model", "lang", "clock", "settings", "sound", "memory", "shell", "ui")
MAX_FILE, MAX_FUNCTION = 500, 60
SIGNATURE_END = re.compile(r"\)\s*(const\s*)?(override\s*)?(noexcept\s*)?\{\s*$")
CONTROL = re.compile(r"^\s*(if|for|while|switch|else|do|catch)\b|\[.*\]\s*\(.*\)\s*(mutable\s*)?\{$")


def strip(line: str) -> str:
    line = re.sub(r'"(\\.|[^"\\])*"', '""', line)
    line = re.sub(r"'(\\.|[^'\\])*'", "''", line)
    return line.split("//", 1)[0]


def long_functions(lines):
    depth, start, start_depth = 0, None, 0
    for n, raw in enumerate(lines, 1):
        line = strip(raw)
        opens = line.count("{")
        if start is None and opens and SIGNATURE_END.search(line) and not CONTROL.search(line):
            start, start_depth = n, depth
        depth += opens - line.count("}")
        if start is not None and depth <= start_depth:
            if n - start + 1 > MAX_FUNCTION:
                yield start, n - start + 1
            start = None


def breaches(root: pathlib.Path):
    for folder in SOURCE_DIRS:
        for path in sorted((root / folder).glob("*.[ch]*")):
            rel = path.relative_to(root).as_posix()
            lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
            if len(lines) > MAX_FILE:
                yield f"{rel}: {len(lines)} lines (at most {MAX_FILE})"
            for start, length in long_functions(lines):
                yield f"{rel}:{start}: a function of {length} lines (at most {MAX_FUNCTION})"


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[1])
    found = list(breaches(root.resolve()))
    for line in found:
        print(line)
    print(f"size rules: {len(found)} breach(es)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
