// Loading a log file: a chunked scanner for whitespace-separated numbers.

#include "log/LogReader.h"

#include "core/CharClass.h"
#include "core/DecimalText.h"
#include "log/LogError.h"

#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace vorn {
namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
// Far longer than any number the log holds; a longer field is refused, so
// that a file without whitespace is never gathered into memory.
constexpr std::size_t kMaxFieldLength = 512;

using Record = std::array<double, HistoryTable::kColumns>;

bool mayBeInNumber(char c) {
    return IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

bool parseField(const std::string& text, double& value) {
    const std::optional<double> read = ReadDouble(text);
    if (read)
        value = *read;
    return read.has_value();
}

[[noreturn]] void readFailed(const std::string& path, const std::string& reason) {
    throw LogError("ファイル「" + path + "」を読み込めませんでした。\n理由: " + reason);
}

// Splits the bytes fed to it into fields and fields into records.
class Scanner {
public:
    // False once reading has to stop.
    bool feed(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            if (IsSpace(c)) {
                if (inField_ && !endField())
                    return false;
                if (c == '\n')
                    ++line_;
                continue;
            }
            if (!inField_)
                startField();
            if (!mayBeInNumber(c) || field_.size() >= kMaxFieldLength)
                return stop(LoadResult::Stop::NotANumber, fieldLine_);
            field_ += c;
        }
        return true;
    }

    // The end of the file.
    void finish() {
        if (inField_ && !endField())
            return;
        if (count_ > 0)
            stop(LoadResult::Stop::CutShort, recordLine_);
    }

    // The kept records, oldest first.
    std::vector<Record> records() const {
        std::vector<Record> inOrder;
        inOrder.reserve(ring_.size());
        const std::size_t oldest =
            ring_.size() < kKept ? 0
                                 : static_cast<std::size_t>(total_ % static_cast<long long>(kKept));
        for (std::size_t k = 0; k < ring_.size(); ++k)
            inOrder.push_back(ring_[(oldest + k) % ring_.size()]);
        return inOrder;
    }

    LoadResult result() const {
        LoadResult r = result_;
        r.records = static_cast<int>(ring_.size());
        r.skipped = total_ - static_cast<long long>(ring_.size());
        return r;
    }

private:
    void startField() {
        inField_ = true;
        field_.clear();
        fieldLine_ = line_;
        if (count_ == 0)
            recordLine_ = line_;
    }

    bool endField() {
        inField_ = false;
        double value = 0;
        if (!parseField(field_, value))
            return stop(LoadResult::Stop::NotANumber, fieldLine_);
        current_[count_++] = value;
        if (count_ == current_.size()) {
            keep(current_);
            count_ = 0;
        }
        return true;
    }

    // The ring of the last kMaxRecords records: once full, record n (from 0)
    // takes slot n % kMaxRecords, the oldest one's.
    void keep(const Record& record) {
        if (ring_.size() < kKept)
            ring_.push_back(record);
        else
            ring_[static_cast<std::size_t>(total_ % static_cast<long long>(kKept))] = record;
        ++total_;
    }

    bool stop(LoadResult::Stop why, long long line) {
        result_.stop = why;
        result_.stopRecord = total_ + 1;
        result_.stopLine = line;
        return false;
    }

    static constexpr std::size_t kKept = HistoryTable::kMaxRecords;
    std::vector<Record> ring_;
    long long total_ = 0; // complete records read
    Record current_{};
    std::size_t count_ = 0; // fields of current_ filled
    std::string field_;
    bool inField_ = false;
    long long line_ = 1; // a log of blank lines may hold more than INT_MAX
    long long fieldLine_ = 0;
    long long recordLine_ = 0;
    LoadResult result_;
};

} // namespace

LoadResult ReadHistory(LogFileSystem& fs, const std::string& path, HistoryTable& table) {
    LogFileSystem::Handle h = -1;
    IoStatus status = fs.openRead(path, h);
    if (!status.ok())
        readFailed(path, status.reason);

    Scanner scanner;
    std::vector<char> chunk(kChunkSize);
    for (;;) {
        std::size_t got = 0;
        status = fs.read(h, chunk.data(), chunk.size(), got);
        if (!status.ok()) {
            fs.close(h);
            readFailed(path, status.reason);
        }
        if (got == 0) {
            scanner.finish();
            break;
        }
        if (!scanner.feed(chunk.data(), got))
            break;
    }
    // Everything needed has been read; a failing close loses nothing.
    fs.close(h);

    const std::vector<Record> records = scanner.records();
    for (std::size_t k = 0; k < records.size(); ++k)
        for (std::size_t c = 0; c < records[k].size(); ++c)
            table.columns[c][k + 1] = records[k][c];
    return scanner.result();
}

std::string LoadNotice(const LoadResult& r) {
    const std::string earlier = std::to_string(r.skipped);
    const std::string before =
        r.skipped > 0 ? "それより前の最新の " + std::to_string(r.records) +
                            " 件を表示します（さらに前の " + earlier + " 件は表示しません）。"
        : r.records > 0 ? "それより前の " + std::to_string(r.records) + " 件を表示します。"
                        : "表示できる記録はありません。";
    const std::string where =
        "記録 " + std::to_string(r.stopRecord) + " 件目（" + std::to_string(r.stopLine) + " 行目）";
    switch (r.stop) {
    case LoadResult::Stop::End:
        if (r.skipped == 0)
            return "";
        return "記録が999件を超えているため、最新の999件を表示します（それより前の " + earlier +
               " 件は表示しません）。";
    case LoadResult::Stop::NotANumber:
        return where + "で読み込みを中止しました（数値でない内容があります）。" + before;
    case LoadResult::Stop::CutShort:
        return where + "が途中で終わっているため、読み込みを中止しました。" + before;
    }
    return "";
}

} // namespace vorn
