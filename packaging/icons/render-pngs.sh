#!/usr/bin/env bash
# Renders the committed PNG icons from the SVG; run it after changing the SVG.
# Needs rsvg-convert (Debian: librsvg2-bin), which the build itself does not.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" org.ostmere.Larkspan.svg \
    --output "org.ostmere.Larkspan-$size.png"
done
