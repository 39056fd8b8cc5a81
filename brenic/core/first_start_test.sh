#!/usr/bin/env bash
# The real program started for the first time in a fresh prefix from a program folder of its
# own, closed the way a user closes it (WM_CLOSE to its windows): once it has ended, every
# setting and every function key is in the registry with its default text, and the program
# folder holds an empty database. A second start reads them (a changed value survives its
# close) and keeps that database. A copy started while another runs ends by itself.
#   first_start_test.sh <source dir> <bin dir>
set -euo pipefail
src=$1 bin=$2
source "$src/brenic/e2e/session_lib.sh"
work=$(mktemp -d /tmp/brenic_first_start.XXXXXX)
prefix=$work/prefix
folder=$work/program
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLPATH=$bin QUORVEL_SYNTHETIC_CAMERA=1
cleanup() {
  "$src/tools/prefix.sh" stop "$prefix" || true
  rm -rf "$work"
}
trap cleanup EXIT

"$src/tools/prefix.sh" setup "$prefix" "$bin"
mkdir -p "$folder"
cp "$bin/brenic.exe.so" "$bin/razeFieldDefs.xml" "$folder/"
cp -r "$bin/Skin" "$folder/"

# Closes the program as soon as it has a window to close; waits for its end.
close() {
  local tries=0
  while kill -0 $pid 2>/dev/null; do
    sleep 2
    tries=$((tries + 1))
    [ $tries -gt 60 ] && { kill $pid; fail "the program did not close (see its log)"; }
    wine taskkill /im brenic.exe >/dev/null 2>&1 || true
  done
  wait $pid || fail "the program ended with status $?"
}
run_and_close() {
  session_start
  close
}

run_and_close
read_settings
# The first start's auto-import question is closed with the program, before or after the main
# window (the scripted sessions answer it and check the setting).
expect_default_settings ImportVideoFiles
[ -s "$folder/Quorvel.mdb" ] || fail "no database in the program folder"
database=$(md5sum <"$folder/Quorvel.mdb")

# The second start reads what the first left (a changed value is kept, not reset to its
# default by the close) and neither replaces nor recreates the database.
wine reg add "$settings_key" /v RecordView /d "Down the line" /f >/dev/null 2>&1
run_and_close
read_settings
expect_setting RecordView "Down the line"
expect_setting PreTrigFrames 39
[ -s "$folder/Quorvel.mdb" ] || fail "the database went away"
[ "$(md5sum <"$folder/Quorvel.mdb")" = "$database" ] || echo "note: the database was written to"
# A second copy started while the first runs finds it and ends by itself; the first stays.
session_start
first=$pid
sleep 10
kill -0 $first 2>/dev/null || fail "the first copy ended"
(cd "$folder" && exec wine brenic.exe.so) >>"$work/run.log" 2>&1 &
second=$! tries=0
while kill -0 $second 2>/dev/null; do
  sleep 1
  tries=$((tries + 1))
  [ $tries -gt 30 ] && { kill $second; fail "the second copy kept running"; }
done
kill -0 $first 2>/dev/null || fail "the first copy ended with the second"
pid=$first
close
echo "first and second start passed"
