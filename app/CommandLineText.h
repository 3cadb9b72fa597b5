#pragma once

// The wording shared by every command of the command line: its usage errors
// and the way a text from the user or a file is echoed on a terminal.

#include <string>

namespace vorn {

// Control characters (C0, DEL and C1, which a terminal would obey) become
// '?'; `lines` keeps the line ends of a message of ours.
std::string Printable(std::string text, bool lines = false);

// The whole of standard error for a usage error.
std::string UsageErrorText(const std::string& message);

// An argument that is no option of its place.
std::string Unexpected(const std::string& arg);
std::string GivenTwice(const std::string& option);
std::string NeedsValue(const std::string& option);

} // namespace vorn
