#!/usr/bin/env bash
# Installs the build into a fresh prefix for the checks that follow.
# Usage: install-into-prefix.sh CMAKE BUILD_DIR PREFIX
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "${BASH_SOURCE[0]%/*}/common.sh"
cmake=$1 build=$2 prefix=$3

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix"
[ -x "$prefix/bin/rfa" ] || fail "nothing installed at $prefix/bin/rfa"
