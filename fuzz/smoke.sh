#!/usr/bin/env bash
# Every fuzz target for a short while: fuzz/smoke.sh [SECONDS] (30 by default).
# Where clang 14 or its libFuzzer is missing, says so and succeeds.
set -euo pipefail
seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
if ! command -v clang++-14 >/dev/null ||
   ! clang++-14 -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  echo "fuzz smoke skipped: clang++-14 with libFuzzer is not installed"
  exit 0
fi

cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  if [ ! -x "build-fuzz/fuzz_$target" ]; then
    echo "fuzz smoke: $target not built here (a dependency is missing), skipped"
    continue
  fi
  echo "fuzz smoke: $target for ${seconds}s"
  log=build-fuzz/smoke-$target.log
  if ! fuzz/run.sh "$target" "$seconds" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz smoke: $target failed (whole output in $log)"
    exit 1
  fi
  grep -E '^Done' "$log" || true
done
