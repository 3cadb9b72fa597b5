#pragma once

#include "core/Measurement.h"
#include "targets/TargetTable.h"
#include "core/InputCheck.h"
#include "ui/main/MainView.h"

#include <string>

namespace vorn {

class Clock;
class HelpViewer;
class Prompter;
class SettingsStore;

// The behaviour of the main window: creation, the measure command and the
// key chain of the input fields, clear, hints, targets, help and close.
class MainController {
public:
    struct Services {
        Prompter& prompter;
        Clock& clock;
        HelpViewer& help;
        SettingsStore& settings;
    };
    struct State {
        CurrentMeasurement& measurement;
        TargetTable& targets;
        std::string& dateStamp;
    };

    MainController(MainView& view, Services services, State state);

    void FormCreate();

    void Button3Click(); // measure
    void Button2Click(); // clear
    void Button1Click(); // close
    void SpeedButton6Click(); // targets
    void Contents1Click(); // help contents
    void K1Click();        // keyword search

    // Key handlers of the input fields; true when the key was theirs.
    bool Ed_hKeyDown(int key);
    bool Ed_wKeyDown(int key);
    bool Ed_fKeyDown(int key);

    // Pointer-move hints.
    void Button3MouseMove();
    void Button2MouseMove();
    void Button4MouseMove();
    void Button5MouseMove();
    void SpeedButton6MouseMove();
    void Button1MouseMove();
    void FormMouseMove();

    // True when no measurement is on display.
    bool NothingOnDisplay() const;

private:
    bool rangeKey(MainCtl field, float& stored, const FieldRange& range, MainCtl next);

    MainView& view_;
    Services s_;
    State st_;
};

} // namespace vorn
