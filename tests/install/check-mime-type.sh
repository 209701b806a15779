#!/usr/bin/env bash
# The installed MIME package parses, and the database made from it knows
# archives both by name and by the identified layout's 28-byte header.
# Usage: check-mime-type.sh PREFIX
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "${BASH_SOURCE[0]%/*}/common.sh"
prefix=$1

package=$prefix/share/mime/packages/$APP_ID.xml
readonly HEADER='Refractor2 FlatArchive 1.1  '

if has xmllint; then
  xmllint --noout "$package" || fail "xmllint cannot parse $package"
elif has python3; then
  python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$package" ||
    fail "python3 cannot parse $package"
else
  skip "neither xmllint (Debian: libxml2-utils) nor python3 found to parse the MIME package"
fi
echo "the MIME package parses"

has update-mime-database || {
  echo "update-mime-database not found (Debian: shared-mime-info): the rules are not checked"
  exit 0
}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
mkdir -p "$data/mime/packages"
cp "$package" "$data/mime/packages/"
# It notes on stderr that the folder is not on the search path: expected.
made=$(update-mime-database "$data/mime" 2>&1) || fail "update-mime-database refuses the package: $made"

grep -qx "[0-9]*:$MIME_TYPE:\*\.rfa" "$data/mime/globs2" || fail "no *.rfa glob for $MIME_TYPE"
# The magic file spells a string match as its 16-bit length, then its bytes:
# the two trailing spaces must be part of it.
magic=$(od -An -tx1 -v "$data/mime/magic" | tr -d ' \n')
expected=001c$(printf '%s' "$HEADER" | od -An -tx1 -v | tr -d ' \n')0a
[[ "$magic" == *"$expected"* ]] || fail "the magic does not match the 28-byte header"
echo "the database has the *.rfa glob and the 28-byte header magic"

has gio || {
  echo "gio not found: detection of sample files is not checked"
  exit 0
}
# The plain layout has only its name to go by (any case); the identified
# layout is known by its header whatever the name.
printf '%s\x24\0\0\0\0\0\0\0' "$HEADER" > "$data/identified.bin"
printf '\x08\0\0\0\0\0\0\0\0\0\0\0' > "$data/plain.RFA"
printf 'Refractor2 FlatArchive 1.1\0\0' > "$data/almost.bin"
detected() {
  XDG_DATA_HOME=$data/none XDG_DATA_DIRS=$data:/usr/share \
    gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
for sample in identified.bin plain.RFA; do
  type=$(detected "$data/$sample")
  [ "$type" = "$MIME_TYPE" ] || fail "$sample is detected as '$type', not $MIME_TYPE"
done
type=$(detected "$data/almost.bin")
[ "$type" != "$MIME_TYPE" ] || fail "a header without its two spaces is taken for an archive"
echo "sample files are detected as $MIME_TYPE"
