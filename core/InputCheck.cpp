#include "core/InputCheck.h"

namespace vorn {

const FieldRange kHeightRange{300.0f, "正の実数(300以下)を入力してください。"};
const FieldRange kWeightRange{1000.0f, "正の実数(1t以下)を入力してください。"};
const FieldRange kFatRange{100.0f, "正の実数(100以下)を入力してください。"};
const char* const kRangeCaption = "注意ﾍﾙﾌﾟ";

bool InRange(float value, const FieldRange& range) {
    return !(value < 0.0f) && !(value > range.limit);
}

EmptinessVerdict CheckEmptiness(const std::string& height, const std::string& weight,
                                const std::string& fat) {
    if (height.empty() && weight.empty() && fat.empty())
        return {EmptinessVerdict::NothingEntered, "データを入力してください。", "警告1ﾍﾙﾌﾟ", true};
    if (height.empty() || weight.empty())
        return {EmptinessVerdict::HeightOrWeightMissing, "身長、体重を入力して下さい。",
                "警告2ﾍﾙﾌﾟ", height.empty()};
    return {EmptinessVerdict::Pass, nullptr, nullptr, false};
}

} // namespace vorn
