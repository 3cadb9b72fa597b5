// The log's file operations on a POSIX system: open(2), write(2), fsync(2)
// and friends, with errno turned into a reason for the user.

#include "log/PosixFileSystem.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vorn {
namespace {

// How long an append waits for another one to finish with the file.
constexpr auto kLockPatience = std::chrono::seconds(5);
constexpr auto kLockPoll = std::chrono::milliseconds(10);

IoStatus failed(bool writing) {
    return {ErrnoReason(errno, writing)};
}

// The reason a file of this kind is not opened, or empty for a regular file.
std::string kindProblem(const struct stat& st) {
    if (S_ISREG(st.st_mode))
        return "";
    return S_ISDIR(st.st_mode) ? ErrnoReason(EISDIR, false) : kNotARegularFile;
}

// Opens without blocking, so that a FIFO or a device never holds the open
// up, and keeps the file only when it is a regular one; then turns blocking
// mode back on for the I/O. A name that is plainly not a regular file is
// refused before it is opened at all: opening a device may do something.
// Returns the errno of a failed call (its reason in `status`), else 0.
int openFile(const std::string& path, int flags, bool writing, int& handle, IoStatus& status) {
    status = {};
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        status.reason = kindProblem(st);
        if (!status.ok())
            return 0;
    }
    int fd;
    do
        fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int err = errno;
        status = failed(writing);
        return err;
    }
    int err = 0;
    if (::fstat(fd, &st) != 0) {
        err = errno;
        status = failed(writing);
    } else if (status.reason = kindProblem(st); !status.ok()) {
        // It changed since the look before the open.
    } else {
        const int fl = ::fcntl(fd, F_GETFL);
        if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) < 0) {
            err = errno;
            status = failed(writing);
        }
    }
    if (!status.ok()) {
        ::close(fd);
        return err;
    }
    handle = fd;
    return 0;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

IoStatus PosixFileSystem::openAppend(const std::string& path, Handle& handle, bool& created) {
    constexpr int kFlags = O_RDWR | O_APPEND;
    // Create it only when it is not there, so that `created` is certain; an
    // existing file is opened as it is. Should it vanish in between, the
    // last try creates it without claiming so: nothing then removes it.
    created = false;
    IoStatus status;
    int err = openFile(path, kFlags | O_CREAT | O_EXCL, true, handle, status);
    if (status.ok()) {
        created = true;
        return status;
    }
    if (err != EEXIST)
        return status;
    err = openFile(path, kFlags, true, handle, status);
    if (err != ENOENT)
        return status;
    openFile(path, kFlags | O_CREAT, true, handle, status);
    return status;
}

IoStatus PosixFileSystem::openRead(const std::string& path, Handle& handle) {
    IoStatus status;
    openFile(path, O_RDONLY, false, handle, status);
    return status;
}

IoStatus PosixFileSystem::lock(Handle handle) {
    const auto until = std::chrono::steady_clock::now() + kLockPatience;
    for (;;) {
        if (::flock(handle, LOCK_EX | LOCK_NB) == 0)
            return {};
        if (errno != EWOULDBLOCK && errno != EINTR)
            return failed(true);
        if (std::chrono::steady_clock::now() >= until)
            return {kLockedByOther};
        std::this_thread::sleep_for(kLockPoll);
    }
}

IoStatus PosixFileSystem::isAt(const std::string& path, Handle handle, bool& same) {
    struct stat open {};
    if (::fstat(handle, &open) != 0)
        return failed(true);
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        if (errno != ENOENT)
            return failed(true);
        same = false;
        return {};
    }
    same = open.st_nlink > 0 && sameFile(open, named);
    return {};
}

IoStatus PosixFileSystem::size(Handle handle, std::uint64_t& bytes) {
    struct stat st {};
    if (::fstat(handle, &st) != 0)
        return failed(true);
    bytes = static_cast<std::uint64_t>(st.st_size);
    return {};
}

IoStatus PosixFileSystem::readAt(Handle handle, std::uint64_t offset, char* buffer,
                                 std::size_t capacity, std::size_t& got) {
    got = 0;
    ssize_t n;
    do
        n = ::pread(handle, buffer, capacity, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return failed(false);
    got = static_cast<std::size_t>(n);
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

IoStatus PosixFileSystem::syncFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return failed(true);
    int rc;
    do
        rc = ::fsync(fd);
    while (rc != 0 && errno == EINTR);
    // Some file systems cannot sync a folder at all; they keep names anyway.
    const bool ok = rc == 0 || errno == EINVAL || errno == ENOTSUP;
    const IoStatus status = ok ? IoStatus{} : failed(true);
    ::close(fd);
    return status;
}

IoStatus PosixFileSystem::removeIfEmpty(const std::string& path, Handle handle) {
    struct stat open {};
    struct stat named {};
    if (::fstat(handle, &open) != 0 || ::stat(path.c_str(), &named) != 0)
        return failed(true);
    if (!sameFile(open, named) || open.st_size != 0)
        return {};
    return ::unlink(path.c_str()) == 0 ? IoStatus{} : failed(true);
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
