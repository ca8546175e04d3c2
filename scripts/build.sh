#!/usr/bin/env bash
# Builds the native unit tests, the Windows program (32-bit and 64-bit), the same with clang
# as a second compiler (any warning fails it), and the fuzz targets.
# Usage: scripts/build.sh [native|win32|win64|win32-clang|win64-clang|fuzz]...
#        (no argument: all six)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(native win32 win64 win32-clang win64-clang fuzz)

for t in "${targets[@]}"; do
  case "$t" in
    native) args=() ;;
    win32) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake") ;;
    win64) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake") ;;
    win32-clang) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-clang-mingw-i686.cmake"
                       -DCMAKE_COMPILE_WARNING_AS_ERROR=ON) ;;
    win64-clang) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-clang-mingw-x86_64.cmake"
                       -DCMAKE_COMPILE_WARNING_AS_ERROR=ON) ;;
    fuzz)
      if ! command -v clang++ >/dev/null; then echo "== fuzz skipped: no clang++"; continue; fi
      args=(-DTESSARINE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++) ;;
    *) echo "build.sh: unknown target $t" >&2; exit 2 ;;
  esac
  echo "== build $t"
  cmake -S "$root" -B "$root/build/$t" -DCMAKE_BUILD_TYPE=Release "${args[@]}" >/dev/null
  # The filter must not decide the status: with pipefail, the build's own failure ends the run.
  status=0
  cmake --build "$root/build/$t" -j"$jobs" 2>&1 |
    { grep -vE '^\[ *[0-9]+%\]|^(Consolidate|Scanning|Building|Linking)' || true; } || status=$?
  [ "$status" -eq 0 ] || { echo "build.sh: $t failed" >&2; exit "$status"; }
done
