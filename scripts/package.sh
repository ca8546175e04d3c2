#!/usr/bin/env bash
# Makes the packages a Windows user downloads: Tessarine-<version>-win32.zip and -win64.zip,
# each holding Tessarine.exe, ReadMe.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt; the
# per-user installers Tessarine-<version>-win32.msi and -win64.msi with the same files
# (package/Tessarine.wxs, built with wixl); and SHA256SUMS for all four.
# Usage: scripts/package.sh [OUTPUT_FOLDER]      (default: dist/ in the repository)
#
# Two runs from the same commit give the same bytes, in any folder and at any time: the build
# records no paths and no link time (CMakeLists.txt), and each zip lists its files in one
# order, every one dated with the last commit's time. SOURCE_DATE_EPOCH, when set, stands in
# for that time (for a copy of the sources without git). The installers carry the same dates
# and codes derived from the version and the files (scripts/make-msi.sh).
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

# stage STAGE BUILD: the files of a package as a Windows user gets them, and what only the
# installer needs (the icon, the custom actions' DLL). Text files in CRLF for Notepad, with
# the BOM it needs to read the Japanese menu names as UTF-8.
stage() {
  python3 - "$1" "Tessarine.exe=$2/Tessarine.exe" "ReadMe.txt=$2/package/ReadMe.txt" \
    "LICENSE.txt=$root/LICENSE" "THIRD-PARTY-NOTICES.txt=$root/package/THIRD-PARTY-NOTICES.txt" \
    "tessarine.ico=$root/assets/tessarine.ico" "TessarineSetup.dll=$2/TessarineSetup.dll" <<'PY'
import os, shutil, sys

stage = sys.argv[1]
shutil.rmtree(stage, ignore_errors=True)
os.makedirs(stage)
for name, path in (arg.split("=", 1) for arg in sys.argv[2:]):
    with open(path, "rb") as f:
        data = f.read()
    if name.endswith(".txt"):
        data = b"\xef\xbb\xbf" + data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    with open(os.path.join(stage, name), "wb") as f:
        f.write(data)
    # The installer's cabinet dates each file by its modification time.
    os.utime(os.path.join(stage, name), (int(os.environ["SOURCE_DATE_EPOCH"]),) * 2)
PY
}

# make_zip ZIP STAGE
make_zip() {
  python3 - "$1" "$2" LICENSE.txt ReadMe.txt THIRD-PARTY-NOTICES.txt Tessarine.exe <<'PY'
import os, sys, time, zipfile

target, stage, names = sys.argv[1], sys.argv[2], sys.argv[3:]
# Zip times have no zone and start in 1980; UTC keeps them the same on every machine.
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
with zipfile.ZipFile(target, "w") as z:
    for name in names:
        with open(os.path.join(stage, name), "rb") as f:
            data = f.read()
        info = zipfile.ZipInfo(name, stamp)
        info.create_system = 0  # as if made on Windows: no Unix owner or permission bits
        info.external_attr = 0
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, data, compresslevel=9)
PY
}

rm -f "$out"/Tessarine-*.zip "$out"/Tessarine-*.msi "$out/SHA256SUMS"
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
    -DCMAKE_SHARED_LINKER_FLAGS=-s \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >/dev/null
  status=0
  cmake --build "$build" --target Tessarine TessarineSetup -j"$jobs" 2>&1 |
    { grep -vE '^\[ *[0-9]+%\]|^(Consolidate|Scanning|Building|Linking)' || true; } || status=$?
  [ "$status" -eq 0 ] || { echo "package.sh: the $arch build failed" >&2; exit "$status"; }
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

  stage "$build/stage" "$build"
  make_zip "$out/Tessarine-$version-$arch.zip" "$build/stage"
  bash "$root/scripts/make-msi.sh" "$out/Tessarine-$version-$arch.msi" "$arch" "$version" \
    "$build/stage"
done

(cd "$out" && sha256sum Tessarine-*.zip Tessarine-*.msi > SHA256SUMS)
echo "== packages in $out"
cat "$out/SHA256SUMS"
