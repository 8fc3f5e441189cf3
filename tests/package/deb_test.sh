#!/usr/bin/env bash
# deb_test.sh DEB: the Debian package as its ecosystem judges it (lintian, desktop-file-validate, appstreamcli,
# its Depends) and as a new player meets it: installed with apt-get and started as a launcher starts it, with
# its menu entry's Exec line, for an empty home, in a virtual X server with a window manager and a D-Bus
# session of the player's own; the new game it shows is the one found in the player's folder once the window
# is closed like a player; started again, it shows that game, is heard through the player's PulseAudio server
# with Sound on, and a move made is found saved; then the package removed, the player's folder left as it
# was, and nothing of the game left running.
# Environment: DOVRA_DEB_WORK, the run's folder (default ./deb-run).
# Exits 77 after printing "SKIPPED: why" when packages cannot be installed here, or the game cannot be heard
# (then every other check has passed).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../e2e/e2e_lib.sh"

[ $# -eq 1 ] || die "usage: deb_test.sh DEB"
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=${DOVRA_DEB_WORK:-$PWD/deb-run}
rm -rf "$work"
mkdir -p "$work"

# ---------------------------------------------------------------- the package's own checkers
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
! grep -E '^[EW]: ' "$work/lintian.log" || fail "lintian reports errors or warnings"
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/org.example.dovra.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.example.dovra.metainfo.xml" >"$work/appstream.log" ||
  fail "appstreamcli: $(cat "$work/appstream.log")"
for size in 32 64; do
  [ "$(identify -format '%m %wx%h' "$work/root/usr/share/icons/hicolor/${size}x$size/apps/dovra.png")" = "PNG ${size}x$size" ] ||
    fail "the ${size}x$size icon is not a PNG of that size"
done
depends=$(dpkg-deb -f "$deb" Depends)
! grep -qi wine <<<"$depends" || fail "the package depends on Wine: $depends"
log "lintian, desktop-file-validate and appstreamcli find nothing wrong; Depends: $depends"

# ---------------------------------------------------------------- installed
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
! dpkg -s dovra >/dev/null 2>&1 || skip "a dovra package is installed already, which this test would remove"
installed=0
remove_package() { DEBIAN_FRONTEND=noninteractive apt-get remove -y -q dovra >>"$work/apt.log" 2>&1; }
trap 'rc=$?; [ $installed = 0 ] || remove_package || true; e2e_cleanup $rc' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  fail "apt-get install: $(tail -n 5 "$work/apt.log")"
installed=1
entry=/usr/share/applications/org.example.dovra.desktop
# A launcher runs the Exec line without its field codes: Dovra opens no files.
read -r -a words <<<"$(sed -n 's/^Exec=//p' "$entry")"
launch=()
for w in "${words[@]}"; do
  [[ $w == %? ]] || launch+=("$w")
done
[ ${#launch[@]} -gt 0 ] || fail "no Exec line in $entry"
log "installed with apt-get; the menu entry runs: ${launch[*]}"

# ---------------------------------------------------------------- a new player
e2e_audio_start
if [ -z "$no_sound" ] && ! readelf -d /usr/games/dovra | grep -q 'NEEDED.*libpulse'; then
  no_sound="the program links no PulseAudio library, so the player's PulseAudio server cannot hear it"
fi
e2e_xvfb_start
e2e_wm_start
home=$work/home
data=$home/.local/share/dovra
mkdir -p "$home"

# play: starts Dovra as the launcher does, in a D-Bus session of its own, from a folder of no importance, and
# waits for its window; sets game_pid, the session, which ends with the game and with its status.
play() {
  (cd / && export HOME=$home && unset XDG_DATA_HOME GSK_RENDERER &&
    exec dbus-run-session -- "${launch[@]}" </dev/null >>"$work/dovra.log" 2>&1) &
  game_pid=$!
  e2e_pids+=("$game_pid")
  e2e_gtk_window "$game_pid" 30
}

# shown NAME: the board in a new snapshot NAME, once a piece is drawn, as "x y kind" lines in NAME.board,
# read by the pixel reader `board`: 0 for an empty square, and for a piece its kind, or "?" where the colours
# are not those of a piece's picture.
shown() {
  for _ in $(seq 100); do
    snap "$1"
    board "$1" | awk '$1 != "p"' >"$work/$1.board"
    grep -qv ' 0$' "$work/$1.board" && return 0
    sleep 0.1
  done
  fail "no piece was ever drawn on the board"
}

# saved PREFS NAME: the game saved in PREFS as the same lines, in NAME.board.
saved() {
  tr -d '\r' <"$1" | awk -F' = ' '/^cell[0-9][0-9] = / { k[substr($1, 5) + 0] = $2 }
    END { for (x = 0; x < 9; x++) for (y = 0; y < 9; y++) print x, y, ((9 * x + y) in k) ? k[9 * x + y] : 0 }' \
    >"$work/$2.board"
}

# shows SHOWN SAVED: board SHOWN, read from the window, is the game of board SAVED: pieces on the same squares,
# each of the saved kind wherever the reader tells a kind.
shows() {
  paste -d ' ' "$work/$1.board" "$work/$2.board" |
    awk '{ if (($6 == 0) != ($3 == 0) || ($3 != "?" && $3 != $6)) bad = 1 } END { exit bad }'
}

t=$SECONDS
play
shown new
log "first start for a new player: a new game in the window in about $((SECONDS - t)) s"
class=$(xprop -id "$win" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
[ "$class" = "$(sed -n 's/^StartupWMClass=//p' "$entry")" ] ||
  fail "the window's class is '$class', not the menu entry's StartupWMClass"
e2e_close "$game_pid"
[ -f "$data/prefs.txt" ] || fail "no $data/prefs.txt after the window closed"
saved "$data/prefs.txt" first
shows new first || fail "the game saved in $data/prefs.txt is not the one the window showed"
log "closed like a player: the game shown is saved in $data/prefs.txt"

play
shown restored
shows restored first || fail "the second start does not show the game saved in prefs.txt"
log "second start: the saved game is shown"
e2e_audio_ready
if [ -z "$no_sound" ]; then
  sound_on "$data/prefs.txt"
  read -r ex ey < <(awk '$3 == 0 { print $1, $2; exit }' "$work/restored.board")
  mark
  click $((ex * 16 + 7)) $((ey * 16 + 6)) # an empty square with nothing selected: refused
  heard "Sound on: a refused click" "$(wav_seconds /usr/share/games/dovra/woops.wav)"
fi

# A piece moved to an empty square beside it: a move no route can refuse.
read -r fx fy kind tx ty < <(awk '{ k[$1, $2] = $3 }
  END {
    split("1 0 -1 0 0 1 0 -1", d)
    for (x = 0; x < 9; x++) for (y = 0; y < 9; y++) if (k[x, y] != 0)
      for (i = 1; i < 8; i += 2) {
        nx = x + d[i]; ny = y + d[i + 1]
        if (nx >= 0 && nx < 9 && ny >= 0 && ny < 9 && k[nx, ny] == 0) { print x, y, k[x, y], nx, ny; exit }
      }
  }' "$work/first.board")
[ -n "${ty:-}" ] || fail "no piece of the saved game has an empty square beside it"
click $((fx * 16 + 7)) $((fy * 16 + 6))
sleep 0.3
click $((tx * 16 + 7)) $((ty * 16 + 6))
moved=0
for _ in $(seq 50); do
  sleep 0.2
  snap moved
  board moved | awk '$1 != "p"' >"$work/moved.board"
  [ "$(awk -v x="$tx" -v y="$ty" '$1 == x && $2 == y { print $3 }' "$work/moved.board")" != 0 ] &&
    [ "$(awk '$3 != 0' "$work/moved.board" | wc -l)" -eq "$(($(awk '$3 != 0' "$work/first.board" | wc -l) + 3))" ] &&
    moved=1 && break
done
[ $moved = 1 ] || fail "the piece did not move from ($fx, $fy) to ($tx, $ty), or three pieces did not drop"
log "kind $kind moved from ($fx, $fy) to ($tx, $ty), and three pieces dropped"
e2e_close "$game_pid"
e2e_saved_move "$data/prefs.txt" || fail "no game with the moved piece in $data/prefs.txt"
log "the move is saved in $data/prefs.txt"

# ---------------------------------------------------------------- removed
(cd "$data" && find . -type f -print0 | sort -z | xargs -0 md5sum) >"$work/player.md5"
remove_package || fail "apt-get remove: $(tail -n 5 "$work/apt.log")"
installed=0
[ ! -e /usr/games/dovra ] && [ ! -e /usr/share/games/dovra ] || fail "the package's files are still there after its removal"
(cd "$data" && md5sum --quiet -c "$work/player.md5") || fail "removing the package changed the player's folder"
# Whatever ran for the player (the game, its session bus, the accessibility bus) ends with the game's session.
player_processes() {
  local p
  for p in /proc/[0-9]*; do
    if { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qxF "HOME=$home"; then
      tr '\0' ' ' <"$p/cmdline" 2>/dev/null
      echo
    fi
  done
}
for _ in $(seq 100); do
  running=$(player_processes)
  [ -z "$running" ] && break
  sleep 0.1
done
[ -z "$running" ] || fail "still running for the player: $running"
log "removed: the player's folder is as it was, and nothing of the game runs"
[ -z "$no_sound" ] || skip "the sound check: $no_sound (every other check passed)"
echo "e2e: passed: $(basename "$deb"): lintian, desktop entry, metainfo, Depends, install, a new player's game shown and saved, shown again, heard, a move saved, remove"
