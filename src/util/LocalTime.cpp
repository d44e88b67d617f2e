// Local time through the C library, which knows the zone's rules and its daylight saving.
#include "util/LocalTime.h"

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

}  // namespace k52
