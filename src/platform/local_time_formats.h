// Choosing the short date and time formats from a locale's strftime formats (kept apart from
// local_time.cpp so the choice can be tested with any locale's texts, installed or not).
#pragma once

#include <string>
#include <string_view>

namespace platform::detail {

struct ShortFormats {
  std::string date;  // strftime format of the short date
  std::string time;  // strftime format of the time without seconds
};

// The formats used when the locale's own are missing or unusable, and for the C/POSIX locale, whose
// formats are no one's preference: "2024/03/31" and "09:05".
ShortFormats FallbackShortFormats();

// The short formats from a locale's D_FMT, T_FMT and T_FMT_AMPM: the date as given, the time with its
// seconds (and the separator or unit that goes with them) removed. Each part that is unusable (empty,
// not UTF-8, lacking its fields, or able to name seconds still) falls back on its own.
ShortFormats ChooseShortFormats(std::string_view dateFormat, std::string_view timeFormat,
                                std::string_view amPmFormat);

}  // namespace platform::detail
