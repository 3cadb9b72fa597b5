#pragma once

#include <functional>

namespace vorn {

class Prompter;

// Every command runs through here, so that no exception reaches Qt's event
// loop: an error is shown in a modal box (the general error display), the
// command stops where it was, and the program goes on.
class CommandBoundary {
public:
    explicit CommandBoundary(Prompter& prompter) : prompter_(prompter) {}
    // Runs the command; returns false when it ended with an error.
    bool run(const std::function<void()>& command);

private:
    Prompter& prompter_;
};

} // namespace vorn
