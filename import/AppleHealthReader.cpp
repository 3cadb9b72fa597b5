#include "import/AppleHealthReader.h"

#include "import/ExactDecimal.h"
#include "import/ImportInput.h"
#include "import/ImportMoment.h"
#include "import/ImportRow.h"

#include <algorithm>
#include <cstring>
#include <expat.h>
#include <memory>
#include <unordered_map>

namespace vorn {
namespace {

constexpr int kPiece = 1 << 20;
// expat keeps an unfinished tag whole: a file whose tags stop coming for
// this many bytes is refused rather than held in memory.
constexpr long long kLongestGap = 16LL << 20;
constexpr const char* kMass = "HKQuantityTypeIdentifierBodyMass";
constexpr const char* kFat = "HKQuantityTypeIdentifierBodyFatPercentage";

struct Mass {
    std::time_t instant;
    ImportedReading reading;
};

struct FatAt {
    std::string percent;
    unsigned long long element = 0;
    bool used = false;
};

struct AppleState {
    XML_Parser parser = nullptr;
    unsigned long long elements = 0;
    long long lastTag = 0; // where the last tag was seen, in bytes
    bool rootSeen = false;
    std::string stop; // why the parser was stopped from a handler
    std::vector<Mass> masses;
    std::unordered_map<std::time_t, FatAt> fats;
    ImportedFile file;
};

std::string ElementName(unsigned long long n) {
    return "要素 " + std::to_string(n);
}

void Stop(AppleState& s, const std::string& why) {
    s.stop = why;
    XML_StopParser(s.parser, XML_FALSE);
}

std::optional<WeightUnit> MassUnit(std::string_view unit) {
    if (unit == "kg")
        return WeightUnit::Kilograms;
    if (unit == "lb")
        return WeightUnit::Pounds;
    if (unit == "g")
        return WeightUnit::Grams;
    if (unit == "st")
        return WeightUnit::Stones;
    return std::nullopt;
}

// A moment with a zone, or the reason it is none.
std::optional<WrittenMoment> StartOf(const char* start, std::string& reason) {
    const ReadMoment read = ReadWrittenMoment(start ? start : "");
    if (read.result == MomentRead::NotReal)
        reason = "実在しない日時です";
    else if (read.result == MomentRead::Unreadable || !read.moment.offsetSeconds)
        reason = start ? "日付が読めません" : "日付がありません";
    return reason.empty() ? std::optional(read.moment) : std::nullopt;
}

void TakeRecord(AppleState& s, const char* type, const char* unit, const char* start,
                const char* value) {
    const bool mass = std::strcmp(type, kMass) == 0;
    const std::string where = ElementName(s.elements);
    std::string reason;
    const auto moment = StartOf(start, reason);
    const auto local = moment ? ToLocalTime(*moment) : std::nullopt;
    if (moment && !local)
        reason = "この地域の時刻にできない日時です";
    std::optional<std::string> text;
    if (reason.empty() && mass) {
        const auto u = MassUnit(unit ? unit : "");
        const WeightText kg = u ? KilogramText(value ? value : "", RowRules{*u, '.'})
                                : WeightText{std::nullopt, "体重の単位が分かりません"};
        text = kg.kg;
        reason = kg.reason;
    } else if (reason.empty()) {
        const auto fraction = ParseExactDecimal(value ? value : "");
        if (fraction)
            text = RoundToHundredths(ShiftDecimal(*fraction, 2));
        else
            reason = "体脂肪率の数値が読めません";
    }
    if (s.masses.size() + s.file.rejected.size() + s.fats.size() >= kMostRows)
        return Stop(s, kTooManyRows);
    if (!reason.empty()) {
        s.file.rejected.push_back({where, reason});
    } else if (mass) {
        s.masses.push_back({*InstantOf(*moment), {*local, *text, std::nullopt, where}});
    } else if (!s.fats.try_emplace(*InstantOf(*moment), FatAt{*text, s.elements}).second) {
        s.file.rejected.push_back({where, "同じ時刻の体脂肪率がほかにもあります"});
    }
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attrs) {
    auto& s = *static_cast<AppleState*>(data);
    ++s.elements;
    s.lastTag = XML_GetCurrentByteIndex(s.parser);
    if (!s.rootSeen) {
        s.rootSeen = true;
        if (std::strcmp(name, "HealthData") != 0)
            Stop(s, "Apple ヘルスケアの書き出し（HealthData）ではありません");
        return;
    }
    if (std::strcmp(name, "Record") != 0)
        return;
    const char* type = nullptr;
    const char* unit = nullptr;
    const char* start = nullptr;
    const char* value = nullptr;
    for (const XML_Char** a = attrs; a[0] != nullptr; a += 2) {
        if (std::strcmp(a[0], "type") == 0)
            type = a[1];
        else if (std::strcmp(a[0], "unit") == 0)
            unit = a[1];
        else if (std::strcmp(a[0], "startDate") == 0)
            start = a[1];
        else if (std::strcmp(a[0], "value") == 0)
            value = a[1];
    }
    if (type != nullptr && (std::strcmp(type, kMass) == 0 || std::strcmp(type, kFat) == 0))
        TakeRecord(s, type, unit, start, value);
}

void XMLCALL OnEnd(void* data, const XML_Char*) {
    auto& s = *static_cast<AppleState*>(data);
    s.lastTag = XML_GetCurrentByteIndex(s.parser);
}

// Why expat stopped, in words for the user where they can be put plainly.
std::string XmlReason(XML_Error code) {
    switch (code) {
    case XML_ERROR_INVALID_TOKEN:
        return "XML として読めない文字やバイトがあります";
    case XML_ERROR_UNCLOSED_TOKEN:
    case XML_ERROR_NO_ELEMENTS:
    case XML_ERROR_UNCLOSED_CDATA_SECTION:
        return "ファイルが XML の途中で終わっています";
    case XML_ERROR_TAG_MISMATCH:
        return "XML の開始タグと終了タグが合っていません";
    default:
        return std::string("XML として正しくありません（") + XML_ErrorString(code) + "）";
    }
}

// Entities could make a small file expand without bound: Apple's export
// declares none, so a file that does is refused.
void XMLCALL OnEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                      const XML_Char*, const XML_Char*, const XML_Char*) {
    Stop(*static_cast<AppleState*>(data), "XML の実体宣言を含むファイルは読みません");
}

// Each body mass with the fat percentage of the same moment; a fat
// percentage without a body mass is a row left out.
void Pair(AppleState& s) {
    for (Mass& m : s.masses) {
        const auto fat = s.fats.find(m.instant);
        if (fat != s.fats.end()) {
            m.reading.fatPercent = fat->second.percent;
            fat->second.used = true;
        }
        s.file.readings.push_back(std::move(m.reading));
    }
    std::vector<unsigned long long> alone;
    for (const auto& [instant, fat] : s.fats)
        if (!fat.used)
            alone.push_back(fat.element);
    std::sort(alone.begin(), alone.end());
    for (const unsigned long long n : alone)
        s.file.rejected.push_back({ElementName(n), "同じ時刻の体重がありません"});
}

} // namespace

ImportedFile ReadAppleHealth(const std::string& path, const ImportProgress& progress) {
    ImportInput input(path, progress);
    AppleState s;
    std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate(nullptr),
                                                                   XML_ParserFree);
    if (!parser)
        input.fail("メモリが足りません");
    s.parser = parser.get();
    XML_SetUserData(s.parser, &s);
    XML_SetElementHandler(s.parser, OnStart, OnEnd);
    XML_SetEntityDeclHandler(s.parser, OnEntity);
    const int piece = static_cast<int>(input.pieceSize(kPiece));
    long long fed = 0;
    for (bool last = false; !last;) {
        void* buffer = XML_GetBuffer(s.parser, piece);
        if (buffer == nullptr)
            input.fail("メモリが足りません");
        const std::size_t n =
            input.read(static_cast<char*>(buffer), static_cast<std::size_t>(piece));
        last = n == 0;
        if (XML_ParseBuffer(s.parser, static_cast<int>(n), last) == XML_STATUS_ERROR) {
            const std::string line = std::to_string(XML_GetCurrentLineNumber(s.parser)) + "行目: ";
            input.fail(line + (s.stop.empty() ? XmlReason(XML_GetErrorCode(s.parser)) : s.stop));
        }
        fed += static_cast<long long>(n);
        if (fed - s.lastTag > kLongestGap)
            input.fail(std::to_string(XML_GetCurrentLineNumber(s.parser)) +
                       "行目から 16 MiB を超えてタグが終わりません");
    }
    if (!s.rootSeen)
        input.fail("XML の要素がありません");
    Pair(s);
    s.file.format = "Apple ヘルスケア export.xml";
    return std::move(s.file);
}

} // namespace vorn
