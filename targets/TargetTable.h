#pragma once

#include "core/Quantities.h"

#include <array>
#include <string>

namespace vorn {

// The nine targets as text, in quantity order; the empty text means no target.
using TargetTable = std::array<std::string, kQuantityCount>;

// The marker hint: the target text followed directly by its unit suffix.
std::string MarkerHint(const TargetTable& table, int quantity);

// The settings-store names: key, section and value names "VAL1" to "VAL9".
extern const char* const kTargetKey;
extern const char* const kTargetSection;
std::string TargetValueName(int quantity);

} // namespace vorn
