#include "core/Measurement.h"
#include "core/Errors.h"
#include "core/InputCheck.h"
#include "core/NumText.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

CurrentMeasurement Measure(const char* h, const char* w, const char* f) {
    CurrentMeasurement m;
    m.height = static_cast<float>(StrToFloat(h));
    m.weight = static_cast<float>(StrToFloat(w));
    const bool withFat = *f != '\0';
    if (withFat)
        m.fatPercent = static_cast<float>(StrToFloat(f));
    Compute(m, withFat);
    return m;
}

} // namespace

TEST(Measurement, WorkedExamplesShowTheirTexts) {
    struct Case {
        const char *h, *w, *f;
        const char *fat, *lean, *water, *bmi, *sw, *od;
        int band;
    } cases[] = {
        {"170", "60", "20", "12.00", "48.00", "35.14", "20.76", "63.58", "-5.63", 3},
        {"180", "100", "30", "30.00", "70.00", "51.24", "30.86", "71.28", "40.29", 5},
        {"170", "65", "20", "13.00", "52.00", "38.06", "22.49", "63.58", "2.23", 3},
        {"170", "60", "0", "0.00", "60.00", "43.92", "20.76", "63.58", "-5.63", 3},
        {"160", "45", "", nullptr, nullptr, nullptr, "17.58", "56.32", "-20.10", 1},
        {"300", "300", "", nullptr, nullptr, nullptr, "33.33", "198.00", "51.52", 5},
        {"150", "300", "", nullptr, nullptr, nullptr, "133.30", "49.50", "506.06", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.h) + "/" + c.w + "/" + c.f);
        const CurrentMeasurement m = Measure(c.h, c.w, c.f);
        if (c.fat) {
            EXPECT_EQ(DisplayText(m.fatMass, kFatMass), c.fat);
            EXPECT_EQ(DisplayText(m.leanMass, kLeanMass), c.lean);
            EXPECT_EQ(DisplayText(m.waterMass, kWaterMass), c.water);
        } else {
            EXPECT_EQ(m.fatMass, 0.0f); // untouched without a fat percentage
        }
        EXPECT_EQ(DisplayText(m.bmi, kBmi), c.bmi);
        EXPECT_EQ(DisplayText(m.standardWeight, kStandardWeight), c.sw);
        EXPECT_EQ(DisplayText(m.obesityDegree, kObesityDegree), c.od);
        EXPECT_EQ(Classify(m.obesityDegree).number, c.band);
    }
}

TEST(Measurement, BandEdgesBelongToTheBandAbove) {
    // A height whose standard weight is exactly 20 in single precision.
    struct Case {
        const char* w;
        float degree;
        int band;
    } cases[] = {{"16", -20.0f, 2}, {"18", -10.0f, 3}, {"22", 10.0f, 4}, {"24", 20.0f, 5}};
    for (const Case& c : cases) {
        const CurrentMeasurement m = Measure("95.34626", c.w, "");
        EXPECT_EQ(m.standardWeight, 20.0f);
        EXPECT_EQ(m.obesityDegree, c.degree) << c.w;
        EXPECT_EQ(Classify(m.obesityDegree).number, c.band) << c.w;
    }
    const CurrentMeasurement m = Measure("100", "17.6", "");
    EXPECT_EQ(m.obesityDegree, -19.999998f);
    EXPECT_EQ(DisplayText(m.obesityDegree, kObesityDegree), "-20.00");
    EXPECT_EQ(Classify(m.obesityDegree).number, 2);
}

TEST(Measurement, BandsCaptionsAndColours) {
    struct Case {
        float degree;
        const char* caption;
        Colour colour;
    } cases[] = {
        {-25.0f, "やせ過ぎ", 0x0000FF},     {-15.0f, "少しやせぎみ", 0x00FFFF},
        {0.0f, "正常体重", 0x00FF00},       {15.0f, "やや肥満", 0x00FFFF},
        {25.0f, "かなり肥満", 0x0000FF},    {NAN, "やせ過ぎ", 0x0000FF},
        {INFINITY, "かなり肥満", 0x0000FF},
    };
    for (const Case& c : cases) {
        const ObesityBand b = Classify(c.degree);
        EXPECT_STREQ(b.caption, c.caption) << c.degree;
        EXPECT_EQ(b.colour, c.colour) << c.degree;
    }
}

TEST(Measurement, EachFormulaRoundsOnceFromLongDouble) {
    // Worked in float throughout, they would be 35.1359978 and 63.579998.
    CurrentMeasurement m;
    m.height = 170.0f;
    m.weight = 60.0f;
    m.fatPercent = 20.0f;
    Compute(m, true);
    EXPECT_EQ(m.waterMass, 35.1360016f);
    EXPECT_EQ(m.standardWeight, 63.5800018f);
}

TEST(Measurement, HeightZeroIsRefusedBeforeAnythingIsShown) {
    CurrentMeasurement m;
    m.height = 0.0f;
    m.weight = 60.0f;
    EXPECT_THROW(Compute(m, false), ArithmeticError);
    m.height = 1e-30f; // the standard weight underflows to 0
    EXPECT_THROW(Compute(m, false), ArithmeticError);
    // Ctrl+M checks no range: a fat mass past the float range is refused too,
    // while BMI and obesity degree are still finite.
    m.height = 170.0f;
    m.weight = 1e30f;
    m.fatPercent = 1e30f;
    EXPECT_THROW(Compute(m, true), ArithmeticError);
    m.fatPercent = NAN;
    EXPECT_THROW(Compute(m, true), ArithmeticError);
}

TEST(InputCheck, RangesIncludeBothLimits) {
    struct Case {
        float value;
        const FieldRange& range;
        bool ok;
    } cases[] = {
        {0.0f, kHeightRange, true},       {300.0f, kHeightRange, true},
        {300.5f, kHeightRange, false},    {-0.5f, kHeightRange, false},
        {300.00001f, kHeightRange, true}, {1000.0f, kWeightRange, true},
        {1000.5f, kWeightRange, false},   {100.0f, kFatRange, true},
        {100.5f, kFatRange, false},       {INFINITY, kWeightRange, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InRange(c.value, c.range), c.ok) << c.value;
}

TEST(InputCheck, EmptinessVerdicts) {
    struct Case {
        const char *h, *w, *f;
        EmptinessVerdict::Kind kind;
        bool focusHeight;
    } cases[] = {
        {"", "", "", EmptinessVerdict::NothingEntered, true},
        {"", "", "20", EmptinessVerdict::HeightOrWeightMissing, true},
        {"170", "", "", EmptinessVerdict::HeightOrWeightMissing, false},
        {"", "60", "", EmptinessVerdict::HeightOrWeightMissing, true},
        {"170", "60", "", EmptinessVerdict::Pass, false},
        {" ", " ", "", EmptinessVerdict::Pass, false}, // blanks are not empty
    };
    for (const Case& c : cases) {
        const EmptinessVerdict v = CheckEmptiness(c.h, c.w, c.f);
        EXPECT_EQ(v.kind, c.kind);
        if (v.kind != EmptinessVerdict::Pass) {
            EXPECT_EQ(v.focusHeight, c.focusHeight);
        }
    }
}
