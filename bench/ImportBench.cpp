// The import's reading of a large Apple Health export, for bench/run.sh.
//
//   vorn_bench_import write FILE MEGABYTES   writes an export of about that size
//   vorn_bench_import read FILE              reads it, prints the counts
//
// The export is shaped as Apple's: a DOCTYPE with its internal subset, and
// mostly step counts and heart rates, with metadata, among which one
// record in fifty is a body mass and one in a hundred a fat percentage at
// the moment of a body mass.

#include "import/ImportError.h"
#include "import/ImportFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE HealthData [\n"
    "<!ELEMENT HealthData (ExportDate,Me,(Record|Correlation|Workout|ActivitySummary)*)>\n"
    "<!ATTLIST HealthData locale CDATA #REQUIRED>\n"
    "<!ELEMENT ExportDate EMPTY>\n<!ATTLIST ExportDate value CDATA #REQUIRED>\n"
    "<!ELEMENT Me EMPTY>\n<!ATTLIST Me HKCharacteristicTypeIdentifierBiologicalSex CDATA "
    "#REQUIRED>\n"
    "<!ELEMENT Record ((MetadataEntry|HeartRateVariabilityMetadataList)*)>\n"
    "<!ATTLIST Record type CDATA #REQUIRED unit CDATA #IMPLIED value CDATA #IMPLIED\n"
    "  sourceName CDATA #REQUIRED sourceVersion CDATA #IMPLIED device CDATA #IMPLIED\n"
    "  creationDate CDATA #IMPLIED startDate CDATA #REQUIRED endDate CDATA #REQUIRED>\n"
    "<!ELEMENT MetadataEntry EMPTY>\n<!ATTLIST MetadataEntry key CDATA #REQUIRED value CDATA "
    "#REQUIRED>\n"
    "]>\n"
    "<HealthData locale=\"ja_JP\">\n"
    " <ExportDate value=\"2026-12-01 08:00:00 +0900\"/>\n"
    " <Me HKCharacteristicTypeIdentifierBiologicalSex=\"HKBiologicalSexNotSet\"/>\n";

const char* const kDevice =
    "&lt;&lt;HKDevice: 0x283f2c0a0&gt;, name:iPhone, manufacturer:Apple Inc., model:iPhone, "
    "software:17.1&gt;";

int Write(const char* path, long megabytes) {
    FILE* out = std::fopen(path, "w");
    if (out == nullptr)
        return 1;
    std::fputs(kHead, out);
    const long long bytes = megabytes * 1024LL * 1024LL;
    char stamp[40];
    for (long long n = 0; std::ftell(out) < bytes; ++n) {
        // A fat percentage has the moment of the body mass before it.
        const long long minutes = (n % 100 == 1 ? n - 1 : n) * 7;
        std::snprintf(stamp, sizeof stamp, "%04lld-%02lld-%02lld %02lld:%02lld:00 +0900",
                      2015 + minutes / 525600 % 10, 1 + minutes / 43200 % 12,
                      1 + minutes / 1440 % 28, minutes / 60 % 24, minutes % 60);
        if (n % 50 == 0)
            std::fprintf(out,
                         " <Record type=\"HKQuantityTypeIdentifierBodyMass\" sourceName=\"Health\" "
                         "sourceVersion=\"17.1\" unit=\"kg\" creationDate=\"%s\" startDate=\"%s\" "
                         "endDate=\"%s\" value=\"%lld.%02lld\"/>\n",
                         stamp, stamp, stamp, 60 + n % 30, n % 100);
        else if (n % 100 == 1)
            std::fprintf(out,
                         " <Record type=\"HKQuantityTypeIdentifierBodyFatPercentage\" "
                         "sourceName=\"Health\" unit=\"%%\" creationDate=\"%s\" startDate=\"%s\" "
                         "endDate=\"%s\" value=\"0.%lld\"/>\n",
                         stamp, stamp, stamp, 150 + n % 100);
        else
            std::fprintf(
                out,
                " <Record type=\"HKQuantityTypeIdentifier%s\" sourceName=\"iPhone\" "
                "sourceVersion=\"17.1\" device=\"%s\" unit=\"%s\" creationDate=\"%s\" "
                "startDate=\"%s\" endDate=\"%s\" value=\"%lld\">\n"
                "  <MetadataEntry key=\"HKMetadataKeyHeartRateMotionContext\" value=\"0\"/>\n"
                " </Record>\n",
                n % 2 ? "StepCount" : "HeartRate", kDevice, n % 2 ? "count" : "count/min", stamp,
                stamp, stamp, 40 + n % 120);
    }
    std::fputs("</HealthData>\n", out);
    return std::fclose(out) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "write") == 0)
        return Write(argv[2], std::atol(argv[3]));
    if (argc != 3 || std::strcmp(argv[1], "read") != 0) {
        std::fprintf(stderr, "usage: %s write FILE MEGABYTES | read FILE\n", argv[0]);
        return 2;
    }
    try {
        const vorn::ImportedFile file = vorn::ReadImportFile(argv[2]);
        std::printf("%s: %zu readings, %zu left out\n", file.format.c_str(), file.readings.size(),
                    file.rejected.size());
    } catch (const vorn::ImportError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
