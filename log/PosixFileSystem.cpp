// The log's file operations on a POSIX system: open(2), write(2), fsync(2)
// and friends, with errno turned into a reason for the user.

#include "log/PosixFileSystem.h"

#include "platform/PosixFile.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

// How long an append waits for another one to finish with the file.
constexpr auto kLockPatience = std::chrono::seconds(5);

IoStatus failed(bool writing) {
    return Failure(errno, writing);
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
    IoStatus status = posix::OpenRegular(path, kFlags | O_CREAT | O_EXCL, 0644, true, handle);
    if (status.ok()) {
        created = true;
        return status;
    }
    if (status.err != EEXIST)
        return status;
    status = posix::OpenRegular(path, kFlags, 0, true, handle);
    if (status.err != ENOENT)
        return status;
    return posix::OpenRegular(path, kFlags | O_CREAT, 0644, true, handle);
}

IoStatus PosixFileSystem::openRead(const std::string& path, Handle& handle) {
    return posix::OpenRegular(path, O_RDONLY, 0, false, handle);
}

IoStatus PosixFileSystem::lock(Handle handle) {
    posix::SteadyPatience patience(kLockPatience);
    return posix::Lock(handle, patience);
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
    return posix::WriteOnce(handle, bytes.data(), bytes.size(), written);
}

IoStatus PosixFileSystem::truncate(Handle handle, std::uint64_t bytes) {
    int rc;
    do
        rc = ::ftruncate(handle, static_cast<off_t>(bytes));
    while (rc != 0 && errno == EINTR);
    return rc == 0 ? IoStatus{} : failed(true);
}

IoStatus PosixFileSystem::sync(Handle handle) {
    return posix::Sync(handle);
}

IoStatus PosixFileSystem::syncFolder(const std::string& path) {
    return posix::SyncFolder(posix::FolderOf(path));
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

IoStatus PosixFileSystem::unlock(Handle handle) {
    return posix::Unlock(handle);
}

IoStatus PosixFileSystem::duplicate(Handle handle, Handle& copy) {
    const int fd = ::fcntl(handle, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return failed(true);
    copy = fd;
    return {};
}

IoStatus PosixFileSystem::close(Handle handle) {
    // Linux releases the descriptor even when close fails: never repeat it.
    return ::close(handle) == 0 ? IoStatus{} : failed(true);
}

IoStatus PosixFileSystem::resolve(const std::string& path, std::string& real) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                               &std::free);
    if (!resolved)
        return failed(true);
    real = resolved.get();
    return {};
}

IoStatus PosixFileSystem::permissions(Handle handle, unsigned& mode) {
    struct stat st {};
    if (::fstat(handle, &st) != 0)
        return failed(true);
    mode = st.st_mode & 07777;
    return {};
}

IoStatus PosixFileSystem::createBeside(const std::string& path, unsigned mode, Handle& handle,
                                       std::string& temp) {
    // Hidden, and marked as the program's own by its last six letters.
    const std::size_t slash = path.rfind('/');
    temp = posix::FolderOf(path) + "/." +
           (slash == std::string::npos ? path : path.substr(slash + 1)) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return failed(true);
    // The umask must not narrow a copy of the log's mode.
    if (::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
        const IoStatus status = failed(true);
        ::close(fd);
        ::unlink(temp.c_str());
        return status;
    }
    handle = fd;
    return {};
}

IoStatus PosixFileSystem::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? IoStatus{} : failed(true);
}

IoStatus PosixFileSystem::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? IoStatus{} : failed(true);
}

} // namespace vorn
