#!/usr/bin/env bash
# Every installed man page renders without a single formatter warning,
# names its program and carries the project's version.
# Usage: check-man-pages.sh PREFIX VERSION
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "${BASH_SOURCE[0]%/*}/common.sh"
prefix=$1 version=$2

if has man; then
  render() { MANPAGER=cat MANWIDTH=80 man --warnings -l "$1"; }
elif has groff; then
  render() { gzip -dcf "$1" | groff -man -Tutf8 -ww; }
else
  skip "neither man (Debian: man-db) nor groff found to render the man pages"
fi

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
pages=("$prefix"/share/man/man1/*.1*)
[ -e "${pages[0]}" ] || fail "no man page is installed"
for page in "${pages[@]}"; do
  name=$(basename "$page")
  name=${name%%.1*}
  text=$(render "$page" 2> "$errors") || fail "$page does not render: $(cat "$errors")"
  [ ! -s "$errors" ] || fail "$page renders with warnings: $(cat "$errors")"
  grep -q "^ *$name - " <<< "$text" || fail "$page has no NAME line for $name"
  grep -q "Larkspan $version" <<< "$text" || fail "$page does not say Larkspan $version"
  echo "$name(1) renders cleanly"
done
