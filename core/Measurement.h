#pragma once

#include "core/Quantities.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vorn {

// Colours as 0x00BBGGRR.
using Colour = std::uint32_t;
namespace colour {
constexpr Colour Black = 0x000000;
constexpr Colour Red = 0x0000FF;
constexpr Colour Yellow = 0x00FFFF;
constexpr Colour Lime = 0x00FF00;
constexpr Colour Blue = 0xFF0000;
constexpr Colour Silver = 0xC0C0C0;
constexpr Colour White = 0xFFFFFF;
} // namespace colour

// The current measurement: nine single-precision fields, all 0 at start.
struct CurrentMeasurement {
    float height = 0;
    float weight = 0;
    float fatPercent = 0;
    float fatMass = 0;
    float leanMass = 0;
    float waterMass = 0;
    float standardWeight = 0;
    float bmi = 0;
    float obesityDegree = 0;

    float& operator[](int q);
};

// Fills the derived fields from height, weight and (when given) fat
// percentage, which must already be stored. Each formula is worked in long
// double on the stored float operands and rounded once into float.
// Without a fat percentage the fat fields keep their values.
void Compute(CurrentMeasurement& m, bool withFat);

// The label text of a value: fixed-point, two decimals.
std::string DisplayText(float value, int quantity);
// The history grid's text of a value read from the log (or worked from such
// values), in the same fixed-point form; exports show the same texts.
std::string GridText(long double value, int quantity);

struct ObesityBand {
    int number; // 1..5
    const char* caption;
    Colour colour;
};
ObesityBand Classify(float obesityDegree);

} // namespace vorn
