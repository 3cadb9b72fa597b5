#include "import/TextRecords.h"

namespace vorn {

TextRecords::TextRecords(DecodedText& text, std::string head)
    : text_(text), buffer_(std::move(head)) {}

int TextRecords::get() {
    if (at_ == buffer_.size()) {
        buffer_.clear();
        at_ = 0;
        while (buffer_.empty())
            if (!text_.more(buffer_))
                return -1;
    }
    return static_cast<unsigned char>(buffer_[at_++]);
}

bool TextRecords::next(TextRecord& record) {
    record.fields.assign(1, std::string());
    record.line = line_;
    std::size_t length = 0;
    bool quoted = false; // inside a quoted field
    bool fieldStart = true;
    int c = get();
    if (c < 0)
        return false;
    for (; c >= 0; c = get()) {
        if (++length > kLongestRecord)
            text_.input().fail(std::to_string(record.line) + "行目が長すぎます（" +
                               std::to_string(kLongestRecord / 1024) + " KiB を超えています）");
        std::string& field = record.fields.back();
        if (c == '\n')
            ++line_;
        if (quoted) {
            if (c != '"') {
                field += static_cast<char>(c);
                continue;
            }
            const int after = get();
            if (after == '"') {
                field += '"';
                continue;
            }
            quoted = false;
            if (after < 0)
                break;
            c = after;
            if (c == '\n')
                ++line_;
        }
        if (c == '"' && fieldStart) {
            quoted = true;
            fieldStart = false;
        } else if (c == separator_) {
            record.fields.emplace_back();
            fieldStart = true;
        } else if (c == '\n') {
            if (!field.empty() && field.back() == '\r')
                field.pop_back();
            return true;
        } else {
            field += static_cast<char>(c);
            fieldStart = false;
        }
    }
    if (!record.fields.back().empty() && record.fields.back().back() == '\r')
        record.fields.back().pop_back();
    return true;
}

std::vector<std::string> HeadLines(const std::string& head, std::size_t most) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < head.size() && lines.size() < most) {
        std::size_t end = head.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = head.size();
        std::string line = head.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        if (last)
            break;
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> SplitLine(const std::string& line, char separator) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    bool fieldStart = true;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (quoted) {
            if (c != '"')
                fields.back() += c;
            else if (k + 1 < line.size() && line[k + 1] == '"')
                fields.back() += line[++k];
            else
                quoted = false;
        } else if (c == '"' && fieldStart) {
            quoted = true;
            fieldStart = false;
        } else if (c == separator) {
            fields.emplace_back();
            fieldStart = true;
        } else {
            fields.back() += c;
            fieldStart = false;
        }
    }
    return fields;
}

} // namespace vorn
