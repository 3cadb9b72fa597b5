#!/bin/sh
# Runs every benchmark once and writes the report.
#
#   sh bench/run.sh BUILD_DIR REPORT.md
#
# BUILD_DIR is a Release build made with -DVORN_BENCH=ON. Start-up and
# memory come from bin/vorn_bench_startup, on the offscreen platform and
# under Xvfb, against two floors: an empty window and a window with vorn's
# texts; the commands from bin/vorn_bench_commands (Google Benchmark); where
# the start-up instructions go from callgrind, when valgrind is there. STARTUP_RUNS (default 21) and REPETITIONS (default 5) set how many
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

for tool in vorn vorn_probed vorn_bench_floor vorn_bench_text_floor vorn_bench_startup vorn_bench_commands \
    vorn_bench_import; do
    [ -x "$bin/$tool" ] || { echo "missing $bin/$tool: build with -DVORN_BENCH=ON" >&2; exit 1; }
done

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# "key value" lines of the launcher; value KEY FILE prints one.
value() { awk -v k="$1" '$1 == k { print $2 }' "$2"; }

# Instructions up to the start-up probe, by part, from callgrind: profile
# PLATFORM runs vorn and the two floors once each on the Qt platform
# PLATFORM (offscreen, or xcb on the Xvfb in DISPLAY) and leaves the
# annotated profiles in $tmp/cg.WHO.PLATFORM.txt, WHO being vorn, floor or
# text.
can_profile=no
if command -v valgrind >/dev/null && command -v callgrind_annotate >/dev/null; then
    can_profile=yes
fi
profile() {
    for who in vorn floor text; do
        prog="$bin/vorn_probed"
        args=""
        if [ "$who" = floor ]; then
            prog="$bin/vorn_bench_floor"
            args=$(value size "$tmp/offscreen.txt")
        elif [ "$who" = text ]; then
            prog="$bin/vorn_bench_text_floor"
        fi
        out="$tmp/cg.$who.$1"
        # The profile is cut where the probe quits: shut-down is not start-up.
        # shellcheck disable=SC2086
        VORN_STARTUP_PROBE=1 QT_QPA_PLATFORM=$1 valgrind --tool=callgrind \
            --callgrind-out-file="$out" --dump-before='QCoreApplication::quit*' \
            "$prog" $args >/dev/null 2>&1 || true
        if [ -s "$out.1" ]; then
            callgrind_annotate --inclusive=yes --threshold=100 "$out.1" >"$out.txt" 2>/dev/null || true
        fi
    done
}

echo "start-up and memory, offscreen ($runs runs each)..."
QT_QPA_PLATFORM=offscreen "$bin/vorn_bench_startup" "$runs" "$bin/vorn_probed" "$bin/vorn_bench_floor" \
    "$bin/vorn_bench_text_floor" >"$tmp/offscreen.txt"

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
    "$bin/vorn_bench_startup" "$runs" "$bin/vorn_probed" "$bin/vorn_bench_floor" \
    "$bin/vorn_bench_text_floor" >"$tmp/xvfb.txt"
if [ "$can_profile" = yes ]; then
    echo "where the start-up goes, Xvfb (callgrind)..."
    DISPLAY=":$(cat "$tmp/display")" profile xcb
fi
kill "$xvfb_pid" 2>/dev/null || true
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""

echo "commands ($reps repetitions each)..."
# Run from the build folder: the save benchmark writes beside it, on disk.
# The repetitions of all the benchmarks are taken in a random order, so
# that a slower spell of a shared machine falls on all of them alike and
# not on whichever ran then.
(cd "$build" && QT_QPA_PLATFORM=offscreen "$bin/vorn_bench_commands" \
    --benchmark_repetitions="$reps" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true \
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

have_callgrind=no
if [ "$can_profile" = yes ]; then
    echo "where the start-up goes, offscreen (callgrind)..."
    profile offscreen
    have_callgrind=yes
    for f in vorn.offscreen floor.offscreen text.offscreen vorn.xcb floor.xcb text.xcb; do
        [ -s "$tmp/cg.$f.txt" ] || have_callgrind=no
    done
fi

# Millions of instructions in the first (largest) line naming NEEDLE.
instr() {
    awk -v needle="$1" 'index($0, needle) { gsub(",", "", $1); printf "%.1f", $1 / 1e6; found = 1; exit }
        END { if (!found) printf "–" }' "$2"
}

# The table of a log of 10,000 records on standard output against the
# smallest answer of the program, both whole processes, taken in turns:
# the medians of $runs runs each, in milliseconds.
echo "vorn --csv against vorn --version..."
awk 'BEGIN { for (i = 0; i < 10000; i++)
    printf " %d%02d%02d 170.00 %.2f 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n",
        1 + int(i / 300) % 12, 1 + int(i / 10) % 28, i % 24, 60 + (i % 200) * 0.1 }' >"$tmp/csv-log.txt"
stopwatch() {
    start=$(date +%s%N)
    "$@" >/dev/null
    echo $((($(date +%s%N) - start) / 1000))
}
: >"$tmp/csv.us"
: >"$tmp/version.us"
for _ in $(seq "$runs"); do
    stopwatch "$bin/vorn" --csv "$tmp/csv-log.txt" >>"$tmp/csv.us"
    stopwatch "$bin/vorn" --version >>"$tmp/version.us"
done
middle() { sort -n "$1" | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1000 }'; }
csv_ms=$(middle "$tmp/csv.us")
version_ms=$(middle "$tmp/version.us")

# The statistics per week of a log of 100,000 records (a reading every one
# to three hours for 23 years) against the table of the same log, both
# whole processes, taken in turns: the medians of $runs runs each.
echo "vorn --stats against vorn --csv, 100,000 records..."
sh "$(cd "$(dirname "$0")" && pwd)/long-log.sh" 100000 "$tmp/long-log.txt"
: >"$tmp/long-csv.us"
: >"$tmp/long-stats.us"
for _ in $(seq "$runs"); do
    stopwatch "$bin/vorn" --csv "$tmp/long-log.txt" >>"$tmp/long-csv.us"
    stopwatch "$bin/vorn" --stats "$tmp/long-log.txt" --period week >>"$tmp/long-stats.us"
done
long_csv_ms=$(middle "$tmp/long-csv.us")
long_stats_ms=$(middle "$tmp/long-stats.us")

# The import's reading of a 200 MB Apple Health export against libxml2's
# streaming parser on the same file, taken in turns: the medians of
# IMPORT_RUNS (default 5) runs each, in milliseconds.
import_runs=${IMPORT_RUNS:-5}
echo "reading a 200 MB Apple Health export against xmllint --stream ($import_runs runs each)..."
"$bin/vorn_bench_import" write "$tmp/export.xml" 200
export_mb=$(du -m "$tmp/export.xml" | cut -f1)
: >"$tmp/import.us"
: >"$tmp/xmllint.us"
for _ in $(seq "$import_runs"); do
    stopwatch "$bin/vorn_bench_import" read "$tmp/export.xml" >>"$tmp/import.us"
    stopwatch xmllint --stream --noout "$tmp/export.xml" >>"$tmp/xmllint.us"
done
import_ms=$(middle "$tmp/import.us")
xmllint_ms=$(middle "$tmp/xmllint.us")
rm -f "$tmp/export.xml"

# An openScale CSV of 100,000 rows into a log of 100,000 records, every row
# going in between two records: the whole process, a fresh copy of the log
# each run, the median of $reps runs in milliseconds.
echo "vorn --import of 100,000 rows into 100,000 records..."
sh "$(dirname "$0")/import-files.sh" 100000 "$tmp/import-log.txt" "$tmp/import.csv"
: >"$tmp/merge.us"
for _ in $(seq "$reps"); do
    cp "$tmp/import-log.txt" "$tmp/import-into.txt"
    rm -f "$tmp/import-into.txt~"
    stopwatch "$bin/vorn" --import "$tmp/import.csv" --into "$tmp/import-into.txt" >>"$tmp/merge.us"
done
[ "$(wc -l <"$tmp/import-into.txt")" -eq 200000 ] || { echo "the import added too little" >&2; exit 1; }
merge_ms=$(middle "$tmp/merge.us")

# The chart on a calendar of the same log, all of it, to PNG, against
# gnuplot drawing the same weights from the CSV at the same size: both
# whole processes, in turns, the medians of $runs runs each.
echo "vorn --graph --calendar against gnuplot, 100,000 records..."
"$bin/vorn" --csv "$tmp/long-log.txt" >"$tmp/long.csv"
cat >"$tmp/long.gp" <<GNUPLOT
set terminal pngcairo size 690,562
set output "$tmp/gnuplot.png"
set datafile separator ","
set xdata time
set timefmt "%Y-%m-%dT%H:%M"
set format x "%Y"
plot "$tmp/long.csv" every ::1 using 1:3 with lines notitle
GNUPLOT
: >"$tmp/calendar.us"
: >"$tmp/gnuplot.us"
for _ in $(seq "$runs"); do
    stopwatch "$bin/vorn" --graph "$tmp/long-log.txt" --calendar --range all \
        --output "$tmp/calendar.png" >>"$tmp/calendar.us"
    stopwatch gnuplot "$tmp/long.gp" >>"$tmp/gnuplot.us"
done
[ -s "$tmp/calendar.png" ] && [ -s "$tmp/gnuplot.png" ] || { echo "a chart was not drawn" >&2; exit 1; }
calendar_ms=$(middle "$tmp/calendar.us")
gnuplot_ms=$(middle "$tmp/gnuplot.us")

load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# --- the report ---

fmt() { awk -v v="$1" -v d="${2:-1}" 'BEGIN { printf "%.*f", d, v }'; }
# A command's wall time with its CPU time beside it: on a busy machine the
# two part, and the CPU time shows what the command itself costs.
timed() { echo "$(fmt "$(median "$1" "$2")" "$3") $4 (CPU $(fmt "$(median "$1" "$2" cpu)" "$3"))"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

off_v=$(value vorn_ms_median "$tmp/offscreen.txt")
off_f=$(value floor_ms_median "$tmp/offscreen.txt")
off_t=$(value text_floor_ms_median "$tmp/offscreen.txt")
x_v=$(value vorn_ms_median "$tmp/xvfb.txt")
x_f=$(value floor_ms_median "$tmp/xvfb.txt")
x_t=$(value text_floor_ms_median "$tmp/xvfb.txt")
off_rv=$(value vorn_rss_kb_median "$tmp/offscreen.txt")
off_rf=$(value floor_rss_kb_median "$tmp/offscreen.txt")
x_rv=$(value vorn_rss_kb_median "$tmp/xvfb.txt")
x_rf=$(value floor_rss_kb_median "$tmp/xvfb.txt")
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
# The fastest and slowest start of PROGRAM on PLATFORM: "min / max".
spread() { echo "$(fmt "$(value "$1_ms_min" "$tmp/$2.txt")") / $(fmt "$(value "$1_ms_max" "$tmp/$2.txt")")"; }
over() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%+.1f MB", (a - b) / 1024 }'; }

type_us=$(median BM_TypeInputs us)
measure_us=$(median BM_Measure us)
raw_ms=$(median BM_RawAppend ms)
save_ms=$(median BM_Save ms)
large_ms=$(median BM_SaveLargeLog/100000 ms)
l0=$(median BM_LoadHistory/0 ms)
l10=$(median BM_LoadHistory/10 ms)
l100=$(median BM_LoadHistory/100 ms)
l500=$(median BM_LoadHistory/500 ms)
l999=$(median BM_LoadHistory/999 ms)
t999=$(median BM_LoadHistoryTrend/999 ms)
w999=$(median BM_LoadHistoryWeight/999 ms)
tw999=$(median BM_LoadHistoryTrendWeight/999 ms)
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
off_text_ratio=$(ratio "$off_v" "$off_t")
x_text_ratio=$(ratio "$x_v" "$x_t")
ok_x_text=$(met "$x_text_ratio <= 1.05")
ok_off_rss=$(met "$off_rv - $off_rf <= 10240")
ok_x_rss=$(met "$x_rv - $x_rf <= 10240")
ok_measure=$(met "$measure_us < 50")
ok_load=$(met "$l999 <= 5")
ok_large=$(met "$large_ms <= 50")
ok_trend=$(met "$t999 <= 4")
ok_trend_weight=$(met "$tw999 <= 4")
png_ms=$(median BM_SaveChartPng/999 ms)
ok_png=$(met "$png_ms <= 50")
ok_csv=$(met "$csv_ms <= 2 * $version_ms")
ok_growth=$(met "$growth <= 1.5")
ok_stats=$(met "$long_stats_ms <= 1.2 * $long_csv_ms")
ok_import=$(met "$import_ms <= $xmllint_ms")
ok_merge=$(met "$merge_ms <= 1000")
ok_calendar=$(met "$calendar_ms <= 0.5 * $gnuplot_ms")
range_ms=$(median BM_CalendarRange/100000 ms)
zoom_ms=$(median BM_CalendarZoom/100000 ms)
ok_range=$(met "$range_ms <= 16")
ok_zoom=$(met "$zoom_ms <= 16")

{
cat <<EOF
# Performance

Written by \`make bench\` on $(date -u '+%Y-%m-%d %H:%M UTC'). Every figure is a
median: start-up and memory over $runs starts of each program, taken in turns;
the commands over $reps repetitions of a Google Benchmark run, taken in a
random order across the benchmarks, in wall-clock
time. Do not edit by hand: run \`make bench\` again.

## Results

| Figure | Vorn２ | Baseline | Ratio | Goal | Met |
|---|---|---|---|---|---|
| Start-up, offscreen | $(fmt "$off_v") ms | $(fmt "$off_f") ms: empty window | $off_ratio | – | |
| Start-up, Xvfb | $(fmt "$x_v") ms | $(fmt "$x_f") ms: empty window | $x_ratio | – | |
| Start-up, offscreen | $(fmt "$off_v") ms | $(fmt "$off_t") ms: vorn's texts | $off_text_ratio | – | |
| Start-up, Xvfb | $(fmt "$x_v") ms | $(fmt "$x_t") ms: vorn's texts | $x_text_ratio | ≤ 1.05 | $ok_x_text |
| Peak RSS at rest, offscreen | $(mb "$off_rv") MB | $(mb "$off_rf") MB: empty window | $(over "$off_rv" "$off_rf") | ≤ +10 MB | $ok_off_rss |
| Peak RSS at rest, Xvfb | $(mb "$x_rv") MB | $(mb "$x_rf") MB: empty window | $(over "$x_rv" "$x_rf") | ≤ +10 MB | $ok_x_rss |
| Measure command | $(timed BM_Measure us 1 µs) | $(fmt "$type_us") µs: filling the three fields, included | $(ratio "$measure_us" "$type_us") | < 50 µs | $ok_measure |
| Save, with its fsync | $(timed BM_Save ms 2 ms) | $(fmt "$raw_ms" 2) ms: the same line appended and fsync'ed, nothing else | $(ratio "$save_ms" "$raw_ms") | – | |
| Save into a log of 100,000 records, read whole first | $(timed BM_SaveLargeLog/100000 ms 2 ms) | $(fmt "$raw_ms" 2) ms: the same | $(ratio "$large_ms" "$raw_ms") | ≤ 50 ms | $ok_large |
| \`LoadHistory\`, 10 records | $(timed BM_LoadHistory/10 ms 2 ms) | $(fmt "$l0" 2) ms: an empty log, the window shown with nothing to draw | $(ratio "$l10" "$l0") | – | |
| \`LoadHistory\`, 100 records | $(timed BM_LoadHistory/100 ms 2 ms) | $(fmt "$l0" 2) ms: the same | $(ratio "$l100" "$l0") | – | |
| \`LoadHistory\`, 500 records | $(timed BM_LoadHistory/500 ms 2 ms) | $(fmt "$l0" 2) ms: the same | $(ratio "$l500" "$l0") | – | |
| \`LoadHistory\`, 999 records | $(timed BM_LoadHistory/999 ms 2 ms) | $(fmt "$l0" 2) ms: the same | $(ratio "$l999" "$l0") | ≤ 5 ms | $ok_load |
| \`LoadHistory\`, 999 records, the trend shown | $(timed BM_LoadHistoryTrend/999 ms 2 ms) | $(fmt "$l999" 2) ms: the same without the trend | $(ratio "$t999" "$l999") | ≤ 4 ms | $ok_trend |
| \`LoadHistory\`, 999 records, the weights plotted, the trend shown | $(timed BM_LoadHistoryTrendWeight/999 ms 2 ms) | $(fmt "$w999" 2) ms: the same without the trend | $(ratio "$tw999" "$w999") | ≤ 4 ms | $ok_trend_weight |
| Chart saved as PNG, 999 records, the trend shown | $(timed BM_SaveChartPng/999 ms 2 ms) | – | – | ≤ 50 ms | $ok_png |
| \`vorn --csv\` of 10,000 records, whole process | $csv_ms ms | $version_ms ms: \`vorn --version\` | $(ratio "$csv_ms" "$version_ms") | ≤ 2 × | $ok_csv |
| \`vorn --stats --period week\` of 100,000 records (23 years), whole process | $long_stats_ms ms | $long_csv_ms ms: \`vorn --csv\` of the same log | $(ratio "$long_stats_ms" "$long_csv_ms") | ≤ 1.2 × | $ok_stats |
| \`vorn --import\` of an openScale CSV of 100,000 rows into a log of 100,000 records, whole process | $merge_ms ms | $version_ms ms: \`vorn --version\` | $(ratio "$merge_ms" "$version_ms") | ≤ 1000 ms | $ok_merge |
| \`vorn --graph --calendar --range all\` of 100,000 records to PNG, whole process | $calendar_ms ms | $gnuplot_ms ms: gnuplot (pngcairo, \`set xdata time\`) of the same weights from the CSV | $(ratio "$calendar_ms" "$gnuplot_ms") | ≤ 0.5 × | $ok_calendar |
| Range change (1年, 全期間 in turns) on a calendar of 100,000 records, repainted | $(timed BM_CalendarRange/100000 ms 2 ms) | – | – | ≤ 16 ms | $ok_range |
| Zoom step (a notch of the wheel) on a calendar of 100,000 records, repainted | $(timed BM_CalendarZoom/100000 ms 2 ms) | – | – | ≤ 16 ms | $ok_zoom |
| Growth of \`LoadHistory\`, CPU time | $slope2 µs a record from 500 to 999 | $slope1 µs a record from 100 to 500 | $growth | linear (ratio ≤ 1.5) | $ok_growth |
| Reading a ${export_mb} MB Apple Health export (\`ReadImportFile\`), whole process | $(fmt "$import_ms") ms | $(fmt "$xmllint_ms") ms: \`xmllint --stream --noout\` on it | $(ratio "$import_ms" "$xmllint_ms") | ≤ 1 × | $ok_import |

More figures from the same run:

| Figure | Median |
|---|---|
| Measure command, then the window repainted | $(timed BM_MeasureRepainted us 1 µs) |
| Reading the log alone (\`ReadHistory\`), 10 / 100 / 999 records | $(fmt "$r10" 3) / $(fmt "$r100" 3) / $(fmt "$r999" 3) ms |
| First graph command of a run, 999 records: the graph window made, filled and shown for the first time | $(timed BM_LoadHistoryFirst/999/iterations:20 ms 1 ms) |
| Start-up, offscreen, fastest / slowest of $runs | $(spread vorn offscreen) ms (empty window: $(spread floor offscreen) ms; vorn's texts: $(spread text_floor offscreen) ms) |
| Start-up, Xvfb, fastest / slowest of $runs | $(spread vorn xvfb) ms (empty window: $(spread floor xvfb) ms; vorn's texts: $(spread text_floor xvfb) ms) |
| Peak RSS at rest, the window with vorn's texts, offscreen / Xvfb | $(mb "$(value text_floor_rss_kb_median "$tmp/offscreen.txt")") / $(mb "$(value text_floor_rss_kb_median "$tmp/xvfb.txt")") MB |

EOF

if [ "$have_callgrind" = yes ]; then
    # One part for vorn and the two floors, on PLATFORM (default offscreen):
    # three cells.
    instr3() {
        p=${2:-offscreen}
        echo "$(instr "$1" "$tmp/cg.vorn.$p.txt") | $(instr "$1" "$tmp/cg.floor.$p.txt") | $(instr "$1" "$tmp/cg.text.$p.txt")"
    }
    v=$tmp/cg.vorn.offscreen.txt
    cat <<EOF
## Where the start-up goes

Millions of instructions from the process start to the probe (callgrind, one
run each), on the offscreen platform unless the row says Xvfb. The parts
below the first lines nest: font work happens inside the windows'
construction and the first paint.

| Part | Vorn２ | Empty window | Vorn's texts |
|---|---|---|---|
| Whole start-up | $(instr3 "PROGRAM TOTALS") |
| Whole start-up, Xvfb | $(instr3 "PROGRAM TOTALS" xcb) |
| Loading and linking the libraries, before \`main\` | $(instr3 ":_dl_start ") |
| \`QApplication\` | $(instr3 "QApplication::QApplication(") |
| The windows made: \`Program\` | $(instr "vorn::Program::Program(" "$v") | – | – |
| of which the main window, \`TFVorn\` | $(instr "vorn::TFVorn::TFVorn(" "$v") | – | – |
| The event loop until painted and idle | $(instr3 "QApplication::exec()") |
| Font database set-up (fontconfig), anywhere | $(instr3 "QFontDatabasePrivate::ensureFontDatabase()") |
| Font look-ups with their fallbacks, anywhere | $(instr3 "QFontDatabasePrivate::findFont(") |
| SVG pictures read, anywhere | $(instr3 "QSvgTinyDocument::load(") |
| SVG pictures drawn, anywhere | $(instr3 "QSvgRenderer::render(QPainter*)") |
| Xvfb: the window icon handed to X11 in four sizes | $(instr3 "QXcbWindow::setWindowIcon(QIcon const&)" xcb) |

EOF
fi

cat <<EOF
## Reading the figures

- The empty window draws no text. Vorn２ sets up fontconfig's font
  database when \`ui/Fonts.h\` picks the installed Japanese gothic, then
  looks up and loads that font for its texts; this font work, which any
  window with text pays, is the largest part of the gap to the empty window.
  The empty window was the only floor, with a goal of 1.15, until the
  window with vorn's texts was added as the fair one; that goal is out of
  reach of any window that draws Japanese text, and the empty window's rows
  are now only for reference.
- The window with vorn's texts pays the same font work: it draws the same
  texts in the same fonts. What vorn costs above it is mostly what it shows
  besides its texts: the toolbar's six pictures. The window icon, which Qt
  draws in four sizes (16 to 128 pixels) for X11, is set only once the main
  window is painted and the event loop has come round
  (\`app/DeferredWindowIcon.h\`), after the probe. Its own work (the settings
  read, the menus' commands, the controller's first state) is small beside
  them.
- Each SVG picture is read once, when first drawn (\`resources/SvgIcon.h\`):
  an icon made with \`QIcon(file)\` reads its file when it is made and again
  for every size it draws.
- The graph window (Qt Charts, and a grid of a thousand rows) is made by the
  first graph command of a run rather than at start-up: made at start-up, it
  cost about a sixth of the start-up time and 6 MB of peak RSS. The targets
  dialog is made by the first targets command too; made at start-up it cost
  about 3 % of the start-up's instructions.
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
  cache first. A start is slowed by the one before it, whose exit the X
  server is still clearing up, so each program follows each of the others
  equally often (the order vorn, empty window, vorn's texts, vorn, vorn's
  texts, empty window, repeated). The earlier rotation let vorn follow the
  heavier floor two times in three: the same program measured in vorn's
  place and in the text floor's came out 1.6 to 2.2 % slower in vorn's. The
  probe is the benchmarks' alone: the program measured is
  \`vorn_probed\`, vorn built from the same sources with the probe added; the
  vorn that is installed has none and reads no variable of it.
- **The baselines** link the Qt modules of vorn's windows (Core, Gui,
  Widgets, Charts, Help, and the libraries they bring) and are watched by
  the same probe. vorn's toolbar shows pictures the build drew from its SVG
  files (\`resources/DrawIcons.cpp\`), and its SVG writer and printer are in
  \`libvorn_paper.so\`, loaded when first used: it starts without reading an
  SVG or loading Qt Print Support. The floors show no pictures. The empty window (\`bench/StartupFloor.cpp\`), of the size vorn's
  main window has, is the toolkit's floor: it draws no text, so it never
  sets up fontconfig or loads a font. The window with vorn's texts
  (\`bench/StartupTextFloor.cpp\`) shows what vorn's main window shows in
  words (the menu bar's two menus, the labels, the three empty edits, the
  judgement panel and the hint bar) at the same places, in the fonts of
  \`ui/Fonts.h\` and the same colours, and nothing else: no logic, no
  settings, no icons, no menu items, no other window. It comes up at the
  size of vorn's main window, which the launcher checks. It is the fair
  floor: the goal is a start-up within 5 % of it under Xvfb.
- **Peak RSS at rest** is \`VmHWM\` from \`/proc/self/status\`, read by the
  probe at the same moment.
- **Commands** (\`bench/CommandBench.cpp\`) drive the real windows on the
  offscreen platform, over quiet stand-ins for the message boxes and file
  dialogs. The measure command alternates two weigh-ins that change every
  label and the band; the save appends to a file in the build folder
  (file system: $fs) and its measurement is made outside the timing;
  \`LoadHistory\` alternates two logs of the same length that differ in
  every cell, and runs until the graph window has been painted and closed;
  with the trend shown, it also draws the trend's line, its legend and its
  summary, the choice read from the settings as a later run reads it. The
  graph opens on height, which is level in these logs, and so is its trend;
  the rows of the weights plot a trend that bends at every record.
  The graph window is made by the first graph command of a run, which the
  "first graph command" figure includes.
- **The exports**: the chart saved as PNG runs the menu command on the
  shown graph window of 999 records with the trend: drawn at twice the
  pixel density, encoded, written through a synced temporary file and
  renamed. \`vorn --csv\` of a log of 10,000 records is timed as a whole
  process, with its output thrown away, against \`vorn --version\`, in
  turns, $runs runs each; both start the same program, so the ratio shows
  what reading, dating and writing the records add to it.
- **The statistics** of a log of 100,000 records, written by
  \`bench/long-log.sh\` (a reading every one to three hours, drawn at random
  with a fixed seed, for 23 years; about one in eight without a fat
  percentage; the log keeps no year, so the dates come from the order, back
  from the day of the run): \`vorn --stats LOG --period week\` against
  \`vorn --csv LOG\` of the same log, both whole processes with their output
  thrown away, in turns, $runs runs each. Both read and date every record;
  the statistics then sum them per week and take the trend, the table
  writes every record out.
- **The import** (\`bench/import-files.sh\`): a log of 100,000 records, six a
  day, ending before today, and an openScale CSV (version 3) of 100,000
  rows whose moments fall two hours after each record's, so that every row
  goes in between two records. Each run imports into a fresh copy of the log:
  reading and recognising the file, the plan, the old log kept as \`LOG~\`
  and the new one written, synced and renamed.

- **The chart on a calendar** of that log: \`vorn --graph LOG --calendar
  --range all --output FILE.png\` (690 × 562 pixels) against gnuplot
  (\`gnuplot-nox\`, the \`pngcairo\` terminal at the same size, \`set xdata
  time\`) drawing the weights of \`vorn --csv LOG\`, written beforehand;
  both whole processes, in turns, $runs runs each. Vorn２ reads and dates
  every record and draws, per pixel column, each column's first, last,
  lowest and highest reading, so that no peak is lost; gnuplot draws every
  point. In the window (\`bench/CommandBench.cpp\`), the ranges 1年 and
  全期間 in turns, or a notch of the wheel in and out, each followed by a
  repaint of the chart.

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
QT_QPA_PLATFORM=offscreen build/bench/bin/vorn_bench_startup 21 build/bench/bin/vorn_probed build/bench/bin/vorn_bench_floor build/bench/bin/vorn_bench_text_floor
xvfb-run -a sh -c 'QT_QPA_PLATFORM=xcb build/bench/bin/vorn_bench_startup 21 build/bench/bin/vorn_probed build/bench/bin/vorn_bench_floor build/bench/bin/vorn_bench_text_floor'
(cd build/bench && QT_QPA_PLATFORM=offscreen bin/vorn_bench_commands --benchmark_repetitions=5)
VORN_STARTUP_PROBE=1 QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --dump-before='QCoreApplication::quit*' build/bench/bin/vorn_probed
\`\`\`
EOF
} >"$report"

echo "wrote $report"
