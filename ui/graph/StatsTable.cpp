#include "ui/graph/StatsTable.h"

#include "core/Measurement.h"
#include "log/HistoryCsv.h"

#include <cstdio>

namespace vorn {
namespace {

std::string IsoDay(const RecordDate& d) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

enum Column { kName, kStart, kEnd, kCount, kMean, kMin, kMax, kChange, kTrend };

} // namespace

StatsTable::StatsTable(PeriodTable periods, int quantity)
    : periods_(std::move(periods)), quantity_(quantity) {}

StatsTable StatsTable::Of(const DatedLog& log, int quantity, Period period) {
    return StatsTable(ComputePeriodStats(QuantityValues(log, quantity), log.dates,
                                         log.savedWithoutFatPercentage, quantity, period),
                      quantity);
}

std::string StatsTable::text(std::size_t row, std::size_t column) const {
    const Period period = periods_.period();
    const PeriodRow r = periods_.row(row);
    auto value = [&](const std::optional<long double>& v) {
        return v ? GridText(*v, quantity_) : std::string();
    };
    switch (column) {
    case kName:
        return PeriodName(period, r.key);
    case kStart:
        return IsoDay(PeriodStart(period, r.key));
    case kEnd:
        return IsoDay(PeriodEnd(period, r.key));
    case kCount:
        return std::to_string(r.count);
    case kMean:
        return value(r.mean);
    case kMin:
        return value(r.min);
    case kMax:
        return value(r.max);
    case kChange:
        return value(r.change);
    case kTrend:
        return value(r.trend);
    }
    return "";
}

std::string StatsTable::csv() const {
    std::string out;
    auto line = [&out](auto cell) {
        for (std::size_t c = 0; c < kStatsHeaders.size(); ++c) {
            if (c > 0)
                out += ',';
            out += CsvField(cell(c));
        }
        out += "\r\n";
    };
    line([](std::size_t c) { return std::string(kStatsHeaders[c]); });
    for (std::size_t row = 0; row < rowCount(); ++row)
        line([&](std::size_t c) { return text(row, c); });
    return out;
}

} // namespace vorn
