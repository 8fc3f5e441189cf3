#!/usr/bin/env bash
# gtk_e2e_test.sh DEB ZIP: the GTK program from the files of its Debian package DEB, played as a player does in
# a virtual X server with a window manager, a session bus and a private audio server, beside the Windows
# program of the release zip ZIP under Wine: both restore the same prepared game and must draw its board and
# preview pixel for pixel alike; then the native program is played and heard, its dialogs read through the
# accessibility bus, closed like a player, started a second time (the first comes forward), ended by SIGTERM
# under a dialog and by its X server's end, and the files of each program are read by the other.
# Environment: DOVRA_GTK_E2E_WORK, the run's folder (default ./gtk-e2e-run).
# Exits 77 after printing "SKIPPED: why" when the sounds cannot be heard here (every other check still runs).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/e2e_lib.sh"

[ $# -eq 2 ] || die "usage: gtk_e2e_test.sh DEB|ROOT ZIP"
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")  # or a folder of the package's files, laid out
zip=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=${DOVRA_GTK_E2E_WORK:-$PWD/gtk-e2e-run}
rm -rf "$work"
mkdir -p "$work"

if [ -d "$deb" ]; then cp -a "$deb" "$work/root"; else dpkg-deb -x "$deb" "$work/root"; fi
dovra=$work/root/usr/games/dovra
home=$work/home
data=$home/.local/share/dovra
mkdir -p "$data"
unzip -q "$zip" -d "$work/win"
win_run=$(echo "$work"/win/dovra-*)
prepared_prefs "$data/prefs.txt"
cp "$data/prefs.txt" "$win_run/prefs.txt"

e2e_audio_start
e2e_xvfb_start

# ---------------------------------------------------------------- the Windows program's board, for reference
# Before the window manager starts: the test prefix's Wine windows draw their own frames.
e2e_wine_start "$work/prefix"
e2e_windows_start "$win_run" windows
e2e_prepared_drawn windows
windows_preview=("${preview[@]}")
# The board and the preview column as client pixels: the top row of squares is drawn one pixel high.
crop() { /usr/bin/convert "$work/$1.png" -crop "$4x$5+$((X + OX + $2))+$((Y + OY + $3))" +repage "$work/$6.png"; }
crop windows 0 0 144 143 windows-board
for i in 0 1 2; do crop windows 144 $((i * 16)) 16 15 "windows-preview$i"; done
# Each kind's picture as the Windows program draws it, less the row and column a preview slot leaves out.
for p in "${pieces[@]}"; do
  IFS=: read -r x y k <<<"$p"
  crop windows $((x * 16)) $((y * 16)) 15 14 "windows-kind$k"
done
e2e_close "$windows_pid"
dovra_wine_stop
server_up=0

# ---------------------------------------------------------------- the native program, as its package has it
e2e_wm_start
e2e_session_bus_start
# play: starts the program as a player does, from a folder of no importance; sets game_pid.
play() {
  (cd / && HOME=$home && export HOME && unset XDG_DATA_HOME && exec "$dovra" </dev/null >>"$work/dovra.log" 2>&1) &
  game_pid=$!
  e2e_pids+=("$game_pid")
  e2e_window "$game_pid" 30
  e2e_first_paint start
}
# windows_of_dovra: what the accessibility bus shows of the program's windows, labels and buttons.
windows_of_dovra() { timeout 30 /usr/bin/python3 "$here/atspi_windows.py" dovra; }
# shown WINDOW: waits for the window titled WINDOW to show, and leaves its texts in $work/shown.
shown() {
  for _ in $(seq 50); do
    windows_of_dovra | awk -v w="window $1" '$0 == w { on = 1; next } /^window / { on = 0 } on' >"$work/shown"
    [ -s "$work/shown" ] && return 0
    sleep 0.2
  done
  fail "no window $1 shows: $(windows_of_dovra | tr '\n' ';')"
}
same_pixels() { # A B WHAT: two client crops, equal to the pixel
  local n
  n=$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true)
  [ "$n" = 0 ] || fail "$3: $n pixels differ from the Windows program's"
}

play
e2e_prepared_drawn start
crop start 0 0 144 143 native-board
same_pixels native-board windows-board "the board"
for i in 0 1 2; do
  crop start 144 $((i * 16)) 16 15 "native-preview$i"
  if [ "${preview[$i]}" = "${windows_preview[$i]}" ]; then
    same_pixels "native-preview$i" "windows-preview$i" "preview slot $i"
  fi
  # Either way the slot is the piece's picture less its grid lines, as the Windows program draws that kind.
  crop start 144 $((i * 16)) 15 14 "native-slot$i"
  same_pixels "native-slot$i" "windows-kind${preview[$i]}" "preview slot $i (kind ${preview[$i]})"
done
log "the board and the preview are the Windows program's, pixel for pixel"

# ---------------------------------------------------------------- played and heard
e2e_hear_refusal "$data/prefs.txt" "$work/root/usr/share/games/dovra"
e2e_move_prepared "$work/root/usr/share/games/dovra"

# ---------------------------------------------------------------- its dialogs, as the accessibility bus reads them
xdotool key alt+h
sleep 0.3
xdotool key a
shown "About Dovra"
grep -qxF 'label Dovra\nVersion 1.08\n' <(head -c 27 "$work/shown"; echo) ||
  fail "the About box does not begin with the name and version: $(head -n 1 "$work/shown")"
grep -qF 'out of empty squares on the playing board.  You get points for\narranging' "$work/shown" ||
  fail "the About box does not hold the rules"
grep -qx 'button OK' "$work/shown" || fail "the About box has no OK button"
xdotool key Escape
log "Help, About shows the program, its version and the rules"
xdotool key F10 # File has no underlined letter: F10 opens the menu bar at File
sleep 0.3
xdotool key s
shown "Top Scores"
[ "$(grep -c '^label ' "$work/shown")" -eq $((2 + 2 * 10)) ] || fail "Top Scores: not two headings and ten rows"
head -n 2 "$work/shown" | tr '\n' ';' | grep -qx 'label Name;label Score;' || fail "Top Scores: no headings Name and Score"
xdotool key Return
log "File, Show Scores shows the ten rows"

# ---------------------------------------------------------------- the Big Board, closed like a player
e2e_big_board
# Back to the Little Board, which the next start finds the board by.
menu l
for _ in $(seq 50); do
  sleep 0.1
  [ "$(xdotool getwindowgeometry --shell "$win" | sed -n 's/^WIDTH=//p')" -eq $((WIDTH - 160)) ] && break
done
[ "$(xdotool getwindowgeometry --shell "$win" | sed -n 's/^WIDTH=//p')" -eq $((WIDTH - 160)) ] ||
  fail "Edit, Little Board: the window did not shrink back"
e2e_close "$game_pid"
e2e_saved_prepared "$data/prefs.txt"
log "closed with alt+F4: prefs.txt holds the game as it was left"

# ---------------------------------------------------------------- one Dovra per player
play
first=$win
xdotool windowminimize "$first"
sleep 0.5
files_before=$(cd "$data" && find . -type f -printf '%P %s %T@\n' | sort)
t=$(date +%s.%N)
(cd / && HOME=$home exec "$dovra" </dev/null >>"$work/dovra.log" 2>&1) &
second_pid=$!
e2e_pids+=("$second_pid")
e2e_ended "$second_pid" "a second start"
second_s=$(awk -v a="$t" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
[ "$(xdotool search --onlyvisible --name '^Dovra$' | tr '\n' ' ')" = "$first " ] ||
  fail "after a second start the Dovra windows are: $(xdotool search --onlyvisible --name '^Dovra$' | tr '\n' ' ')"
for _ in $(seq 30); do
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$first" ] && break
  sleep 0.1
done
[ "$(xdotool getactivewindow 2>/dev/null)" = "$first" ] || fail "a second start did not bring the first window forward"
[ "$(cd "$data" && find . -type f -printf '%P %s %T@\n' | sort)" = "$files_before" ] || fail "a second start changed the player's files"
log "a second start ended after $second_s s and brought the first window forward; no file touched"

# ---------------------------------------------------------------- SIGTERM under the New High Score dialog
# New Game offers the unfinished game's 1234 points for the table: a name typed, OK not yet pressed.
xdotool key F10 # File has no underlined letter: F10 opens the menu bar at File
sleep 0.3
xdotool key n
shown "New High Score"
grep -qx 'label 1234' "$work/shown" || fail "New High Score: the score 1234 is not shown"
for text in 'Congratulations!' '  You made it to the top ten list.' 'Your score:' 'Please enter your name:'; do
  grep -qxF "label $text" "$work/shown" || fail "New High Score: no \"$text\""
done
xdotool type --delay 20 'Zoë'
sleep 0.3
kill -TERM "$game_pid"
e2e_ended "$game_pid" "dovra, ended by SIGTERM,"
[ "$(head -n 1 "$data/scores.txt" | od -An -tx1 | tr -d ' \n')" = "$(printf '1234 Zo\xeb\n' | od -An -tx1 | tr -d ' \n')" ] ||
  fail "SIGTERM under the New High Score dialog: scores.txt begins with '$(head -n 1 "$data/scores.txt")', expected 1234 and the name in the Windows code page"
grep -qx 'current_score = 0' "$data/prefs.txt" || fail "SIGTERM under New Game's dialog: the new game was not saved"
log "SIGTERM under New Game's dialog: the name typed is stored, the new game saved"

# ---------------------------------------------------------------- each program reads the other's files
# The Windows program's prefs.txt and scores.txt, with their CR LF line ends, read by the native one.
prepared_prefs "$work/prepared.txt"
sed 's/$/\r/' "$work/prepared.txt" >"$data/prefs.txt"
printf '900 Ann\r\n800 Zo\xeb\r\n0 \r\n0 \r\n0 \r\n0 \r\n0 \r\n0 \r\n0 \r\n0 \r\n1\r\n' >"$data/scores.txt"
play
e2e_prepared_drawn start
xdotool key F10 # File has no underlined letter: F10 opens the menu bar at File
sleep 0.3
xdotool key s
shown "Top Scores"
sed -n 3,6p "$work/shown" | tr '\n' ';' | grep -qx 'label Ann;label 900;label --> Zoë;label 800;' ||
  fail "Top Scores of a scores.txt written by the Windows program: $(sed -n 3,6p "$work/shown" | tr '\n' ';')"
xdotool key Return
e2e_close "$game_pid"
log "the Windows program's prefs.txt and scores.txt read, names in its code page shown as they were typed"
# The native program's prefs.txt, with LF line ends, read by the Windows program.
cp "$data/prefs.txt" "$win_run/prefs.txt"
e2e_wine_start "$work/prefix"
e2e_windows_start "$win_run" windows-reads
e2e_prepared_drawn windows-reads
log "the native program's prefs.txt read by the Windows program"
stop_pid "$windows_pid"
dovra_wine_stop
server_up=0

# ---------------------------------------------------------------- the X server gone, a move unsaved
# As at the end of an X session without a session manager: the game is kept all the same.
prepared_prefs "$data/prefs.txt"
sed -i 's/^sound_enabled = 0$/sound_enabled = 1/' "$data/prefs.txt"
play
e2e_prepared_drawn start
e2e_move_prepared "$work/root/usr/share/games/dovra"
stop_pid "$xvfb_pid"
timeout 10 tail --pid="$game_pid" -f /dev/null || fail "dovra still runs 10 s after its X server ended"
e2e_saved_prepared "$data/prefs.txt"
log "the X server ended under it: prefs.txt holds the game as it was left"

[ -z "$no_sound" ] || skip "the sound checks: $no_sound (every other check passed)"
echo "e2e: passed: the GTK program from $(basename "$deb"): board and preview the Windows program's to the pixel, played, heard, dialogs read, closed and saved"
echo "e2e: a second start ended after $second_s s, the first brought forward; SIGTERM under a dialog and the X server's end kept the name and the game; each program read the other's files"
