#include "log/HistoryCsv.h"

#include "core/Measurement.h"
#include "core/RecordDate.h"
#include "core/Trend.h"

#include <cstdio>
#include <vector>

namespace vorn {
namespace {

constexpr const char* kEnd = "\r\n";

std::string IsoHour(const RecordDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:00", d.year, d.month, d.day, d.hour);
    return text;
}

std::array<double, kQuantityCount> Quantities(const RecordFields& record) {
    std::array<double, kQuantityCount> nine{};
    for (int q = 0; q < kQuantityCount; ++q)
        nine[static_cast<std::size_t>(q)] = record[static_cast<std::size_t>(q + 1)];
    return nine;
}

} // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

std::string HistoryCsv(std::span<const RecordFields> records, const LocalTime& now,
                       std::optional<int> trendQuantity) {
    std::vector<double> stamps;
    stamps.reserve(records.size());
    for (const RecordFields& r : records)
        stamps.push_back(r[0]);
    const RecordDates dates = DateRecords(stamps, now);

    Trend trend;
    if (trendQuantity) {
        std::vector<double> values;
        std::vector<bool> withoutFat;
        values.reserve(records.size());
        withoutFat.reserve(records.size());
        for (const RecordFields& r : records) {
            values.push_back(r[static_cast<std::size_t>(*trendQuantity + 1)]);
            withoutFat.push_back(SavedWithoutFat(Quantities(r)));
        }
        trend = ComputeTrend(values, dates, *trendQuantity, withoutFat);
    }

    // Each field is appended on its own: no temporary strings per cell.
    std::string csv = CsvField("日時");
    for (const QuantityFacts& f : kQuantities) {
        csv += ',';
        csv += CsvField(f.gridHeader);
    }
    if (trendQuantity) {
        csv += ',';
        csv += CsvField(std::string("傾向 ") + Facts(*trendQuantity).gridHeader);
    }
    csv += kEnd;

    for (std::size_t k = 0; k < records.size(); ++k) {
        csv += dates[k] ? IsoHour(*dates[k]) : "";
        for (int q = 0; q < kQuantityCount; ++q) {
            csv += ',';
            csv += CsvField(GridText(records[k][static_cast<std::size_t>(q + 1)], q));
        }
        if (trendQuantity) {
            csv += ',';
            if (trend.values[k])
                csv += CsvField(GridText(*trend.values[k], *trendQuantity));
        }
        csv += kEnd;
    }
    return csv;
}

} // namespace vorn
