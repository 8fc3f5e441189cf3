#!/usr/bin/env bash
# e2e_test.sh ZIP CC: unpacks a release zip and plays the program in it, 32- or 64-bit, under Wine in a
# virtual X server, listening to it through a private audio server. It restores a prepared game, checks the
# drawn window pixel by pixel, checks that the folder holds a hidden lock while the game runs and that a
# second start in the same folder, by its name, a drive letter mapped to it, its 8.3 name or its name in
# capitals, ends at once and brings the first to the front, while one in another folder runs; checks that a
# refused click is silent with Sound off and plays woops.wav with Sound on, moves a piece with the mouse and
# hears its steps and drops, switches to the Big Board, closes the window like a player and checks the saved
# game in prefs.txt and that the lock went with the close. All along, a winmm.dll built with CC (the mingw C
# compiler of the program's kind) lies beside the program, and Wine prefers such a DLL as Windows does: it
# must never run.
# Environment: DOVRA_E2E_PREFIX (the Wine prefix to use, made when missing), DOVRA_E2E_WORK (the folder the
# zip is unpacked in, default ./e2e-run), E2E_PICTURES (a folder: also save screenshot.png, big-board.png
# and the frames of the move in move/ there).
# Exits 77 after printing "SKIPPED: why" when the program or its sound cannot be checked on this machine.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/e2e_lib.sh"

[ $# -eq 2 ] || die "usage: e2e_test.sh ZIP CC"
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
cc=$2
[ -f "$zip" ] || die "no package at $zip"
work=${DOVRA_E2E_WORK:-$PWD/e2e-run}
prefix=${DOVRA_E2E_PREFIX:-$PWD/e2e-wineprefix}
pictures=${E2E_PICTURES:-}
case $pictures in "" | /*) ;; *) pictures=$PWD/$pictures ;; esac

# ---------------------------------------------------------------- the package, unpacked like a player would
# dovra-1.08-win32.zip holds one folder dovra-1.08/ with the program, its sounds, the README and the license.
rm -rf "$work"
mkdir -p "$work"
top=$(basename "$zip" .zip)
top=${top%-win*}
size=$(stat -c %s "$zip")
[ "$size" -lt 204800 ] || fail "$zip: $size bytes, more than 200 KB"
listed=$(unzip -Z1 "$zip" | sort)
[ "$listed" = "$(printf "$top/%s\n" "" dovra.exe README.txt LICENSE.txt "${sounds[@]}" | sort)" ] ||
  fail "$zip holds: $(tr '\n' ' ' <<<"$listed")"
unzip -q "$zip" -d "$work"
run=$work/$top
for text in README.txt LICENSE.txt; do
  [ "$(grep -c $'\r$' "$run/$text")" -eq "$(wc -l <"$run/$text")" ] || fail "$text: not every line ends in CR LF"
done
exe=$run/dovra.exe
log "unpacked $(basename "$zip") ($size bytes)"

dovra_wine32_check "$exe" || skip "$DOVRA_WINE32_WHY"

prepared_prefs "$run/prefs.txt"

# ---------------------------------------------------------------- a winmm.dll beside the program
# Windows looks for a DLL it does not keep to itself beside the program first, so a winmm.dll left in a
# downloads folder would be loaded by a program importing it. This one leaves a marker when it is loaded,
# and plays nothing, so that a program that took it would still start, silent.
planted=$run/winmm-ran.txt
cat >"$work/winmm.c" <<'EOF'
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        CloseHandle(CreateFileA("winmm-ran.txt", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    return TRUE;
}
__declspec(dllexport) BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags)
{
    (void)sound;
    (void)flags;
    return TRUE;
}
EOF
"$cc" -shared -O1 -Wl,--kill-at -o "$run/winmm.dll" "$work/winmm.c" >"$work/winmm.log" 2>&1 ||
  fail "building the planted winmm.dll with $cc: $(cat "$work/winmm.log")"

# ---------------------------------------------------------------- the game started
e2e_audio_start
e2e_xvfb_start
e2e_wine_start "$prefix"
# Every Dovra started from here on prefers a winmm.dll found along the search for one, as Windows does.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm=n,b"

# A drive letter mapped to the folder. Wine names a folder by the drive that maps it deepest, so the final
# path that names the first Dovra's window is taken through this drive: it is there before the first start.
e2e_drive "$run"
# start_bat NAME FOLDER: NAME.bat in the run's folder, which starts dovra.exe in FOLDER as Windows spells it;
# cmd waits for the program and ends with its status.
start_bat() { printf '@echo off\r\ncd /d %s\r\ndovra.exe\r\n' "$2" >"$work/$1.bat"; }
# The first Dovra is started in the folder by its own name on drive Z:, the later starts by other names.
zrun=$(win_path "$run")
start_bat first "$zrun"
cd "$run"
"$DOVRA_WINE64" cmd /c "$(win_path "$work")\\first.bat" </dev/null >"$work/dovra.log" 2>&1 &
game_pid=$!
e2e_pids+=("$game_pid")
log "dovra.exe started in $zrun through cmd, pid $game_pid; $drive is mapped to the same folder"

e2e_window "$game_pid"
e2e_first_paint start
if [ -n "$pictures" ]; then
  mkdir -p "$pictures"
  /usr/bin/convert "$work/start.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$pictures/screenshot.png"
fi

# ---------------------------------------------------------------- the restored game, as drawn
e2e_prepared_drawn start

for x in 0 4 8; do
  for y in 0 4 8; do
    expect_px start $((x * 16 + 15)) $((y * 16 + 7)) "$grid" "grid line right of square ($x, $y)"
    expect_px start $((x * 16 + 7)) $((y * 16 + 14)) "$grid" "grid line under square ($x, $y)"
    expect_px start $((x * 16 + 7)) $((y * 16 + 1)) "$white" "inside square ($x, $y)"
  done
done
expect_px start 7 143 "$white" "the row under the board"
# Filled pieces at their centre pixel: the diamond (3) and the heart (6).
expect_px start $((5 * 16 + 7)) $((1 * 16 - 1 + 7)) "${colour[3]}" "centre of the diamond at (5, 1)"
expect_px start $((4 * 16 + 7)) $((5 * 16 - 1 + 7)) "${colour[6]}" "centre of the heart at (4, 5)"
log "grid lines and piece colours are right"

# The preview: three pieces at x 144..158 without grid lines, nothing below them.
for i in 0 1 2; do
  expect_px start 159 $((i * 16 + 7)) "$white" "right of preview slot $i"
  expect_px start 151 $((i * 16 + 14)) "$white" "under preview slot $i"
done
[ "$(box start 144 47 16 96 | awk '{ print $2 }')" = "$white" ] || fail "something is drawn under the preview"

# The New Game button: 80 x 25 at (64, 148), a grey face with dark text, white around it.
button=$(box start 64 148 80 25)
face=$(head -n 1 <<<"$button" | awk '{ print $2 }')
IFS=, read -r r g b <<<"$face"
[ "$r" = "$g" ] && [ "$g" = "$b" ] && [ "$r" -lt 255 ] || fail "New Game button: main colour ($face) is not a grey face"
awk '{ split($2, c, ","); if (c[1] + c[2] + c[3] < 200) d += $1 } END { exit !(d >= 20) }' <<<"$button" ||
  fail "New Game button: no text on it"
# Its outer top and left edges are drawn white (lit), its right and bottom edges dark: so the face
# begins at (65, 149) and the dark edges end at x 143 and y 172.
expect_px start 100 147 "$white" "above the New Game button"
expect_px start 144 160 "$white" "right of the New Game button"
expect_px start 100 173 "$white" "under the New Game button"
[ "$(px start 65 160)" != "$white" ] || fail "New Game button: not drawn from x 64"
[ "$(px start 100 149)" != "$white" ] || fail "New Game button: not drawn from y 148"
[ "$(px start 143 160)" != "$white" ] || fail "New Game button: its right edge is not at x 143"
[ "$(px start 100 172)" != "$white" ] || fail "New Game button: its bottom edge is not at y 172"

# The score: dark text centred on x 32, its top at y 148, in the strip left of the button.
read -r sx0 sx1 sy0 sy1 < <(awk -F'[,:() ]+' -v ox="$OX" -v oy="$OY" '
  NR > 1 { x = $1 - ox; y = $2 - oy
    if (x >= 0 && x < 64 && y >= 144 && y < 177 && $3 + $4 + $5 < 384) {
      if (!n || x < x0) x0 = x; if (!n || x > x1) x1 = x
      if (!n || y < y0) y0 = y; if (!n || y > y1) y1 = y; n = 1 } }
  END { if (n) print x0, x1, y0, y1; else print "none" }' "$work/start.txt")
[ "$sx0" != none ] || fail "no score text under the board"
centre2=$((sx0 + sx1))
[ $centre2 -ge 60 ] && [ $centre2 -le 68 ] || fail "score text spans x $sx0..$sx1, not centred on 32"
[ "$sy0" -ge 148 ] && [ "$sy0" -le 153 ] || fail "score text starts at y $sy0, not at 148"
[ $((sx1 - sx0)) -ge 16 ] || fail "score text is $((sx1 - sx0 + 1)) pixels wide, too narrow for $score"
log "button and score text are in place"

# ---------------------------------------------------------------- one Dovra per folder
dovra_windows() { xdotool search --onlyvisible --name '^Dovra$' 2>/dev/null | sort || true; }
files() { find "$run" -type f -printf '%P %s %T@\n' | sort; }
# While Dovra runs, its folder holds a hidden lock file.
[ -f "$run/dovra.lock" ] || fail "no dovra.lock in the folder while Dovra runs"
attrib=$("$DOVRA_WINE64" cmd /c attrib "$zrun\\dovra.lock" </dev/null 2>/dev/null | tr -d '\r')
[[ $attrib == *H*dovra.lock ]] || fail "dovra.lock is not hidden: attrib says '$attrib'"
log "the folder holds a hidden dovra.lock"
# A Dovra in another folder runs beside this one, in front while this folder's is started again.
other=$work/other
mkdir -p "$other"
cp "$exe" "$other/"
(cd "$other" && exec "$DOVRA_WINE64" "$other/dovra.exe" </dev/null >>"$work/dovra.log" 2>&1) &
e2e_pids+=("$!")
other_win=
for _ in $(seq 150); do
  other_win=$(dovra_windows | grep -vx "$win" | head -n 1 || true)
  [ -n "$other_win" ] && break
  sleep 0.1
done
[ -n "$other_win" ] || fail "a Dovra started in another folder showed no window beside the first"
both=$(printf '%s\n' "$win" "$other_win" | sort)
log "a Dovra in another folder runs beside the first"
# Second starts in this folder: as a player starts it there (Wine names the folder by the drive letter), then
# through cmd by the drive letter, the 8.3 short name and the name in capitals. Each ends at once, touching
# no file, and brings the first Dovra in front of the other folder's.
printf '@echo off\r\ncd /d %s\r\nfor %%%%I in (.) do echo %%%%~sI\r\n' "$zrun" >"$work/short.bat"
short=$("$DOVRA_WINE64" cmd /c "$(win_path "$work")\\short.bat" </dev/null 2>/dev/null | tr -d '\r')
[ -n "$short" ] || fail "cmd gave no 8.3 name of $zrun"
spellings=("" "$drive\\" "$short" "${zrun^^}")
ran=()
ended=()
for spelling in "${spellings[@]}"; do
  as=${spelling:-"wine64 dovra.exe in the folder"}
  before=$(files)
  xdotool windowfocus "$other_win"
  for _ in $(seq 30); do
    [ "$(xdotool getwindowfocus)" = "$other_win" ] && break
    sleep 0.1
  done
  [ "$(xdotool getwindowfocus)" = "$other_win" ] || fail "the other folder's Dovra could not be put in front"
  t=$(date +%s.%N)
  if [ -z "$spelling" ]; then
    "$DOVRA_WINE64" "$exe" </dev/null >>"$work/dovra.log" 2>&1 &
  else
    start_bat second "$spelling"
    "$DOVRA_WINE64" cmd /c "$(win_path "$work")\\second.bat" </dev/null >>"$work/dovra.log" 2>&1 &
  fi
  second_pid=$!
  e2e_pids+=("$second_pid")
  for _ in $(seq 100); do
    kill -0 "$second_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$second_pid" 2>/dev/null; then
    # A second Dovra runs: it is ended without a close, so it saves nothing, and the next name is tried.
    ran+=("$as;")
    log "started as $as: a second Dovra ran beside the first"
    for w in $(dovra_windows); do
      [ "$w" = "$win" ] || [ "$w" = "$other_win" ] || stop_pid "$(xdotool getwindowpid "$w")"
    done
    stop_pid "$second_pid"
    continue
  fi
  rc=0
  wait "$second_pid" || rc=$?
  secs=$(awk -v a="$t" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
  [ $rc -eq 0 ] || fail "started as $as, the second Dovra ended with status $rc"
  [ "$(dovra_windows)" = "$both" ] || fail "after a second start as $as the windows are: $(dovra_windows | tr '\n' ' ')"
  [ "$(files)" = "$before" ] || fail "a second start as $as changed the folder's files: $(diff <(echo "$before") <(files) | tr '\n' ' ')"
  for _ in $(seq 20); do
    [ "$(xdotool getwindowfocus)" = "$win" ] && break
    sleep 0.1
  done
  [ "$(xdotool getwindowfocus)" = "$win" ] || fail "after a second start as $as the first Dovra is not in front"
  ended+=("$as ($secs s)")
  log "started as $as: ended after $secs s; no file touched, the first Dovra in front"
done
[ ${#ran[@]} -eq 0 ] || fail "a second Dovra ran in the folder when started as: ${ran[*]}"
stop_pid "$(xdotool getwindowpid "$other_win")"
# Every start here would have loaded it by now: a DLL a program imports is loaded before the program runs.
[ ! -e "$planted" ] || fail "the winmm.dll beside dovra.exe ran inside it"
log "the winmm.dll beside dovra.exe never ran"

# ---------------------------------------------------------------- hearing it
e2e_hear_refusal "$run/prefs.txt" "$run"

# ---------------------------------------------------------------- a move with the mouse
# With E2E_PICTURES, the frames of the move, named by the time in ms, from the selected piece on.
record_frames() {
  rm -rf "$pictures/move"
  mkdir -p "$pictures/move"
  while [ ! -e "$work/frames.stop" ]; do import -window "$win" "$pictures/move/$(date +%s%3N).png"; done &
  frames_pid=$!
  e2e_pids+=("$frames_pid")
  for _ in $(seq 50); do
    [ -n "$(ls "$pictures/move")" ] && break
    sleep 0.1
  done
}
[ -z "$pictures" ] || e2e_before_move=record_frames
e2e_move_prepared "$run"
if [ -n "$pictures" ]; then
  sleep 1
  touch "$work/frames.stop"
  wait "$frames_pid"
  frames_pid=
fi

# ---------------------------------------------------------------- the Big Board
e2e_big_board
[ -z "$pictures" ] || /usr/bin/convert "$work/big.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$pictures/big-board.png"

# ---------------------------------------------------------------- closing like a player
sleep 0.3
e2e_close "$game_pid"
[ ! -e "$run/dovra.lock" ] || fail "dovra.lock is still in the folder after the close"

# ---------------------------------------------------------------- the saved game
prefs=$run/prefs.txt
lines=$(wc -l <"$prefs")
[ "$(grep -c $'\r$' "$prefs")" -eq "$lines" ] || fail "prefs.txt: not every line ends in CR LF"
tr -d '\r' <"$prefs" >"$work/prefs.lf"
head -n 10 "$work/prefs.lf" >"$work/prefs.head"
diff -u - "$work/prefs.head" <<EOF || fail "prefs.txt: the header, settings or sound names differ"
# Preferences file for Dovra
cell_size = 32
display_preview = 1
sound_enabled = 1
sound00 = move.wav
sound01 = woops.wav
sound02 = drop.wav
sound03 = zip.wav
sound04 = gameover.wav
sound05 = winner.wav
EOF
e2e_saved_prepared "$prefs"
log "prefs.txt holds the game as it was left"
[ -z "$no_sound" ] || skip "the sound checks: $no_sound (every other check passed)"
echo "e2e: passed: dovra.exe from $(basename "$zip"), drawn, played, heard with Sound off and on"
echo "e2e: one Dovra per folder (started as $zrun, $drive mapped to it): second starts as $(printf '%s, ' "${ended[@]}")each ended, files untouched, the first brought in front of another folder's Dovra, which ran"
echo "e2e: a winmm.dll beside dovra.exe, preferred by Wine as by Windows, never ran; the sounds came from the system's"
