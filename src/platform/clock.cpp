#include "platform/clock.h"

#include <charconv>
#include <thread>

namespace kalvo {

namespace {

// n as a decimal text of at least `width` digits.
std::string padded(long long n, int width) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    std::string s(buf, r.ptr);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
    return s;
}

}  // namespace

TimePoint SystemClock::now() const {
    return std::chrono::steady_clock::now();
}

void SystemClock::sleepUntil(TimePoint t) {
    std::this_thread::sleep_until(t);
}

WallTime SystemWallClock::now() const {
    return std::chrono::system_clock::now();
}

std::string isoTimestamp(WallTime t) {
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(t);
    const auto day = floor<days>(ms);
    const year_month_day date{day};
    const hh_mm_ss<milliseconds> time{ms - day};
    std::string s;
    s += padded(static_cast<int>(date.year()), 4) + "-";
    s += padded(static_cast<unsigned>(date.month()), 2) + "-";
    s += padded(static_cast<unsigned>(date.day()), 2) + "T";
    s += padded(time.hours().count(), 2) + ":";
    s += padded(time.minutes().count(), 2) + ":";
    s += padded(time.seconds().count(), 2) + ".";
    s += padded(time.subseconds().count(), 3) + "Z";
    return s;
}

std::tm localTimeNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

}  // namespace kalvo
