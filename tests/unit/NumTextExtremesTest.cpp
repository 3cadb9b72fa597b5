// Number text at the ends of the long double range, where rounding up at a
// low precision can leave the range altogether.

#include "core/Errors.h"
#include "core/NumText.h"

#include <cfloat>
#include <gtest/gtest.h>

using namespace vorn;

TEST(NumTextExtremes, LargestValueRoundsUpOnlyWhereTheTextStaysReadable) {
    // LDBL_MAX is 1.18973149535723176502E+4932: at precisions 2 and 4 it rounds
    // up past the largest long double, and StrToFloat must then refuse the
    // text instead of reading an infinity.
    struct Case {
        int precision;
        const char* text;
        bool readable;
    } cases[] = {
        {1, "1E+4932", true},
        {2, "1.2E+4932", false},
        {4, "1.190E+4932", false},
        {5, "1.1897E+4932", true},
        {18, "1.18973149535723177E+4932", false},
    };
    for (const Case& c : cases) {
        for (const long double v : {LDBL_MAX, -LDBL_MAX}) {
            const std::string text = FloatToStrF(v, c.precision, 2);
            EXPECT_EQ(text, std::string(v < 0 ? "-" : "").append(c.text)) << c.precision;
            if (c.readable) {
                EXPECT_NO_THROW(StrToFloat(text)) << text;
            } else {
                EXPECT_THROW(StrToFloat(text), ConvertError) << text;
            }
        }
    }
}

TEST(NumTextExtremes, SmallestValuesRoundToAnUnsignedZero) {
    const long double tiny[] = {LDBL_MIN, LDBL_TRUE_MIN, DBL_TRUE_MIN, FLT_TRUE_MIN};
    for (const long double v : tiny) {
        for (const long double s : {v, -v}) {
            EXPECT_EQ(FloatToStrF(s, 5, 2), "0.00");
            EXPECT_EQ(FloatToStrF(s, 18, 18), "0.000000000000000000");
        }
    }
    EXPECT_EQ(StrToFloat("1e-99999"), 0.0L);
}
