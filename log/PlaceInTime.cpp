#include "log/PlaceInTime.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace vorn {
namespace {

// Where the year walk puts a record: the year it is counted in, its stamp,
// and that moment in hours (29 February of a common year counting as
// 1 March). No stamp: a stamp of no moment, passed over.
struct Counted {
    int year = 0;
    int stamp = -1;
    long long hours = 0;
};

// The records counted back from `now` as DateRecords counts them.
std::vector<Counted> CountRecords(std::span<const double> stamps, const LocalTime& now) {
    const std::vector<CountedStamp> years = CountYears(stamps, now);
    std::vector<Counted> counted(stamps.size());
    for (std::size_t i = 0; i < years.size(); ++i) {
        const auto [year, s] = years[i];
        if (s >= 0)
            counted[i] = {year, s, HoursSinceEpoch({year, s / 10000, s / 100 % 100, s % 100})};
    }
    return counted;
}

// One record of the log, or one new line, in time order; at one moment the
// log's records first, then the new lines in the order given.
struct Item {
    long long hours;
    bool isNew;
    std::size_t index; // among the log's records, or the lines given
    bool operator<(const Item& o) const {
        return std::tie(hours, isNew, index) < std::tie(o.hours, o.isNew, o.index);
    }
};

// Walks back from `now` and keeps a new line when the record after it (or
// `now`) gives it its own year.
void KeepReadable(const std::vector<Item>& items, const std::vector<TimedLine>& lines,
                  const std::vector<Counted>& counted, const LocalTime& now,
                  std::vector<char>& keep) {
    int laterYear = now.year;
    int laterStamp = now.month * 10000 + now.day * 100 + now.hour;
    for (std::size_t k = items.size(); k-- > 0;) {
        const Item& it = items[k];
        if (it.isNew && !keep[it.index])
            continue;
        const int stamp = it.isNew ? StampOf(lines[it.index].when) : counted[it.index].stamp;
        const int year = stamp > laterStamp ? laterYear - 1 : laterYear;
        if (it.isNew && year != lines[it.index].when.year) {
            keep[it.index] = 0;
            continue;
        }
        laterYear = year;
        laterStamp = stamp;
    }
}

// The stamps of the log with the kept lines in their places.
std::vector<double> MergedStamps(std::span<const double> stamps, const Placement& p,
                                 const std::vector<TimedLine>& lines) {
    std::vector<double> merged;
    merged.reserve(stamps.size() + p.lines.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i <= stamps.size(); ++i) {
        for (; k < p.lines.size() && p.lines[k].before == static_cast<long long>(i); ++k)
            merged.push_back(StampOf(lines[p.kept[k]].when));
        if (i < stamps.size())
            merged.push_back(stamps[i]);
    }
    return merged;
}

// Places the lines that `keep` says, in time order.
void Place(const std::vector<Item>& items, const std::vector<TimedLine>& lines,
           const std::vector<char>& keep, std::size_t records, Placement& p) {
    p.lines.clear();
    p.kept.clear();
    // The place of a new line: the next record of the log in time order.
    std::vector<long long> before(items.size());
    long long next = static_cast<long long>(records);
    for (std::size_t k = items.size(); k-- > 0;) {
        if (!items[k].isNew)
            next = static_cast<long long>(items[k].index);
        before[k] = next;
    }
    for (std::size_t k = 0; k < items.size(); ++k)
        if (items[k].isNew && keep[items[k].index]) {
            p.lines.push_back({before[k], lines[items[k].index].line});
            p.kept.push_back(items[k].index);
        }
}

// Reads the new log's dates as DateRecords does: every record of the log
// at its old date, every kept line at its own. A line read otherwise is
// marked in `keep`; false when a record of the log would move.
bool CheckDates(std::span<const double> stamps, const RecordDates& before, const Placement& p,
                const std::vector<TimedLine>& lines, const LocalTime& now,
                std::vector<char>& keep) {
    const RecordDates after = DateRecords(MergedStamps(stamps, p, lines), now);
    std::size_t i = 0;
    std::size_t k = 0;
    for (std::size_t old = 0; old <= stamps.size(); ++old) {
        for (; k < p.lines.size() && p.lines[k].before == static_cast<long long>(old); ++k, ++i)
            if (after[i] != std::optional<RecordDate>(lines[p.kept[k]].when))
                keep[p.kept[k]] = 0;
        if (old < stamps.size() && after[i++] != before[old])
            return false;
    }
    return true;
}

} // namespace

int StampOf(const RecordDate& when) {
    return when.month * 10000 + when.day * 100 + when.hour;
}

std::string ReadLogRecords(std::string_view log, LogRecords& records) {
    records = {};
    RecordScanner scanner(true, 1);
    scanner.onRecord([&](const RecordScanner::Record& fields, long long, long long) {
        records.stamps.push_back(fields[0]);
        records.heights.push_back(fields[1 + kHeight]);
        records.weights.push_back(fields[1 + kWeight]);
    });
    if (scanner.feed(log.data(), log.size()))
        scanner.finish();
    if (scanner.result().stop != LoadResult::Stop::End)
        return "ファイルに数値でない内容か、途中で切れた記録があります";
    return "";
}

Placement PlaceInTime(std::span<const double> stamps, const std::vector<TimedLine>& lines,
                      const LocalTime& now) {
    Placement p;
    const std::vector<Counted> counted = CountRecords(stamps, now);
    const long long nowHours = HoursSinceEpoch({now.year, now.month, now.day, now.hour});
    std::vector<Item> items;
    items.reserve(stamps.size() + lines.size());
    for (std::size_t i = 0; i < stamps.size(); ++i)
        if (counted[i].stamp >= 0)
            items.push_back({counted[i].hours, false, i});
    const auto olds = static_cast<std::ptrdiff_t>(items.size()); // in time order already
    std::vector<char> keep(lines.size(), 1);
    for (std::size_t j = 0; j < lines.size(); ++j) {
        items.push_back({HoursSinceEpoch(lines[j].when), true, j});
        if (items.back().hours > nowHours) {
            keep[j] = 0;
            p.leftOut.push_back({j, kNotYet});
        }
    }
    std::sort(items.begin() + olds, items.end());
    std::inplace_merge(items.begin(), items.begin() + olds, items.end());

    const RecordDates before = DateRecords(stamps, now);
    std::vector<char> readable;
    for (;;) {
        readable = keep;
        KeepReadable(items, lines, counted, now, readable);
        Place(items, lines, readable, stamps.size(), p);
        std::vector<char> checked = readable;
        if (!CheckDates(stamps, before, p, lines, now, checked)) {
            p = {};
            p.refusal = "記録を入れると、ファイルにある記録の日付が変わってしまいます";
            return p;
        }
        if (checked == readable)
            break;
        keep = checked; // read in another year after all: out, and placed again
    }
    for (std::size_t j = 0; j < lines.size(); ++j)
        if (!readable[j] && HoursSinceEpoch(lines[j].when) <= nowHours)
            p.leftOut.push_back({j, kYearLost});
    std::sort(
        p.leftOut.begin(), p.leftOut.end(),
        [](const Placement::LeftOut& a, const Placement::LeftOut& b) { return a.line < b.line; });
    return p;
}

} // namespace vorn
