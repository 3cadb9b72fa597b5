#!/bin/bash
# Plants one fault at a time in a copy of the committed tree and tells which
# tests catch it.
#
# Usage: scripts/plant-faults.sh [TABLE]
#   TABLE    the faults, by default scripts/planted-faults.txt: one a line,
#            FILE<TAB>EXACT TEXT<TAB>REPLACEMENT; blank lines and lines
#            starting with # are skipped. The text must occur exactly once in
#            FILE. In the text and the replacement, \t stands for a tab.
# Environment:
#   FAULTS_DIR   the scratch folder (default /tmp/faults-vorn); it is kept,
#                so a later run only rebuilds what changed
#   FAULTS_ONLY  plant only the faults whose line matches this regex (grep -E)
#   FAULTS_JOBS  parallel jobs for the build and ctest (default 2)
#   FAULTS_FIXUP a table like TABLE whose substitutions are made in the copy
#                for good, before the build: mends a HEAD that does not build
#   FAULTS_EXCLUDE  a ctest -E regex of tests left out besides the fuzz tests
#   FAULTS_GTEST_FILTER  a GTEST_FILTER for every test, e.g. -Suite.Case to
#                leave out a case that fails on HEAD for reasons of its own
#
# The committed tree (git archive HEAD) is copied into FAULTS_DIR/src and
# built once as a Debug tree with the tests and without the sanitizers; the
# tests must all pass there. Then, for each fault: apply it, rebuild, run
# ctest without the fuzz tests, record the failing tests, revert it. The
# report (also in FAULTS_DIR/report.txt) says CAUGHT with the tests that
# failed, SURVIVED, or BUILD FAILED. Exits 1 when a fault survived.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
table=$(realpath "${1:-$here/scripts/planted-faults.txt}")
dir=${FAULTS_DIR:-/tmp/faults-vorn}
jobs=${FAULTS_JOBS:-2}
only=${FAULTS_ONLY:-}
src=$dir/src
build=$dir/build
report=$dir/report.txt
# One test may run 120 s; the whole ctest run at most this long.
ctest_limit=900
exclude='^fuzz'
[ -z "${FAULTS_EXCLUDE:-}" ] || exclude="$exclude|$FAULTS_EXCLUDE"
[ -z "${FAULTS_GTEST_FILTER:-}" ] || export GTEST_FILTER="$FAULTS_GTEST_FILTER"

die() {
    echo "plant-faults: $*" >&2
    exit 2
}
say() { echo "plant-faults: $*" >&2; }

[ -f "$table" ] || die "no table at $table"
case "$dir" in
"$here" | "$here"/*) die "FAULTS_DIR must lie outside the repository" ;;
esac
mkdir -p "$dir"

# Copies HEAD into $src; a file whose bytes did not change keeps its time
# stamp, so that a kept build only rebuilds what changed.
sync_tree() {
    fresh=$dir/fresh
    rm -rf "$fresh"
    mkdir -p "$fresh" "$src"
    git -C "$here" archive HEAD | tar -x -C "$fresh"
    (cd "$fresh" && find . -type f) | while IFS= read -r f; do
        if ! cmp -s "$fresh/$f" "$src/$f"; then
            mkdir -p "$(dirname "$src/$f")"
            cp "$fresh/$f" "$src/$f"
        fi
    done
    (cd "$src" && find . -type f) | while IFS= read -r f; do
        [ -e "$fresh/$f" ] || rm -f "$src/$f"
    done
    rm -rf "$fresh"
}

# subst MODE FILE TEXT REPLACEMENT: MODE check only counts, apply writes.
# Exits 3 unless the text occurs exactly once.
subst() {
    python3 - "$@" <<'EOF'
import sys

mode, path, text, repl = sys.argv[1:5]
text = text.replace("\\t", "\t")
repl = repl.replace("\\t", "\t")
with open(path, encoding="utf-8", newline="") as f:
    body = f.read()
n = body.count(text)
if n != 1:
    sys.stderr.write(f"{path}: {text!r} occurs {n} times, not once\n")
    sys.exit(3)
if mode == "apply":
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(body.replace(text, repl))
EOF
}

# The faults, as "line<TAB>file<TAB>text<TAB>replacement".
faults=$dir/faults.tsv
: >"$faults"
n=0
while IFS= read -r line || [ -n "$line" ]; do
    n=$((n + 1))
    case "$line" in '' | '#'*) continue ;; esac
    if [ -n "$only" ] && ! printf '%s\n' "$line" | grep -Eq -- "$only"; then
        continue
    fi
    printf '%s\t%s\n' "$n" "$line" >>"$faults"
done <"$table"
[ -s "$faults" ] || die "no faults to plant in $table"

say "copying HEAD of $here into $src"
sync_tree
if [ -n "${FAULTS_FIXUP:-}" ]; then
    grep -v '^#' "$FAULTS_FIXUP" | grep . | while IFS=$'\t' read -r file text repl; do
        say "fixing up $file: '$text' -> '$repl'"
        subst apply "$src/$file" "$text" "$repl" || die "cannot fix up $file"
    done
fi

# Every fault must be found, exactly once, before anything is built.
bad=0
while IFS=$'\t' read -r -u 3 n file text repl extra; do
    if [ -z "$file" ] || [ -z "$text" ] || [ -n "${extra:-}" ]; then
        echo "$table:$n: want FILE<TAB>TEXT<TAB>REPLACEMENT" >&2
        bad=1
    elif [ ! -f "$src/$file" ]; then
        echo "$table:$n: no file $file" >&2
        bad=1
    elif [ "$text" = "$repl" ]; then
        echo "$table:$n: the replacement is the text itself" >&2
        bad=1
    elif ! subst check "$src/$file" "$text" "$repl"; then
        echo "$table:$n: the text is not found exactly once" >&2
        bad=1
    fi
done 3<"$faults"
[ "$bad" -eq 0 ] || die "the table has errors; nothing was planted"

# run_tests OUT: runs ctest, writes the names of the failed tests to OUT.
run_tests() {
    rm -f "$build/Testing/Temporary/LastTestsFailed.log"
    status=0
    (cd "$build" && timeout -k 10 "$ctest_limit" ctest -j "$jobs" --timeout 120 -E "$exclude" \
        >"$dir/ctest.log" 2>&1) || status=$?
    if [ -f "$build/Testing/Temporary/LastTestsFailed.log" ]; then
        cut -d: -f2- "$build/Testing/Temporary/LastTestsFailed.log" | tr '\n' ' ' | sed 's/ $//' >"$1"
    else
        : >"$1"
    fi
    if [ "$status" -ne 0 ] && [ ! -s "$1" ]; then
        echo "(ctest ended with status $status)" >"$1"
    fi
}

start=$(date +%s)
say "configuring and building $build"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVORN_TESTS=ON -DVORN_SANITIZE=OFF \
    >"$dir/configure.log" 2>&1 || die "cmake failed: see $dir/configure.log"
cmake --build "$build" -j "$jobs" >"$dir/build.log" 2>&1 || die "the build failed: see $dir/build.log"
say "running the tests on the unchanged tree"
run_tests "$dir/baseline.txt"
[ ! -s "$dir/baseline.txt" ] ||
    die "the unchanged tree fails: $(cat "$dir/baseline.txt") (see $dir/ctest.log)"
say "ready after $(($(date +%s) - start)) s"

: >"$report"
survived=0
total=$(wc -l <"$faults")
i=0
while IFS=$'\t' read -r -u 3 n file text repl; do
    i=$((i + 1))
    t0=$(date +%s)
    cp -p "$src/$file" "$dir/original"
    subst apply "$src/$file" "$text" "$repl" || die "cannot plant line $n"
    if ! cmake --build "$build" -j "$jobs" >"$dir/build-fault.log" 2>&1; then
        verdict="BUILD FAILED"
        cp "$dir/build-fault.log" "$dir/build-fault-$n.log"
    else
        run_tests "$dir/failed.txt"
        if [ -s "$dir/failed.txt" ]; then
            verdict="CAUGHT by $(cat "$dir/failed.txt")"
        else
            verdict="SURVIVED"
            survived=$((survived + 1))
        fi
    fi
    # The original bytes with a new time stamp: the next build compiles the
    # file again, from its committed text.
    cp "$dir/original" "$src/$file"
    touch "$src/$file"
    entry="line $n: $file: '$text' -> '$repl': $verdict"
    echo "$entry" >>"$report"
    say "[$i/$total, $(($(date +%s) - t0)) s] $entry"
done 3<"$faults"

say "rebuilding the unchanged tree"
cmake --build "$build" -j "$jobs" >"$dir/build.log" 2>&1 || die "the final build failed"
say "$total faults, $survived survived, in $(($(date +%s) - start)) s; report in $report"
cat "$report"
[ "$survived" -eq 0 ]
