#pragma once

// Why a file operation failed, in words for the user.

#include <string>

namespace vorn {

// Outcome of one file operation: empty reason when it worked, else a short
// Japanese reason for the user ("ディスクがいっぱいです", ...), and the errno
// behind it when the system gave one.
struct IoStatus {
    std::string reason;
    int err = 0;
    bool ok() const { return reason.empty(); }
};

// The user's reason for an errno value, in Japanese for every value.
// `writing` picks the wording of a permission error.
std::string ErrnoReason(int err, bool writing);

// A failed call's status: errno's reason, errno kept.
inline IoStatus Failure(int err, bool writing) {
    return {ErrnoReason(err, writing), err};
}

// The reason for a name that is there but not a regular file (nor a folder).
inline const char* const kNotARegularFile =
    "デバイスや名前付きパイプなどで、普通のファイルではありません";
// The reason for a lock that another program holds too long.
inline const char* const kLockedByOther = "ほかのプログラムがこのファイルに書き込み中です。"
                                          "しばらくしてからもう一度試してください";

} // namespace vorn
