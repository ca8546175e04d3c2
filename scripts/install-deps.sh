#!/usr/bin/env bash
# Installs what building and testing Tessarine needs on Debian 12. Idempotent: a second run
# installs nothing and returns at once when every package is already there.
set -euo pipefail

PKGS_NATIVE=(cmake g++ make libgtest-dev pkg-config
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 xvfb xdotool x11-utils x11-apps x11-xserver-utils imagemagick fonts-ipafont-gothic locales
  sox lame python3-pytest python3-pytest-timeout python3-pil procps strace e2fsprogs git
  wixl msitools faketime
  clang libclang-rt-14-dev)
PKGS_I386=(wine32:i386 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing=()
for p in "${PKGS_NATIVE[@]}" "${PKGS_I386[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${PKGS_NATIVE[@]}" "${PKGS_I386[@]}" >/dev/null
fi

# Japanese locale: with it Wine's ANSI code page is 932, as on a Japanese Windows.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
echo "install-deps: ok"
