#pragma once

// The text of a settings file, apart from any file: sections ("[TGT]") and
// values ("VAL1=65.00"), read verbatim and edited in place.

#include <string>
#include <string_view>
#include <vector>

namespace vorn::ini {

// Names of sections and values match without regard to ASCII case. A
// value's text is everything after the first "=" of its line up to the line
// end (CR LF or LF), byte for byte. When a name is there twice, the first
// line counts, for reading and for writing.

struct Write {
    std::string section;
    std::string name;
    std::string value;
};

// The text of a value; false when it is missing.
bool Find(std::string_view text, std::string_view section, std::string_view name,
          std::string& value);

// The text with the writes made: each value's line keeps everything up to
// its "=" and its line end, a value missing from its section is added after
// the section's last value, a missing section is added at the end, and every
// other byte stays as it was. Values with a line end in them cannot be kept
// in a line: they are left out and their names added to `refused`.
std::string Edit(std::string_view text, const std::vector<Write>& writes,
                 std::vector<std::string>& refused);

} // namespace vorn::ini
