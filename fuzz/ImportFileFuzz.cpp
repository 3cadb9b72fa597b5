// ReadImportFile on arbitrary bytes after the start of one of the formats
// it knows (byte 0 picks which, among those of this target's family): it
// may refuse the file, but only with an ImportError, and whatever it keeps
// must be sound: every reading at a real moment, with its weight and fat
// percentage as "digits.dd", each reading and row left out named, no more
// rows than the limit, and the progress never past the file's size.

#include "ReadBack.h"
#include "import/ImportError.h"
#include "import/ImportFile.h"
#include "import/ImportMoment.h"
#include "import/ImportRow.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vorn;
using vorn::fuzz::Fail;

namespace {

// clang-format off
const std::vector<std::string> kStarts = {
#if defined(VORN_FUZZ_TABLES)
    "日時,身長(cm),体重(kg),脂肪率(%),脂肪量(kg),除脂肪量(kg),体水分量(kg),標準体重(kg),BMI,肥満度(%)\r\n2026-08-30T20:00,",
    "DATE,TIME,BODY_FAT,WEIGHT\n2025-01-31,08:15,",
    "\"dateTime\",\"fat\",\"weight\"\n\"2019-01-01 08:00\",",
    "Date,\"Weight (lb)\",\"Fat mass (lb)\",Comments\n\"2020-01-15 07:31:02\",",
    "date,weight\n2021-03-18T09:30:00+01:00,",
    "日付;時刻;体重(kg);体脂肪率(%)\r\n2026/12/01;7:05;",
    "\xEF\xBB\xBF" "Date\tTime\tWeight (lb)\tBody fat %\n",
    "\xFF\xFE" "D\0a\0t\0e\0,\0W\0e\0i\0g\0h\0t\0\n\0",
    "\x93\xFA\x95\x74,\x91\xCC\x8F\x64\n",
#elif defined(VORN_FUZZ_LINES)
    "# This file was created with trale.\n#Date weight[kg]\n2025-12-24T16:00:00.000 ",
    "#Version: 6\n#Units: lbs\n\n#date;weight;weight trend;body fat;body fat trend;muscle mass;muscle mass trend;log\n",
#elif defined(VORN_FUZZ_APPLE)
    "<?xml version=\"1.0\"?>\n<HealthData>\n<Record type=\"HKQuantityTypeIdentifierBodyMass\" unit=\"",
    "<HealthData><Record type=\"HKQuantityTypeIdentifierBodyFatPercentage\" startDate=\"",
    "<!DOCTYPE HealthData [\n<!ELEMENT HealthData (Record*)>\n]>\n<HealthData>",
#endif
    "",
};
// clang-format on

std::string gPath;

void RemoveFile() {
    std::remove(gPath.c_str());
}

const std::string& FilePath() {
    static const std::string path = [] {
        // In memory where the system offers it: the target writes a file for
        // every input.
        char name[] = "/dev/shm/vorn-fuzz-import-XXXXXX";
        int fd = mkstemp(name);
        if (fd < 0) {
            std::strcpy(name, "/tmp/vorn-fuzz-import-XXXXXX");
            fd = mkstemp(name);
        }
        if (fd < 0)
            Fail("no temporary file");
        close(fd);
        gPath = name;
        std::atexit(RemoveFile);
        return gPath;
    }();
    return path;
}

bool IsHundredths(const std::string& text) {
    std::size_t k = text.starts_with("-") ? 1 : 0;
    const std::size_t point = text.find('.');
    if (point == std::string::npos || point == k || text.size() != point + 3)
        return false;
    for (; k < text.size(); ++k)
        if (k != point && (text[k] < '0' || text[k] > '9'))
            return false;
    return true;
}

void Check(const ImportedFile& file) {
    if (file.format.empty())
        Fail("a file read without its format");
    if (file.readings.size() + file.rejected.size() > kMostRows)
        Fail("more rows than the limit");
    for (const ImportedReading& r : file.readings) {
        WrittenMoment m{r.at.year, r.at.month, r.at.day, r.at.hour, r.at.minute, 0, true, {}};
        if (!IsRealMoment(m))
            Fail("a reading at no real moment");
        if (!IsHundredths(r.weightKg) || (r.fatPercent && !IsHundredths(*r.fatPercent)))
            Fail("a number not in hundredths: " + r.weightKg);
        if (r.where.empty())
            Fail("a reading without its place");
    }
    for (const RejectedRow& r : file.rejected)
        if (r.where.empty() || r.reason.empty())
            Fail("a row left out without its place or reason");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::string bytes = kStarts[data[0] % kStarts.size()];
    bytes.append(reinterpret_cast<const char*>(data + 1), size - 1);
    FILE* out = std::fopen(FilePath().c_str(), "wb");
    if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() ||
        std::fclose(out) != 0)
        Fail("cannot write the temporary file");
    const auto progress = [&](std::uint64_t done, std::uint64_t total) {
        if (done > total || total != bytes.size())
            Fail("progress past the file");
        return true;
    };
    try {
        Check(ReadImportFile(FilePath(), progress));
    } catch (const ImportError&) {
    }
    return 0;
}
