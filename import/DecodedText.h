#pragma once

// A text file's content as UTF-8, whatever it was written in: UTF-8 with or
// without a byte order mark, UTF-16 with one, or Shift_JIS (CP932), told
// apart by the mark or by whether the first piece with more than ASCII
// reads as UTF-8. A byte that the encoding found cannot hold stops the
// reading with the line it is on.

#include "import/ImportInput.h"

#include <iconv.h>
#include <string>
#include <vector>

namespace vorn {

class DecodedText {
public:
    explicit DecodedText(ImportInput& input);
    ~DecodedText();
    DecodedText(const DecodedText&) = delete;
    DecodedText& operator=(const DecodedText&) = delete;

    // Appends the next piece of text to `out`; false once everything is out.
    bool more(std::string& out);

    // "UTF-8", "UTF-16" or "Shift_JIS".
    const char* encoding() const { return encoding_; }
    ImportInput& input() { return input_; }

private:
    bool fill();
    void decide();
    void convertFrom(const char* from);
    void appendUtf8(std::string& out);
    void appendConverted(std::string& out);
    [[noreturn]] void badBytes() const;

    ImportInput& input_;
    const char* encoding_ = "UTF-8";
    iconv_t converter_ = reinterpret_cast<iconv_t>(-1);
    std::vector<char> raw_;
    std::size_t rawEnd_ = 0;
    std::string pending_; // bytes of a character cut by the piece's end
    bool ended_ = false;
    bool undecided_ = false;
    long lines_ = 1;
};

} // namespace vorn
