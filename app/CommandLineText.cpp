#include "app/CommandLineText.h"

namespace vorn {

std::string Printable(std::string text, bool lines) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (c1)
            ++i;
        out += (c < 0x20 && !(lines && c == '\n')) || c == 0x7f || c1 ? '?' : text[i];
    }
    return out;
}

std::string UsageErrorText(const std::string& message) {
    return "vorn: " + message + "\n使いかたは vorn --help で表示されます。\n";
}

std::string Unexpected(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' ? "不明なオプション「" + arg + "」です。"
                                           : "余分な引数「" + arg + "」があります。";
}

std::string GivenTwice(const std::string& option) {
    return option + " が 2 回指定されています。";
}

std::string NeedsValue(const std::string& option) {
    return option + " には値を指定してください。";
}

} // namespace vorn
