#include "log/TypedRecord.h"

#include "core/Measurement.h"
#include "core/NumText.h"
#include "log/LogRecord.h"

namespace vorn {

std::string TypedRecordLine(int stamp, const TypedInputs& typed) {
    const bool withFat = typed.fat && !typed.fat->empty();
    CurrentMeasurement m;
    m.height = static_cast<float>(StrToFloat(typed.height));
    m.weight = static_cast<float>(StrToFloat(typed.weight));
    if (withFat)
        m.fatPercent = static_cast<float>(StrToFloat(*typed.fat));
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
        values[static_cast<std::size_t>(q)] = static_cast<float>(StrToFloat(text));
    }
    return FormatRecord(stamp, values, withFat);
}

} // namespace vorn
