// The log's file operations on a POSIX system: open(2), write(2), fsync(2)
// and friends, with errno turned into a reason for the user.

#include "log/PosixFileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

IoStatus failed(bool writing) {
    return {ErrnoReason(errno, writing)};
}

// Opens without blocking, so that a FIFO without a partner fails or reads as
// empty instead of hanging, then turns blocking mode back on for the I/O.
IoStatus openFile(const std::string& path, int flags, bool writing, int& handle) {
    int fd;
    do
        fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failed(writing);
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) < 0) {
        const IoStatus status = failed(writing);
        ::close(fd);
        return status;
    }
    handle = fd;
    return {};
}

} // namespace

IoStatus PosixFileSystem::openAppend(const std::string& path, Handle& handle) {
    return openFile(path, O_WRONLY | O_APPEND | O_CREAT, true, handle);
}

IoStatus PosixFileSystem::openRead(const std::string& path, Handle& handle) {
    return openFile(path, O_RDONLY, false, handle);
}

IoStatus PosixFileSystem::size(Handle handle, std::uint64_t& bytes) {
    struct stat st {};
    if (::fstat(handle, &st) != 0)
        return failed(true);
    bytes = static_cast<std::uint64_t>(st.st_size);
    return {};
}

IoStatus PosixFileSystem::write(Handle handle, std::string_view bytes, std::size_t& written) {
    written = 0;
    ssize_t n;
    do // an interrupted write that wrote nothing may simply be repeated
        n = ::write(handle, bytes.data(), bytes.size());
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return failed(true);
    written = static_cast<std::size_t>(n);
    return {};
}

IoStatus PosixFileSystem::truncate(Handle handle, std::uint64_t bytes) {
    int rc;
    do
        rc = ::ftruncate(handle, static_cast<off_t>(bytes));
    while (rc != 0 && errno == EINTR);
    return rc == 0 ? IoStatus{} : failed(true);
}

IoStatus PosixFileSystem::sync(Handle handle) {
    int rc;
    do
        rc = ::fsync(handle);
    while (rc != 0 && errno == EINTR);
    return rc == 0 ? IoStatus{} : failed(true);
}

IoStatus PosixFileSystem::read(Handle handle, char* buffer, std::size_t capacity,
                               std::size_t& got) {
    got = 0;
    ssize_t n;
    do
        n = ::read(handle, buffer, capacity);
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return failed(false);
    got = static_cast<std::size_t>(n);
    return {};
}

IoStatus PosixFileSystem::close(Handle handle) {
    // Linux releases the descriptor even when close fails: never repeat it.
    return ::close(handle) == 0 ? IoStatus{} : failed(true);
}

} // namespace vorn
