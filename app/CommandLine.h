#pragma once

// The command line. The windows take no arguments; --help and --version are
// answered, and the exports run, before any window is made.

#include "core/PeriodStats.h"
#include "ui/graph/CalendarRange.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vorn {

struct CommandLineAnswer {
    enum class Task {
        Windows, // start the program's windows
        Print,   // print the texts and exit with exitCode
        Csv,     // write the log's table on standard output
        Graph,   // write the log's chart into `output`
        Stats,   // write the log's statistics per period on standard output
        Import,  // bring another program's file into a log (`args`)
        Add,     // add one measurement to a log (`args`)
    };
    Task task = Task::Windows;
    int exitCode = 0;
    std::string out; // for standard output
    std::string err; // for standard error
    // The exports' arguments.
    std::string log;
    std::string output;
    int quantity = 1; // weight
    bool trend = false;
    bool byteOrderMark = false;   // the CSV starts with UTF-8's
    Period period = Period::Week; // --stats
    // The chart's pixels, width by height; none: its designed size.
    std::optional<std::pair<int, int>> size;
    // The import's and the addition's arguments, read by their commands.
    std::vector<std::string> args;
    // --graph --calendar: the chart on a calendar, showing --range.
    bool calendar = false;
    std::optional<CalendarRange> range;
};

// The sizes --size takes, each side.
inline constexpr int kSmallestGraphSide = 100;
inline constexpr int kLargestGraphSide = 4000;

CommandLineAnswer ParseCommandLine(const std::vector<std::string>& args);

} // namespace vorn
