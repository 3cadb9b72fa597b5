#include "targets/TargetStore.h"

#include "core/NumText.h"
#include "platform/SettingsStore.h"

namespace vorn {

void LoadTargets(SettingsStore& store, TargetTable& table) {
    store.open(kTargetKey, "目標値");
    for (int k = 0; k < kQuantityCount; ++k)
        table[static_cast<size_t>(k)] = store.readString(kTargetSection, TargetValueName(k), "");
    store.release();
}

void SaveTargets(SettingsStore& store, const TargetTable& table) {
    store.open(kTargetKey, "目標値");
    for (int k = 0; k < kQuantityCount; ++k)
        store.writeString(kTargetSection, TargetValueName(k), table[static_cast<size_t>(k)]);
    store.release();
}

std::string FormatTarget(std::string_view typed) {
    return FloatToStrF(StrToFloat(typed), 5, 2);
}

} // namespace vorn
