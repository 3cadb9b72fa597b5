#pragma once

#include <stdexcept>
#include <string>

namespace vorn {

// A file that cannot be imported: the message, in Japanese, names the file
// and says why.
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vorn
