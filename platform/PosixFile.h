#pragma once

// The file calls shared by the log and the settings file, on POSIX: opening
// a regular file without ever blocking, an exclusive lock waited for a
// bounded time, syncing a folder. Failures keep their errno.

#include "platform/ErrnoReason.h"

#include <chrono>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace vorn::posix {

// The folder holding `path`: "." for a bare name, "/" at the root.
std::string FolderOf(const std::string& path);

// Opens `path` with `flags` (O_CREAT makes it with `mode`) when it is a
// regular file; a folder, a FIFO, a device or a socket is refused, looked at
// before the open (opening a device may do something) and after it (the name
// may have changed meanwhile). The open itself never blocks; the descriptor
// blocks again afterwards. `writing` picks the wording of a refusal.
IoStatus OpenRegular(const std::string& path, int flags, mode_t mode, bool writing, int& fd);

// How long a lock is waited for.
class LockPatience {
public:
    virtual ~LockPatience() = default;
    // Called after each try that found the lock taken: waits before the
    // next try, or says false once the time is up.
    virtual bool waitMore() = 0;
};

// Waits up to `limit` from its making, trying every `poll`.
class SteadyPatience : public LockPatience {
public:
    explicit SteadyPatience(std::chrono::milliseconds limit,
                            std::chrono::milliseconds poll = std::chrono::milliseconds(10));
    bool waitMore() override;

private:
    std::chrono::steady_clock::time_point until_;
    std::chrono::milliseconds poll_;
};

// Takes the exclusive flock on `fd`. Another holder that outlasts the
// patience gives kLockedByOther with err EWOULDBLOCK.
IoStatus Lock(int fd, LockPatience& patience);

// Gives the flock up for every descriptor of the open file.
IoStatus Unlock(int fd);

// Forces the folder's entries onto the disk, so that a name made or renamed
// there survives a power cut. A file system that cannot sync a folder
// (EINVAL, EOPNOTSUPP) keeps its names anyway: that counts as done.
IoStatus SyncFolder(const std::string& folder);

// The start of the names of the temporary files that ReplaceFile makes
// beside `file`: ".name." for "folder/name", six random characters follow.
std::string TempPrefix(const std::string& file);

// Replaces `file` by `bytes` with permission bits `mode`: a temporary file
// in its folder, written whole and synced, renamed over it, then the folder
// synced. On failure the temporary file is gone and `file` is as it was.
IoStatus ReplaceFile(const std::string& file, std::string_view bytes, mode_t mode);

// One write(2), repeated while interrupted before writing anything.
// `written` may be fewer than asked.
IoStatus WriteOnce(int fd, const char* data, std::size_t size, std::size_t& written);

// fsync(2), repeated while interrupted.
IoStatus Sync(int fd);

} // namespace vorn::posix
