#pragma once

// The main window's commands that bring measurements in: a measurement at
// another moment than the program's start, and an import of another
// program's file.

#include "core/RecordDate.h"
#include "ui/main/DataInView.h"
#include "ui/main/MainController.h"

#include <optional>
#include <string>

namespace vorn {

struct ImportPlan;

class DataInController {
public:
    DataInController(MainView& view, DataInView& dataIn, MainController::Services services,
                     MainController::State state);

    // 測定日時の変更: the stamp of the next saves, for the run. The date
    // label shows it in red; the moment of the program's start again (or a
    // later one) brings the label back as it was.
    void D1Click();
    // 記録の取り込み: a file read, a preview, then the log rewritten.
    void I1Click();

    // The window's controller, which chooses and remembers the logs.
    void setMain(MainController& main) { main_ = &main; }

    // Saves a record's line to `path`: appended as always, or, with another
    // moment chosen, at its place in time (SaveRecordAt). Raises LogError.
    void saveLine(const std::string& path, const std::string& line);

private:
    ImportPreview preview(const ImportPlan& plan, const std::string& log) const;
    void warn(const std::string& text);

    MainView& view_;
    DataInView& dataIn_;
    MainController::Services s_;
    MainController::State st_;
    MainController* main_ = nullptr;
    std::optional<RecordDate> chosen_; // none: the program's start
    std::string startStamp_;
};

} // namespace vorn
