# Sourced by the run and test scripts: the project's own Wine prefix, made on first use
# without dialogs, with the Japanese font replacements and a null sound device.
: "${TESSARINE_HOME:=${XDG_DATA_HOME:-$HOME/.local/share}/tessarine}"
export WINEPREFIX="${WINEPREFIX:-$TESSARINE_HOME/wine}"
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG="${WINEDEBUG:--all}"

ensure_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  echo "Creating the Wine prefix $WINEPREFIX (once, about 15 s)..."
  wineboot -i >/dev/null 2>&1
  local f
  for f in 'ＭＳ Ｐゴシック' 'MS UI Gothic'; do
    # Under the POSIX locale Wine garbles the full-width font name.
    LC_ALL=C.UTF-8 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /t REG_SZ \
      /d IPAPGothic /f >/dev/null 2>&1
  done
  wineserver -w
}
