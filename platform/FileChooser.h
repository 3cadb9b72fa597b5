#pragma once

#include <optional>
#include <string>

namespace vorn {

// The save and open dialogs of the log. Each dialog remembers the last name
// chosen in it and offers it again next time.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Returns the chosen file name (a full path), or nothing when cancelled.
    virtual std::optional<std::string> chooseSave() = 0;
    virtual std::optional<std::string> chooseOpen() = 0;
};

} // namespace vorn
