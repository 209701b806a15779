#!/usr/bin/env bash
# Drags entries with a real mouse under a virtual X server (packages xvfb,
# xdotool, imagemagick): a folder from one archive window into another of
# the same editor, a file from a second editor into the first, and a file
# from another program (standing in for a file manager) into a window; then
# saves and checks the archives with rfa. Not part of ctest: it drives
# pixels of the default style and font.
#   scripts/drag-and-drop.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
fi
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# Three archives: one.rfa bf1942/{a/x.con,b.con}, two.rfa bf1942/c/z.con,
# three.rfa bf1942/t.con.
pack() { # ARCHIVE FILE...
  local archive=$1 folder="$work/src-$1"; shift
  for file in "$@"; do mkdir -p "$folder/$(dirname "$file")"; echo "$file" > "$folder/$file"; done
  (cd "$folder" && "$build/rfa" pack bf1942 -o "$work/$archive")
}
pack one.rfa bf1942/a/x.con bf1942/b.con
pack two.rfa bf1942/c/z.con
pack three.rfa bf1942/t.con
echo "from disk" > "$work/disk.con"
# Windows open as outline lists.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Larkspan"
printf '[General]\ndefaultViewMode=1\n' > "$XDG_CONFIG_HOME/Larkspan/Larkspan.conf"

window() { # TITLE X: the window, placed at X (they all open at 0 0)
  local id
  id=$(xdotool search --sync --onlyvisible --name "$1" | head -1)
  xdotool windowmove "$id" "$2" 0 windowsize "$id" 400 300
  echo "$id"
}
unfold() { # X: opens the root folder of the window at X
  xdotool mousemove $(($1 + 16)) 80 click 1 # its arrow
}
drag() { # FROM_X FROM_Y TO_X TO_Y, in small steps as a hand would
  xdotool mousemove "$1" "$2" mousedown 1
  for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $(($1 + ($3 - $1) * step / 10)) $(($2 + ($4 - $2) * step / 10))
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 1
}
# Rows are 18 pixels apart from the root's at y 80.
row() { echo $((80 + 18 * $1)); }

"$build/larkspan" "$work/one.rfa" "$work/two.rfa" &
one=$(window one.rfa 0)
two=$(window two.rfa 420)
"$build/larkspan" "$work/three.rfa" &
three=$(window three.rfa 840)
"$build/larkspan-file-drag-source" "$work/disk.con" &
files=$(xdotool search --sync --onlyvisible --name "file drag source" | head -1)
xdotool windowmove "$files" 420 400
sleep 1
for x in 0 420 840; do unfold $x; done
sleep 0.5

# one: bf1942, b.con, a, x.con. two: bf1942, c, z.con. three: bf1942, t.con.
drag 80 "$(row 2)" 500 "$(row 1)"  # a from one onto c of two: moved
drag 920 "$(row 1)" 80 "$(row 0)"  # t.con from the other editor onto one's root: copied
drag 520 450 500 "$(row 0)"        # disk.con from the other program onto two's root: added
for id in "$one" "$two"; do
  xdotool windowfocus --sync "$id" key ctrl+s
  sleep 0.5
done
import -window root "$work/after.png"

listing() { "$build/rfa" list "$work/$1" | sort | tr '\n' ' '; }
expect() { # ARCHIVE LISTING
  local got
  got=$(listing "$1")
  if [ "$got" != "$2" ]; then
    echo "FAIL $1: $got (expected $2)"
    cp "$work/after.png" "$build/drag-and-drop-failure.png"
    exit 1
  fi
  echo "ok   $1: $got"
}
expect one.rfa "bf1942/b.con bf1942/t.con "
expect two.rfa "bf1942/c/a/x.con bf1942/c/z.con bf1942/disk.con "
expect three.rfa "bf1942/t.con "
