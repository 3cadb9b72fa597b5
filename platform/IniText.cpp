// The text of a settings file: finding a value, and editing the values
// lines while every other byte stays.

#include "platform/IniText.h"

#include <utility>

namespace vorn::ini {
namespace {

struct Line {
    std::size_t begin; // first byte
    std::size_t end;   // end of the text, before the line end
    std::size_t next;  // after the line end
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        if (lf == std::string_view::npos) {
            lines.push_back({pos, text.size(), text.size()});
            break;
        }
        const std::size_t end = lf > pos && text[lf - 1] == '\r' ? lf - 1 : lf;
        lines.push_back({pos, end, lf + 1});
        pos = lf + 1;
    }
    return lines;
}

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// What one line of the file is.
struct Parsed {
    enum Kind { Other, Header, Value } kind = Other;
    std::string_view name; // the section's or the value's, without blanks
    std::size_t eq = 0;    // of a value: the offset of its "=" in the line
};

// A line starting with "[" (after blanks) opens a section, named by what
// stands before the first "]"; without a "]" it is a section of no name. A
// line with an "=" in it is a value. Anything else (comments, blank lines)
// is only kept.
Parsed ParseLine(std::string_view line) {
    Parsed p;
    const std::string_view t = Trim(line);
    if (!t.empty() && t.front() == '[') {
        p.kind = Parsed::Header;
        const std::size_t close = t.find(']');
        if (close != std::string_view::npos && close > 1)
            p.name = Trim(t.substr(1, close - 1));
        return p;
    }
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos) {
        p.kind = Parsed::Value;
        p.name = Trim(line.substr(0, eq));
        p.eq = eq;
    }
    return p;
}

// The index of the first line holding `name` in a section called `section`,
// or npos.
std::size_t FindLine(std::string_view text, const std::vector<Line>& lines,
                     std::string_view section, std::string_view name) {
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = ParseLine(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (p.kind == Parsed::Header)
            inSection = !p.name.empty() && SameName(p.name, section);
        else if (inSection && p.kind == Parsed::Value && !p.name.empty() && SameName(p.name, name))
            return i;
    }
    return std::string_view::npos;
}

// Where a value missing from the first section called `section` goes: after
// that section's last value, or after its header; npos when there is none.
std::size_t InsertionLine(std::string_view text, const std::vector<Line>& lines,
                          std::string_view section) {
    std::size_t at = std::string_view::npos;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = ParseLine(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (p.kind == Parsed::Header) {
            if (at != std::string_view::npos)
                break;
            if (!p.name.empty() && SameName(p.name, section))
                at = i;
        } else if (at != std::string_view::npos && p.kind == Parsed::Value) {
            at = i;
        }
    }
    return at;
}

// A value that would not read back from its line: a line feed splits it, and
// a carriage return at its end would join the line end.
bool BreaksLine(std::string_view value) {
    return value.find('\n') != std::string_view::npos || (!value.empty() && value.back() == '\r');
}

// What an edit does to the lines of the text, and the sections it adds.
class Plan {
public:
    Plan(std::string_view text) : text_(text), lines_(SplitLines(text)) {
        replaced_.resize(lines_.size());
        isReplaced_.resize(lines_.size(), false);
        after_.resize(lines_.size());
    }

    void add(const Write& w, std::vector<std::string>& refused) {
        const std::size_t i = FindLine(text_, lines_, w.section, w.name);
        if (i != std::string_view::npos) {
            replace(i, w, refused);
            return;
        }
        if (BreaksLine(w.value)) {
            refused.push_back(w.name);
            return;
        }
        const std::size_t at = InsertionLine(text_, lines_, w.section);
        if (at != std::string_view::npos) {
            put(after_[at], w);
            return;
        }
        auto sec = added_.begin();
        while (sec != added_.end() && !SameName(sec->first, w.section))
            ++sec;
        if (sec == added_.end()) {
            added_.push_back({w.section, {}});
            sec = added_.end() - 1;
        }
        put(sec->second, w);
    }

    std::string render() const {
        const std::string eol =
            !lines_.empty() && lines_[0].next > lines_[0].end + 1 ? std::string("\r\n") : "\n";
        std::string out;
        out.reserve(text_.size() + 256);
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const Line& l = lines_[i];
            if (isReplaced_[i])
                out += replaced_[i];
            else
                out.append(text_.substr(l.begin, l.end - l.begin));
            if (l.next > l.end)
                out.append(text_.substr(l.end, l.next - l.end));
            else if (!after_[i].empty() || !added_.empty())
                // The last line, which had none, is followed now; a CR at
                // its end stays part of it.
                out += out.back() == '\r' ? "\r\n" : eol;
            for (const std::string& s : after_[i])
                out += s + eol;
        }
        for (const auto& [section, values] : added_)
            appendSection(out, section, values, eol);
        return out;
    }

private:
    // A value found on line `i`.
    void replace(std::size_t i, const Write& w, std::vector<std::string>& refused) {
        const std::string_view line =
            text_.substr(lines_[i].begin, lines_[i].end - lines_[i].begin);
        const std::size_t eq = line.find('=');
        // What the file holds already needs no writing, even a value that
        // could not be written (one that ends in a CR).
        isReplaced_[i] = line.substr(eq + 1) != w.value;
        if (isReplaced_[i] && BreaksLine(w.value)) {
            isReplaced_[i] = false;
            refused.push_back(w.name);
        } else if (isReplaced_[i]) {
            replaced_[i] = std::string(line.substr(0, eq + 1)) + w.value;
        }
    }

    // A value added to a list of new lines; one added before is written again.
    static void put(std::vector<std::string>& list, const Write& w) {
        const std::string entry = w.name + "=" + w.value;
        for (std::string& s : list)
            if (SameName(std::string_view(s).substr(0, s.find('=')), w.name)) {
                s = entry;
                return;
            }
        list.push_back(entry);
    }

    static void appendSection(std::string& out, const std::string& section,
                              const std::vector<std::string>& values, const std::string& eol) {
        if (!out.empty()) {
            // Here `out` ends with a line end: a blank line before the new
            // section, unless its last line is blank already.
            std::string_view last(out.data(), out.size() - 1);
            if (!last.empty() && last.back() == '\r')
                last.remove_suffix(1);
            const std::size_t lf = last.rfind('\n');
            if (!Trim(last.substr(lf == std::string_view::npos ? 0 : lf + 1)).empty())
                out += eol;
        }
        out += "[" + section + "]" + eol;
        for (const std::string& s : values)
            out += s + eol;
    }

    std::string_view text_;
    std::vector<Line> lines_;
    std::vector<std::string> replaced_;
    std::vector<bool> isReplaced_;
    std::vector<std::vector<std::string>> after_;
    std::vector<std::pair<std::string, std::vector<std::string>>> added_;
};

} // namespace

bool Find(std::string_view text, std::string_view section, std::string_view name,
          std::string& value) {
    const std::vector<Line> lines = SplitLines(text);
    const std::size_t i = FindLine(text, lines, section, name);
    if (i == std::string_view::npos)
        return false;
    const Line& l = lines[i];
    const std::string_view line = text.substr(l.begin, l.end - l.begin);
    value = line.substr(line.find('=') + 1);
    return true;
}

std::string Edit(std::string_view text, const std::vector<Write>& writes,
                 std::vector<std::string>& refused) {
    Plan plan(text);
    for (const Write& w : writes)
        plan.add(w, refused);
    return plan.render();
}

} // namespace vorn::ini
