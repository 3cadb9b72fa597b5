#include "ui/main/DataInController.h"

#include "core/DateText.h"
#include "core/NumText.h"
#include "import/ImportError.h"
#include "import/ImportIntoLog.h"
#include "log/LogError.h"
#include "log/LogWriter.h"
#include "log/TimedSave.h"
#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "platform/Prompter.h"

#include <cstdio>
#include <stdexcept>

namespace vorn {
namespace {

// Records shown in the preview; the summary counts them all.
constexpr std::size_t kPreviewRecords = 20;

RecordDate HourOf(const LocalTime& t) {
    return {t.year, t.month, t.day, t.hour};
}

std::string Two(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

} // namespace

DataInController::DataInController(MainView& view, DataInView& dataIn,
                                   MainController::Services services, MainController::State state)
    : view_(view), dataIn_(dataIn), s_(services), st_(state) {}

void DataInController::D1Click() {
    if (startStamp_.empty())
        startStamp_ = st_.dateStamp;
    const RecordDate now = HourOf(s_.clock.now());
    const std::optional<RecordDate> at = dataIn_.askMoment(chosen_.value_or(now), now);
    if (!at)
        return;
    // The current hour, or a later one, is no other moment.
    chosen_ = HoursSinceEpoch(*at) < HoursSinceEpoch(now) ? at : std::nullopt;
    st_.dateStamp =
        chosen_ ? Two(chosen_->month) + Two(chosen_->day) + Two(chosen_->hour) : startStamp_;
    const std::string& t = st_.dateStamp;
    view_.setText(MainCtl::Lb_dt, t.substr(0, 2) + "/" + t.substr(2, 2) + "-" + t.substr(4, 2));
    view_.setFontColour(MainCtl::Lb_dt, chosen_ ? colour::Red : colour::Blue);
    view_.setHint(MainCtl::Lb_dt,
                  chosen_ ? RecordDateText(*chosen_) + "の測定として保存します" : "");
}

void DataInController::saveLine(const std::string& path, const std::string& line) {
    if (!chosen_)
        AppendRecord(s_.fs, path, line);
    else
        SaveRecordAt(s_.fs, path, {*chosen_, line}, s_.clock.now());
}

void DataInController::warn(const std::string& text) {
    s_.prompter.show(text, "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
}

void DataInController::I1Click() {
    const std::optional<std::string> source = dataIn_.chooseImportFile();
    if (!source)
        return;
    ImportedFile file;
    try {
        file = dataIn_.readImportFile(*source);
    } catch (const ImportError& e) {
        return warn(e.what());
    }
    if (!main_)
        throw std::logic_error("the import has no main window to choose the log");
    const std::optional<std::string> log = main_->chooseLogToImportInto();
    if (!log)
        return;
    std::optional<std::string> height;
    ImportPlan plan;
    try {
        PlanImportInto(s_.fs, *log, file, height, s_.clock.now(), plan);
        if (plan.height.empty()) {
            if (!(height = dataIn_.askHeight()))
                return;
            if (const std::string problem = HeightProblem(*height); !problem.empty())
                return warn(problem);
            PlanImportInto(s_.fs, *log, file, height, s_.clock.now(), plan);
        }
        if (!dataIn_.confirmImport(preview(plan, *log)))
            return;
        ImportIntoLog(s_.fs, *log, file, height, s_.clock.now(), plan);
    } catch (const LogError& e) {
        return warn(e.what());
    }
    main_->importedInto(*log);
    s_.prompter.show(plan.added.empty()
                         ? "取り込む新しい記録はありませんでした。記録ファイルはそのままです。"
                         : "記録を " + IntToStr(static_cast<long long>(plan.added.size())) +
                               " 件取り込みました",
                     "確認ﾍﾙﾌﾟ", mb::OK | mb::ICONINFORMATION);
}

ImportPreview DataInController::preview(const ImportPlan& plan, const std::string& log) const {
    ImportPreview p;
    p.summary = "取り込み先: " + log + "\n形式: " + plan.format + "\n";
    if (plan.first && plan.last)
        p.summary +=
            "期間: " + RecordDateText(*plan.first) + " ～ " + RecordDateText(*plan.last) + "\n";
    p.summary += "追加する記録: " + IntToStr(static_cast<long long>(plan.added.size())) +
                 " 件\n既にあるため省く記録: " + IntToStr(plan.duplicates) +
                 " 件\n取り込まない行: " + IntToStr(static_cast<long long>(plan.leftOut.size())) +
                 " 件\n身長: " + plan.height + " cm";
    for (std::size_t k = 0; k < plan.added.size() && k < kPreviewRecords; ++k) {
        std::string line = plan.added[k].line;
        line.pop_back(); // the line end
        p.records.push_back(RecordDateText(plan.added[k].when) + "  " + line);
    }
    for (const RejectedRow& r : plan.leftOut)
        p.leftOut.push_back(r.where + ": " + r.reason);
    return p;
}

} // namespace vorn
