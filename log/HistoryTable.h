#pragma once

// The history table: the records of the last loaded log, one column per
// log field.

#include "core/Quantities.h"

#include <array>

namespace vorn {

struct HistoryTable {
    static constexpr int kColumns = 1 + kQuantityCount; // 0 date stamp, then the quantities
    static constexpr int kEntries = 1000;               // entry 0 is never used
    static constexpr int kMaxRecords = 999;             // entries 1..999

    // columns[c][k]: field c+1 of record k (k from 1).
    std::array<std::array<double, kEntries>, kColumns> columns{};

    double& at(int column, int entry) {
        return columns.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(entry));
    }
    double at(int column, int entry) const {
        return columns.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(entry));
    }
};

} // namespace vorn
