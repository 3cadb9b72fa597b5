#pragma once

namespace vorn {

class SettingsStore;

// Whether the graph window shows the chart on a calendar, kept between runs
// beside the trend's choice ("[GRAPH]", "CALENDAR=1" or "CALENDAR=0").
extern const char* const kCalendarValueName;

// The choice kept; off when none is kept, when it is not "1", or when the
// store cannot be read.
bool LoadCalendarShown(SettingsStore& store);
// Raises StoreError when the store could not keep it.
void SaveCalendarShown(SettingsStore& store, bool shown);

} // namespace vorn
