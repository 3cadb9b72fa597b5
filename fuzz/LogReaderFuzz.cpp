// ReadHistory on arbitrary bytes, compared with a plain model of the log:
// the file split at whitespace into fields, a field being a number when C's
// strtod reads all of it to a finite value (decimal only, at most 512
// characters). The reader must keep exactly the complete records before the
// first field that is not a number, the last 999 of them, each with ten
// finite fields equal to the file's, say how many earlier ones it left out,
// stop for the right reason at the right record and line,
// leave every other table entry alone and close the file, whatever sizes
// the reads come in and whichever read fails. The save's look at the file
// (RecordScanner without values) stops at the same place.
//
// Input: byte 0 sets the read size (0: whole chunks), byte 1 repeats the
// rest up to some thousand times (to get past 999 records), byte 2 makes one
// read fail; the rest is the file.

#include "ReadBack.h"
#include "core/DecimalText.h"
#include "log/HistoryTable.h"
#include "log/LogError.h"
#include "log/LogFileSystem.h"
#include "log/LogReader.h"
#include "log/RecordScanner.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace vorn;
using vorn::fuzz::Fail;

namespace {

// A file in memory, read in pieces of at most `step` bytes; read number
// `failRead` (from 1) fails.
class MemoryFileSystem : public LogFileSystem {
public:
    MemoryFileSystem(const std::string& bytes, std::size_t step, int failRead)
        : bytes_(bytes), step_(step), failRead_(failRead) {}

    int opened = 0;
    int closed = 0;
    bool failed = false;

    IoStatus openAppend(const std::string&, Handle&, bool&) override { return {"unsupported"}; }
    IoStatus openRead(const std::string&, Handle& handle) override {
        handle = 7;
        ++opened;
        return {};
    }
    IoStatus lock(Handle) override { return {"unsupported"}; }
    IoStatus isAt(const std::string&, Handle, bool&) override { return {"unsupported"}; }
    IoStatus size(Handle, std::uint64_t&) override { return {"unsupported"}; }
    IoStatus readAt(Handle, std::uint64_t, char*, std::size_t, std::size_t&) override {
        return {"unsupported"};
    }
    IoStatus syncFolder(const std::string&) override { return {"unsupported"}; }
    IoStatus removeIfEmpty(const std::string&, Handle) override { return {"unsupported"}; }
    IoStatus write(Handle, std::string_view, std::size_t&) override { return {"unsupported"}; }
    IoStatus truncate(Handle, std::uint64_t) override { return {"unsupported"}; }
    IoStatus sync(Handle) override { return {"unsupported"}; }
    IoStatus read(Handle handle, char* buffer, std::size_t capacity, std::size_t& got) override {
        if (handle != 7 || opened != 1 || closed != 0)
            Fail("read through a closed handle");
        if (++reads_ == failRead_) {
            failed = true;
            return {"入出力エラー"};
        }
        got = std::min({capacity, step_, bytes_.size() - at_});
        std::memcpy(buffer, bytes_.data() + at_, got);
        at_ += got;
        return {};
    }
    IoStatus unlock(Handle) override { return {"unsupported"}; }
    IoStatus resolve(const std::string&, std::string&) override { return {"unsupported"}; }
    IoStatus permissions(Handle, unsigned&) override { return {"unsupported"}; }
    IoStatus createBeside(const std::string&, unsigned, Handle&, std::string&) override {
        return {"unsupported"};
    }
    IoStatus rename(const std::string&, const std::string&) override { return {"unsupported"}; }
    IoStatus remove(const std::string&) override { return {"unsupported"}; }
    IoStatus duplicate(Handle, Handle&) override { return {"unsupported"}; }
    IoStatus close(Handle handle) override {
        if (handle != 7)
            Fail("closed a handle never opened");
        ++closed;
        return {};
    }

private:
    const std::string& bytes_;
    std::size_t step_;
    int failRead_;
    int reads_ = 0;
    std::size_t at_ = 0;
};

// The model's parts are left out of the coverage that guides the fuzzer.
#define VORN_MODEL __attribute__((no_sanitize("coverage")))

VORN_MODEL bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

struct Field {
    std::string_view text;
    int line;
};

VORN_MODEL bool number(std::string_view text, double& value) {
    if (text.size() > 512 || text.find_first_not_of("0123456789+-.eE") != std::string::npos)
        return false;
    const std::string copy(text);
    char* end = nullptr;
    value = strtod_l(copy.c_str(), &end, CLocale());
    return end == copy.c_str() + copy.size() && std::isfinite(value);
}

// The fields of the file up to the first that is not a number.
VORN_MODEL std::vector<Field> fieldsOf(std::string_view bytes) {
    std::vector<Field> fields;
    int line = 1;
    double value = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        if (isSpace(bytes[i])) {
            line += bytes[i++] == '\n';
            continue;
        }
        const std::size_t from = i;
        while (i < bytes.size() && !isSpace(bytes[i]))
            ++i;
        fields.push_back({bytes.substr(from, i - from), line});
        if (!number(fields.back().text, value))
            break;
    }
    return fields;
}

constexpr double kUntouched = -12345.678;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const std::size_t step = data[0] == 0 ? SIZE_MAX : data[0];
    const std::size_t repeat = data[1] < 200 ? 1 : (data[1] - 199u) * 40;
    const int failRead = data[2] < 16 ? data[2] : 0;
    const std::string body(reinterpret_cast<const char*>(data) + 3, size - 3);
    std::string bytes;
    for (std::size_t k = 0; k < repeat && bytes.size() < (1u << 18); ++k)
        bytes += body;

    static auto table = std::make_unique<HistoryTable>();
    for (auto& column : table->columns)
        column.fill(kUntouched);

    MemoryFileSystem fs(bytes, step, failRead);
    LoadResult result;
    bool threw = false;
    try {
        result = ReadHistory(fs, "/memory/data.txt", *table);
    } catch (const LogError& e) {
        threw = true;
        if (std::string(e.what()).find("/memory/data.txt") == std::string::npos)
            Fail("the message does not name the file");
    }
    if (fs.opened != 1 || fs.closed != 1)
        Fail("the file is not closed exactly once");
    if (threw != fs.failed)
        Fail("a failed read and the error do not match");
    if (threw) {
        for (const auto& column : table->columns)
            for (double v : column)
                if (v != kUntouched)
                    Fail("a failed load changed the table");
        return 0;
    }

    // The model's answer.
    const std::vector<Field> fields = fieldsOf(bytes);
    double value = 0;
    const std::size_t good =
        fields.empty() || number(fields.back().text, value) ? fields.size() : fields.size() - 1;
    const long long complete = static_cast<long long>(good / 10);
    const int kept = static_cast<int>(std::min<long long>(complete, HistoryTable::kMaxRecords));
    const long long skipped = complete - kept;
    LoadResult expected;
    if (good < fields.size()) {
        expected = {kept, LoadResult::Stop::NotANumber, complete + 1, fields[good].line, skipped};
    } else if (good % 10 != 0) {
        expected = {kept, LoadResult::Stop::CutShort, complete + 1, fields[good / 10 * 10].line,
                    skipped};
    } else {
        expected = {kept, LoadResult::Stop::End, 0, 0, skipped};
    }

    if (result.records > HistoryTable::kMaxRecords)
        Fail("more than 999 records");
    // The save's look at the file, which keeps no values, stops alike.
    RecordScanner check(false);
    bool reading = true;
    for (std::size_t at = 0, n = 0; reading && at < bytes.size(); at += n) {
        n = std::min(step, bytes.size() - at);
        reading = check.feed(bytes.data() + at, n);
    }
    if (reading)
        check.finish();
    const LoadResult checked = check.result();
    if (checked.stop != result.stop || checked.stopRecord != result.stopRecord ||
        checked.stopLine != result.stopLine)
        Fail("the save's look at the file and the loading disagree");
    if (result.records != expected.records || result.stop != expected.stop ||
        result.stopRecord != expected.stopRecord || result.stopLine != expected.stopLine ||
        result.skipped != expected.skipped)
        Fail("records " + std::to_string(result.records) + " (" + std::to_string(result.skipped) +
             " left out) stop " + std::to_string(static_cast<int>(result.stop)) + " at record " +
             std::to_string(result.stopRecord) + " line " + std::to_string(result.stopLine) +
             "; expected " + std::to_string(expected.records) + " (" +
             std::to_string(expected.skipped) + " left out) stop " +
             std::to_string(static_cast<int>(expected.stop)) + " at record " +
             std::to_string(expected.stopRecord) + " line " + std::to_string(expected.stopLine));
    const bool whole = result.stop == LoadResult::Stop::End && result.skipped == 0;
    if (LoadNotice(result).empty() != whole)
        Fail("a notice after a whole load, or none after a stop or a cut");

    for (int c = 0; c < HistoryTable::kColumns; ++c) {
        if (table->at(c, 0) != kUntouched)
            Fail("entry 0 was written");
        for (int k = 1; k < HistoryTable::kEntries; ++k) {
            const double got = table->at(c, k);
            if (k > result.records) {
                if (got != kUntouched)
                    Fail("an entry after the last record was written");
                continue;
            }
            const Field& field = fields[static_cast<std::size_t>((skipped + k - 1) * 10 + c)];
            if (!std::isfinite(got))
                Fail("a field that is not finite");
            if (!number(field.text, value) || std::memcmp(&value, &got, sizeof value) != 0)
                Fail("record " + std::to_string(k) + " field " + std::to_string(c) + " is not '" +
                     std::string(field.text) + "'");
        }
    }
    return 0;
}
