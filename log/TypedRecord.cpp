#include "log/TypedRecord.h"

#include "core/Measurement.h"
#include "core/NumText.h"
#include "log/LogRecord.h"

namespace vorn {
namespace {

// StrToFloat into single precision; a short fixed-point text the quicker
// way, which rounds to the same float: such a decimal lies too far from any
// point halfway between two floats for the rounding through a double to
// differ.
float ReadSingle(const std::string& text) {
    if (const std::optional<double> value = ReadShortFixed(text))
        return static_cast<float>(*value);
    return static_cast<float>(StrToFloat(text));
}

} // namespace

std::string TypedRecordLine(int stamp, const TypedInputs& typed) {
    const bool withFat = typed.fat && !typed.fat->empty();
    CurrentMeasurement m;
    m.height = ReadSingle(typed.height);
    m.weight = ReadSingle(typed.weight);
    if (withFat)
        m.fatPercent = ReadSingle(*typed.fat);
    Compute(m, withFat);

    // The inputs as typed, the results as the labels show them.
    RecordValues values{};
    for (int q = 0; q < kQuantityCount; ++q) {
        if (Facts(q).fatField && !withFat)
            continue;
        const std::string text = q == kHeight       ? typed.height
                                 : q == kWeight     ? typed.weight
                                 : q == kFatPercent ? *typed.fat
                                                    : DisplayText(m[q], q);
        values[static_cast<std::size_t>(q)] = ReadSingle(text);
    }
    return FormatRecord(stamp, values, withFat);
}

} // namespace vorn
