#include "ui/graph/WindowChoice.h"

#include <vector>

namespace vorn {

GraphWindowChoice LoadGraphWindowChoice(SettingsStore& store) {
    const auto [quantity, width, height] =
        Settings(store).kept(kGraphQuantity, kGraphWidth, kGraphHeight);
    GraphWindowChoice choice;
    choice.quantity = quantity.value_or(kGraphQuantity.fallback);
    // Half a size is no size: both, or the designed one.
    if (width && height) {
        choice.width = *width;
        choice.height = *height;
    }
    return choice;
}

void SaveGraphWindowChoice(SettingsStore& store, const GraphWindowChoice& choice,
                           const GraphWindowChoice& kept) {
    std::vector<SettingChange> changes;
    if (choice.quantity != kept.quantity)
        changes.push_back(ChangeOf(kGraphQuantity, choice.quantity));
    if (choice.width != kept.width || choice.height != kept.height) {
        changes.push_back(ChangeOf(kGraphWidth, choice.width));
        changes.push_back(ChangeOf(kGraphHeight, choice.height));
    }
    Settings(store).write(changes);
}

} // namespace vorn
