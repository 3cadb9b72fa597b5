#include "ui/main/RememberedLog.h"

#include "platform/Settings.h"

namespace vorn {

std::string LoadRememberedLog(SettingsStore& store) {
    return Settings(store).get(kLogFile);
}

void SaveRememberedLog(SettingsStore& store, const std::string& path) {
    Settings(store).set(kLogFile, path);
}

} // namespace vorn
