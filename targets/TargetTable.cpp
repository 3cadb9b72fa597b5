#include "targets/TargetTable.h"

namespace vorn {

const char* const kTargetSection = "TGT";

namespace {
const char* const kValueNames[kQuantityCount] = {"VAL1", "VAL2", "VAL3", "VAL4", "VAL5",
                                                 "VAL6", "VAL7", "VAL8", "VAL9"};
} // namespace

std::string MarkerHint(const TargetTable& table, int quantity) {
    return table[static_cast<size_t>(quantity)] + Facts(quantity).unit;
}

std::string TargetValueName(int quantity) {
    return kValueNames[quantity];
}

Setting<std::string> TargetSetting(int quantity) {
    return {{kTargetSection, kValueNames[quantity], "目標値"}, "", rule::Verbatim};
}

} // namespace vorn
