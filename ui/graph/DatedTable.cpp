#include "ui/graph/DatedTable.h"

#include "core/Measurement.h"
#include "core/NumText.h"
#include "ui/graph/GridTable.h"

#include <limits>
#include <utility>

namespace vorn {

DatedTable::DatedTable(DatedLog log) : log_(std::move(log)) {}

std::string DatedTable::header(int column) {
    if (column == 0)
        return kGridNumberHeader;
    if (column == kGridDateColumn)
        return kGridDateHeader;
    return Facts(column - 2).gridHeader;
}

std::string DatedTable::text(std::size_t record, int column) const {
    const RecordFields& fields = log_.records.at(record);
    if (column == 0)
        return IntToStr(static_cast<long long>(record));
    if (column == kGridDateColumn) {
        if (const auto& date = log_.dates.at(record))
            return RecordDateText(*date);
        // As the grid writes a stamp: six digits.
        std::string stamp = FloatToStrF(fields[0], 6, 0);
        return fields[0] < 100000 ? '0' + stamp : stamp;
    }
    return GridText(fields.at(static_cast<std::size_t>(column) - 1), column - 2);
}

double DatedTable::sortKey(std::size_t record, int column) const {
    if (column == 0)
        return static_cast<double>(record);
    if (column == kGridDateColumn) {
        const auto& date = log_.dates.at(record);
        return date ? static_cast<double>(HoursSinceEpoch(*date))
                    : -std::numeric_limits<double>::infinity();
    }
    return log_.records.at(record).at(static_cast<std::size_t>(column) - 1);
}

KnownRecord DatedTable::known(std::size_t record) const {
    return {static_cast<long long>(record), log_.records.at(record)};
}

} // namespace vorn
