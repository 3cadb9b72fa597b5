// Taking whole records' lines out of a log's bytes.

#include "log/RecordCut.h"

#include <map>

namespace vorn {
namespace {

// Lines from 1, `first` to `last` inclusive.
struct Lines {
    long long first;
    long long last;
};

// Copies the lines of `log` outside `drop` (ascending, apart) to `kept`.
void copyOthers(std::string_view log, const std::vector<Lines>& drop, std::string& kept) {
    kept.clear();
    kept.reserve(log.size());
    auto next = drop.begin();
    long long line = 1;
    for (std::size_t at = 0; at < log.size(); ++line) {
        const std::size_t lf = log.find('\n', at);
        const std::size_t end = lf == std::string_view::npos ? log.size() : lf + 1;
        while (next != drop.end() && next->last < line)
            ++next;
        if (next == drop.end() || line < next->first)
            kept.append(log.substr(at, end - at));
        at = end;
    }
}

} // namespace

KnownRecord HistoryRecord(const HistoryTable& table, long long skipped, int entry) {
    KnownRecord r;
    r.index = skipped + entry - 1;
    for (int c = 0; c < HistoryTable::kColumns; ++c)
        r.fields[static_cast<std::size_t>(c)] = table.at(c, entry);
    return r;
}

std::string CutRecords(std::string_view log, const std::vector<KnownRecord>& records,
                       std::string& kept) {
    std::map<long long, const RecordScanner::Record*> wanted;
    for (const KnownRecord& r : records)
        if (!wanted.emplace(r.index, &r.fields).second && *wanted[r.index] != r.fields)
            return kChangedSince; // one place, two records: one of them is not there

    std::vector<Lines> drop;
    long long index = 0;
    long long lastLine = 0; // of the record before
    bool lastDropped = false;
    bool shared = false;
    bool differs = false;
    RecordScanner scanner;
    scanner.onRecord([&](const RecordScanner::Record& fields, long long first, long long last) {
        const auto it = wanted.find(index++);
        const bool dropped = it != wanted.end();
        if (first == lastLine && (dropped || lastDropped))
            shared = true;
        if (dropped) {
            differs = differs || fields != *it->second;
            drop.push_back({first, last});
        }
        lastLine = last;
        lastDropped = dropped;
    });
    if (scanner.feed(log.data(), log.size()))
        scanner.finish();

    if (scanner.result().stop != LoadResult::Stop::End)
        return "ファイルに数値でない内容か、途中で切れた記録があります";
    if (differs ||
        (!wanted.empty() && (wanted.begin()->first < 0 || wanted.rbegin()->first >= index)))
        return kChangedSince;
    if (shared)
        return "削除する記録と同じ行に、ほかの記録があります";
    copyOthers(log, drop, kept);
    return "";
}

} // namespace vorn
