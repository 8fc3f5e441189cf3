#!/usr/bin/env bash
# startup.sh: what the GTK program costs a player, measured against its floor, a bare GTK 4 window of the same
# size (bench/bare_window.c) with GTK's default renderer and with the cairo renderer Dovra picks: the time from
# exec to the first frame in the window, the memory (PSS) 2 s after exec, the CPU time taken while idle, and
# the sizes of the program and its package. A benchmark, not a test: it prints figures and judges nothing.
# Runs in a virtual X server of its own (Xvfb), in a D-Bus session of its own, as a desktop would have; the
# figures are medians of DOVRA_BENCH_RUNS runs (5), idle over DOVRA_BENCH_IDLE seconds (20). Its files are
# in <build>/bench/ (DOVRA_BUILD_DIR, default build/).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

runs=${DOVRA_BENCH_RUNS:-5}
idle=${DOVRA_BENCH_IDLE:-20}
build_root=${DOVRA_BUILD_DIR:-$DOVRA_ROOT/build}
out=$build_root/bench

# ---------------------------------------------------------------- outside the session: build, then the display
if [ "${1:-}" != --in-session ]; then
  dovra_install
  cd "$DOVRA_ROOT"
  say "building the GTK program (preset linux), its package and the floor"
  dovra_linux_build "$build_root/linux"
  rm -rf "$out"
  mkdir -p "$out"
  bash package/deb-stage "$build_root/linux" "$out/root"
  bash package/deb-package "$build_root/linux" "$out"
  cc -O2 -Wall -Wextra -Werror -o "$out/bare_window" bench/bare_window.c $(pkg-config --cflags --libs gtk4)
  cc -O2 -Wall -Wextra -Werror -o "$out/first_frame" bench/first_frame.c $(pkg-config --cflags --libs x11 xdamage)
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$out/display" >"$out/xvfb.log" 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true; timeout 5 tail --pid="$xvfb_pid" -f /dev/null || true' EXIT
  for _ in $(seq 100); do
    [ -s "$out/display" ] && break
    sleep 0.1
  done
  [ -s "$out/display" ] || die "Xvfb did not start: $(cat "$out/xvfb.log")"
  export DISPLAY=:$(head -n 1 "$out/display")
  say "measuring on $DISPLAY: $runs runs of each, idle over $idle s"
  # The session's own messages go to its log; the runs report on fd 3.
  timeout $((runs * 3 * (idle + 40) + 300)) dbus-run-session -- bash "${BASH_SOURCE[0]}" --in-session \
    3>&2 2>>"$out/session.log"
  exit
fi

# ---------------------------------------------------------------- in the session: the runs
exec 2>&3 3>&-
mkdir -p "$out/home" "$out/runtime"
chmod 700 "$out/runtime"
export HOME=$out/home XDG_RUNTIME_DIR=$out/runtime
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME GSK_RENDERER GDK_BACKEND
tick=$(getconf CLK_TCK)

# cpu PID: the user and system CPU time of process PID, all its threads, in clock ticks (fields 14 and 15 of
# its stat, counted after the name, which may hold spaces).
cpu() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# run NAME [--no-idle] VARIABLE=VALUE... PROGRAM: one start of PROGRAM; appends "SECONDS PSS_KIB CPU_TICKS" to
# NAME.runs (with --no-idle only its start, to NAME.first).
run() {
  local name=$1 file=$out/$1.runs pid secs pss c0 c1 ff
  shift
  if [ "$1" = --no-idle ]; then
    file=$out/$name.first
    shift
  fi
  : >"$out/frame"
  env "${@:1:$#-1}" "$out/first_frame" 30 "${@: -1}" >"$out/frame" 2>>"$out/$name.log" &
  ff=$!
  for _ in $(seq 400); do
    [ -s "$out/frame" ] || ! kill -0 "$ff" 2>/dev/null && break
    sleep 0.1
  done
  read -r pid secs <"$out/frame" || die "$name showed no window (log: $out/$name.log)"
  if [ "$file" = "$out/$name.runs" ]; then
    sleep "$(awk -v s="$secs" 'BEGIN { print (s < 2 ? 2 - s : 0) }')"
    pss=$(awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup")
    c0=$(cpu "$pid")
    sleep "$idle"
    c1=$(cpu "$pid")
    echo "$secs $pss $((c1 - c0))" >>"$file"
  else
    echo "$secs" >>"$file"
  fi
  kill "$pid"
  timeout 10 tail --pid="$pid" -f /dev/null || kill -9 "$pid" 2>/dev/null || true
  wait "$ff" || true
}

# The programs: the floor with its default renderer and with cairo's, and Dovra from the package's layout.
floor_gl() { run floor-default "$@" "$out/bare_window"; }
floor_cairo() { run floor-cairo "$@" GSK_RENDERER=cairo "$out/bare_window"; }
# And with Dovra's own settings: the cairo renderer and no GL driver loaded at all.
floor_nogl() { run floor-nogl "$@" GSK_RENDERER=cairo GDK_DEBUG=gl-disable "$out/bare_window"; }
dovra() { run dovra "$@" "$out/root/usr/games/dovra"; }

# Dovra's first start for a new player, after the floor has brought the accessibility bus up and the
# libraries into memory; then one start of each unmeasured, so every measured start is a warm one.
floor_cairo --no-idle
dovra --no-idle
floor_gl --no-idle
floor_nogl --no-idle
for i in $(seq "$runs"); do
  say "run $i of $runs"
  floor_gl
  floor_cairo
  floor_nogl
  dovra
done

# ---------------------------------------------------------------- the figures
median() { sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# figure NAME COLUMN: the median of one column of NAME's runs.
figure() { awk -v c="$2" '{ print $c }' "$out/$1.runs" | median; }
row() {
  printf '| %s | %.3f s | %.1f MiB | %.3f %% |\n' "$1" "$(figure "$2" 1)" "$(figure "$2" 2 | awk '{ print $1 / 1024 }')" \
    "$(figure "$2" 3 | awk -v t="$tick" -v s="$idle" '{ print 100 * $1 / t / s }')"
}
deb=$(ls "$out"/dovra_*_amd64.deb)
echo
echo "Medians of $runs runs on $DISPLAY (Xvfb), in a D-Bus session; idle CPU over $idle s, after the PSS at 2 s."
echo
echo "| Program | Start: exec to first frame | PSS after 2 s | Idle CPU (of a core) |"
echo "|---|---|---|---|"
row "bare GTK 4 window, default renderer" floor-default
row "bare GTK 4 window, cairo renderer" floor-cairo
row "bare GTK 4 window, cairo renderer, no GL loaded" floor-nogl
row "Dovra (cairo renderer)" dovra
echo
printf 'Dovra, first start for a new player: %.3f s\n' "$(cat "$out/dovra.first")"
printf 'Package %s: %d bytes; program /usr/games/dovra: %d bytes; Installed-Size: %s KiB\n' "$(basename "$deb")" \
  "$(stat -c %s "$deb")" "$(stat -c %s "$out/root/usr/games/dovra")" "$(dpkg-deb -f "$deb" Installed-Size)"
# against FLOOR NAME: Dovra's figures as multiples of, or differences from, one floor's.
against() {
  awk -v d="$(figure dovra 1)" -v f="$(figure "$1" 1)" -v dp="$(figure dovra 2)" -v fp="$(figure "$1" 2)" -v n="$2" 'BEGIN {
    printf "Against the %s: start x %.2f (aim: at most 1.2), PSS %+.1f MiB (aim: at most +10)\n", n, d / f, (dp - fp) / 1024
  }'
}
against floor-default "bare window as GTK starts it"
against floor-cairo "bare window with the cairo renderer"
against floor-nogl "bare window with Dovra's settings"
awk -v c="$(figure dovra 3)" -v t="$tick" -v s="$idle" -v size="$(stat -c %s "$deb")" 'BEGIN {
  printf "Idle CPU %.3f %% (aim: at most 0.1 %%), package %.0f KB (aim: at most 200 KB)\n", 100 * c / t / s, size / 1000
}'
