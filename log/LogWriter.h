#pragma once

// Appending one line to a log file.

#include "log/LogFileSystem.h"

#include <string>

namespace vorn {

// Appends `line` to the regular file at `path` (created when missing) with a
// single write, forces it to disk and closes the file; earlier bytes are
// never touched. It holds the file's exclusive lock throughout, so that two
// appends of this program never mix. Before writing it reads the whole file
// as the history does (RecordScanner): unless that reading ends between two
// records, the new one would not be read back as itself, and the save is
// refused, naming the line where that reading stops; whole records on a last
// line without a line end get one first.
// When any step fails it raises LogError naming the file and the reason; a
// line that was written, in part or whole, but whose sync or close failed,
// is cut off again, and a file this call created is removed again while
// empty, so that a failed save adds nothing. A new file's folder is synced
// too.
void AppendRecord(LogFileSystem& fs, const std::string& path, const std::string& line);

} // namespace vorn
