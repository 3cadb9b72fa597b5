// Exports replace their file whole, as the settings file is replaced.

#include "platform/ExportFile.h"

#include "platform/PosixFile.h"

#include <cerrno>
#include <sys/stat.h>

namespace vorn {

IoStatus WriteExport(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.back() == '/')
        return Failure(EISDIR, true);
    mode_t mode = 0;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Failure(EISDIR, true);
        if (!S_ISREG(st.st_mode))
            return {kNotARegularFile};
        mode = st.st_mode & 07777;
    } else {
        // The umask can only be read by setting it; nothing else runs meanwhile.
        const mode_t mask = ::umask(022);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return posix::ReplaceFile(path, bytes, mode);
}

std::string ExportFailure(const std::string& path, const IoStatus& why) {
    return "ファイル「" + path + "」に書き出せませんでした。\n理由: " + why.reason;
}

} // namespace vorn
