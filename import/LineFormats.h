#pragma once

// The formats read line by line: trale's text export ("2025-12-24T16:00:00.000
// 67.9000000000", lines starting with "#" are comments) and Libra's CSV
// ("#Version", "#Units: kg" or "lbs", then rows separated by semicolons
// with times in UTC).

#include "import/TextRecords.h"

#include <string>
#include <vector>

namespace vorn {

// Whether the first lines of a file are trale's.
bool LooksLikeTrale(const std::vector<std::string>& headLines);
void ReadTrale(TextRecords& records, ImportedFile& into);

bool LooksLikeLibra(const std::vector<std::string>& headLines);
void ReadLibra(TextRecords& records, ImportedFile& into);

} // namespace vorn
