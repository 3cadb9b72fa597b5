#pragma once

// Rewriting a log file whole, all or nothing: the one way records are taken
// out of a log, put in at their place in time, or both at once.

#include "log/LogFileSystem.h"

#include <functional>
#include <string>

namespace vorn {

// Works out a log's new bytes from its bytes as they are now. Returns an
// empty string when done, else the reason for the user why the log must stay
// as it is.
using LogEdit = std::function<std::string(const std::string& old, std::string& updated)>;

// Rewrites the log at `path` with what `edit` makes of its bytes. It holds
// the lock that every append takes throughout, reads the log, keeps a copy of
// it as `path` + "~" (replacing an older copy), then writes the new bytes to
// a new file beside it, syncs it and renames it over the log, and syncs the
// folder. The file keeps its permission bits, and a symbolic link stays one
// (the file it leads to is rewritten).
// When `edit` refuses, the log has changed since it was read, or any step
// fails, it raises LogError: "ファイル「path」" + `failure` + "。\n理由: " and
// the reason; the log keeps its bytes and no temporary file is left behind.
// (Only when the folder will not sync after the rename and the old bytes
// cannot be put back either does the log stay rewritten; the message then
// points to the copy.)
// Reads the whole log at `path` into `bytes`, without the lock: for a look
// before a rewrite, which reads it again under the lock.
IoStatus ReadLogBytes(LogFileSystem& fs, const std::string& path, std::string& bytes);

void RewriteLog(LogFileSystem& fs, const std::string& path, const LogEdit& edit,
                const std::string& failure);

} // namespace vorn
