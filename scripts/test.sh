#!/usr/bin/env bash
# Installs what is missing, builds everything (the Windows program also with clang, and the
# release packages) and runs every test: the native unit tests, then the end-to-end tests of
# the real program under Wine in a private Xvfb, which also rebuild the packages elsewhere
# and compare them byte for byte.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" || exit 1
bash "$root/scripts/build.sh" native win32 win64 win32-clang win64-clang fuzz ||
  { echo "build failed"; exit 1; }
bash "$root/scripts/package.sh" || { echo "packaging failed"; exit 1; }

out="$root/build/test-results"
rm -rf "$out"; mkdir -p "$out"

echo "== unit tests"
(cd "$root/build/native" && ctest --output-on-failure --output-junit "$out/unit.xml" -j2)
unit_rc=$?
if [ -f "$root/build/fuzz/CTestTestfile.cmake" ]; then
  echo "== fuzz targets, a short fixed run each"
  (cd "$root/build/fuzz" && ctest --output-on-failure --output-junit "$out/fuzz.xml" -j2) || unit_rc=1
fi

echo "== end-to-end tests"
(cd "$root" && /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/e2e --junitxml="$out/e2e.xml")
e2e_rc=$?

/usr/bin/python3 - "$out" <<'PY'
import sys, pathlib, xml.etree.ElementTree as ET
passed = failed = skipped = 0
for f in sorted(pathlib.Path(sys.argv[1]).glob("*.xml")):
    root = ET.parse(f).getroot()
    for case in root.iter("testcase"):
        kinds = {child.tag for child in case}
        status = case.get("status", "")
        if kinds & {"failure", "error"} or status == "fail":
            failed += 1
        elif "skipped" in kinds or status in ("notrun", "disabled"):
            skipped += 1
        else:
            passed += 1
print(f"{passed} passed, {failed} failed, {skipped} skipped")
PY
[ $unit_rc -eq 0 ] && [ $e2e_rc -eq 0 ]
