#!/usr/bin/env bash
# wine_client_shots.sh EXE OUT PREFIX CONFIG...: photographs the Windows program's client area under Wine in a
# virtual X server, the reference that the GTK program's window is compared with pixel by pixel. Each CONFIG
# "CS:PREVIEW:HX:HY" starts EXE with the end-to-end test's prepared game at cell size CS with the preview on
# (1) or off (0), clicks square (HX, HY) unless HX is 9, and saves the client area, (9 + PREVIEW) * CS by
# 9 * CS + 33 pixels, as OUT/wine-csCS-pPREVIEW-sHXHY.png. PREFIX is the Wine prefix (made when missing).
# The preview's kinds are drawn at random at start-up: read them from the picture.
set -euo pipefail

[ $# -ge 4 ] || { echo "usage: wine_client_shots.sh EXE OUT PREFIX CS:PREVIEW:HX:HY..." >&2; exit 2; }
exe=$(readlink -f "$1")
mkdir -p "$2"
out=$(cd "$2" && pwd)
mkdir -p "$(dirname "$3")"
prefix=$(cd "$(dirname "$3")" && pwd)/$(basename "$3") # Wine takes an absolute prefix only
shift 3
work=$out/run
rm -rf "$work"
mkdir -p "$work/game"
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"

# The end-to-end test's game: one piece of each kind, square (x, y) saved as cellNN with NN = 9x + y.
pieces=(1:1:1 3:1:2 5:1:3 7:1:4 1:5:5 4:5:6 7:5:7) # x:y:kind
score=1234
prefs() { # CS PREVIEW
  echo "cell_size = $1"
  echo "display_preview = $2"
  echo "sound_enabled = 0"
  local sum=0 p x y k
  for p in "${pieces[@]}"; do
    IFS=: read -r x y k <<<"$p"
    printf 'cell%02d = %d\n' $((9 * x + y)) "$k"
    sum=$((sum + k))
  done
  echo "current_score = $score"
  echo "checksum = $(((sum + score) ^ 0x6C2A))"
}
stop() { # the program, and its window gone, so the next start cannot be mistaken for it
  stop_pid "$game_pid"
  for _ in $(seq 50); do
    [ -z "$(xdotool search --onlyvisible --name '^Dovra$' 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  fail "the window of a stopped Dovra still shows"
}
start() { # CS PREVIEW: the program with that prefs.txt, its window found
  prefs "$1" "$2" >"$work/game/prefs.txt"
  (cd "$work/game" && exec "$DOVRA_WINE64" "$exe" </dev/null >>"$work/dovra.log" 2>&1) &
  game_pid=$!
  e2e_pids+=("$game_pid")
  e2e_window "$game_pid"
}

e2e_xvfb_start
e2e_wine_start "$prefix"
# The client origin, found on the Little Board, is the same at every size: frame, caption and menu bar.
start 16 1
e2e_first_paint origin
stop
for config in "$@"; do
  IFS=: read -r cs preview hx hy <<<"$config"
  start "$cs" "$preview"
  sleep 1
  if [ "$hx" != 9 ]; then
    click $((hx * cs + cs / 2)) $((hy * cs + cs / 2 - 1))
    sleep 0.5
  fi
  name=$out/wine-cs$cs-p$preview-s$hx$hy.png
  import -window root "$work/root.png"
  /usr/bin/convert "$work/root.png" -crop "$(((9 + preview) * cs))x$((9 * cs + 33))+$((X + OX))+$((Y + OY))" +repage \
    -strip "$name"
  log "$name"
  stop
done
