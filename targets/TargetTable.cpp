#include "targets/TargetTable.h"

namespace vorn {

const char* const kTargetKey = "Tav\\Vorn2";
const char* const kTargetSection = "TGT";

const char* UnitSuffix(int quantity) {
    static const char* const suffixes[9] = {"cm", "kg", "%", "kg", "kg", "kg", "kg", "", "%"};
    return suffixes[quantity];
}

std::string MarkerHint(const TargetTable& table, int quantity) {
    return table[static_cast<size_t>(quantity)] + UnitSuffix(quantity);
}

std::string TargetValueName(int quantity) {
    return "VAL" + std::to_string(quantity + 1);
}

} // namespace vorn
