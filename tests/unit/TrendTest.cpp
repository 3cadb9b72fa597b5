#include "core/Trend.h"
#include "core/Forecast.h"
#include "core/RecordDate.h"
#include "core/TrendText.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace vorn;
using Kind = Forecast::Kind;
using Numbers = std::vector<double>;
using Codes = std::vector<long long>;

namespace {

constexpr int kNone = -1; // an expected trend value, rate or date that is none

// A date as yyyymmddhh.
long long Code(const std::optional<RecordDate>& d) {
    return d ? ((d->year * 100LL + d->month) * 100 + d->day) * 100 + d->hour : kNone;
}

Codes Dates(LocalTime now, const Numbers& stamps) {
    Codes codes;
    for (const auto& d : DateRecords(stamps, now))
        codes.push_back(Code(d));
    return codes;
}

// Dates by hours after 2026/01/01 0 h, hour 20454 × 24 = 490896 since 1970;
// a negative one for a record without.
RecordDates At(const std::vector<long long>& hours) {
    RecordDates dates;
    for (long long h : hours)
        dates.push_back(h < 0 ? std::nullopt : std::optional(DateOfHour(490896 + h)));
    return dates;
}

double Value(const std::optional<long double>& v) {
    return v ? static_cast<double>(*v) : kNone;
}

// The forecast as yyyymmddhh, 1 for reached, 0 for none.
long long Reach(const Trend& t, std::optional<long double> target) {
    const Forecast f = ForecastTarget(t, target);
    return f.kind == Kind::Date ? Code(f.date) : f.kind == Kind::Reached;
}

std::string Summary(std::optional<long double> rate, Forecast f, int quantity) {
    return TrendSummary(Trend{{}, {}, rate, {}}, f, quantity);
}

} // namespace

// clang-format off
TEST(RecordDates, YearsCountedBackFromNow) {
    EXPECT_EQ(Dates({2026, 1, 5, 10}, {122020, 123123, 10100, 10509}), (Codes{2025122020, 2025123123, 2026010100, 2026010509}));
    EXPECT_EQ(Dates({2026, 8, 30, 21}, {83020, 83020, 83020}), (Codes{2026083020, 2026083020, 2026083020}));
    EXPECT_EQ(Dates({2026, 8, 30, 20, 15}, {83020}), Codes{2026083020}); // in the hour of now
    EXPECT_EQ(Dates({2026, 8, 30, 19}, {83020}), Codes{2025083020});     // after now
    // 10200 is compared with 10300, not with any stamp that is no date.
    EXPECT_EQ(Dates({2026, 3, 5, 0}, {10200, 130100, 43100, 10124, 0, 10200.5, -10100, NAN, 10300}),
              (Codes{2026010200, kNone, kNone, kNone, kNone, kNone, kNone, kNone, 2026010300}));
    EXPECT_EQ(Dates({2000, 3, 1, 0}, {22912}), Codes{2000022912});
    EXPECT_EQ(Dates({2100, 3, 1, 0}, {22912}), Codes{kNone});
    EXPECT_EQ(Dates({2026, 3, 5, 0}, {22812, 22912, 30112}), (Codes{2026022812, kNone, 2026030112}));
    EXPECT_EQ(Dates({2025, 1, 10, 0}, {22910, 10100}), (Codes{2024022910, 2025010100}));
    // 22800 is 2026, 22900 then 2025 (no date), 30100 then 2024.
    EXPECT_EQ(Dates({2026, 3, 5, 0}, {30100, 22900, 22800}), (Codes{2024030100, kNone, 2026022800}));
    EXPECT_EQ(RecordDateText({2026, 12, 6, 7}), "2026/12/06 7時");
}

TEST(Trend, StepsPerRecordAndRate) {
    struct Case { int quantity; Numbers values; std::vector<bool> withoutFat; std::vector<long long> hours; Numbers trend; double rate; } cases[] = {
        // 70 + 0.1 × (71 − 70) = 70.1; 70.1 + 0.1 × (69 − 70.1) = 69.99.
        {kWeight, {70, 71, 69}, {}, {}, {70, 70.1, 69.99}, kNone},
        {kFatMass, {13, 0, 14}, {0, 1, 0}, {}, {13, kNone, 13.1}, kNone},
        // 13 + 0.1 × (0 − 13) = 11.7; 11.7 + 0.1 × (14 − 11.7) = 11.93.
        {kWeight, {13, 0, 14}, {0, 1, 0}, {}, {13, 11.7, 11.93}, kNone},
        {kWaterMass, {0, 38}, {1, 0}, {}, {kNone, 38}, kNone},
        {kWeight, {70, 69}, {}, {0, 168}, {70, 69.9}, -0.1}, // 69.9 − 70 in 7 days: −0.1 per week
        {kWeight, {70, 69}, {}, {0, 167}, {70, 69.9}, kNone},
        // 70, 69.9, 69.7 at days 0, 14, 28: means 14 and 69.8667, Sxx = 392,
        // Sxy = −14 × 0.1333 + 14 × −0.1667 = −4.2; −4.2 / 392 × 7 = −0.075.
        {kWeight, {70, 69, 67.9}, {}, {0, 336, 672}, {70, 69.9, 69.7}, -0.075},
        {kWeight, {70, 69, 67.9}, {}, {0, 337, 673}, {70, 69.9, 69.7}, -0.1}, // day 0 falls out
        // 69.7 + 0.1 × (50 − 69.7) = 67.73 at an undated record, which ends no rate.
        {kWeight, {70, 69, 67.9, 50}, {}, {0, 336, 672, -1}, {70, 69.9, 69.7, 67.73}, -0.075},
        {kFatMass, {13, 12, 0}, {0, 0, 1}, {0, 168, 800}, {13, 12.9, kNone}, -0.1},
    };
    for (const Case& c : cases) {
        const Trend t = ComputeTrend(c.values, At(c.hours), c.quantity, c.withoutFat);
        ASSERT_EQ(t.values.size(), c.trend.size());
        for (std::size_t i = 0; i < t.values.size(); ++i)
            EXPECT_NEAR(Value(t.values[i]), c.trend[i], 1e-12) << c.values[0] << " record " << i;
        EXPECT_NEAR(Value(t.rate), c.rate, 1e-12) << c.values.size() << " records from " << c.values[0];
    }
}

TEST(Trend, Forecast) {
    // 70, 69.9 on 2026/01/01 and 01/08: −1/70 a day from 69.9 on 01/08 0 h.
    const Trend two = ComputeTrend(Numbers{70, 69}, At({0, 168}), kWeight);
    const Trend one = ComputeTrend(Numbers{69.9}, At({0}), kWeight);
    EXPECT_EQ(Reach(two, 69.85), 2026011112); // 0.05 × 70 = 3.5 days
    EXPECT_EQ(Reach(two, 59.55), 2028010212); // 10.35 × 70 = 724.5 days
    EXPECT_EQ(Reach(two, 59.45), 0);          // 731.5 days
    // −1 a day from 800 at 2026/01/01 0 h: 70 is the last day forecast, 730 days on.
    EXPECT_EQ(Reach(Trend{{}, 800.0L, -7.0L, DateOfHour(490896)}, 70), 2028010100);
    EXPECT_EQ(Reach(two, 69.904), 1);
    EXPECT_EQ(Reach(two, 70.5), 0); // moving away
    EXPECT_EQ(Reach(two, std::nullopt), 0);
    EXPECT_EQ(Reach(one, 69.9), 1); // needs no rate
    EXPECT_EQ(Reach(one, 60), 0);
}

TEST(Trend, SavedWithoutFat) {
    EXPECT_EQ(std::pair(SavedWithoutFat({170, 65, 0, 0, 0, 0, 63.58, 22.49, 2.23}), SavedWithoutFat({170, 60, 0, 0, 60, 43.92, 63.58, 20.76, -5.63})), std::pair(true, false));
}

TEST(Trend, SummaryLine) {
    EXPECT_EQ(Summary(-0.35L, {Kind::Date, {2027, 2, 14, 5}}, kWeight), "傾向 −0.35 kg/週　目標到達予想 2027/02/14");
    EXPECT_EQ(Summary(0.2L, {}, kFatPercent), "傾向 +0.20 %/週");
    EXPECT_EQ(Summary(-0.049L, {}, kBmi), "傾向 −0.05/週");
    EXPECT_EQ(Summary(-0.004L, {}, kWeight), "傾向 0.00 kg/週");
    EXPECT_EQ(Summary(std::nullopt, {}, kWeight), "傾向 --.-- kg/週");
    EXPECT_EQ(Summary(-0.35L, {Kind::Reached, {}}, kWeight), "目標に到達しています");
}
// clang-format on
