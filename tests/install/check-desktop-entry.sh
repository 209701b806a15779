#!/usr/bin/env bash
# The installed desktop entry passes desktop-file-validate; its hints (two
# main categories, on purpose) are shown but do not fail.
# Usage: check-desktop-entry.sh PREFIX WITH_APP(1|0)
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "${BASH_SOURCE[0]%/*}/common.sh"
prefix=$1 with_app=$2

[ "$with_app" = 1 ] || skip "the editor is not built, so there is no desktop entry"
has desktop-file-validate || skip "desktop-file-validate not found (Debian: desktop-file-utils)"

desktop=$prefix/share/applications/$APP_ID.desktop
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate refuses it: $report"
[ -z "$report" ] || echo "$report"
! grep -Eq ': (error|warning):' <<< "$report" || fail "desktop-file-validate warns"
echo "the desktop entry validates"
