#include "log/TimedSave.h"

#include "log/LogError.h"
#include "log/LogRewrite.h"
#include "log/LogWriter.h"

#include <cerrno>

namespace vorn {
namespace {

const char* const kSaveFailed = "に保存できませんでした";

// Places the record among the records of `log`: the reason it cannot go
// in, or nothing.
std::string placeIn(std::string_view log, const TimedLine& record, const LocalTime& now,
                    Placement& p, std::size_t& records) {
    LogRecords read;
    if (std::string reason = ReadLogRecords(log, read); !reason.empty())
        return reason;
    records = read.stamps.size();
    p = PlaceInTime(read.stamps, {record}, now);
    if (!p.refusal.empty())
        return p.refusal;
    return p.leftOut.empty() ? "" : p.leftOut.front().reason;
}

} // namespace

void SaveRecordAt(LogFileSystem& fs, const std::string& path, const TimedLine& record,
                  const LocalTime& now) {
    std::string bytes;
    const IoStatus status = ReadLogBytes(fs, path, bytes);
    if (!status.ok() && status.err != ENOENT)
        throw LogError("ファイル「" + path + "」" + kSaveFailed + "。\n理由: " + status.reason);
    Placement p;
    std::size_t records = 0;
    if (std::string reason = placeIn(bytes, record, now, p, records); !reason.empty()) {
        const std::string message =
            "ファイル「" + path + "」" + kSaveFailed + "。\n理由: " + reason;
        if (p.leftOut.empty())
            throw LogError(message);
        throw UnplacedRecord(message);
    }
    if (p.lines.front().before == static_cast<long long>(records)) {
        AppendRecord(fs, path, record.line);
        return;
    }
    RewriteLog(
        fs, path,
        [&](const std::string& old, std::string& updated) {
            if (std::string reason = placeIn(old, record, now, p, records); !reason.empty())
                return reason;
            return SpliceRecords(old, {}, p.lines, updated);
        },
        kSaveFailed);
}

} // namespace vorn
