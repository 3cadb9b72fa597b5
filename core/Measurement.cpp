#include "core/Measurement.h"

#include "core/Errors.h"
#include "core/NumText.h"

#include <cmath>

namespace vorn {

float& CurrentMeasurement::operator[](int q) {
    float* fields[] = {&height,    &weight,         &fatPercent, &fatMass,      &leanMass,
                       &waterMass, &standardWeight, &bmi,        &obesityDegree};
    return *fields[q];
}

void Compute(CurrentMeasurement& m, bool withFat) {
    using LD = long double;
    if (withFat) {
        m.fatMass = static_cast<float>(LD(m.weight) * LD(m.fatPercent) * 0.01L);
        m.leanMass = static_cast<float>(LD(m.weight) - LD(m.fatMass));
        // 73.2 is taken at double precision, then widened.
        m.waterMass = static_cast<float>(LD(m.leanMass) * LD(73.2) * 0.01L);
    }
    // A height of 0 would divide by zero in BMI and obesity degree: refuse
    // before anything is shown rather than display INF or NAN.
    if (LD(m.height) * LD(m.height) == 0)
        throw ArithmeticError("身長が 0 のため計算できません。");
    m.bmi = static_cast<float>(LD(m.weight) * 10000.0L / (LD(m.height) * LD(m.height)));
    m.standardWeight = static_cast<float>(LD(m.height) * LD(m.height) * 22.0L * 0.0001L);
    m.obesityDegree =
        static_cast<float>((LD(m.weight) - LD(m.standardWeight)) * 100.0L / LD(m.standardWeight));
    // Every figure that is about to be shown, the fat figures too: no label
    // may read INF or NAN.
    const bool fatFinite = !withFat || (std::isfinite(m.fatMass) && std::isfinite(m.leanMass) &&
                                        std::isfinite(m.waterMass));
    if (!fatFinite || !std::isfinite(m.bmi) || !std::isfinite(m.obesityDegree) ||
        !std::isfinite(m.standardWeight))
        throw ArithmeticError("計算結果が大きすぎて表示できません。入力値を確かめてください。");
}

std::string DisplayText(float value, int quantity) {
    return FloatToStrF(value, Facts(quantity).precision, 2);
}

std::string GridText(long double value, int quantity) {
    return FloatToStrF(value, Facts(quantity).precision, 2);
}

ObesityBand Classify(float d) {
    // "not at least" rather than "below", so that NaN lands in band 1.
    if (!(d >= -20.0f))
        return {1, "やせ過ぎ", colour::Red};
    if (!(d >= -10.0f))
        return {2, "少しやせぎみ", colour::Yellow};
    if (!(d >= 10.0f))
        return {3, "正常体重", colour::Lime};
    if (!(d >= 20.0f))
        return {4, "やや肥満", colour::Yellow};
    return {5, "かなり肥満", colour::Red};
}

} // namespace vorn
