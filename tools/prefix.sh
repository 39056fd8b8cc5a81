#!/usr/bin/env bash
# Wine prefix of the project's own.
#   prefix.sh setup <prefix> <bin-dir> [display|unmanaged]
#                      create it once, keep a wineserver alive, register every component
#                      module in <bin-dir>
#   prefix.sh stop <prefix>   end that wineserver
# Without a display mode the prefix uses Wine's null display driver: windows, dialogs and
# timers work with no X server at all (test runs). With one, windows go to $DISPLAY;
# "unmanaged" is for a display without a window manager (Wine draws the frames itself).
set -euo pipefail
mode=$1 prefix=$2
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all}
log=$prefix/setup.log

# Nothing Wine starts may keep the caller's output open (ctest waits for it): all of it
# goes to the log.
quiet() { "$@" </dev/null >>"$log" 2>&1; }

case $mode in
  setup)
    bin=$3 display=${4:-}
    mkdir -p "$prefix"
    # A server of this prefix from an earlier run keeps the display driver it started with:
    # end it, then start one that stays up between the processes of this run.
    quiet wineserver -k || true
    quiet wineserver -w || true
    quiet wineserver -p
    fresh=
    if [ ! -f "$prefix/system.reg" ]; then
      quiet wine wineboot -i || true
      fresh=1
    fi
    if [ -z "$display" ]; then
      quiet wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
    else
      quiet wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f || true
      managed=Y
      [ "$display" = unmanaged ] && managed=N
      quiet wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f
    fi
    # A prefix made just now has its desktop from before the driver setting: no window could
    # be created in this server session. Start the server again with the setting in force.
    if [ -n "$fresh" ]; then
      quiet wineserver -k || true
      quiet wineserver -w || true
      quiet wineserver -p
    fi
    shopt -s nullglob
    # Fonts. This Wine does not read its own fonts (Tahoma for "MS Shell Dlg", MS Sans Serif,
    # and Marlett, which draws the caption buttons) from where Debian puts them: they are
    # linked into the prefix's font folder. Faces the program names that no package here
    # provides are replaced by the fonts fontconfig chooses for them (metric-compatible
    # where one exists); otherwise Wine would give every one of them the same default face.
    fonts=$prefix/drive_c/windows/Fonts
    mkdir -p "$fonts"
    for font in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
      ln -sf "$font" "$fonts/"
    done
    printf '%s\r\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
      '"Arial"="Liberation Sans"' '"Arial Narrow"="Liberation Sans Narrow"' \
      '"Times New Roman"="Liberation Serif"' '"Verdana"="DejaVu Sans"' > "$prefix/fonts.reg"
    (cd "$prefix" && quiet wine regedit /S fonts.reg)
    for module in "$bin"/*.dll.so "$bin"/*.ocx.so; do
      if ! quiet wine regsvr32 /s "$module"; then
        echo "registration of $module failed (see $log)" >&2
        exit 1
      fi
    done
    ;;
  stop)
    quiet wineserver -k || true
    ;;
  *) echo "usage: $0 setup|stop <prefix> ..." >&2; exit 2 ;;
esac
