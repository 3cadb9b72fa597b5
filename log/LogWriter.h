#pragma once

// Appending one line to a log file.

#include "log/LogFileSystem.h"

#include <string>

namespace vorn {

// Appends `line` to the regular file at `path` (created when missing) with a
// single write, forces it to disk and closes the file; earlier bytes are
// never touched. It holds the file's exclusive lock throughout, so that two
// appends of this program never mix. Before writing it looks at the end of
// the file: a NUL byte there, or a last line that stops inside a record (its
// fields are not a whole number of ten), refuses the save; a last line of
// whole records without a line end gets one first. When any step fails it
// raises LogError naming the file and the reason; a line that was only
// partly written, or whose sync failed, is cut off again, and a file this
// call created is removed again while empty, so that a failed save adds
// nothing. A new file's folder is synced too.
void AppendRecord(LogFileSystem& fs, const std::string& path, const std::string& line);

} // namespace vorn
