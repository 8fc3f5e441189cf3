#!/usr/bin/env bash
# installer_test.sh SETUP.exe ZIP: the Windows installer under Wine, in a fresh prefix, as a player meets
# it: a silent install holding the very files of the release zip ZIP, its Start-menu shortcut and Apps
# entry; the game started from the shortcut, a move made, closed like a player and its prefs.txt found in
# the install folder; installing and uninstalling refused while the game runs; a second install over the
# first that keeps prefs.txt and scores.txt byte for byte; and the silent uninstall, which leaves only them.
# Environment: DOVRA_INSTALLER_WORK, the run's folder (default ./installer-run).
# Exits 77 after printing "SKIPPED: why" when this machine cannot run the installer.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../e2e/e2e_lib.sh"

[ $# -eq 2 ] || die "usage: installer_test.sh SETUP.exe ZIP"
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
zip=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=${DOVRA_INSTALLER_WORK:-$PWD/installer-run}
rm -rf "$work"
mkdir -p "$work"

size=$(stat -c %s "$setup")
[ "$size" -lt 307200 ] || fail "$(basename "$setup"): $size bytes, more than 300 KB"
# The version resource is UTF-16 text in the file's resources, which the compression leaves alone.
for text in ProductName Dovra "$DOVRA_VERSION" "MIT License"; do
  LC_ALL=C grep -qaP "$(sed 's/./&\\x00/g' <<<"$text")" "$setup" || fail "$(basename "$setup"): no \"$text\" in its version resource"
done
# The program's icon: the bytes of its image stand in the installer's resources.
hex() { od -An -v -tx1 "$@" | tr -d ' \n'; }
ico=$here/../../res/dovra.ico
hex "$setup" | grep -qF "$(hex -j "$(od -An -tu4 -j18 -N4 "$ico")" -N "$(od -An -tu4 -j14 -N4 "$ico")" "$ico")" ||
  fail "$(basename "$setup"): the program's icon is not in it"
unzip -q "$zip" -d "$work/zip"
files=$(cd "$work/zip"/dovra-* && pwd)
dovra_wine32_check "$setup" || skip "$DOVRA_WINE32_WHY"
dovra_wine32_check "$files/dovra.exe" || skip "$DOVRA_WINE32_WHY"
log "$(basename "$setup"): $size bytes, with the program's icon and its version resource"

e2e_xvfb_start
e2e_wine_start "$work/prefix"
wine_run() { "$DOVRA_WINE64" "$@" </dev/null 2>>"$work/wine.log"; }
succeeds() { # WHAT PROGRAM ARGS...: the program must end with exit code 0
  local what=$1 rc=0
  shift
  wine_run "$@" || rc=$?
  [ $rc -eq 0 ] || fail "$what: exit code $rc"
}

user=$(id -un)
dir=$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Dovra
windir="C:\\users\\$user\\AppData\\Local\\Programs\\Dovra"
lnk="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Dovra.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dovra'
shipped=(dovra.exe move.wav woops.wav drop.wav zip.wav gameover.wav winner.wav README.txt LICENSE.txt)

# installed WHAT [running]: the install folder holds the zip's files, the same bytes, and the uninstaller
# besides; while the game runs, its lock too.
installed() {
  local f lock=()
  [ "${2:-}" != running ] || lock=(dovra.lock)
  [ "$(ls "$dir" | grep -vxE 'prefs.txt|scores.txt' | sort)" = "$(printf '%s\n' "${shipped[@]}" uninstall.exe "${lock[@]}" | sort)" ] ||
    fail "$1: the install folder holds: $(ls "$dir" | tr '\n' ' ')"
  for f in "${shipped[@]}"; do cmp -s "$files/$f" "$dir/$f" || fail "$1: $f differs from the zip's"; done
}

# lnk_fields FILE: two lines, the local path a shortcut file points to and its working folder, read by its layout: a header of 76 bytes, an item list and a link-info block by the flags, then
# counted UTF-16 strings (description, relative path, working folder, ...). Wine counts the strings'
# terminating NUL, which is dropped.
lnk_fields() {
  od -An -v -tu1 "$1" | awk '
    { for (i = 1; i <= NF; i++) b[n++] = $i }
    function u16(o) { return b[o] + 256 * b[o + 1] }
    function u32(o) { return u16(o) + 65536 * u16(o + 2) }
    function has(bit) { return int(flags / bit) % 2 }
    END {
      flags = u32(20); o = 76
      if (has(1)) o += 2 + u16(o)
      if (has(2)) {
        for (p = o + u32(o + 16); b[p]; p++) target = target sprintf("%c", b[p])
        o += u32(o)
      }
      for (bit = 4; bit <= 64; bit *= 2) {
        if (!has(bit)) continue
        count = u16(o); o += 2; s = ""
        for (k = 0; k < count; k++) { c = u16(o + 2 * k); if (c) s = s sprintf("%c", c) }
        o += 2 * count
        if (bit == 16) workdir = s
      }
      print target; print workdir
    }'
}

# start_from_shortcut: the game, started through its shortcut as the Start menu starts it, which returns
# at once; sets game_pid, the game's own process, and checks that it runs in the install folder.
start_from_shortcut() {
  (cd / && exec "$DOVRA_WINE64" start /unix "$lnk" </dev/null >>"$work/dovra.log" 2>&1)
  e2e_window
  game_pid=$win_pid
  e2e_pids+=("$game_pid")
  [ "$(readlink "/proc/$game_pid/cwd")" = "$dir" ] || fail "the game runs in $(readlink "/proc/$game_pid/cwd"), not in $dir"
}

# ---------------------------------------------------------------- the first install
succeeds "silent install" "$setup" /S
installed "the first install"
log "installed silently into $windir"

{ read -r target && read -r workdir; } < <(lnk_fields "$lnk")
[ "$target" = "$windir\\dovra.exe" ] || fail "the shortcut points to '$target', not $windir\\dovra.exe"
[ "$workdir" = "$windir" ] || fail "the shortcut starts in '$workdir', not $windir"
log "the Start-menu shortcut starts dovra.exe in the install folder"

entry=$(wine_run reg query "$key" | tr -d '\r')
expect_value() { # NAME TYPE VALUE
  grep -qxF "    $1    $2    $3" <<<"$entry" || fail "Apps entry: $1 is not $2 '$3': $(grep -F "    $1 " <<<"$entry" || echo missing)"
}
expect_value DisplayName REG_SZ Dovra
expect_value DisplayVersion REG_SZ "$DOVRA_VERSION"
expect_value Publisher REG_SZ "the Dovra developers"
expect_value DisplayIcon REG_SZ "$windir\\dovra.exe"
expect_value InstallLocation REG_SZ "$windir"
expect_value UninstallString REG_SZ "\"$windir\\uninstall.exe\""
expect_value QuietUninstallString REG_SZ "\"$windir\\uninstall.exe\" /S"
expect_value NoModify REG_DWORD 0x1
expect_value NoRepair REG_DWORD 0x1
kb=$(($(sed -n 's/^    EstimatedSize    REG_DWORD    //p' <<<"$entry")))
[ $kb -ge $(($(du -sk --apparent-size "$dir" | cut -f1) - 8)) ] || fail "Apps entry: EstimatedSize $kb KB is less than the folder"
log "the Apps entry is complete (EstimatedSize $kb KB)"

# ---------------------------------------------------------------- played from the shortcut
start_from_shortcut
e2e_first_paint start
e2e_move_new_game

# While the game runs, neither the installer nor the uninstaller touches the folder.
printf '450 Ann\n' >"$dir/scores.txt"
cp -p "$dir/scores.txt" "$work/scores.before"
refused() { # WHAT PROGRAM ARGS...: the program must give up with a non-zero exit code, the folder untouched
  local what=$1 rc=0
  shift
  wine_run "$@" || rc=$?
  [ $rc -ne 0 ] || fail "$what went ahead while Dovra was running"
  installed "$what, refused while Dovra runs" running
}
refused "the installer" "$setup" /S
# Run in place (_?=), the uninstaller gives its own exit code instead of going on in a copy of itself.
refused "the uninstaller" "$dir/uninstall.exe" /S "_?=$windir"
log "the installer and the uninstaller give up while Dovra runs"

e2e_close "$game_pid"
e2e_saved_move "$dir/prefs.txt" || fail "prefs.txt in the install folder does not hold the moved piece"
log "the game saved prefs.txt in the install folder"

# ---------------------------------------------------------------- installed again over it
cp -p "$dir/prefs.txt" "$work/prefs.before"
succeeds "second install" "$setup" /S
installed "the second install"
cmp -s "$work/prefs.before" "$dir/prefs.txt" || fail "the second install changed prefs.txt"
cmp -s "$work/scores.before" "$dir/scores.txt" || fail "the second install changed scores.txt"
log "installed again: prefs.txt and scores.txt are as they were"

# ---------------------------------------------------------------- uninstalled
succeeds "silent uninstall" "$dir/uninstall.exe" /S
# The uninstaller runs on from a copy of itself in the temporary folder.
for _ in $(seq 100); do
  [ -e "$lnk" ] || [ -e "$dir/dovra.exe" ] || break
  sleep 0.1
done
gone=0
for _ in $(seq 10); do
  wine_run reg query "$key" >/dev/null 2>&1 || { gone=1 && break; }
  sleep 0.5
done
[ $gone = 1 ] || fail "the Apps entry is still there after the uninstall"
[ ! -e "$lnk" ] || fail "the shortcut is still there after the uninstall"
[ "$(ls "$dir" | tr '\n' ' ')" = "prefs.txt scores.txt " ] || fail "after the uninstall the folder holds: $(ls "$dir" | tr '\n' ' ')"
cmp -s "$work/prefs.before" "$dir/prefs.txt" && cmp -s "$work/scores.before" "$dir/scores.txt" ||
  fail "the uninstall changed prefs.txt or scores.txt"
log "uninstalled: only prefs.txt and scores.txt are left, as they were"
echo "e2e: passed: $(basename "$setup"): install, shortcut, Apps entry, start, move, refused while running, upgrade, uninstall"
