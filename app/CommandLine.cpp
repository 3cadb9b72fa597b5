#include "app/CommandLine.h"

#include "app/CommandLineText.h"

#include "core/Quantities.h"
#include "ui/graph/ChartFormat.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace vorn {

namespace {

const char* const kUsage =
    "Usage: vorn [--help | --version]\n"
    "       vorn --csv LOG [--bom] [--trend [--quantity NAME]]\n"
    "       vorn --graph LOG --output FILE [--quantity NAME] [--trend]\n"
    "                    [--size WIDTHxHEIGHT]\n"
    "                    [--calendar [--range 1w|1m|3m|1y|all]]\n"
    "       vorn --stats LOG --period week|month|year [--quantity NAME]\n"
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
    "              the nine values as the graph window's table shows them,\n"
    "              the fat group's four empty where no fat percentage was saved\n"
    "  --bom       start the CSV with a UTF-8 byte order mark, as the window's\n"
    "              CSV does, for spreadsheets that would not read it as UTF-8\n"
    "  --graph LOG write the chart of LOG as the graph window draws it, with\n"
    "              the target from the settings file, into the file that\n"
    "              --output FILE names: PNG, SVG or PDF by its extension;\n"
    "              needs no display\n"
    "  --quantity NAME  the quantity drawn, or whose trend the CSV adds, by its\n"
    "              name in the main window (\xE8\xBA\xAB\xE9\x95\xB7, "
    "\xE4\xBD\x93\xE9\x87\x8D, \xE8\x84\x82\xE8\x82\xAA\xE7\x8E\x87, BMI, ...) or in English:\n"
    "              height, weight (the default), fat-percent, fat-mass,\n"
    "              lean-mass, water, standard-weight, bmi, obesity\n"
    "  --trend     add the trend: a last column of the CSV, a line on the chart\n"
    "  --stats LOG write the count, average, lowest, highest, change and trend of\n"
    "              a quantity of LOG per ISO week (Monday first; week 1 holds the\n"
    "              year's first Thursday), month or year, as --period says, as CSV\n"
    "              on standard output\n"
    "  --size WIDTHxHEIGHT  the chart's size in pixels (a PNG's; an SVG or PDF\n"
    "              is drawn alike at half as many 96 dpi pixels), each side from\n"
    "              100 to 4000; by default 690x562\n"
    "  --import FILE  bring the weigh-ins of another program's export FILE into\n"
    "              the log that --into LOG names, each at its place in time and\n"
    "              as the main window would save it; prints what was added, what\n"
    "              was already there and each row left out with the reason.\n"
    "              --height CM: the height to derive with (else the log's latest\n"
    "              record's); --dry-run: write nothing. The old log is kept as LOG~\n"
    "  --add LOG   add one measurement to LOG as the main window saves it, at\n"
    "              the hour --at names (the current hour by default)\n"
    "  --calendar  draw the chart on a calendar: every dated record of the\n"
    "              whole log at its date and hour, as the window's\n"
    "              \xE6\x97\xA5\xE4\xBB\x98\xE3\x81\xA7\xE8\xA1\xA8\xE7\xA4\xBA does\n"
    "  --range R   the calendar's span back from the latest record: 1w, 1m,\n"
    "              3m (the default), 1y or all\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written (the reason is\n"
    "on standard error; a damaged log is exported up to where it stops), 2 a\n"
    "usage error (for --add also a value outside the main window's ranges, or\n"
    "a moment the log cannot keep).\n"
    "Targets: $XDG_CONFIG_HOME/Tav/Vorn2.conf (~/.config/Tav/Vorn2.conf).\n"
    "See vorn(1) and the program's help (Ctrl+H).\n";

CommandLineAnswer Usage(std::string message) {
    CommandLineAnswer answer;
    answer.task = CommandLineAnswer::Task::Print;
    answer.exitCode = 2;
    answer.err = UsageErrorText(message);
    return answer;
}

// The names --quantity takes beside the captions, in quantity order: words
// that any keyboard types.
constexpr std::array<const char*, kQuantityCount> kEnglishNames = {
    "height", "weight",          "fat-percent", "fat-mass", "lean-mass",
    "water",  "standard-weight", "bmi",         "obesity"};

int QuantityNamed(const std::string& name) {
    for (const QuantityFacts& f : kQuantities)
        if (name == f.caption || name == kEnglishNames[static_cast<std::size_t>(f.quantity)])
            return f.quantity;
    return -1;
}

std::string UnknownQuantity(const std::string& name) {
    std::string names;
    for (const QuantityFacts& f : kQuantities)
        names += f.caption + std::string("、");
    names += "または ";
    for (const char* english : kEnglishNames)
        names += english + std::string(english == kEnglishNames.back() ? "" : "、");
    return "項目「" + Printable(name) + "」はありません。指定できるのは " + names + " です。";
}

// An export's option given twice, or to the other export.
std::string Misplaced(const std::string& option, bool graph) {
    if ((option == "--output" || option == "--size" || option == "--calendar" ||
         option == "--range") &&
        !graph)
        return option + " は --graph にだけ指定できます。";
    if (option == "--bom" && graph)
        return "--bom は --csv にだけ指定できます。";
    return GivenTwice(option);
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

// --calendar or --range of --graph at args[i], which --range's value
// follows: true when it was one of them, `error` set when it cannot be
// taken.
bool CalendarOption(const std::vector<std::string>& args, std::size_t& i, CommandLineAnswer& a,
                    std::string& error) {
    if (args[i] == "--calendar" && !a.calendar) {
        a.calendar = true;
        return true;
    }
    if (args[i] != "--range" || a.range)
        return false;
    a.range = CalendarRangeOfCode(args[++i]);
    if (!a.range)
        error = "--range には 1w、1m、3m、1y、all のどれかを指定してください。";
    return true;
}

// --csv LOG ... or --graph LOG ...: the export's options in any order.
CommandLineAnswer ParseExport(const std::vector<std::string>& args) {
    const bool graph = args[0] == "--graph";
    CommandLineAnswer a;
    a.task = graph ? CommandLineAnswer::Task::Graph : CommandLineAnswer::Task::Csv;
    if (args.size() < 2 || args[1].empty() || args[1].rfind("--", 0) == 0)
        return Usage(args[0] + " には、読み込む記録ファイルを指定してください。");
    a.log = args[1];
    bool quantityGiven = false;
    bool outputGiven = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string arg = Printable(args[i]);
        const bool takesValue =
            arg == "--quantity" ||
            (graph && (arg == "--output" || arg == "--size" || arg == "--range"));
        if (takesValue && i + 1 == args.size())
            return Usage(arg + " には値を指定してください。");
        std::string error;
        if (graph && CalendarOption(args, i, a, error)) {
            if (!error.empty())
                return Usage(error);
        } else if (arg == "--trend" && !a.trend) {
            a.trend = true;
        } else if (arg == "--bom" && !graph && !a.byteOrderMark) {
            a.byteOrderMark = true;
        } else if (arg == "--quantity" && !quantityGiven) {
            quantityGiven = true;
            a.quantity = QuantityNamed(args[++i]);
            if (a.quantity < 0)
                return Usage(UnknownQuantity(args[i]));
        } else if (graph && arg == "--output" && !outputGiven) {
            outputGiven = true;
            a.output = args[++i];
            if (!ChartFormatOf(a.output))
                return Usage("--output のファイル名は .png、.svg、.pdf のどれかで終えてください。");
        } else if (graph && arg == "--size" && !a.size) {
            a.size = SizeNamed(args[++i]);
            if (!a.size)
                return Usage("--size は 幅x高さ で、どちらも " +
                             std::to_string(kSmallestGraphSide) + " から " +
                             std::to_string(kLargestGraphSide) +
                             " までのピクセル数を指定してください。");
        } else if (arg == "--trend" || arg == "--quantity" || arg == "--output" || arg == "--bom" ||
                   arg == "--size" || arg == "--calendar" || arg == "--range") {
            return Usage(Misplaced(arg, graph));
        } else {
            return Usage(Unexpected(arg));
        }
    }
    if (graph && !outputGiven)
        return Usage("--graph には --output FILE も指定してください。");
    if (a.range && !a.calendar)
        return Usage("--range は --calendar とともに指定してください。");
    if (!graph && quantityGiven && !a.trend)
        return Usage(
            "--csv に --quantity を指定できるのは、--trend とともに指定したときだけです。");
    return a;
}

struct PeriodOption {
    const char* name;
    Period period;
};
constexpr PeriodOption kPeriods[] = {
    {"week", Period::Week}, {"month", Period::Month}, {"year", Period::Year}};

// --stats LOG --period week|month|year [--quantity NAME], in any order.
CommandLineAnswer ParseStats(const std::vector<std::string>& args) {
    CommandLineAnswer a;
    a.task = CommandLineAnswer::Task::Stats;
    if (args.size() < 2 || args[1].empty() || args[1].rfind("--", 0) == 0)
        return Usage("--stats には、読み込む記録ファイルを指定してください。");
    a.log = args[1];
    bool quantityGiven = false;
    bool periodGiven = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string arg = Printable(args[i]);
        const bool known = arg == "--quantity" || arg == "--period";
        if (known && i + 1 == args.size())
            return Usage(NeedsValue(arg));
        if (known && (arg == "--quantity" ? quantityGiven : periodGiven))
            return Usage(GivenTwice(arg));
        if (arg == "--quantity") {
            quantityGiven = true;
            a.quantity = QuantityNamed(args[++i]);
            if (a.quantity < 0)
                return Usage(UnknownQuantity(args[i]));
        } else if (arg == "--period") {
            periodGiven = true;
            const std::string& name = args[++i];
            const auto* p = std::find_if(std::begin(kPeriods), std::end(kPeriods),
                                         [&](const PeriodOption& o) { return name == o.name; });
            if (p == std::end(kPeriods))
                return Usage("期間「" + Printable(name) +
                             "」はありません。指定できるのは week、month、year です。");
            a.period = p->period;
        } else if (arg == "--trend" || arg == "--output" || arg == "--bom") {
            return Usage(arg + " は --stats には指定できません。");
        } else {
            return Usage(Unexpected(arg));
        }
    }
    if (!periodGiven)
        return Usage("--stats には --period week、month、year のどれかも指定してください。");
    return a;
}

} // namespace

CommandLineAnswer ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineAnswer answer;
    if (args.empty())
        return answer;
    if (args.front() == "--csv" || args.front() == "--graph")
        return ParseExport(args);
    if (args.front() == "--stats")
        return ParseStats(args);
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
        return Usage(arg + " にはほかの引数を指定できません。");
    } else {
        return Usage(Unexpected(arg));
    }
    return answer;
}

} // namespace vorn
