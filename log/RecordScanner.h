#pragma once

// The one reading of a log's bytes as records: the history's loading and
// the save's look at the file both go by it, so that a record the save
// accepts is one the loading finds.

#include "log/HistoryTable.h"
#include "log/LogReader.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorn {

// Splits the bytes fed to it into fields, separated by any run of spaces,
// tabs, CRs, LFs, VTs and FFs, and the fields into records of ten. A field
// must be a finite decimal number; reading stops at the first that is not,
// or at a record cut short by the end. The last 999 records are kept, each
// with whether it was saved without a fat percentage.
class RecordScanner {
public:
    using Record = RecordFields;
    static constexpr std::size_t kChunkSize = 64 * 1024;

    // `keepValues` false: only the counts and where reading stops, which a
    // whole log gives fast; no record is kept. `kept`: how many of the
    // latest records are kept, kEvery for all of them.
    static constexpr std::size_t kEvery = static_cast<std::size_t>(-1);
    explicit RecordScanner(bool keepValues = true, std::size_t kept = HistoryTable::kMaxRecords)
        : keepValues_(keepValues), kept_(kept == 0 ? 1 : kept) {}

    // False once reading has to stop.
    bool feed(const char* data, std::size_t size);
    // The end of the file.
    void finish();

    // The kept records, oldest first.
    std::vector<Record> records() const;
    // Hands the kept records over, oldest first, and keeps none.
    std::vector<Record> takeRecords();
    // For each kept record, oldest first, whether it is a short line: its
    // four fat fields each the text 000.00, which a line with a fat
    // percentage never holds (it writes a zero as 0.00).
    std::vector<bool> savedWithoutFat() const;
    LoadResult result() const;
    // Whether the last line, after the last LF, holds part of a field.
    bool lastLineHasField() const { return fieldOnLine_; }

    // Told of every complete record as it is read, with the lines (from 1)
    // of its first and its last field: a removal cuts exactly those lines.
    using RecordSeen = std::function<void(const Record&, long long firstLine, long long lastLine)>;
    void onRecord(RecordSeen seen) { seen_ = std::move(seen); }

private:
    void startField();
    bool endField(std::string_view field);
    void keep(const Record& record, bool withoutFat);
    std::size_t oldestSlot() const;
    bool stop(LoadResult::Stop why, long long line);

    bool isNumber(std::string_view field, double& value) const;

    bool keepValues_;
    std::size_t kept_;
    std::vector<Record> ring_;
    std::vector<bool> ringWithoutFat_; // beside ring_, slot for slot
    long long total_ = 0;              // complete records read
    Record current_{};
    std::size_t count_ = 0;          // fields of current_ filled
    bool currentWithoutFat_ = false; // its fat fields so far are all 000.00
    std::string field_;              // a field's start from an earlier chunk
    bool inField_ = false;
    bool fieldOnLine_ = false;
    long long line_ = 1; // a log of blank lines may hold more than INT_MAX
    long long fieldLine_ = 0;
    long long recordLine_ = 0;
    LoadResult result_;
    RecordSeen seen_;
};

} // namespace vorn
