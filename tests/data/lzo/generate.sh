#!/bin/sh
# Regenerates the LZO1X fixtures in this folder with liblzo2 (liblzo2-dev).
# The outputs are committed: tests need no liblzo2.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cc -std=c99 -O2 -Wall -Wextra -o "$tmp/make_lzo_fixtures" "$here/make_lzo_fixtures.c" $(pkg-config --cflags --libs lzo2)
cd "$here"
"$tmp/make_lzo_fixtures"
