#pragma once

namespace vorn {

class SettingsStore;

// The graph window as the user left it: the quantity plotted and the size of
// the folded window (the client width and the outer height, as the graph
// window's controller measures them). Kept in the graph window's section of
// the file the targets are kept in: "QUANTITY" (0 to 8), "WIDTH", "HEIGHT".
struct GraphWindowChoice {
    static constexpr int kDesignedWidth = 463;
    static constexpr int kDesignedHeight = 318;
    // Larger than any screen: a value beyond it was not written by us.
    static constexpr int kLargestSide = 16384;

    int quantity = 0;
    int width = kDesignedWidth;
    int height = kDesignedHeight;
    bool operator==(const GraphWindowChoice&) const = default;
};

extern const char* const kQuantityValueName;
extern const char* const kWidthValueName;
extern const char* const kHeightValueName;

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
