#pragma once

// Reading a file that another weight program wrote, whatever its format.

#include "import/ImportedReading.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vorn {

// Called now and then while a long file is read, with the bytes read so far
// and the file's size; returning false stops the reading (ImportError with
// the reason "取り込みを中止しました").
using ImportProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Reads `path`, recognising its format from the content. Raises ImportError
// (import/ImportError.h) with a Japanese message naming the file when it
// cannot be opened or read, or when no known format is recognised.
ImportedFile ReadImportFile(const std::string& path, const ImportProgress& progress = {});

} // namespace vorn
