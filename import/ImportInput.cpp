#include "import/ImportInput.h"

#include "platform/ErrnoReason.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

// Progress is told after every this many bytes.
constexpr std::uint64_t kProgressStep = 1 << 20;

} // namespace

ImportError ImportFailure(const std::string& path, const std::string& reason) {
    return ImportError("「" + path + "」を取り込めません（" + reason + "）。");
}

ImportInput::ImportInput(const std::string& path, const ImportProgress& progress)
    : path_(path), progress_(progress) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd_ < 0)
        fail(ErrnoReason(errno, false));
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        ::close(fd_);
        fd_ = -1;
        fail(ErrnoReason(err, false));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        fail(S_ISDIR(st.st_mode) ? "フォルダです" : kNotARegularFile);
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
}

ImportInput::~ImportInput() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t ImportInput::pieceSize(std::size_t most) const {
    const std::uint64_t wanted = std::max<std::uint64_t>(size_ + 1, 4096);
    return static_cast<std::size_t>(std::min<std::uint64_t>(wanted, most));
}

void ImportInput::fail(const std::string& reason) const {
    throw ImportFailure(path_, reason);
}

std::size_t ImportInput::read(char* buffer, std::size_t size) {
    ssize_t n;
    do
        n = ::read(fd_, buffer, size);
    while (n < 0 && errno == EINTR);
    if (n < 0)
        fail(ErrnoReason(errno, false));
    done_ += static_cast<std::uint64_t>(n);
    if (progress_ && (done_ - reported_ >= kProgressStep || (n == 0 && done_ != reported_))) {
        reported_ = done_;
        if (!progress_(done_, size_ < done_ ? done_ : size_))
            throw ImportError("取り込みを中止しました");
    }
    return static_cast<std::size_t>(n);
}

} // namespace vorn
