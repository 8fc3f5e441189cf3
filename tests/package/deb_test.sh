#!/usr/bin/env bash
# deb_test.sh DEB: the Debian package as its ecosystem judges it (lintian, desktop-file-validate,
# appstreamcli) and as a new player meets it: installed with apt-get, `dovra` started for an empty home in
# a virtual X server, a move made, the window closed like a player and the game found saved in the
# player's folder; started once more, Sound switched on and a refused click heard through the player's
# PulseAudio server; then the package removed, the player's folder left as it was, and nothing left running.
# Environment: DOVRA_DEB_WORK, the run's folder (default ./deb-run).
# Exits 77 after printing "SKIPPED: why" when packages cannot be installed here.
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
log "lintian, desktop-file-validate and appstreamcli find nothing wrong"

# ---------------------------------------------------------------- installed
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
! dpkg -s dovra >/dev/null 2>&1 || skip "a dovra package is installed already, which this test would remove"
installed=0
remove_package() { DEBIAN_FRONTEND=noninteractive apt-get remove -y -q dovra >>"$work/apt.log" 2>&1; }
trap '[ $installed = 0 ] || remove_package || true; e2e_cleanup' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  fail "apt-get install: $(tail -n 5 "$work/apt.log")"
installed=1
log "installed with apt-get"

# ---------------------------------------------------------------- a new player
e2e_audio_start
e2e_xvfb_start
home=$work/home
data=$home/.local/share/dovra
mkdir -p "$home"
# play [SECONDS]: starts dovra as the player does, from a folder of no importance; sets game_pid.
play() {
  (cd / && HOME=$home && export HOME && unset XDG_DATA_HOME WINEPREFIX WINEDLLOVERRIDES &&
    exec dovra </dev/null >>"$work/dovra.log" 2>&1) &
  game_pid=$!
  e2e_pids+=("$game_pid")
  e2e_window "$game_pid" "${1:-15}"
  e2e_first_paint start
}
PATH=/usr/games:$PATH
t=$SECONDS
play 60
log "first start, with the Wine prefix made: the window in about $((SECONDS - t)) s"
e2e_move_new_game
e2e_close "$game_pid"
e2e_saved_move "$data/prefs.txt" || fail "no game with the moved piece in $data/prefs.txt"
for wav in move woops drop zip gameover winner; do
  cmp -s "$data/$wav.wav" "/usr/share/games/dovra/$wav.wav" || fail "$wav.wav is not in the player's folder"
done
log "the game is saved in the player's folder, beside its sounds and Wine prefix"

t=$SECONDS
play
log "second start: the window in about $((SECONDS - t)) s"
refused
e2e_audio_ready
if [ -z "$no_sound" ]; then
  sound_on "$data/prefs.txt"
  mark
  refused
  heard "Sound on: a refused click" "$(wav_seconds "$data/woops.wav")"
fi
e2e_close "$game_pid"

# ---------------------------------------------------------------- removed
(cd "$data" && find . -path ./wineprefix -prune -o -type f -print0 | sort -z | xargs -0 md5sum) >"$work/player.md5"
timeout 30 env WINEPREFIX="$data/wineprefix" "$DOVRA_WINESERVER" -w || fail "Wine still runs for the player 30 s after the game closed"
remove_package || fail "apt-get remove: $(tail -n 5 "$work/apt.log")"
installed=0
[ ! -e /usr/games/dovra ] && [ ! -e /usr/share/games/dovra ] || fail "the package's files are still there after its removal"
(cd "$data" && md5sum --quiet -c "$work/player.md5") || fail "removing the package changed the player's folder"
for p in /proc/[0-9]*; do
  if { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$data/wineprefix"; then
    fail "still running for the player: $(tr '\0' ' ' <"$p/cmdline")"
  fi
done
log "removed: the player's folder is as it was, and nothing of the game runs"
[ -z "$no_sound" ] || skip "the sound check: $no_sound (every other check passed)"
echo "e2e: passed: $(basename "$deb"): lintian, desktop entry, metainfo, install, first start for a new player, move, saved, second start heard, remove"
