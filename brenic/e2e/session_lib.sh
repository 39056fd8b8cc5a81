# Shell helpers for tests that run the real program as a user would (sourced, not run).
#
#   session_display "$0" "$@"   first thing in a script: runs it again on a virtual X display
#                               of its own (Xvfb, no window manager) unless it already is
#   session_begin <source dir> <bin dir> <driver .exe.so>
#                               a fresh prefix with windows on that display and a program
#                               folder of its own under $work (removed at exit); exports
#                               WINEPREFIX, QUORVEL_SYNTHETIC_CAMERA=1, ...
#   session_start               starts the program from its folder ($pid)
#   drive COMMAND ARGS...       runs the session driver (see the top of session_driver.cpp)
#   run_started PROGRAM ARGS... runs a helper program under Wine, again if Wine could not
#                               start it
#   shot NAME                   with QUORVEL_SCREENSHOT_DIR set, the main window's picture
#                               into NAME.bmp there
#   on_screen PATH              fails unless the window shows on the screen as painted (the
#                               driver's `onscreen`) within 5 s
#   read_settings / expect_setting NAME TEXT / expect_default_settings [NAME...]
#                               the program's registry settings, exported by `wine reg`
#   sql QUERY                   the sqlite3 shell on the program folder's database
#   fail MESSAGE
# Globals: $work, $prefix, $folder (the program folder), $pid, $main (the main window's path).

fail() { echo "FAILED: $*" >&2; exit 1; }

session_display() {
  if [ -z "${QUORVEL_SESSION_DISPLAY:-}" ]; then
    QUORVEL_SESSION_DISPLAY=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "$@"
  fi
}

session_begin() {
  src=$1 bin=$2 driver=$3
  work=$(mktemp -d /tmp/brenic_session.XXXXXX)
  prefix=$work/prefix folder=$work/program
  export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLPATH=$bin QUORVEL_SYNTHETIC_CAMERA=1
  # Names with Windows-1252 letters reach the driver's arguments through a UTF-8 locale.
  export LANG=C.UTF-8
  trap session_end EXIT
  "$src/tools/prefix.sh" setup "$prefix" "$bin" unmanaged
  mkdir -p "$folder"
  cp "$bin/brenic.exe.so" "$bin/razeFieldDefs.xml" "$folder/"
  cp -r "$bin/Skin" "$folder/"
  main='class=AfxFrameOrView42s,text~=Quorvel'
}

session_end() {
  local status=$?
  if [ $status -ne 0 ] && [ -f "$work/run.log" ]; then
    echo "--- program output" >&2
    tail -n 40 "$work/run.log" >&2
  fi
  # The program still running ends with the prefix's server; its end is no news.
  if [ -n "${pid:-}" ]; then
    { kill "$pid" && wait "$pid"; } 2>/dev/null || true
  fi
  "$src/tools/prefix.sh" stop "$prefix" || true
  rm -rf "$work"
  exit $status
}

session_start() {
  (cd "$folder" && exec wine brenic.exe.so) >>"$work/run.log" 2>&1 &
  pid=$!
}

# Wine now and then fails to start a process at all (tools/wine-test.sh says why): a helper
# program of the tests that never reached its main function is started again, twice at most.
run_started() {
  local mark status attempt
  mark=$(mktemp "$work/started.XXXXXX")
  for attempt in 1 2 3; do
    : >"$mark"
    status=0
    QUORVEL_TEST_STARTED=$mark wine "$@" || status=$?
    { [ $status -eq 0 ] || [ -s "$mark" ]; } && break
    echo "$(basename "$1") ended with exit status $status before its main function ran: started again" >&2
  done
  rm -f "$mark"
  return $status
}

drive() { run_started "$driver" "$@"; }

shot() {
  [ -n "${QUORVEL_SCREENSHOT_DIR:-}" ] || return 0
  mkdir -p "$QUORVEL_SCREENSHOT_DIR"
  drive grab "$main" "$QUORVEL_SCREENSHOT_DIR/$1.bmp"
}

# A window just shown is painted at its program's next pass through its message loop: the
# check is tried again for a while. A window that stays black, blank or covered fails.
on_screen() {
  local tries=0 why
  until why=$(drive onscreen "$1" 2>&1 >/dev/null); do
    tries=$((tries + 1))
    [ $tries -ge 15 ] && fail "$1 on the screen: ${why#session_driver: }"
    sleep 0.3
  done
}

settings_key='HKLM\Software\Quorvel\Quorvel Redovove LE'

read_settings() {
  rm -f "$work/settings.reg"
  wine reg export "$settings_key" 'Z:'"${work//\//\\}"'\settings.reg' >/dev/null 2>&1 ||
    fail "no settings key"
  iconv -f UTF-16LE -t UTF-8 "$work/settings.reg" 2>/dev/null | tr -d '\r' >"$work/settings.txt" ||
    tr -d '\r' <"$work/settings.reg" >"$work/settings.txt"
}

expect_setting() {
  grep -qxF "\"$1\"=\"$2\"" "$work/settings.txt" ||
    fail "$1: want \"$2\", have: $(grep -F "\"$1\"=" "$work/settings.txt" || echo none)"
}

# Every setting and function key with its default text (but the NAMEs given), and the
# program folder.
expect_default_settings() {
  local name text
  while IFS='|' read -r name text; do
    [[ " $* " == *" $name "* ]] || expect_setting "$name" "$text"
  done <"$src/brenic/e2e/default_settings.txt"
  grep -qiF "\"InstallDir\"=\"Z:${folder//\//\\\\}\\\\\"" "$work/settings.txt" ||
    fail "InstallDir: $(grep -F '"InstallDir"=' "$work/settings.txt" || echo none)"
}

sql() { sqlite3 -batch -noheader "$folder/Quorvel.mdb" "$1"; }
# The query's answer once it is the one wanted (the program writes what a click asked for a
# moment later): waits up to 10 s, then prints the last answer and fails.
sql_until() {
  local want=$1 query=$2 have= tries=0
  while :; do
    have=$(sql "$query" 2>/dev/null || true)
    [ "$have" = "$want" ] && return 0
    tries=$((tries + 1))
    [ $tries -ge 50 ] && { echo "$have"; return 1; }
    sleep 0.2
  done
}
