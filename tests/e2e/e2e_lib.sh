# e2e_lib.sh: sourced by the end-to-end tests: a virtual X server (with a window manager for the GTK
# program), a private audio server and a Wine server for one run, the Dovra window found, read pixel by
# pixel, clicked and closed like a player, and every process of the run ended however the test ends. The
# caller sets `work`, the run's folder, and uses `set -euo pipefail`.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

e2e_t0=$(date +%s.%N)
log() { printf '[%5.1f s] %s\n' "$(awk -v a="$e2e_t0" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')" "$*"; }
fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }
skip() { printf 'SKIPPED: %s\n' "$*"; exit 77; }

# The program's look: the colour of each piece kind, the background and the grid.
colour=([1]=160,32,0 [2]=0,160,64 [3]=0,0,255 [4]=255,0,255 [5]=255,128,0 [6]=255,0,0 [7]=32,0,0)
white=255,255,255
grid=32,192,255

# ---------------------------------------------------------------- processes, ended on every exit
e2e_pids=() # the test's own processes (the game among them), ended first
e2e_drives=() # drive letters mapped in the run's Wine prefix, removed
xvfb_pid=
wm_pid=
bus_pid=
server_up=0
pulse_pid=
rec_pid=
rt=
stop_pid() { # PID: ends a process of ours, waiting for it a little
  if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then
    kill "$1" 2>/dev/null || true
    timeout 5 tail --pid="$1" -f /dev/null || kill -9 "$1" 2>/dev/null || true
  fi
}
# e2e_cleanup [STATUS]: ends them all and exits with STATUS, by default the status the script is ending with;
# a trap that runs other commands first passes the status it began with.
e2e_cleanup() {
  local rc=${1:-$?} p
  for p in "${e2e_pids[@]}"; do stop_pid "$p"; done
  for p in "${e2e_drives[@]}"; do rm -f "$p"; done
  if [ $server_up = 1 ]; then
    dovra_wine_stop
  fi
  stop_pid "$rec_pid"
  stop_pid "$pulse_pid"
  stop_pid "$wm_pid"
  stop_pid "$bus_pid"
  stop_pid "$xvfb_pid"
  [ -z "$rt" ] || rm -rf "$rt"
  [ $rc -eq 0 ] || [ $rc -eq 77 ] || printf 'e2e: failed; the run is kept in %s\n' "${work:-?}" >&2
  exit $rc
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

# ---------------------------------------------------------------- an audio server of our own
# e2e_audio_start: a PulseAudio server whose one sink is a null sink, found by Wine's PulseAudio driver
# through XDG_RUNTIME_DIR, and a recorder on that sink's monitor writing $rec. A desktop's own server is
# never reached, so nothing is heard from the speakers, and every file of theirs is kept in one folder of
# ours. The folder is short: a socket path holds at most 108 bytes. Sets no_sound to the reason when the
# sounds cannot be heard here.
e2e_audio_start() {
  rt=$(mktemp -d /tmp/dovra-e2e.XXXXXX)
  mkdir "$rt/pulse"
  unset PULSE_SERVER PULSE_SINK PULSE_SOURCE
  export XDG_RUNTIME_DIR=$rt PULSE_RUNTIME_PATH=$rt/pulse PULSE_STATE_PATH=$rt/state PULSE_COOKIE=$rt/cookie \
    PULSE_CLIENTCONFIG=$rt/client.conf
  echo "autospawn = no" >"$rt/client.conf"
  printf '%s\n' "load-module module-null-sink sink_name=rec rate=44100 channels=2" "set-default-sink rec" \
    "load-module module-native-protocol-unix auth-anonymous=1 socket=$rt/pulse/native" >"$rt/server.pa"
  rec=$work/sound.raw
  no_sound=
  if ! command -v pulseaudio >/dev/null || ! command -v parec >/dev/null; then
    no_sound="pulseaudio and parec are not installed"
    return 0
  fi
  : >"$work/pulse.log"
  e2e_audio_serve "$rec"
}

# e2e_audio_serve RECORDING: starts e2e_audio_start's server on the same socket, again after it was stopped,
# and a recorder writing RECORDING, which becomes $rec.
e2e_audio_serve() {
  rec=$1
  rm -f "$rt/pulse/native"
  HOME=$rt pulseaudio --daemonize=no --exit-idle-time=-1 -n -F "$rt/server.pa" >>"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 50); do
    [ -S "$rt/pulse/native" ] || ! kill -0 "$pulse_pid" 2>/dev/null && break
    sleep 0.1
  done
  if [ -S "$rt/pulse/native" ]; then
    HOME=$rt parec -d rec.monitor --latency-msec=20 --raw --rate=22050 --channels=1 --format=s16le \
      >"$rec" 2>"$work/parec.log" &
    rec_pid=$!
    log "audio server and recorder started"
  else
    no_sound="the audio server did not start: $(tail -n 1 "$work/pulse.log")"
  fi
}

# e2e_audio_ready: waits for the recorder's first data, which a new recorder gets after up to ~1.6 s.
e2e_audio_ready() {
  [ -z "$no_sound" ] || return 0
  for _ in $(seq 50); do
    [ -s "$rec" ] && return 0
    sleep 0.1
  done
  no_sound="the recorder got no data from the audio server"
}

# wav_seconds FILE: the playing time of a WAV file, from its data size and byte rate.
wav_seconds() {
  local data
  data=$(grep -obUa data "$1" | head -n 1 | cut -d: -f1)
  awk -v n="$(od -An -tu4 -j$((data + 4)) -N4 "$1")" -v r="$(od -An -tu4 -j28 -N4 "$1")" 'BEGIN { printf "%.3f", n / r }'
}
# mark: the next listen hears the recording from here on.
mark() { rec_from=$(($(stat -c %s "$rec") / 2 * 2)); }
# listen SECONDS: waits until the recording since the mark is SECONDS long or more and ends in 0.5 s of
# silence, then prints "S N T": S the seconds of sound (10 ms windows holding a sample other than 0), N the
# samples other than 0, T the seconds from the first such sample to the last. Gaps from a late sound or a
# busy machine add nothing to S.
listen() {
  local out
  for _ in $(seq 100); do
    out=$(tail -c +$((rec_from + 1)) "$rec" | od -An -v -td2 -w2 | awk -v min="$1" '
      $1 != 0 { nz++; on = 1; last = NR; if (!first) first = NR }
      NR % 220 == 0 { act += on; on = 0 }
      END { act += on; if (NR >= min * 22050 && NR - last >= 0.5 * 22050)
              printf "%.2f %d %.2f\n", act * 220 / 22050, nz, nz ? (last - first) / 22050 : 0 }')
    [ -n "$out" ] && echo "$out" && return 0
    sleep 0.1
  done
  fail "the recording stopped growing"
}
# heard WHAT SECONDS [LEAST [SPAN]]: checks that about SECONDS of sound were heard since the mark, at most 30 %
# more and at least LEAST times SECONDS (default 0.75). Sounds that follow each other need a lower LEAST: on a
# busy machine late timer ticks come close together, and each new sound cuts the one still playing short.
# With SPAN, the first sound to the last must also stretch over at least SPAN seconds.
heard() {
  local secs samples span
  read -r secs samples span <<<"$(listen 1)"
  awk -v g="$secs" -v w="$2" -v l="${3:-0.75}" 'BEGIN { exit !(g >= l * w && g <= 1.3 * w + 0.03) }' ||
    fail "$1: $secs s of sound, expected about $2 s"
  awk -v t="$span" -v least="${4:-0}" 'BEGIN { exit !(t >= least) }' ||
    fail "$1: sound from first to last over $span s, expected at least $4 s"
  log "$1: $secs s of sound over $span s, expected $2 s"
}


# ---------------------------------------------------------------- X and Wine
# e2e_xvfb_start: a display of our own; Xvfb picks a free number and writes it once it accepts connections.
e2e_xvfb_start() {
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb gave no display number"
  export DISPLAY=:$(head -n 1 "$work/display")
  log "Xvfb on $DISPLAY"
}

# e2e_wm_start: openbox on the display, as a desktop has a window manager: it frames and focuses the GTK
# window, and its alt+F4 closes it (GTK itself has no such key). Its files go to a folder of the run's own.
e2e_wm_start() {
  mkdir -p "$work/wm-home"
  HOME=$work/wm-home openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$wm_pid" 2>/dev/null || fail "openbox did not start: $(cat "$work/openbox.log")"
    sleep 0.1
  done
  log "openbox on $DISPLAY"
}

# e2e_session_bus_start: a session bus of the run's own, as a desktop session has one.
e2e_session_bus_start() {
  dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" >"$work/bus.log" 2>&1 &
  bus_pid=$!
  for _ in $(seq 50); do
    [ -s "$work/bus" ] && break
    sleep 0.1
  done
  [ -s "$work/bus" ] || fail "the session bus did not start: $(cat "$work/bus.log")"
  export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
  log "session bus at $DBUS_SESSION_BUS_ADDRESS"
}

# e2e_wine_start PREFIX: the test environment for PREFIX (made when missing), a persistent server, and
# Wine's helper processes started now with no pipe of CTest's to hold.
e2e_wine_start() {
  dovra_wine_env "$1"
  dovra_wine_prefix
  server_up=1
  timeout 10 "$DOVRA_WINESERVER" -p </dev/null >/dev/null 2>&1
  timeout 60 "$DOVRA_WINE64" wineboot </dev/null >/dev/null 2>&1
  log "wineserver up for $1"
}

# e2e_windows_start FOLDER NAME: the Windows program of FOLDER, started there under the Wine server of
# e2e_wine_start; waits for its window and its first paint, snapshot NAME. Sets windows_pid.
e2e_windows_start() {
  (cd "$1" && exec "$DOVRA_WINE64" "$1/dovra.exe" </dev/null >>"$work/dovra-exe.log" 2>&1) &
  windows_pid=$!
  e2e_pids+=("$windows_pid")
  e2e_window "$windows_pid" 30
  e2e_first_paint "$2"
}

# e2e_drive FOLDER: maps a free drive letter of the prefix to FOLDER, as Wine maps drives and as a player maps
# a network drive to a folder; sets drive, the letter and its colon. A letter left mapped into the run's
# folder by an earlier run is taken back first.
e2e_drive() {
  local link letter
  for link in "$WINEPREFIX"/dosdevices/?:; do
    case $(readlink "$link" || true) in "$work"/*) rm -f "$link" ;; esac
  done
  for letter in s t u v w x y; do
    link=$WINEPREFIX/dosdevices/$letter:
    [ -e "$link" ] || [ -L "$link" ] && continue
    ln -s "$1" "$link"
    e2e_drives+=("$link")
    drive=${letter^^}:
    return 0
  done
  fail "no free drive letter in $WINEPREFIX/dosdevices"
}

# win_path PATH: the Windows name of a Unix path on Wine's drive Z:.
win_path() { printf 'Z:%s' "${1//\//\\}"; }

# ---------------------------------------------------------------- looking at the window
# e2e_window [PID [SECONDS]]: waits up to SECONDS (15) for the window titled Dovra, while process PID runs
# when given; sets win, its X Y WIDTH HEIGHT, and win_pid, the process that shows it.
e2e_window() {
  local deadline=$((SECONDS + ${2:-15}))
  win=
  while [ $SECONDS -lt $deadline ]; do
    win=$(xdotool search --onlyvisible --name '^Dovra$' 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && break
    [ -z "${1:-}" ] || kill -0 "$1" 2>/dev/null || fail "Dovra ended before showing its window"
    sleep 0.1
  done
  [ -n "$win" ] || fail "no window titled Dovra"
  eval "$(xdotool getwindowgeometry --shell "$win")" # X Y WIDTH HEIGHT
  win_pid=$(xdotool getwindowpid "$win")
  log "window $win at $X,$Y, $WIDTH x $HEIGHT"
}

# e2e_gtk_window PID [SECONDS]: e2e_window for the GTK program in a window manager's frame: X Y WIDTH HEIGHT
# are the window's own, inside the frame, and its client area, the board's drawing area, fills the window
# under the menu bar: OX OY is its origin for the Little Board with the preview (9 x 16 + 33 pixels high).
e2e_gtk_window() {
  e2e_window "$@"
  X=$(xwininfo -id "$win" | awk '/Absolute upper-left X:/ { print $NF }')
  Y=$(xwininfo -id "$win" | awk '/Absolute upper-left Y:/ { print $NF }')
  OX=0
  OY=$((HEIGHT - (9 * 16 + 33)))
  [ "$OY" -gt 0 ] || fail "the window is $HEIGHT pixels high: no room for a menu bar above the Little Board"
  log "the window's own area at $X,$Y, its client area $OY pixels down"
}

# snap NAME: a screenshot, and the window's pixels as text "x,y: (r,g,b) ..." in NAME.txt.
snap() {
  import -window root "$work/$1.png"
  /usr/bin/convert "$work/$1.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -depth 8 txt:- >"$work/$1.txt"
}

# The client origin, found from the board itself: the top-left square's right grid edge starts on the
# client's top row (row 0 of the board is drawn one pixel high) at column 15, and its bottom edge is
# client row 14. The frame metrics that Wine draws with need not be the ones the program sized for,
# and the icon in the caption holds grid-coloured pixels too, so the pattern of lines decides.
find_origin() {
  awk -F'[,:() ]+' -v c="$grid" '
    NR > 1 && $3 "," $4 "," $5 == c { g[$1 "," $2] = 1; n++; xs[n] = $1; ys[n] = $2 }
    END {
      for (i = 1; i <= n; i++) {
        x = xs[i] - 15; y = ys[i]
        ok = 1
        for (k = 0; k < 9 && ok; k++) ok = ((x + 16 * k + 15) "," y in g) && ((x + 16 * k + 15) "," (y + 13) in g) &&
                                             ((x + 7) "," (y + 14 + 16 * k) in g) && ((x + 16 * k + 7) "," (y + 14) in g)
        if (ok && (!found || y < by || (y == by && x < bx))) { bx = x; by = y; found = 1 }
      }
      if (found) print bx, by
    }' "$work/$1.txt"
}

# e2e_first_paint NAME: waits until the Little Board is drawn, sets the client origin OX OY and leaves the
# window, button and score included, in snapshot NAME.
e2e_first_paint() {
  local deadline=$((SECONDS + 30)) o
  OX= OY=
  while [ $SECONDS -lt $deadline ]; do
    snap "$1"
    o=$(find_origin "$1")
    if [ -n "$o" ]; then
      read -r OX OY <<<"$o"
      break
    fi
    sleep 0.1
  done
  [ -n "$OX" ] || fail "the board was never drawn"
  sleep 0.3 # one more tick: the whole window, button included, is drawn
  snap "$1"
  log "client origin at window offset ($OX, $OY)"
}

# px NAME CX CY: "r,g,b" of a client pixel.
px() {
  awk -F'[,:() ]+' -v x=$((OX + $2)) -v y=$((OY + $3)) \
    'NR > 1 && $1 == x && $2 == y { print $3 "," $4 "," $5; exit }' "$work/$1.txt"
}

# box NAME CX CY W H: the colours of a client rectangle, "count r,g,b" per line, most frequent first.
box() {
  awk -F'[,:() ]+' -v x0=$((OX + $2)) -v y0=$((OY + $3)) -v w="$4" -v h="$5" '
    NR > 1 && $1 >= x0 && $1 < x0 + w && $2 >= y0 && $2 < y0 + h { c[$3 "," $4 "," $5]++ }
    END { for (k in c) print c[k], k }' "$work/$1.txt" | sort -k1,1nr
}

# piece_box NAME X Y: the colours inside the 11 x 11 piece box of board square (X, Y).
piece_box() { box "$1" $(($2 * 16 + 2)) $(($3 * 16 + 1)) 11 11; }

# board NAME: what each square of the Little Board shows, "x y kind" for the 81 board squares and "p i kind"
# for the three preview slots. A piece is one colour (plus white details) filling part of the 11 x 11 box
# at columns and rows 2..12 of its square; kind 0 is a white box, "?" anything else.
board() {
  awk -F'[,:() ]+' -v ox="$OX" -v oy="$OY" -v cols="${colour[1]};${colour[2]};${colour[3]};${colour[4]};${colour[5]};${colour[6]};${colour[7]}" '
    BEGIN { n = split(cols, cc, ";"); for (i = 1; i <= n; i++) kind[cc[i]] = i }
    NR > 1 {
      x = $1 - ox; y = $2 - oy + 1 # squares start one pixel above the client area
      if (x < 0 || x >= 160 || y < 0 || y >= 144) next
      sx = int(x / 16); sy = int(y / 16); bx = x % 16; by = y % 16
      if (bx < 2 || bx > 12 || by < 2 || by > 12) next
      c = $3 "," $4 "," $5
      if (c == "255,255,255") next
      k = sx " " sy
      if (!(k in first)) first[k] = c; else if (first[k] != c) mixed[k] = 1
      count[k]++
    }
    function show(k) {
      if (!(k in first)) return 0
      if ((k in mixed) || !(first[k] in kind) || count[k] < 6) return "?"
      return kind[first[k]]
    }
    END {
      for (sx = 0; sx < 9; sx++) for (sy = 0; sy < 9; sy++) print sx, sy, show(sx " " sy)
      for (i = 0; i < 3; i++) print "p", i, show(9 " " i)
    }' "$work/$1.txt"
}

expect_px() { # NAME CX CY COLOUR WHAT
  local got
  got=$(px "$1" "$2" "$3")
  [ "$got" = "$4" ] || fail "$5: pixel ($2, $3) is ($got), expected ($4)"
}

invert() { awk -F, '{ print 255 - $1 "," 255 - $2 "," 255 - $3 }' <<<"$1"; }

# ---------------------------------------------------------------- acting like a player
click() { xdotool mousemove $((X + OX + $1)) $((Y + OY + $2)) click 1; } # CX CY, in the client area
menu() { xdotool key alt+e; sleep 0.3; xdotool key "$1"; }              # LETTER: an item of the Edit menu

# e2e_move_new_game: on a new game's board, as snapshot "start" shows it, moves the first piece to the last
# empty square and waits for the three pieces that drop; sets kind and the squares (fx, fy) and (tx, ty).
e2e_move_new_game() {
  board start >"$work/start.board"
  read -r fx fy kind < <(awk '$1 != "p" && $3 ~ /^[1-7]$/' "$work/start.board")
  read -r tx ty < <(awk '$1 != "p" && $3 == 0 { print $1, $2 }' "$work/start.board" | tail -n 1)
  [ -n "$kind" ] && [ -n "$tx" ] || fail "no piece or no empty square on the new board"
  click $((fx * 16 + 7)) $((fy * 16 + 6))
  sleep 0.3
  click $((tx * 16 + 7)) $((ty * 16 + 6))
  local moved=0
  for _ in $(seq 50); do
    sleep 0.2
    snap moved
    board moved >"$work/moved.board"
    grep -qx "$tx $ty $kind" "$work/moved.board" && [ "$(awk '$1 != "p" && $3 != 0' "$work/moved.board" | wc -l)" -eq 6 ] &&
      moved=1 && break
  done
  [ $moved = 1 ] || fail "the piece of kind $kind did not move from ($fx, $fy) to ($tx, $ty), or nothing dropped"
  log "a new game: kind $kind moved from ($fx, $fy) to ($tx, $ty)"
}

# e2e_saved_move PREFS: the prefs.txt the game wrote when it closed holds the piece that e2e_move_new_game moved.
e2e_saved_move() { [ -f "$1" ] && tr -d '\r' <"$1" | grep -qx "cell$(printf '%02d' $((9 * tx + ty))) = $kind"; }

# refused: a click on square (0, 8), empty with nothing selected in the prepared and in a new game, which
# the game refuses with woops.wav; it also gives the window the keyboard.
refused() { click 7 $((8 * 16 + 6)); }

# sound_on PREFS: Edit, Sound, which the game saves at once in PREFS.
sound_on() {
  menu s
  for _ in $(seq 50); do
    tr -d '\r' <"$1" | grep -qx 'sound_enabled = 1' && return 0
    sleep 0.1
  done
  fail "Edit, Sound did not switch the sound on in prefs.txt"
}

# e2e_big_board: Edit, Big Board: 32-pixel squares, and the window grows by 10 squares of 16 pixels across
# and 9 down; leaves the window's new geometry in X Y WIDTH HEIGHT and its picture in snapshot "big".
e2e_big_board() {
  local big=0
  menu b
  for _ in $(seq 50); do
    sleep 0.1
    eval "$(xdotool getwindowgeometry --shell "$win" | sed 's/^/BIG_/')"
    [ "$BIG_WIDTH" -eq $((WIDTH + 160)) ] && [ "$BIG_HEIGHT" -eq $((HEIGHT + 144)) ] && big=1 && break
  done
  [ $big = 1 ] || fail "Edit, Big Board: the window is $BIG_WIDTH x $BIG_HEIGHT, expected $((WIDTH + 160)) x $((HEIGHT + 144))"
  X=$BIG_X Y=$BIG_Y WIDTH=$BIG_WIDTH HEIGHT=$BIG_HEIGHT
  sleep 0.3
  snap big
  # A square's right grid line is two pixels wide now: column 30 of the client is grid, not white.
  expect_px big 30 7 "$grid" "grid line of the Big Board"
  log "the Big Board is drawn, window $WIDTH x $HEIGHT"
}

# e2e_hear_refusal PREFS SOUNDS: a click on an empty square with nothing selected is refused: silent with
# Sound off, as saved, then, once Edit, Sound has switched it on (saved in PREFS), heard as the woops.wav
# of the folder SOUNDS.
e2e_hear_refusal() {
  local secs samples
  e2e_audio_ready
  if [ -z "$no_sound" ]; then
    mark
    refused
    read -r secs samples _ <<<"$(listen 1)"
    [ "$samples" = 0 ] || fail "Sound off: a refused click was heard: $secs s of sound"
    log "Sound off: a refused click is silent"
  fi
  sound_on "$1"
  if [ -z "$no_sound" ]; then
    mark
    refused
    heard "Sound on: a refused click" "$(wav_seconds "$2/woops.wav")"
  fi
}

# e2e_ended PID WHAT: the program PID must end within 10 s, and when it is a child of this shell, with status 0.
e2e_ended() {
  local rc=0
  for _ in $(seq 100); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$1" 2>/dev/null && fail "$2 still runs after 10 s"
  if jobs -p | grep -qx "$1"; then
    wait "$1" || rc=$?
    [ $rc -eq 0 ] || fail "$2 ended with status $rc"
  fi
}

# e2e_close PID: alt+F4, as a player closes the window.
e2e_close() {
  xdotool key alt+F4
  e2e_ended "$1" "Dovra, closed with alt+F4,"
  log "Dovra closed"
}

# ---------------------------------------------------------------- the prepared game
# One piece of each kind, every one free to move, so the three pieces that drop after a move can never
# complete a line of five. Square (x, y) is saved as cellNN with NN = 9x + y.
pieces=(1:1:1 3:1:2 5:1:3 7:1:4 1:5:5 4:5:6 7:5:7) # x:y:kind
score=1234
sounds=(move.wav woops.wav drop.wav zip.wav gameover.wav winner.wav)

# prepared_prefs FILE: the prepared game with the first settings and sound names, as prefs.txt.
prepared_prefs() {
  local i p x y k sum=0
  {
    echo "# Preferences file for Dovra"
    echo "cell_size = 16"
    echo "display_preview = 1"
    echo "sound_enabled = 0"
    for i in "${!sounds[@]}"; do printf 'sound%02d = %s\n' "$i" "${sounds[$i]}"; done
    for p in "${pieces[@]}"; do
      IFS=: read -r x y k <<<"$p"
      printf 'cell%02d = %d\n' $((9 * x + y)) "$k"
      sum=$((sum + k))
    done
    echo "current_score = $score"
    echo "checksum = $(((sum + score) ^ 0x6C2A))"
  } >"$1"
}

# e2e_prepared_drawn NAME: snapshot NAME shows the prepared game on all 81 squares and three pieces in the
# preview; sets preview to their kinds.
e2e_prepared_drawn() {
  local p x y k want i
  declare -A placed=()
  for p in "${pieces[@]}"; do
    IFS=: read -r x y k <<<"$p"
    placed[$x,$y]=$k
  done
  board "$1" >"$work/$1.board"
  while read -r x y k; do
    [ "$x" = p ] && continue
    want=${placed[$x,$y]:-0}
    [ "$k" = "$want" ] || fail "restored game: square ($x, $y) shows kind $k, saved kind $want ($(piece_box "$1" "$x" "$y" | tr '\n' ' '))"
  done <"$work/$1.board"
  preview=()
  for i in 0 1 2; do
    k=$(awk -v i="$i" '$1 == "p" && $2 == i { print $3 }' "$work/$1.board")
    case $k in [1-7]) ;; *) fail "preview slot $i shows no piece ($(box "$1" 146 $((i * 16 + 1)) 11 11 | tr '\n' ' '))" ;; esac
    preview+=("$k")
  done
  log "all 81 squares show the saved game; the preview shows kinds ${preview[*]}"
}

# e2e_move_prepared SOUNDS: with the mouse, moves a piece of the prepared game whose kind is not about to
# drop three squares down, checking that it is drawn inverted once selected, that it arrives and three
# pieces drop, and, with the audio server up, that its steps and drops are heard (SOUNDS: the folder of the
# program's move.wav and drop.wav). Sets fx fy tx ty kind mover. Runs $e2e_before_move, when set, between
# the selection and the move.
e2e_move_prepared() {
  local p x y k moved=0 deadline inv cols want
  mover=
  for p in "${pieces[@]}"; do
    IFS=: read -r x y k <<<"$p"
    case " ${preview[*]} " in *" $k "*) ;; *) mover=$p; break ;; esac
  done
  IFS=: read -r fx fy kind <<<"$mover"
  tx=$fx ty=$((fy + 3)) # three squares down: empty in the prepared game
  click $((fx * 16 + 7)) $((fy * 16 + 6))
  for _ in $(seq 30); do
    sleep 0.1
    snap selected
    [ "$(px selected $((fx * 16 + 1)) $((fy * 16 + 1)))" = 0,0,0 ] && break
  done
  [ "$(px selected $((fx * 16 + 1)) $((fy * 16 + 1)))" = 0,0,0 ] || fail "clicking the piece at ($fx, $fy) did not select it"
  inv=$(invert "${colour[$kind]}")
  cols=$(piece_box selected "$fx" "$fy" | awk '{ print $2 }' | sort | tr '\n' ' ')
  want=$(printf '%s\n' 0,0,0 "$inv" | sort | tr '\n' ' ')
  [ "$cols" = "$want" ] || fail "selected square ($fx, $fy): colours $cols, expected the inverted piece $want"
  expect_px selected $((fx * 16 + 15)) $((fy * 16 + 7)) "$(invert "$grid")" "inverted grid line of the selected square"
  log "kind $kind at ($fx, $fy) is selected and drawn inverted"
  [ -n "$no_sound" ] || mark
  [ -z "${e2e_before_move:-}" ] || $e2e_before_move
  click $((tx * 16 + 7)) $((ty * 16 + 6))
  # Three squares at 100 ms each, a pause tick and three drops: about 0.7 s. Wait for the whole turn.
  deadline=$((SECONDS + 30))
  while [ $SECONDS -lt $deadline ]; do
    sleep 0.2
    snap moved
    board moved >"$work/moved.board"
    if grep -qx "$tx $ty $kind" "$work/moved.board" &&
      [ "$(awk '$1 != "p" && $3 != 0' "$work/moved.board" | wc -l)" -eq $((${#pieces[@]} + 3)) ]; then
      moved=1
      break
    fi
  done
  [ $moved = 1 ] || fail "the piece did not reach ($tx, $ty), or the three pieces did not drop: $(awk '$1 != "p" && $3 != 0' "$work/moved.board" | tr '\n' ';')"
  ! grep -qx "$fx $fy $kind" "$work/moved.board" || fail "the piece still shows at ($fx, $fy)"
  ! grep -q '?' "$work/moved.board" || fail "a square shows no recognisable picture: $(grep '?' "$work/moved.board" | tr '\n' ';')"
  [ "$(px moved $((fx * 16 + 1)) $((fy * 16 + 1)))" = "$white" ] || fail "a square is still drawn selected"
  log "kind $kind moved to ($tx, $ty) and three pieces dropped"
  if [ -z "$no_sound" ]; then
    # The first step sounds at the first tick and the last drop at tick k + 4; alone, the steps or the drops
    # would stretch over a quarter of a second, both over about 0.68 s (less only when late ticks bunch up).
    heard "Sound on: a move of $((ty - fy)) squares and three drops" \
      "$(awk -v m="$(wav_seconds "$1/move.wav")" -v d="$(wav_seconds "$1/drop.wav")" -v k=$((ty - fy)) 'BEGIN { print k * m + 3 * d }')" 0.3 0.45
  fi
}

# e2e_saved_prepared PREFS: PREFS, as the program wrote it when it closed, holds the prepared game after
# e2e_move_prepared, square for square as the window last showed it (moved.board), with its score and checksum.
e2e_saved_prepared() {
  local lf=$work/saved.lf p x y k saved ncells sum
  tr -d '\r' <"$1" >"$lf"
  cell() { sed -n "s/^cell$(printf '%02d' $((9 * $1 + $2))) = \\(-*[0-9]*\\)\$/\\1/p" "$lf"; }
  [ "$(cell "$tx" "$ty")" = "$kind" ] || fail "prefs.txt: square ($tx, $ty) holds '$(cell "$tx" "$ty")', expected the moved kind $kind"
  [ "$(cell "$fx" "$fy")" != "$kind" ] || fail "prefs.txt: the moved piece is still saved at ($fx, $fy)"
  for p in "${pieces[@]}"; do
    IFS=: read -r x y k <<<"$p"
    [ "$p" = "$mover" ] && continue
    [ "$(cell "$x" "$y")" = "$k" ] || fail "prefs.txt: square ($x, $y) holds '$(cell "$x" "$y")', expected $k"
  done
  ncells=$(grep -c '^cell[0-9][0-9] = ' "$lf")
  [ "$ncells" -eq $((${#pieces[@]} + 3)) ] || fail "prefs.txt: $ncells pieces saved, expected $((${#pieces[@]} + 3))"
  grep -qx "current_score = $score" "$lf" || fail "prefs.txt: the score is not $score"
  sum=$(awk -F' = ' '/^cell[0-9][0-9] = / { s += $2 } END { print s }' "$lf")
  grep -qx "checksum = $(((sum + score) ^ 0x6C2A))" "$lf" || fail "prefs.txt: wrong checksum"
  while read -r x y k; do
    [ "$x" = p ] && continue
    saved=$(cell "$x" "$y")
    [ "${saved:-0}" = "$k" ] || fail "prefs.txt: square ($x, $y) holds '${saved:-0}', the window showed $k"
  done <"$work/moved.board"
}
