#pragma once

// Apple Health's export.xml: the body mass records (kg, lb, g or st) and the
// body fat percentage records (a fraction of one), paired by their start
// moment. The file can be gigabytes: it is read as a stream, and only the
// two kinds of record are kept.

#include "import/ImportFile.h"

#include <string>

namespace vorn {

ImportedFile ReadAppleHealth(const std::string& path, const ImportProgress& progress);

} // namespace vorn
