#include "import/ImportIntoLog.h"

#include "log/LogError.h"
#include "log/LogRewrite.h"
#include "log/LogWriter.h"

#include <cerrno>

namespace vorn {
namespace {

const char* const kImportFailed = "に記録を取り込めませんでした";
const char* const kNoHeight = "身長がわかりません";

[[noreturn]] void importFailed(const std::string& path, const std::string& reason) {
    throw LogError("ファイル「" + path + "」" + kImportFailed + "。\n理由: " + reason);
}

// The log's bytes; false when it is missing.
bool readLog(LogFileSystem& fs, const std::string& path, std::string& bytes) {
    const IoStatus status = ReadLogBytes(fs, path, bytes);
    if (status.ok())
        return true;
    if (status.err != ENOENT)
        importFailed(path, status.reason);
    bytes.clear();
    return false;
}

} // namespace

void PlanImportInto(LogFileSystem& fs, const std::string& path, const ImportedFile& file,
                    const std::optional<std::string>& height, const LocalTime& now,
                    ImportPlan& plan) {
    std::string bytes;
    readLog(fs, path, bytes);
    if (std::string reason = PlanImport(file, bytes, height, now, plan); !reason.empty())
        importFailed(path, reason);
}

void ImportIntoLog(LogFileSystem& fs, const std::string& path, const ImportedFile& file,
                   const std::optional<std::string>& height, const LocalTime& now,
                   ImportPlan& plan) {
    std::string bytes;
    const bool exists = readLog(fs, path, bytes);
    if (std::string reason = PlanImport(file, bytes, height, now, plan); !reason.empty())
        importFailed(path, reason);
    if (plan.height.empty())
        importFailed(path, kNoHeight);
    if (plan.added.empty())
        return;
    if (!exists) {
        std::string lines;
        for (const TimedLine& t : plan.added)
            lines += t.line;
        AppendRecord(fs, path, lines);
        return;
    }
    RewriteLog(
        fs, path,
        [&](const std::string& old, std::string& updated) {
            // Planned again only when the log changed since it was read.
            if (old != bytes)
                if (std::string reason = PlanImport(file, old, height, now, plan); !reason.empty())
                    return reason;
            if (plan.height.empty())
                return std::string(kNoHeight);
            return SpliceRecords(old, {}, plan.lines, updated);
        },
        kImportFailed);
}

} // namespace vorn
