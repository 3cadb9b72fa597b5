#include "log/HistoryCsv.h"

#include "core/Measurement.h"
#include "core/RecordDate.h"
#include "core/Trend.h"

#include <string_view>
#include <vector>

namespace vorn {
namespace {

constexpr const char* kEnd = "\r\n";

// Appends the digits of 0 <= n < 10^width, zero-padded: many thousand
// dates are written, and printf would take most of the time.
void AppendDigits(std::string& out, int n, int width) {
    char digits[8];
    for (int i = width - 1; i >= 0; --i, n /= 10)
        digits[i] = static_cast<char>('0' + n % 10);
    out.append(digits, static_cast<std::size_t>(width));
}

// "2026-08-30T20:00"; a year beyond 0..9999 as it comes.
void AppendIsoHour(std::string& out, const RecordDate& d) {
    if (d.year >= 0 && d.year <= 9999)
        AppendDigits(out, d.year, 4);
    else
        out += std::to_string(d.year);
    out += '-';
    AppendDigits(out, d.month, 2);
    out += '-';
    AppendDigits(out, d.day, 2);
    out += 'T';
    AppendDigits(out, d.hour, 2);
    out += ":00";
}

// Appends one field, quoted only when it must be.
void AppendField(std::string& out, std::string_view text) {
    // A plain loop: the fields are short, and a search per character to
    // look for costs more than the field.
    bool plain = true;
    for (const char c : text)
        plain = plain && c != ',' && c != '"' && c != '\r' && c != '\n';
    if (plain) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
}

} // namespace

std::string CsvField(const std::string& text) {
    std::string field;
    AppendField(field, text);
    return field;
}

std::string HistoryCsv(const WholeLog& log, const LocalTime& now, std::optional<int> trendQuantity,
                       ByteOrderMark mark) {
    const std::vector<RecordFields>& records = log.records;
    std::vector<double> stamps;
    stamps.reserve(records.size());
    for (const RecordFields& r : records)
        stamps.push_back(r[0]);
    const RecordDates dates = DateRecords(stamps, now);

    Trend trend;
    if (trendQuantity) {
        std::vector<double> values;
        values.reserve(records.size());
        for (const RecordFields& r : records)
            values.push_back(r[static_cast<std::size_t>(*trendQuantity + 1)]);
        trend = ComputeTrend(values, dates, *trendQuantity, log.savedWithoutFat);
    }

    // About a hundred bytes a record.
    std::string csv;
    csv.reserve(200 + records.size() * 100);
    if (mark == ByteOrderMark::With)
        csv += "\xEF\xBB\xBF";
    AppendField(csv, "日時");
    for (const QuantityFacts& f : kQuantities) {
        csv += ',';
        AppendField(csv, f.gridHeader);
    }
    if (trendQuantity) {
        csv += ',';
        AppendField(csv, std::string("傾向 ") + Facts(*trendQuantity).gridHeader);
    }
    csv += kEnd;

    for (std::size_t k = 0; k < records.size(); ++k) {
        if (dates[k])
            AppendIsoHour(csv, *dates[k]);
        const bool noFat = k < log.savedWithoutFat.size() && log.savedWithoutFat[k];
        for (int q = 0; q < kQuantityCount; ++q) {
            csv += ',';
            if (!noFat || !Facts(q).fatField)
                AppendField(csv, GridText(records[k][static_cast<std::size_t>(q + 1)], q));
        }
        if (trendQuantity) {
            csv += ',';
            if (trend.values[k])
                AppendField(csv, GridText(*trend.values[k], *trendQuantity));
        }
        csv += kEnd;
    }
    return csv;
}

} // namespace vorn
