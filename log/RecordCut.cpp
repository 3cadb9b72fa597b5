// Taking whole records' lines out of a log's bytes.

#include "log/RecordCut.h"

#include <algorithm>
#include <limits>
#include <map>

namespace vorn {
namespace {

// Lines from 1, `first` to `last` inclusive.
struct Lines {
    long long first;
    long long last;
};

// A new line at its line of the file (from 1); past the last for the end.
struct Placed {
    long long line;
    const std::string* text;
};

// Copies the lines of `log` outside `drop` (ascending, apart) to `out`, with
// `put` (ascending) going in before their lines.
void copyOthers(std::string_view log, const std::vector<Lines>& drop,
                const std::vector<Placed>& put, std::string& out) {
    out.clear();
    std::size_t more = 0;
    for (const Placed& p : put)
        more += p.text->size() + 1;
    out.reserve(log.size() + more);
    auto next = drop.begin();
    auto in = put.begin();
    long long line = 1;
    for (std::size_t at = 0; at < log.size(); ++line) {
        for (; in != put.end() && in->line == line; ++in)
            out.append(*in->text);
        const std::size_t lf = log.find('\n', at);
        const std::size_t end = lf == std::string_view::npos ? log.size() : lf + 1;
        while (next != drop.end() && next->last < line)
            ++next;
        if (next == drop.end() || line < next->first)
            out.append(log.substr(at, end - at));
        at = end;
    }
    if (in != put.end() && !out.empty() && out.back() != '\n')
        out += '\n';
    for (; in != put.end(); ++in)
        out.append(*in->text);
}

// The new lines by their places, those of one place in the order given.
std::vector<const NewLine*> inPlaceOrder(const std::vector<NewLine>& lines) {
    std::vector<const NewLine*> order;
    order.reserve(lines.size());
    for (const NewLine& l : lines)
        order.push_back(&l);
    std::stable_sort(order.begin(), order.end(),
                     [](const NewLine* a, const NewLine* b) { return a->before < b->before; });
    return order;
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
    return SpliceRecords(log, records, {}, kept);
}

std::string SpliceRecords(std::string_view log, const std::vector<KnownRecord>& records,
                          const std::vector<NewLine>& lines, std::string& updated) {
    std::map<long long, const RecordScanner::Record*> wanted;
    for (const KnownRecord& r : records)
        if (!wanted.emplace(r.index, &r.fields).second && *wanted[r.index] != r.fields)
            return kChangedSince; // one place, two records: one of them is not there
    const std::vector<const NewLine*> order = inPlaceOrder(lines);
    std::map<long long, long long> startLine; // of the records new lines go before
    for (const NewLine* l : order)
        startLine[l->before] = 0;

    std::vector<Lines> drop;
    long long index = 0;
    long long lastLine = 0; // of the record before
    bool lastDropped = false;
    bool shared = false;
    bool crowded = false; // a new line's place is on a line with another record
    bool differs = false;
    RecordScanner scanner(true, 1); // the fields are seen as they are read
    scanner.onRecord([&](const RecordScanner::Record& fields, long long first, long long last) {
        if (const auto at = startLine.find(index); at != startLine.end()) {
            at->second = first;
            crowded = crowded || first == lastLine;
        }
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
        (!wanted.empty() && (wanted.begin()->first < 0 || wanted.rbegin()->first >= index)) ||
        (!order.empty() && (order.front()->before < 0 || order.back()->before > index)))
        return kChangedSince;
    if (shared)
        return "削除する記録と同じ行に、ほかの記録があります";
    if (crowded)
        return "記録を入れる位置の行に、ほかの記録が並んでいます";
    std::vector<Placed> put;
    put.reserve(order.size());
    for (const NewLine* l : order) // the end's lines past every line of the file
        put.push_back(
            {l->before == index ? std::numeric_limits<long long>::max() : startLine[l->before],
             &l->line});
    copyOthers(log, drop, put, updated);
    return "";
}

} // namespace vorn
