#pragma once

#include <stdexcept>
#include <string>

namespace vorn {

// An error whose message is written for the user (in Japanese, naming what
// went wrong): the command boundary shows its message as it is. Any other
// exception reaching the boundary is a fault of the program, and gets a
// message of the boundary's own.
class UserError : public std::runtime_error {
public:
    explicit UserError(const std::string& message) : std::runtime_error(message) {}
};

// Raised by the number conversions when a text is not a number. Commands let
// it travel up to the command boundary, which shows its message.
class ConvertError : public UserError {
public:
    explicit ConvertError(const std::string& message) : UserError(message) {}
};

// Raised when a formula has no finite result (a height of 0, say).
class ArithmeticError : public UserError {
public:
    explicit ArithmeticError(const std::string& message) : UserError(message) {}
};

// Raised when the settings store could not keep what was written.
class StoreError : public UserError {
public:
    explicit StoreError(const std::string& message) : UserError(message) {}
};

} // namespace vorn
