#pragma once

#include "app/ProgramValues.h"
#include "ui/main/MainController.h"

#include <memory>

namespace vorn {

class Prompter;
class TFGrah;
class TFTgt;
class TFVorn;

// The three windows and the values they share. The main window (which loads
// the targets) comes first, then the targets dialog (which copies them). The
// graph window is made the first time it is needed, by the graph command or
// by FGrah(): its chart and its thousand-row grid would otherwise cost a
// sixth of the start-up time and of the memory, for a window that many
// sessions never open.
class Program {
public:
    explicit Program(MainController::Services services);
    ~Program();

    ProgramValues values;
    TFVorn& FVorn() { return *fvorn_; }
    TFGrah& FGrah();
    TFTgt& FTgt() { return *ftgt_; }
    // Whether the graph window has been made yet.
    bool hasGraphWindow() const { return fgrah_ != nullptr; }

private:
    Prompter& prompter_;
    std::unique_ptr<TFVorn> fvorn_;
    std::unique_ptr<TFGrah> fgrah_;
    std::unique_ptr<TFTgt> ftgt_;
};

} // namespace vorn
