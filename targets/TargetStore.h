#pragma once

#include "targets/TargetTable.h"

#include <string>
#include <string_view>

namespace vorn {

class SettingsStore;

// Reads the nine targets from the store, verbatim; a missing value is empty.
// Raises StoreError, after filling the table, when the store could not be
// read: every entry is then empty.
void LoadTargets(SettingsStore& store, TargetTable& table);
// Writes all nine targets back, empty ones as empty strings. Raises
// StoreError when the store could not keep them.
void SaveTargets(SettingsStore& store, const TargetTable& table);
// A typed target in its stored form: fixed-point, precision 5, two decimals.
// Raises ConvertError when the text is not a number.
std::string FormatTarget(std::string_view typed);

} // namespace vorn
