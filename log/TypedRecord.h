#pragma once

// The log line that the main window saves for texts typed into its three
// fields, measured and saved at once: the one way a record is made outside
// the window too (an import, a record added from a script).

#include <optional>
#include <string>

namespace vorn {

struct TypedInputs {
    std::string height;
    std::string weight;
    std::optional<std::string> fat; // none: the fat field left empty
};

// The texts converted as typed text is (StrToFloat, into single precision),
// derived by the measurement core, the results read back from their shown
// two-decimal texts, and the line written in the full form with a fat
// percentage, the short form without. `stamp` is month × 10000 + day × 100 +
// hour. Raises ConvertError for a text that is no number, or when a value
// to print is not finite (a height of 0).
std::string TypedRecordLine(int stamp, const TypedInputs& typed);

} // namespace vorn
