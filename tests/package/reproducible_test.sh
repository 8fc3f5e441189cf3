#!/usr/bin/env bash
# reproducible_test.sh RELEASE: the release folder that scripts/package made is complete and checks out
# (SHA256SUMS, the license in each zip), and packaging the same source again, copied into another folder,
# in another time zone, under another umask and later, gives every file byte for byte the same.
# Environment: DOVRA_REPRODUCIBLE_WORK, the folder of the second packaging (default ./reproducible-run).
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

[ $# -eq 1 ] || die "usage: reproducible_test.sh RELEASE"
release=$(cd "$1" && pwd)
work=${DOVRA_REPRODUCIBLE_WORK:-$PWD/reproducible-run}
fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }

version=$DOVRA_VERSION
names=$(cd "$release" && ls)
[ "$names" = "$(printf '%s\n' SHA256SUMS "dovra-$version-setup.exe" "dovra-$version-web.zip" "dovra-$version-win32.zip" \
  "dovra-$version-win64.zip" "dovra_$version-1_amd64.deb")" ] ||
  fail "the release folder holds: $(tr '\n' ' ' <<<"$names")"
(cd "$release" && sha256sum --quiet -c SHA256SUMS) || fail "sha256sum -c SHA256SUMS"
# Each zip unpacks to one folder of its own, the license in it.
declare -A top=(["dovra-$version-win32.zip"]=dovra-$version ["dovra-$version-win64.zip"]=dovra-$version
  ["dovra-$version-web.zip"]=dovra-$version-web)
for zip in "${!top[@]}"; do
  # Listed first: grep -q ends at the first match, and unzip, writing on, would then fail the pipe.
  listing=$(unzip -Z1 "$release/$zip")
  ! grep -qv "^${top[$zip]}/" <<<"$listing" || fail "$zip holds files outside ${top[$zip]}/"
  grep -qx "${top[$zip]}/LICENSE.txt" <<<"$listing" || fail "$zip has no ${top[$zip]}/LICENSE.txt"
done

# The same source as the first packaging: the files git knows of, changes not yet committed included.
epoch=$(dovra_reproducible_env && echo "$SOURCE_DATE_EPOCH")
rm -rf "$work"
mkdir -p "$work/source"
(cd "$DOVRA_ROOT" && git ls-files -z -co --exclude-standard | xargs -0 cp --parents -t "$work/source")
(cd "$work/source" && umask 077 && TZ=Pacific/Kiritimati SOURCE_DATE_EPOCH=$epoch DOVRA_BUILD_DIR=$work/build \
  bash scripts/package >"$work/package.log" 2>&1) || {
  cat "$work/package.log"
  fail "the second packaging failed"
}
[ "$(cd "$work/build/release" && ls)" = "$names" ] || fail "the second packaging made: $(ls "$work/build/release" | tr '\n' ' ')"
for f in $names; do
  cmp "$release/$f" "$work/build/release/$f" || fail "$f differs between the two packagings"
done
echo "e2e: passed: every release file the same from $work/source, in UTC+14 under umask 077, $(($(date +%s) - $(stat -c %Y "$release/SHA256SUMS"))) s later"
