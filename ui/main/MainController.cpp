#include "ui/main/MainController.h"

#include "core/DateText.h"
#include "core/Errors.h"
#include "core/InputCheck.h"
#include "core/NumText.h"
#include "log/HistoryTable.h"
#include "log/LogError.h"
#include "log/LogReader.h"
#include "log/LogRecord.h"
#include "log/LogWriter.h"
#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "platform/HelpViewer.h"
#include "platform/Prompter.h"
#include "targets/TargetStore.h"
#include "ui/graph/GraphController.h"
#include "ui/main/DataInController.h"
#include "ui/main/RememberedLog.h"

#include <cstdio>

#include <stdexcept>
#include <utility>
#include <vector>

namespace vorn {
namespace {
const char* const kPlaceholder = "--.--";
const char* const kMeasuring = "測定中.....";
const char* const kCloseQuestion = "測定結果を保存して終了しますか？";

// A load that found records, or read the whole file (an empty log): a file
// whose reading stops before its first record is no log to save to.
bool LoadedAsLog(const LoadResult& r) {
    return r.stop == LoadResult::Stop::End || r.records > 0;
}
} // namespace

MainController::MainController(MainView& view, Services services, State state)
    : view_(view), s_(services), st_(state) {}

void MainController::FormCreate() {
    try {
        LoadTargets(s_.settings, st_.targets);
    } catch (const StoreError& e) {
        // No targets, then; the window still comes up.
        s_.prompter.show(e.what(), "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
    }
    for (int k = 0; k < kQuantityCount; ++k) {
        if (st_.targets[static_cast<size_t>(k)].empty())
            continue; // the marker stays hidden
        view_.setVisible(MarkerOf(k), true);
        view_.setHint(MarkerOf(k), MarkerHint(st_.targets, k));
    }
    const LocalTime start = s_.clock.now();
    const std::string month = FormatDateTime("mm", start);
    const std::string day = FormatDateTime("dd", start);
    const std::string hour = FormatDateTime("hh", start);
    st_.dateStamp = month + day + hour;
    view_.setText(MainCtl::Lb_dt, month + "/" + day + "-" + hour);
}

void MainController::Button3Click() {
    const std::string h = view_.text(MainCtl::Ed_h);
    const std::string w = view_.text(MainCtl::Ed_w);
    const std::string f = view_.text(MainCtl::Ed_f);
    const EmptinessVerdict verdict = CheckEmptiness(h, w, f);
    if (verdict.kind != EmptinessVerdict::Pass) {
        s_.prompter.show(verdict.message, verdict.caption, mb::OK | mb::ICONEXCLAMATION);
        view_.setFocus(verdict.focusHeight ? MainCtl::Ed_h : MainCtl::Ed_w);
        return;
    }

    CurrentMeasurement& m = st_.measurement;
    // Each conversion is stored at once: a later failure leaves it stored.
    m.height = static_cast<float>(StrToFloat(h));
    m.weight = static_cast<float>(StrToFloat(w));
    const bool withFat = !f.empty();
    if (withFat)
        m.fatPercent = static_cast<float>(StrToFloat(f));
    Compute(m, withFat);

    // Everything is computed before the first label is written.
    const ObesityBand band = Classify(m.obesityDegree);
    if (withFat) {
        view_.setText(MainCtl::Lb_f, DisplayText(m.fatMass, kFatMass));
        view_.setText(MainCtl::Lb_rm, DisplayText(m.leanMass, kLeanMass));
        view_.setText(MainCtl::Lb_wt, DisplayText(m.waterMass, kWaterMass));
    } else {
        // Stale fat figures would belong to an earlier measurement and make
        // a save take this one for a full record.
        view_.setText(MainCtl::Lb_f, kPlaceholder);
        view_.setText(MainCtl::Lb_rm, kPlaceholder);
        view_.setText(MainCtl::Lb_wt, kPlaceholder);
    }
    view_.setText(MainCtl::Lb_bm, DisplayText(m.bmi, kBmi));
    view_.setText(MainCtl::Lb_sw, DisplayText(m.standardWeight, kStandardWeight));
    view_.setText(MainCtl::Lb_ft, DisplayText(m.obesityDegree, kObesityDegree));
    view_.setFontColour(MainCtl::Pl_you, colour::Black);
    view_.setText(MainCtl::Pl_you, band.caption);
    view_.setColour(MainCtl::Pl_you, band.colour);
}

void MainController::rangeKey(MainCtl field, float& stored, const FieldRange& range, MainCtl next) {
    const std::string text = view_.text(field);
    if (text.empty())
        return;
    stored = static_cast<float>(StrToFloat(text));
    if (!InRange(stored, range)) {
        s_.prompter.show(range.message, kRangeCaption, mb::OK | mb::ICONEXCLAMATION);
        view_.setFocus(field);
        return;
    }
    view_.setFocus(next);
}

bool MainController::Ed_hKeyDown(int key) {
    if (key == key::Enter || key == key::Down) {
        rangeKey(MainCtl::Ed_h, st_.measurement.height, kHeightRange, MainCtl::Ed_w);
        return true;
    }
    return key == key::Up || key == key::Esc;
}

bool MainController::Ed_wKeyDown(int key) {
    if (key == key::Enter || key == key::Down) {
        rangeKey(MainCtl::Ed_w, st_.measurement.weight, kWeightRange, MainCtl::Ed_f);
        return true;
    }
    if (key == key::Up || key == key::Esc) {
        view_.setFocus(MainCtl::Ed_h);
        return true;
    }
    return false;
}

bool MainController::Ed_fKeyDown(int key) {
    if (key == key::Enter || key == key::Down) {
        const std::string text = view_.text(MainCtl::Ed_f);
        float& fat = st_.measurement.fatPercent;
        fat = text.empty() ? 0.0f : static_cast<float>(StrToFloat(text));
        if (!InRange(fat, kFatRange)) {
            s_.prompter.show(kFatRange.message, kRangeCaption, mb::OK | mb::ICONEXCLAMATION);
            view_.setFocus(MainCtl::Ed_f);
            return true;
        }
        Button3Click();
        return true;
    }
    if (key == key::Up || key == key::Esc) {
        view_.setFocus(MainCtl::Ed_w);
        return true;
    }
    return false;
}

void MainController::Button2Click() {
    view_.setText(MainCtl::Ed_h, "");
    view_.setText(MainCtl::Ed_w, "");
    view_.setText(MainCtl::Ed_f, "");
    for (int q = kFatMass; q < kQuantityCount; ++q) // the results
        view_.setText(ValueOf(q), kPlaceholder);
    view_.setFontColour(MainCtl::Pl_you, colour::Black);
    view_.setText(MainCtl::Pl_you, kMeasuring);
    view_.setColour(MainCtl::Pl_you, colour::Silver);
    view_.setFocus(MainCtl::Ed_h);
}

bool MainController::AppendRecord(const std::string& chosen) {
    const bool fullForm = view_.text(MainCtl::Lb_wt) != kPlaceholder;
    // What is written is what the window shows, read back in this order.
    CurrentMeasurement& m = st_.measurement;
    for (int q = 0; q < kQuantityCount; ++q) {
        if (Facts(q).fatField && !fullForm)
            continue;
        m[q] = static_cast<float>(StrToFloat(view_.text(ValueOf(q))));
    }
    st_.logFilePath = chosen;

    RecordValues values{};
    for (int q = 0; q < kQuantityCount; ++q)
        values[static_cast<size_t>(q)] = m[q];
    const std::string line = FormatRecord(StrToInt(st_.dateStamp), values, fullForm);
    try {
        if (dataIn_)
            dataIn_->saveLine(chosen, line);
        else
            vorn::AppendRecord(s_.fs, chosen, line);
    } catch (const LogError& e) {
        // Nothing is cleared, so the measurement can be saved elsewhere.
        logUsed(nullptr);
        s_.prompter.show(e.what(), "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
        return false;
    }
    logUsed(&chosen);
    s_.prompter.show("正常に保存致しました", "確認ﾍﾙﾌﾟ", mb::OK | mb::ICONINFORMATION);
    Button2Click();
    return true;
}

void MainController::Button4Click() {
    if (NothingOnDisplay()) {
        s_.prompter.show("測定を行って下さい。", "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
        view_.setFocus(MainCtl::Ed_h);
        return;
    }
    offerLastLog();
    if (const auto chosen = s_.files.chooseSave())
        AppendRecord(*chosen);
}

// Asks whether to save the measurement on display first. False when the
// user wanted it saved and the save failed: the command then goes no further.
bool MainController::offerSave(const char* question) {
    if (s_.prompter.show(question, "保存ﾍﾙﾌﾟ", mb::YESNO | mb::ICONINFORMATION) != mb::IDYES)
        return true;
    offerLastLog();
    const auto chosen = s_.files.chooseSave();
    return !chosen || AppendRecord(*chosen);
}

void MainController::Button5Click() {
    const bool measurementShown = !NothingOnDisplay();
    if (measurementShown && !offerSave("測定結果を保存してグラフ化しますか？"))
        return;
    LoadHistory(measurementShown);
}

void MainController::LoadHistory(bool measurementShown) {
    if (!graph_ && !makeGraph_)
        throw std::logic_error("the graph window is not there yet");
    // With no file known to this run, a declined or cancelled save leaves
    // nothing to show but what the open dialog finds.
    if (!measurementShown || st_.logFilePath.empty()) {
        offerLastLog();
        const auto chosen = s_.files.chooseOpen();
        if (!chosen) {
            s_.prompter.show("グラフ化できません。", "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
            return;
        }
        st_.logFilePath = *chosen;
    }
    LoadResult result;
    try {
        result = ReadHistory(s_.fs, st_.logFilePath, st_.history);
    } catch (const LogError& e) {
        logUsed(nullptr);
        s_.prompter.show(e.what(), "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
        return;
    }
    logUsed(LoadedAsLog(result) ? &st_.logFilePath : nullptr);

    if (!graph_)
        graph_ = &makeGraph_();
    graph_->ShowLog(st_.logFilePath, st_.history, result);

    const std::string notice = LoadNotice(result);
    if (!notice.empty())
        s_.prompter.show(notice, "注意ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
    graph_->showModal();
}

void MainController::Button1Click() {
    if (!NothingOnDisplay() && !offerSave(kCloseQuestion))
        return;
    keepTargets();
    closing_ = true;
    view_.closeWindow();
}

bool MainController::FormCloseQuery() {
    return closing_ || NothingOnDisplay() || offerSave(kCloseQuestion);
}

void MainController::FormClose() {
    if (!closing_)
        keepTargets();
}

std::string MainController::SessionEnd() {
    if (graph_)
        graph_->keepChoices();
    return writeTargets();
}

// Read when a log dialog first opens, not at start-up: many runs open none.
// Only the dialogs' first choice: the log path stays empty until the user
// picks a file.
void MainController::offerLastLog() {
    if (lastLogRead_)
        return;
    lastLogRead_ = true;
    lastLog_ = LoadRememberedLog(s_.settings);
    s_.files.offer(lastLog_);
}

void MainController::setDataIn(DataInController* dataIn) {
    dataIn_ = dataIn;
    if (dataIn_)
        dataIn_->setMain(*this);
}

std::optional<std::string> MainController::chooseLogToImportInto() {
    offerLastLog();
    return s_.files.chooseImportTarget();
}

void MainController::importedInto(const std::string& path) {
    st_.logFilePath = path;
    logUsed(&path);
}

void MainController::logUsed(const std::string* path) {
    offerLastLog();
    if (path && *path != lastLog_) {
        lastLog_ = *path;
        try {
            SaveRememberedLog(s_.settings, lastLog_);
        } catch (const StoreError& e) {
            // A convenience, not the user's data: no box after each save.
            // The file's trouble shows when the targets are written.
            std::fprintf(stderr, "vorn: %s\n", e.what());
        }
    }
    s_.files.offer(lastLog_);
}

std::string MainController::writeTargets() {
    try {
        SaveTargets(s_.settings, st_.targets);
    } catch (const StoreError& e) {
        return e.what();
    }
    return {};
}

void MainController::keepTargets() {
    const std::string failure = writeTargets();
    // The user asked to quit: say what was not kept, then quit.
    if (!failure.empty())
        s_.prompter.show(failure, "警告ﾍﾙﾌﾟ", mb::OK | mb::ICONEXCLAMATION);
}

void MainController::SpeedButton6Click() {
    view_.showTargetsDialog();
}
void MainController::Contents1Click() {
    s_.help.command(help::FINDER, 0);
}
void MainController::K1Click() {
    s_.help.command(help::KEY, 0);
}

void MainController::Button3MouseMove() {
    view_.setText(MainCtl::Lb_cm, "体重を測定します。");
}
void MainController::Button2MouseMove() {
    view_.setText(MainCtl::Lb_cm, "入力情報をすべて消去します。");
}
void MainController::Button4MouseMove() {
    view_.setText(MainCtl::Lb_cm, "測定結果を保存します。");
}
void MainController::Button5MouseMove() {
    view_.setText(MainCtl::Lb_cm, "結果をグラフ化します。");
}
void MainController::SpeedButton6MouseMove() {
    view_.setText(MainCtl::Lb_cm, "各種目標値を設定します。");
}
void MainController::Button1MouseMove() {
    view_.setText(MainCtl::Lb_cm, "体重測定を終了します。");
}
void MainController::FormMouseMove() {
    view_.setText(MainCtl::Lb_cm, "データを入力して下さい。");
}

bool MainController::NothingOnDisplay() const {
    return view_.text(MainCtl::Lb_ft) == kPlaceholder;
}

} // namespace vorn
