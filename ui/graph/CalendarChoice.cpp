#include "ui/graph/CalendarChoice.h"

#include "core/Errors.h"
#include "platform/Settings.h"
#include "platform/SettingsStore.h"
#include "targets/TargetTable.h"

#include <string>

namespace vorn {

const char* const kCalendarValueName = "CALENDAR";

bool LoadCalendarShown(SettingsStore& store) {
    std::string value;
    try {
        store.open(kTargetKey, "日付で表示するかどうか");
        value = store.readString(kGraphTrend.place.section, kCalendarValueName, "0");
        store.release();
    } catch (const StoreError&) {
        // The main window has said at start-up what is wrong with the file.
        return false;
    }
    return value == "1";
}

void SaveCalendarShown(SettingsStore& store, bool shown) {
    store.open(kTargetKey, "日付で表示するかどうか");
    store.writeString(kGraphTrend.place.section, kCalendarValueName, shown ? "1" : "0");
    store.release();
}

} // namespace vorn
