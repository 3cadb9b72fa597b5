// The POSIX file calls of the log and the settings file, errno turned into
// a reason for the user and kept beside it.

#include "platform/PosixFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vorn::posix {
namespace {

// The refusal of a file of this kind; ok for a regular file.
IoStatus kindProblem(const struct stat& st, bool writing) {
    if (S_ISREG(st.st_mode))
        return {};
    return S_ISDIR(st.st_mode) ? Failure(EISDIR, writing) : IoStatus{kNotARegularFile};
}

} // namespace

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

IoStatus OpenRegular(const std::string& path, int flags, mode_t mode, bool writing, int& fd) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (IoStatus kind = kindProblem(st, writing); !kind.ok())
            return kind;
    }
    int opened;
    do
        opened = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    while (opened < 0 && errno == EINTR);
    if (opened < 0)
        return Failure(errno, writing);
    IoStatus status;
    if (::fstat(opened, &st) != 0) {
        status = Failure(errno, writing);
    } else if (status = kindProblem(st, writing); status.ok()) {
        const int fl = ::fcntl(opened, F_GETFL);
        if (fl < 0 || ::fcntl(opened, F_SETFL, fl & ~O_NONBLOCK) < 0)
            status = Failure(errno, writing);
    }
    if (!status.ok()) {
        ::close(opened);
        return status;
    }
    fd = opened;
    return {};
}

SteadyPatience::SteadyPatience(std::chrono::milliseconds limit, std::chrono::milliseconds poll)
    : until_(std::chrono::steady_clock::now() + limit), poll_(poll) {}

bool SteadyPatience::waitMore() {
    if (std::chrono::steady_clock::now() >= until_)
        return false;
    std::this_thread::sleep_for(poll_);
    return true;
}

IoStatus Lock(int fd, LockPatience& patience) {
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return {};
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return Failure(errno, true);
        if (!patience.waitMore())
            return {kLockedByOther, EWOULDBLOCK};
    }
}

IoStatus Unlock(int fd) {
    return ::flock(fd, LOCK_UN) == 0 ? IoStatus{} : Failure(errno, true);
}

IoStatus SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Failure(errno, true);
    IoStatus status = Sync(fd);
    if (status.err == EINVAL || status.err == EOPNOTSUPP)
        status = {};
    ::close(fd);
    return status;
}

IoStatus WriteOnce(int fd, const char* data, std::size_t size, std::size_t& written) {
    written = 0;
    ssize_t n;
    do
        n = ::write(fd, data, size);
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return Failure(errno, true);
    written = static_cast<std::size_t>(n);
    return {};
}

IoStatus Sync(int fd) {
    int rc;
    do
        rc = ::fsync(fd);
    while (rc != 0 && errno == EINTR);
    return rc == 0 ? IoStatus{} : Failure(errno, true);
}

std::string TempPrefix(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    return "." + (slash == std::string::npos ? file : file.substr(slash + 1)) + ".";
}

namespace {

IoStatus WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t n = 0;
        const IoStatus status = WriteOnce(fd, bytes.data(), bytes.size(), n);
        if (!status.ok())
            return status;
        if (n == 0)
            return Failure(EIO, true);
        bytes.remove_prefix(n);
    }
    return {};
}

// Writes `bytes` to a new temporary file in the folder of `file` and syncs
// it; `temp` gets its name. The temporary file is gone again on failure.
IoStatus WriteTemp(const std::string& file, std::string_view bytes, mode_t mode,
                   std::string& temp) {
    temp = FolderOf(file) + "/" + TempPrefix(file) + "XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return Failure(errno, true);
    IoStatus status = ::fchmod(fd, mode) == 0 ? IoStatus{} : Failure(errno, true);
    if (status.ok())
        status = WriteAll(fd, bytes);
    if (status.ok())
        status = Sync(fd);
    // Linux releases the descriptor even when close fails: never repeat it.
    if (::close(fd) != 0 && status.ok())
        status = Failure(errno, true);
    if (!status.ok())
        ::unlink(temp.c_str());
    return status;
}

} // namespace

IoStatus ReplaceFile(const std::string& file, std::string_view bytes, mode_t mode) {
    std::string temp;
    IoStatus status = WriteTemp(file, bytes, mode, temp);
    if (!status.ok())
        return status;
    if (::rename(temp.c_str(), file.c_str()) != 0) {
        status = Failure(errno, true);
        ::unlink(temp.c_str());
        return status;
    }
    return SyncFolder(FolderOf(file));
}

} // namespace vorn::posix
