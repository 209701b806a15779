#!/usr/bin/env bash
# Runs the CLI's tests (the host's cli_tests) against the Windows build's
# rfa.exe under wine: every run of the tool starts rfa.exe through a wrapper.
#   scripts/windows-cli-tests.sh [HOST_BUILD] [WINDOWS_BUILD]   (build, build-windows)
# Exits 77 (skipped) when wine is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
host=$(realpath "${1:-build}")
windows=$(realpath "${2:-build-windows}")

wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
if [ ! -x "$wine" ]; then
  echo "wine64 not found: the Windows tests are skipped" >&2
  exit 77
fi
wineserver=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")

# The cases whose setting Windows lacks; every other case runs, those
# added later included. Wine shows a Unix link to a folder as a reparse
# point but walks links like what they lead to and cannot see pipes; a
# backslash is no character of a Windows name; wine's console is no
# pseudo-terminal; folders whose names differ only in case are one folder on
# Windows, while this host reads the result back case-sensitively.
excluded=(
  PackTest.WarnsAboutWhatAnArchiveCannotHoldAndMakesTheArchiveTheEditorSaves
  PackTest.FailsWithoutTouchingAnExistingArchive
  CliTest.ProgressShowsOnATerminalOnly
  ModCommandTest.ExtractsTheWinnersWithExtractsRules
)

export WINEPREFIX
WINEPREFIX=$(mktemp -d)
export WINEDEBUG=-all
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
# One server for every run of the tool, and the prefix made once up front.
"$wineserver" -p
"$wine" "$windows/rfa.exe" --version

wrapper="$WINEPREFIX/rfa"
printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$wine" "$windows/rfa.exe" >"$wrapper"
chmod +x "$wrapper"
# A renamed test would otherwise run here again unnoticed.
known=$("$host/cli_tests" --gtest_list_tests | awk '/^[^ ]/ {suite=$1} /^  / {print suite $1}')
for name in "${excluded[@]}"; do
  grep -qxF "$name" <<<"$known" || { echo "$0: no test $name to leave out" >&2; exit 1; }
done
filter="-$(IFS=:; echo "${excluded[*]}")"
RFA_UNDER_TEST="$wrapper" "$host/cli_tests" --gtest_filter="$filter" --gtest_brief=1
