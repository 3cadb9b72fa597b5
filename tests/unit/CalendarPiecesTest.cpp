// The pure pieces of a chart on a calendar: the thinned line, the date
// axis and the ranges.

#include "core/RecordDate.h"
#include "support/Cases.h"
#include "ui/graph/CalendarRange.h"
#include "ui/graph/ColumnThinning.h"
#include "ui/graph/DateAxisTicks.h"

using namespace vorn;
using namespace vorn::test;
using Runs = std::vector<std::vector<std::size_t>>;

namespace {

long long H(int y, int m, int d, int h = 0) {
    return HoursSinceEpoch({y, m, d, h});
}

struct ThinCase {
    const char* name;
    std::vector<TimedPoint> points;
    double pixelsPerHour;
    Runs runs;
};
const ThinCase kThin[] = {
    {"first, lowest, highest and last of a column",
     {{0, 5}, {1, 1}, {2, 9}, {3, 3}, {4, 7}, {5, 4}, {10, 2}, {11, 8}, {12, 6}},
     0.1,
     {{0, 1, 2, 5, 6, 7, 8}}},
    {"a peak after the low", {{0, 5}, {1, 9}, {2, 1}, {3, 3}, {4, 6}}, 0.1, {{0, 1, 2, 4}}},
    {"more than a week apart: no line",
     {{0, 1}, {168, 2}, {337, 3}, {338, 4}},
     1,
     {{0, 1}, {2, 3}}},
    {"no scale: every point", {{0, 5}, {1, 1}, {2, 9}, {3, 3}}, 0, {{0, 1, 2, 3}}},
};
class Thinning : public ::testing::TestWithParam<ThinCase> {};

struct TickCase {
    const char* name;
    long long from, to;
    int maxTicks;
    const char* labels; // joined by "|"
};
const TickCase kTicks[] = {
    {"hours over a new year", H(2026, 12, 31, 18), H(2027, 1, 1, 6), 5,
     "2026/12/31 18時|21時|2027/1/1 0時|3時|6時"},
    {"days over a new year", H(2026, 12, 28), H(2027, 1, 3), 10,
     "2026/12/28|12/29|12/30|12/31|2027/1/1|1/2|1/3"},
    {"weeks from Mondays", H(2026, 11, 1), H(2026, 12, 31), 10,
     "2026/11/2|11/9|11/16|11/23|11/30|12/7|12/14|12/21|12/28"},
    {"months", H(2026, 10, 15), H(2027, 3, 1), 6, "2026年11月|12月|2027年1月|2月|3月"},
    {"no more than asked: February is short", H(2026, 2, 1), H(2026, 4, 1), 2, "2026年3月"},
    {"years", H(2003, 5, 1), H(2026, 12, 9), 8, "2005年|2010年|2015年|2020年|2025年"},
};
class Ticks : public ::testing::TestWithParam<TickCase> {};

struct RangeCase {
    const char* name;
    CalendarRange range;
    long long latest, from;
};
const RangeCase kRanges[] = {
    {"a week", CalendarRange::Week, H(2026, 12, 9, 7), H(2026, 12, 2, 7)},
    {"a month back from a 31st", CalendarRange::Month, H(2026, 3, 31, 7), H(2026, 2, 28, 7)},
    {"three months to a leap day", CalendarRange::ThreeMonths, H(2028, 5, 31), H(2028, 2, 29)},
    {"a year from a leap day", CalendarRange::Year, H(2028, 2, 29, 9), H(2027, 2, 28, 9)},
    {"everything", CalendarRange::All, H(2026, 12, 9), H(2003, 1, 1)},
};
class Ranges : public ::testing::TestWithParam<RangeCase> {};

} // namespace

TEST_P(Thinning, KeepsEveryPeakAndBreaksAtGaps) {
    EXPECT_EQ(ThinByPixelColumn(GetParam().points, 0, GetParam().pixelsPerHour), GetParam().runs);
}
INSTANTIATE_TEST_SUITE_P(Line, Thinning, ::testing::ValuesIn(kThin), ByName());

TEST_P(Ticks, CalendarStepsWithTheYearWhereItChanges) {
    std::string labels;
    for (const DateTick& t : DateAxisTicks(GetParam().from, GetParam().to, GetParam().maxTicks))
        labels += (labels.empty() ? "" : "|") + t.label;
    EXPECT_EQ(labels, GetParam().labels);
}
INSTANTIATE_TEST_SUITE_P(Axis, Ticks, ::testing::ValuesIn(kTicks), ByName());

TEST_P(Ranges, EndAtTheLatestRecord) {
    const HourWindow want{GetParam().from, GetParam().latest};
    EXPECT_EQ(CalendarRangeWindow(GetParam().range, H(2003, 1, 1), GetParam().latest), want);
    EXPECT_EQ(CalendarRangeOfCode(CalendarRangeCode(GetParam().range)), GetParam().range);
}
INSTANTIATE_TEST_SUITE_P(Window, Ranges, ::testing::ValuesIn(kRanges), ByName());
