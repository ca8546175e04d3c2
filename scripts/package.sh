#!/usr/bin/env bash
# Makes the packages a Windows user downloads: Tessarine-<version>-win32.zip and -win64.zip,
# each holding Tessarine.exe, ReadMe.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt, and
# SHA256SUMS for both.
# Usage: scripts/package.sh [OUTPUT_FOLDER]      (default: dist/ in the repository)
#
# Two runs from the same commit give the same bytes, in any folder and at any time: the build
# records no paths and no link time (CMakeLists.txt), and each zip lists its files in one
# order, every one dated with the last commit's time. SOURCE_DATE_EPOCH, when set, stands in
# for that time (for a copy of the sources without git).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/dist}" && cd "${1:-$root/dist}" && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct) ||
    { echo "package.sh: no git history in $root; set SOURCE_DATE_EPOCH" >&2; exit 1; }
  if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "package.sh: note: uncommitted changes go into the packages" >&2
  fi
fi
export SOURCE_DATE_EPOCH

rm -f "$out"/Tessarine-*.zip "$out/SHA256SUMS"
for arch in win32 win64; do
  case "$arch" in
    win32) toolchain=toolchain-mingw-i686.cmake ;;
    win64) toolchain=toolchain-mingw-x86_64.cmake ;;
  esac
  # Folders of their own, so that the test builds' settings never reach a release. Stripped
  # of the symbol table and the runtime libraries' debug sections: half the size.
  build="$root/build/package-$arch"
  echo "== package $arch"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS=-s \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >/dev/null
  status=0
  cmake --build "$build" --target Tessarine -j"$jobs" 2>&1 |
    { grep -vE '^\[ *[0-9]+%\]|^(Consolidate|Scanning|Building|Linking)' || true; } || status=$?
  [ "$status" -eq 0 ] || { echo "package.sh: the $arch build failed" >&2; exit "$status"; }
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

  python3 - "$out/Tessarine-$version-$arch.zip" \
    "Tessarine.exe=$build/Tessarine.exe" "ReadMe.txt=$build/package/ReadMe.txt" \
    "LICENSE.txt=$root/LICENSE" "THIRD-PARTY-NOTICES.txt=$root/package/THIRD-PARTY-NOTICES.txt" <<'PY'
import os, sys, time, zipfile

target, entries = sys.argv[1], sorted(arg.split("=", 1) for arg in sys.argv[2:])
# Zip times have no zone and start in 1980; UTC keeps them the same on every machine.
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
with zipfile.ZipFile(target, "w") as z:
    for name, path in entries:
        with open(path, "rb") as f:
            data = f.read()
        if name.endswith(".txt"):
            # Notepad wants CRLF, and the BOM to read the Japanese menu names as UTF-8.
            data = b"\xef\xbb\xbf" + data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        info = zipfile.ZipInfo(name, stamp)
        info.create_system = 0  # as if made on Windows: no Unix owner or permission bits
        info.external_attr = 0
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, data, compresslevel=9)
PY
done

(cd "$out" && sha256sum Tessarine-*.zip > SHA256SUMS)
echo "== packages in $out"
cat "$out/SHA256SUMS"
