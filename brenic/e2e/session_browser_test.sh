#!/usr/bin/env bash
# The database browser and the clip panel through the real program, checked in its windows,
# the database file and the capture folder:
#  - View Database opens first on the Register page and later on the Clips page;
#  - a row whose clip type the definitions do not offer is shown as a swing; e-mailing a row
#    without a video file says "Clip not available";
#  - two stored clips, one with a new drawing, exported together: Yes to saving the changed
#    clips first ends the export (nothing asked further, nothing written);
#  - File/Exit with that unsaved drawing and no capture file asks nothing.
#   session_browser_test.sh <source dir> <bin dir> <session_driver.exe.so>
set -euo pipefail
source "$1/brenic/e2e/session_lib.sh"
session_display "$0" "$@"
session_begin "$@"
source "$src/brenic/e2e/clip_session_lib.sh"

TABS="$DATABASE/class=SysTabControl32"
UNSAVED='class=#32770,text=Unsaved Clips'

start_program
# --- View Database: the Register page first, the Clips page later ---------------------------
for want in 0 1; do
  D command "$M" 32779 :: wait "$DATABASE" 20 >/dev/null || fail "no database browser"
  sleep 0.5
  [ "$(D selected "$TABS")" = "$want" ] ||
    fail "View Database came up on page $(D selected "$TABS"), want $want"
  D press "$DATABASE/@2" :: gone "$DATABASE" 20
done

add_person Ann "O'Brien"
record_clip
open_clip 0
save_clip
record_clip
open_clip 1
save_clip
sql_until 2 'SELECT count(*) FROM VideoClip' >/dev/null || fail "the two clips are not stored"
[ "$(ls "$folder/Capture" | grep -c '^CAP' || true)" = 0 ] || fail "capture files left after saving"

# --- The browser's rows ----------------------------------------------------------------------
sql "UPDATE VideoClip SET ClipType = 'Putt' WHERE ID = (SELECT min(ID) FROM VideoClip)"
sql "UPDATE VideoClip SET VideoClipFileName = '' WHERE ID = (SELECT max(ID) FROM VideoClip)"
D command "$M" 32779 :: wait "$DATABASE" 20 >/dev/null
sleep 0.8
[ "$(D selected "$TABS")" = 1 ] || fail "View Database did not come up on the Clips page"
D press "$CLIPS/@1040" :: sleep 800
[ "$(D text "$CLIPS/@1082")" = "1 of 2" ] || fail "the Clips page shows $(D text "$CLIPS/@1082")"
# Sorted by type, the file-less swing comes first, the 'Putt' row second.
[ "$(D text "$CLIPS/@1047")" = "Swing" ] || fail "first row's type: $(D text "$CLIPS/@1047")"
D press "$CLIPS/@1057"
answer_box "Clip not available" 1 15 || fail "e-mail of a row without a file did not say so"
D press "$CLIPS/@1294" :: sleep 800
[ "$(D text "$CLIPS/@1082")" = "2 of 2" ] || fail "no second row: $(D text "$CLIPS/@1082")"
[ "$(D text "$CLIPS/@1047")" = "Swing" ] ||
  fail "a type the definitions do not offer is shown as \"$(D text "$CLIPS/@1047")\""
D press "$DATABASE/@2" :: gone "$DATABASE" 20
[ "$(sql "SELECT ClipType FROM VideoClip WHERE ID = (SELECT min(ID) FROM VideoClip)")" = Putt ] ||
  fail "the row was written without a save"

# --- Multi-clip export of a changed clip: Yes ends it -----------------------------------------
open_clip 0
D click "$P/@1091" :: click "$P/@1095" :: sleep 300 :: drag "$O" 60 40 250 120 :: sleep 500
D click "$P/@1091" :: sleep 300
D select "$L" 0 :: select "$L" 1 add :: sleep 300
D command "$M" 32840
answer_box "Some of the clips have been modified" 6 15 || fail "no question about the changed clip"
sleep 3
D exists 'class=#32770' >/dev/null 2>&1 && fail "the export went on after Yes: $(D list | grep -i 32770 | head -3)"
[ -z "$(ls "$folder/ExportedClips" 2>/dev/null)" ] || fail "Yes exported clips"

# --- Exit with the unsaved drawing and no capture file: nothing asked -------------------------
D command "$M" 57665
tries=0
while kill -0 "$pid" 2>/dev/null && [ $tries -lt 15 ]; do
  D exists "$UNSAVED" >/dev/null 2>&1 && fail "Exit asked about unsaved clips with no capture file"
  sleep 1
  tries=$((tries + 1))
done
wait_end
echo "database browser and clip panel passed"
