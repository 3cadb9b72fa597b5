#!/bin/sh
# Writes the files of the import benchmark: a log of N records and an
# openScale CSV (version 3) of N rows, whose moments fall between the log's,
# so that every row goes in between two records. Both end before today.
#
#   sh bench/import-files.sh N LOG CSV
set -eu
n=$1
today=$(($(date +%s) / 86400)) # days since 1970-01-01, UTC
awk -v n="$n" -v today="$today" -v logfile="$2" -v csv="$3" '
# The civil date of a day count, as year, month and day.
function civil(z,   era, doe, yoe, doy, mp) {
    z += 719468
    era = int((z >= 0 ? z : z - 146096) / 146097)
    doe = z - era * 146097
    yoe = int((doe - int(doe / 1460) + int(doe / 36524) - int(doe / 146096)) / 365)
    doy = doe - (365 * yoe + int(yoe / 4) - int(yoe / 100))
    mp = int((5 * doy + 2) / 153)
    D = doy - int((153 * mp + 2) / 5) + 1
    M = mp < 10 ? mp + 3 : mp - 9
    Y = yoe + era * 400 + (M <= 2)
}
BEGIN {
    perDay = 6
    first = today - int((n + perDay - 1) / perDay) - 2
    print "DATE,TIME,WEIGHT,BODY_FAT,WATER,MUSCLE,LBM,BONE,COMMENT" > csv
    for (i = 0; i < n; i++) {
        civil(first + int(i / perDay))
        h = (i % perDay) * 4
        w = 60 + (i % 300) / 10
        printf "%6d 170.00 %5.2f 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n", M * 10000 + D * 100 + h, w > logfile
        printf "%04d-%02d-%02d,%02d:15,%.2f,%.1f,,,,,\n", Y, M, D, h + 2, w + 0.05, 15 + (i % 100) / 10 > csv
    }
}'
