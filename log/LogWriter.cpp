// Appending one line to a log file, all or nothing.

#include "log/LogWriter.h"

#include "core/CharClass.h"
#include "core/Quantities.h"
#include "log/LogError.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

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

// A tail that holds a NUL byte, or a last line that stops inside a record:
// a record added after it would be glued to the broken one and shift every
// later record by the missing fields.
const char* const kDamagedTail = "ファイルの最後の行が途中で切れているか、壊れています";
const char* const kNothingWrittenNote =
    "\nファイルには何も書き込んでいません。別のファイルに保存するか、"
    "最後の行を確かめてから保存し直してください。";

// The end of the file is judged from its last few KiB, never the whole file.
constexpr std::size_t kTailBlock = 4096;
// A last line longer than this, without a line end before it, is no log line.
constexpr std::size_t kLastLineLimit = 64 * 1024;
constexpr std::size_t kFieldsPerRecord = 1 + kQuantityCount; // the date stamp, then the quantities
// Tries at opening a name that is removed or replaced meanwhile.
constexpr int kOpenTries = 3;

// What the end of the file needs before a new record.
enum class Tail {
    Fine,         // empty, or the last line ends, or holds no field
    NeedsLineEnd, // the last line holds whole records but no line end
    Damaged,
};

// Reads the bytes from `from` up to `to` into `out`; fewer when the file is
// shorter by now.
IoStatus readRange(LogFileSystem& fs, LogFileSystem::Handle h, std::uint64_t from, std::uint64_t to,
                   std::string& out) {
    out.assign(static_cast<std::size_t>(to - from), '\0');
    std::size_t have = 0;
    while (have < out.size()) {
        std::size_t got = 0;
        const IoStatus status =
            fs.readAt(h, from + have, out.data() + have, out.size() - have, got);
        if (!status.ok())
            return status;
        if (got == 0)
            break;
        have += got;
    }
    out.resize(have);
    return {};
}

// Judges the last line of a file of `size` bytes: read back block by block
// until a line end (or the start of the file) is found, so that the whole of
// the last line is seen, and at most kLastLineLimit bytes.
IoStatus judgeTail(LogFileSystem& fs, LogFileSystem::Handle h, std::uint64_t size, Tail& tail) {
    std::string seen; // the last bytes of the file
    std::uint64_t from = size;
    bool lineStartSeen = false;
    while (!lineStartSeen) {
        if (from == 0 || seen.size() >= kLastLineLimit) {
            lineStartSeen = from == 0;
            break;
        }
        const std::uint64_t to = from;
        from -= std::min<std::uint64_t>(from, kTailBlock);
        std::string block;
        const IoStatus status = readRange(fs, h, from, to, block);
        if (!status.ok())
            return status;
        lineStartSeen = block.find('\n') != std::string::npos;
        seen.insert(0, block);
    }
    const std::size_t lastBreak = seen.rfind('\n');
    const std::string_view last = lastBreak == std::string::npos
                                      ? std::string_view(seen)
                                      : std::string_view(seen).substr(lastBreak + 1);
    if (!lineStartSeen || seen.find('\0') != std::string::npos) {
        tail = Tail::Damaged;
        return {};
    }
    std::size_t fields = 0;
    for (std::size_t i = 0; i < last.size(); ++i)
        fields += !IsSpace(last[i]) && (i == 0 || IsSpace(last[i - 1]));
    tail = fields % kFieldsPerRecord != 0 ? Tail::Damaged
           : fields > 0                   ? Tail::NeedsLineEnd
                                          : Tail::Fine;
    return {};
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

// Opens the log for appending, creating it if need be, and locks it. The
// lock is held until the close: no other append of this program writes, or
// cuts back, while this one looks at the end, writes, syncs or undoes. A
// name removed or replaced before the lock was taken (say, by another append
// that created the file and then failed) is opened again, so that the record
// never goes into a file no longer there.
LogFileSystem::Handle OpenLocked(LogFileSystem& fs, const std::string& path, bool& created) {
    LogFileSystem::Handle h = -1;
    for (int tries = 1;; ++tries) {
        IoStatus status = fs.openAppend(path, h, created);
        if (!status.ok())
            saveFailed(path, status.reason);
        status = fs.lock(h);
        bool same = false;
        if (status.ok())
            status = fs.isAt(path, h, same);
        if (!status.ok()) {
            fs.close(h);
            saveFailed(path, status.reason);
        }
        if (same)
            return h;
        fs.close(h);
        if (tries == kOpenTries)
            saveFailed(path, "ほかのプログラムがファイルを消したり置き換えたりしています");
    }
}

} // namespace

void AppendRecord(LogFileSystem& fs, const std::string& path, const std::string& line) {
    bool created = false;
    const LogFileSystem::Handle h = OpenLocked(fs, path, created);

    // From here on every path closes the handle; the first failure wins. A
    // file this save created goes again when it is still empty.
    std::uint64_t before = 0;
    auto closeAndFail = [&](const std::string& reason, const char* note) {
        if (created)
            fs.removeIfEmpty(path, h);
        fs.close(h);
        saveFailed(path, reason, note);
    };
    auto undoAndFail = [&](const std::string& reason, std::size_t written) {
        closeAndFail(reason, rollBack(fs, h, before, written) ? "" : kPartialLineNote);
    };

    IoStatus status = fs.size(h, before);
    if (!status.ok())
        closeAndFail(status.reason, "");

    Tail tail = Tail::Fine;
    if (before > 0) {
        status = judgeTail(fs, h, before, tail);
        if (!status.ok())
            closeAndFail(status.reason, "");
        if (tail == Tail::Damaged)
            closeAndFail(kDamagedTail, kNothingWrittenNote);
    }
    // A hand-made last line without a line end: the record starts a new one.
    const std::string bytes = tail == Tail::NeedsLineEnd ? "\n" + line : line;

    std::size_t written = 0;
    status = fs.write(h, bytes, written);
    if (!status.ok() || written != bytes.size()) {
        const std::string reason = !status.ok()  ? status.reason
                                   : written > 0 ? "途中までしか書き込めませんでした"
                                                 : "書き込めませんでした";
        undoAndFail(reason, written);
    }

    status = fs.sync(h);
    if (!status.ok())
        undoAndFail(status.reason, written);
    // The name of a new file must survive a power cut as well as its bytes.
    if (created) {
        status = fs.syncFolder(path);
        if (!status.ok())
            undoAndFail(status.reason, written);
    }

    status = fs.close(h);
    if (!status.ok())
        saveFailed(path, status.reason, kMaybeSavedNote);
}

} // namespace vorn
