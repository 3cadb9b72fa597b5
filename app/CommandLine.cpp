#include "app/CommandLine.h"

namespace vorn {

namespace {

const char* const kUsage =
    "Usage: vorn [--help | --version]\n"
    "\n"
    "Vorn2 (Vorn\xEF\xBC\x92) is a desktop weigh-in log in Japanese: type a height, a weight and\n"
    "a fat percentage, see the derived figures, append them to a log file of\n"
    "your choice and draw their history against your targets.\n"
    "Started without options, it opens its main window.\n"
    "\n"
    "  --help      show this help and exit\n"
    "  --version   show the version and exit\n"
    "\n"
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

} // namespace

CommandLineAnswer ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineAnswer answer;
    if (args.empty())
        return answer;
    answer.startWindows = false;
    const std::string arg = Printable(args.front());
    if (args.size() == 1 && arg == "--help") {
        answer.out = kUsage;
    } else if (args.size() == 1 && arg == "--version") {
        answer.out = "vorn " VORN_VERSION "\n";
    } else {
        answer.exitCode = 2;
        answer.err =
            (arg.size() > 1 && arg[0] == '-' ? "vorn: unknown option '" + arg + "'\n"
                                             : "vorn: unexpected argument '" + arg + "'\n");
        if (args.size() > 1 && (arg == "--help" || arg == "--version"))
            answer.err = "vorn: " + arg + " takes no further arguments\n";
        answer.err += "Try 'vorn --help' for more information.\n";
    }
    return answer;
}

} // namespace vorn
