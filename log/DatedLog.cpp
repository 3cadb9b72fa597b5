#include "log/DatedLog.h"

#include "core/Trend.h"

namespace vorn {

DatedLog DateWholeLog(WholeLog log, const LocalTime& now) {
    DatedLog dated;
    dated.records = std::move(log.records);
    dated.savedWithoutFatPercentage = std::move(log.savedWithoutFat);
    dated.savedWithoutFatPercentage.resize(dated.records.size(), false);
    dated.result = log.result;
    std::vector<double> stamps;
    stamps.reserve(dated.records.size());
    for (const RecordFields& r : dated.records)
        stamps.push_back(r[0]);
    dated.dates = DateRecords(stamps, now);
    return dated;
}

DatedLog ReadDatedLog(LogFileSystem& fs, const std::string& path, const LocalTime& now) {
    return DateWholeLog(ReadWholeLog(fs, path), now);
}

std::string StatsNotice(const DatedLog& log) {
    const std::string stop = StopNotice(log.result);
    if (stop.empty())
        return "";
    return stop + (log.records.empty() ? std::string("集計できる記録はありません。")
                                       : "それより前の " + std::to_string(log.records.size()) +
                                             " 件を集計しました。");
}

std::vector<double> QuantityValues(const DatedLog& log, int quantity) {
    std::vector<double> values;
    values.reserve(log.records.size());
    for (const RecordFields& r : log.records)
        values.push_back(r[static_cast<std::size_t>(quantity) + 1]);
    return values;
}

} // namespace vorn
