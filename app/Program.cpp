#include "app/Program.h"

#include "ui/graph/qt/TFGrah.h"
#include "ui/main/TFVorn.h"
#include "ui/targets/TFTgt.h"

namespace vorn {

Program::Program(MainController::Services services) : services_(services) {
    fvorn_ = std::make_unique<TFVorn>(
        services, MainController::State{values.measurement, values.targets, values.dateStamp,
                                        values.logFilePath, values.history});
    fvorn_->controller().setGraphWindowMaker(
        [this]() -> GraphController& { return FGrah().controller(); });
    fvorn_->setTargetsDialog([this] { FTgt().exec(); });
}

TFGrah& Program::FGrah() {
    if (!fgrah_)
        fgrah_ = std::make_unique<TFGrah>(
            GraphController::Services{services_.clock, services_.settings, services_.prompter,
                                      services_.files, services_.fs},
            values.targets, fvorn_.get());
    return *fgrah_;
}

TFTgt& Program::FTgt() {
    if (!ftgt_)
        ftgt_ = std::make_unique<TFTgt>(services_.prompter, *fvorn_, values.targets, fvorn_.get());
    return *ftgt_;
}

// The dialogs are children of the main window: let them go first.
Program::~Program() {
    ftgt_.reset();
    fgrah_.reset();
    fvorn_.reset();
}

} // namespace vorn
