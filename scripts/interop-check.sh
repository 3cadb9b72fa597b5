#!/bin/sh
# The exports opened by the programs people open them with:
#   scripts/interop-check.sh path/to/vorn
# LibreOffice Calc reads the CSV, and its numbers and dates are the log's;
# pdfinfo and pdftoppm read the PDF; rsvg-convert renders the SVG; the three
# match pixel for pixel (within a small share left to smoothing), the PNG
# halved. The files name the quantity and have a legend, which the window's
# chart does not: a screenshot of the window is kept beside them
# (VORN_INTEROP_KEEP) to be looked at. Under Xvfb with a fixed clock.
# Needs scripts/install-interop-deps.sh's packages, and the e2e tools.
e2e_name=interop
. "$(dirname "$0")/../tests/e2e/lib.sh"
in_xvfb "$@"
set_up "$1"
set -u
now="2026-08-30 20:15:00"

# A log of 40 records over two months, one saved without a fat percentage.
awk 'BEGIN {
    for (i = 0; i < 40; i++) {
        day = 1 + i % 30; month = 7 + int(i / 30)
        w = 70 - i * 0.1
        if (i == 12)
            printf "%d%02d07 170.00 %.2f 000.00 000.00 000.00 000.00 63.58 22.49  2.23\n", month, day, w
        else
            printf "%d%02d07 170.00 %.2f 20.00 %.2f %.2f 38.06 63.58 22.49  2.23\n", month, day, w, w * 0.2, w * 0.8
    }
}' >"$log"
printf '[TGT]\nVAL2=66.00\n' >"$conf"

step "the CSV through LibreOffice Calc"
# With the byte order mark, as the window writes it.
faketime -f "@$now" "$vorn" --csv "$log" --trend --bom >"$work/t.csv" || fail "vorn --csv"
HOME="$work/lo" soffice --headless --norestore --infilter="CSV:44,34,76,1" \
    --convert-to fods --outdir "$work" "$work/t.csv" >"$work/lo.txt" 2>&1 ||
    fail "soffice: $(cat "$work/lo.txt")"
python3 - "$work/t.fods" "$log" <<'PY' || fail "Calc read other numbers or dates than the log's"
import sys
import xml.etree.ElementTree as ET

ns = {"table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
      "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0"}
O = "{%s}" % ns["office"]
rows = ET.parse(sys.argv[1]).getroot().findall(".//table:table-row", ns)
records = [line.split() for line in open(sys.argv[2]) if line.strip()]
if len(rows) != len(records) + 1:
    sys.exit("%d rows for %d records" % (len(rows), len(records)))
first = "".join(rows[0].find("table:table-cell", ns).itertext()).strip()
if first != "日時":
    sys.exit("the first cell reads %r" % first)
for record, row in zip(records, rows[1:]):
    cells = []
    for cell in row.findall("table:table-cell", ns):
        repeat = int(cell.get("{%s}number-columns-repeated" % ns["table"], "1"))
        cells += [cell] * min(repeat, 12)
    stamp = int(record[0])
    date = cells[0].get(O + "date-value", "")
    want = "-%02d-%02dT%02d:00:00" % (stamp // 10000, stamp // 100 % 100, stamp % 100)
    if cells[0].get(O + "value-type") != "date" or not date.startswith("2026" + want):
        sys.exit("record %s: date %r" % (record[0], date))
    for column, (field, cell) in enumerate(zip(record[1:], cells[1:10])):
        # A line saved without a fat percentage: its fat group is empty.
        if field == "000.00" and 2 <= column <= 5:
            if cell.get(O + "value-type") is not None:
                sys.exit("record %s: %r read as %r" % (record[0], field, cell.get(O + "value")))
            continue
        if cell.get(O + "value-type") != "float" or \
                abs(float(cell.get(O + "value")) - round(float(field), 2)) > 1e-9:
            sys.exit("record %s: %r read as %r" % (record[0], field, cell.get(O + "value")))
    if cells[10].get(O + "value-type") != "float":
        sys.exit("record %s: no trend" % record[0])
print("interop: Calc read %d records with their dates and numbers" % len(records))
PY

step "the PDF through poppler"
# The window opens on 身長, its first quantity.
faketime -f "@$now" "$vorn" --graph "$log" --output "$work/g.pdf" --quantity 身長 || fail "vorn --graph PDF"
pdfinfo "$work/g.pdf" >"$work/pdfinfo.txt" || fail "pdfinfo"
grep -q '^Pages: *1$' "$work/pdfinfo.txt" || fail "the PDF has not one page"
grep -Eq '^Page size: *(258.75|259) x (210.75|211) pts' "$work/pdfinfo.txt" || fail "the PDF's page: $(grep 'Page size' "$work/pdfinfo.txt")"
pdftoppm -png -scale-to-x 345 -scale-to-y 281 -singlefile "$work/g.pdf" "$work/pdf" || fail "pdftoppm"

step "the SVG through librsvg"
faketime -f "@$now" "$vorn" --graph "$log" --output "$work/g.svg" --quantity 身長 || fail "vorn --graph SVG"
rsvg-convert -w 345 -h 281 "$work/g.svg" -o "$work/svg.png" || fail "rsvg-convert"

step "the PNG, and a screenshot of the window"
faketime -f "@$now" "$vorn" --graph "$log" --output "$work/g.png" --quantity 身長 || fail "vorn --graph PNG"
faketime -m -f "@$now" "$vorn" >"$work/out.txt" 2>&1 &
faker=$!
main=$(await '^Vorn２$' "the main window")
app=$(xdotool getwindowpid "$main" 2>/dev/null || true)
focus "$main" "the main window"
keys ctrl+g
choose_file '開く|Open' "the open dialog" "$log"
graph=$(await '^種類別測定グラフ' "the graph window")
sleep 1      # the lines' animation is over
xdotool mousemove 0 0
import -window "$graph" "$work/window.png" || fail "no screenshot"
convert "$work/window.png" -crop 345x281+112+8 +repage "$work/shot.png"
convert "$work/g.png" -resize 50% "$work/half.png"
[ -n "${VORN_INTEROP_KEEP:-}" ] && cp "$work"/*.png "$VORN_INTEROP_KEEP"
for image in svg pdf; do
    differ=$(compare -metric AE -fuzz 25% "$work/$image.png" "$work/half.png" null: 2>&1)
    step "$image: $differ of 96945 pixels differ from the PNG's"
    [ "${differ%%.*}" -lt 2000 ] 2>/dev/null || fail "the $image export is not the chart of the PNG"
done
step "all exports opened"
