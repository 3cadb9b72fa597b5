#include "targets/TargetStore.h"

#include "core/NumText.h"
#include "platform/Settings.h"

#include <algorithm>
#include <vector>

namespace vorn {

void LoadTargets(SettingsStore& store, TargetTable& table) {
    std::vector<SettingPlace> places;
    for (int k = 0; k < kQuantityCount; ++k)
        places.push_back(TargetSetting(k).place);
    std::vector<std::string> texts;
    const auto fill = [&] { std::copy(texts.begin(), texts.end(), table.begin()); };
    try {
        Settings(store).readTexts(places, texts);
    } catch (const StoreError&) {
        fill();
        throw;
    }
    fill();
}

void SaveTargets(SettingsStore& store, const TargetTable& table) {
    std::vector<SettingChange> changes;
    for (int k = 0; k < kQuantityCount; ++k)
        changes.push_back(ChangeOf(TargetSetting(k), table[static_cast<size_t>(k)]));
    Settings(store).write(changes);
}

std::string FormatTarget(std::string_view typed) {
    return FloatToStrF(StrToFloat(typed), 5, 2);
}

} // namespace vorn
