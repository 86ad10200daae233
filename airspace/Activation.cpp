#include "airspace/Activation.h"

#include <chrono>
#include <cstdio>

namespace airspace {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, unsigned& month, unsigned& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0));
}

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

unsigned daysInMonth(int y, unsigned m) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// `count` digits at `pos` as a number; false when any is not a digit.
bool digits(std::string_view text, std::size_t pos, std::size_t count, unsigned& value) {
    if (pos + count > text.size()) return false;
    value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return true;
}

// "YYYY-MM-DD" at the start of `text`; the day's start in seconds.
std::optional<std::int64_t> readDate(std::string_view text) {
    unsigned y = 0, m = 0, d = 0;
    if (!digits(text, 0, 4, y) || text.size() < 10 || text[4] != '-' || !digits(text, 5, 2, m) ||
        text[7] != '-' || !digits(text, 8, 2, d)) {
        return std::nullopt;
    }
    if (m < 1 || m > 12 || d < 1 || d > daysInMonth(static_cast<int>(y), m)) return std::nullopt;
    return utcDayStart(static_cast<int>(y), m, d);
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool isNone(std::string_view s) {
    return s.size() == 4 && (s[0] | 0x20) == 'n' && (s[1] | 0x20) == 'o' && (s[2] | 0x20) == 'n' &&
           (s[3] | 0x20) == 'e';
}

}  // namespace

std::int64_t utcDayStart(int year, unsigned month, unsigned day) {
    return daysFromCivil(year, month, day) * kSecondsPerDay;
}

std::optional<std::int64_t> parseUtcTime(std::string_view text) {
    // 2025-05-01T00:01Z (17) or 2025-05-01T00:01:00Z (20)
    if (text.size() != 17 && text.size() != 20) return std::nullopt;
    const std::optional<std::int64_t> day = readDate(text);
    unsigned hour = 0, minute = 0, second = 0;
    if (!day || text[10] != 'T' || !digits(text, 11, 2, hour) || text[13] != ':' ||
        !digits(text, 14, 2, minute) || text.back() != 'Z') {
        return std::nullopt;
    }
    if (text.size() == 20 && (text[16] != ':' || !digits(text, 17, 2, second))) {
        return std::nullopt;
    }
    // 24:00 is the end of the day; 60 seconds are a leap second's worth, read as the next minute.
    const bool endOfDay = hour == 24 && minute == 0 && second == 0;
    if ((hour > 23 && !endOfDay) || minute > 59 || second > 60) return std::nullopt;
    return *day + hour * 3600 + minute * 60 + second;
}

ActivationRead readActivation(std::string_view value, Activation& out, std::string& why) {
    out = Activation{};
    value = trimmed(value);
    if (isNone(value)) return ActivationRead::NotamOnly;
    const std::size_t slash = value.find('/');
    if (slash == std::string_view::npos) {
        why = "activation needs start/end, as 2025-05-01T00:00Z/2025-09-30T24:00Z";
        return ActivationRead::Bad;
    }
    const std::string_view startText = trimmed(value.substr(0, slash));
    const std::string_view endText = trimmed(value.substr(slash + 1));
    for (const auto& [text, time] : {std::pair{startText, &out.start}, {endText, &out.end}}) {
        if (isNone(text)) continue;
        *time = parseUtcTime(text);
        if (!*time) {
            why = "\"" + std::string(text) +
                  "\" is no UTC time (as 2025-05-01T00:01:00Z, 2025-05-01T00:01Z or NONE)";
            return ActivationRead::Bad;
        }
    }
    if (out.start && out.end && *out.end <= *out.start) {
        why = "activation ends before it starts";
        return ActivationRead::Bad;
    }
    return ActivationRead::Interval;
}

std::string utcTimeText(std::int64_t seconds) {
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    int y = 0;
    unsigned m = 0, d = 0;
    civilFromDays(days, y, m, d);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", y, m, d,
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return text;
}

std::string utcShortText(std::int64_t seconds) {
    const std::string full = utcTimeText(seconds);
    if (full.compare(10, 10, "T00:00:00Z") == 0) return full.substr(0, 10);
    return full.substr(0, 10) + " " + full.substr(11, 5);
}

std::optional<FlyingDates> parseFlyingDates(std::string_view text, std::int64_t now) {
    text = trimmed(text);
    if (text == "today") return flyingDay(now);
    const std::size_t slash = text.find('/');
    const std::string_view first = trimmed(text.substr(0, slash));
    const std::string_view last =
        slash == std::string_view::npos ? first : trimmed(text.substr(slash + 1));
    if (first.size() != 10 || last.size() != 10) return std::nullopt;
    const std::optional<std::int64_t> start = readDate(first);
    const std::optional<std::int64_t> lastDay = readDate(last);
    if (!start || !lastDay || *lastDay < *start) return std::nullopt;
    return FlyingDates{*start, *lastDay + kSecondsPerDay};
}

FlyingDates flyingDay(std::int64_t seconds) {
    std::int64_t start = seconds - seconds % kSecondsPerDay;
    if (seconds % kSecondsPerDay < 0) start -= kSecondsPerDay;
    return {start, start + kSecondsPerDay};
}

std::string flyingDatesText(const FlyingDates& dates) {
    const std::string first = utcTimeText(dates.start).substr(0, 10);
    const std::string last = utcTimeText(dates.end - kSecondsPerDay).substr(0, 10);
    return first == last ? first : first + "/" + last;
}

std::int64_t currentUtcSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool overlaps(const Activation& activation, const FlyingDates& dates) {
    return (!activation.start || *activation.start < dates.end) &&
           (!activation.end || *activation.end > dates.start);
}

}  // namespace airspace
