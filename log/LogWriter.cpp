// Appending one line to a log file, all or nothing.

#include "log/LogWriter.h"

#include "log/LogError.h"

#include <cstdint>

namespace vorn {
namespace {

const char* const kPartialLineNote = "\nファイルの末尾に書きかけの行が残っている可能性があります。";
// A close that fails after a good sync: the line is most likely on disk, and
// saving again blindly would write it twice.
const char* const kMaybeSavedNote = "\n記録はすでにファイルに書き込まれている可能性があります。"
                                    "保存し直す前に、ファイルの最後の行を確かめてください。";

[[noreturn]] void saveFailed(const std::string& path, const std::string& reason,
                             const char* note = "") {
    throw LogError("ファイル「" + path + "」に保存できませんでした。\n理由: " + reason + note);
}

// Cuts the file back to `before` bytes when it now holds exactly the
// `added` bytes of this append after them; anything else (someone else
// appended meanwhile, the size is unknown) is left alone. True when the file
// is back to `before` bytes.
bool rollBack(LogFileSystem& fs, LogFileSystem::Handle h, std::uint64_t before, std::size_t added) {
    if (added == 0)
        return true;
    std::uint64_t now = 0;
    if (!fs.size(h, now).ok() || now != before + added)
        return false;
    return fs.truncate(h, before).ok();
}

} // namespace

void AppendRecord(LogFileSystem& fs, const std::string& path, const std::string& line) {
    LogFileSystem::Handle h = -1;
    IoStatus status = fs.openAppend(path, h);
    if (!status.ok())
        saveFailed(path, status.reason);

    // From here on every path closes the handle; the first failure wins.
    auto closeAndFail = [&](const std::string& reason, const char* note) {
        fs.close(h);
        saveFailed(path, reason, note);
    };

    std::uint64_t before = 0;
    status = fs.size(h, before);
    if (!status.ok())
        closeAndFail(status.reason, "");

    std::size_t written = 0;
    status = fs.write(h, line, written);
    if (!status.ok() || written != line.size()) {
        const std::string reason = !status.ok()  ? status.reason
                                   : written > 0 ? "途中までしか書き込めませんでした"
                                                 : "書き込めませんでした";
        closeAndFail(reason, rollBack(fs, h, before, written) ? "" : kPartialLineNote);
    }

    status = fs.sync(h);
    if (!status.ok())
        closeAndFail(status.reason, rollBack(fs, h, before, written) ? "" : kPartialLineNote);

    status = fs.close(h);
    if (!status.ok())
        saveFailed(path, status.reason, kMaybeSavedNote);
}

} // namespace vorn
