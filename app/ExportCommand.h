#pragma once

// The exports of the command line: the log's table on standard output and
// its chart into a file, with no window on screen.

#include "app/CommandLine.h"

namespace vorn {

// Each returns the exit status: 0 done, 1 when a file could not be read or
// written, or the log stops early (the export then holds what came before
// the stop); the reason goes to standard error.
int RunCsvExport(const CommandLineAnswer& answer);
// The statistics per period of one quantity, as CSV on standard output.
int RunStatsExport(const CommandLineAnswer& answer);
// Draws with no window, on the application the caller has made.
int RunGraphExport(const CommandLineAnswer& answer);
// With no display named anywhere, the application to come draws on the
// offscreen platform.
void UseOffscreenWithoutDisplay();

} // namespace vorn
