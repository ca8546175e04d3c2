#!/usr/bin/env bash
# Installs what is missing, builds the clock and starts it under Wine on your display.
# The program and its Tessarine.ini live in ~/.local/share/tessarine/Tessarine, so your
# settings survive rebuilds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no display. Start this from a desktop session (DISPLAY is not set)." >&2
  exit 1
fi
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" win32
. "$root/scripts/wine-env.sh"
ensure_prefix
progdir="$TESSARINE_HOME/Tessarine"
mkdir -p "$progdir"
cp "$root/build/win32/Tessarine.exe" "$progdir/"
echo "Starting $progdir/Tessarine.exe"
cd "$progdir"
# Wine takes the display language (and the code page) from the locale: the clock speaks the
# user's own language, unless TESSARINE_LANG names another (ja_JP.UTF-8, en_US.UTF-8).
if [ -n "${TESSARINE_LANG:-}" ]; then
  export LC_ALL="$TESSARINE_LANG"
fi
exec wine Tessarine.exe
