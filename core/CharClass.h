#pragma once

// The character classes of the program's texts, in ASCII whatever the
// process locale says: <cctype> would follow the locale, and takes an int
// that a negative char must not be.

namespace vorn {

// A decimal digit, 0 to 9.
constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A blank within a line: a space or a tab.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// White space between the fields of a log: blanks and the line ends LF, CR,
// VT and FF, as C's isspace has them in the C locale.
constexpr bool IsSpace(char c) {
    return IsBlank(c) || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace vorn
