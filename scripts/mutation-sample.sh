#!/usr/bin/env bash
# Does the test suite catch faults? Injects a fixed list of small faults into
# the core (scripts/mutations.txt), one at a time, rebuilds, runs the core's
# tests, and counts the faults the tests catch. A developer's tool: run it
# before and after reshaping the code or the tests and compare the scores.
#
#   scripts/mutation-sample.sh [options]
#     --build-dir DIR     build tree of its own (default: build-mutation)
#     --only ID[,ID...]   run these mutations only
#     --seed N --sample K run K mutations drawn with seed N, in a reproducible order
#     --list              print the mutations and the files they land in, run nothing
#     --jobs N            parallel compile jobs and test processes (default: 2)
#     --timeout S         seconds one test may take before it counts as hung
#                         (default: five times the slowest test of the clean run, at least 60)
#     --mutations FILE    the list to use (default: mutations.txt beside this script)
#
# Each mutation names an exact piece of code that must occur exactly once in
# all of src/, wherever the file now lies; one that does not is "stale" and
# is listed at the end for repair. Per mutation the result is
#   killed    a test failed or hung (or the build ran the mutated tool and it failed)
#   survived  every test passed
#   invalid   the mutated code did not compile (fix the list)
#   stale     the code was not found exactly once (fix the list)
# The last line reads "killed K of N", N being killed + survived. The results
# also go to mutation-results.log in the build tree, the build and test
# output of each mutation to mutation-logs/ there.
#
# The working tree is left exactly as found: each file is restored after its
# mutation (also on Ctrl-C), and the script refuses to start when a file it
# would touch has uncommitted changes.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(git -C "$here" rev-parse --show-toplevel)
cd "$top"

PYTHON=/usr/bin/python3
build_dir=build-mutation
only=""
seed=""
sample=""
list_only=0
jobs=2
timeout=""
mutations="$here/mutations.txt"

usage() {
    sed -n '2,/^set -euo/p' "$0" | sed -e '/^set -euo/d' -e 's/^# \{0,1\}//'
    exit "${1:-0}"
}

need_value() {
    [[ $# -ge 2 && -n $2 ]] || { echo "mutation-sample: $1 needs a value" >&2; exit 2; }
}

while [[ $# -gt 0 ]]; do
    case $1 in
    --build-dir) need_value "$@"; build_dir=$2; shift 2 ;;
    --only) need_value "$@"; only=$2; shift 2 ;;
    --seed) need_value "$@"; seed=$2; shift 2 ;;
    --sample) need_value "$@"; sample=$2; shift 2 ;;
    --list) list_only=1; shift ;;
    --jobs) need_value "$@"; jobs=$2; shift 2 ;;
    --timeout) need_value "$@"; timeout=$2; shift 2 ;;
    --mutations) need_value "$@"; mutations=$2; shift 2 ;;
    -h | --help) usage 0 ;;
    *) echo "mutation-sample: unknown option $1" >&2; usage 2 ;;
    esac
done

for number in "$jobs" ${seed:+"$seed"} ${sample:+"$sample"} ${timeout:+"$timeout"}; do
    [[ $number =~ ^[0-9]+$ ]] || { echo "mutation-sample: not a number: $number" >&2; exit 2; }
done
if [[ -n $sample && -z $seed ]] || [[ -z $sample && -n $seed ]]; then
    echo "mutation-sample: --seed and --sample go together" >&2
    exit 2
fi
[[ -f $mutations ]] || { echo "mutation-sample: no list at $mutations" >&2; exit 2; }

# The text work: reading the list, finding each snippet in src/, applying one.
helper() {
    "$PYTHON" - "$@" <<'PY'
import os
import random
import sys


def read_list(path):
    """The mutations in file order: (id, note, find, replace)."""
    blocks = []
    current = None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            where = f"{path}:{number}"
            if line.startswith("#") or (not line.strip() and current is None):
                continue
            if line.startswith("@"):
                head = line[1:].split(None, 1)
                if not head:
                    sys.exit(f"{where}: a mutation needs an id after '@'")
                current = {"id": head[0], "note": head[1] if len(head) > 1 else "",
                           "find": [], "replace": [], "where": where}
                blocks.append(current)
            elif not line.strip():
                current = None
            elif current is None:
                sys.exit(f"{where}: code outside a mutation (start one with '@ ID')")
            elif line == "-" or line.startswith("- "):
                if current["replace"]:
                    sys.exit(f"{where}: '-' line after a '+' line")
                current["find"].append(line[2:])
            elif line == "+" or line.startswith("+ "):
                current["replace"].append(line[2:])
            else:
                sys.exit(f"{where}: a line must start with '@', '- ', '+ ' or '#'")
    seen = set()
    result = []
    for b in blocks:
        if not b["find"]:
            sys.exit(f"{b['where']}: mutation {b['id']} has no '-' line")
        if b["id"] in seen:
            sys.exit(f"{b['where']}: mutation {b['id']} appears twice")
        seen.add(b["id"])
        find = "\n".join(b["find"])
        replace = "\n".join(b["replace"])
        if find == replace:
            sys.exit(f"{b['where']}: mutation {b['id']} changes nothing")
        result.append((b["id"], b["note"], find, replace))
    return result


def source_files(root):
    for folder, dirs, files in os.walk(root):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            try:
                with open(path, encoding="utf-8") as f:
                    yield path, f.read()
            except (UnicodeDecodeError, OSError):
                continue


def locate(mutations, root):
    """For each mutation the one file holding its snippet, or why there is none."""
    texts = list(source_files(root))
    places = {}
    for ident, _, find, _ in mutations:
        hits = [(path, text.count(find)) for path, text in texts if find in text]
        total = sum(n for _, n in hits)
        if total == 1:
            places[ident] = ("ok", hits[0][0], "")
        elif total == 0:
            places[ident] = ("stale", "-", "not found")
        else:
            where = ", ".join(os.path.relpath(p, os.path.dirname(root)) for p, _ in hits[:3])
            more = f" and {len(hits) - 3} more files" if len(hits) > 3 else ""
            places[ident] = ("stale", "-", f"found {total} times ({where}{more})")
    return places


def main():
    command, list_path = sys.argv[1], sys.argv[2]
    mutations = read_list(list_path)
    by_id = {m[0]: m for m in mutations}
    if command == "plan":
        # plan LIST SRC ONLY SEED SAMPLE: one TSV line per chosen mutation.
        root, only, seed, sample = sys.argv[3:7]
        chosen = [m[0] for m in mutations]
        if only:
            wanted = [w for w in only.split(",") if w]
            unknown = [w for w in wanted if w not in by_id]
            if unknown:
                sys.exit("unknown mutation id(s): " + ", ".join(unknown))
            chosen = [i for i in chosen if i in wanted]
        if sample:
            chosen = random.Random(int(seed)).sample(chosen, min(int(sample), len(chosen)))
        places = locate([by_id[i] for i in chosen], root)
        for ident in chosen:
            status, path, why = places[ident]
            print("\t".join([ident, status, path, why or by_id[ident][1]]))
    elif command == "apply":
        # apply LIST ID FILE: replace the snippet's one occurrence in FILE.
        ident, path = sys.argv[3:5]
        _, _, find, replace = by_id[ident]
        with open(path, encoding="utf-8") as f:
            text = f.read()
        if text.count(find) != 1:
            sys.exit(f"{ident}: the snippet no longer occurs exactly once in {path}")
        with open(path, "w", encoding="utf-8") as f:
            f.write(text.replace(find, replace, 1))
    elif command == "show":
        # show LIST ID: the change as '-' and '+' lines, indented.
        _, _, find, replace = by_id[sys.argv[3]]
        for line in find.split("\n"):
            print("      - " + line)
        for line in replace.split("\n") if replace else []:
            print("      + " + line)
    else:
        sys.exit("unknown helper command " + command)


main()
PY
}

plan=$(helper plan "$mutations" "$top/src" "$only" "$seed" "$sample") || exit 2
[[ -n $plan ]] || { echo "mutation-sample: no mutation chosen" >&2; exit 2; }
relative() { echo "${1#"$top"/}"; }

if [[ $list_only == 1 ]]; then
    while IFS=$'\t' read -r id status file note; do
        if [[ $status == ok ]]; then
            printf '%-34s %-44s %s\n' "$id" "$(relative "$file")" "$note"
        else
            printf '%-34s %-44s %s\n' "$id" "STALE" "$note"
        fi
    done <<<"$plan"
    echo "$(grep -c $'\tok\t' <<<"$plan" || true) usable, $(grep -c $'\tstale\t' <<<"$plan" || true) stale"
    exit 0
fi

# Files the run will change: none may hold uncommitted work.
mapfile -t touched < <(awk -F'\t' '$2 == "ok" { print $3 }' <<<"$plan" | sort -u)
if [[ ${#touched[@]} -gt 0 ]]; then
    dirty=$(git status --porcelain -- "${touched[@]}")
    if [[ -n $dirty ]]; then
        echo "mutation-sample: these files have uncommitted changes; commit or stash them first:" >&2
        echo "$dirty" >&2
        exit 2
    fi
fi
tree_state() { { git status --porcelain; git diff HEAD; } | sha256sum; }
state_before=$(tree_state)

mkdir -p "$build_dir"
build_dir=$(cd "$build_dir" && pwd)
logs="$build_dir/mutation-logs"
work="$build_dir/mutation-work"
results="$build_dir/mutation-results.log"
mkdir -p "$logs" "$work"
: >"$results"

# The file being mutated and its original bytes; empty when nothing is changed.
current_file=""
restore() {
    if [[ -n $current_file ]]; then
        # Written in place (same inode, fresh time stamp, so the next build
        # recompiles it from the original).
        cat "$work/original" >"$current_file"
        current_file=""
    fi
}
# A trap runs inside whatever redirection was active: speak to the
# original stderr, kept open as fd 4.
exec 4>&2
on_interrupt() {
    restore
    echo >&4
    echo "mutation-sample: interrupted; the working tree is restored" >&4
    exit 130
}
trap restore EXIT
trap on_interrupt INT TERM

say() { echo "$*" | tee -a "$results"; }

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
else
    echo "mutation-sample: ccache not found; every rebuild compiles from scratch" >&2
fi
if [[ ! -f $build_dir/CMakeCache.txt ]]; then
    echo "configuring $build_dir"
    cmake -S "$top" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DLARKSPAN_BUILD_APP=OFF -DLARKSPAN_BUILD_BENCH=OFF "${launcher[@]}" >"$logs/configure.log" 2>&1 ||
        { echo "mutation-sample: configuring failed, see $logs/configure.log" >&2; exit 1; }
fi

build() { cmake --build "$build_dir" -j "$jobs" </dev/null >"$1" 2>&1; }
run_tests() {
    ctest --test-dir "$build_dir" -E '^install_' -j "$jobs" --stop-on-failure --no-tests=error "$@" </dev/null
}

started=$(date +%s)
echo "building and testing the unmutated tree in $build_dir"
if ! build "$logs/clean-build.log"; then
    echo "mutation-sample: the unmutated tree does not build, see $logs/clean-build.log" >&2
    exit 1
fi
if ! run_tests >"$logs/clean-tests.log" 2>&1; then
    echo "mutation-sample: the unmutated tree fails its tests, see $logs/clean-tests.log" >&2
    exit 1
fi
slowest=$(grep -oE '(Passed|Failed) +[0-9.]+ sec' "$logs/clean-tests.log" | awk '{ if ($2 > m) m = $2 } END { print int(m + 1) }')
if [[ -z $timeout ]]; then
    timeout=$((slowest * 5 > 60 ? slowest * 5 : 60))
fi
echo "clean run passed in $(($(date +%s) - started)) s (slowest test ${slowest} s; a test hangs after ${timeout} s)"

count=$(wc -l <<<"$plan")
declare -A outcome
killed=0 survived=0 invalid=0 stale=0 n=0
while IFS=$'\t' read -r -u 3 id status file note; do
    n=$((n + 1))
    if [[ $status != ok ]]; then
        outcome[$id]=stale
        stale=$((stale + 1))
        say "$(printf '[%3d/%d] %-34s %-44s %s' "$n" "$count" "$id" "-" "stale")"
        continue
    fi
    cp "$file" "$work/original"
    current_file=$file
    helper apply "$mutations" "$id" "$file"
    if ! build "$logs/$id.build.log"; then
        # A compile error is the list's fault; anything else that fails is
        # the mutated tool run during the build (the demo archive is packed
        # by the freshly built rfa).
        if grep -qE '^FAILED: .*\.o( |$)' "$logs/$id.build.log"; then
            result=invalid
        else
            result=killed
        fi
    elif run_tests --timeout "$timeout" >"$logs/$id.tests.log" 2>&1; then
        result=survived
    else
        result=killed
    fi
    restore
    if ! git diff --quiet -- "$file"; then
        echo "mutation-sample: $file did not come back unchanged" >&2
        exit 3
    fi
    outcome[$id]=$result
    case $result in
    killed) killed=$((killed + 1)) ;;
    survived) survived=$((survived + 1)) ;;
    invalid) invalid=$((invalid + 1)) ;;
    esac
    say "$(printf '[%3d/%d] %-34s %-44s %s' "$n" "$count" "$id" "$(relative "$file")" "$result")"
done 3<<<"$plan"

if [[ $(tree_state) != "$state_before" ]]; then
    echo "mutation-sample: the working tree differs from how it was found; see git diff" >&2
    exit 3
fi

list_of() {
    local wanted=$1 shown_code=$2
    while IFS=$'\t' read -r id status file note; do
        [[ ${outcome[$id]} == "$wanted" ]] || continue
        if [[ $wanted == stale ]]; then
            say "  $id: $note"
        else
            say "  $id  $(relative "$file")  ($note)"
        fi
        if [[ $shown_code == 1 ]]; then
            helper show "$mutations" "$id" | tee -a "$results"
        fi
    done <<<"$plan"
}
say ""
say "took $(($(date +%s) - started)) s; the working tree is unchanged"
if [[ $stale -gt 0 ]]; then
    say "stale (code not found exactly once in src/; not counted): $stale"
    list_of stale 0
fi
if [[ $invalid -gt 0 ]]; then
    say "invalid (did not compile; not counted; see mutation-logs/ID.build.log): $invalid"
    list_of invalid 0
fi
say "survivors: $survived"
list_of survived 1
say "killed $killed of $((killed + survived))"
