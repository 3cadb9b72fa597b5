// Loading a log file into the history table, through the record scanner.

#include "log/LogReader.h"

#include "log/LogError.h"
#include "log/RecordScanner.h"

#include <vector>

namespace vorn {
namespace {

[[noreturn]] void readFailed(const std::string& path, const std::string& reason) {
    throw LogError("ファイル「" + path + "」を読み込めませんでした。\n理由: " + reason);
}

// Feeds the whole file, or what comes before a stop, to the scanner.
void Scan(LogFileSystem& fs, const std::string& path, RecordScanner& scanner) {
    LogFileSystem::Handle h = -1;
    IoStatus status = fs.openRead(path, h);
    if (!status.ok())
        readFailed(path, status.reason);

    std::vector<char> chunk(RecordScanner::kChunkSize);
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
}

} // namespace

LoadResult ReadHistory(LogFileSystem& fs, const std::string& path, HistoryTable& table) {
    RecordScanner scanner;
    Scan(fs, path, scanner);

    const std::vector<RecordScanner::Record> records = scanner.records();
    for (std::size_t k = 0; k < records.size(); ++k)
        for (std::size_t c = 0; c < records[k].size(); ++c)
            table.columns[c][k + 1] = records[k][c];
    return scanner.result();
}

WholeLog ReadWholeLog(LogFileSystem& fs, const std::string& path) {
    RecordScanner scanner(true, RecordScanner::kEvery);
    Scan(fs, path, scanner);
    WholeLog log;
    log.result = scanner.result();
    log.savedWithoutFat = scanner.savedWithoutFat();
    log.records = scanner.takeRecords();
    return log;
}

namespace {

// Where reading stopped, and why: "記録 3 件目（5 行目）で…中止しました".
std::string StopText(const LoadResult& r) {
    const std::string where = StopPlace(r);
    if (r.stop == LoadResult::Stop::NotANumber)
        return where + "で読み込みを中止しました（数値でない内容があります）。";
    return where + "が途中で終わっているため、読み込みを中止しました。";
}

} // namespace

std::string StopPlace(const LoadResult& r) {
    return "記録 " + std::to_string(r.stopRecord) + " 件目（" + std::to_string(r.stopLine) +
           " 行目）";
}

std::string StopNotice(const LoadResult& result) {
    return result.stop == LoadResult::Stop::End ? "" : StopText(result);
}

std::string ExportNotice(const WholeLog& log) {
    if (log.result.stop == LoadResult::Stop::End)
        return "";
    return StopText(log.result) +
           (log.records.empty()
                ? std::string("書き出せる記録はありません。")
                : "それより前の " + std::to_string(log.records.size()) + " 件を書き出しました。");
}

std::string LoadNotice(const LoadResult& r) {
    const std::string earlier = std::to_string(r.skipped);
    const std::string before =
        r.skipped > 0 ? "それより前の最新の " + std::to_string(r.records) +
                            " 件を表示します（さらに前の " + earlier + " 件は表示しません）。"
        : r.records > 0 ? "それより前の " + std::to_string(r.records) + " 件を表示します。"
                        : "表示できる記録はありません。";
    switch (r.stop) {
    case LoadResult::Stop::End:
        if (r.skipped == 0)
            return "";
        return "記録が999件を超えているため、最新の999件を表示します（それより前の " + earlier +
               " 件は表示しません）。";
    case LoadResult::Stop::NotANumber:
    case LoadResult::Stop::CutShort:
        return StopText(r) + before;
    }
    return "";
}

} // namespace vorn
