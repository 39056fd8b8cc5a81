# Helpers for the sessions that work on a recorded clip, over session_lib.sh (sourced, not
# run). Source it after `session_display "$0" "$@"` and `session_begin ...`.
#   D ...                          the session driver (drive)
#   start_program                  starts the program and waits until it can be used
#   wait_end                       waits for the program to end by itself (File/Exit)
#   answer_box TEXT ID [SECONDS]   a message box of the program holding TEXT, checked on the
#                                  screen, answered
#   file_dialog CAPTION PATH       a file dialog given a path and confirmed
#   add_person FIRST LAST          a person registered in the database browser
#   record_clip                    an automatic recording (F1, trigger F3) adding one clip
#   open_clip N                    the clip panel's item N opened in channel 0
#   save_clip                      channel 0's clip saved (a new one to the first person)
#   wait_file FILE                 waits until the program has written FILE
#   clip_count_in_panel, winpath FILE
# Window paths: M (main window), P (skinned panel), O (channel 0's drawing layer), L (the clip
# panel's student list), BOX (the program's message boxes), DATABASE and CLIPS (the database
# browser and its clips page).

M="$main"
P="$M/class=#32770"
O="$P/text=OverlayWnd0"
L="$P/@152/class=SysListView32,visible"
BOX='class=#32770,text=Quorvel Redovove'
DATABASE='text=Vido Database'
AUTO_IMPORT='class=#32770,text=Auto-Import Video Files'
CLIPS="$DATABASE/text=Clips"
db=$folder/Quorvel.mdb

D() { drive "$@"; }
# A Windows path of a file under $work.
winpath() { echo "Z:${1//\//\\}"; }

# Starts the program and waits for its main window; the video help offered at the start is
# declined (so is the auto-import question of a first start: $asked is then 1), and the
# capture drive's fill warning that follows it (it depends on the
# machine's disk) answered. With RESTORE set, the question about the recordings left unsaved
# at the last exit must come first and is answered with that button.
start_program() {
  session_start
  if [ -n "${RESTORE:-}" ]; then
    local question='class=#32770,text=Restore Temporary Files'
    D wait "$question" 60 >/dev/null || fail "no question about the unsaved recordings"
    D press "$question/@$RESTORE" :: gone "$question" 30
  fi
  D wait "$M" 60 >/dev/null || fail "no main window"
  # The auto-import question (a first start) comes before the help offer: both declined.
  local tries=0
  asked=
  while [ $tries -lt 20 ]; do
    if D exists "$AUTO_IMPORT" >/dev/null 2>&1; then
      D press "$AUTO_IMPORT/@2" :: gone "$AUTO_IMPORT" 10
      asked=1
    elif D exists 'class=#32770,text=Launch Help' >/dev/null 2>&1; then
      on_screen 'class=#32770,text=Launch Help'
      D press 'class=#32770,text=Launch Help/@2' :: gone 'class=#32770,text=Launch Help' 10
      break
    fi
    sleep 0.5
    tries=$((tries + 1))
  done
  answer_box "of the capture" 1 4 || true
  D wait "$P/@1014" 30 >/dev/null || fail "no skinned panel"
}

wait_end() {
  local tries=0
  while kill -0 "$pid" 2>/dev/null; do
    sleep 1
    tries=$((tries + 1))
    [ $tries -gt 60 ] && fail "the program did not end"
  done
  wait "$pid" || fail "the program ended with status $?"
  pid=
}

# Status 1 when no box holding TEXT came within SECONDS.
answer_box() {
  local text=$1 id=$2 seconds=${3:-10}
  D wait "$BOX/text~=$text" "$seconds" >/dev/null 2>&1 || return 1
  # A message box is modal and topmost: the first of the program's boxes in Z-order.
  on_screen "$BOX"
  D press "$BOX/@$id" :: gone "$BOX/text~=$text" 10
}

# Confirmed as Enter would (a posted click on the dialog's button is not taken).
file_dialog() {
  local caption=$1 path=$2
  D wait "class=#32770,text~=$caption" 15 >/dev/null || fail "no dialog \"$caption\""
  D settext "class=#32770,text~=$caption/class=Edit,@1148" "$path" :: \
    command "class=#32770,text~=$caption" 1 :: gone "class=#32770,text~=$caption" 30
}

# Waits (30 s at most) until FILE is written: the program writes it after its file dialog has
# closed, so it is taken as written once it is there and its size has stayed the same for a
# second. Status 1 when it never was.
wait_file() {
  local file=$1 size=-1 now tries=0
  while :; do
    now=$(stat -c %s "$file" 2>/dev/null || echo 0)
    [ "$now" -gt 0 ] && [ "$now" = "$size" ] && return 0
    size=$now
    tries=$((tries + 1))
    [ $tries -gt 30 ] && return 1
    sleep 1
  done
}

clip_count_in_panel() { D items "$L" | grep -c . || true; }

add_person() {
  local first=$1 last=$2
  D command "$M" 32779 :: wait "$DATABASE" 20 >/dev/null
  D select "$DATABASE/class=SysTabControl32" 0 :: press "$DATABASE/text=Register/@1048" :: \
    sleep 500 :: settext "$DATABASE/text=Register/@1063" "$first" :: \
    settext "$DATABASE/text=Register/@1064" "$last" :: press "$DATABASE/@1" :: gone "$DATABASE" 20
}

record_clip() {
  local before
  before=$(clip_count_in_panel)
  D key "$M" F1
  sleep 3
  D key "$M" F3
  local tries=0
  while [ "$(clip_count_in_panel)" -le "$before" ]; do
    sleep 1
    tries=$((tries + 1))
    [ $tries -gt 40 ] && fail "no clip in the clip panel after the trigger"
  done
  sleep 1
}

open_clip() {
  D clickitem "$L" "$1" double :: wait "$O" 20 >/dev/null || fail "clip $1 did not open"
  sleep 1
}

# A new clip gets the database's first person as its subject in the save sheet; a stored one
# is saved over its row.
save_clip() {
  D command "$M" 32810
  local sheet='class=#32770,text~=Save Clip to Database'
  if D wait "$sheet" 10 >/dev/null 2>&1; then
    D sleep 800 :: select "$sheet/@1068" 0 :: press "$sheet/@1"
    answer_box "Club and view fields are valid" 6 10 || fail "save: no question on club and view"
    D gone "$sheet" 20 || fail "the save sheet stayed"
  else
    D wait "$BOX/@1156" 10 >/dev/null || fail "save: neither the sheet nor the question came"
    D press "$BOX/@1156" :: gone "$BOX/@1156" 20
  fi
  sleep 1
}
