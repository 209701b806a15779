#!/bin/sh
# Regenerates the compressed archives, their manifest and the small entry
# contents in this folder with liblzo2 (liblzo2-dev). The outputs are
# committed: tests need no liblzo2.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cc -std=c99 -O2 -Wall -Wextra -o "$tmp/make_archives" "$here/make_archives.c" $(pkg-config --cflags --libs lzo2)
cd "$here"
rm -rf contents
"$tmp/make_archives"
