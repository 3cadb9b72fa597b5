// Reading other programs' files: each format as its program writes it, the
// exact rounding of numbers, zones and the files that must be refused.

#include "import/ExactDecimal.h"
#include "import/ImportError.h"
#include "import/ImportFile.h"
#include "support/Cases.h"
#include "support/TestHome.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <iconv.h>

namespace vorn {
namespace {

using test::ByName;
using test::ErrorText;
using test::MakeTempDir;
using test::Spit;

struct DecimalCase {
    std::string name, text, unit, expected;
};

// "-" for a text that is no number.
std::string Rounded(const DecimalCase& c) {
    const auto value = ParseExactDecimal(c.text, c.unit == "comma" ? ',' : '.');
    if (!value)
        return "-";
    if (c.unit == "lb")
        return RoundToHundredths(PoundsToKilograms(*value));
    if (c.unit.starts_with("of ")) {
        const auto whole = ParseExactDecimal(c.unit.substr(3));
        return PercentOf(*value, *whole).value_or("none");
    }
    return RoundToHundredths(*value);
}

class ExactDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ExactDecimalTest, RoundsHalfAwayFromZeroFromTheExactValue) {
    EXPECT_EQ(Rounded(GetParam()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExactDecimalTest,
    ::testing::Values(DecimalCase{"tie up", "72.805", "kg", "72.81"},
                      DecimalCase{"below tie", "72.8049999999", "kg", "72.80"},
                      DecimalCase{"negative tie", "-0.005", "kg", "-0.01"},
                      DecimalCase{"zero keeps no sign", "-0.004", "kg", "0.00"},
                      DecimalCase{"carry", "99.995", "kg", "100.00"},
                      DecimalCase{"padded", "7", "kg", "7.00"},
                      DecimalCase{"leading point", ".5", "kg", "0.50"},
                      DecimalCase{"decimal comma", "72,805", "comma", "72.81"},
                      DecimalCase{"pounds", "160.5", "lb", "72.80"},
                      DecimalCase{"pounds tie binary misses", "500000", "lb", "226796.19"},
                      DecimalCase{"percent tie", "1", "of 32", "3.13"},
                      DecimalCase{"percent repeating", "2", "of 3", "66.67"},
                      DecimalCase{"percent of zero", "2", "of 0", "none"},
                      DecimalCase{"two points", "1.2.3", "kg", "-"},
                      DecimalCase{"exponent", "7e1", "kg", "-"},
                      DecimalCase{"no digits", "-.", "kg", "-"},
                      DecimalCase{"too many digits", std::string(31, '1'), "kg", "-"}),
    ByName());

std::string Encoded(const std::string& utf8, const char* encoding) {
    iconv_t cd = iconv_open(encoding, "UTF-8");
    std::string in = utf8;
    std::string out(in.size() * 4, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    iconv(cd, &from, &inLeft, &to, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

struct FileCase {
    std::string name, bytes, zone, format;
    std::string readings; // "YYYY-MM-DD hh:mm weight fat|-" each, "; " between
    std::string rejected; // "where reason" each, "; " between
};

std::string Two(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string Summary(const ImportedFile& f, std::string& rejected) {
    std::string readings;
    for (const ImportedReading& r : f.readings)
        readings += (readings.empty() ? "" : "; ") + std::to_string(r.at.year) + "-" +
                    Two(r.at.month) + "-" + Two(r.at.day) + " " + Two(r.at.hour) + ":" +
                    Two(r.at.minute) + " " + r.weightKg + " " + r.fatPercent.value_or("-");
    for (const RejectedRow& r : f.rejected)
        rejected += (rejected.empty() ? "" : "; ") + r.where + " " + r.reason;
    return readings;
}

class ImportFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(ImportFileTest, ReadsWhatTheProgramWrote) {
    const FileCase& c = GetParam();
    const std::string path = MakeTempDir("import") + "/file";
    Spit(path, c.bytes);
    setenv("TZ", c.zone.c_str(), 1);
    tzset();
    const ImportedFile f = ReadImportFile(path);
    unsetenv("TZ");
    tzset();
    std::string rejected;
    EXPECT_EQ(f.format, c.format);
    EXPECT_EQ(Summary(f, rejected), c.readings);
    EXPECT_EQ(rejected, c.rejected);
}

const std::string kOwnHeader = "日時,身長(cm),体重(kg),脂肪率(%),脂肪量(kg),除脂肪量(kg),体水分量("
                               "kg),標準体重(kg),BMI,肥満度(%)\r\n";

INSTANTIATE_TEST_SUITE_P(
    Formats, ImportFileTest,
    ::testing::Values(
        FileCase{"own CSV, fat empty or zero",
                 kOwnHeader +
                     "2026-08-30T20:00,170.00,72.50,20.10,14.57,57.93,42.41,63.58,25.09,14.03\r\n"
                     "2026-08-31T07:00,170.00,72.40,,,,,63.58,25.05,13.87\r\n"
                     "2026-09-01T07:00,170.00,72.30,0.00,0.00,0.00,0.00,63.58,25.02,13.72\r\n"
                     ",170.00,72.00,,,,,63.58,24.91,13.24\r\n",
                 "UTC", "Vorn２ CSV",
                 "2026-08-30 20:00 72.50 20.10; 2026-08-31 07:00 72.40 -; 2026-09-01 07:00 72.30 -",
                 "5行目 日付がありません"},
        FileCase{"openScale v3",
                 "DATE,TIME,BODY_FAT,BONE,WEIGHT\n2025-01-31,08:15,21.5,,72.3\n"
                 "2025-02-01,08:16:30.5,,,72.1\n2025-02-29,08:00,,,72\n"
                 "2025-03-01,8:00,,,\n2025-03-02,24:00,,,72\n2025-03-03,8h,,,72\n",
                 "Asia/Tokyo", "openScale CSV (v3)",
                 "2025-01-31 08:15 72.30 21.50; 2025-02-01 08:16 72.10 -",
                 "4行目 実在しない日時です; 5行目 体重がありません; 6行目 実在しない日時です; "
                 "7行目 時刻が読めません"},
        FileCase{"openScale v2",
                 "\"biceps\",\"comment\",\"dateTime\",\"fat\",\"weight\"\n"
                 "\"0.0\",\"a, \"\"quoted\"\"\nnote\",\"2019-01-01 08:00\",\"0.0\",\"80.5\"\n"
                 "\"0.0\",\"\",\"2019-01-02 08:00\",\"20.3\",\"0.0\"\n"
                 "\"0.0\",\"\",\"2019-01-03 08:00\",\"2O.3\",\"80\"\n",
                 "UTC", "openScale CSV (v2)", "2019-01-01 08:00 80.50 -",
                 "4行目 体重がありません; 5行目 体脂肪率の数値が読めません"},
        FileCase{"Libra in pounds, UTC",
                 "#Version: 6\n#Units: lbs\n\n"
                 "#date;weight;weight trend;body fat;body fat trend;muscle mass;"
                 "muscle mass trend;log\n"
                 "2026-06-01T08:00:00.000Z;160.5;160.5;22.5;;;;a;b\n"
                 "2026-06-01T22:00:00.000Z;160;160.4;;;;;\n",
                 "Asia/Tokyo", "Libra CSV",
                 "2026-06-01 17:00 72.80 22.50; 2026-06-02 07:00 72.57 -", ""},
        FileCase{"trale",
                 "# This file was created with trale.\n#Date weight[kg]\n"
                 "2025-12-24T16:00:00.000 67.9000000000\n2025-12-25 68.0\n"
                 "2025-12-26T07:00:00.000Z 68.1\n2025-12-27 68.1 x\n",
                 "Europe/Berlin", "trale テキスト",
                 "2025-12-24 16:00 67.90 -; 2025-12-25 00:00 68.00 -; 2025-12-26 08:00 68.10 -",
                 "6行目 日付と体重のほかに余分な内容があります"},
        FileCase{"GNOME Health", "date,weight\n2021-03-18T09:30:00+01:00,72.3\n", "Asia/Tokyo",
                 "GNOME Health CSV", "2021-03-18 17:30 72.30 -", ""},
        FileCase{"Withings fat mass",
                 "Date,\"Weight (kg)\",\"Fat mass (kg)\",\"Bone mass (kg)\","
                 "\"Muscle mass (kg)\",\"Hydration (kg)\",Comments\n"
                 "\"2020-01-15 07:31:02\",80.0,17.00,,,,\"a, comment\"\n"
                 "\"2020-01-16 07:31:02\",64,2,,,,\n",
                 "UTC", "Withings weight.csv",
                 "2020-01-15 07:31 80.00 21.25; 2020-01-16 07:31 64.00 3.13", ""},
        FileCase{
            "Apple Health",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE HealthData [\n<!ELEMENT HealthData (Record*)>\n]>\n"
            "<HealthData locale=\"ja_JP\">\n <ExportDate value=\"2026-01-01 00:00:00 +0900\"/>\n"
            " <Record type=\"HKQuantityTypeIdentifierBodyMass\" unit=\"lb\" "
            "startDate=\"2019-06-10 07:58:40 +0200\" value=\"160.5\"/>\n"
            " <Record type=\"HKQuantityTypeIdentifierStepCount\" unit=\"count\" "
            "startDate=\"2019-06-10 07:58:40 +0200\" value=\"12\"/>\n"
            " <Record type=\"HKQuantityTypeIdentifierBodyFatPercentage\" unit=\"%\" "
            "startDate=\"2019-06-10 14:58:40 +0900\" value=\"0.2155\"/>\n"
            " <Record type=\"HKQuantityTypeIdentifierBodyFatPercentage\" unit=\"%\" "
            "startDate=\"2019-06-11 08:00:00 +0900\" value=\"0.2\"/>\n"
            " <Record type=\"HKQuantityTypeIdentifierBodyMass\" unit=\"kg\" "
            "startDate=\"2019-06-12 08:00:00 +0900\" value=\"72.805\"/>\n"
            " <Record type=\"HKQuantityTypeIdentifierBodyMass\" unit=\"oz\" "
            "startDate=\"2019-06-13 08:00:00 +0900\" value=\"2000\"/>\n"
            "</HealthData>\n",
            "Asia/Tokyo", "Apple ヘルスケア export.xml",
            "2019-06-10 14:58 72.80 21.55; 2019-06-12 08:00 72.81 -",
            "要素 8 体重の単位が分かりません; 要素 6 同じ時刻の体重がありません"},
        FileCase{"spreadsheet Shift_JIS semicolons",
                 Encoded("日付;時刻;体重(kg);体脂肪(%)\r\n"
                         "2026/12/01;7:05;72,805;20,1\r\n"
                         "2026/2/30;7:05;72,8;\r\n",
                         "CP932"),
                 "UTC", "表計算の CSV（セミコロン区切り・Shift_JIS）",
                 "2026-12-01 07:05 72.81 20.10", "3行目 実在しない日時です"},
        FileCase{"spreadsheet UTF-16 tabs pounds",
                 "\xFF\xFE" + Encoded("Date\tTime\tWeight (lb)\tBody fat %\n"
                                      "2026-12-01\t07:05\t150\t\n",
                                      "UTF-16LE"),
                 "UTC", "表計算の CSV（タブ区切り・UTF-16）", "2026-12-01 07:05 68.04 -", ""},
        FileCase{"spreadsheet UTF-8 BOM kanji dates",
                 "\xEF\xBB\xBF測定日,体重,体脂肪量\n2026年12月1日,72.8,15\n"
                 "2026年12月1日 25:00,72.8\n12/1/2026,72.8\n",
                 "UTC", "表計算の CSV（カンマ区切り）", "2026-12-01 00:00 72.80 -",
                 "3行目 実在しない日時です; 4行目 日付が読めません"}),
    ByName());

struct RefusedCase {
    std::string name, bytes, reason;
};

class RefusedFileTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedFileTest, SaysWhy) {
    const std::string path = MakeTempDir("import") + "/file";
    Spit(path, GetParam().bytes);
    const std::string error = ErrorText<ImportError>([&] { ReadImportFile(path); });
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

std::string ManyRows(std::size_t rows) {
    std::string text = "日付,体重\n";
    for (std::size_t k = 0; k < rows; ++k)
        text += "2026-01-01T00:00:00Z,70\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedFileTest,
    ::testing::Values(
        RefusedCase{"empty", "\n \n", "記録がありません"},
        RefusedCase{"unknown", "hello,world\n1,2\n", "記録の形式が分かりません"},
        RefusedCase{"long line", "date,weight\n" + std::string(70 * 1024, '7') + "\n",
                    "2行目が長すぎます"},
        RefusedCase{"unclosed quote", "date,weight\n\"" + std::string(70 * 1024, '7'),
                    "2行目が長すぎます"},
        RefusedCase{"NUL byte", std::string("date,weight\n\0,70\n", 16), "正しくないバイト"},
        RefusedCase{"lying UTF-8", ManyRows(12000) + "\xFF\n",
                    "12002行目に UTF-8 の文字として正しくないバイト"},
        RefusedCase{"lying UTF-16",
                    "\xFF\xFE" + Encoded("date,weight\n", "UTF-16LE") +
                        std::string("\x00\xD8\n\x00", 4),
                    "2行目に UTF-16 の文字として正しくないバイト"},
        RefusedCase{"cut UTF-16", "\xFF\xFE" + Encoded("date,weight\n", "UTF-16LE") + "7",
                    "UTF-16 の文字の途中で終わっています"},
        RefusedCase{"entities",
                    "<?xml version=\"1.0\"?><!DOCTYPE HealthData [<!ENTITY a \"aaaa\">]>"
                    "<HealthData>&a;</HealthData>",
                    "実体宣言"},
        RefusedCase{"cut XML", "<HealthData><Record type=\"x\"",
                    "1行目: ファイルが XML の途中で終わっています"},
        RefusedCase{"endless tag", "<HealthData>\n<Record type=\"" + std::string(17 << 20, 'a'),
                    "2行目から 16 MiB を超えてタグが終わりません"},
        RefusedCase{"other XML", "<svg></svg>", "HealthData"}),
    ByName());

TEST(ImportEncodingTest, ShiftJisAfterALongStretchOfAscii) {
    const std::string path = MakeTempDir("import") + "/file";
    std::string text = "Date,Weight,Note\n";
    for (int k = 0; k < 20000; ++k)
        text += "2026-01-01,70,x\n";
    Spit(path, text + Encoded("2026年12月1日,71,朝\n", "CP932"));
    const ImportedFile f = ReadImportFile(path);
    EXPECT_EQ(f.format, "表計算の CSV（カンマ区切り・Shift_JIS）");
    ASSERT_EQ(f.readings.size(), 20001u);
    EXPECT_EQ(f.readings.back().at.month, 12);
}

TEST(ImportProgressTest, StopsWhenAsked) {
    const std::string path = MakeTempDir("import") + "/file";
    std::string text = "Date,Weight,Note\n";
    for (int k = 0; k < 2500; ++k)
        text += "2026-01-01,70," + std::string(1000, 'x') + "\n";
    Spit(path, text);
    std::vector<std::uint64_t> done;
    const std::string error = ErrorText<ImportError>([&] {
        ReadImportFile(path, [&](std::uint64_t bytes, std::uint64_t total) {
            EXPECT_EQ(total, text.size());
            done.push_back(bytes);
            return done.size() < 2;
        });
    });
    EXPECT_EQ(error, "取り込みを中止しました");
    EXPECT_EQ(done, (std::vector<std::uint64_t>{1 << 20, 2 << 20}));
}

} // namespace
} // namespace vorn
