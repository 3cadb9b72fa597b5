#pragma once

// The error raised when a log file cannot be written or read.

#include "core/Errors.h"

#include <string>

namespace vorn {

// Carries a message for the user that names the file and the reason, e.g.
// "ファイル「/x/y.txt」に保存できませんでした。\n理由: ディスクがいっぱいです".
class LogError : public UserError {
public:
    explicit LogError(const std::string& message) : UserError(message) {}
};

} // namespace vorn
