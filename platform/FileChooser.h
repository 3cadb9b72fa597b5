#pragma once

#include <optional>
#include <string>

namespace vorn {

// The save and open dialogs of the log. Each dialog remembers the last name
// chosen in it and offers it again next time.
// What an export writes: the chart as an image (PNG, SVG or PDF, told by the
// name's extension) or the history table as CSV.
enum class ExportKind { Chart, Table };

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Returns the chosen file name (a full path), or nothing when cancelled.
    virtual std::optional<std::string> chooseSave() = 0;
    virtual std::optional<std::string> chooseOpen() = 0;
    // The save dialog of an export, which asks before replacing a file; a
    // name typed without an extension gets that of the chosen file type.
    virtual std::optional<std::string> chooseExport(ExportKind kind) = 0;
};

} // namespace vorn
