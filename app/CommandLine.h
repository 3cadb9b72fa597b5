#pragma once

// The command line. The windows take no arguments; only --help and
// --version are answered, before any display is needed.

#include <string>
#include <vector>

namespace vorn {

struct CommandLineAnswer {
    bool startWindows = true; // false: print the texts and exit with exitCode
    int exitCode = 0;
    std::string out; // for standard output
    std::string err; // for standard error
};

CommandLineAnswer ParseCommandLine(const std::vector<std::string>& args);

} // namespace vorn
