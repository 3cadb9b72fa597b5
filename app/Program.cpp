#include "app/Program.h"

#include "targets/TFTgt.h"
#include "ui/graph/TFGrah.h"
#include "ui/main/TFVorn.h"

namespace vorn {

Program::Program(MainController::Services services) {
    fvorn_ = std::make_unique<TFVorn>(
        services, MainController::State{values.measurement, values.targets, values.dateStamp,
                                        values.logFilePath, values.history});
    fgrah_ = std::make_unique<TFGrah>(services.prompter, values.targets, fvorn_.get());
    ftgt_ = std::make_unique<TFTgt>(services.prompter, *fvorn_, values.targets, fvorn_.get());
    fvorn_->controller().setGraphWindow(&fgrah_->controller());
    fvorn_->setTargetsDialog([this] { ftgt_->exec(); });
}

// The dialogs are children of the main window: let them go first.
Program::~Program() {
    ftgt_.reset();
    fgrah_.reset();
    fvorn_.reset();
}

} // namespace vorn
