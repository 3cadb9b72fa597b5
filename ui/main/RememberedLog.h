#pragma once

#include <string>

namespace vorn {

class SettingsStore;

// The log file last saved to or loaded, which the save and open dialogs of
// later runs offer first: kLogFile of the settings file.

// The file kept; empty when none is, when the text is not a full path to a
// file (a hand-edited line, a control character), or when the store cannot
// be read.
std::string LoadRememberedLog(SettingsStore& store);
// Raises StoreError when the store could not keep it.
void SaveRememberedLog(SettingsStore& store, const std::string& path);

} // namespace vorn
