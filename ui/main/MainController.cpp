#include "ui/main/MainController.h"

#include "core/InputCheck.h"
#include "platform/Clock.h"
#include "platform/HelpViewer.h"
#include "platform/NumText.h"
#include "platform/Prompter.h"
#include "targets/TargetStore.h"

namespace vorn {
namespace {
const char* const kPlaceholder = "--.--";
const char* const kMeasuring = "測定中.....";
} // namespace

MainController::MainController(MainView& view, Services services, State state)
    : view_(view), s_(services), st_(state) {}

void MainController::FormCreate() {
    LoadTargets(s_.settings, st_.targets);
    for (int k = 0; k < 9; ++k) {
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

bool MainController::rangeKey(MainCtl field, float& stored, const FieldRange& range,
                              MainCtl next) {
    const std::string text = view_.text(field);
    if (text.empty())
        return true;
    stored = static_cast<float>(StrToFloat(text));
    if (!InRange(stored, range)) {
        s_.prompter.show(range.message, kRangeCaption, mb::OK | mb::ICONEXCLAMATION);
        view_.setFocus(field);
        return true;
    }
    view_.setFocus(next);
    return true;
}

bool MainController::Ed_hKeyDown(int key) {
    if (key == key::Enter || key == key::Down)
        return rangeKey(MainCtl::Ed_h, st_.measurement.height, kHeightRange, MainCtl::Ed_w);
    return key == key::Up || key == key::Esc;
}

bool MainController::Ed_wKeyDown(int key) {
    if (key == key::Enter || key == key::Down)
        return rangeKey(MainCtl::Ed_w, st_.measurement.weight, kWeightRange, MainCtl::Ed_f);
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
    for (MainCtl c : {MainCtl::Lb_f, MainCtl::Lb_rm, MainCtl::Lb_wt, MainCtl::Lb_sw, MainCtl::Lb_bm,
                      MainCtl::Lb_ft})
        view_.setText(c, kPlaceholder);
    view_.setFontColour(MainCtl::Pl_you, colour::Black);
    view_.setText(MainCtl::Pl_you, kMeasuring);
    view_.setColour(MainCtl::Pl_you, colour::Silver);
    view_.setFocus(MainCtl::Ed_h);
}

void MainController::Button1Click() {
    SaveTargets(s_.settings, st_.targets);
    view_.closeWindow();
}

void MainController::SpeedButton6Click() { view_.showTargetsDialog(); }
void MainController::Contents1Click() { s_.help.command(help::FINDER, 0); }
void MainController::K1Click() { s_.help.command(help::KEY, 0); }

void MainController::Button3MouseMove() { view_.setText(MainCtl::Lb_cm, "体重を測定します。"); }
void MainController::Button2MouseMove() {
    view_.setText(MainCtl::Lb_cm, "入力情報をすべて消去します。");
}
void MainController::Button4MouseMove() { view_.setText(MainCtl::Lb_cm, "測定結果を保存します。"); }
void MainController::Button5MouseMove() { view_.setText(MainCtl::Lb_cm, "結果をグラフ化します。"); }
void MainController::SpeedButton6MouseMove() {
    view_.setText(MainCtl::Lb_cm, "各種目標値を設定します。");
}
void MainController::Button1MouseMove() { view_.setText(MainCtl::Lb_cm, "体重測定を終了します。"); }
void MainController::FormMouseMove() { view_.setText(MainCtl::Lb_cm, "データを入力して下さい。"); }

bool MainController::NothingOnDisplay() const { return view_.text(MainCtl::Lb_ft) == kPlaceholder; }

} // namespace vorn
