#include "import/ImportFile.h"

#include "import/AppleHealthReader.h"
#include "import/DecodedText.h"
#include "import/LineFormats.h"
#include "import/TableFormats.h"

namespace vorn {
namespace {

// The start of the file that its format is told from.
constexpr std::size_t kHead = 64 * 1024;

bool LooksLikeXml(const std::string& head) {
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    return first != std::string::npos && head[first] == '<';
}

// The first line that is neither empty nor a comment.
std::string HeaderLine(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (line.find_first_not_of(" \t") != std::string::npos)
            return line;
    return "";
}

std::string WithEncoding(std::string format, const DecodedText& text) {
    const std::string encoding = text.encoding();
    if (encoding == "UTF-8")
        return format;
    if (format.ends_with("）"))
        return format.insert(format.size() - std::string("）").size(), "・" + encoding);
    return format + "（" + encoding + "）";
}

} // namespace

ImportedFile ReadImportFile(const std::string& path, const ImportProgress& progress) {
    ImportedFile file;
    {
        ImportInput input(path, progress);
        DecodedText text(input);
        std::string head;
        while (head.size() < kHead && text.more(head)) {
        }
        if (head.find_first_not_of(" \t\r\n") == std::string::npos)
            input.fail("記録がありません");
        if (!LooksLikeXml(head)) {
            const std::vector<std::string> lines = HeadLines(head, 20);
            TextRecords records(text, std::move(head));
            if (LooksLikeLibra(lines)) {
                ReadLibra(records, file);
            } else if (LooksLikeTrale(lines)) {
                ReadTrale(records, file);
            } else if (const auto plan = PlanTable(HeaderLine(lines))) {
                file.format = plan->format;
                ReadTable(records, *plan, file);
            } else {
                input.fail("記録の形式が分かりません。読める形式は利用の手引きにあります");
            }
            file.format = WithEncoding(file.format, text);
            return file;
        }
    }
    return ReadAppleHealth(path, progress);
}

} // namespace vorn
