#!/usr/bin/env bash
# Runs one fuzz target under libFuzzer: fuzz/run.sh TARGET SECONDS [LIBFUZZER_OPTION...]
#
# Builds the "fuzz" preset (clang 14) first. The committed corpus
# fuzz/corpus/TARGET is read but never written: new inputs go to
# build-fuzz/corpus/TARGET, crashes to build-fuzz/artifacts/TARGET/. Keep a
# finding by minimising it (-minimize_crash=1 or -merge=1) and committing it
# beside the seeds as crash-<what>.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 TARGET SECONDS [LIBFUZZER_OPTION...]" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seeds=$root/fuzz/corpus/$target
if [ ! -d "$seeds" ]; then
  echo "$0: no target '$target' (targets: $(ls "$root/fuzz/corpus" | tr '\n' ' '))" >&2
  exit 2
fi

# The dictionary and the longest input worth trying, per target.
case $target in
  archive_reader) dict=rfa.dict max_len=16384 ;;
  lzo_decoder) dict=lzo.dict max_len=16384 ;;
  lzo_differential) dict=lzo.dict max_len=24576 ;;
  lzo_round_trip) dict= max_len=4096 ;;
  dds) dict=dds.dict max_len=4096 ;;
  tga) dict=tga.dict max_len=4096 ;;
  *) dict= max_len=4096 ;;
esac

cd "$root"
[ -f "$build/CMakeCache.txt" ] || cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "fuzz_$target" >/dev/null
mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
exec "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -max_len="$max_len" ${dict:+-dict="$root/fuzz/dict/$dict"} -artifact_prefix="$build/artifacts/$target/" \
  "$@" "$build/corpus/$target" "$seeds"
