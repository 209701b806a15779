#!/usr/bin/env bash
# The installed AppStream metadata validates together with the desktop
# entry it launches.
# Usage: check-metainfo.sh PREFIX WITH_APP(1|0)
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "${BASH_SOURCE[0]%/*}/common.sh"
prefix=$1 with_app=$2

[ "$with_app" = 1 ] || skip "the editor is not built, so there is no AppStream metadata"
has appstreamcli || skip "appstreamcli not found (Debian: appstream)"
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli refuses the installed tree"
