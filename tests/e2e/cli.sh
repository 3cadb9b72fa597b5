#!/bin/sh
# The command line of the real program, with no display at all:
#   tests/e2e/cli.sh path/to/vorn
# Each case gives the arguments, the exit status and the first line the
# program must print (standard output and error together).
set -u
vorn=$1
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export LC_ALL=C.UTF-8 ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
failed=0
check() {
    want_status=$1 want_line=$2
    shift 2
    out=$("$vorn" "$@" 2>&1)
    status=$?
    line=$(printf '%s\n' "$out" | head -n 1 | tr -d '\r')
    if [ "$status" -ne "$want_status" ] || [ "$line" != "$want_line" ]; then
        echo "FAILED: vorn $*: status $status (want $want_status), first line:" >&2
        echo "  got:  $line" >&2
        echo "  want: $want_line" >&2
        failed=1
    fi
}
check 0 "vorn ${VORN_VERSION:?}" --version
check 0 "Usage: vorn [--help | --version]" --help
check 2 "vorn: 不明なオプション「--frobnicate」です。" --frobnicate
check 2 "vorn: 余分な引数「data.txt」があります。" data.txt
check 2 "vorn: --help にはほかの引数を指定できません。" --help --version
check 2 "vorn: --import には --into LOG で、取り込み先の記録ファイルも指定してください。" --import export.csv
check 2 "vorn: --add には --height CM と --weight KG も指定してください。" --add data.txt --weight 60
check 2 "vorn: --fat の「20,5」は有効な数値ではありません。" --add data.txt --height 170 --weight 60 --fat 20,5
check 2 "vorn: --weight の「1000.5」は範囲の外です。正の実数(1t以下)を入力してください。" --add data.txt --height 170 --weight 1000.5
check 2 "vorn: --at の「2026-02-29T01」は日時ではありません。実在する日時を YYYY-MM-DDTHH（2026-12-01T07 など）で指定してください。" --add data.txt --height 1 --weight 1 --at 2026-02-29T01
check 1 "vorn: cannot open a display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it in a graphical session, or under xvfb-run: xvfb-run vorn"
# A --version that cannot be written out is an error, not a success.
if [ -w /dev/full ] && "$vorn" --version >/dev/full 2>/dev/null; then
    echo "FAILED: vorn --version >/dev/full reported success" >&2
    failed=1
fi

# The exports, on a log of its own: the table on standard output, the chart
# into a file, both without a display.
work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/.config" XDG_RUNTIME_DIR="$work"
chmod 700 "$work"
log="$work/data.txt"
printf ' 83020 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n' >"$log"
printf ' 83120 170.00 64.00 000.00 000.00 000.00 000.00 63.58 22.15 0.66\r\n' >>"$log"
header="日時,身長(cm),体重(kg),脂肪率(%),脂肪量(kg),除脂肪量(kg),体水分量(kg),標準体重(kg),BMI,肥満度(%)"
check 0 "$header" --csv "$log"
check 0 "$header,傾向 BMI" --csv "$log" --trend --quantity BMI
check 0 "$header,傾向 除脂肪量(kg)" --csv "$log" --trend --quantity lean-mass
check 0 "$(printf '\357\273\277')$header" --csv "$log" --bom
check 2 "vorn: --csv に --quantity を指定できるのは、--trend とともに指定したときだけです。" --csv "$log" --quantity BMI
check 2 "vorn: 項目「kg」はありません。指定できるのは 身長、体重、脂肪率、脂肪量、除脂肪量、体水分量、標準体重、BMI、肥満度、または height、weight、fat-percent、fat-mass、lean-mass、water、standard-weight、bmi、obesity です。" --csv "$log" --trend --quantity kg
check 2 "vorn: --bom は --csv にだけ指定できます。" --graph "$log" --output "$work/g.png" --bom
check 2 "vorn: --graph には --output FILE も指定してください。" --graph "$log"
check 2 "vorn: --output のファイル名は .png、.svg、.pdf のどれかで終えてください。" --graph "$log" --output "$work/g.jpg"
check 1 "vorn: ファイル「$work/none.txt」を読み込めませんでした。" --csv "$work/none.txt"
mkdir "$work/folder.png"
check 1 "vorn: ファイル「$work/folder.png」に書き出せませんでした。" --graph "$log" --output "$work/folder.png"
check 1 "vorn: ファイル「$work/no/g.png」に書き出せませんでした。" --graph "$log" --output "$work/no/g.png"
[ -d "$work/folder.png" ] && [ -z "$(ls -A "$work/folder.png")" ] || { echo "FAILED: the folder was touched" >&2; failed=1; }
# Every byte of the table: CR LF, no byte order mark, empty fat cells.
"$vorn" --csv "$log" --trend >"$work/t.csv" || failed=1
sed 's/^20[0-9][0-9]-/YYYY-/' "$work/t.csv" >"$work/t2.csv"
printf '%s\r\n' "$header,傾向 体重(kg)" \
    "YYYY-08-30T20:00,170.00,65.00,20.00,13.00,52.00,38.06,63.58,22.49,2.23,65.00" \
    "YYYY-08-31T20:00,170.00,64.00,,,,,63.58,22.15,0.66,64.90" >"$work/want.csv"
cmp -s "$work/t2.csv" "$work/want.csv" || { echo "FAILED: the CSV's bytes" >&2; failed=1; }
# The statistics per period: the same records, the same exits.
stats="期間,開始,終了,件数,平均,最小,最大,差,傾向"
check 2 "vorn: --stats には --period week、month、year のどれかも指定してください。" --stats "$log" --quantity BMI
check 2 "vorn: 期間「day」はありません。指定できるのは week、month、year です。" --stats "$log" --period day
"$vorn" --stats "$log" --period month | sed 's/20[0-9][0-9]-/YYYY-/g' >"$work/s.csv" || failed=1
printf '%s\r\n' "$stats" "YYYY-08,YYYY-08-01,YYYY-08-31,2,64.50,64.00,65.00,,64.90" >"$work/want.csv"
cmp -s "$work/s.csv" "$work/want.csv" || { echo "FAILED: the statistics' bytes" >&2; failed=1; }
if [ -w /dev/full ] && "$vorn" --csv "$log" >/dev/full 2>/dev/null; then
    echo "FAILED: vorn --csv >/dev/full reported success" >&2
    failed=1
fi
# Every record, beyond the window's 999; a damaged log is written up to its
# stop and said so.
awk 'BEGIN { for (i = 0; i < 1200; i++) print " 10100 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23" }' >"$work/big.txt"
[ "$("$vorn" --csv "$work/big.txt" | wc -l)" -eq 1201 ] || { echo "FAILED: not every record" >&2; failed=1; }
printf ' 83220 170.00 x\n' >>"$log"
check 1 "$header" --csv "$log"
check 1 "$stats" --stats "$log" --period year
"$vorn" --csv "$log" 2>"$work/err.txt" | [ "$(wc -l)" -eq 3 ] || { echo "FAILED: the damaged log's records" >&2; failed=1; }
grep -q "^vorn: 記録 3 件目（3 行目）で読み込みを中止しました（数値でない内容があります）。それより前の 2 件を書き出しました。" "$work/err.txt" || { echo "FAILED: the damaged log's notice" >&2; failed=1; }
# The chart in its three types, the PNG at twice the window's designed
# pixels, whatever size the window was left at.
mkdir -p "$work/.config/Tav"
printf '[GRAPH]\nWIDTH=900\nHEIGHT=700\n' >"$work/.config/Tav/Vorn2.conf"
for kind in png svg pdf; do
    "$vorn" --graph "$log" --output "$work/g.$kind" --quantity 体重 --trend 2>/dev/null
    [ $? -eq 1 ] || { echo "FAILED: --graph of a damaged log gave no 1" >&2; failed=1; }
done
file "$work/g.png" | grep -q "PNG image data, 690 x 562" || { echo "FAILED: the PNG" >&2; failed=1; }
# The file names the quantity and its lines, each in its line's colour.
for want in '>種類別測定値 体重(' '"#ff0000"[^>]*>測定値<' '"#8000a0"[^>]*>傾向<'; do
    tr -d '\n' <"$work/g.svg" | grep -q "$want" || { echo "FAILED: the SVG lacks $want" >&2; failed=1; }
done
"$vorn" --graph "$log" --output "$work/s.png" --size 1000x400 2>/dev/null
file "$work/s.png" | grep -q "PNG image data, 1000 x 400" || { echo "FAILED: --size" >&2; failed=1; }
for size in 99x400 1000x4001 1000 x400 1e3x400 +100x400; do
    check 2 "vorn: --size は 幅x高さ で、どちらも 100 から 4000 までのピクセル数を指定してください。" --graph "$log" --output "$work/s.png" --size "$size"
done
# On a calendar: dates along the axis, the year written out.
"$vorn" --graph "$log" --output "$work/c.svg" --calendar --range 1y 2>/dev/null
tr -d '\n' <"$work/c.svg" | grep -q '>[0-9]*年[0-9]*月<' || { echo "FAILED: the calendar's dates" >&2; failed=1; }
check 2 "vorn: --range には 1w、1m、3m、1y、all のどれかを指定してください。" --graph "$log" --output "$work/c.png" --calendar --range 2w
check 2 "vorn: --range は --calendar とともに指定してください。" --graph "$log" --output "$work/c.png" --range 1w
check 2 "vorn: --calendar は --graph にだけ指定できます。" --csv "$log" --calendar
check 2 "vorn: --calendar が 2 回指定されています。" --graph "$log" --output "$work/c.png" --calendar --calendar
# Without the library of its SVG writer and printer beside it, the program
# still writes a PNG, and for an SVG names the files it looked for.
mkdir -p "$work/alone"
cp "$vorn" "$work/alone/vorn"
"$work/alone/vorn" --graph "$log" --output "$work/alone/a.png" 2>/dev/null
[ -s "$work/alone/a.png" ] || { echo "FAILED: a PNG without the library" >&2; failed=1; }
installed=$vorn
vorn="$work/alone/vorn"
check 1 "vorn: SVG の保存と印刷に要る libvorn_paper.so が見つかりません（$work/alone/libvorn_paper.so、$work/lib/vorn/plugins/libvorn_paper.so）。" --graph "$log" --output "$work/alone/a.svg"
vorn=$installed
[ ! -e "$work/alone/a.svg" ] || { echo "FAILED: an SVG without the library" >&2; failed=1; }
head -c 5 "$work/g.pdf" | grep -q "%PDF-" || { echo "FAILED: the PDF" >&2; failed=1; }
grep -q "<svg" "$work/g.svg" || { echo "FAILED: the SVG" >&2; failed=1; }
[ -z "$(find "$work" -name '.*.??????')" ] || { echo "FAILED: temporary files left" >&2; failed=1; }

[ "$failed" -eq 0 ] && echo "command line: all cases passed"
exit "$failed"
