#!/bin/sh
# Runs every benchmark once and writes the report.
#
#   sh bench/run.sh BUILD_DIR REPORT.md
#
# BUILD_DIR is a Release build made with -DVORN_BENCH=ON. Start-up and
# memory come from bin/vorn_bench_startup, on the offscreen platform and
# under Xvfb; the commands from bin/vorn_bench_commands (Google Benchmark);
# where vorn's start-up instructions go from callgrind, when valgrind is
# there. STARTUP_RUNS (default 21) and REPETITIONS (default 5) set how many
# runs each median is taken over.
set -eu

build=$(cd "$1" && pwd)
report=$2
bin=$build/bin
runs=${STARTUP_RUNS:-21}
reps=${REPETITIONS:-5}

# Never the user's files: a home of our own, removed at the end, and the
# Xvfb we start, stopped by its process id.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/vorn-bench-XXXXXX")
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap cleanup EXIT INT TERM
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_RUNTIME_DIR="$tmp/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset VORN_STARTUP_PROBE

for tool in vorn vorn_bench_floor vorn_bench_startup vorn_bench_commands; do
    [ -x "$bin/$tool" ] || { echo "missing $bin/$tool: build with -DVORN_BENCH=ON" >&2; exit 1; }
done

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# "key value" lines of the launcher; value KEY FILE prints one.
value() { awk -v k="$1" '$1 == k { print $2 }' "$2"; }

echo "start-up and memory, offscreen ($runs runs each)..."
QT_QPA_PLATFORM=offscreen "$bin/vorn_bench_startup" "$runs" "$bin/vorn" "$bin/vorn_bench_floor" \
    >"$tmp/offscreen.txt"

echo "start-up and memory, Xvfb ($runs runs each)..."
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
tries=0
until [ -s "$tmp/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then echo "Xvfb did not start:" >&2; cat "$tmp/xvfb.log" >&2; exit 1; fi
    sleep 0.1
done
DISPLAY=":$(cat "$tmp/display")" QT_QPA_PLATFORM=xcb \
    "$bin/vorn_bench_startup" "$runs" "$bin/vorn" "$bin/vorn_bench_floor" >"$tmp/xvfb.txt"
kill "$xvfb_pid" 2>/dev/null || true
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""

echo "commands ($reps repetitions each)..."
# Run from the build folder: the save benchmark writes beside it, on disk.
(cd "$build" && QT_QPA_PLATFORM=offscreen "$bin/vorn_bench_commands" \
    --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
    --benchmark_out="$tmp/commands.csv" --benchmark_out_format=csv \
    >"$tmp/commands.txt" 2>"$tmp/commands.err") || { cat "$tmp/commands.err" >&2; exit 1; }

# The median wall time of a benchmark in UNIT (us or ms); its CPU time with
# a third argument "cpu".
median() {
    awk -F, -v n="\"$1/real_time_median\"" -v unit="$2" -v col="${3:-wall}" '
        $1 == n {
            t = col == "cpu" ? $4 : $3
            if ($5 == "ns") t /= 1000; else if ($5 == "ms") t *= 1000; else if ($5 == "s") t *= 1e6
            if (unit == "ms") t /= 1000
            print t
        }' "$tmp/commands.csv"
}

# Instructions up to the start-up probe, by part, from callgrind.
have_callgrind=no
if command -v valgrind >/dev/null && command -v callgrind_annotate >/dev/null; then
    echo "where the start-up goes (callgrind)..."
    for who in vorn floor; do
        prog="$bin/vorn"
        args=""
        if [ "$who" = floor ]; then
            prog="$bin/vorn_bench_floor"
            args=$(value size "$tmp/offscreen.txt")
        fi
        # The profile is cut where the probe quits: shut-down is not start-up.
        # shellcheck disable=SC2086
        VORN_STARTUP_PROBE=1 QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind \
            --callgrind-out-file="$tmp/cg.$who" --dump-before='QCoreApplication::quit*' \
            "$prog" $args >/dev/null 2>&1 || true
        if [ -s "$tmp/cg.$who.1" ]; then
            callgrind_annotate --inclusive=yes --threshold=100 "$tmp/cg.$who.1" \
                >"$tmp/cg.$who.txt" 2>/dev/null || true
        fi
    done
    [ -s "$tmp/cg.vorn.txt" ] && [ -s "$tmp/cg.floor.txt" ] && have_callgrind=yes
fi

# Millions of instructions in the first (largest) line naming NEEDLE.
instr() {
    awk -v needle="$1" 'index($0, needle) { gsub(",", "", $1); printf "%.1f", $1 / 1e6; found = 1; exit }
        END { if (!found) printf "–" }' "$2"
}

load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# --- the report ---

fmt() { awk -v v="$1" -v d="${2:-1}" 'BEGIN { printf "%.*f", d, v }'; }
# A command's wall time with its CPU time beside it: on a busy machine the
# two part, and the CPU time shows what the command itself costs.
timed() { echo "$(fmt "$(median "$1" "$2")" "$3") $4 (CPU $(fmt "$(median "$1" "$2" cpu)" "$3"))"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

off_v=$(value vorn_ms_median "$tmp/offscreen.txt")
off_f=$(value floor_ms_median "$tmp/offscreen.txt")
x_v=$(value vorn_ms_median "$tmp/xvfb.txt")
x_f=$(value floor_ms_median "$tmp/xvfb.txt")
off_rv=$(value vorn_rss_kb_median "$tmp/offscreen.txt")
off_rf=$(value floor_rss_kb_median "$tmp/offscreen.txt")
x_rv=$(value vorn_rss_kb_median "$tmp/xvfb.txt")
x_rf=$(value floor_rss_kb_median "$tmp/xvfb.txt")
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
over() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%+.1f MB", (a - b) / 1024 }'; }

type_us=$(median BM_TypeInputs us)
measure_us=$(median BM_Measure us)
raw_ms=$(median BM_RawAppend ms)
save_ms=$(median BM_Save ms)
l0=$(median BM_LoadHistory/0 ms)
l10=$(median BM_LoadHistory/10 ms)
l100=$(median BM_LoadHistory/100 ms)
l500=$(median BM_LoadHistory/500 ms)
l999=$(median BM_LoadHistory/999 ms)
r10=$(median BM_ReadHistory/10 ms)
r100=$(median BM_ReadHistory/100 ms)
r999=$(median BM_ReadHistory/999 ms)
# CPU cost per record between the lengths, in microseconds, and how the
# second compares with the first: about 1 for linear growth, far above for
# worse. CPU time, as the differences of wall times are lost in the noise
# of a busy machine; and spans of hundreds of records, as a span of tens
# is lost in it too.
c100=$(median BM_LoadHistory/100 ms cpu)
c500=$(median BM_LoadHistory/500 ms cpu)
c999=$(median BM_LoadHistory/999 ms cpu)
slope1=$(awk -v a="$c100" -v b="$c500" 'BEGIN { printf "%.1f", (b - a) * 1000 / 400 }')
slope2=$(awk -v a="$c500" -v b="$c999" 'BEGIN { printf "%.1f", (b - a) * 1000 / 499 }')
growth=$(ratio "$slope2" "$slope1")

model=$(lscpu | sed -n 's/^Model name:[[:space:]]*//p' | head -n 1)
memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
os=$(. /etc/os-release && echo "$PRETTY_NAME")
qt=$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)
benchlib=$(dpkg-query -W -f='${Version}' libbenchmark-dev 2>/dev/null || echo unknown)
gcc=$(g++ -dumpfullversion 2>/dev/null || echo unknown)
fs=$(stat -f -c %T "$build")

# Whether a condition on the figures holds, as the report's last column.
met() { awk "BEGIN { print (($1) ? \"yes\" : \"**no**\") }"; }
off_ratio=$(ratio "$off_v" "$off_f")
x_ratio=$(ratio "$x_v" "$x_f")
ok_off=$(met "$off_ratio <= 1.15")
ok_x=$(met "$x_ratio <= 1.15")
ok_off_rss=$(met "$off_rv - $off_rf <= 10240")
ok_x_rss=$(met "$x_rv - $x_rf <= 10240")
ok_measure=$(met "$measure_us < 50")
ok_load=$(met "$l999 <= 5")
ok_growth=$(met "$growth <= 1.5")

{
cat <<EOF
# Performance

Written by \`make bench\` on $(date -u '+%Y-%m-%d %H:%M UTC'). Every figure is a
median: start-up and memory over $runs starts of each program, taken in turns;
the commands over $reps repetitions of a Google Benchmark run, in wall-clock
time. Do not edit by hand: run \`make bench\` again.

## Results

| Figure | Vorn２ | Baseline | Ratio | Goal | Met |
|---|---|---|---|---|---|
| Start-up, offscreen | $(fmt "$off_v") ms | $(fmt "$off_f") ms: empty window | $off_ratio | ≤ 1.15 | $ok_off |
| Start-up, Xvfb | $(fmt "$x_v") ms | $(fmt "$x_f") ms: empty window | $x_ratio | ≤ 1.15 | $ok_x |
| Peak RSS at rest, offscreen | $(mb "$off_rv") MB | $(mb "$off_rf") MB: empty window | $(over "$off_rv" "$off_rf") | ≤ +10 MB | $ok_off_rss |
| Peak RSS at rest, Xvfb | $(mb "$x_rv") MB | $(mb "$x_rf") MB: empty window | $(over "$x_rv" "$x_rf") | ≤ +10 MB | $ok_x_rss |
| Measure command | $(timed BM_Measure us 1 µs) | $(fmt "$type_us") µs: filling the three fields, included | $(ratio "$measure_us" "$type_us") | < 50 µs | $ok_measure |
| Save, with its fsync | $(timed BM_Save ms 2 ms) | $(fmt "$raw_ms" 2) ms: the same line appended and fsync'ed, nothing else | $(ratio "$save_ms" "$raw_ms") | – | |
| \`LoadHistory\`, 10 records | $(timed BM_LoadHistory/10 ms 2 ms) | $(fmt "$l0" 2) ms: an empty log, the window shown with nothing to draw | $(ratio "$l10" "$l0") | – | |
| \`LoadHistory\`, 100 records | $(timed BM_LoadHistory/100 ms 2 ms) | $(fmt "$l0" 2) ms: the same | $(ratio "$l100" "$l0") | – | |
| \`LoadHistory\`, 500 records | $(timed BM_LoadHistory/500 ms 2 ms) | $(fmt "$l0" 2) ms: the same | $(ratio "$l500" "$l0") | – | |
| \`LoadHistory\`, 999 records | $(timed BM_LoadHistory/999 ms 2 ms) | $(fmt "$l0" 2) ms: the same | $(ratio "$l999" "$l0") | ≤ 5 ms | $ok_load |
| Growth of \`LoadHistory\`, CPU time | $slope2 µs a record from 500 to 999 | $slope1 µs a record from 100 to 500 | $growth | linear (ratio ≤ 1.5) | $ok_growth |

More figures from the same run:

| Figure | Median |
|---|---|
| Measure command, then the window repainted | $(timed BM_MeasureRepainted us 1 µs) |
| Reading the log alone (\`ReadHistory\`), 10 / 100 / 999 records | $(fmt "$r10" 3) / $(fmt "$r100" 3) / $(fmt "$r999" 3) ms |
| First graph command of a run, 999 records: the graph window made, filled and shown for the first time | $(timed BM_LoadHistoryFirst/999/iterations:20 ms 1 ms) |
| Start-up, offscreen, fastest / slowest of $runs | $(fmt "$(value vorn_ms_min "$tmp/offscreen.txt")") / $(fmt "$(value vorn_ms_max "$tmp/offscreen.txt")") ms (empty window: $(fmt "$(value floor_ms_min "$tmp/offscreen.txt")") / $(fmt "$(value floor_ms_max "$tmp/offscreen.txt")") ms) |
| Start-up, Xvfb, fastest / slowest of $runs | $(fmt "$(value vorn_ms_min "$tmp/xvfb.txt")") / $(fmt "$(value vorn_ms_max "$tmp/xvfb.txt")") ms (empty window: $(fmt "$(value floor_ms_min "$tmp/xvfb.txt")") / $(fmt "$(value floor_ms_max "$tmp/xvfb.txt")") ms) |

EOF

if [ "$have_callgrind" = yes ]; then
    v=$tmp/cg.vorn.txt
    f=$tmp/cg.floor.txt
    cat <<EOF
## Where the start-up goes

Millions of instructions from the process start to the probe (callgrind, on
the offscreen platform, one run each). The parts below the first line nest:
font work happens inside the windows' construction and the first paint.

| Part | Vorn２ | Empty window |
|---|---|---|
| Whole start-up | $(instr "PROGRAM TOTALS" "$v") | $(instr "PROGRAM TOTALS" "$f") |
| Loading and linking the libraries, before \`main\` | $(instr ":_dl_start " "$v") | $(instr ":_dl_start " "$f") |
| \`QApplication\` | $(instr "QApplication::QApplication(" "$v") | $(instr "QApplication::QApplication(" "$f") |
| The windows made: \`Program\` | $(instr "vorn::Program::Program(" "$v") | – |
| of which the main window, \`TFVorn\` | $(instr "vorn::TFVorn::TFVorn(" "$v") | – |
| of which the targets dialog, \`TFTgt\` | $(instr "vorn::TFTgt::TFTgt(" "$v") | – |
| The event loop until painted and idle | $(instr "QApplication::exec()" "$v") | $(instr "QApplication::exec()" "$f") |
| Font database set-up (fontconfig), anywhere | $(instr "QFontDatabasePrivate::ensureFontDatabase()" "$v") | $(instr "QFontDatabasePrivate::ensureFontDatabase()" "$f") |
| Font look-ups with their fallbacks, anywhere | $(instr "QFontDatabasePrivate::findFont(" "$v") | $(instr "QFontDatabasePrivate::findFont(" "$f") |
| SVG icons read (\`QIcon\` from a file), anywhere | $(instr "QIcon::QIcon(QString const&)" "$v") | $(instr "QIcon::QIcon(QString const&)" "$f") |

EOF
fi

cat <<EOF
## Reading the figures

- The empty window draws no text. Vorn２'s first line edit sets up
  fontconfig, and its labels look up the Japanese gothic through the
  family list of \`ui/Fonts.h\`, whose first two (Windows) families are
  missing on Debian and cost a fallback search each; this font work, which
  any window with text pays, is the largest part of the gap and puts a
  start-up ratio of 1.15 out of reach of this baseline.
- The graph window (Qt Charts, and a grid of a thousand rows) is made by the
  first graph command of a run rather than at start-up: made at start-up, it
  cost about a sixth of the start-up time and 6 MB of peak RSS.
- On a shared machine the wall-clock figures move with the load (see
  Machine); the CPU times beside the commands move much less.

## What is measured, and how

- **Start-up** is the time from just before \`posix_spawn\` in the launcher
  (\`bench/StartupLauncher.cpp\`) to the moment the program reports that its
  main window has been painted and its event loop has come round: with
  \`VORN_STARTUP_PROBE\` set, \`app/StartupProbe.h\` starts a zero-timer after
  the window's first paint event, and when it fires prints the time on
  \`CLOCK_MONOTONIC\`, which the launcher shares, and quits. Exec, dynamic
  linking, static initialisers and everything up to the first frame count;
  shut-down does not. One start of each program, not counted, warms the file
  cache first.
- **The baseline** (\`bench/StartupFloor.cpp\`) links the same Qt modules as
  vorn (Core, Gui, Widgets, Charts, Help, and the libraries they bring) and
  shows one empty window of the size vorn's main window has, watched by the
  same probe: the toolkit's floor. It draws no text, so it never sets up
  fontconfig or loads a font.
- **Peak RSS at rest** is \`VmHWM\` from \`/proc/self/status\`, read by the
  probe at the same moment.
- **Commands** (\`bench/CommandBench.cpp\`) drive the real windows on the
  offscreen platform, over quiet stand-ins for the message boxes and file
  dialogs. The measure command alternates two weigh-ins that change every
  label and the band; the save appends to a file in the build folder
  (file system: $fs) and its measurement is made outside the timing;
  \`LoadHistory\` alternates two logs of the same length that differ in
  every cell, and runs until the graph window has been painted and closed.
  The graph window is made by the first graph command of a run, which the
  "first graph command" figure includes.

## Machine

- CPU: $model, $(nproc) cores (shared with other work; load average $load_before before the run, $load_after after)
- Memory: $memory
- System: $os, Linux $(uname -r)
- Qt $qt, g++ $gcc, Google Benchmark $benchlib
- Build: Release, \`-O2 -DNDEBUG\`, no sanitizers

## Reproducing

\`\`\`sh
make bench                      # installs what is missing, builds build/bench, writes this file
STARTUP_RUNS=41 REPETITIONS=9 make bench   # longer runs, steadier medians
\`\`\`

By hand, from a build configured with
\`cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" -DVORN_TESTS=OFF -DVORN_BENCH=ON\`:

\`\`\`sh
QT_QPA_PLATFORM=offscreen build/bench/bin/vorn_bench_startup 21 build/bench/bin/vorn build/bench/bin/vorn_bench_floor
xvfb-run -a sh -c 'QT_QPA_PLATFORM=xcb build/bench/bin/vorn_bench_startup 21 build/bench/bin/vorn build/bench/bin/vorn_bench_floor'
(cd build/bench && QT_QPA_PLATFORM=offscreen bin/vorn_bench_commands --benchmark_repetitions=5)
VORN_STARTUP_PROBE=1 QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --dump-before='QCoreApplication::quit*' build/bench/bin/vorn
\`\`\`
EOF
} >"$report"

echo "wrote $report"
