// Reasons for failed file operations, in the user's language.

#include "log/LogFileSystem.h"

#include <cerrno>
#include <cstring>

namespace vorn {

std::string ErrnoReason(int err, bool writing) {
    switch (err) {
    case EISDIR:
        return "フォルダーです";
    case EACCES:
    case EPERM:
    case EROFS:
        return writing ? "書き込みが許可されていません" : "読み込みが許可されていません";
    case ENOSPC:
    case EDQUOT:
        return "ディスクがいっぱいです";
    case ENOENT:
        return "ファイルまたはフォルダーが見つかりません";
    default:
        return std::strerror(err);
    }
}

} // namespace vorn
