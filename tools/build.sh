#!/usr/bin/env bash
# Configures (once) and builds the whole tree into build/ (or $BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release ${CMAKE_ARGS:-}
fi
cmake --build "$build" -j "$(nproc)"
