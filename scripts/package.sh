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
# for that time (for a copy of the sources without git). The installers carry the same dates,
# and the codes that must differ from one package to another (package code, product code)
# are derived from the version and the files (msi_codes), never drawn at random.
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

# stage STAGE BUILD: the files of a package as a Windows user gets them. Text files in CRLF
# for Notepad, with the BOM it needs to read the Japanese menu names as UTF-8.
stage() {
  python3 - "$1" "Tessarine.exe=$2/Tessarine.exe" "ReadMe.txt=$2/package/ReadMe.txt" \
    "LICENSE.txt=$root/LICENSE" "THIRD-PARTY-NOTICES.txt=$root/package/THIRD-PARTY-NOTICES.txt" \
    "tessarine.ico=$root/assets/tessarine.ico" <<'PY'
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

# msi_codes ARCH VERSION STAGE: wixl -D options for the product code and the components' ids,
# then a last line with the package code. Name-based UUIDs under the upgrade code: the same
# version and files give the same codes, any change new ones. A component keeps its id
# across versions; each architecture has its own (a 64-bit component is flagged so).
msi_codes() {
  python3 - "$@" "$root/package/Tessarine.wxs" <<'PY'
import hashlib, sys, uuid

arch, version, stage, wxs = sys.argv[1:]
upgrade = uuid.UUID(next(l for l in open(wxs) if "UpgradeCode=" in l).split('"')[1])
digest = hashlib.sha256(open(wxs, "rb").read())
for name in sorted(n for n in __import__("os").listdir(stage)):
    digest.update(name.encode() + b"\0" + open(f"{stage}/{name}", "rb").read())
contents = f"{arch}/{version}/{digest.hexdigest()}"
code = lambda name: str(uuid.uuid5(upgrade, name)).upper()
print(f"-D ProductCode={code('product/' + contents)}")
for component in ("Program", "Documents", "Startup"):
    print(f"-D Guid{component}={code(arch + '/' + component)}")
print("{" + code("package/" + contents) + "}")
PY
}

# make_msi MSI ARCH VERSION STAGE
make_msi() {
  local msi=$1 arch=$2 version=$3 stage=$4 codes win64=no wixarch=x86 platform=Intel upgrade
  upgrade=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' "$root/package/Tessarine.wxs")
  [ "$arch" = win64 ] && { win64=yes; wixarch=x64; platform=x64; }
  codes=$(msi_codes "$arch" "$version" "$stage")
  # wixl dates the package with the clock, which is held at the sources' time for it.
  local at; at=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')
  (cd "$stage" && TZ=UTC faketime "$at" wixl -a "$wixarch" -D Version="$version" \
    -D Win64="$win64" -D Stage=. $(head -n -1 <<<"$codes") -o "$msi" \
    "$root/package/Tessarine.wxs") 2>&1 | { grep -v 'builder.vala:.*unimplemented' || true; }
  [ -s "$msi" ] || { echo "package.sh: wixl made no $msi" >&2; exit 1; }
  # What wixl cannot say: the start-up shortcut's condition; "the same version" as an upgrade
  # too, so that the 32-bit and the 64-bit package replace each other; the exe's version for
  # the file rules; AUTOSTART passed on to the installation's own part.
  msibuild "$msi" \
    -q "UPDATE Component SET Condition = 'AUTOSTART <> \"0\"' WHERE Component = 'StartAtSignIn'" \
    -q "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_UPGRADE_DETECTED'" \
    -q "INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, Attributes, ActionProperty)
        VALUES ('{$upgrade}', '0.0.0', '$version', 768, 'WIX_UPGRADE_DETECTED')" \
    -q "UPDATE File SET Version = '$version.0' WHERE File = 'TessarineExe'" \
    -q "UPDATE Property SET Value = 'WIX_UPGRADE_DETECTED;WIX_DOWNGRADE_DETECTED;AUTOSTART'
        WHERE Property = 'SecureCustomProperties'"
  # The package code wixl drew at random gives way to the derived one.
  TZ=UTC faketime "$at" msibuild "$msi" -s "Tessarine $version" Tessarine "$platform;1033" \
    "$(tail -n 1 <<<"$codes")"
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
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" >/dev/null
  status=0
  cmake --build "$build" --target Tessarine -j"$jobs" 2>&1 |
    { grep -vE '^\[ *[0-9]+%\]|^(Consolidate|Scanning|Building|Linking)' || true; } || status=$?
  [ "$status" -eq 0 ] || { echo "package.sh: the $arch build failed" >&2; exit "$status"; }
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

  stage "$build/stage" "$build"
  make_zip "$out/Tessarine-$version-$arch.zip" "$build/stage"
  make_msi "$out/Tessarine-$version-$arch.msi" "$arch" "$version" "$build/stage"
done

(cd "$out" && sha256sum Tessarine-*.zip Tessarine-*.msi > SHA256SUMS)
echo "== packages in $out"
cat "$out/SHA256SUMS"
