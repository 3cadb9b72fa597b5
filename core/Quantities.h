#pragma once

// The nine quantities and what each window knows of them: one row each, in
// their fixed order, shared by the main window's rows, the log line, the
// target table and its dialog, the history grid and the graph window.

#include <array>

namespace vorn {

enum Quantity : int {
    kHeight = 0,
    kWeight,
    kFatPercent,
    kFatMass,
    kLeanMass,
    kWaterMass,
    kStandardWeight,
    kBmi,
    kObesityDegree,
    kQuantityCount
};

struct QuantityFacts {
    Quantity quantity;
    const char* caption; // the row caption of the main window and the targets dialog
    const char* unit;    // unit label and marker hint suffix; "" for none
    // Significant digits of the fixed-point text shown in the main window
    // and the history grid (two decimals in both).
    int precision;
    int logWidth;  // field width in the log line, two decimals
    bool fatField; // needs a fat percentage; the short log line writes it as 000.00
    // A target must lie below this; the settings file holds it as "VAL<n>"
    // with n = quantity + 1.
    long double targetLimit;
    const char* gridHeader; // the history grid's column header
    int radioButton;        // the graph window's RadioButton<n>
    int radioRow;           // its place, 0 at the top; BMI stands above standard weight
    const char* radioCaption;
};

// Water mass is at most 73.2 % of a weight below 1000 kg; the standard weight
// of a 3 m person is 22 × 3.00² = 198 kg.
// clang-format off
inline constexpr std::array<QuantityFacts, kQuantityCount> kQuantities = {{
    //                caption      unit  prec width fat   limit  grid header       radio row caption
    {kHeight,         "身長",      "cm", 5, 5, false,  300, "身長(cm)",     8, 0, "身長"},
    {kWeight,         "体重",      "kg", 5, 5, false, 1000, "体重(kg)",     7, 1, "体重"},
    {kFatPercent,     "脂肪率",    "%",  5, 5, true,   100, "脂肪率(%)",    1, 2, "脂肪率"},
    {kFatMass,        "脂肪量",    "kg", 5, 5, true,  1000, "脂肪量(kg)",   9, 3, "脂肪量"},
    {kLeanMass,       "除脂肪量",  "kg", 5, 5, true,  1000, "除脂肪量(kg)", 2, 4, "除水分量"},
    {kWaterMass,      "体水分量",  "kg", 5, 5, true,   732, "体水分量(kg)", 3, 5, "体水分量"},
    {kStandardWeight, "標準体重",  "kg", 5, 5, false,  198, "標準体重(kg)", 5, 7, "標準体重"},
    {kBmi,            "BMI",       "",   4, 4, false, 1000, "BMI",          4, 6, "ＢMI"},
    {kObesityDegree,  "肥満度",    "%",  5, 5, false,  100, "肥満度(%)",    6, 8, "肥満度"},
}};
// clang-format on

static_assert(
    [] {
        for (int q = 0; q < kQuantityCount; ++q)
            if (kQuantities[static_cast<std::size_t>(q)].quantity != q)
                return false;
        return true;
    }(),
    "the rows stand in quantity order");

constexpr const QuantityFacts& Facts(int quantity) {
    return kQuantities.at(static_cast<std::size_t>(quantity));
}

// The quantity of the graph window's RadioButton<number> (1 to 9).
constexpr Quantity QuantityOfRadioButton(int number) {
    for (const QuantityFacts& f : kQuantities)
        if (f.radioButton == number)
            return f.quantity;
    return kQuantityCount;
}

// The history grid: the record's number, its date, then each quantity in
// column quantity + 2.
inline constexpr int kGridColumns = 2 + kQuantityCount;
inline constexpr const char* kGridNumberHeader = "順番";
inline constexpr const char* kGridDateHeader = "測定日";

} // namespace vorn
