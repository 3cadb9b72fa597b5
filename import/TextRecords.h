#pragma once

// The records of a delimited text file, fields quoted as RFC 4180 says: a
// field in double quotes may hold the separator, line breaks and doubled
// double quotes. Line breaks are LF or CR LF.

#include "import/DecodedText.h"

#include <string>
#include <vector>

namespace vorn {

struct TextRecord {
    std::vector<std::string> fields;
    long line = 0; // where the record starts, from 1
};

class TextRecords {
public:
    // `head` is text already taken from `text`, read first.
    TextRecords(DecodedText& text, std::string head);

    void setSeparator(char separator) { separator_ = separator; }

    // The next record; false at the end. A record longer than the limit
    // stops the reading with its line.
    bool next(TextRecord& record);

    static constexpr std::size_t kLongestRecord = 64 * 1024;

    // Stops the reading with `reason`, naming the file.
    [[noreturn]] void fail(const std::string& reason) { text_.input().fail(reason); }

private:
    int get();

    DecodedText& text_;
    std::string buffer_;
    std::size_t at_ = 0;
    char separator_ = ',';
    long line_ = 1;
};

// The lines of `head`, without their line breaks, at most `most` of them.
std::vector<std::string> HeadLines(const std::string& head, std::size_t most);

// The fields of one line split as TextRecords would.
std::vector<std::string> SplitLine(const std::string& line, char separator);

} // namespace vorn
