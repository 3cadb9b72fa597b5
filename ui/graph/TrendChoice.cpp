#include "ui/graph/TrendChoice.h"

#include "core/Errors.h"
#include "platform/SettingsStore.h"
#include "targets/TargetTable.h"

#include <string>

namespace vorn {

const char* const kGraphSection = "GRAPH";
const char* const kTrendValueName = "TREND";

bool LoadTrendShown(SettingsStore& store) {
    std::string value;
    try {
        store.open(kTargetKey);
        value = store.readString(kGraphSection, kTrendValueName, "0");
        store.release();
    } catch (const StoreError&) {
        // The main window has said at start-up what is wrong with the file.
        return false;
    }
    return value == "1";
}

void SaveTrendShown(SettingsStore& store, bool shown) {
    store.open(kTargetKey);
    store.writeString(kGraphSection, kTrendValueName, shown ? "1" : "0");
    store.release();
}

} // namespace vorn
