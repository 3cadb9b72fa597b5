#pragma once

#include <optional>
#include <string>

namespace vorn {

// What an export writes: the chart as an image (PNG, SVG or PDF, told by the
// name's extension) or the history table as CSV.
enum class ExportKind { Chart, Table };

// The save and open dialogs of the log, which offer the file they are told
// to (the home folder's "data.txt" until then), and the exports' dialogs,
// each of which offers the name last chosen in it.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Returns the chosen file name (a full path), or nothing when cancelled.
    virtual std::optional<std::string> chooseSave() = 0;
    virtual std::optional<std::string> chooseOpen() = 0;
    // The save dialog, titled for the log an import goes into.
    virtual std::optional<std::string> chooseImportTarget() { return chooseSave(); }
    // The file both log dialogs offer from now on; empty: "data.txt".
    virtual void offer(const std::string& path) = 0;
    // The save dialog of an export, which asks before replacing a file; a
    // name typed without an extension gets that of the chosen file type.
    virtual std::optional<std::string> chooseExport(ExportKind kind) = 0;
};

} // namespace vorn
