#!/usr/bin/env bash
# web_test.sh SITE WIN64.zip: the web site, from its release zip (one folder dovra-<version>-web/) or a folder
# of its files, served over http://127.0.0.1 and played in Debian's Chromium (web_test.mjs), beside the
# Windows program of the release zip WIN64.zip under Wine in a virtual X server: both restore the same
# prepared game and must draw its board and preview pixel for pixel alike, at 16 and 32 pixels a square, and
# write the same prefs.txt when closed.
# Environment: DOVRA_WEB_E2E_WORK, the run's folder (default ./web-e2e-run); its Wine prefix is kept from
# one run to the next.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../e2e/e2e_lib.sh"

[ $# -eq 2 ] || die "usage: web_test.sh SITE.zip|SITE_DIR WIN64.zip"
site=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
zip=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=${DOVRA_WEB_E2E_WORK:-$PWD/web-e2e-run}
mkdir -p "$work"
find "$work" -mindepth 1 -maxdepth 1 ! -name prefix -exec rm -rf {} +

if [ -d "$site" ]; then
  cp -a "$site" "$work/site"
else
  top=dovra-$DOVRA_VERSION-web
  unzip -q "$site" -d "$work/unzipped"
  [ -f "$work/unzipped/$top/index.html" ] || fail "$(basename "$site") has no $top/index.html"
  mv "$work/unzipped/$top" "$work/site"
fi

# playwright-core as the lock file pins it, without a browser of its own: Debian's Chromium is the browser.
if ! cmp -s "$here/package-lock.json" "$here/node_modules/.dovra-lock"; then
  (cd "$here" && npm ci --no-audit --no-fund --loglevel=error) >"$work/npm.log" 2>&1 ||
    fail "npm ci in $here failed: $(tail -n 5 "$work/npm.log")"
  cp "$here/package-lock.json" "$here/node_modules/.dovra-lock"
fi

# ---------------------------------------------------------------- the Windows program's pictures and prefs.txt
unzip -q "$zip" -d "$work/win"
win_run=$(echo "$work"/win/dovra-*)
prepared_prefs "$win_run/prefs.txt"
sed 's/$/\r/' "$win_run/prefs.txt" >"$work/prepared.txt" # as the Windows program writes it
# A game one move from its end: every square full but (8, 7) and (8, 8), kind (x + 3y) mod 7 + 1, so that no
# five squares in a line hold two alike; the piece moved from (7, 8) to (8, 8) and two drops fill the board.
full_board() {
  local pieces=() x y
  for x in {0..8}; do
    for y in {0..8}; do
      [ $x = 8 ] && [ $y -ge 7 ] || pieces+=("$x:$y:$(((x + 3 * y) % 7 + 1))")
    done
  done
  prepared_prefs "$1"
}
full_board "$work/full.lf"
sed 's/$/\r/' "$work/full.lf" >"$work/full.txt"

e2e_xvfb_start
e2e_wine_start "$work/prefix"
e2e_windows_start "$win_run" windows-16
e2e_prepared_drawn windows-16
windows_preview=("${preview[@]}")

# crop NAME X Y W H X0 Y0 TO: a rectangle of client pixels of snapshot NAME, whose client area begins at (X0, Y0).
crop() { /usr/bin/convert "$work/$1.png" -crop "$4x$5+$(($6 + $2))+$(($7 + $3))" +repage "$work/$8.png"; }
# pictures NAME CS X0 Y0 TO: from snapshot NAME of squares of CS pixels, the client area's origin at (X0, Y0):
# the board, each preview slot and each kind's picture (the prepared game has one of each) less the column
# and the row a preview slot leaves out, as TO-board.png, TO-preview<i>.png and TO-kind<k>.png.
pictures() {
  local cs=$2 e=$(($2 - $2 / 16)) p x y k i
  crop "$1" 0 0 $((9 * cs)) $((9 * cs - 1)) "$3" "$4" "$5-board"
  for i in 0 1 2; do crop "$1" $((9 * cs)) $((i * cs)) "$cs" $((cs - 1)) "$3" "$4" "$5-preview$i"; done
  for p in "${pieces[@]}"; do
    IFS=: read -r x y k <<<"$p"
    crop "$1" $((x * cs)) $((y * cs)) "$e" $((e - 1)) "$3" "$4" "$5-kind$k"
  done
}
pictures windows-16 16 $((X + OX)) $((Y + OY)) windows-16
e2e_big_board
pictures big 32 $((X + OX)) $((Y + OY)) windows-32
e2e_close "$windows_pid"
cp "$win_run/prefs.txt" "$work/windows-prefs.txt"
dovra_wine_stop
server_up=0
stop_pid "$xvfb_pid"

# ---------------------------------------------------------------- the site in the browser
node "$here/web_test.mjs" "$work" "$DOVRA_VERSION" "$e2e_t0"

# ---------------------------------------------------------------- the canvas beside the Windows program's window
same_pixels() { # A B WHAT: two crops, equal to the pixel
  local n
  n=$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true)
  [ "$n" = 0 ] || fail "$3: $n pixels differ ($1.png against $2.png)"
}
OX=0 OY=0
/usr/bin/convert "$work/web-16.png" -depth 8 txt:- >"$work/web-16.txt"
e2e_prepared_drawn web-16
for cs in 16 32; do
  pictures web-$cs $cs 0 0 web-$cs
  same_pixels web-$cs-board windows-$cs-board "the board at $cs pixels a square"
  for i in 0 1 2; do
    if [ "${preview[$i]}" = "${windows_preview[$i]}" ]; then
      same_pixels web-$cs-preview$i windows-$cs-preview$i "preview slot $i at $cs pixels"
    fi
    # Either way the slot is the piece's picture less its grid lines, as the Windows program draws that kind.
    e=$((cs - cs / 16))
    crop web-$cs $((9 * cs)) $((i * cs)) $e $((e - 1)) 0 0 web-$cs-slot$i
    same_pixels web-$cs-slot$i windows-$cs-kind${preview[$i]} "preview slot $i at $cs pixels (kind ${preview[$i]})"
  done
done
log "the board and the preview are the Windows program's, pixel for pixel, at 16 and 32 pixels a square"
# At two device pixels to a CSS pixel each picture pixel is a whole 2 x 2 block of the same picture.
# The score is written in device pixels: only the board and the preview column are the program's picture.
crop web-dpr2 0 0 320 286 0 0 web-dpr2-area
/usr/bin/convert "$work/web-dpr2-area.png" -sample 50% "$work/web-dpr2-half.png"
/usr/bin/convert "$work/web-dpr2-half.png" -sample 200% "$work/web-dpr2-blocks.png"
same_pixels web-dpr2-area web-dpr2-blocks "at device pixel ratio 2, the picture in whole 2 x 2 blocks"
crop web-dpr2-half 0 0 144 143 0 0 web-dpr2-board
same_pixels web-dpr2-board web-16-board "the board at device pixel ratio 2, halved,"
log "at device pixel ratio 2 each picture pixel is a whole 2 x 2 block"
echo "e2e: passed: the canvas shows the board and the preview of the Windows program of $(basename "$zip") pixel for pixel, at 16 and 32 pixels a square; whole 2 x 2 blocks at device pixel ratio 2"
