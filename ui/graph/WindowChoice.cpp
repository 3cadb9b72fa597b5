#include "ui/graph/WindowChoice.h"

#include "core/Errors.h"
#include "core/Quantities.h"
#include "platform/SettingsStore.h"
#include "targets/TargetTable.h"
#include "ui/graph/TrendChoice.h"

#include <charconv>
#include <optional>
#include <string>

namespace vorn {

const char* const kQuantityValueName = "QUANTITY";
const char* const kWidthValueName = "WIDTH";
const char* const kHeightValueName = "HEIGHT";

namespace {

const char* const kWhat = "グラフウィンドウの項目と大きさ";

// A whole number in [low, high] written in plain digits, or nothing.
std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

GraphWindowChoice LoadGraphWindowChoice(SettingsStore& store) {
    std::string quantity;
    std::string width;
    std::string height;
    try {
        store.open(kTargetKey, kWhat);
        quantity = store.readString(kGraphSection, kQuantityValueName, "");
        width = store.readString(kGraphSection, kWidthValueName, "");
        height = store.readString(kGraphSection, kHeightValueName, "");
        store.release();
    } catch (const StoreError&) {
        // The main window has said at start-up what is wrong with the file.
        return {};
    }
    GraphWindowChoice choice;
    if (const auto q = WholeNumber(quantity, 0, kQuantityCount - 1))
        choice.quantity = *q;
    const auto w =
        WholeNumber(width, GraphWindowChoice::kDesignedWidth, GraphWindowChoice::kLargestSide);
    const auto h =
        WholeNumber(height, GraphWindowChoice::kDesignedHeight, GraphWindowChoice::kLargestSide);
    // Half a size is no size: both, or the designed one.
    if (w && h) {
        choice.width = *w;
        choice.height = *h;
    }
    return choice;
}

void SaveGraphWindowChoice(SettingsStore& store, const GraphWindowChoice& choice,
                           const GraphWindowChoice& kept) {
    if (choice == kept)
        return;
    store.open(kTargetKey, kWhat);
    if (choice.quantity != kept.quantity)
        store.writeString(kGraphSection, kQuantityValueName, std::to_string(choice.quantity));
    if (choice.width != kept.width || choice.height != kept.height) {
        store.writeString(kGraphSection, kWidthValueName, std::to_string(choice.width));
        store.writeString(kGraphSection, kHeightValueName, std::to_string(choice.height));
    }
    store.release();
}

} // namespace vorn
