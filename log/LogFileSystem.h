#pragma once

// The file operations the log needs, behind one small interface, so that
// tests can make any single call fail.

#include "platform/ErrnoReason.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

class LogFileSystem {
public:
    using Handle = int;

    virtual ~LogFileSystem() = default;

    // Opens for appending and reading: every write goes to the end, the file
    // is created (mode 0644) when missing and never truncated; `created`
    // tells whether this call made it. Only a regular file is opened: a
    // folder, a FIFO, a device or a socket is refused at once.
    virtual IoStatus openAppend(const std::string& path, Handle& handle, bool& created) = 0;
    // Opens a regular file for reading from the start; refuses the rest as
    // openAppend does.
    virtual IoStatus openRead(const std::string& path, Handle& handle) = 0;
    // Waits, a bounded time, for the exclusive lock on the open file that
    // every append of this program takes; closing the handle releases it.
    virtual IoStatus lock(Handle handle) = 0;
    // Whether `path` still names the open file: false once it was removed
    // or replaced after the open.
    virtual IoStatus isAt(const std::string& path, Handle handle, bool& same) = 0;
    // The current size of the open file in bytes.
    virtual IoStatus size(Handle handle, std::uint64_t& bytes) = 0;
    // Reads up to `capacity` bytes from `offset`, wherever the file position
    // is; `got` is 0 at the end of the file.
    virtual IoStatus readAt(Handle handle, std::uint64_t offset, char* buffer, std::size_t capacity,
                            std::size_t& got) = 0;
    // One write of `bytes`; `written` gets how many went out, which may be
    // fewer than asked (a short write) even when the status is ok.
    virtual IoStatus write(Handle handle, std::string_view bytes, std::size_t& written) = 0;
    // Cuts the file back to `bytes` bytes.
    virtual IoStatus truncate(Handle handle, std::uint64_t bytes) = 0;
    // Forces what was written onto the disk.
    virtual IoStatus sync(Handle handle) = 0;
    // Forces the folder holding `path` onto the disk, so that a file created
    // there survives a power cut.
    virtual IoStatus syncFolder(const std::string& path) = 0;
    // Removes `path` when it still names the open file and that is empty.
    virtual IoStatus removeIfEmpty(const std::string& path, Handle handle) = 0;
    // Reads up to `capacity` bytes; `got` is 0 at the end of the file.
    virtual IoStatus read(Handle handle, char* buffer, std::size_t capacity, std::size_t& got) = 0;
    // Gives the lock up, for every handle of the open file: a close that
    // fails may not have released it.
    virtual IoStatus unlock(Handle handle) = 0;
    // Another handle to the same open file, sharing its lock: through it a
    // save can still undo its line when the close of the first one fails.
    virtual IoStatus duplicate(Handle handle, Handle& copy) = 0;
    // Releases the handle, also when the status is not ok.
    virtual IoStatus close(Handle handle) = 0;

    // For rewriting a log whole: a new file written beside it and renamed
    // over it.
    // The file `path` names, through any symbolic links, so that a rewrite
    // replaces that file rather than the link.
    virtual IoStatus resolve(const std::string& path, std::string& real) = 0;
    // The permission bits of the open file.
    virtual IoStatus permissions(Handle handle, unsigned& mode) = 0;
    // Makes a new, empty file with exactly `mode` in the folder of `path`,
    // named after it, and opens it for writing; `temp` gets its name.
    virtual IoStatus createBeside(const std::string& path, unsigned mode, Handle& handle,
                                  std::string& temp) = 0;
    // Gives the file `from` the name `to`, replacing what `to` named.
    virtual IoStatus rename(const std::string& from, const std::string& to) = 0;
    // Removes the name `path`.
    virtual IoStatus remove(const std::string& path) = 0;
};

} // namespace vorn
