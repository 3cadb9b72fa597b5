#include "import/DecodedText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vorn {
namespace {

constexpr std::size_t kPiece = 256 * 1024;

// Length of the valid UTF-8 at the start of [p, p + n), stopping before a
// character cut by the end; `bad` is set at a byte that can never be valid.
// NUL counts as bad: it is no text.
std::size_t ValidUtf8(const unsigned char* p, std::size_t n, bool& bad) {
    std::size_t k = 0;
    bad = false;
    while (k < n) {
        const unsigned char c = p[k];
        if (c != 0 && c < 0x80) {
            ++k;
            continue;
        }
        std::size_t len = c >= 0xC2 && c <= 0xDF   ? 2
                          : c >= 0xE0 && c <= 0xEF ? 3
                          : c >= 0xF0 && c <= 0xF4 ? 4
                                                   : 0;
        if (len == 0) {
            bad = true;
            return k;
        }
        unsigned char lo = 0x80, hi = 0xBF;
        if (c == 0xE0)
            lo = 0xA0;
        else if (c == 0xED)
            hi = 0x9F;
        else if (c == 0xF0)
            lo = 0x90;
        else if (c == 0xF4)
            hi = 0x8F;
        for (std::size_t j = 1; j < len; ++j) {
            if (k + j >= n)
                return k;
            const unsigned char t = p[k + j];
            if (t < (j == 1 ? lo : 0x80) || t > (j == 1 ? hi : 0xBF)) {
                bad = true;
                return k;
            }
        }
        k += len;
    }
    return k;
}

long CountLines(const char* p, std::size_t n) {
    return static_cast<long>(std::count(p, p + n, '\n'));
}

} // namespace

DecodedText::DecodedText(ImportInput& input) : input_(input), raw_(input.pieceSize(kPiece)) {
    fill();
    const auto* p = reinterpret_cast<const unsigned char*>(raw_.data());
    const char* from = nullptr;
    if (rawEnd_ >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        raw_.erase(raw_.begin(), raw_.begin() + 3);
        raw_.resize(raw_.size() + 3);
        rawEnd_ -= 3;
    } else if (rawEnd_ >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        from = p[0] == 0xFF ? "UTF-16LE" : "UTF-16BE";
        encoding_ = "UTF-16";
        raw_.erase(raw_.begin(), raw_.begin() + 2);
        raw_.resize(raw_.size() + 2);
        rawEnd_ -= 2;
    } else {
        // Until a byte beyond ASCII comes, UTF-8 and Shift_JIS read alike.
        undecided_ = true;
    }
    if (from != nullptr)
        convertFrom(from);
}

void DecodedText::convertFrom(const char* from) {
    converter_ = iconv_open("UTF-8", from);
    if (converter_ == reinterpret_cast<iconv_t>(-1))
        input_.fail(std::string(encoding_) + " を読む変換がこのシステムにありません");
}

// Without a byte order mark, the first piece that holds more than ASCII
// decides: UTF-8 if it reads as UTF-8, else Shift_JIS.
void DecodedText::decide() {
    const auto* p = reinterpret_cast<const unsigned char*>(pending_.data());
    if (std::none_of(p, p + pending_.size(), [](unsigned char c) { return c >= 0x80 || c == 0; }))
        return;
    undecided_ = false;
    bool bad = false;
    ValidUtf8(p, pending_.size(), bad);
    if (bad) {
        encoding_ = "Shift_JIS";
        convertFrom("CP932");
    }
}

DecodedText::~DecodedText() {
    if (converter_ != reinterpret_cast<iconv_t>(-1))
        iconv_close(converter_);
}

bool DecodedText::fill() {
    if (ended_)
        return false;
    const std::size_t n = input_.read(raw_.data(), raw_.size());
    rawEnd_ = n;
    ended_ = n == 0;
    return n != 0;
}

void DecodedText::badBytes() const {
    input_.fail(std::to_string(lines_) + "行目に " + encoding_ +
                " の文字として正しくないバイトがあります");
}

bool DecodedText::more(std::string& out) {
    if (rawEnd_ == 0 && !fill()) {
        if (!pending_.empty())
            input_.fail(std::string("ファイルが ") + encoding_ + " の文字の途中で終わっています");
        return false;
    }
    pending_.append(raw_.data(), rawEnd_);
    rawEnd_ = 0;
    if (undecided_)
        decide();
    if (converter_ == reinterpret_cast<iconv_t>(-1))
        appendUtf8(out);
    else
        appendConverted(out);
    return true;
}

void DecodedText::appendUtf8(std::string& out) {
    bool bad = false;
    const std::size_t good =
        ValidUtf8(reinterpret_cast<const unsigned char*>(pending_.data()), pending_.size(), bad);
    lines_ += CountLines(pending_.data(), good);
    if (bad)
        badBytes();
    out.append(pending_, 0, good);
    pending_.erase(0, good);
}

void DecodedText::appendConverted(std::string& out) {
    char* in = pending_.data();
    std::size_t inLeft = pending_.size();
    std::string buffer(inLeft * 3 + 16, '\0');
    char* to = buffer.data();
    std::size_t toLeft = buffer.size();
    const std::size_t r = iconv(converter_, &in, &inLeft, &to, &toLeft);
    const int err = errno;
    const std::size_t made = buffer.size() - toLeft;
    lines_ += CountLines(buffer.data(), made);
    if (r == static_cast<std::size_t>(-1) && err != EINVAL)
        badBytes();
    if (std::memchr(buffer.data(), '\0', made) != nullptr)
        badBytes();
    out.append(buffer.data(), made);
    pending_.erase(0, pending_.size() - inLeft);
}

} // namespace vorn
