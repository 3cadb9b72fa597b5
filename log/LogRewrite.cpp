// Rewriting a log file: a copy kept, the new bytes written beside it and
// renamed over it, under the append lock.

#include "log/LogRewrite.h"

#include "log/LogError.h"
#include "log/RecordCut.h"

#include <cstdint>

namespace vorn {
namespace {

// Tries at opening a name that is removed or replaced meanwhile.
constexpr int kOpenTries = 3;

const char* const kUnchangedNote = "\n記録ファイルは元のままです。";

// Opens the log and takes the lock of the appends; a name removed or
// replaced before the lock was taken is opened again.
IoStatus openLocked(LogFileSystem& fs, const std::string& path, LogFileSystem::Handle& h) {
    for (int tries = 1;; ++tries) {
        IoStatus status = fs.openRead(path, h);
        if (!status.ok())
            return status;
        status = fs.lock(h);
        bool same = false;
        if (status.ok())
            status = fs.isAt(path, h, same);
        if (status.ok() && same)
            return status;
        fs.close(h);
        if (!status.ok())
            return status;
        if (tries == kOpenTries)
            return {"ほかのプログラムがファイルを消したり置き換えたりしています"};
    }
}

IoStatus readAll(LogFileSystem& fs, LogFileSystem::Handle h, std::string& bytes) {
    std::uint64_t size = 0;
    IoStatus status = fs.size(h, size);
    if (!status.ok())
        return status;
    bytes.clear();
    bytes.reserve(size);
    char chunk[64 * 1024];
    for (;;) {
        std::size_t got = 0;
        status = fs.readAt(h, bytes.size(), chunk, sizeof chunk, got);
        if (!status.ok() || got == 0)
            return status;
        bytes.append(chunk, got);
    }
}

IoStatus writeAll(LogFileSystem& fs, LogFileSystem::Handle h, std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t written = 0;
        const IoStatus status = fs.write(h, bytes, written);
        if (!status.ok())
            return status;
        if (written == 0)
            return {"書き込めませんでした"};
        bytes.remove_prefix(written);
    }
    return {};
}

// Writes `bytes` with `mode` to a new file beside `path` and syncs it;
// `temp` gets its name. The file is gone again on failure.
IoStatus writeBeside(LogFileSystem& fs, const std::string& path, std::string_view bytes,
                     unsigned mode, std::string& temp) {
    LogFileSystem::Handle h = -1;
    IoStatus status = fs.createBeside(path, mode, h, temp);
    if (!status.ok())
        return status;
    status = writeAll(fs, h, bytes);
    if (status.ok())
        status = fs.sync(h);
    const IoStatus closed = fs.close(h);
    if (status.ok())
        status = closed;
    if (!status.ok())
        fs.remove(temp);
    return status;
}

// Replaces the file `path` by one holding `bytes`; the folder is not synced.
IoStatus replace(LogFileSystem& fs, const std::string& path, std::string_view bytes,
                 unsigned mode) {
    std::string temp;
    IoStatus status = writeBeside(fs, path, bytes, mode, temp);
    if (!status.ok())
        return status;
    status = fs.rename(temp, path);
    if (!status.ok())
        fs.remove(temp);
    return status;
}

// Marks the status of a folder sync after which the old bytes could not be
// put back either.
constexpr int kOldBytesLost = -1;

// Writes `updated` beside the log that the locked handle `h` holds and
// renames it over it, unless a program that writes without the lock has
// changed the log since `old` was read: that change must not be lost. The
// rewritten log must survive a power cut; should the folder not sync, the
// old bytes go back rather than leave the log's state unknown.
IoStatus install(LogFileSystem& fs, const std::string& file, LogFileSystem::Handle h,
                 const std::string& old, const std::string& updated, unsigned mode) {
    std::string temp;
    IoStatus status = writeBeside(fs, file, updated, mode, temp);
    if (!status.ok())
        return status;
    bool same = false;
    std::uint64_t size = 0;
    status = fs.isAt(file, h, same);
    if (status.ok())
        status = fs.size(h, size);
    if (status.ok() && (!same || size != old.size()))
        status = {kChangedSince};
    if (status.ok())
        status = fs.rename(temp, file);
    if (!status.ok()) {
        fs.remove(temp);
        return status;
    }
    if (status = fs.syncFolder(file); !status.ok() && !replace(fs, file, old, mode).ok())
        status.err = kOldBytesLost;
    return status;
}

} // namespace

IoStatus ReadLogBytes(LogFileSystem& fs, const std::string& path, std::string& bytes) {
    LogFileSystem::Handle h = -1;
    IoStatus status = fs.openRead(path, h);
    if (!status.ok())
        return status;
    status = readAll(fs, h, bytes);
    const IoStatus closed = fs.close(h);
    return status.ok() ? closed : status;
}

void RewriteLog(LogFileSystem& fs, const std::string& path, const LogEdit& edit,
                const std::string& failure) {
    auto rewriteFailed = [&](const std::string& reason, const char* note = "") {
        throw LogError("ファイル「" + path + "」" + failure + "。\n理由: " + reason + note);
    };
    std::string file; // the log itself, when `path` is a symbolic link
    IoStatus status = fs.resolve(path, file);
    LogFileSystem::Handle h = -1;
    if (status.ok())
        status = openLocked(fs, file, h);
    if (!status.ok())
        rewriteFailed(status.reason);

    // From here on every path gives the lock up and closes the handle.
    auto fail = [&](const std::string& reason, const char* note = "") {
        fs.unlock(h);
        fs.close(h);
        rewriteFailed(reason, note);
    };
    std::string old;
    if (status = readAll(fs, h, old); !status.ok())
        fail(status.reason);
    std::string updated;
    std::string refusal;
    try {
        refusal = edit(old, updated);
    } catch (...) {
        fs.unlock(h);
        fs.close(h);
        throw;
    }
    if (!refusal.empty())
        fail(refusal, kUnchangedNote);
    unsigned mode = 0;
    if (status = fs.permissions(h, mode); !status.ok())
        fail(status.reason);

    const std::string copy = path + "~";
    if (status = replace(fs, copy, old, mode); !status.ok())
        fail("控え「" + copy + "」を書き込めませんでした（" + status.reason + "）");

    if (status = install(fs, file, h, old, updated, mode); !status.ok()) {
        // Should the folder not sync after the rename, the old bytes went
        // back: unless they could not, the log is as it was.
        const bool lost = status.err == kOldBytesLost;
        fail(status.reason, lost ? "\n書き換える前のファイルは、控えに残っています。" : "");
    }
    fs.unlock(h);
    fs.close(h);
}

} // namespace vorn
