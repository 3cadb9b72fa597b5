#!/bin/sh
# Writes a long log for the benchmarks: a weigh-in every one to three hours
# (at random, the same every run), the weight wandering around 70 kg with
# the seasons, about one reading in eight saved without a fat percentage.
#
#   sh bench/long-log.sh RECORDS OUT
#
# 100,000 readings span about 23 years. The log keeps no year: the program
# dates the records from their order, back from the day it reads them, so
# the readings end a few days before the run and start 23 years earlier.
set -eu
records=$1
out=$2
end_year=$(date +%Y)
end_yday=$(($(date +%j | sed 's/^0*//') - 3))
awk -v n="$records" -v end_year="$end_year" -v end_yday="$end_yday" '
function leap(y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0 }
function days_in(y, m) { return m == 2 ? 28 + leap(y) : substr("312831303130313130313031", 2 * m - 1, 2) + 0 }
BEGIN {
    srand(20261209)
    # The hours between readings, drawn first, so that the last reading
    # falls on the day wanted: walk back from there to the first.
    total = 0
    for (i = 1; i < n; i++) { step[i] = 1 + int(rand() * 3); total += step[i] }
    y = end_year; hours = end_yday * 24 + 7 - total
    while (hours < 0) { y--; hours += (365 + leap(y)) * 24 }
    while (hours >= (365 + leap(y)) * 24) { hours -= (365 + leap(y)) * 24; y++ }
    m = 1; d = 1 + int(hours / 24); h = hours % 24
    while (d > days_in(y, m)) { d -= days_in(y, m); m++ }
    for (i = 1; i <= n; i++) {
        w = 70 + 4 * sin(i / 4380 * 6.2832) + 3 * sin(i / 50000 * 3.1416) + (rand() - 0.5) * 1.6
        f = 20 + (w - 70) * 0.6 + (rand() - 0.5)
        bmi = w / (1.7 * 1.7)
        obesity = (w - 63.58) / 63.58 * 100
        if (rand() < 0.125)
            printf " %d%02d%02d 170.00 %5.2f 000.00 000.00 000.00 000.00 63.58 %5.2f %5.2f\n", m, d, h, w, bmi, obesity
        else {
            fm = w * f / 100
            printf " %d%02d%02d 170.00 %5.2f %5.2f %5.2f %5.2f %5.2f 63.58 %5.2f %5.2f\n", m, d, h, w, f, fm, w - fm, (w - fm) * 0.732, bmi, obesity
        }
        if (i == n) break
        h += step[i]
        while (h >= 24) { h -= 24; d++ }
        while (d > days_in(y, m)) { d -= days_in(y, m); m++; if (m > 12) { m = 1; y++ } }
    }
}' >"$out"
