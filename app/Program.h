#pragma once

#include "app/ProgramValues.h"
#include "ui/main/MainController.h"

#include <memory>

namespace vorn {

class TFGrah;
class TFTgt;
class TFVorn;

// The three windows and the values they share. The main window, which loads
// the targets, is made at once. The other two are made the first time they
// are needed, by their command or by FGrah() and FTgt(), for windows that
// many sessions never open: the graph window's chart and thousand-row grid
// would add to the start-up time and the memory of every session, the
// targets dialog to its time (docs/performance.md has the figures). The dialog copies the targets
// when it is made; until then only the main window's start-up has written them, so it finds them as
// it would have at start-up.
class Program {
public:
    explicit Program(MainController::Services services);
    ~Program();

    ProgramValues values;
    TFVorn& FVorn() { return *fvorn_; }
    TFGrah& FGrah();
    TFTgt& FTgt();
    // Whether the graph window has been made yet.
    bool hasGraphWindow() const { return fgrah_ != nullptr; }

private:
    MainController::Services services_;
    std::unique_ptr<TFVorn> fvorn_;
    std::unique_ptr<TFGrah> fgrah_;
    std::unique_ptr<TFTgt> ftgt_;
};

} // namespace vorn
