#!/bin/sh
# Builds the fuzz targets with clang and runs each for a bounded time.
#
#   fuzz/run.sh BUILD_DIR SECONDS OUT_DIR [TARGET...]
#
# Each target starts from its committed seeds (fuzz/corpus/<target>) and
# keeps what it finds in OUT_DIR/<target>/corpus, so later runs go on from
# there; an input that breaks a property is saved in OUT_DIR/<target>/ and
# makes the script fail. Without TARGET, every target runs, one after the
# other. SECONDS 0 only builds; FUZZ_SKIP_BUILD=1 only runs.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$1
seconds=$2
out=$3
shift 3

if [ "${FUZZ_SKIP_BUILD:-0}" != 1 ]; then
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
    fi
    cmake --build "$build" -j "${FUZZ_JOBS:-1}" >/dev/null
fi
[ "$seconds" -gt 0 ] || exit 0

[ $# -gt 0 ] || set -- $(cat "$build/targets.txt")

failed=""
for t in "$@"; do
    mkdir -p "$out/$t/corpus"
    log="$out/$t/last-run.log"
    if "$build/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$out/$t/" -timeout=10 -rss_limit_mb=2048 \
        "$out/$t/corpus" "$here/corpus/$t" >"$log" 2>&1; then
        status=ok
    else
        status=FAILED
        failed="$failed $t"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
    units=$(ls "$out/$t/corpus" | wc -l)
    echo "fuzz_$t: $status, ${runs:-?} runs (at most ${seconds}s), $cov, $units inputs kept (log: $log)"
done

if [ -n "$failed" ]; then
    echo "Properties broken in:$failed; the inputs are in $out/<target>/" >&2
    grep -h -A3 'PROPERTY FAILED\|ERROR:' $(for t in $failed; do echo "$out/$t/last-run.log"; done) >&2 || true
    exit 1
fi
