#pragma once

// The property every fixed-point text must have: written by FloatToStrF(value,
// precision, digits), it is a well-formed number that StrToFloat reads back,
// and its decimal value lies within half a unit of its last significant digit
// of the decimal that `value` stands for (its text at 18 significant digits). A text beyond the
// largest long double cannot be read back, and StrToFloat must refuse it.

#include <string>

namespace vorn::fuzz {

// Empty when `text` has the property, else what is wrong with it.
std::string CheckFloatText(long double value, int precision, int digits, const std::string& text);

// Reports a broken property on stderr and aborts, so that libFuzzer keeps
// the input.
[[noreturn]] void Fail(const std::string& what);
// Fail(what) unless `what` is empty.
void Require(const std::string& what);

} // namespace vorn::fuzz
