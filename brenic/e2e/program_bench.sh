#!/usr/bin/env bash
# Benchmarks of the real program, started as tools/run.sh starts it (its own program folder,
# a fresh prefix, the synthetic camera, a virtual display of its own), measured from outside
# (program_bench.exe.so, the session driver); prints medians of several runs and asserts no
# timing:
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
. "$src/brenic/e2e/session_lib.sh"
session_display "$0" "$@"
tests=$build/tests
session_begin "$src" "$build/bin" "$tests/session_driver.exe.so"
bench() { run_started "$tests/program_bench.exe.so" "$@"; }
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
main='class=AfxFrameOrView42s,text=Quorvel - Quorvel Redovove'
# A coach who has seen the help offer at the first start turns it off; it would stand
# between the start and the main window (so would the auto-import question, answered once).
wine reg add "$settings_key" /v LaunchHelp /d 0 /f >/dev/null 2>&1
wine reg add "$settings_key" /v ImportVideoFiles /d 0 /f >/dev/null 2>&1

# Where the capture folder's disk is more than three quarters full, a start may warn once
# the main window shows; the coach presses OK. Looked for after the start and again before
# the close (a close posted while it shows would reach the program inside its loop).
# A click posted while the box is still being made up can be lost: pressed again then.
dismiss_disk_warning() {
  local box='class=#32770,text=Quorvel Redovove' tries=0
  local warning="$box/text~=capture hard drive"
  drive wait "$warning" "$1" >/dev/null 2>&1 || return 0
  while drive exists "$warning" >/dev/null 2>&1; do
    [ $tries -lt 3 ] || fail "the disk warning stayed"
    tries=$((tries + 1))
    drive press "$box/@1" :: gone "$warning" 10 >/dev/null 2>&1 || true
  done
}
stop() {
  dismiss_disk_warning 0
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
  session_start
  wait $observer || fail "no usable main window"
  took=$(awk -v t0="$t0" '{printf "%.3f\n", $2 - t0}' "$work/usable")
  dismiss_disk_warning 2
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
run_started "$tests/clip_db_fill.exe.so" "Z:${folder//\//\\}\\Quorvel.mdb" 500 "$clips" ||
  fail "the database could not be filled"
startups "$clips clips"

# Live video in channel 0, then the replay ring armed, then clips recorded with the trigger.
timed_start
sleep 3
bench cpu "$pid" 3 "$runs" || fail "live preview"
bench cpu "$pid" 3 "$runs" arm || fail "replay ring armed"
setting() {
  wine reg query "$settings_key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'
}
recorded=$((runs > 3 ? runs : 3))
bench trigger "$(setting PreTrigFrames)" "$(setting PostTrigFrames)" $recorded || fail "trigger"

# The coach watches the replays of the last clip (twice, about 5 s), then stops the
# recording (channel 0 goes on showing the camera) and takes the split view.
clips_list="$main/text=Clip Panel/class=SysListView32,visible"
channel0="$main/class=AfxOleControl42s,@1014" channel1="$main/class=AfxOleControl42s,@1133"
drive sleep 6000 :: command "$main" 32811 :: sleep 1500 :: press "$main/class=#32770/@1023" \
  :: sleep 1000 >/dev/null || fail "the split view"
# A click on a channel makes it the current one, a double click on a clip loads it there (the
# clip panel shows its newest clips).
load() {
  local channel=$1 item=$2
  drive click "$channel" :: sleep 300 :: clickitem "$clips_list" $item double \
    :: sleep 1500 >/dev/null || fail "clip $item into $channel"
  [ "$(drive frame "$channel" 180 540)" -ge 0 ] || fail "clip $item does not show in $channel"
}
# Channel 1 first, channel 0 (then the current one) last; both at their starts, locked at
# impact.
load "$channel1" $((recorded - 2))
load "$channel0" $((recorded - 1))
drive key "$main" HOME :: sleep 500 :: key "$main" F8 :: sleep 1000 >/dev/null || fail "the lock"
shot program-bench-locked
bench cpu "$pid" 3 "$runs" || fail "two clips standing"
# Locked at impact, the first play runs from the impact to the end and rewinds to the start;
# the plays after it run whole (the median of several runs is one of theirs).
bench cpu "$pid" 1.8 "$runs" play || fail "two clips locked, playing"
# Both channels move while they play from the start (each shows the middle half of its
# picture); otherwise the play figure above is not the one of two channels.
frames() { drive frame "$channel0" 180 540 :: frame "$channel1" 180 540 | tr '\n' ' '; }
drive sleep 1500 :: command "$main" 32822 :: sleep 500 >/dev/null
read -r a0 a1 <<<"$(frames)"
sleep 0.5
read -r b0 b1 <<<"$(frames)"
echo "frames of channels 0 and 1 while they play: $a0 $a1, then $b0 $b1"
[ "$a0" -ge 0 ] 2>/dev/null && [ "$a1" -ge 0 ] && [ "$b0" -gt "$a0" ] && [ "$b1" -gt "$a1" ] ||
  fail "the two locked clips do not both play; the play figure is not two channels'"
# The recorded clips are unsaved: closing would ask about them; the session's end ends it.
