#include "platform/NumText.h"
#include "platform/Errors.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace vorn;

TEST(StrToFloat, ReadsDecimalText) {
    struct Case {
        const char* text;
        long double value;
    } cases[] = {
        {"170", 170.0L}, {"65.5", 65.5L}, {"-0.5", -0.5L},    {"+3", 3.0L},
        {".5", 0.5L},    {"5.", 5.0L},    {"000.00", 0.0L},   {"  12 ", 12.0L},
        {"\t7", 7.0L},   {"1E+4", 1e4L},  {"1.5e-2", 0.015L}, {"300.00001", 300.00001L},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;
}

TEST(StrToFloat, RefusesWhatIsNotANumberAndNamesIt) {
    const char* bad[] = {"",    " ",    "   ",    "abc", "1.2.3",  ".",   "-",
                         "+",   "1,5",  "12kg",   "e5",  "1e",     "1e+", "inf",
                         "nan", "0x10", "１７０", "1 2", "1e99999"};
    for (const char* text : bad) {
        try {
            StrToFloat(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConvertError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("'") + text + "'"), std::string::npos)
                << e.what();
        }
    }
}

TEST(StrToFloat, IsCorrectlyRoundedToLongDouble) {
    EXPECT_EQ(static_cast<float>(StrToFloat("95.34626")), 95.34626f);
    EXPECT_EQ(StrToFloat("0.1"), 0.1L);
}

TEST(StrToInt, ReadsIntegersAndRefusesTheRest) {
    EXPECT_EQ(StrToInt("083020"), 83020);
    EXPECT_EQ(StrToInt("123123"), 123123);
    EXPECT_EQ(StrToInt("-5"), -5);
    for (const char* bad : {"", "1.5", "x", "99999999999", "-"})
        EXPECT_THROW(StrToInt(bad), ConvertError) << bad;
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
}

TEST(FloatToStrF, FixedFormWithPrecisionAndTwoDigits) {
    struct Case {
        long double value;
        int precision;
        const char* text;
    } cases[] = {
        {12.0L, 5, "12.00"},         {0.65L, 5, "0.65"},
        {-5.63L, 5, "-5.63"},        {133.333L, 4, "133.30"},
        {133.333L, 5, "133.33"},     {99.996L, 4, "100.00"},
        {99.996L, 5, "100.00"},      {999.96L, 4, "1000.00"},
        {1234.567L, 5, "1234.60"},   {170.456L, 5, "170.46"},
        {299.996L, 5, "300.00"},     {299.994L, 5, "299.99"},
        {-3.0L, 5, "-3.00"},         {0.5L, 5, "0.50"},
        {0.006L, 5, "0.01"},         {0.004L, 5, "0.00"},
        {-0.004L, 5, "0.00"},        {-0.0L, 5, "0.00"},
        {0.0L, 4, "0.00"},           {15.125L, 5, "15.13"},
        {-15.125L, 5, "-15.13"},     {2.225L, 5, "2.22"} /* just below the tie in binary */,
        {0.125L, 5, "0.13"},         {99999.4L, 5, "99999.00"},
        {9999.6L, 4, "1.000E+4"},    {99999.5L, 5, "1.0000E+5"},
        {123456.0L, 5, "1.2346E+5"}, {-123456.0L, 5, "-1.2346E+5"},
        {83020.0L, 6, "83020.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloatToStrF(c.value, c.precision, 2), c.text)
            << static_cast<double>(c.value) << " p" << c.precision;
}

TEST(FloatToStrF, DateColumnHasNoDecimals) {
    EXPECT_EQ(FloatToStrF(83020.0L, 6, 0), "83020");
    EXPECT_EQ(FloatToStrF(123123.0L, 6, 0), "123123");
}

TEST(FloatToStrF, NonFiniteValuesGiveClearText) {
    EXPECT_EQ(FloatToStrF(INFINITY, 5, 2), "INF");
    EXPECT_EQ(FloatToStrF(-INFINITY, 5, 2), "-INF");
    EXPECT_EQ(FloatToStrF(NAN, 5, 2), "NAN");
}

TEST(FloatToStrF, EveryTextReadsBackWithinHalfAUnit) {
    const long double values[] = {0.0L,    0.001L,   0.005L,   1.0L / 3,  2.0L / 3, 9.995L,
                                  99.995L, 299.996L, 999.995L, 9999.995L, 12345.6L, 99999.9L,
                                  1e6L,    1e20L,    3.4e38L,  1e-30L};
    for (long double v : values)
        for (long double sv : {v, -v})
            for (int p = 1; p <= 18; ++p) {
                const std::string text = FloatToStrF(sv, p, 2);
                const long double back = StrToFloat(text);
                // Half a unit of the last digit written, plus a little slack
                // for the binary value of the text itself.
                long double unit = 0.01L;
                const auto e = text.find('E');
                if (e != std::string::npos) {
                    const int exp = std::stoi(text.substr(e + 2));
                    unit = std::pow(10.0L, exp - (p - 1));
                } else {
                    const int intDigits =
                        static_cast<int>(text.find('.')) - (sv < 0 && text[0] == '-');
                    if (intDigits > p - 2 && intDigits <= p)
                        unit = std::pow(10.0L, intDigits - p);
                    if (unit < 0.01L)
                        unit = 0.01L;
                }
                EXPECT_LE(std::fabs(back - sv), unit / 2 * (1 + 1e-15L))
                    << text << " for " << static_cast<double>(sv) << " p" << p;
            }
}

TEST(FormatDateTime, TwoDigitMonthDayHour) {
    const LocalTime t{2026, 3, 1, 9, 5};
    EXPECT_EQ(FormatDateTime("mm", t), "03");
    EXPECT_EQ(FormatDateTime("dd", t), "01");
    EXPECT_EQ(FormatDateTime("hh", t), "09");
    EXPECT_EQ(FormatDateTime("hh", LocalTime{2026, 12, 31, 0, 30}), "00");
}
