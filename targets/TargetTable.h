#pragma once

#include "core/Quantities.h"
#include "platform/Settings.h"

#include <array>
#include <string>

namespace vorn {

// The nine targets as text, in quantity order; the empty text means no target.
using TargetTable = std::array<std::string, kQuantityCount>;

// The marker hint: the target text followed directly by its unit suffix.
std::string MarkerHint(const TargetTable& table, int quantity);

// Where the targets are kept: in the settings file (kTargetKey is its key),
// section "TGT", values "VAL1" to "VAL9", each read and written as it is.
inline constexpr const char* kTargetKey = kSettingsKey;
extern const char* const kTargetSection;
std::string TargetValueName(int quantity);
Setting<std::string> TargetSetting(int quantity);

} // namespace vorn
