#!/usr/bin/env bash
# A coach's work on a recorded clip through the real program, checked in the database file,
# on disk and in grabbed pictures:
#  - a line, an angle (protractor) and a text drawn on channel 0 with the mouse, undone and
#    redone; the clip saved with its drawing, closed, sent back to the clip panel from the
#    database browser and opened: the same picture, and saved again the same bytes;
#  - the clip trimmed (the frames outside the cut gone from its file, the tabs moved with
#    them) and a JPEG snapshot written;
#  - the clip exported to a clip file from the database browser, deleted from the database
#    with its person, imported back from the file with both, its drawing byte for byte, and
#    listed in the clip panel.
#   session_drawing_test.sh <source dir> <bin dir> <session_driver.exe.so>
# With QUORVEL_SCREENSHOT_DIR set, the main window after the drawing goes there.
set -euo pipefail
source "$1/brenic/e2e/session_lib.sh"
session_display "$0" "$@"
session_begin "$@"
source "$src/brenic/e2e/clip_session_lib.sh"

start_program
add_person Ann "O'Brien"
record_clip
open_clip 0

# --- Drawing -------------------------------------------------------------------------------
# The skinned panel's buttons: 1091 select, 1095 line, 1094 text. The protractor and Edit's
# Undo and Redo are the main window's menu commands (32825, 57643, 57644).
D click "$P/@1091" :: click "$P/@1095" :: sleep 300 :: drag "$O" 60 40 250 120 :: sleep 300
D command "$M" 32825 :: sleep 300 :: click "$O" 330 330 :: sleep 200 :: click "$O" 420 400 :: \
  sleep 200 :: click "$O" 520 330 :: sleep 300
D click "$P/@1094" :: sleep 300 :: click "$O" 60 330 :: sleep 500
# The text is typed in place after a double click on it.
# The clicks of the double click are posted together: the editor found may be one that the
# first click opened and the second one replaces, so the typing is checked in the editor and
# typed again into the one that stays.
D click "$O" 90 350 double :: sleep 500
typed=
for _ in 1 2 3; do
  D wait "$O/class=Edit" 10 >/dev/null || fail "no text editor"
  D type "$O/class=Edit" "Hips" :: sleep 300
  if D waittext "$O/class=Edit" "Hips" 3 >/dev/null 2>&1; then typed=1; break; fi
done
[ -n "$typed" ] || fail "the text editor did not take the typed text"
D click "$P/@1091" :: sleep 300 :: click "$O" 560 60 :: gone "$O/class=Edit" 10 :: sleep 500
D grab "$O" "$work/drawn.bmp"
D command "$M" 57643 :: sleep 700 :: grab "$O" "$work/undone.bmp" :: \
  command "$M" 57644 :: sleep 700 :: grab "$O" "$work/redone.bmp"
cmp -s "$work/drawn.bmp" "$work/undone.bmp" && fail "undo changed nothing on the screen"
cmp -s "$work/drawn.bmp" "$work/redone.bmp" || fail "redo did not bring the drawing back"
shot session-drawing

save_clip
sql_until 1 'SELECT count(*) FROM VideoClip' >/dev/null || fail "the clip is not in the database"
[ "$(sql "SELECT p.FirstName || ' ' || p.LastName FROM VideoClip c JOIN Person p ON p.ID = c.PersonID")" = "Ann O'Brien" ] ||
  fail "the clip is not Ann O'Brien's"
drawing=$(sql 'SELECT hex(Overlay) FROM VideoClip')
# The text as typed and the angle's label (a number of degrees, º being 0xBA in
# Windows-1252).
sql "SELECT writefile('$work/drawing.bin', Overlay) FROM VideoClip" >/dev/null
LC_ALL=C grep -qa 'Hips' "$work/drawing.bin" || fail "the stored drawing has no text \"Hips\""
LC_ALL=C grep -qaP '[0-9]{1,3}\xBA' "$work/drawing.bin" || fail "the stored drawing has no angle label"
# Closed (taken out of the clip panel), sent back to the panel from the database browser and
# opened: a clip made anew from its row. Its drawing layer shows once a drawing tool is
# chosen (a clip's drawing is shown by choice, and a clip read from its row starts hidden).
D select "$L" 0 :: command "$M" 32790 :: sleep 1000
[ "$(clip_count_in_panel)" = 0 ] || fail "the clip stayed in the clip panel"
D command "$M" 32779 :: wait "$DATABASE" 20 >/dev/null
D select "$DATABASE/class=SysTabControl32" 1 :: sleep 800 :: press "$CLIPS/@1106" :: sleep 1000 :: \
  press "$DATABASE/@1" :: gone "$DATABASE" 20
[ "$(clip_count_in_panel)" = 1 ] || fail "the clip did not come back to the clip panel"
open_clip 0
D click "$P/@1095" :: sleep 1000 :: grab "$O" "$work/reopened.bmp" :: click "$P/@1091" :: sleep 300
cmp -s "$work/drawn.bmp" "$work/reopened.bmp" || fail "the reopened clip shows another drawing"
# Saved again: the same bytes.
save_clip
[ "$(sql 'SELECT hex(Overlay) FROM VideoClip')" = "$drawing" ] ||
  fail "saved again, the reopened drawing's bytes differ"

# --- Trim and snapshot ---------------------------------------------------------------------
frames=$(sql 'SELECT Frames FROM VideoClip')
tabs=$(sql 'SELECT TabString FROM VideoClip')
video=$folder/Capture/$(sql 'SELECT VideoClipFileName FROM VideoClip')
size=$(stat -c %s "$video")
# The camera's numbers in the clip file's pictures (a camera late on a loaded machine skips
# numbers, so they need not follow one another), and the first one as channel 0 shows it
# (read above the drawing's text).
mapfile -t numbers < <(D numbers "$video")
[ "${#numbers[@]}" = "$frames" ] || fail "the clip file shows ${#numbers[@]} pictures, not $frames"
D key "$P/@1208" HOME :: sleep 800
[ "$(D bars "$O" 200)" = "${numbers[0]}" ] || fail "the first frame is $(D bars "$O" 200), not ${numbers[0]}"
TRIM='class=#32770,text=Clip Trim'
D click "$P/@1011" :: wait "$TRIM" 15 >/dev/null || fail "no trim dialog"
keys=()
for _ in 1 2 3 4 5 6 7 8 9 10; do keys+=(key "$TRIM/@1056" RIGHT ::); done
for _ in 1 2 3 4 5; do keys+=(key "$TRIM/@1086" LEFT ::); done
D "${keys[@]}" sleep 500
[ "$(D text "$TRIM/@1089")" = "$((frames - 15)) Frames" ] || fail "trim: $(D text "$TRIM/@1089")"
D press "$TRIM/@3"
answer_box "permanently trim" 6 || fail "trim: no confirmation asked"
D gone "$TRIM" 60 || fail "the trim dialog stayed"
# Every tab 10 frames (20 fields) earlier, kept inside the clip.
want=
IFS=, read -ra old <<<"$tabs"
for t in "${old[@]}"; do
  t=$((t - 20))
  [ $t -lt 0 ] && t=0
  [ $t -gt $((2 * (frames - 16) + 1)) ] && t=$((2 * (frames - 16) + 1))
  want+="$t,"
done
# The saved clip's row follows the trim at once, before any save.
row='SELECT Frames || " " || TrimIn || " " || TrimOut || " " || TabString FROM VideoClip'
sql_until "$((frames - 15)) 0 $((frames - 16)) $want" "$row" >/dev/null ||
  fail "trimmed, the row holds $(sql "$row"), want $((frames - 15)) 0 $((frames - 16)) $want"
sleep 2
save_clip
[ "$(sql 'SELECT Frames FROM VideoClip')" = $((frames - 15)) ] || fail "trimmed: $(sql 'SELECT Frames FROM VideoClip') frames"
[ "$(sql 'SELECT TrimIn || "," || TrimOut FROM VideoClip')" = "0,$((frames - 16))" ] ||
  fail "trimmed: trim $(sql 'SELECT TrimIn || "," || TrimOut FROM VideoClip')"
[ "$(stat -c %s "$video")" -lt "$size" ] || fail "the clip's file was not cut"
mapfile -t trimmed < <(D numbers "$video")
[ "${trimmed[*]}" = "${numbers[*]:10:$((frames - 15))}" ] ||
  fail "trimmed: the file holds the pictures ${trimmed[*]}, of ${numbers[*]}"
D key "$P/@1208" HOME :: sleep 800
[ "$(D bars "$O" 200)" = "${trimmed[0]}" ] || fail "trimmed: the first frame is $(D bars "$O" 200), not ${trimmed[0]}"
[ "$(sql 'SELECT TabString FROM VideoClip')" = "$want" ] ||
  fail "trimmed: tabs $(sql 'SELECT TabString FROM VideoClip'), want $want (were $tabs)"

D click "$P/@1042"
file_dialog "Save screen snapshot" "$(winpath "$work/snap.jpg")"
wait_file "$work/snap.jpg" || fail "no snapshot written"
[ "$(head -c 3 "$work/snap.jpg" | od -An -tx1 | tr -d ' ')" = ffd8ff ] || fail "no JPEG snapshot"

# --- Export, delete, import ----------------------------------------------------------------
drawing=$(sql 'SELECT hex(Overlay) FROM VideoClip')
D command "$M" 32779 :: wait "$DATABASE" 20 >/dev/null
D select "$DATABASE/class=SysTabControl32" 1 :: sleep 800
[ "$(D text "$CLIPS/@1082")" = "1 of 1" ] || fail "the database browser shows $(D text "$CLIPS/@1082") clips"
D press "$CLIPS/@1056"
file_dialog "exported clip" "$(winpath "$work/swing.kpx")"
wait_file "$work/swing.kpx" || fail "no clip file exported"
D press "$CLIPS/@1293"
answer_box "delete this Clip" 6 || fail "delete: no confirmation asked"
answer_box "last clip for Ann O'Brien" 6 || fail "delete: the person's record was not offered"
sql_until "0 0" "SELECT (SELECT count(*) FROM VideoClip) || ' ' || (SELECT count(*) FROM Person)" >/dev/null ||
  fail "the clip or its person stayed in the database"
in_panel=$(clip_count_in_panel)
D press "$CLIPS/@1109"
file_dialog "Select a video file to load" "$(winpath "$work/swing.kpx")"
sleep 3
D press "$DATABASE/@1" :: gone "$DATABASE" 20
sql_until 1 'SELECT count(*) FROM VideoClip' >/dev/null || fail "the clip was not imported"
[ "$(clip_count_in_panel)" = $((in_panel + 1)) ] ||
  fail "the imported clip is not in the clip panel ($(clip_count_in_panel) items, were $in_panel)"
[ "$(sql "SELECT p.FirstName || ' ' || p.LastName FROM VideoClip c JOIN Person p ON p.ID = c.PersonID")" = "Ann O'Brien" ] ||
  fail "the imported clip lost its person"
[ "$(sql 'SELECT hex(Overlay) FROM VideoClip')" = "$drawing" ] || fail "the imported drawing differs"
[ "$(sql 'SELECT Frames FROM VideoClip')" = $((frames - 15)) ] || fail "the imported clip is not the trimmed one"
echo "drawing, trim, snapshot, export and import passed"
