#pragma once

#include "core/InputCheck.h"
#include "core/Measurement.h"
#include "targets/TargetTable.h"
#include "ui/main/MainView.h"

#include <functional>
#include <optional>
#include <string>

namespace vorn {

class Clock;
class DataInController;
class FileChooser;
class GraphController;
class HelpViewer;
class LogFileSystem;
class Prompter;
class SettingsStore;
struct HistoryTable;

// The behaviour of the main window: creation, the measure command and the
// key chain of the input fields, clear, hints, targets, help and close.
class MainController {
public:
    struct Services {
        Prompter& prompter;
        Clock& clock;
        HelpViewer& help;
        SettingsStore& settings;
        FileChooser& files;
        LogFileSystem& fs;
    };
    struct State {
        CurrentMeasurement& measurement;
        TargetTable& targets;
        std::string& dateStamp;
        std::string& logFilePath;
        HistoryTable& history;
    };

    MainController(MainView& view, Services services, State state);

    void FormCreate();
    // The graph window, made after this one: either at hand, or made by
    // `make` the first time the graph command has a log to show.
    void setGraphWindow(GraphController* graph) { graph_ = graph; }
    void setGraphWindowMaker(std::function<GraphController&()> make) {
        makeGraph_ = std::move(make);
    }

    // Saves go through it: at the moment chosen for the run, if any.
    void setDataIn(DataInController* dataIn);

    // The log an import writes into, chosen in the save dialog, which offers
    // the last file that worked; none when cancelled.
    std::optional<std::string> chooseLogToImportInto();
    // The import wrote into `path`: it is the run's log from now on, offered
    // and remembered as a save's log is.
    void importedInto(const std::string& path);

    void Button3Click(); // measure
    void Button2Click(); // clear
    void Button4Click(); // save
    void Button5Click(); // graph
    void Button1Click(); // close
    // The window is about to close by its frame (close box, Alt+F4, system
    // menu): a measurement on display is offered for saving, as the close
    // command offers it. False when the window is to stay open: the user
    // wanted it saved and the save failed.
    bool FormCloseQuery();
    // The window closed, however: the targets the user confirmed are
    // written back as the close command writes them.
    void FormClose();
    // The desktop session ends, maybe without closing the window first: the
    // targets, and the graph window's choices, are written back, and no box
    // is shown while the session waits.
    // Returns why they could not be kept; empty when they were.
    std::string SessionEnd();
    void SpeedButton6Click(); // targets
    void Contents1Click();    // help contents
    void K1Click();           // keyword search

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

    // Appends the measurement on display to `chosen`, then clears the
    // display. False, after a warning, when the file could not take it.
    bool AppendRecord(const std::string& chosen);
    // Reads the log into the history and the graph window and shows it.
    void LoadHistory(bool measurementShown);

private:
    // The range check of a field on Enter or Down: the focus moves on to
    // `next` or, after a warning, stays.
    void rangeKey(MainCtl field, float& stored, const FieldRange& range, MainCtl next);

    bool offerSave(const char* question);
    // Writes the targets back; says why it could not, or nothing.
    std::string writeTargets();
    // Writes them, with a warning when that fails.
    void keepTargets();
    // Before a log dialog: it offers the last file that worked.
    void offerLastLog();
    // After a save or a load: `path` worked as a log, or, when null, the
    // file chosen did not. The dialogs then offer the last file that worked.
    void logUsed(const std::string* path);

    MainView& view_;
    Services s_;
    State st_;
    GraphController* graph_ = nullptr;
    DataInController* dataIn_ = nullptr;
    std::function<GraphController&()> makeGraph_;
    // The close command has written the targets and is closing the window.
    bool closing_ = false;
    // The last file saved to or loaded, in this run or an earlier one.
    std::string lastLog_;
    bool lastLogRead_ = false;
};

} // namespace vorn
