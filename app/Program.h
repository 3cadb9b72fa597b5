#pragma once

#include "app/ProgramValues.h"
#include "ui/main/MainController.h"

#include <memory>

namespace vorn {

class TFGrah;
class TFTgt;
class TFVorn;

// The three windows and the values they share, made in start-up order:
// the main window (which loads the targets), the graph window, then the
// targets dialog (which copies them).
class Program {
public:
    explicit Program(MainController::Services services);
    ~Program();

    ProgramValues values;
    TFVorn& FVorn() { return *fvorn_; }
    TFGrah& FGrah() { return *fgrah_; }
    TFTgt& FTgt() { return *ftgt_; }

private:
    std::unique_ptr<TFVorn> fvorn_;
    std::unique_ptr<TFGrah> fgrah_;
    std::unique_ptr<TFTgt> ftgt_;
};

} // namespace vorn
