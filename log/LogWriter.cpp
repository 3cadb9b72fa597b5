// Appending one line to a log file, all or nothing.

#include "log/LogWriter.h"

#include "core/Quantities.h"
#include "log/LogError.h"
#include "log/LogReader.h"
#include "log/RecordScanner.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vorn {
namespace {

const char* const kPartialLineNote = "\nファイルの末尾に書きかけの行が残っている可能性があります。";

[[noreturn]] void saveFailed(const std::string& path, const std::string& reason,
                             const char* note = "") {
    throw LogError("ファイル「" + path + "」に保存できませんでした。\n理由: " + reason + note);
}

const char* const kNothingWrittenNote =
    "\nファイルには何も書き込んでいません。別のファイルに保存するか、"
    "その行を確かめてから保存し直してください。";

// Why the history would not read the new record from the file: it would be
// glued to a record cut short, or never reached past a field that is no
// number. The place is the line where that reading stops.
std::string UnreadableReason(const LoadResult& r) {
    return StopPlace(r) + (r.stop == LoadResult::Stop::NotANumber
                               ? "に数値でない内容があり、記録ファイルとして読めません"
                               : "が途中で終わっていて、記録ファイルとして読めません");
}

// Tries at opening a name that is removed or replaced meanwhile.
constexpr int kOpenTries = 3;

// What the file needs before a new record.
enum class Tail {
    Fine,         // empty, or the last line ends, or holds no field
    NeedsLineEnd, // whole records, the last line without a line end
    Damaged,
};

// Reads the first `size` bytes of the file as the history does. The new
// record is found whole, as the last one, exactly when that reading reaches
// the end between two records.
IoStatus judgeFile(LogFileSystem& fs, LogFileSystem::Handle h, std::uint64_t size, Tail& tail,
                   LoadResult& read) {
    RecordScanner scanner(false);
    std::vector<char> chunk(RecordScanner::kChunkSize);
    bool reading = true;
    for (std::uint64_t at = 0; reading && at < size;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - at));
        std::size_t got = 0;
        const IoStatus status = fs.readAt(h, at, chunk.data(), want, got);
        if (!status.ok())
            return status;
        if (got == 0)
            break; // cut back by now; what was read decides
        reading = scanner.feed(chunk.data(), got);
        at += got;
    }
    if (reading)
        scanner.finish();
    read = scanner.result();
    tail = read.stop != LoadResult::Stop::End ? Tail::Damaged
           : scanner.lastLineHasField()       ? Tail::NeedsLineEnd
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

// Opens the file at `path` and takes its lock, which is held from here
// until the close: no other append of this program writes, or cuts back,
// while this one looks at the end, writes, syncs or undoes. A name removed
// or replaced before the lock was taken (say, by another append that created
// the file and then failed) is opened again, so that the record never goes
// into a file no longer there.
LogFileSystem::Handle openLocked(LogFileSystem& fs, const std::string& path, bool& created) {
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

// The reason for a write that wrote fewer bytes than asked.
std::string shortWriteReason(const IoStatus& status, std::size_t written) {
    return !status.ok()  ? status.reason
           : written > 0 ? "途中までしか書き込めませんでした"
                         : "書き込めませんでした";
}

// A failed close may mean the line never reached the disk (a network file
// system reports late): it is undone through a second handle, which still
// holds the lock, and `h` becomes that handle before `undo` runs. Its close
// has nothing left to say; the lock goes first, in case the failed close
// kept the file open.
template <typename Undo>
void closeKeepingLine(LogFileSystem& fs, LogFileSystem::Handle& h, Undo&& undo) {
    LogFileSystem::Handle spare = -1;
    IoStatus status = fs.duplicate(h, spare);
    if (!status.ok())
        undo(status.reason);
    status = fs.close(h);
    h = spare;
    if (!status.ok())
        undo(status.reason);
    fs.unlock(h);
    fs.close(h);
}

} // namespace

void AppendRecord(LogFileSystem& fs, const std::string& path, const std::string& line) {
    bool created = false;
    LogFileSystem::Handle h = openLocked(fs, path, created);

    // From here on every path closes the handle; the first failure wins. A
    // file this save created goes again when it is still empty.
    std::uint64_t before = 0;
    auto closeAndFail = [&](const std::string& reason, const char* note) {
        if (created)
            fs.removeIfEmpty(path, h);
        fs.unlock(h);
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
        LoadResult read;
        status = judgeFile(fs, h, before, tail, read);
        if (!status.ok())
            closeAndFail(status.reason, "");
        if (tail == Tail::Damaged)
            closeAndFail(UnreadableReason(read), kNothingWrittenNote);
    }
    // A hand-made last line without a line end: the record starts a new one.
    const std::string bytes = tail == Tail::NeedsLineEnd ? "\n" + line : line;

    std::size_t written = 0;
    status = fs.write(h, bytes, written);
    if (!status.ok() || written != bytes.size())
        undoAndFail(shortWriteReason(status, written), written);

    status = fs.sync(h);
    if (!status.ok())
        undoAndFail(status.reason, written);
    // The name of a new file must survive a power cut as well as its bytes.
    if (status = created ? fs.syncFolder(path) : IoStatus{}; !status.ok())
        undoAndFail(status.reason, written);

    closeKeepingLine(fs, h, [&](const std::string& reason) { undoAndFail(reason, written); });
}

} // namespace vorn
