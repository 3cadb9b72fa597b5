// A chunked scanner for whitespace-separated numbers, ten to a record.

#include "log/RecordScanner.h"

#include "core/CharClass.h"
#include "core/DecimalText.h"

#include <optional>

namespace vorn {
namespace {

// Far longer than any number the log holds; a longer field is refused, so
// that a file without whitespace is never gathered into memory.
constexpr std::size_t kMaxFieldLength = 512;

// A plain decimal this short ("-12.50") is always a finite number.
constexpr std::size_t kSurelyFinite = 300;

// How a short line writes each fat field.
constexpr std::string_view kShortFatField = "000.00";

// The ring's entries oldest first, `oldest` being the slot of the oldest.
template <typename T> std::vector<T> InOrder(const std::vector<T>& ring, std::size_t oldest) {
    std::vector<T> inOrder;
    inOrder.reserve(ring.size());
    for (std::size_t k = 0; k < ring.size(); ++k)
        inOrder.push_back(ring[(oldest + k) % ring.size()]);
    return inOrder;
}

bool mayBeInNumber(char c) {
    return IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

} // namespace

bool RecordScanner::feed(const char* data, std::size_t size) {
    const char* p = data;
    const char* const end = data + size;
    while (p < end) {
        if (!inField_) {
            for (; p < end && IsSpace(*p); ++p)
                if (*p == '\n') {
                    ++line_;
                    fieldOnLine_ = false;
                }
            if (p == end)
                break;
            startField();
        }
        // The field, or as much of it as this chunk holds.
        const char* const from = p;
        for (; p < end && !IsSpace(*p); ++p)
            if (!mayBeInNumber(*p))
                return stop(LoadResult::Stop::NotANumber, fieldLine_);
        if (static_cast<std::size_t>(p - from) > kMaxFieldLength - field_.size())
            return stop(LoadResult::Stop::NotANumber, fieldLine_);
        if (p == end || !field_.empty())
            field_.append(from, p); // a field that reaches over a chunk's end
        if (p < end && !endField(field_.empty() ? std::string_view(from, p - from) : field_))
            return false;
    }
    return true;
}

void RecordScanner::finish() {
    if (inField_ && !endField(field_))
        return;
    if (count_ > 0)
        stop(LoadResult::Stop::CutShort, recordLine_);
}

std::size_t RecordScanner::oldestSlot() const {
    return ring_.size() < kept_ ? 0
                                : static_cast<std::size_t>(total_ % static_cast<long long>(kept_));
}

std::vector<RecordScanner::Record> RecordScanner::records() const {
    return InOrder(ring_, oldestSlot());
}

std::vector<RecordScanner::Record> RecordScanner::takeRecords() {
    std::vector<Record> inOrder = ring_.size() < kept_ ? std::move(ring_) : records();
    ring_.clear();
    ringWithoutFat_.clear();
    return inOrder;
}

std::vector<bool> RecordScanner::savedWithoutFat() const {
    return InOrder(ringWithoutFat_, oldestSlot());
}

LoadResult RecordScanner::result() const {
    LoadResult r = result_;
    r.records = static_cast<int>(ring_.size());
    r.skipped = total_ - static_cast<long long>(ring_.size());
    return r;
}

void RecordScanner::startField() {
    inField_ = true;
    fieldOnLine_ = true;
    field_.clear();
    fieldLine_ = line_;
    if (count_ == 0)
        recordLine_ = line_;
}

// Whether the field reads as a number, as ReadDouble says; `value` gets it
// when values are kept.
bool RecordScanner::isNumber(std::string_view field, double& value) const {
    if (!keepValues_ && field.size() <= kSurelyFinite &&
        field.find_first_of("eE") == std::string_view::npos)
        return IsDecimalNumber(field);
    const std::optional<double> read = ReadDouble(field);
    value = read.value_or(0);
    return read.has_value();
}

bool RecordScanner::endField(std::string_view field) {
    inField_ = false;
    double value = 0;
    if (!isNumber(field, value))
        return stop(LoadResult::Stop::NotANumber, fieldLine_);
    if (count_ == 0)
        currentWithoutFat_ = true;
    else if (Facts(static_cast<int>(count_) - 1).fatField)
        currentWithoutFat_ = currentWithoutFat_ && field == kShortFatField;
    current_[count_++] = value;
    if (count_ == current_.size()) {
        if (seen_)
            seen_(current_, recordLine_, fieldLine_);
        keep(current_, currentWithoutFat_);
        count_ = 0;
    }
    return true;
}

// The ring of the last kept_ records: once full, record n (from 0) takes
// slot n % kept_, the oldest one's.
void RecordScanner::keep(const Record& record, bool withoutFat) {
    if (keepValues_ && ring_.size() < kept_) {
        ring_.push_back(record);
        ringWithoutFat_.push_back(withoutFat);
    } else if (keepValues_) {
        const auto slot = static_cast<std::size_t>(total_ % static_cast<long long>(kept_));
        ring_[slot] = record;
        ringWithoutFat_[slot] = withoutFat;
    }
    ++total_;
}

bool RecordScanner::stop(LoadResult::Stop why, long long line) {
    result_.stop = why;
    result_.stopRecord = total_ + 1;
    result_.stopLine = line;
    return false;
}

} // namespace vorn
