#!/usr/bin/env bash
# Installs what the build, the tests and the program need on Debian 12, and only what is
# missing (quick when everything is there). apt-get runs as root, or through sudo.
set -euo pipefail
packages=(
  wine wine64 wine64-tools libwine-dev            # Win32 as a library, winegcc, wrc, widl
  cmake ninja-build g++ ccache pkg-config python3  # python3: draws the skin bitmaps
  clang                                           # libFuzzer for the clip-file fuzz run
  libgtest-dev libgmock-dev libbenchmark-dev
  libavformat-dev libavcodec-dev libavdevice-dev libswscale-dev libswresample-dev libavutil-dev
  libsqlite3-dev libjpeg62-turbo-dev
  sqlite3                                         # the session tests read the database file
  clang libclang-rt-14-dev                        # libFuzzer runs of the file parsers
  xvfb xauth x11-apps fonts-dejavu-core fonts-liberation
  fonts-wine                                      # Tahoma, MS Sans Serif, Marlett (caption symbols)
  xdg-utils                                       # xdg-email: clips sent through the mail composer
  xchm                                            # the help file opens in the desktop's viewer
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "${missing[@]}"
