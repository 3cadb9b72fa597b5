#pragma once

// What the main window shows for a measurement at another moment and for an
// import: the dialogs its controller asks through.

#include "core/RecordDate.h"
#include "import/ImportedReading.h"

#include <optional>
#include <string>
#include <vector>

namespace vorn {

// What an import will do, as texts for the user.
struct ImportPreview {
    std::string summary;              // the format, the span, the counts
    std::vector<std::string> records; // the first records as they will be saved
    std::vector<std::string> leftOut; // each row left out, with the reason
};

class DataInView {
public:
    virtual ~DataInView() = default;
    // The moment of the measurement, from `shown`, no later than `latest`;
    // none when cancelled.
    virtual std::optional<RecordDate> askMoment(const RecordDate& shown,
                                                const RecordDate& latest) = 0;
    // The file to import; none when cancelled.
    virtual std::optional<std::string> chooseImportFile() = 0;
    // Reads it (ReadImportFile), with the progress shown on a long file and a
    // way to cancel; raises ImportError.
    virtual ImportedFile readImportFile(const std::string& path) = 0;
    // The height to derive with when the log has no record; none when
    // cancelled.
    virtual std::optional<std::string> askHeight() = 0;
    // Shows what the import will do; true for 取り込む, false for キャンセル.
    virtual bool confirmImport(const ImportPreview& preview) = 0;
};

} // namespace vorn
