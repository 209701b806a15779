#!/usr/bin/env bash
# The installed tree holds every file in its place, and the files agree
# with each other: the desktop entry starts an installed program, shows an
# installed icon and opens the type the MIME package declares.
# Usage: check-files.sh PREFIX VERSION WITH_APP(1|0)
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "${BASH_SOURCE[0]%/*}/common.sh"
prefix=$1 version=$2 with_app=$3

share=$prefix/share
desktop=$share/applications/$APP_ID.desktop
mime_xml=$share/mime/packages/$APP_ID.xml

expect_file() {
  [ -f "$prefix/$1" ] || fail "$1 is not installed"
}

expect_program() {
  [[ -f "$prefix/bin/$1" && -x "$prefix/bin/$1" ]] || fail "bin/$1 is not an installed program"
}

expect_man_page() {
  compgen -G "$share/man/man1/$1.1*" > /dev/null || fail "no man page $1(1)"
}

# A PNG whose header says SIZE x SIZE.
expect_png() {
  local file=$1 size=$2
  [ -f "$file" ] || fail "${file#"$prefix"/} is not installed"
  local header
  header=$(od -An -tx1 -N24 "$file" | tr -d ' \n')
  [ "${header:0:16}" = 89504e470d0a1a0a ] || fail "$file is not a PNG"
  local width=$((16#${header:32:8})) height=$((16#${header:40:8}))
  (( width == size && height == size )) ||
    fail "$file is ${width}x${height}, its folder says ${size}x${size}"
}

expect_program rfa
expect_man_page rfa
expect_file share/mime/packages/"$APP_ID".xml
grep -q "type=\"$MIME_TYPE\"" "$mime_xml" || fail "the MIME package does not declare $MIME_TYPE"

shown=$("$prefix/bin/rfa" --version)
[ "$shown" = "rfa $version" ] || fail "installed rfa --version says '$shown', not 'rfa $version'"

if [ "$with_app" != 1 ]; then
  [ ! -e "$desktop" ] || fail "a desktop entry is installed without the editor"
  [ ! -e "$prefix/bin/larkspan" ] || fail "bin/larkspan is installed though the editor is not built"
  echo "rfa, its man page and the MIME package are installed (the editor is not built)"
  exit 0
fi

expect_program larkspan
shown=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/larkspan" --version)
[ "$shown" = "Larkspan $version" ] ||
  fail "installed larkspan --version says '$shown', not 'Larkspan $version'"
expect_man_page larkspan
expect_file share/applications/"$APP_ID".desktop
expect_file share/metainfo/"$APP_ID".metainfo.xml
expect_file share/icons/hicolor/scalable/apps/"$APP_ID".svg
for size in 16 32 48 64 128 256; do
  expect_png "$share/icons/hicolor/${size}x${size}/apps/$APP_ID.png" "$size"
done

exec_line=$(desktop_value "$desktop" Exec)
program=${exec_line%% *}
[ -x "$prefix/bin/$program" ] || fail "the desktop entry runs '$program', which is not in bin/"
[[ "$exec_line" == *%F* ]] || fail "the desktop entry does not pass the files it opens: $exec_line"
[ "$(desktop_value "$desktop" Icon)" = "$APP_ID" ] || fail "the desktop entry shows another icon"
[[ ";$(desktop_value "$desktop" MimeType)" == *";$MIME_TYPE;"* ]] ||
  fail "the desktop entry does not open $MIME_TYPE"
grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" \
  "$share/metainfo/$APP_ID.metainfo.xml" || fail "the metainfo launches another desktop entry"
echo "every file is installed and they agree"
