#!/usr/bin/env bash
# A coach's first session through the real program, driven only with what a user has (keys,
# clicks, menu commands, dialog buttons) and checked in the registry, the database file, the
# files on disk and the pictures on the screen (the dialogs, menu and tooltip met on the way
# as the screen shows them, painted):
#  1. first start: settings and database made, the camera's live video in channel 0;
#  2. a student added in the database browser, with an apostrophe and a Windows-1252 letter;
#  3. an automatic recording triggered with the hot key: the clip in the clip panel with the
#     frames before, at and after the trigger, its impact tab at the trigger, stepped field
#     by field;
#  4. a second clip; both side by side, locked at their impacts, stepped together both ways.
# Pictures are read through the synthetic camera's frame numbers (bars and moving stripes).
#   session_recording_test.sh <source dir> <bin dir> <session_driver.exe.so>
set -euo pipefail
source "$1/brenic/e2e/session_lib.sh"
session_display "$0" "$@"
session_begin "$@"

panel="$main/class=#32770"
clips="$main/text=Clip Panel/class=SysListView32,visible"
channel0="$main/class=AfxOleControl42s,@1014"
channel1="$main/class=AfxOleControl42s,@1133"
pre=39 post=30   # the default frames kept before and after the trigger

# Waits until the command's output is the wanted text (20 s at most).
wait_for() {
  local want=$1 have tries=0
  shift
  until have=$("$@" 2>/dev/null) && [ "$have" = "$want" ]; do
    tries=$((tries + 1))
    [ $tries -gt 40 ] && fail "$*: want \"$want\", have \"$have\""
    sleep 0.5
  done
}

# The camera's frame numbers in the pictures of the clip file $1, into the array named $2. A
# camera late on a loaded machine skips numbers (the frames it dropped), so a clip's pictures
# need not be numbered one after another: what a position shows is looked up in its file.
clip_numbers() {
  local numbers count
  numbers=$(drive numbers "$1") || fail "cannot read the clip file $1"
  count=$(wc -l <<<"$numbers")
  [ "$count" -eq $((pre + 1 + post)) ] || fail "the clip file $1 shows $count pictures"
  mapfile -t "$2" <<<"$numbers"
}
# Checksums of channel 0's picture: once it differs from $1 / once it is $1 (5 s at most).
picture() {
  drive grab "$channel0" "$work/picture.bmp"
  md5sum <"$work/picture.bmp"
}
picture_other_than() {
  local sum tries=0
  until sum=$(picture) && [ "$sum" != "$1" ]; do
    tries=$((tries + 1))
    [ $tries -le 25 ] || fail "the picture stayed the same"
    sleep 0.2
  done
  echo "$sum"
}
wait_picture() {
  local tries=0
  until [ "$(picture)" = "$1" ]; do
    tries=$((tries + 1))
    [ $tries -le 25 ] || return 1
    sleep 0.2
  done
}

# --- 1. First start --------------------------------------------------------------------
session_start
drive wait "$main" 60 >/dev/null
# A first start asks once whether to import the CD's clip files: No.
autoimport='class=#32770,text=Auto-Import Video Files'
drive wait "$autoimport/text~=auto-import video files from the CD" 30 >/dev/null ||
  fail "the first start did not ask about importing video files"
drive press "$autoimport/@2" :: gone "$autoimport" 10
# Then it offers the video help once: declined.
drive wait "class=#32770,text=Launch Help" 30 >/dev/null
on_screen "class=#32770,text=Launch Help"
drive press "class=#32770,text=Launch Help/@2" :: gone "class=#32770,text=Launch Help" 10
# On a disk filled beyond 75 % the start warns once, right after that offer: answered.
warning="class=#32770,text=Quorvel Redovove/class=Static,text~=capture hard drive"
if drive wait "$warning" 5 >/dev/null 2>&1; then
  drive press "class=#32770,text=Quorvel Redovove/@1" :: gone "$warning" 10
fi
# The File menu opened with Alt+F and a skin button's tooltip, as the screen shows them.
drive realkey "$main" F alt :: wait "class=#32768" 10 >/dev/null || fail "Alt+F opened no menu"
on_screen "class=#32768"
drive realkey "$main" ESCAPE :: realkey "$main" ESCAPE :: gone "class=#32768" 10
drive hover "$panel/@1091" :: wait "class=tooltips_class32" 10 >/dev/null ||
  fail "no tooltip over a skin button"
on_screen "class=tooltips_class32"
drive hover "$main" 5 5
read_settings
expect_default_settings
[ "$(sql 'SELECT COUNT(*) FROM Person; SELECT COUNT(*) FROM VideoClip;' | tr '\n' ' ')" = "0 0 " ] ||
  fail "the new database is not empty"
# Live video: the camera's frame number moves on in channel 0.
tries=0
until first=$(drive frame "$channel0") && [ "$first" -ge 0 ]; do
  tries=$((tries + 1))
  [ $tries -le 40 ] || { shot step1-no-video; fail "no camera picture in channel 0"; }
  sleep 0.5
done
sleep 1
second=$(drive frame "$channel0")
[ "$first" -ge 0 ] && [ "$second" -gt "$first" ] ||
  fail "no live video in channel 0 (frames $first, then $second)"
shot step1-first-start

# --- 2. A student ----------------------------------------------------------------------
sheet="class=#32770,text~=Database"
people="$sheet/class=#32770,text=Register"
drive command "$main" 32779 :: wait "$people" 20 >/dev/null
on_screen "$sheet"
drive press "$people/@1048" :: sleep 300 :: settext "$people/@1063" "Zoë" \
  :: settext "$people/@1064" "O'Brien" :: waittext "$people/@1111" Adding 5 >/dev/null
drive press "$sheet/@1" :: gone "$sheet" 20
# Stored as Windows-1252 (ë is EB), the apostrophe as it was typed.
[ "$(sql "SELECT hex(FirstName), LastName, Role FROM Person")" = "5A6FEB|O'Brien|Student" ] ||
  fail "the student in the database: $(sql 'SELECT hex(FirstName), LastName, Role FROM Person')"
# Opened again, the browser shows the student as stored (the driver prints Windows-1252).
drive command "$main" 32779 :: wait "$people" 20 >/dev/null
zoe=$(printf 'Zo\xeb')
[ "$(drive items "$people/@1062" | tr '\n' '|')" = "Any Name|O'Brien,$zoe|" ] ||
  fail "the browser's names: $(drive items "$people/@1062" | iconv -f CP1252 -t UTF-8 | tr '\n' '|')"
[ "$(drive text "$people/@1063" :: text "$people/@1064" | tr '\n' '|')" = "$zoe|O'Brien|" ] ||
  fail "the browser shows $(drive text "$people/@1063" :: text "$people/@1064" | iconv -f CP1252 -t UTF-8)"
drive press "$sheet/@2" :: gone "$sheet" 20

# --- 3. Automatic recording ------------------------------------------------------------
# Records with the hot key for automatic recording, waits for the frames before the trigger
# and triggers with the hot key; prints the live frame numbers seen just before and after.
record_clip() {
  local count=$1 tries=0
  drive key "$main" F1
  # The recording's camera counts its frames from 0: enough of them for the frames kept
  # before the trigger.
  sleep 2
  until [ "$(drive frame "$channel0")" -ge $((pre + 15)) ]; do
    tries=$((tries + 1))
    [ $tries -le 40 ] || fail "no recording under way"
    sleep 0.5
  done
  drive frame "$channel0" :: key "$main" F3 :: frame "$channel0" | tr '\n' ' '
  wait_for "$count" eval 'drive items "$clips" | wc -l'
}
read -r before after <<<"$(record_clip 1)"
# After the capture the program records again (the after-record mode is Clipboard): channel 0
# is live once more.
# (The camera's graph is built again first: on a loaded machine that takes a moment.)
first=$(drive frame "$channel0" 2>/dev/null || echo -1)
tries=0
until now=$(drive frame "$channel0" 2>/dev/null) && [ "$first" -ge 0 ] && [ "$now" -gt "$first" ]; do
  [ "$first" -ge 0 ] || first=${now:--1}
  tries=$((tries + 1))
  [ $tries -le 20 ] || fail "channel 0 is not live after the capture"
  sleep 0.5
done
capture=$(ls -S "$folder"/Capture/*.avi | head -n 1)
# A DV frame of this camera is 120000 bytes; the file holds them and little else.
[ $(($(stat -c %s "$capture") / 120000)) -eq $((pre + 1 + post)) ] ||
  fail "the capture file holds $(($(stat -c %s "$capture") / 120000)) frames"

info="class=#32770,text=Clip Information"
# The clip's length and impact tab (in fields) as its information shows them.
clip_info() {
  drive select "$clips" "$1" :: command "$main" 32808 :: wait "$info" 10 >/dev/null
  drive text "$info/@1030" :: text "$info/@1032" | tr '\n' ' '
  drive press "$info/@1" :: gone "$info" 10
}
read -r length impact <<<"$(clip_info 0)"
[ "$length" = "00:02.33" ] || fail "the clip's length is $length, not 70 frames at 29.97 a second"
[ "$impact" = $((2 * pre)) ] || fail "the impact tab is at field $impact, not at the trigger"
clip_numbers "$capture" clip1

# Loaded into channel 0 and stepped: each frame shows twice, its first field then its second,
# in the camera's order, and stepping back shows the same pictures again.
drive clickitem "$clips" 0 double :: sleep 1500 :: key "$main" HOME
wait_for "${clip1[0]}" drive frame "$channel0"
clip1_impact=${clip1[pre]}
[ $clip1_impact -ge $((before - 3)) ] && [ $clip1_impact -le $((after + 3)) ] ||
  fail "the impact frame $clip1_impact is not the one live at the trigger ($before to $after)"
declare -a pictures
for field in 0 1 2 3 4 5; do
  if [ $field -eq 0 ]; then
    pictures[0]=$(picture)
  else
    drive key "$main" RIGHT
    pictures[$field]=$(picture_other_than "${pictures[$((field - 1))]}") ||
      fail "field $field shows the picture of field $((field - 1))"
  fi
  # The frame's number and which of its fields shows (its lines doubled onto rows 0-1, 2-3,
  # ... for the first field, 1-2, 3-4, ... for the second).
  shown=$(drive frame "$channel0" :: field "$channel0" | tr '\n' ' ')
  [ "$shown" = "${clip1[field / 2]} $((field % 2)) " ] ||
    fail "field $field shows frame and field $shown, not ${clip1[field / 2]} $((field % 2))"
done
for field in 4 3 2 1 0; do
  drive key "$main" LEFT
  wait_picture "${pictures[$field]}" || fail "stepping back to field $field shows another picture"
done
# The impact tab's field shows the frame at the trigger, the last one the last recorded.
steps=()
for ((i = 0; i < 2 * pre; i++)); do steps+=(key "$main" RIGHT ::); done
drive "${steps[@]}" sleep 100
wait_for $clip1_impact drive frame "$channel0"
drive key "$main" END
wait_for "${clip1[pre + post]}" drive frame "$channel0"
# The slider carries the clip's eight tab marks (-65, -42, -17, -6, -2, 0, +3 and +19 fields
# from the impact): Up goes from mark to mark, the sixth is the impact, the ninth is the first
# again; Down from there wraps to the last.
ups=()
for ((i = 0; i < 6; i++)); do ups+=(key "$main" UP ::); done
drive "${ups[@]}" sleep 100
wait_for $clip1_impact drive frame "$channel0"
drive key "$main" UP :: key "$main" UP :: key "$main" UP
wait_for "${clip1[(2 * pre - 65) / 2]}" drive frame "$channel0"
drive key "$main" DOWN
wait_for "${clip1[(2 * pre + 19) / 2]}" drive frame "$channel0"
shot step3-tab-marks

# --- 4. A second clip, side by side, locked at impact ----------------------------------
read -r before after <<<"$(record_clip 2)"
read -r length impact <<<"$(clip_info 1)"
[ "$impact" = $((2 * pre)) ] || fail "the second clip's impact tab is at field $impact"
# Its file: the largest in the folder but the first clip's (the recording that follows has
# written nothing yet).
second=$(ls -S "$folder"/Capture/*.avi | grep -vxF "$capture" | head -n 1) || fail "no second clip file"
clip_numbers "$second" clip2
# Split view; the first clip in channel 1, the second in channel 0 (a click on a channel
# makes it the current one; a double click on a clip loads it there).
drive press "$panel/@1023" :: sleep 1000 :: click "$channel1" :: sleep 300 \
  :: clickitem "$clips" 0 double :: sleep 1500 :: click "$channel0" :: sleep 300 \
  :: clickitem "$clips" 1 double :: sleep 1500 :: key "$main" HOME
# Each channel shows the middle half of its picture: columns 180 to 540.
wait_for "${clip2[0]}" drive frame "$channel0" 180 540
clip2_impact=${clip2[pre]}
[ $clip2_impact -ge $((before - 3)) ] && [ $clip2_impact -le $((after + 3)) ] ||
  fail "the second impact frame $clip2_impact is not the one live at the trigger ($before to $after)"
drive key "$main" F8
# Locked at impact (the hot key), then stepped forward four fields and back eight: both
# channels move together, each frame's first field then its second.
both() {
  drive frame "$channel0" 180 540 :: field "$channel0" :: frame "$channel1" 180 540 \
    :: field "$channel1" | tr '\n' ' '
}
# $1: fields from the impact, which is a first field (78): frames and parity from there.
check_both() {
  local frames=$((($1 - ($1 < 0 ? 1 : 0)) / 2)) parity=$((($1 % 2 + 2) % 2))
  wait_for "${clip2[pre + frames]} $parity ${clip1[pre + frames]} $parity " both
}
check_both 0
shot step4-split-locked
last=0
for field in 1 2 3 4 3 2 1 0 -1 -2 -3 -4; do
  if [ $field -gt $last ]; then drive key "$main" RIGHT; else drive key "$main" LEFT; fi
  last=$field
  check_both $field
done
echo "session steps 1 to 4 passed"
