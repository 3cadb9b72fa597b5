#pragma once

// An import carried out: the log read, the import planned, and the log
// rewritten with the new records at their places.

#include "import/MergePlan.h"
#include "log/LogFileSystem.h"

#include <optional>
#include <string>

namespace vorn {

// Plans the import of `file` into the log at `path` as it is now, writing
// nothing: for a look before the import, or a dry run. A missing log is an
// empty one. Raises LogError naming the log when it cannot be read or is
// damaged.
void PlanImportInto(LogFileSystem& fs, const std::string& path, const ImportedFile& file,
                    const std::optional<std::string>& height, const LocalTime& now,
                    ImportPlan& plan);

// Plans again on the log as read under the lock, and rewrites it with the
// records added (RewriteLog: the old log kept as `path` + "~"); a missing
// log is made with them (AppendRecord). Nothing is written when nothing is
// to be added. `plan` gets what was done. Raises LogError naming the log
// and the reason when it cannot be done; the log then keeps its bytes.
void ImportIntoLog(LogFileSystem& fs, const std::string& path, const ImportedFile& file,
                   const std::optional<std::string>& height, const LocalTime& now,
                   ImportPlan& plan);

} // namespace vorn
