#!/usr/bin/env bash
# The real program closed with File/Exit and started again, and its faults on the way,
# checked in the registry, the database file, the program folder and its windows:
#  - a setting changed in the options sheet, File/Exit: nothing asked while every clip is
#    saved; started again: the setting (registry and sheet), the window's place and the
#    docking workspace are back, and so is the clip list (the database browser's saved clip;
#    a recording left unsaved at an Exit that kept it is offered again and restored to the
#    clip panel);
#  - the camera goes off during a recording (`lose=N`): its message, no crash, no clip and no
#    recording left behind, the program keeps working;
#  - a damaged clip file offered for import: refused with a message, the database unchanged.
#   session_restart_test.sh <source dir> <bin dir> <session_driver.exe.so>
set -euo pipefail
source "$1/brenic/e2e/session_lib.sh"
session_display "$0" "$@"
session_begin "$@"
source "$src/brenic/e2e/clip_session_lib.sh"

OPT='class=#32770,text=Options'
UNSAVED='class=#32770,text=Unsaved Clips'
# File/Exit; fails when the program asks about unsaved clips unless ANSWER names the button.
exit_program() {
  D command "$M" 57665
  if [ -n "${1:-}" ]; then
    D wait "$UNSAVED" 20 >/dev/null || fail "Exit asked nothing about the unsaved recording"
    D press "$UNSAVED/@$1"
  else
    local tries=0
    while kill -0 "$pid" 2>/dev/null && [ $tries -lt 10 ]; do
      D exists "$UNSAVED" >/dev/null 2>&1 && fail "Exit asked about unsaved clips, all saved"
      sleep 1
      tries=$((tries + 1))
    done
  fi
  wait_end
}
browser_clips() {
  D command "$M" 32779 :: wait "$DATABASE" 20 >/dev/null
  D select "$DATABASE/class=SysTabControl32" 1 :: sleep 800
  D text "$CLIPS/@1082"
}

# --- Options, Exit, start again ------------------------------------------------------------
start_program
[ -n "$asked" ] || fail "the first start did not ask about importing video files"
add_person Ann "O'Brien"
record_clip
open_clip 0
save_clip
D command "$M" 32776 :: wait "$OPT" 20 >/dev/null || fail "no options sheet"
on_screen "$OPT"
[ "$(D state "$OPT/@1151")" = "visible enabled unchecked" ] || fail "the frame counter was on"
D press "$OPT/@1151" :: sleep 300 :: press "$OPT/@1" :: gone "$OPT" 10
place=$(D rect "$M")
exit_program
read_settings
expect_setting bVideoFrameCount 1
expect_setting ImportVideoFiles 0   # answered No at the first start
[ -s "$folder/quorvel_anaz_LE.wsp" ] || fail "no workspace saved at the exit"
workspace=$(md5sum <"$folder/quorvel_anaz_LE.wsp")

start_program
[ -z "$asked" ] || fail "the auto-import question was asked again"
D command "$M" 32776 :: wait "$OPT" 20 >/dev/null
[ "$(D state "$OPT/@1151")" = "visible enabled checked" ] || fail "the setting did not come back"
D press "$OPT/@2" :: gone "$OPT" 10
[ "$(D rect "$M")" = "$place" ] || fail "the window moved: $(D rect "$M"), was $place"
[ "$(browser_clips)" = "1 of 1" ] || fail "the saved clip is not listed after the start"
D press "$DATABASE/@1" :: gone "$DATABASE" 20
# A recording left unsaved, kept at the Exit.
record_clip
exit_program 1298
[ "$(md5sum <"$folder/quorvel_anaz_LE.wsp")" = "$workspace" ] || fail "the workspace changed"
[ "$(ls "$folder/Capture" | grep -c '^CAP')" = 1 ] || fail "the unsaved recording was not kept"

# --- Faults --------------------------------------------------------------------------------
# The camera goes off 30 seconds into this run, while a recording waits for its trigger; the
# kept recording is restored first.
export QUORVEL_SYNTHETIC_CAMERA=1,lose=900
RESTORE=1300 start_program
tries=0
until [ "$(clip_count_in_panel)" = 1 ]; do
  sleep 1
  tries=$((tries + 1))
  [ $tries -gt 20 ] && fail "the unsaved recording did not come back to the clip panel"
done
D key "$M" F1
# The video control's own message box (captioned "Error").
LOST='class=#32770,text=Error'
D wait "$LOST/text~=Your video camera is not on or not connected" 90 >/dev/null ||
  fail "no message when the camera went off"
D press "$LOST/@1"
sleep 3
kill -0 "$pid" 2>/dev/null || fail "the program ended when the camera went off"
[ "$(clip_count_in_panel)" = 1 ] || fail "a clip was made without the camera"
[ "$(ls "$folder/Capture" | grep -c '^CAP')" = 1 ] || fail "the failed recording left a file"

# A damaged clip file: refused, the database as it was.
head -c 20000 /dev/zero | tr '\0' 'Z' >"$work/damaged.kpx"
before=$(sql .dump)
[ "$(browser_clips)" = "1 of 1" ] || fail "the browser does not work after the camera went off"
D press "$CLIPS/@1109"
file_dialog "Select a video file to load" "$(winpath "$work/damaged.kpx")"
refused=
for _ in $(seq 20); do
  for text in "corrupt" "Invalid file format" "Could not open"; do
    if D exists "class=#32770/text~=$text" >/dev/null 2>&1; then
      refused=$text
      break 2
    fi
  done
  sleep 1
done
[ -n "$refused" ] || fail "the damaged clip file was not refused with a message"
D press "class=#32770,text=Quorvel Redovove/@1" :: sleep 1000
[ "$(sql .dump)" = "$before" ] || fail "the damaged clip file changed the database"
D press "$DATABASE/@1" :: gone "$DATABASE" 20
exit_program 1297
echo "options, restart and faults passed"
