#!/usr/bin/env bash
# resources_test.sh: compiles the resource script, reads it back with windres and compares the menu,
# dialogs, picture and icon entries and version with what the program expects (pixel data left out).
# Usage: resources_test.sh WINDRES RES_DIR EXPECTED
set -euo pipefail
windres=$1 res_dir=$2 expected=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$windres" -I "$res_dir" -i "$res_dir/dovra.rc" -O res -o "$work/dovra.res"
"$windres" -i "$work/dovra.res" -O rc -o "$work/dovra.rc"
# Pixel and icon data come out as rows of hexadecimal words; the picture files have tests of their own.
grep -v '^  0x' "$work/dovra.rc" > "$work/listing.rc"
diff -u "$expected" "$work/listing.rc"
echo "resources as expected"
