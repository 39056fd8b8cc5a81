# Shared by the scripted sessions that work on a recorded clip: the real program started from
# a program folder of its own in a fresh prefix (X11 driver, no window manager: run them under
# xvfb-run), driven only through session_driver. Source it with these set:
#   src  the source tree     bin  the program folder to copy     driver  session_driver.exe.so
# It sets work, prefix, folder, db and the window paths M (main window), P (skinned panel),
# O (channel 0's drawing layer) and L (the clip panel's student list).
set -euo pipefail
work=$(mktemp -d /tmp/brenic_session.XXXXXX)
prefix=$work/prefix
folder=$work/program
db=$folder/Quorvel.mdb
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLPATH=$bin
export QUORVEL_SYNTHETIC_CAMERA=${QUORVEL_SYNTHETIC_CAMERA:-1}
pid=

M='class=AfxFrameOrView42s,text~=Quorvel - '
P="$M/class=#32770"
O="$P/text=OverlayWnd0"
L="$P/@152/class=SysListView32,visible"
# The program's own message boxes carry its name as their caption.
BOX='class=#32770,text=Quorvel Redovove'
DATABASE='text=Vido Database'
CLIPS="$DATABASE/text=Clips"

session_cleanup() {
  if [ -n "${KEEP_SESSION:-}" ]; then echo "kept $work, program $pid" >&2; return; fi
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
  fi
  "$src/tools/prefix.sh" stop "$prefix" || true
  rm -rf "$work"
}
trap session_cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  [ -f "$work/run.log" ] && tail -20 "$work/run.log" >&2
  exit 1
}

D() { wine "$driver" "$@"; }
# A Windows path of a file under $work.
winpath() { echo "Z:${1//\//\\}"; }
sql() { sqlite3 "$db" "$@"; }

session_setup() {
  "$src/tools/prefix.sh" setup "$prefix" "$bin" unmanaged
  mkdir -p "$folder"
  cp "$bin/brenic.exe.so" "$bin/razeFieldDefs.xml" "$folder/"
  cp -r "$bin/Skin" "$folder/"
}

# Starts the program and waits for its main window; the video help offered at the start is
# declined, and the capture drive's fill warning that follows it (it depends on the
# machine's disk) answered. With RESTORE set, the question about the recordings left unsaved
# at the last exit must come first and is answered with that button.
start_program() {
  (cd "$folder" && exec wine brenic.exe.so) >>"$work/run.log" 2>&1 &
  pid=$!
  if [ -n "${RESTORE:-}" ]; then
    local question='class=#32770,text=Restore Temporary Files'
    D wait "$question" 60 >/dev/null || fail "no question about the unsaved recordings"
    D press "$question/@$RESTORE" :: gone "$question" 30
  fi
  D wait "$M" 60 >/dev/null || fail "no main window"
  if D wait 'class=#32770,text=Launch Help' 10 >/dev/null 2>&1; then
    D press 'class=#32770,text=Launch Help/@2' :: gone 'class=#32770,text=Launch Help' 10
  fi
  answer_box "of the capture" 1 4 || true
  D wait "$P/@1014" 30 >/dev/null || fail "no skinned panel"
}

# Waits for the program to end by itself (File/Exit).
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

# A message box of the program holding TEXT: its button ID pressed (status 1 when none came
# within SECONDS).
answer_box() {
  local text=$1 id=$2 seconds=${3:-10}
  D wait "$BOX/text~=$text" "$seconds" >/dev/null 2>&1 || return 1
  D press "$BOX/@$id" :: gone "$BOX/text~=$text" 10
}

# A file dialog (by caption) given a path and confirmed as Enter would.
file_dialog() {
  local caption=$1 path=$2
  D wait "class=#32770,text~=$caption" 15 >/dev/null || fail "no dialog \"$caption\""
  D settext "class=#32770,text~=$caption/class=Edit,@1148" "$path" :: \
    command "class=#32770,text~=$caption" 1 :: gone "class=#32770,text~=$caption" 30
}

clip_count_in_panel() { D items "$L" | grep -c . || true; }

# A person registered in the database browser's Register page.
add_person() {
  local first=$1 last=$2
  D command "$M" 32779 :: wait "$DATABASE" 20 >/dev/null
  D select "$DATABASE/class=SysTabControl32" 0 :: press "$DATABASE/text=Register/@1048" :: \
    sleep 500 :: settext "$DATABASE/text=Register/@1063" "$first" :: \
    settext "$DATABASE/text=Register/@1064" "$last" :: press "$DATABASE/@1" :: gone "$DATABASE" 20
}

# An automatic recording (the hot keys F1, then F3 for the trigger) that adds one clip to the
# clip panel.
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

# The clip panel's item N opened in channel 0 (a double click), its drawing layer shown.
open_clip() {
  D clickitem "$L" "$1" double :: wait "$O" 20 >/dev/null || fail "clip $1 did not open"
  sleep 1
}

# Saves the clip of channel 0 (Ctrl+S's command). A new clip gets the database's first person
# as its subject in the save sheet; a stored one is saved over its row.
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
