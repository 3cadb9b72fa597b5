#pragma once

// Removing records from a log file, all or nothing.

#include "log/LogFileSystem.h"
#include "log/RecordCut.h"

#include <string>
#include <vector>

namespace vorn {

// Removes the lines of the given records (see CutRecords) from the log at
// `path`. It holds the lock that every append takes throughout, reads the
// log, keeps a copy of it as `path` + "~" (replacing an older copy), then
// writes the log without those lines to a new file beside it, syncs it and
// renames it over the log, and syncs the folder. Every other byte stays as
// it was; the file keeps its permission bits, and a symbolic link stays one
// (the file it leads to is rewritten). No records: nothing is done.
// When the log is damaged, has changed since the records were read, or
// shares a line between a record to remove and another, or when any step
// fails, it raises LogError naming the file and the reason, the log keeps
// its bytes and no temporary file is left behind. (Only when the folder
// will not sync after the rename and the old bytes cannot be put back
// either does the log stay rewritten; the message then points to the copy.)
void RemoveRecords(LogFileSystem& fs, const std::string& path,
                   const std::vector<KnownRecord>& records);

} // namespace vorn
