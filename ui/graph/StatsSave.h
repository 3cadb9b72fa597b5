#pragma once

#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "ui/graph/StatsTable.h"

namespace vorn {

// The statistics window's save command: the table as CSV into the file the
// export dialog names, whole or not at all; a failure is shown with its
// reason and leaves the old file.
void SaveStatsCsv(const StatsTable& table, FileChooser& files, Prompter& prompter);

} // namespace vorn
