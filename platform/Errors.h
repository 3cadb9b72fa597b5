#pragma once

#include <stdexcept>
#include <string>

namespace vorn {

// Raised by the number conversions when a text is not a number. Commands let
// it travel up to the command boundary, which shows its message.
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const std::string& message) : std::runtime_error(message) {}
};

// Raised when a formula has no finite result (a height of 0, say).
class ArithmeticError : public std::runtime_error {
public:
    explicit ArithmeticError(const std::string& message) : std::runtime_error(message) {}
};

// Raised when the settings store could not keep what was written.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace vorn
