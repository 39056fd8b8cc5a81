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
mkdir -p "$prefix"
# Runs of this script share the prefix's wineserver: the first starts it (setup ends any
# server of an earlier run) and stops it at its end; a run that finds another one under
# way joins its server, so a second program started with a clip file hands the file over
# to the first instead of ending it.
exec 9>"$prefix/.run.lock"
if flock -n -x 9; then
  # Windows go to the display (the prefix would otherwise take the null driver of the
  # tests).
  "$root/tools/prefix.sh" setup "$prefix" "$build/bin" "$([ -n "${QUORVEL_UNMANAGED:-}" ] && echo unmanaged || echo display)" 9>&-
  trap '"$root/tools/prefix.sh" stop "$prefix" 9>&-' EXIT
fi
# Held by this script alone (not by the server or the program) while the program runs.
flock -s 9
cd "$build/bin"
WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLPATH=$build/bin wine brenic.exe.so "$@" 9>&-
