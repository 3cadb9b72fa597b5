#pragma once

// Appending one line to a log file.

#include "log/LogFileSystem.h"

#include <string>

namespace vorn {

// Appends `line` to the file at `path` (created when missing) with a single
// write, forces it to disk and closes the file. Earlier bytes are never
// touched. When any step fails it raises LogError naming the file and the
// reason; a line that was only partly written, or whose sync failed, is cut
// off again, so that a failed save adds nothing to the file.
void AppendRecord(LogFileSystem& fs, const std::string& path, const std::string& line);

} // namespace vorn
