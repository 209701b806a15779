#!/usr/bin/env bash
# Pictures of the editor on the bundled sample, for the README, taken under
# a virtual X server (package xvfb): docs/screenshots/*.png.
#   scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake --build "$build" --target larkspan-screenshots demo_archive
xvfb-run -a -s "-screen 0 1280x900x24" "$build/larkspan-screenshots" "$build/demo.rfa" "$top/docs/screenshots"
ls -l "$top/docs/screenshots"
