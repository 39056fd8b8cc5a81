#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine, headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/deps.sh"
"$root/tools/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest -j "$(nproc)" --output-on-failure "$@"
