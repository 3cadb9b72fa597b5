#include "import/ImportRow.h"

#include "import/ExactDecimal.h"
#include "import/ImportMoment.h"

namespace vorn {
namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

ExactDecimal InKilograms(const ExactDecimal& value, WeightUnit unit) {
    switch (unit) {
    case WeightUnit::Pounds:
        return PoundsToKilograms(value);
    case WeightUnit::Stones:
        return StonesToKilograms(value);
    case WeightUnit::Grams:
        return ShiftDecimal(value, -3);
    case WeightUnit::Kilograms:
        break;
    }
    return value;
}

std::optional<ExactDecimal> Number(std::string_view text, const RowRules& rules) {
    auto value = ParseExactDecimal(text, rules.point);
    if (!value && rules.point != '.')
        value = ParseExactDecimal(text, '.');
    return value;
}

// The moment of the row, or the reason it has none.
std::optional<LocalTime> Moment(const RowTexts& row, std::string& reason) {
    const std::string_view text = Trimmed(row.moment);
    if (text.empty()) {
        reason = "日付がありません";
        return std::nullopt;
    }
    ReadMoment read = ReadWrittenMoment(text);
    // A time column counts for a date written without its time.
    if (read.result == MomentRead::Ok && !read.moment.hasTime && row.time &&
        !Trimmed(*row.time).empty()) {
        const auto clock = ReadTimeOfDay(*row.time);
        if (!clock) {
            reason = "時刻が読めません";
            return std::nullopt;
        }
        read.moment.hour = clock->hour;
        read.moment.minute = clock->minute;
        read.moment.second = clock->second;
        read.moment.hasTime = true;
        if (!IsRealMoment(read.moment))
            read.result = MomentRead::NotReal;
    }
    if (read.result == MomentRead::Unreadable) {
        reason = "日付が読めません";
        return std::nullopt;
    }
    if (read.result == MomentRead::NotReal) {
        reason = "実在しない日時です";
        return std::nullopt;
    }
    const auto local = ToLocalTime(read.moment);
    if (!local)
        reason = "この地域の時刻にできない日時です";
    return local;
}

// The fat percentage as typed text; nothing for an empty cell or zero,
// which the programs write for "not measured".
std::optional<std::string> FatText(const RowTexts& row, const ExactDecimal& weight,
                                   const RowRules& rules, std::string& reason) {
    std::string_view text = Trimmed(row.fatPercent);
    if (row.fatFraction)
        text = Trimmed(*row.fatFraction);
    if (row.fatMass)
        text = Trimmed(*row.fatMass);
    if (text.empty())
        return std::nullopt;
    const auto value = Number(text, rules);
    if (!value) {
        reason = row.fatMass ? "脂肪量の数値が読めません" : "体脂肪率の数値が読めません";
        return std::nullopt;
    }
    if (IsZero(*value))
        return std::nullopt;
    if (row.fatMass)
        return PercentOf(*value, weight);
    return RoundToHundredths(row.fatFraction ? ShiftDecimal(*value, 2) : *value);
}

} // namespace

std::string LineName(long line) {
    return std::to_string(line) + "行目";
}

bool LeaveOut(const std::string& where, const std::string& reason, ImportedFile& into) {
    if (into.readings.size() + into.rejected.size() >= kMostRows)
        return false;
    into.rejected.push_back({where, reason});
    return true;
}

WeightText KilogramText(std::string_view weight, const RowRules& rules) {
    const std::string_view text = Trimmed(weight);
    if (text.empty())
        return {std::nullopt, "体重がありません"};
    const auto value = Number(text, rules);
    if (!value)
        return {std::nullopt, "体重の数値が読めません"};
    if (IsZero(*value))
        return {std::nullopt, "体重がありません"};
    return {RoundToHundredths(InKilograms(*value, rules.unit)), ""};
}

bool TakeRow(const RowTexts& row, const RowRules& rules, const std::string& where,
             ImportedFile& into) {
    if (into.readings.size() + into.rejected.size() >= kMostRows)
        return false;
    std::string reason;
    const auto at = Moment(row, reason);
    if (!at)
        return LeaveOut(where, reason, into);
    const WeightText kg = KilogramText(row.weight, rules);
    if (!kg.kg)
        return LeaveOut(where, kg.reason, into);
    const auto weight = Number(Trimmed(row.weight), rules);
    // A fat mass is in the weight's own unit: the percentage needs no conversion.
    auto fat = FatText(row, *weight, rules, reason);
    if (!reason.empty())
        return LeaveOut(where, reason, into);
    into.readings.push_back({*at, *kg.kg, std::move(fat), where});
    return true;
}

} // namespace vorn
