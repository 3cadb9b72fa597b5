#pragma once

// The commands that bring measurements into a log from the command line:
// an import of another program's file, and one measurement added by a
// script.

#include "import/ImportedReading.h"
#include "log/LogFileSystem.h"
#include "platform/Clock.h"

#include <functional>
#include <string>
#include <vector>

namespace vorn {

struct DataInResult {
    int exitCode = 0; // 0 done, 1 a file could not be read or written, 2 bad usage
    std::string out;
    std::string err;
};

// Reads the file to import (ReadImportFile, or a test's own).
using ImportReader = std::function<ImportedFile(const std::string& path)>;

// vorn --import FILE --into LOG [--height CM] [--dry-run]
DataInResult RunImport(const std::vector<std::string>& args, LogFileSystem& fs, Clock& clock,
                       const ImportReader& read);
// vorn --add LOG --height CM --weight KG [--fat PCT] [--at YYYY-MM-DDTHH]
DataInResult RunAdd(const std::vector<std::string>& args, LogFileSystem& fs, Clock& clock);

} // namespace vorn
