#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace vorn {

// Message boxes as QMessageBox, with the icon and buttons the flags ask for.
class QtPrompter : public Prompter {
public:
    int show(const std::string& text, const std::string& caption, unsigned flags) override;
};

} // namespace vorn
