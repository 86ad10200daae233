// When an airspace is active: the "AA" intervals of an OpenAir 2.0 file, in UTC, and the flying
// day or days a pilot selects by. Times are whole seconds since 1970-01-01 00:00 UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace airspace {

// One activation interval. An open start or end ("NONE") is empty: active since ever, or for
// good.
struct Activation {
    std::optional<std::int64_t> start;
    std::optional<std::int64_t> end;

    bool operator==(const Activation&) const = default;
};

enum class ActivationRead {
    Interval,   // `out` holds the interval
    NotamOnly,  // a bare "AA NONE": active only when a NOTAM says so
    Bad,        // `why` says what is wrong
};

// Reads the value of an "AA" line: "2025-05-01T00:01:00Z/2026-04-30T23:59:00Z", with or without
// seconds, "T24:00Z" for the end of a day, "NONE" for an open start or end, or a bare "NONE".
[[nodiscard]] ActivationRead readActivation(std::string_view value, Activation& out,
                                            std::string& why);

// "2025-05-01T00:01:00Z" into seconds; also "2025-05-01T00:01Z" and "T24:00Z". Empty when it is
// not such a time.
[[nodiscard]] std::optional<std::int64_t> parseUtcTime(std::string_view text);

// Seconds of 00:00 UTC of a calendar day.
[[nodiscard]] std::int64_t utcDayStart(int year, unsigned month, unsigned day);

// "2025-05-01T00:01:00Z", as the format writes it.
[[nodiscard]] std::string utcTimeText(std::int64_t seconds);
// "2025-05-01 00:01" for people; "2025-05-01" for a time at midnight.
[[nodiscard]] std::string utcShortText(std::int64_t seconds);

// The time span a pilot flies in: from the start of the first day to the end of the last, UTC.
struct FlyingDates {
    std::int64_t start = 0;
    std::int64_t end = 0;  // exclusive: 00:00 of the day after the last

    bool operator==(const FlyingDates&) const = default;
};

// "2026-07-15", "today" or "2026-07-15/2026-07-20" (both days included). `now` is the time
// "today" stands for. Empty when the text is none of these or the last day comes before the
// first.
[[nodiscard]] std::optional<FlyingDates> parseFlyingDates(std::string_view text, std::int64_t now);
// The whole UTC day that holds `seconds`.
[[nodiscard]] FlyingDates flyingDay(std::int64_t seconds);
// "2026-07-15", or "2026-07-15/2026-07-20" for several days: what parseFlyingDates reads back.
[[nodiscard]] std::string flyingDatesText(const FlyingDates& dates);
// The current time, whole seconds since 1970 (UTC).
[[nodiscard]] std::int64_t currentUtcSeconds();

// True when the interval and the dates share some time. An interval that ends when the dates
// begin, or begins when they end, does not.
[[nodiscard]] bool overlaps(const Activation& activation, const FlyingDates& dates);

}  // namespace airspace
