#include "core/NumText.h"
#include "core/DateText.h"
#include "core/Errors.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#include <iomanip>
#include <string_view>

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

// Short fixed-point texts take a quicker way, texts past its bounds C's; the
// str_to_float fuzz target compares the two on any text.
TEST(StrToDouble, IsStrToFloatRoundedToADouble) {
    for (const char* text : {"65.00", "-0.00", " 083020\t", "5.", "+.5", "0.1", "0.001", "-0.007",
                             "999999999999.999", "1234567890123456", "9007199254740993", "1e3"})
        EXPECT_EQ(std::bit_cast<std::uint64_t>(StrToDouble(text).value_or(NAN)),
                  std::bit_cast<std::uint64_t>(static_cast<double>(StrToFloat(text))))
            << text;
    for (const char* text : {"", "x", "6,5", "1e400", "1e5000"})
        EXPECT_EQ(StrToDouble(text), std::nullopt) << text;
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

// 2.225L and 1.005L lie just below the tie in binary but read as the tie at
// 18 digits; the float 2.225f (2.22499990) and the double 1.005
// (1.00499999999999989) stay below it even there.
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
        {-15.125L, 5, "-15.13"},     {2.225L, 5, "2.23"} /* reads 2.225 at 18 digits */,
        {0.125L, 5, "0.13"},         {99999.4L, 5, "99999.00"},
        {9999.6L, 4, "1.000E+4"},    {99999.5L, 5, "1.0000E+5"},
        {123456.0L, 5, "1.2346E+5"}, {-123456.0L, 5, "-1.2346E+5"},
        {83020.0L, 6, "83020.00"},   {1.005L, 5, "1.01"},
        {-1.005L, 5, "-1.01"},       {2.225f, 5, "2.22"},
        {1.005, 5, "1.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloatToStrF(c.value, c.precision, 2), c.text)
            << static_cast<double>(c.value) << " p" << c.precision;
}

namespace {

// The rounding rule restated on its own: the decimal `text` (digits, an
// optional point and exponent, as printf or a user writes it) rounded half
// away from zero to at most `precision` significant digits and at most two
// decimals, written with two decimals. Only for magnitudes below 10^precision.
std::string roundedDecimal(std::string_view text, int precision) {
    char digits[64];
    int count = 0;
    int point = 0; // value = 0.digits * 10^point
    bool seenPoint = false;
    size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] == '.')
            seenPoint = true;
        else if (count == 0 && text[i] == '0')
            point -= seenPoint ? 1 : 0; // leading zeros carry no digit
        else if (count < 64) {
            digits[count++] = text[i];
            point += seenPoint ? 0 : 1;
        }
    }
    if (i < text.size())
        point += std::atoi(text.data() + i + 1);
    const int keep = std::min(precision, point + 2);
    long long n = 0;
    for (int k = 0; k < keep; ++k)
        n = n * 10 + (k < count ? digits[k] - '0' : 0);
    if (keep >= 0 && keep < count && digits[keep] >= '5')
        ++n;
    for (int k = std::max(keep, 0); k < point + 2; ++k)
        n *= 10; // now in hundredths
    std::string out = std::to_string(n / 100) + ".";
    out += static_cast<char>('0' + n % 100 / 10);
    out += static_cast<char>('0' + n % 10);
    return out;
}

std::string negated(const std::string& text) {
    return text == "0.00" ? text : "-" + text;
}

} // namespace

// The decimal a value stands for is its text at 18 significant digits, and
// that text is what gets rounded: a typed target reads as typed, and every
// float of the main window (whose exact binary value is never that close to
// a tie of two decimals) rounds as its exact binary value.
TEST(FloatToStrF, RoundsTheEighteenDigitDecimalHalfAwayFromZero) {
    char at18[64], exact[64], typed[32];
    for (int k = 0; k <= 200000; ++k) {
        const float f = static_cast<float>(k * 0.005);
        std::snprintf(at18, sizeof at18, "%.17e", static_cast<double>(f));
        std::snprintf(exact, sizeof exact, "%.40e", static_cast<double>(f)); // a float in full
        for (const int precision : {5, 4}) {
            const std::string rounded = roundedDecimal(at18, precision);
            ASSERT_EQ(roundedDecimal(exact, precision), rounded) << exact << " p" << precision;
            ASSERT_EQ(FloatToStrF(f, precision, 2), rounded) << at18 << " p" << precision;
            ASSERT_EQ(FloatToStrF(-f, precision, 2), negated(rounded)) << at18 << " p" << precision;
        }
        std::snprintf(typed, sizeof typed, "%d.%03d", k / 200, k % 200 * 5);
        const long double value = StrToFloat(typed);
        const std::string rounded = roundedDecimal(typed, 5);
        ASSERT_EQ(FloatToStrF(value, 5, 2), rounded) << typed;
        ASSERT_EQ(FloatToStrF(-value, 5, 2), negated(rounded)) << typed;
    }
}

// Two decimals' short way writes what the 18-digit decimal's does: at each
// tie of two decimals up to 1024 and at the doubles either side of it.
TEST(FloatToStrF, ShortWayForTwoDecimalsAgreesWithTheLongOne) {
    for (int k = 0; k <= 204800; ++k) {
        const double tie = k / 200.0;
        for (const double v : {std::nextafter(tie, 0.0), tie, std::nextafter(tie, 2000.0)})
            for (const int precision : {5, 18})
                for (const double signed_ : {v, -v})
                    ASSERT_EQ(FloatToStrF(signed_, precision, 2),
                              FloatToStrFSlowly(signed_, precision, 2))
                        << std::setprecision(20) << signed_ << " p" << precision;
    }
}

// A value whose exact decimal has 19 significant digits, the last a 5, lies
// on a tie of its 18-digit text, which goes to the even digit as printf's
// does: m * 2^-18 for odd m from 2^18 is such a value.
TEST(FloatToStrF, EighteenDigitTextOfATieEndsEven) {
    const struct {
        double m;
        const char* text;
    } cases[] = {
        {262145, "1.000003814697265620"},
        {262147, "1.000011444091796880"},
        {262151, "1.000026702880859380"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FloatToStrF(std::ldexp(c.m, -18), 18, 18), c.text);
        EXPECT_EQ(FloatToStrF(-std::ldexp(c.m, -18), 18, 18), std::string("-") + c.text);
    }
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
