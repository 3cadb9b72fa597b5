#pragma once

#include <string>

namespace vorn {

// Key codes the input fields react to.
namespace key {
constexpr int Enter = 13;
constexpr int Esc = 27;
constexpr int Up = 38;
constexpr int Down = 40;
} // namespace key

// The range of an input field: 0 up to the limit, both included.
struct FieldRange {
    float limit;
    const char* message;
};
extern const FieldRange kHeightRange;
extern const FieldRange kWeightRange;
extern const FieldRange kFatRange;
extern const char* const kRangeCaption;

// Compared on the stored float, so a text that rounds to the limit passes.
bool InRange(float value, const FieldRange& range);

// The emptiness checks that open the measure command.
struct EmptinessVerdict {
    enum Kind { Pass, NothingEntered, HeightOrWeightMissing } kind;
    const char* message;
    const char* caption;
    bool focusHeight; // else focus the weight field
};
EmptinessVerdict CheckEmptiness(const std::string& height, const std::string& weight,
                                const std::string& fat);

} // namespace vorn
