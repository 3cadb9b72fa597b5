// FloatToStrF at every precision from 1 to 18: each text it writes reads
// back with StrToFloat to within half a unit of its last significant digit,
// and two decimals are written alike by its short and its long way.
//
// The first byte picks how the rest becomes a value (decimal text, the bytes
// of a float, double or long double) and the number of decimals; every value
// is also written with two decimals, as the program does.

#include "ReadBack.h"
#include "core/Errors.h"
#include "core/NumText.h"

#include <cstdint>
#include <cstring>
#include <string>

using namespace vorn;
using vorn::fuzz::CheckFloatText;
using vorn::fuzz::Fail;
using vorn::fuzz::Require;

namespace {

template <typename T> bool fromBytes(const std::uint8_t* data, std::size_t size, long double& out) {
    constexpr std::size_t n = sizeof(T) < 10 ? sizeof(T) : 10;
    if (size < n)
        return false;
    T v{};
    std::memcpy(&v, data, n);
    // Arithmetic turns the x87 encodings no computation yields into NaN.
    out = static_cast<long double>(v) * 1.0L;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const int mode = data[0] & 3;
    const int digits = (data[0] >> 2) % 19;
    ++data;
    --size;

    long double value = 0;
    switch (mode) {
    case 0:
        try {
            value = StrToFloat(std::string(reinterpret_cast<const char*>(data), size));
        } catch (const ConvertError&) {
            return 0;
        }
        break;
    case 1:
        if (!fromBytes<float>(data, size, value))
            return 0;
        break;
    case 2:
        if (!fromBytes<double>(data, size, value))
            return 0;
        break;
    default:
        if (!fromBytes<long double>(data, size, value))
            return 0;
        break;
    }

    for (int precision = 1; precision <= 18; ++precision) {
        Require(CheckFloatText(value, precision, digits, FloatToStrF(value, precision, digits)));
        if (digits != 2)
            Require(CheckFloatText(value, precision, 2, FloatToStrF(value, precision, 2)));
        // The short way for two decimals writes what the long one does.
        const std::string shortWay = FloatToStrF(value, precision, 2);
        const std::string longWay = FloatToStrFSlowly(value, precision, 2);
        if (shortWay != longWay)
            Fail("two decimals: " + shortWay + " by the short way, " + longWay + " by the long");
    }
    // Out-of-range arguments are clamped, never trusted.
    Require(CheckFloatText(value, 1, 0, FloatToStrF(value, -7, -3)));
    Require(CheckFloatText(value, 18, 18, FloatToStrF(value, 1000, 1000)));
    return 0;
}
