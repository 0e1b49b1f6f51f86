// Local calendar time and the user's short date and time formats. Times are 64-bit signed counts of
// seconds since 1970-01-01 00:00:00 UTC; calendar days are the local time zone's.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct LocalParts {
  int year = 1970;  // full year, e.g. 2024
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;     // 0..23
  int minute = 0;   // 0..59
  int second = 0;   // 0..59
};

// The current time.
int64_t Now();

// Splits a time into its local calendar parts; false when the platform cannot represent it.
bool ToLocal(int64_t time, LocalParts& parts);

// The time of the given local calendar parts (daylight saving left to the system); false when the
// parts do not name a representable time.
bool FromLocal(const LocalParts& parts, int64_t& time);

// 00:00:00 and 23:59:59 of the local day that holds `time` (the time itself when it cannot be converted).
int64_t StartOfLocalDay(int64_t time);
int64_t EndOfLocalDay(int64_t time);

// The last-write time text of a hit: the user's short date, one blank, the time without seconds, in code
// page 932. A part that cannot be made is empty and the blank is then left out.
std::string FormatShortDateTime(int64_t time);

}  // namespace platform
