#include "targets/TargetTable.h"

namespace vorn {

const char* const kTargetKey = "Tav\\Vorn2";
const char* const kTargetSection = "TGT";

std::string MarkerHint(const TargetTable& table, int quantity) {
    return table[static_cast<size_t>(quantity)] + Facts(quantity).unit;
}

std::string TargetValueName(int quantity) {
    return "VAL" + std::to_string(quantity + 1);
}

} // namespace vorn
