#include "app/CommandLine.h"

#include "core/Quantities.h"
#include "ui/graph/ChartFormat.h"

namespace vorn {

namespace {

const char* const kUsage =
    "Usage: vorn [--help | --version]\n"
    "       vorn --csv LOG [--trend [--quantity NAME]]\n"
    "       vorn --graph LOG --output FILE [--quantity NAME] [--trend]\n"
    "                    [--size WIDTHxHEIGHT]\n"
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
    "  --size WIDTHxHEIGHT  the chart's size in pixels (a PNG's; an SVG or PDF\n"
    "              is drawn alike at half as many 96 dpi pixels), each side from\n"
    "              100 to 4000; by default 690x562\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written (the reason is\n"
    "on standard error; a damaged log is exported up to where it stops), 2 a\n"
    "usage error.\n"
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

// "WIDTHxHEIGHT", each a number of digits within the sizes --size takes.
std::optional<std::pair<int, int>> SizeNamed(const std::string& text) {
    const std::size_t x = text.find('x');
    const auto side = [](const std::string& digits) {
        long value = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9' || value > kLargestGraphSide)
                return -1L;
            value = value * 10 + (c - '0');
        }
        return digits.empty() || value < kSmallestGraphSide || value > kLargestGraphSide ? -1L
                                                                                         : value;
    };
    if (x == std::string::npos)
        return std::nullopt;
    const long width = side(text.substr(0, x));
    const long height = side(text.substr(x + 1));
    if (width < 0 || height < 0)
        return std::nullopt;
    return std::pair{static_cast<int>(width), static_cast<int>(height)};
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
        const bool takesValue =
            arg == "--quantity" || (graph && (arg == "--output" || arg == "--size"));
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
        } else if (graph && arg == "--size" && !a.size) {
            a.size = SizeNamed(args[++i]);
            if (!a.size)
                return Usage("--size must be WIDTHxHEIGHT, each from " +
                             std::to_string(kSmallestGraphSide) + " to " +
                             std::to_string(kLargestGraphSide) + " pixels");
        } else if (arg == "--trend" || arg == "--quantity" || arg == "--output" ||
                   arg == "--size") {
            const bool graphOnly = arg == "--output" || arg == "--size";
            return Usage(arg + (graph || !graphOnly ? " given twice" : " belongs to --graph"));
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
