#!/usr/bin/python3
"""Plants faults (mutants) in the portable core one at a time and tells which the native unit
tests catch.

Each mutant is one small change of one source file, of one of these kinds:

  ROR    a comparison flipped: < and <=, > and >=, == and !=
  CONST  an integer constant moved by one, up or down
  IF     the condition of an if replaced by true, and by false
  LOGIC  one operand of && dropped (taken as true) or of || dropped (taken as false)
  STMT   an expression statement deleted: an assignment, ++/--, or a call

The mutants are planted into a copy of the source tree (build/mutants/src, refreshed from the
working tree at every run; the working tree is never written), built there with cmake + make in
one build directory (build/mutants/build), so that each mutant is an incremental rebuild of one
file, and judged by running the unit_tests binary: a test that fails, a crash or a hang
(--timeout) catches the mutant; all tests passing misses it. The copy is built with
_GLIBCXX_ASSERTIONS, so that an index moved past the end of a container aborts. A mutant that does not compile is
counted apart, as is one listed below as known-equivalent (it cannot change behaviour).

Every applicable site is found; a file with more than --cap sites (default 30) takes --cap of
them spread evenly over the file, in the file's order, so the choice is deterministic and
follows the source rather than chance.

Usage: /usr/bin/python3 bench/plant_faults.py                  # the default files
       /usr/bin/python3 bench/plant_faults.py --files model/settings.cpp clock/alarm.cpp
       /usr/bin/python3 bench/plant_faults.py --list           # the mutants, nothing built
       /usr/bin/python3 bench/plant_faults.py --only alarm.cpp:141 --show
Standard library only.
"""

import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The files planted into by default; a file not there yet (the settings store and the alarm
# service on their way) is left out until it exists.
DEFAULT_FILES = [
    "clock/alarm.cpp",
    "clock/clock_schedule.cpp",
    "model/settings.cpp",
    "model/ini_codec.cpp",
    "model/settings_store.cpp",
    "clock/alarm_service.cpp",
]

# Mutants that cannot change what the program does, so no test can catch them: (file, a piece of
# the original line with the replaced text in [[ ]] as --list --show prints it, the
# replacement ("" for a dropped operand, "{}" for a deleted statement), why). Keep it honest.
KNOWN_EQUIVALENT = [
    # clock/alarm.cpp
    ("clock/alarm.cpp", "path.size() [[>]] 3 ?", ">=",
     "a path of three characters is its own ending either way"),
    ("clock/alarm.cpp", "path.size() > [[3]] ?", "2",
     "a path of three characters is its own ending either way"),
    ("clock/alarm.cpp", "c >= L'a'[[ && c <= L'z']]", "",
     "only W, A, V, M, P and 3 are compared: nothing above 'z' folds to one of them"),
    ("clock/alarm.cpp", "c [[<=]] L'z'", "<", "'z' is in neither WAV nor MP3"),
    ("clock/alarm.cpp", "(y [[>=]] 0 ?", ">", "y = 0 gives era 0 either way (-399 / 400 is 0)"),
    ("clock/alarm.cpp", "(y >= [[0]] ?", "1", "y = 0 gives era 0 either way (-399 / 400 is 0)"),
    ("clock/alarm.cpp", "(minute [[>=]] 0 ?", ">", "minute 0 is day 0 either way"),
    ("clock/alarm.cpp", "(minute >= [[0]] ?", "1", "minute 0 is day 0 either way"),
    ("clock/alarm.cpp", "(z [[>=]] 0 ?", ">", "z = 0 gives era 0 either way"),
    ("clock/alarm.cpp", "(z >= [[0]] ?", "1", "z = 0 gives era 0 either way"),
    ("clock/alarm.cpp", "if ([[h < 0 || ]]h > 23", "",
     "a negative hour with a minute of 0..59 is a negative minute, refused as -1 is"),
    ("clock/alarm.cpp", "m > 59) return -[[1]];", "2", "every negative minute is refused alike"),
    ("clock/alarm.cpp", "if ([[snoozeAt_[i] == kNever]]) return kNever;", "false",
     "the end returns snoozeAt_[i]: kNever either way"),
    ("clock/alarm.cpp", "start.size() >= [[12]] &&", "11",
     "eleven bytes cannot hold WAVE at 8: the compare fails either way"),
    ("clock/alarm.cpp", "[[sound_.CurrentAlarm = alarm;]]", "{}",
     "every F_Sound::Start* sets CurrentAlarm itself"),
    ("clock/alarm.cpp", "ReadStart(file, [[12]], start)", "13",
     "a byte more than the header changes nothing"),
    ("clock/alarm.cpp", "if ([[!host_.FileExists(file) || ]]", "",
     "ReadStart fails on a file that is not there, on the disk as in the fake"),
    ("clock/alarm.cpp", "next.minute [[<]] 0", "<=", "minute 0 (1601-01-01) is before any now"),
    ("clock/alarm.cpp", "next.minute < [[0]]", "1", "minute 0 (1601-01-01) is before any now"),
    ("clock/alarm.cpp", "doe - doe / [[1460]] +", "1459",
     "the same year for every day of the 400-year cycle (LocalMinute's test walks them all)"),
    ("clock/alarm.cpp", "doe / [[36524]] -", "36523",
     "the same year for every day of the 400-year cycle (LocalMinute's test walks them all)"),
    ("clock/alarm.cpp", "doe / [[146096]]) / 365", "146095",
     "the same year for every day of the 400-year cycle (LocalMinute's test walks them all)"),
    ("clock/alarm.cpp", "[[snoozeAt_[ringing] = kNever;]]", "{}",
     "a ringing alarm has no snooze left: the ring that started cleared it"),
    # clock/clock_schedule.cpp
    ("clock/clock_schedule.cpp", "nextFrameAt_ [[>]] now", ">=", "at the due time both give 0"),
    ("clock/clock_schedule.cpp", "due [[>]] now", ">=", "at the due time both give 0"),
    ("clock/clock_schedule.cpp", "if ([[memArmedSeconds_ <= 0]]) return;", "false",
     "already off: Advance(min(slept, -1)) counts nothing and it stays off"),
    ("clock/clock_schedule.cpp", "memArmedSeconds_ [[<=]] 0) return;", "<",
     "already off: Advance(min(slept, -1)) counts nothing and it stays off"),
    # model/settings.cpp
    ("model/settings.cpp", 'IniKey(L"Graph_Color_", n), [[0]],', "1",
     "reached only with a value: an empty one reset all four above"),
    ("model/settings.cpp", 'Sound_Volume_", n))), 0, [[100]],', "99",
     "101 and 100 both fall back to the default, 100"),
    ("model/settings.cpp", 'Sound_FadeIn_", n))), [[0]],', "1",
     "-1 and 0 both fall back to the default, 0"),
    # model/ini_codec.cpp
    ("model/ini_codec.cpp", "static_cast<std::size_t>(-[[1]])", "2",
     "kNone is only compared with itself, and no index comes near it"),
    ("model/ini_codec.cpp", "[[out.reserve(", "{}", "reserve only sizes the buffer ahead"),
    ("model/ini_codec.cpp", "out.reserve(mark_.size() + [[2]] *", "1",
     "reserve only sizes the buffer ahead"),
    ("model/ini_codec.cpp", "out.reserve(mark_.size() + [[2]] *", "3",
     "reserve only sizes the buffer ahead"),
    ("model/ini_codec.cpp", "[[ && i < u.size()]]", "",
     "u[u.size()] is the terminating 0, no low surrogate"),
    ("model/ini_codec.cpp", "i [[<]] u.size() && u[i]", "<=",
     "u[u.size()] is the terminating 0, no low surrogate"),
    ("model/ini_codec.cpp", "if ([[sizeof(wchar_t) == 2]])", "false",
     "the native wchar_t has 4 bytes"),
    ("model/ini_codec.cpp", "sizeof(wchar_t) == [[2]]", "1", "the native wchar_t has 4 bytes"),
    ("model/ini_codec.cpp", "sizeof(wchar_t) == [[2]]", "3", "the native wchar_t has 4 bytes"),
    # utf8Sequence: C0 and C1 only ever start overlong forms, and an earlier branch takes the
    # lead bytes a bound moved by one would add.
    ("model/ini_codec.cpp", "} else if (b >= [[0xC2]] && b < 0xE0) {", "0xC1",
     "C1 leads only overlong forms, refused by min"),
    ("model/ini_codec.cpp", "min = [[0x80]];", "0x7F", "a two-byte form from C2 up is 0x80 or more"),
    ("model/ini_codec.cpp", "} else if (b >= [[0xE0]] && b < 0xF0) {", "0xDF",
     "the branch before takes DF"),
    ("model/ini_codec.cpp", "} else if (b >= [[0xF0]] && b < 0xF5) {", "0xEF",
     "the branch before takes EF"),
    ("model/ini_codec.cpp", "b >= 0xF0 && b [[<]] 0xF5", "<=",
     "F5 leads only forms above U+10FFFF, refused"),
    ("model/ini_codec.cpp", "b >= 0xF0 && b < [[0xF5]]", "0xF6",
     "F5 leads only forms above U+10FFFF, refused"),
    ("model/ini_codec.cpp", "bool ok = [[len > 0 && ]]", "", "a length of 0 is returned as 0 anyway"),
    ("model/ini_codec.cpp", "bool ok = len [[>]] 0", ">=", "a length of 0 is returned as 0 anyway"),
    ("model/ini_codec.cpp", "bool ok = len > 0[[ && i + len <= s.size()]];", "",
     "s[s.size()] is the terminating 0, no continuation byte: the check stops there"),
    ("model/ini_codec.cpp", "[[cp = 0;]]", "{}",
     "cp is read only after a valid sequence, which sets it"),
    ("model/ini_codec.cpp", "cp = [[0]];", "1", "cp is read only after a valid sequence, which sets it"),
    ("model/ini_codec.cpp", "return [[bytes.size() >= n && ]]", "",
     "compare() of a shorter string is unequal anyway"),
    ("model/ini_codec.cpp", "[[bytes = std::string();]]", "{}", "only frees the memory early"),
    ("model/ini_codec.cpp", "Line line{begin, end, next,", "1",
     "a blank line's name and a section's value are never read"),
    ("model/ini_codec.cpp", "i = b + [[1]]; i < e;", "0", "units_[b] is '[': no ']' nor lead byte"),
    ("model/ini_codec.cpp", "i = b + 1; i [[<]] e;", "<=",
     "units_[e] is a blank, a line end or the end: never ']'"),
    ("model/ini_codec.cpp", "[[ && units_[i] < 0x100]]", "", "ANSI units are bytes: all below 0x100"),
    ("model/ini_codec.cpp", "units_[i] [[<]] 0x100", "<=", "ANSI units are bytes: all below 0x100"),
    ("model/ini_codec.cpp", "units_[i] < [[0x100]]", "0x101", "ANSI units are bytes: all below 0x100"),
    ("model/ini_codec.cpp", "units_[i] < [[0x100]]", "0xFF", "0xFF is a lead byte in no code page"),
    ("model/ini_codec.cpp", "if (dbcs()[[ && a < 0x100]]", "", "ANSI units are bytes: all below 0x100"),
    ("model/ini_codec.cpp", "dbcs() && a [[<]] 0x100", "<=", "ANSI units are bytes: all below 0x100"),
    ("model/ini_codec.cpp", "dbcs() && a < [[0x100]]", "0x101", "ANSI units are bytes: all below 0x100"),
    ("model/ini_codec.cpp", "dbcs() && a < [[0x100]]", "0xFF", "0xFF is a lead byte in no code page"),
    ("model/ini_codec.cpp", "i = header + [[1]]; i < last;", "0",
     "the header line is a section: neither a key nor blank"),
    # newlineAt: up to lfRegionEnd_ no CR from there on lies before pos, and in a CR-only file
    # one always does, so the early return only saves the search.
    ("model/ini_codec.cpp", 'if ([[newline_ == u"\\r" || ]]pos', "", "the search finds a CR first"),
    ("model/ini_codec.cpp", 'if ([[newline_ == u"\\r" || pos <= lfRegionEnd_]])', "false",
     "the search gives the same answer"),
    ("model/ini_codec.cpp", 'u"\\r"[[ || pos <= lfRegionEnd_]]', "", "the search finds no CR before pos"),
    ("model/ini_codec.cpp", "pos [[<=]] lfRegionEnd_) return newline_;", "<",
     "the search finds no CR before pos"),
    ("model/ini_codec.cpp", "units_.find(u'\\r', lfRegionEnd_) [[<]] pos;", "<=",
     "pos starts a line: the CR that ended the one before is below it"),
    ("model/ini_codec.cpp", "return c < [[0x80]]; });", "0x7F", "every code page holds DEL"),
    ("model/ini_codec.cpp", "return [[ascii || ]]ansi_.Decode", "",
     "every code page holds ASCII: the round trip agrees"),
]

KEYWORDS_NOT_STATEMENTS = {
    "return", "break", "continue", "if", "for", "while", "do", "else", "switch", "case",
    "default", "goto", "using", "namespace", "typedef", "template", "static_assert", "const",
    "constexpr", "static", "auto", "struct", "class", "enum", "public", "private", "protected",
    "throw", "delete", "new", "try", "catch", "inline", "extern", "unsigned", "signed", "int",
    "long", "short", "char", "bool", "float", "double", "void", "wchar_t", "char16_t",
    "char32_t", "volatile", "friend", "operator", "virtual",
}

ID = r"[A-Za-z_]\w*"
LVALUE = rf"{ID}(?:\s*(?:::|\.|->)\s*{ID}|\s*\[[^\]\n]*\])*"
ASSIGN = r"(?:=(?!=)|\+=|-=|\*=|/=|%=|\|=|&=|\^=|<<=|>>=)"
DECLARATION = re.compile(rf"^(?:(?:const|constexpr|static)\s+)*{ID}(?:\s*::\s*{ID})*"
                         rf"(?:\s*<[^;]*>)?[\s&*]+{ID}\s*(?:=(?!=)|\{{)")
EXPR_STATEMENT = re.compile(
    rf"^(?:(?:\+\+|--)\s*{LVALUE}\s*$|{LVALUE}\s*(?:\+\+|--)\s*$|{LVALUE}\s*(?:\(|{ASSIGN}))",
    re.S)


class Mutant:
    def __init__(self, path, start, end, replacement, op, source):
        self.path = path  # relative to the root
        self.start, self.end = start, end
        self.replacement = replacement
        self.op = op
        self.line = source.count("\n", 0, start) + 1
        line_start = source.rfind("\n", 0, start) + 1
        line_end = source.find("\n", start)
        self.col = start - line_start + 1
        line_end = line_end if line_end >= 0 else len(source)
        self.line_text = source[line_start:line_end].strip()
        # The line with the mutated text in [[ ]], for telling apart two sites on one line.
        self.marked = " ".join((source[line_start:start] + "[[" + source[start:min(end, line_end)]
                                + "]]" + source[min(end, line_end):line_end]).split())
        self.before = " ".join(source[start:end].split())
        self.after = " ".join(replacement.split())
        self.equivalent = None  # the reason, when known-equivalent
        self.status = None      # caught / missed / timeout / not built / equivalent
        self.killers = []

    @property
    def ident(self):
        return f"{self.path}:{self.line}:{self.col}:{self.op}:{self.after or 'drop'}"

    def describe(self, width=60):
        def cut(s):
            return s if len(s) <= width else s[:width - 3] + "..."
        if self.op == "STMT":
            return f"delete {cut(self.before)!r}"
        if self.op == "LOGIC":
            return f"drop {cut(self.before)!r}"
        return f"{cut(self.before)!r} -> {cut(self.after)!r}"

    def apply(self, source):
        return source[:self.start] + self.replacement + source[self.end:]


# ----- Finding the sites.

def mask(source):
    """The source with comments, string and character literals and preprocessor lines blanked,
    same length, so that nothing inside them looks like code."""
    out = list(source)
    i, n = 0, len(source)
    at_line_start = True
    while i < n:
        c = source[i]
        if at_line_start and c == "#":
            j = source.find("\n", i)
            j = n if j < 0 else j
            while j > 0 and source[j - 1] == "\\" and j < n:  # continued lines
                j = source.find("\n", j + 1)
                j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
            continue
        if c == "\n":
            at_line_start = True
            i += 1
            continue
        if not c.isspace():
            at_line_start = False
        if source.startswith("//", i):
            j = source.find("\n", i)
            j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
        elif source.startswith("/*", i):
            j = source.find("*/", i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if out[k] != "\n":
                    out[k] = " "
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and source[j] != c:
                j += 2 if source[j] == "\\" else 1
            for k in range(i + 1, min(j, n)):
                out[k] = "X"
            i = j + 1
        else:
            i += 1
    return "".join(out)


OPENERS, CLOSERS = "([{", ")]}"


def match_paren(m, i):
    """Index of the bracket closing the one at m[i]."""
    depth = 0
    for j in range(i, len(m)):
        if m[j] in OPENERS:
            depth += 1
        elif m[j] in CLOSERS:
            depth -= 1
            if depth == 0:
                return j
    return -1


def strip_span(m, a, b):
    while a < b and m[a].isspace():
        a += 1
    while b > a and m[b - 1].isspace():
        b -= 1
    return a, b


def ror_sites(m):
    swaps = {"<=": "<", ">=": ">", "==": "!=", "!=": "=="}
    for mt in re.finditer(r"<=|>=|==|!=", m):
        a, op = mt.start(), mt.group()
        if op in ("<=", ">=") and a > 0 and m[a - 1] in "<>=":
            continue  # <<=, >>=
        if op == "<=" and m[a + 2:a + 3] == ">":
            continue  # <=>
        if op == "==" and (m[a - 1:a] in "=!<>" and a > 0 or m[a + 2:a + 3] == "="):
            continue
        if re.search(r"operator\s*$", m[max(0, a - 12):a]):
            continue
        yield a, a + 2, swaps[op]
    # A lone < or > between blanks is a comparison; template brackets touch their names.
    for mt in re.finditer(r"(?<=\s)[<>](?=\s)", m):
        yield mt.start(), mt.start() + 1, mt.group() + "="


def const_sites(m):
    for mt in re.finditer(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])", m):
        a, b = mt.span()
        if m[b:b + 1] == ">" or m[a - 1:a] == "<":
            continue  # a template argument
        digits, suffix = mt.group(1), mt.group(2)
        value = int(digits, 16) if digits[:2] in ("0x", "0X") else int(digits)
        for v in (value + 1, value - 1):
            if v < 0:
                continue
            if digits[:2] in ("0x", "0X"):
                text = digits[:2] + (f"{v:X}" if digits[2:].isupper() or digits[2:].isdigit()
                                     else f"{v:x}")
            else:
                text = str(v)
            yield a, b, text + suffix


def if_headers(m):
    """(open paren, close paren) of every if condition."""
    for mt in re.finditer(r"\bif\s*\(", m):
        o = mt.end() - 1
        c = match_paren(m, o)
        if c > 0:
            yield o, c


def if_sites(m):
    for o, c in if_headers(m):
        # C++17 if with an initialiser: only the condition after the last top-level ';'.
        depth, start = 0, o + 1
        for j in range(o + 1, c):
            if m[j] in OPENERS:
                depth += 1
            elif m[j] in CLOSERS:
                depth -= 1
            elif m[j] == ";" and depth == 0:
                start = j + 1
        a, b = strip_span(m, start, c)
        if DECLARATION.match(m[a:b]):
            continue  # if (auto x = f()): the body needs x
        for value in ("true", "false"):
            yield a, b, value


def _operand_end(m, i, op):
    """Scanning right from i: the end of the operand of `op` that starts there."""
    depth = 0
    j = i
    while j < len(m):
        ch = m[j]
        if ch in OPENERS:
            depth += 1
        elif ch in CLOSERS:
            if depth == 0:
                break
            depth -= 1
        elif depth == 0:
            if ch in ";,?":
                break
            if ch == ":" and m[j:j + 2] != "::" and m[j - 1:j] != ":":
                break
            if m.startswith("||", j) or (op == "&&" and m.startswith("&&", j)):
                break
        j += 1
    return strip_span(m, i, j)[1]


def _operand_start(m, i, op):
    """Scanning left from i (exclusive): the start of the operand of `op` that ends there."""
    depth = 0
    j = i
    while j > 0:
        ch = m[j - 1]
        if ch in CLOSERS:
            depth += 1
        elif ch in OPENERS:
            if depth == 0:
                break
            depth -= 1
        elif depth == 0:
            if ch in ";,?":
                break
            if ch == ":" and m[j - 2:j] != "::" and m[j:j + 1] != ":":
                break
            if m[j - 2:j] == "||" or (op == "&&" and m[j - 2:j] == "&&"):
                break
            if ch == "=" and m[j - 2:j - 1] not in "=!<>" and m[j:j + 1] != "=":
                break  # an assignment or initialiser
            if m[max(0, j - 6):j] == "return" and (j < 7 or not re.match(r"\w", m[j - 7])):
                break
        j -= 1
    return strip_span(m, j, i)[0]


def logic_sites(m):
    for mt in re.finditer(r"(?<=\s)(&&|\|\|)(?=\s)", m):
        op, a, b = mt.group(), mt.start(), mt.end()
        left = _operand_start(m, a, op)
        right = _operand_end(m, b, op)
        if left >= a or right <= b:
            continue
        lend = strip_span(m, left, a)[1]
        rstart = strip_span(m, b, right)[0]
        yield left, rstart, ""    # drop the left operand and the operator
        yield lend, right, ""     # drop the operator and the right operand


def statement_starts(m):
    starts = set()
    for j, ch in enumerate(m):
        if ch in ";{}":
            starts.add(j + 1)
    for _, c in if_headers(m):
        starts.add(c + 1)
    for mt in re.finditer(r"\b(?:for|while)\s*\(", m):
        c = match_paren(m, mt.end() - 1)
        if c > 0:
            starts.add(c + 1)
    for mt in re.finditer(r"\belse\b", m):
        starts.add(mt.end())
    # Positions inside a for header are not statements.
    for mt in re.finditer(r"\bfor\s*\(", m):
        c = match_paren(m, mt.end() - 1)
        for j in range(mt.end(), c + 1):
            starts.discard(j)
    return sorted(starts)


def stmt_sites(m):
    for s in statement_starts(m):
        a = s
        while a < len(m) and m[a].isspace():
            a += 1
        if a >= len(m):
            continue
        word = re.match(r"\w+", m[a:])
        if word and word.group() in KEYWORDS_NOT_STATEMENTS:
            continue
        # The statement runs to the next ';' at its own level; one holding a block is not simple.
        depth, j = 0, a
        while j < len(m):
            ch = m[j]
            if ch in OPENERS:
                if ch == "{" and depth == 0:
                    break
                depth += 1
            elif ch in CLOSERS:
                if depth == 0:
                    break
                depth -= 1
            elif ch == ";" and depth == 0:
                break
            j += 1
        if j >= len(m) or m[j] != ";":
            continue
        text = m[a:j].strip()
        if not EXPR_STATEMENT.match(text):
            continue
        yield a, j + 1, "{}"


OPERATORS = [("ROR", ror_sites), ("CONST", const_sites), ("IF", if_sites),
             ("LOGIC", logic_sites), ("STMT", stmt_sites)]


def find_mutants(path, source):
    m = mask(source)
    seen = set()
    found = []
    for op, finder in OPERATORS:
        for a, b, repl in finder(m):
            mutant = Mutant(path, a, b, repl, op, source)
            text = mutant.apply(source)
            if text == source:
                continue
            key = hashlib.sha1(text.encode()).hexdigest()
            if key in seen:
                continue  # two operators that make the same file
            seen.add(key)
            found.append(mutant)
    found.sort(key=lambda x: (x.start, x.end, x.op, x.replacement))
    return found


def choose(mutants, cap):
    """At most `cap` of them, spread evenly over the file's order."""
    n = len(mutants)
    if cap <= 0 or n <= cap:
        return list(mutants)
    return [mutants[(2 * k + 1) * n // (2 * cap)] for k in range(cap)]


def mark_equivalent(mutants):
    for mutant in mutants:
        for path, marked, after, why in KNOWN_EQUIVALENT:
            if mutant.path == path and marked in mutant.marked and mutant.after == after:
                mutant.equivalent = why


# ----- The copy and the build.

def source_files():
    """The working tree's files as git sees them (tracked, and new ones not ignored)."""
    try:
        out = subprocess.run(["git", "-C", ROOT, "ls-files", "-z", "--cached", "--others",
                              "--exclude-standard"], check=True, capture_output=True).stdout
        return sorted({p for p in out.decode().split("\0")
                       if p and os.path.isfile(os.path.join(ROOT, p))})
    except (OSError, subprocess.CalledProcessError):
        files = []
        for base, dirs, names in os.walk(ROOT):
            dirs[:] = [d for d in dirs if d not in (".git", "build", "dist", "__pycache__")]
            for name in names:
                files.append(os.path.relpath(os.path.join(base, name), ROOT))
        return sorted(files)


def sync_copy(dest):
    """Makes `dest` a copy of the working tree; unchanged files keep their times, so the build
    there stays incremental across runs."""
    wanted = set(source_files())
    for path in wanted:
        src, dst = os.path.join(ROOT, path), os.path.join(dest, path)
        with open(src, "rb") as f:
            data = f.read()
        if os.path.exists(dst):
            with open(dst, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copy2(src, dst)
        os.utime(dst)  # newer than anything built from the old copy
    for base, _, names in os.walk(dest):
        for name in names:
            rel = os.path.relpath(os.path.join(base, name), dest)
            if rel not in wanted:
                os.remove(os.path.join(base, name))


class Builder:
    def __init__(self, src, build, jobs, timeout, verbose):
        self.src, self.build, self.jobs = src, build, jobs
        self.timeout, self.verbose = timeout, verbose
        self.binary = os.path.join(build, "unit_tests")

    def configure(self):
        os.makedirs(self.build, exist_ok=True)
        # Bounds-checked standard containers: an index moved past the end aborts the test run
        # instead of reading a neighbour's memory in silence.
        subprocess.run(["cmake", "-S", self.src, "-B", self.build, "-DCMAKE_BUILD_TYPE=Release",
                        "-DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS"],
                       check=True, stdout=subprocess.DEVNULL)

    def write(self, path, text):
        """Writes a source file of the copy and drops its object, so make cannot miss it."""
        full = os.path.join(self.src, path)
        with open(full, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        obj_tail = os.sep + path.replace("/", os.sep) + ".o"
        for base, _, names in os.walk(os.path.join(self.build, "CMakeFiles")):
            for name in names:
                full_obj = os.path.join(base, name)
                if full_obj.endswith(obj_tail):
                    os.remove(full_obj)

    def make(self):
        r = subprocess.run(["cmake", "--build", self.build, "--target", "unit_tests",
                            f"-j{self.jobs}"], capture_output=True)
        return r.returncode == 0, (r.stdout + r.stderr).decode("utf-8", "replace")

    def run_tests(self):
        """(passed, failed test names, timed out)."""
        try:
            r = subprocess.run([self.binary, "--gtest_brief=1"], capture_output=True,
                               timeout=self.timeout)
        except subprocess.TimeoutExpired:
            return False, [], True
        out = r.stdout.decode("utf-8", "replace")  # a failure may print any bytes
        failed = re.findall(r"^\[  FAILED  \] (\S+\.\S+)", out, re.M)
        if r.returncode < 0:
            failed.append(f"(signal {-r.returncode})")
        return r.returncode == 0, sorted(set(failed)), False


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8", newline="") as f:
        return f.read()


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--files", nargs="+", metavar="PATH",
                    help="source files to plant into, relative to the root (default: "
                         + ", ".join(DEFAULT_FILES) + ", those that exist)")
    ap.add_argument("--cap", type=int, default=30,
                    help="most mutants per file, spread evenly over its sites (0: all; "
                         "default 30)")
    ap.add_argument("--list", action="store_true", help="list the chosen mutants and stop")
    ap.add_argument("--only", nargs="+", metavar="TEXT",
                    help="run only mutants whose id (file:line:col:op:replacement) contains "
                         "one of these")
    ap.add_argument("--show", action="store_true",
                    help="print each mutant's line with the replaced text in [[ ]]")
    ap.add_argument("--work", default=os.path.join(ROOT, "build", "mutants"),
                    help="folder for the copy (src/) and its build (build/); default "
                         "build/mutants")
    ap.add_argument("--timeout", type=float, default=10,
                    help="seconds a test run may take before it counts as a hang (default 10)")
    ap.add_argument("--jobs", type=int, default=2, help="make's -j (default 2)")
    ap.add_argument("--verbose", action="store_true", help="print a failed build's errors")
    args = ap.parse_args()

    files = args.files or [f for f in DEFAULT_FILES if os.path.exists(os.path.join(ROOT, f))]
    for f in files:
        if not os.path.isfile(os.path.join(ROOT, f)):
            ap.error(f"no such file: {f}")

    plan = []  # (path, source, chosen mutants, sites in all)
    for path in files:
        source = read(path)
        everything = find_mutants(path, source)
        chosen = choose(everything, args.cap)
        if args.only:
            chosen = [x for x in chosen if any(o in x.ident for o in args.only)]
        mark_equivalent(chosen)
        plan.append((path, source, chosen, len(everything)))

    if args.list:
        for path, _, chosen, total in plan:
            print(f"== {path}: {len(chosen)} of {total} sites")
            for x in chosen:
                eq = f"   [equivalent: {x.equivalent}]" if x.equivalent else ""
                print(f"  {x.line:4}:{x.col:<3} {x.op:5} {x.describe()}{eq}")
                if args.show:
                    print(f"           {x.marked}")
        return 0

    started = time.monotonic()
    src = os.path.join(args.work, "src")
    builder = Builder(src, os.path.join(args.work, "build"), args.jobs, args.timeout,
                      args.verbose)
    print(f"copying the sources to {src} ...", flush=True)
    os.makedirs(src, exist_ok=True)
    sync_copy(src)
    builder.configure()
    print("building the unit tests ...", flush=True)
    ok, log = builder.make()
    if not ok:
        print(log[-3000:])
        print("plant_faults: the unmutated sources do not build", file=sys.stderr)
        return 2
    passed, failed, timed_out = builder.run_tests()
    if not passed:
        print(f"plant_faults: the unmutated tests fail ({', '.join(failed) or 'timeout'}); "
              "a score would mean nothing", file=sys.stderr)
        return 2

    for path, source, chosen, total in plan:
        print(f"== {path}: {len(chosen)} mutants of {total} sites", flush=True)
        try:
            for x in chosen:
                if x.equivalent:
                    x.status = "equivalent"
                    print(f"  equiv   {x.line:4} {x.op:5} {x.describe()}  ({x.equivalent})")
                    continue
                builder.write(path, x.apply(source))
                ok, log = builder.make()
                if not ok:
                    x.status = "not built"
                    print(f"  nobuild {x.line:4} {x.op:5} {x.describe()}")
                    if args.verbose:
                        print("\n".join(l for l in log.splitlines() if "error" in l)[:2000])
                    continue
                passed, failed, timed_out = builder.run_tests()
                x.killers = failed
                x.status = "missed" if passed else ("timeout" if timed_out else "caught")
                label = {"missed": "MISSED ", "caught": "caught ", "timeout": "hang   "}[x.status]
                by = f"  [{', '.join(failed[:2])}{' ...' if len(failed) > 2 else ''}]" \
                    if failed else ""
                print(f"  {label} {x.line:4} {x.op:5} {x.describe()}{by}", flush=True)
                if args.show:
                    print(f"                 {x.marked}")
        finally:
            builder.write(path, source)
    ok, _ = builder.make()  # the copy left as the working tree is, for the next run

    print()
    print(f"{'file':30} {'caught':>6} {'missed':>6} {'equiv':>5} {'nobuild':>7} {'score':>6}")
    all_caught = all_scored = 0
    for path, _, chosen, _ in plan:
        caught = sum(x.status in ("caught", "timeout") for x in chosen)
        missed = sum(x.status == "missed" for x in chosen)
        equiv = sum(x.status == "equivalent" for x in chosen)
        nobuild = sum(x.status == "not built" for x in chosen)
        scored = caught + missed
        all_caught += caught
        all_scored += scored
        score = f"{100 * caught / scored:5.1f}%" if scored else "    -"
        print(f"{path:30} {caught:6} {missed:6} {equiv:5} {nobuild:7} {score:>6}")
    total = f"{100 * all_caught / all_scored:.1f} %" if all_scored else "-"
    print(f"score: {all_caught} of {all_scored} caught ({total}); "
          f"{time.monotonic() - started:.0f} s")
    missed = [x for _, _, chosen, _ in plan for x in chosen if x.status == "missed"]
    if missed:
        print("missed:")
        for x in missed:
            print(f"  {x.path}:{x.line} {x.op} {x.describe()}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
