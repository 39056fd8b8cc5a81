#!/usr/bin/env bash
# The real program started for the first time in a fresh prefix from a program folder of its
# own, closed the way a user closes it (WM_CLOSE to its windows): once it has ended, every
# setting and every function key is in the registry with its default text, and the program
# folder holds an empty database. A second start reads them (a changed value survives its
# close) and keeps that database. A copy started while another runs ends by itself.
#   first_start_test.sh <source dir> <bin dir>
set -euo pipefail
src=$1 bin=$2
work=$(mktemp -d /tmp/brenic_first_start.XXXXXX)
prefix=$work/prefix
folder=$work/program
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLPATH=$bin QUORVEL_SYNTHETIC_CAMERA=1
cleanup() {
  "$src/tools/prefix.sh" stop "$prefix" || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

"$src/tools/prefix.sh" setup "$prefix" "$bin"
mkdir -p "$folder"
cp "$bin/brenic.exe.so" "$bin/razeFieldDefs.xml" "$folder/"
cp -r "$bin/Skin" "$folder/"

start() {
  (cd "$folder" && exec wine brenic.exe.so) >>"$work/run.log" 2>&1 &
  pid=$!
}
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
  start
  close
}

key='HKLM\Software\Quorvel\Quorvel Redovove LE'
read_settings() {
  rm -f "$work/settings.reg"
  wine reg export "$key" 'Z:'"${work//\//\\}"'\settings.reg' >/dev/null 2>&1 ||
    fail "no settings key after the program ended"
  iconv -f UTF-16LE -t UTF-8 "$work/settings.reg" 2>/dev/null | tr -d '\r' >"$work/settings.txt" ||
    tr -d '\r' <"$work/settings.reg" >"$work/settings.txt"
}
expect() {
  grep -qxF "\"$1\"=\"$2\"" "$work/settings.txt" ||
    fail "$1: want \"$2\", have: $(grep -F "\"$1\"=" "$work/settings.txt" || echo none)"
}

run_and_close
read_settings
while IFS='|' read -r name text; do
  expect "$name" "$text"
done <<'EOF'
CaptureDirectory|
RecordView|Face on
RecordClub|Driver
CaptureDriverName|Microsoft DV Camera and VCR
VideoHelp|
DefaultHelpLoc|
VideoFilesDir|
SoundThreshold|50
SoundTrigAdjust|0
CueHoldDelay|5
AutoRepeatReplay|2
PreTrigFrames|39
PostTrigFrames|30
AutoRewind|1
LineColor|0
LastKnownGoodCamera|0
LaunchHelp|1
ImportVideoFiles|1
ShadowMix|10
SkipFields|0
ExportFilterIndex|1
ImportFilterIndex|1
LineWidth|2
LineStyle|0
FontFaceName|Arial
FontPointSize|10
FontColor|16777215
FontWeight|400
FontItalic|0
FontUnderline|0
KeyCommandList[STARTAUTORECKEY].Key|1
KeyCommandList[STARTMANRECKEY].Key|2
KeyCommandList[TRIGGERAUTORECKEY].Key|3
KeyCommandList[ATTENSLIDER].Key|12
KeyCommandList[TOGGLEWINDOW].Key|11
KeyCommandList[SPLITWINDOWKEY].Key|10
KeyCommandList[TAB16TOGGLEKEY].Key|9
KeyCommandList[LOCKIMPACTKEY].Key|8
KeyCommandList[LOCKVIEWKEY].Key|7
KeyCommandList[TOGGLEMIRRORKEY].Key|4
KeyCommandList[PLAYKEY].Key|5
KeyCommandList[REALPLAYKEY].Key|6
bVideoFrameCount|0
LessonDuration|30
LessonExtend|5
bNagEnable|1
bImpactTabRelative|1
PlaySpeed|1.000000
BkgColor|10072511
bUseDefaultColors|1
bTelestratorMode|0
EOF
grep -qiF "\"InstallDir\"=\"Z:${work//\//\\\\}\\\\program\\\\\"" "$work/settings.txt" ||
  fail "InstallDir: $(grep -F '"InstallDir"=' "$work/settings.txt" || echo none)"
[ -s "$folder/Quorvel.mdb" ] || fail "no database in the program folder"
database=$(md5sum <"$folder/Quorvel.mdb")

# The second start reads what the first left (a changed value is kept, not reset to its
# default by the close) and neither replaces nor recreates the database.
wine reg add "$key" /v RecordView /d "Down the line" /f >/dev/null 2>&1
run_and_close
read_settings
expect RecordView "Down the line"
expect PreTrigFrames 39
[ -s "$folder/Quorvel.mdb" ] || fail "the database went away"
[ "$(md5sum <"$folder/Quorvel.mdb")" = "$database" ] || echo "note: the database was written to"
# A second copy started while the first runs finds it and ends by itself; the first stays.
start
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
