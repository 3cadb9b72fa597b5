#pragma once

// One row of another program's file turned into a reading, or into a row
// left out with the reason.

#include "import/ImportedReading.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

enum class WeightUnit { Kilograms, Pounds, Stones, Grams };

// The texts of one row's cells; an empty text is a cell left empty.
struct RowTexts {
    std::string_view moment;              // a date, perhaps with a time and a zone
    std::optional<std::string_view> time; // a time of day in a column of its own
    std::string_view weight;
    std::string_view fatPercent;                 // a percentage
    std::optional<std::string_view> fatFraction; // a fraction of one instead
    std::optional<std::string_view> fatMass;     // a mass, in the weight's unit, instead
};

struct RowRules {
    WeightUnit unit = WeightUnit::Kilograms;
    char point = '.'; // or ',' where a spreadsheet writes a decimal comma
};

// At most this many rows, read or left out, are kept from one file.
inline constexpr std::size_t kMostRows = 1'000'000;

// Appends the row to `into` as a reading or as a row left out. Returns
// false when `into` already holds kMostRows rows.
bool TakeRow(const RowTexts& row, const RowRules& rules, const std::string& where,
             ImportedFile& into);

// Why a file stops when it holds more.
inline constexpr const char* kTooManyRows = "行が多すぎます（100万行を超えています）";

// A row left out; false when `into` already holds kMostRows rows.
bool LeaveOut(const std::string& where, const std::string& reason, ImportedFile& into);

// "12行目".
std::string LineName(long line);

// The weight in kilograms as typed text, or the reason it cannot be.
struct WeightText {
    std::optional<std::string> kg;
    std::string reason;
};
WeightText KilogramText(std::string_view weight, const RowRules& rules);

} // namespace vorn
