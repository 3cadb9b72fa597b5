#pragma once

// The file operations the log needs, behind one small interface, so that
// tests can make any single call fail.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

// Outcome of one file operation: empty reason when it worked, else a short
// Japanese reason for the user ("ディスクがいっぱいです", ...).
struct IoStatus {
    std::string reason;
    bool ok() const { return reason.empty(); }
};

class LogFileSystem {
public:
    using Handle = int;

    virtual ~LogFileSystem() = default;

    // Opens for appending: every write goes to the end, the file is created
    // (mode 0644) when missing and never truncated.
    virtual IoStatus openAppend(const std::string& path, Handle& handle) = 0;
    // Opens for reading from the start.
    virtual IoStatus openRead(const std::string& path, Handle& handle) = 0;
    // The current size of the open file in bytes.
    virtual IoStatus size(Handle handle, std::uint64_t& bytes) = 0;
    // One write of `bytes`; `written` gets how many went out, which may be
    // fewer than asked (a short write) even when the status is ok.
    virtual IoStatus write(Handle handle, std::string_view bytes, std::size_t& written) = 0;
    // Cuts the file back to `bytes` bytes.
    virtual IoStatus truncate(Handle handle, std::uint64_t bytes) = 0;
    // Forces what was written onto the disk.
    virtual IoStatus sync(Handle handle) = 0;
    // Reads up to `capacity` bytes; `got` is 0 at the end of the file.
    virtual IoStatus read(Handle handle, char* buffer, std::size_t capacity, std::size_t& got) = 0;
    // Releases the handle, also when the status is not ok.
    virtual IoStatus close(Handle handle) = 0;
};

// The user's reason for an errno value. `writing` picks the wording of a
// permission error.
std::string ErrnoReason(int err, bool writing);

} // namespace vorn
