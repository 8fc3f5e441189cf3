#!/usr/bin/env bash
# web.sh: what the web site costs a player, measured against its floor, a bare page whose inline script paints
# one canvas (bench/bare_page.html), both served by Python's http.server on 127.0.0.1 and loaded in Debian's
# Chromium (bench/web.mjs, with the playwright-core that tests/web pins): the time from navigation to the
# first frame that shows the board (a first visit and a return visit), the CPU the browser takes with the
# game shown and left at rest, and the site's size, gzipped. A benchmark, not a test: it prints figures and
# judges nothing. Medians of DOVRA_BENCH_RUNS runs (5), at rest over DOVRA_BENCH_IDLE seconds (10). Its files
# are in <build>/bench-web/ (DOVRA_BUILD_DIR, default build/).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"

runs=${DOVRA_BENCH_RUNS:-5}
idle=${DOVRA_BENCH_IDLE:-10}
build_root=${DOVRA_BUILD_DIR:-$DOVRA_ROOT/build}
out=$build_root/bench-web

dovra_install
cd "$DOVRA_ROOT"
say "building the site (preset web)"
dovra_preset_build web "$build_root/web" bench-build.log
rm -rf "$out"
mkdir -p "$out/root/bare"
cmake --install "$build_root/web" --prefix "$out/root/dovra" >/dev/null
cp bench/bare_page.html "$out/root/bare/index.html"
[ -d tests/web/node_modules/playwright-core ] ||
  (cd tests/web && npm ci --no-audit --no-fund --loglevel=error) >"$out/npm.log" 2>&1 ||
  die "npm ci in tests/web failed (log: $out/npm.log)"

# The site as a host would send it compressed: every file gzipped on its own.
echo
echo "| File | Bytes | gzip -9 |"
echo "|---|---|---|"
(cd "$out/root/dovra" && find . -type f | sort | while read -r f; do
  echo "| ${f#./} | $(stat -c %s "$f") | $(gzip -9 -n -c "$f" | wc -c) |"
done) | tee "$out/sizes.md"
awk -F' [|] ' '{ b += $2; g += $3 } END { printf "| the whole site | %d | %d (%.1f KB; aim: at most 200 KB) |\n", b, g, g / 1000 }' \
  "$out/sizes.md"

# The server on a free port, its request log kept for the count of what a first visit fetches.
python3 -u -m http.server --bind 127.0.0.1 --directory "$out/root" 0 >"$out/server.out" 2>"$out/server.log" &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  grep -q ' port ' "$out/server.out" && break
  sleep 0.1
done
port=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$out/server.out")
[ -n "$port" ] || die "the server did not start: $(cat "$out/server.log")"
say "measuring on http://127.0.0.1:$port/: $runs runs of each page, at rest over $idle s"
node bench/web.mjs "http://127.0.0.1:$port" "$out/root/dovra" "$out/server.log" "$runs" "$idle" 2>>"$out/chromium.log"
