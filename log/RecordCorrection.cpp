#include "log/RecordCorrection.h"

#include "log/LogRewrite.h"

#include <cstddef>

namespace vorn {
namespace {

// The corrected line at its place among the records of `log` but `old`,
// that place counted among all of them; or the reason it cannot go in.
std::string Place(std::string_view log, const KnownRecord& old, const TimedLine& corrected,
                  const LocalTime& now, NewLine& placed) {
    LogRecords read;
    if (std::string reason = ReadLogRecords(log, read); !reason.empty())
        return reason;
    if (old.index < 0 || old.index >= static_cast<long long>(read.stamps.size()))
        return kChangedSince;
    std::vector<double> others = read.stamps;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(old.index));
    const Placement p = PlaceInTime(others, {corrected}, now);
    if (!p.refusal.empty())
        return p.refusal;
    if (!p.leftOut.empty())
        return p.leftOut.front().reason;
    placed = p.lines.front();
    // Past the record taken out, the places count it again.
    if (placed.before >= old.index)
        ++placed.before;
    return "";
}

} // namespace

void CorrectRecord(LogFileSystem& fs, const std::string& path, const KnownRecord& old,
                   const TimedLine& corrected, const LocalTime& now) {
    RewriteLog(
        fs, path,
        [&](const std::string& bytes, std::string& updated) {
            NewLine placed;
            if (std::string reason = Place(bytes, old, corrected, now, placed); !reason.empty())
                return reason;
            return SpliceRecords(bytes, {old}, {placed}, updated);
        },
        "の記録を修正できませんでした");
}

} // namespace vorn
