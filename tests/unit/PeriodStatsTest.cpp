// Statistics per week, month and year of a whole log: calendar periods,
// which records count, and texts rounded as their decimals are.

#include "log/DatedLog.h"
#include "log/PosixFileSystem.h"
#include "support/Cases.h"
#include "support/TestHome.h"
#include "ui/graph/StatsTable.h"

using namespace vorn;
using namespace vorn::test;

namespace {

struct PeriodCase {
    const char* name;
    Period period;
    RecordDate day;
    const char* label;
    const char* start; // and end, "YYYY-MM-DD"
    const char* end;
};
const PeriodCase kPeriods[] = {
    {"week of a year with 53",
     Period::Week,
     {2026, 12, 31, 5},
     "2026-W53",
     "2026-12-28",
     "2027-01-03"},
    {"first week after it", Period::Week, {2027, 1, 4, 0}, "2027-W01", "2027-01-04", "2027-01-10"},
    {"week 1 begun in December",
     Period::Week,
     {2024, 12, 30, 0},
     "2025-W01",
     "2024-12-30",
     "2025-01-05"},
    {"Sunday ending week 53",
     Period::Week,
     {2021, 1, 3, 23},
     "2020-W53",
     "2020-12-28",
     "2021-01-03"},
    {"week 1 of 1970", Period::Week, {1969, 12, 29, 0}, "1970-W01", "1969-12-29", "1970-01-04"},
    {"week before it", Period::Week, {1969, 12, 28, 0}, "1969-W52", "1969-12-22", "1969-12-28"},
    {"leap February", Period::Month, {2028, 2, 10, 0}, "2028-02", "2028-02-01", "2028-02-29"},
    {"year", Period::Year, {2026, 6, 1, 0}, "2026", "2026-01-01", "2026-12-31"},
};
class Periods : public ::testing::TestWithParam<PeriodCase> {};

std::string Iso(const RecordDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

// A Monday and a Tuesday of week 49 (whose average
// ends in a half, and so does the difference to week 51's), a record whose stamp names no day, a
// gap week, then week 51; the Tuesday's record has no fat percentage.
const char* const kLog = " 113008 170.00 60.00 20.00 13.00 52.00 38.06 63.58 22.53  2.36\n"
                         " 120108 170.00 60.01 000.00 000.00 000.00 000.00 63.58 22.54 2.38\n"
                         " 133208 170.00 99.00 30.00 29.70 69.30 50.73 63.58 34.26 55.71\n"
                         " 121408 170.00 60.91 21.00 13.44 50.56 37.01 63.58 22.15  0.66\n";
const LocalTime kNow{2026, 12, 20, 12, 0};

struct StatsCase {
    const char* name;
    int quantity;
    Period period;
    const char* csv;
};
const StatsCase kStats[] = {
    {"weights per week", kWeight, Period::Week,
     "期間,開始,終了,件数,平均,最小,最大,差,傾向\r\n"
     "2026-W49,2026-11-30,2026-12-06,2,60.01,60.00,60.01,,60.00\r\n"
     "2026-W50,2026-12-07,2026-12-13,0,,,,,\r\n"
     "2026-W51,2026-12-14,2026-12-20,1,60.91,60.91,60.91,0.91,63.60\r\n"},
    {"fat percentages per month", kFatPercent, Period::Month,
     "期間,開始,終了,件数,平均,最小,最大,差,傾向\r\n"
     "2026-11,2026-11-01,2026-11-30,1,20.00,20.00,20.00,,20.00\r\n"
     "2026-12,2026-12-01,2026-12-31,1,21.00,21.00,21.00,1.00,21.00\r\n"},
    {"weights per year", kWeight, Period::Year,
     "期間,開始,終了,件数,平均,最小,最大,差,傾向\r\n"
     "2026,2026-01-01,2026-12-31,3,60.31,60.00,60.91,,63.60\r\n"},
};
class Stats : public ::testing::TestWithParam<StatsCase> {};

} // namespace

TEST_P(Periods, NameAndDays) {
    const PeriodCase& c = GetParam();
    const long long key = PeriodKey(c.period, c.day);
    EXPECT_EQ(PeriodName(c.period, key), c.label);
    EXPECT_EQ(Iso(PeriodStart(c.period, key)), c.start);
    EXPECT_EQ(Iso(PeriodEnd(c.period, key)), c.end);
}
INSTANTIATE_TEST_SUITE_P(Calendar, Periods, ::testing::ValuesIn(kPeriods), ByName());

TEST_P(Stats, CsvOfTheWholeLog) {
    const std::string path = MakeTempDir("stats") + "/data.txt";
    Spit(path, kLog);
    PosixFileSystem fs;
    const DatedLog log = ReadDatedLog(fs, path, kNow);
    EXPECT_EQ(StatsTable::Of(log, GetParam().quantity, GetParam().period).csv(), GetParam().csv);
}
INSTANTIATE_TEST_SUITE_P(Log, Stats, ::testing::ValuesIn(kStats), ByName());

TEST(StatsOfALongLog, CountEveryRecordAndTellWhereReadingStopped) {
    const std::string path = MakeTempDir("stats") + "/data.txt";
    std::string text;
    for (int i = 0; i < 1200; ++i)
        text += " 10100 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n";
    Spit(path, text + " 10100 170.00 x\n");
    PosixFileSystem fs;
    const DatedLog log = ReadDatedLog(fs, path, kNow);
    EXPECT_EQ(StatsTable::Of(log, kWeight, Period::Year).text(0, 3), "1200");
    EXPECT_EQ(StatsNotice(log),
              "記録 1201 件目（1201 行目）で読み込みを中止しました（数値でない内容があります）。"
              "それより前の 1200 件を集計しました。");
}
