#!/usr/bin/env bash
# Makes the per-user installer of Tessarine from a folder holding the files of the zip and
# the icon (package.sh stages them), with wixl from package/Tessarine.wxs.
# Usage: scripts/make-msi.sh MSI ARCH VERSION STAGE      (ARCH: win32 or win64)
#
# The same inputs give the same bytes: the package is dated SOURCE_DATE_EPOCH (required), and
# the codes that must differ from one package to another (package code, product code) are
# derived from the version and the files (msi_codes), never drawn at random.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
: "${SOURCE_DATE_EPOCH:?make-msi.sh: set SOURCE_DATE_EPOCH}"
[ $# -eq 4 ] || { sed -n 4p "$0" >&2; exit 2; }

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

make_msi() {
  local msi=$1 arch=$2 version=$3 stage=$4 codes win64=no wixarch=x86 platform=Intel upgrade
  upgrade=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' "$root/package/Tessarine.wxs")
  [ "$arch" = win64 ] && { win64=yes; wixarch=x64; platform=x64; }
  codes=$(msi_codes "$arch" "$version" "$stage")
  # What the installed files take, for the installed-programs list.
  local kb; kb=$(cd "$stage" && du -c --apparent-size -k Tessarine.exe *.txt | tail -n 1 | cut -f1)
  # wixl dates the package with the clock, which is held at the sources' time for it: held
  # still (-f), since a started clock runs on and a slow machine would date it a second later.
  local at; at=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')
  (cd "$stage" && TZ=UTC faketime -f "$at" wixl -a "$wixarch" -D Version="$version" \
    -D SizeKB="$kb" -D Win64="$win64" -D Stage=. $(head -n -1 <<<"$codes") -o "$msi" \
    "$root/package/Tessarine.wxs") 2>&1 | { grep -v 'builder.vala:.*unimplemented' || true; }
  [ -s "$msi" ] || { echo "make-msi.sh: wixl made no $msi" >&2; exit 1; }
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
  TZ=UTC faketime -f "$at" msibuild "$msi" -s "Tessarine $version" Tessarine "$platform;1033" \
    "$(tail -n 1 <<<"$codes")"
}

make_msi "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" "$2" "$3" "$(cd "$4" && pwd)"
