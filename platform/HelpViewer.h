#pragma once

namespace vorn {

// Help viewer commands, with the codes the help commands pass.
namespace help {
constexpr unsigned FINDER = 11;  // the contents window
constexpr unsigned KEY = 0x0101; // keyword search
} // namespace help

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void command(unsigned code, long data) = 0;
};

} // namespace vorn
