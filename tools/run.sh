#!/usr/bin/env bash
# Installs what is missing, builds, registers the components in the program's own Wine
# prefix and starts the program from its program folder. Without an X display it runs on
# a virtual one (Xvfb).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/deps.sh"
CMAKE_ARGS=${CMAKE_ARGS:-} "$root/tools/build.sh"
if [ -z "${DISPLAY:-}" ]; then
  # A virtual display has no window manager: Wine then draws the window frames itself.
  QUORVEL_UNMANAGED=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi
prefix=${QUORVEL_PREFIX:-$build/wine/prefix}
# Windows go to the display (the prefix would otherwise take the null driver of the tests).
"$root/tools/prefix.sh" setup "$prefix" "$build/bin" "$([ -n "${QUORVEL_UNMANAGED:-}" ] && echo unmanaged || echo display)"
trap '"$root/tools/prefix.sh" stop "$prefix"' EXIT
cd "$build/bin"
WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLPATH=$build/bin wine brenic.exe.so "$@"
