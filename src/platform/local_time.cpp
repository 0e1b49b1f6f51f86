#include "platform/local_time.h"

#include <langinfo.h>
#include <locale.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "platform/local_time_formats.h"

namespace platform {
namespace detail {
namespace {

// One piece of a strftime format: a conversion ("%H", "%-d", "%OM") or the literal text between two.
struct Piece {
  bool conversion = false;
  char letter = 0;  // the conversion's letter
  std::string text;
};

std::vector<Piece> Split(std::string_view format) {
  std::vector<Piece> pieces;
  for (size_t i = 0; i < format.size();) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      if (pieces.empty() || pieces.back().conversion) pieces.push_back(Piece{});
      pieces.back().text += format[i++];
      continue;
    }
    size_t j = i + 1;
    while (j + 1 < format.size() &&
           std::string_view("_-0^#123456789EO").find(format[j]) != std::string_view::npos) {
      ++j;
    }
    pieces.push_back(Piece{true, format[j], std::string(format.substr(i, j + 1 - i))});
    i = j + 1;
  }
  return pieces;
}

std::string Join(const std::vector<Piece>& pieces) {
  std::string format;
  for (const Piece& piece : pieces) format += piece.text;
  return format;
}

// Replaces the composite conversions by what they stand for, so their parts can be seen.
std::string Expand(std::string_view format, std::string_view amPmFormat) {
  std::string expanded;
  for (const Piece& piece : Split(format)) {
    if (!piece.conversion) {
      expanded += piece.text;
      continue;
    }
    switch (piece.letter) {
      case 'T':
        expanded += "%H:%M:%S";
        break;
      case 'R':
        expanded += "%H:%M";
        break;
      case 'r':
        expanded += amPmFormat.empty() || amPmFormat.find("%r") != std::string_view::npos
                        ? std::string_view("%I:%M:%S %p")
                        : amPmFormat;
        break;
      case 'D':
        expanded += "%m/%d/%y";
        break;
      case 'F':
        expanded += "%Y-%m-%d";
        break;
      default:
        expanded += piece.text;
    }
  }
  return expanded;
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

// True for a separator such as ":" or " . ": ASCII punctuation, perhaps with blanks around it.
bool IsSeparator(std::string_view text) {
  bool punctuation = false;
  for (char c : text) {
    if (c == ' ') continue;
    bool alphanumeric = (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
    if (c < '!' || c > '~' || alphanumeric) return false;
    punctuation = true;
  }
  return punctuation;
}

// "%H:%M:%S" -> "%H:%M", "%I:%M:%S %p" -> "%I:%M %p", "%H時%M分%S秒" -> "%H時%M分": the seconds go with the
// separator before them, or, when a unit word follows them, with that word.
std::string WithoutSeconds(std::string_view format) {
  std::vector<Piece> pieces = Split(format);
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (!pieces[i].conversion || pieces[i].letter != 'S') continue;
    bool hasPre = i > 0 && !pieces[i - 1].conversion;
    bool hasPost = i + 1 < pieces.size() && !pieces[i + 1].conversion;
    std::string pre = hasPre ? pieces[i - 1].text : std::string();
    if (hasPre && IsSeparator(pre)) {
      pieces.erase(pieces.begin() + static_cast<long>(i) - 1, pieces.begin() + static_cast<long>(i) + 1);
    } else if (hasPost && !IsBlank(pieces[i + 1].text)) {
      if (hasPre) pieces[i - 1].text.erase(pre.find_last_not_of(' ') + 1);
      pieces.erase(pieces.begin() + static_cast<long>(i), pieces.begin() + static_cast<long>(i) + 2);
    } else {
      pieces.erase(pieces.begin() + static_cast<long>(i) - (hasPre ? 1 : 0),
                   pieces.begin() + static_cast<long>(i) + 1);
    }
    break;
  }
  return Join(pieces);
}

// True when the text has the shape of UTF-8 (what the locale's texts are taken to be in).
bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    size_t length = b < 0x80                 ? 1
                    : b >= 0xC2 && b <= 0xDF ? 2
                    : b >= 0xE0 && b <= 0xEF ? 3
                    : b >= 0xF0 && b <= 0xF4 ? 4
                                             : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// True when the format is UTF-8, has a conversion with a letter of every group and none of `forbidden`.
bool HasFields(std::string_view format, std::initializer_list<std::string_view> groups,
               std::string_view forbidden) {
  if (!IsUtf8(format)) return false;
  std::vector<Piece> pieces = Split(format);
  for (const Piece& piece : pieces) {
    if (piece.conversion && forbidden.find(piece.letter) != std::string_view::npos) return false;
  }
  for (std::string_view group : groups) {
    bool found = false;
    for (const Piece& piece : pieces) {
      found = found || (piece.conversion && group.find(piece.letter) != std::string_view::npos);
    }
    if (!found) return false;
  }
  return true;
}

}  // namespace

ShortFormats FallbackShortFormats() {
  return {"%Y/%m/%d", "%H:%M"};
}

ShortFormats ChooseShortFormats(std::string_view dateFormat, std::string_view timeFormat,
                                std::string_view amPmFormat) {
  ShortFormats formats = FallbackShortFormats();
  std::string date = Expand(dateFormat, amPmFormat);
  if (HasFields(date, {"de", "mbBh", "yYCGg"}, "HIklMSsTrRXxcp")) formats.date = date;
  std::string time = WithoutSeconds(Expand(timeFormat, amPmFormat));
  if (HasFields(time, {"HIkl", "M"}, "SsTrXxcdemyY")) formats.time = time;
  return formats;
}

}  // namespace detail

namespace {

// The user's time locale as the environment names it, or nullptr for the C/POSIX locale (or none usable).
locale_t UserTimeLocale() {
  const char* name = nullptr;
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      name = value;
      break;
    }
  }
  if (name == nullptr) return nullptr;
  std::string_view n(name);
  if (n == "C" || n == "POSIX" || n.starts_with("C.")) return nullptr;
  locale_t locale = newlocale(LC_TIME_MASK, "", nullptr);
  return locale == static_cast<locale_t>(nullptr) ? nullptr : locale;
}

struct DisplayFormats {
  locale_t locale = nullptr;  // kept for the process's life: strftime_l reads its names from it
  detail::ShortFormats formats = detail::FallbackShortFormats();
};

const DisplayFormats& GetDisplayFormats() {
  // Chosen once, on first use, by whichever thread comes first; nothing changes them later.
  static const DisplayFormats display = [] {
    DisplayFormats d;
    d.locale = UserTimeLocale();
    if (d.locale != nullptr) {
      d.formats = detail::ChooseShortFormats(nl_langinfo_l(D_FMT, d.locale), nl_langinfo_l(T_FMT, d.locale),
                                             nl_langinfo_l(T_FMT_AMPM, d.locale));
    }
    return d;
  }();
  return display;
}

std::string Format(const std::string& format, const struct tm& tm, locale_t locale) {
  char buffer[256];
  size_t n = locale != nullptr ? strftime_l(buffer, sizeof buffer, format.c_str(), &tm, locale)
                               : strftime(buffer, sizeof buffer, format.c_str(), &tm);
  return std::string(buffer, n);
}

}  // namespace

int64_t Now() {
  return static_cast<int64_t>(std::time(nullptr));
}

bool ToLocal(int64_t time, LocalParts& parts) {
  time_t t = static_cast<time_t>(time);
  struct tm tm;
  if (static_cast<int64_t>(t) != time || localtime_r(&t, &tm) == nullptr || tm.tm_year > INT_MAX - 1900) {
    return false;
  }
  parts.year = tm.tm_year + 1900;
  parts.month = tm.tm_mon + 1;
  parts.day = tm.tm_mday;
  parts.hour = tm.tm_hour;
  parts.minute = tm.tm_min;
  parts.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;  // a leap second shows as the second before it
  return true;
}

bool FromLocal(const LocalParts& parts, int64_t& time) {
  if (parts.year < INT_MIN + 1900) return false;
  struct tm tm = {};
  tm.tm_year = parts.year - 1900;
  tm.tm_mon = parts.month - 1;
  tm.tm_mday = parts.day;
  tm.tm_hour = parts.hour;
  tm.tm_min = parts.minute;
  tm.tm_sec = parts.second;
  tm.tm_isdst = -1;  // whether daylight saving applies is the time zone's to say
  time_t t = mktime(&tm);
  // The result must read back as local parts; -1 is an error, or one second before 1970 UTC when the
  // parts read back as that very time.
  LocalParts check;
  if (!ToLocal(static_cast<int64_t>(t), check)) return false;
  if (t == static_cast<time_t>(-1) &&
      (check.year != parts.year || check.month != parts.month || check.day != parts.day ||
       check.hour != parts.hour || check.minute != parts.minute || check.second != parts.second)) {
    return false;
  }
  time = static_cast<int64_t>(t);
  return true;
}

namespace {

// The first second of the local day `dayOffset` days after the one holding `time`, or `time` itself.
int64_t DayStart(int64_t time, int dayOffset) {
  time_t t = static_cast<time_t>(time);
  struct tm tm;
  if (static_cast<int64_t>(t) != time || localtime_r(&t, &tm) == nullptr) return time;
  tm.tm_mday += dayOffset;
  tm.tm_hour = tm.tm_min = tm.tm_sec = 0;
  tm.tm_isdst = -1;
  // Where midnight falls into a daylight-saving gap, the system takes the first second after it.
  time_t start = mktime(&tm);
  return start == static_cast<time_t>(-1) ? time : static_cast<int64_t>(start);
}

}  // namespace

int64_t StartOfLocalDay(int64_t time) {
  int64_t start = DayStart(time, 0);
  return start <= time ? start : time;
}

int64_t EndOfLocalDay(int64_t time) {
  // The second before the next day begins: on a day whose last hour repeats (clocks turned back at
  // midnight), "23:59:59" happens twice and the day ends at the later one.
  int64_t next = DayStart(time, 1);
  return next > time ? next - 1 : time;
}

std::string FormatShortDateTime(int64_t time) {
  time_t t = static_cast<time_t>(time);
  struct tm tm;
  if (static_cast<int64_t>(t) != time || localtime_r(&t, &tm) == nullptr) return std::string();
  const DisplayFormats& display = GetDisplayFormats();
  std::string date = Format(display.formats.date, tm, display.locale);
  std::string clock = Format(display.formats.time, tm, display.locale);
  std::string text = date;
  if (!date.empty() && !clock.empty()) text += ' ';
  text += clock;
  // The locale's texts are UTF-8; the system shows code page 932.
  return IsAscii(text) ? text : Cp932FromUtf8(text);
}

}  // namespace platform
