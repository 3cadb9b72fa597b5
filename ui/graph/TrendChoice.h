#pragma once

namespace vorn {

class SettingsStore;

// Whether the graph window shows the trend, kept between runs in a section of
// its own ("[GRAPH]", "TREND=1" or "TREND=0") of the file the targets are
// kept in.
extern const char* const kGraphSection;
extern const char* const kTrendValueName;

// The choice kept; off when none is kept, when it is not "1", or when the
// store cannot be read.
bool LoadTrendShown(SettingsStore& store);
// Raises StoreError when the store could not keep it.
void SaveTrendShown(SettingsStore& store, bool shown);

} // namespace vorn
