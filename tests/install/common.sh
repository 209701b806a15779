# shellcheck shell=bash disable=SC2034
# Sourced by the installed-tree checks, after their `set -euo pipefail` (so
# that a missing helper fails the check). A check that lacks its tool skips
# with 77, which CTest reports as skipped.

readonly APP_ID=org.ostmere.Larkspan
readonly MIME_TYPE=application/x-rfa-archive
readonly SKIPPED=77

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

skip() {
  echo "SKIP: $*"
  exit "$SKIPPED"
}

has() {
  command -v "$1" > /dev/null 2>&1
}

# The value of KEY in the installed desktop entry.
desktop_value() {
  sed -n "s/^$2=//p" "$1" | head -n 1
}
