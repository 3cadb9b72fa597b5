#pragma once

// Taking records out of a log's bytes and putting new lines in: whole lines
// go or come, every other byte stays as it was.

#include "log/RecordScanner.h"

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// A record as the history window knows it: its place among all the records
// of the file (from 0, the first record of the file; after a load that left
// out `skipped` older records, history entry k is record skipped + k - 1)
// and its ten fields as read, so that a log changed since is noticed.
struct KnownRecord {
    long long index = 0;
    RecordScanner::Record fields{};
};

// History entry `entry` (from 1) of `table`, as ReadHistory left it with
// `skipped` older records left out (LoadResult::skipped).
KnownRecord HistoryRecord(const HistoryTable& table, long long skipped, int entry);

// The reason for a log that no longer holds what was read from it.
inline const char* const kChangedSince =
    "記録を読み込んだ後に、ほかのプログラムがファイルを変更しています";

// Reads `log` as the history does and writes to `kept` its bytes without the
// lines that hold the given records, from the line of a record's first field
// to the line end (or the file's end) of its last one, blank lines between
// included. Returns an empty string when done, else the reason for the
// user, `kept` then holding nothing of use: the log is damaged (a field that is no
// number, a record cut short), a record is not there with those fields, or
// a line to remove holds part of another record too.
std::string CutRecords(std::string_view log, const std::vector<KnownRecord>& records,
                       std::string& kept);

// A record's line to put in: just before the line where the record at
// `before` (its place among the log's records, from 0) starts, or at the
// end of the file when `before` is the number of records.
struct NewLine {
    long long before = 0;
    std::string line; // line end included
};

// CutRecords, and the new lines put in as well in the same pass; lines with
// the same place go in in the order given. At the end, a last line without
// a line end gets one first. Refused, besides, when a new line's place is
// not there, or when the record at that place starts on the line where the
// one before it ends.
std::string SpliceRecords(std::string_view log, const std::vector<KnownRecord>& records,
                          const std::vector<NewLine>& lines, std::string& updated);

} // namespace vorn
