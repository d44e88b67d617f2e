// Local time through the C library, which knows the zone's rules and its daylight saving.
#include "util/LocalTime.h"

#include <cctype>

namespace k52 {
namespace {

std::tm Local(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

std::string Format(const std::tm& tm, const char* format) {
    char buf[64];
    const std::size_t n = std::strftime(buf, sizeof buf, format, &tm);
    return std::string(buf, n);
}

// Reads `width` digits at `at`, within [low, high].
bool Digits(const std::string& s, std::size_t& at, std::size_t width, int low, int high, int* value) {
    if (at + width > s.size()) return false;
    int v = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const char c = s[at + i];
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        v = v * 10 + (c - '0');
    }
    at += width;
    *value = v;
    return v >= low && v <= high;
}

bool Expect(const std::string& s, std::size_t& at, char c) {
    if (at >= s.size() || s[at] != c) return false;
    ++at;
    return true;
}

int DaysIn(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

std::string LocalFileStamp(std::time_t t) {
    return Format(Local(t), "%Y-%m-%d_%H%M%S");
}

std::string LocalIsoTime(std::time_t t) {
    const std::tm tm = Local(t);
    const std::string s = Format(tm, "%Y-%m-%dT%H:%M:%S%z");  // ...+0800
    if (s.size() < 5) return s;
    return s.substr(0, s.size() - 2) + ":" + s.substr(s.size() - 2);
}

std::string UtcIsoTime(std::time_t t) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    return Format(tm, "%Y-%m-%dT%H:%M:%SZ");
}

std::optional<std::time_t> ParseInstant(const std::string& s) {
    std::size_t at = 0;
    std::tm tm{};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Digits(s, at, 4, 1970, 9999, &year) || !Expect(s, at, '-') || !Digits(s, at, 2, 1, 12, &month) ||
        !Expect(s, at, '-') || !Digits(s, at, 2, 1, DaysIn(year, month), &day))
        return std::nullopt;
    if (at < s.size() && (s[at] == 'T' || s[at] == ' ')) {
        ++at;
        if (!Digits(s, at, 2, 0, 23, &hour) || !Expect(s, at, ':') || !Digits(s, at, 2, 0, 59, &minute))
            return std::nullopt;
        if (at < s.size() && s[at] == ':' && (++at, !Digits(s, at, 2, 0, 60, &second))) return std::nullopt;
    }
    std::optional<int> offsetMinutes;
    if (at < s.size() && s[at] == 'Z') {
        ++at;
        offsetMinutes = 0;
    } else if (at < s.size() && (s[at] == '+' || s[at] == '-')) {
        const int sign = s[at++] == '-' ? -1 : 1;
        int oh = 0, om = 0;
        if (!Digits(s, at, 2, 0, 14, &oh)) return std::nullopt;
        if (at < s.size() && s[at] == ':') ++at;
        if (!Digits(s, at, 2, 0, 59, &om)) return std::nullopt;
        offsetMinutes = sign * (oh * 60 + om);
    }
    if (at != s.size()) return std::nullopt;
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    if (!offsetMinutes) {
        tm.tm_isdst = -1;
        const std::time_t local = std::mktime(&tm);
        if (local == static_cast<std::time_t>(-1)) return std::nullopt;
        return local;
    }
    return timegm(&tm) - static_cast<std::time_t>(*offsetMinutes) * 60;
}

}  // namespace k52
