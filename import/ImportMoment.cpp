#include "import/ImportMoment.h"

#include <string>

namespace vorn {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads 1..most digits at `at`; nothing if there are none or more.
std::optional<int> Digits(std::string_view text, std::size_t& at, std::size_t least,
                          std::size_t most) {
    std::size_t n = 0;
    int value = 0;
    while (at + n < text.size() && IsDigit(text[at + n])) {
        if (n == most)
            return std::nullopt;
        value = value * 10 + (text[at + n] - '0');
        ++n;
    }
    if (n < least)
        return std::nullopt;
    at += n;
    return value;
}

bool Take(std::string_view text, std::size_t& at, std::string_view what) {
    if (text.substr(at, what.size()) != what)
        return false;
    at += what.size();
    return true;
}

void SkipBlanks(std::string_view text, std::size_t& at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
}

bool ReadDate(std::string_view text, std::size_t& at, WrittenMoment& m) {
    const auto year = Digits(text, at, 4, 4);
    if (!year)
        return false;
    m.year = *year;
    const bool kanji = Take(text, at, "年");
    const char sep = kanji ? '\0' : (at < text.size() ? text[at] : '\0');
    if (!kanji && sep != '-' && sep != '/')
        return false;
    at += kanji ? 0 : 1;
    const auto month = Digits(text, at, 1, 2);
    if (!month || !(kanji ? Take(text, at, "月") : Take(text, at, std::string_view(&sep, 1))))
        return false;
    const auto day = Digits(text, at, 1, 2);
    if (!day || (kanji && !Take(text, at, "日")))
        return false;
    m.month = *month;
    m.day = *day;
    return true;
}

bool ReadClock(std::string_view text, std::size_t& at, WrittenMoment& m) {
    const auto hour = Digits(text, at, 1, 2);
    if (!hour || !Take(text, at, ":"))
        return false;
    const auto minute = Digits(text, at, 2, 2);
    if (!minute)
        return false;
    m.hour = *hour;
    m.minute = *minute;
    if (Take(text, at, ":")) {
        const auto second = Digits(text, at, 2, 2);
        if (!second)
            return false;
        m.second = *second;
        if (Take(text, at, ".") && !Digits(text, at, 1, 9))
            return false;
    }
    m.hasTime = true;
    return true;
}

bool ReadZone(std::string_view text, std::size_t& at, WrittenMoment& m) {
    if (Take(text, at, "Z")) {
        m.offsetSeconds = 0;
        return true;
    }
    if (at >= text.size() || (text[at] != '+' && text[at] != '-'))
        return false;
    const int sign = text[at] == '-' ? -1 : 1;
    ++at;
    // "+09", "+0900" or "+09:00": two digits each, read by pairs.
    const auto pair = [&]() -> std::optional<int> {
        if (at + 2 > text.size() || !IsDigit(text[at]) || !IsDigit(text[at + 1]))
            return std::nullopt;
        at += 2;
        return (text[at - 2] - '0') * 10 + (text[at - 1] - '0');
    };
    const auto hours = pair();
    if (!hours)
        return false;
    const bool colon = Take(text, at, ":");
    const auto minutes = pair();
    if ((colon && !minutes) || *hours > 23 || minutes.value_or(0) > 59)
        return false;
    m.offsetSeconds = sign * (*hours * 3600 + minutes.value_or(0) * 60);
    return true;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

LocalTime FromTm(const std::tm& tm) {
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

} // namespace

ReadMoment ReadWrittenMoment(std::string_view text) {
    ReadMoment read;
    WrittenMoment& m = read.moment;
    std::size_t at = 0;
    SkipBlanks(text, at);
    if (!ReadDate(text, at, m))
        return read;
    const std::size_t afterDate = at;
    if (!Take(text, at, "T"))
        SkipBlanks(text, at);
    if (at < text.size() && IsDigit(text[at])) {
        if (!ReadClock(text, at, m))
            return read;
    } else if (at != afterDate && text.substr(afterDate, 1) == "T") {
        return read;
    }
    SkipBlanks(text, at);
    if (at < text.size() && !ReadZone(text, at, m))
        return read;
    SkipBlanks(text, at);
    if (at != text.size())
        return read;
    read.result = IsRealMoment(m) ? MomentRead::Ok : MomentRead::NotReal;
    return read;
}

std::optional<WrittenMoment> ReadTimeOfDay(std::string_view text) {
    WrittenMoment m;
    std::size_t at = 0;
    SkipBlanks(text, at);
    if (!ReadClock(text, at, m))
        return std::nullopt;
    SkipBlanks(text, at);
    if (at != text.size())
        return std::nullopt;
    return m;
}

bool IsRealMoment(const WrittenMoment& m) {
    return m.year >= 1 && m.month >= 1 && m.month <= 12 && m.day >= 1 &&
           m.day <= DaysInMonth(m.year, m.month) && m.hour >= 0 && m.hour <= 23 && m.minute >= 0 &&
           m.minute <= 59 && m.second >= 0 && m.second <= 60;
}

std::optional<std::time_t> InstantOf(const WrittenMoment& m) {
    if (!m.offsetSeconds)
        return std::nullopt;
    const long long seconds = DaysFromCivil(m.year, m.month, m.day) * 86400LL + m.hour * 3600LL +
                              m.minute * 60LL + m.second - *m.offsetSeconds;
    return static_cast<std::time_t>(seconds);
}

std::optional<LocalTime> ToLocalTime(const WrittenMoment& m) {
    const auto instant = InstantOf(m);
    if (!instant)
        return LocalTime{m.year, m.month, m.day, m.hour, m.minute};
    tzset();
    std::tm tm{};
    if (localtime_r(&*instant, &tm) == nullptr)
        return std::nullopt;
    return FromTm(tm);
}

} // namespace vorn
