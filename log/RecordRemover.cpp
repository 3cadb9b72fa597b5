// Removing records from a log file: the log rewritten without their lines.

#include "log/RecordRemover.h"

#include "log/LogRewrite.h"

namespace vorn {

void RemoveRecords(LogFileSystem& fs, const std::string& path,
                   const std::vector<KnownRecord>& records) {
    if (records.empty())
        return;
    RewriteLog(
        fs, path,
        [&](const std::string& old, std::string& kept) { return CutRecords(old, records, kept); },
        "から記録を削除できませんでした");
}

} // namespace vorn
