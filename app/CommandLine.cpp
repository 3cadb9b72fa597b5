#include "app/CommandLine.h"

#include "core/Quantities.h"
#include "ui/graph/ChartFormat.h"

namespace vorn {

namespace {

const char* const kUsage =
    "Usage: vorn [--help | --version]\n"
    "       vorn --csv LOG [--trend [--quantity NAME]]\n"
    "       vorn --graph LOG --output FILE [--quantity NAME] [--trend]\n"
    "       vorn --import FILE --into LOG [--height CM] [--dry-run]\n"
    "       vorn --add LOG --height CM --weight KG [--fat PCT] [--at YYYY-MM-DDTHH]\n"
    "\n"
    "Vorn2 (Vorn\xEF\xBC\x92) is a desktop weigh-in log in Japanese: type a height, a weight and\n"
    "a fat percentage, see the derived figures, append them to a log file of\n"
    "your choice and draw their history against your targets.\n"
    "Started without options, it opens its main window.\n"
    "\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "  --csv LOG   write every record of the log LOG as CSV (RFC 4180, UTF-8,\n"
    "              CR LF) on standard output: the date (YYYY-MM-DDTHH:00) and\n"
    "              the nine values as the graph window's table shows them\n"
    "  --graph LOG write the chart of LOG as the graph window draws it, with\n"
    "              the target from the settings file, into the file that\n"
    "              --output FILE names: PNG, SVG or PDF by its extension;\n"
    "              needs no display\n"
    "  --quantity NAME  the quantity drawn, or whose trend the CSV adds, by its\n"
    "              name in the main window: \xE8\xBA\xAB\xE9\x95\xB7, "
    "\xE4\xBD\x93\xE9\x87\x8D (the default), \xE8\x84\x82\xE8\x82\xAA\xE7\x8E\x87, BMI, ...\n"
    "  --trend     add the trend: a last column of the CSV, a line on the chart\n"
    "  --import FILE  bring the weigh-ins of another program's export FILE into\n"
    "              the log that --into LOG names, each at its place in time and\n"
    "              as the main window would save it; prints what was added, what\n"
    "              was already there and each row left out with the reason.\n"
    "              --height CM: the height to derive with (else the log's latest\n"
    "              record's); --dry-run: write nothing. The old log is kept as LOG~\n"
    "  --add LOG   add one measurement to LOG as the main window saves it, at\n"
    "              the hour --at names (the current hour by default)\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written (the reason is\n"
    "on standard error; a damaged log is exported up to where it stops), 2 a\n"
    "usage error (for --add also a value outside the main window's ranges, or\n"
    "a moment the log cannot keep).\n"
    "Targets: $XDG_CONFIG_HOME/Tav/Vorn2.conf (~/.config/Tav/Vorn2.conf).\n"
    "See vorn(1) and the program's help (Ctrl+H).\n";

// An argument is echoed on a terminal: control bytes become '?'.
std::string Printable(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return out;
}

CommandLineAnswer Usage(std::string message) {
    CommandLineAnswer answer;
    answer.task = CommandLineAnswer::Task::Print;
    answer.exitCode = 2;
    answer.err = "vorn: " + message + "\nTry 'vorn --help' for more information.\n";
    return answer;
}

int QuantityNamed(const std::string& name) {
    for (const QuantityFacts& f : kQuantities)
        if (name == f.caption)
            return f.quantity;
    return -1;
}

// --csv LOG ... or --graph LOG ...: the export's options in any order.
CommandLineAnswer ParseExport(const std::vector<std::string>& args) {
    const bool graph = args[0] == "--graph";
    CommandLineAnswer a;
    a.task = graph ? CommandLineAnswer::Task::Graph : CommandLineAnswer::Task::Csv;
    if (args.size() < 2 || args[1].empty() || args[1].rfind("--", 0) == 0)
        return Usage(args[0] + " needs the log file to read");
    a.log = args[1];
    bool quantityGiven = false;
    bool outputGiven = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string arg = Printable(args[i]);
        const bool takesValue = arg == "--quantity" || (graph && arg == "--output");
        if (takesValue && i + 1 == args.size())
            return Usage(arg + " needs a value");
        if (arg == "--trend" && !a.trend) {
            a.trend = true;
        } else if (arg == "--quantity" && !quantityGiven) {
            quantityGiven = true;
            a.quantity = QuantityNamed(args[++i]);
            if (a.quantity < 0) {
                std::string names;
                for (const QuantityFacts& f : kQuantities)
                    names += std::string(names.empty() ? "" : ", ") + f.caption;
                return Usage("unknown quantity '" + Printable(args[i]) + "' (one of " + names +
                             ")");
            }
        } else if (graph && arg == "--output" && !outputGiven) {
            outputGiven = true;
            a.output = args[++i];
            if (!ChartFormatOf(a.output))
                return Usage("--output FILE must end in .png, .svg or .pdf");
        } else if (arg == "--trend" || arg == "--quantity" || arg == "--output") {
            return Usage(arg +
                         (graph || arg != "--output" ? " given twice" : " belongs to --graph"));
        } else {
            return Usage(
                (arg.size() > 1 && arg[0] == '-' ? "unknown option '" : "unexpected argument '") +
                arg + "'");
        }
    }
    if (graph && !outputGiven)
        return Usage("--graph needs --output FILE");
    if (!graph && quantityGiven && !a.trend)
        return Usage("--csv takes --quantity only with --trend");
    return a;
}

} // namespace

CommandLineAnswer ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineAnswer answer;
    if (args.empty())
        return answer;
    if (args.front() == "--csv" || args.front() == "--graph")
        return ParseExport(args);
    if (args.front() == "--import" || args.front() == "--add") {
        answer.task = args.front() == "--import" ? CommandLineAnswer::Task::Import
                                                 : CommandLineAnswer::Task::Add;
        answer.args = args;
        return answer;
    }
    answer.task = CommandLineAnswer::Task::Print;
    const std::string arg = Printable(args.front());
    if (args.size() == 1 && arg == "--help") {
        answer.out = kUsage;
    } else if (args.size() == 1 && arg == "--version") {
        answer.out = "vorn " VORN_VERSION "\n";
    } else if (args.size() > 1 && (arg == "--help" || arg == "--version")) {
        return Usage(arg + " takes no further arguments");
    } else {
        return Usage(arg.size() > 1 && arg[0] == '-' ? "unknown option '" + arg + "'"
                                                     : "unexpected argument '" + arg + "'");
    }
    return answer;
}

} // namespace vorn
