#!/usr/bin/env bash
# Benchmarks of the real program, started as tools/run.sh starts it (its own program folder,
# a fresh prefix, the synthetic camera, a virtual display when there is none), prints
# medians of several runs and asserts no timing:
#   - start-up to a usable main window (shown and answering), warm, with an empty clip
#     database and with one of CLIPS clips (made by clip_db_fill);
#   - the CPU share of one core while live video previews, and while it previews with the
#     replay ring armed (automatic recording waiting for its trigger);
#   - trigger to clip shown in channel 0, beyond the frames recorded after the trigger;
#   - the CPU share while two clips, locked at impact in the split view, play at speed 1.0
#     (both channels stepped at 59.94 fields/s), and while they stand still.
# For figures run it by hand (after tools/build.sh):
#   bash brenic/e2e/program_bench.sh <source dir> <build dir> [runs] [clips]
# ctest runs it once with 1 run and 200 clips (label "benchmark") to see that it still works.
set -euo pipefail
src=$1 build=$2 runs=${3:-5} clips=${4:-10000}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "$0" "$@"
fi
bin=$build/bin tests=$build/tests
work=$(mktemp -d /tmp/program_bench.XXXXXX)
prefix=$work/prefix folder=$work/program
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLPATH=$bin QUORVEL_SYNTHETIC_CAMERA=1
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  "$src/tools/prefix.sh" stop "$prefix" || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; tail -20 "$work/run.log" >&2 || true; exit 1; }

bench() { wine "$tests/program_bench.exe.so" "$@"; }
driver() { wine "$tests/session_driver.exe.so" "$@"; }
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

"$src/tools/prefix.sh" setup "$prefix" "$bin" unmanaged
mkdir -p "$folder"
cp "$bin/brenic.exe.so" "$bin/razeFieldDefs.xml" "$folder/"
cp -r "$bin/Skin" "$folder/"
key='HKLM\Software\Quorvel\Quorvel Redovove LE'
main='class=AfxFrameOrView42s,text=Quorvel - Quorvel Redovove'
# A coach who has seen the help offer at the first start turns it off; it would stand
# between the start and the main window.
wine reg add "$key" /v LaunchHelp /d 0 /f >/dev/null 2>&1

start() {
  (cd "$folder" && exec wine brenic.exe.so) >>"$work/run.log" 2>&1 &
  pid=$!
}
# Where the capture folder's disk is more than three quarters full, each start warns once
# the main window shows; the coach presses OK.
dismiss_disk_warning() {
  local box='class=#32770,text=Quorvel Redovove'
  if driver wait "$box/text~=capture hard drive" 2 >/dev/null 2>&1; then
    driver press "$box/@1" :: gone "$box" 10 >/dev/null || fail "the disk warning stayed"
  fi
}
stop() {
  bench close 60 || fail "the program did not close"
  wait "$pid" || fail "the program ended with status $?"
  pid=
}
# Starts the program; $took: seconds until its main window was usable. The observer waits
# before the program starts, so that its own start is not counted.
timed_start() {
  bench usable 120 >"$work/usable" &
  local observer=$!
  sleep 2
  local t0
  t0=$(date +%s.%N)
  start
  wait $observer || fail "no usable main window"
  dismiss_disk_warning
  took=$(awk -v t0="$t0" '{printf "%.3f\n", $2 - t0}' "$work/usable")
}
startups() {
  local label=$1 times=()
  for ((r = 1; r <= runs; r++)); do
    timed_start
    times+=("$took")
    stop
    echo "start-up run $r ($label): ${times[-1]} s"
  done
  echo "median start-up to a usable main window ($label): $(printf '%s\n' "${times[@]}" | median) s"
}

# The first start makes the database and the settings; the ones after it are warm.
timed_start
stop
[ -s "$folder/Quorvel.mdb" ] || fail "no database after the first start"
startups "empty database"
wine "$tests/clip_db_fill.exe.so" "Z:${folder//\//\\}\\Quorvel.mdb" 500 "$clips" ||
  fail "the database could not be filled"
startups "$clips clips"

# Live video in channel 0, then the replay ring armed, then clips recorded with the trigger.
start
bench usable 120 >/dev/null || fail "no usable main window"
dismiss_disk_warning
sleep 3
bench cpu "$pid" 3 "$runs" || fail "live preview"
bench cpu "$pid" 3 "$runs" arm || fail "replay ring armed"
post=$(wine reg query "$key" /v PostTrigFrames 2>/dev/null | tr -d '\r' | awk '/PostTrigFrames/ {print $3}')
bench trigger "${post:-30}" $((runs > 2 ? runs : 2)) || fail "trigger"

# The first clip beside the last one in the split view (which makes channel 1 the current
# one), locked at impact.
driver command "$main" 32811 :: sleep 1500 :: command "$main" 32812 :: sleep 500 >/dev/null ||
  fail "split view"
driver click "$main/text=Clip Panel/class=SysListView32,visible" 40 30 double :: sleep 1500 \
  :: command "$main" 32813 :: sleep 1000 >/dev/null || fail "the first clip in channel 1"
[ -n "${QUORVEL_BENCH_SHOT:-}" ] && driver grab "$main" "$QUORVEL_BENCH_SHOT" >/dev/null
bench cpu "$pid" 3 "$runs" || fail "two clips standing"
bench cpu "$pid" 1.8 "$runs" play || fail "two clips locked, playing"
# The recorded clips are unsaved: closing would ask about them. The clean-up ends it.
