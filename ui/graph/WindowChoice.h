#pragma once

#include "platform/Settings.h"

namespace vorn {

class SettingsStore;

// The graph window as the user left it: the quantity plotted and the size of
// the folded window (the client width and the outer height, as the graph
// window's controller measures them). Kept in the graph window's section of
// the settings file: kGraphQuantity, kGraphWidth, kGraphHeight.
struct GraphWindowChoice {
    static constexpr int kDesignedWidth = kGraphWidth.fallback;
    static constexpr int kDesignedHeight = kGraphHeight.fallback;
    static constexpr int kLargestSide = kLargestWindowSide;

    int quantity = 0;
    int width = kDesignedWidth;
    int height = kDesignedHeight;
    bool operator==(const GraphWindowChoice&) const = default;
};

// The choice kept. The file is the user's to edit: a quantity that is not
// one of the nine, or a size that is not a whole number between the designed
// size and kLargestSide, reads as the first run's (height; the designed
// size). So does anything when the store cannot be read.
GraphWindowChoice LoadGraphWindowChoice(SettingsStore& store);
// Writes the values that differ from `kept`, in one go. Raises StoreError
// when the store could not keep them.
void SaveGraphWindowChoice(SettingsStore& store, const GraphWindowChoice& choice,
                           const GraphWindowChoice& kept);

} // namespace vorn
