#include "cmdline/command_line.h"

#include <algorithm>

#include "matching/mbcs.h"
#include "platform/cp932.h"
#include "platform/local_time.h"
#include "platform/paths.h"

namespace {

constexpr int kMaxDepth = 64;
constexpr int kMaxPastDay = 32767;
// A size number may take one more digit only while it is below this, so the largest is 32759.
constexpr int kSizeDigitLimit = 3276;

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Blanks around a token and its value are ASCII spaces only: a tab inside a value is the user's own.
std::string_view TrimSpaces(std::string_view s) {
  size_t begin = s.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  size_t end = s.find_last_not_of(' ');
  return s.substr(begin, end - begin + 1);
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
    out.append(s, pos, hit - pos);
    out.append(to);
  }
  out.append(s, pos, std::string::npos);
  s.swap(out);
}

// Reads exactly `count` decimal digits at `pos`; false when a character there is not a digit or the
// text is too short.
bool ReadDigits(std::string_view s, size_t pos, size_t count, int& value) {
  if (pos > s.size() || s.size() - pos < count) return false;
  value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (!IsDigit(s[i])) return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}

bool ValidDate(int year, int month, int day) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1970 || year > 2037 || month < 1 || month > 12 || day < 1) return false;
  // Every fourth year is a leap year, which is exact within 1970..2037.
  int length = (month == 2 && year % 4 == 0) ? 29 : kDays[month - 1];
  return day <= length;
}

bool ValidTime(int hour, int minute, int second) {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

// Reads "YYYYMMDD" at pos (and ",hhmmss" after it when withTime) into parts; false when a digit group or
// separator is wrong or the date or time is not valid.
bool ReadDateTime(std::string_view s, size_t pos, bool withTime, platform::LocalParts& parts) {
  if (!ReadDigits(s, pos, 4, parts.year) || !ReadDigits(s, pos + 4, 2, parts.month) ||
      !ReadDigits(s, pos + 6, 2, parts.day) || !ValidDate(parts.year, parts.month, parts.day)) {
    return false;
  }
  if (!withTime) return true;
  return s.size() > pos + 8 && s[pos + 8] == ',' && ReadDigits(s, pos + 9, 2, parts.hour) &&
         ReadDigits(s, pos + 11, 2, parts.minute) && ReadDigits(s, pos + 13, 2, parts.second) &&
         ValidTime(parts.hour, parts.minute, parts.second);
}

// The code is one letter exactly; a longer word such as "sjis" means automatic like any other value.
int CodeOf(std::string_view value) {
  char letter = value.size() == 1 ? LowerAscii(value[0]) : '\0';
  return letter == 's' ? 0 : letter == 'e' ? 1 : letter == 'j' ? 2 : 3;
}

int SubFolderOf(std::string_view value) {
  int depth = 0;
  if (value.size() == 1 && LowerAscii(value[0]) == 'b') return kAllSubFolders;
  if (!value.empty() && value.size() <= 2 && ReadDigits(value, 0, value.size(), depth)) {
    return depth > kMaxDepth ? kMaxDepth : depth;
  }
  return kNoSubFolders;  // "a" and every unreadable value
}

}  // namespace

std::optional<std::string> ExpandLocation(std::string_view cp932) {
  // A path never holds a NUL, and a text the code page does not define could name some other entry
  // once its undefined bytes had become "?".
  if (cp932.empty() || cp932.find('\0') != std::string_view::npos) return std::nullopt;
  std::string native = platform::Utf8FromCp932(cp932);
  if (std::count(native.begin(), native.end(), '?') != std::count(cp932.begin(), cp932.end(), '?')) {
    return std::nullopt;
  }
  std::optional<std::string> expanded = platform::ExpandLongPath(native);
  // The long form may run through folders whose names the code page cannot hold (a relative path in
  // such a working folder); a location with "?" in place of them would name something else.
  if (!expanded || !platform::Cp932CanHold(*expanded)) return std::nullopt;
  return platform::Cp932FromUtf8(*expanded);
}

CCommandLine::CCommandLine(int64_t now, CommandTextForm form) : now_(now), form_(form) {
  ResetDate();
}

void CCommandLine::ResetDate() {
  TimeFilter = 0;
  TimeKind = 1;
  RangeKind = 0;
  DateFrom = platform::StartOfLocalDay(now_);
  DateTo = platform::EndOfLocalDay(now_);
  WholeDay = true;
  PastDay = 0;
  PastTime = 0;
}

void CCommandLine::ResetSize() {
  SizeKind = 0;
  SizeMin = 0;
  SizeMax = 0;
  SizeMinUnit = 1;
  SizeMaxUnit = 1;
}

void CCommandLine::Parse(std::string_view text) {
  // The "-" appended at the end ends the last option like the others.
  std::string all(text);
  all += '-';
  bool quoted = false;
  std::string token;
  auto finish = [this](const std::string& raw) {
    std::string t(TrimSpaces(raw));
    ReplaceAll(t, "&quot;", "\"");
    ReplaceAll(t, "&amp;", "&");
    ParseOption(t);
  };
  for (char c : all) {
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (c == '-' && !quoted && !token.empty()) {
      finish(token);
      token.clear();
    }
    token += c;
  }
  // A quote left open runs to the end of the text: its option still counts, without the "-" appended.
  if (quoted) finish(token.substr(0, token.size() - 1));
  if (Text) File = Folder = false;
  if (File || Folder) Text = false;
}

void CCommandLine::ParseOption(std::string_view token) {
  if (token.size() < 2 || token[0] != '-') return;
  std::string value(TrimSpaces(token.substr(2)));
  switch (LowerAscii(token[1])) {
    case 'b':
      ParseLocation(value);
      break;
    case 'm':
      Patterns.push_back(value);
      PatternGiven = true;
      break;
    case 'e':
      ExtensionText = value;
      ExtensionGiven = true;
      break;
    case 'i':
      IgnoreCase = value == "1";
      CaseGiven = true;
      break;
    case 'r':
      Regex = value == "1";
      RegexGiven = true;
      break;
    case 'c':
      Code = CodeOf(value);
      CodeGiven = true;
      break;
    case 's':
      SubFolder = SubFolderOf(value);
      SubFolderGiven = true;
      break;
    case 'a':
      ParseAttributes(value);
      break;
    case 'j':
      // Each -j starts from the defaults; only a readable one counts, so the last -j decides.
      ResetDate();
      DateGiven = ParseDate(value);
      if (!DateGiven) ResetDate();
      break;
    case 'z':
      ResetSize();
      SizeGiven = ParseSize(value);
      if (!SizeGiven) ResetSize();
      break;
    default:
      ParseFlags(token.substr(1));
      break;
  }
}

void CCommandLine::ParseLocation(const std::string& value) {
  std::optional<std::string> expanded;
  if (form_ == CommandTextForm::kCp932) {
    expanded = ExpandLocation(value);
  } else if (!value.empty() && value.find('\0') == std::string::npos) {
    expanded = platform::ExpandLongPath(value);
  }
  if (expanded) {
    Locations.push_back(*expanded);
    LocationGiven = true;
  } else {
    // Still reaches the location box, but cannot start a search by itself.
    Locations.push_back(value);
  }
}

void CCommandLine::ParseAttributes(std::string_view value) {
  for (size_t i = 0; i < value.size();) {
    size_t len = matching::CharLen(value, i);
    if (len == 0) len = 1;  // a NUL inside the value is skipped like any other character
    char letter = len == 1 ? LowerAscii(value[i]) : '\0';
    i += len;
    bool* given = nullptr;
    int* state = nullptr;
    if (letter == 'r') given = &ReadonlyGiven, state = &Readonly;
    if (letter == 'h') given = &HiddenGiven, state = &Hidden;
    if (letter == 's') given = &SystemGiven, state = &System;
    if (letter == 'a') given = &ArchiveGiven, state = &Archive;
    if (!given) continue;
    *given = true;
    *state = 0;
    if (i < value.size() && value[i] >= '0' && value[i] <= '2') *state = value[i++] - '0';
  }
}

bool CCommandLine::ParseDate(std::string_view v) {
  size_t n = v.size();
  if (n == 0) return false;
  char kind = LowerAscii(v[0]);
  if (kind == 'a') {
    if (n != 1) return false;
    TimeFilter = 0;
    return true;
  }
  if (kind != 'm' && kind != 'u') return false;
  TimeKind = kind == 'm' ? 0 : 1;
  TimeFilter = 1;
  bool future = n >= 2 && LowerAscii(v[1]) == 'f';
  if (n == 18) return ParseDateRange(v.substr(1), false);
  if (n == 32) return ParseDateRange(v.substr(1), true);
  if (n == 8 && future) {
    PastDay = ~PastDay;  // marks the future
    return ParseTimeSpan(v.substr(2, 6), true);
  }
  // "kf" and five digits is a future day count (10000 days or more), which the composer writes; read as
  // a time span it could never be valid.
  if ((n == 7 && !future) || n == 8) return ParseTimeSpan(v.substr(1, 6), false);
  std::string_view rest = v.substr(future ? 2 : 1);
  if (rest.size() + 1 > 6) return false;
  return ParseDays(rest, future);
}

bool CCommandLine::ParseDateRange(std::string_view value, bool withTimes) {
  platform::LocalParts from, to;
  size_t second = withTimes ? 16 : 9;
  if (!ReadDateTime(value, 0, withTimes, from) || value[second - 1] != ',' ||
      !ReadDateTime(value, second, withTimes, to)) {
    return false;
  }
  if (!withTimes) {
    to.hour = 23;
    to.minute = 59;
    to.second = 59;
  }
  int64_t fromTime = 0, toTime = 0;
  if (!platform::FromLocal(from, fromTime) || !platform::FromLocal(to, toTime)) return false;
  RangeKind = 0;
  WholeDay = !withTimes;
  DateFrom = fromTime;
  DateTo = toTime;
  return true;
}

bool CCommandLine::ParseTimeSpan(std::string_view hhmmss, bool future) {
  int hour = 0, minute = 0, second = 0;
  // Only the time of day is checked: taking today's date into the check as well would fail every time
  // span once today lies beyond the years a date may name.
  if (hhmmss.size() != 6 || !ReadDigits(hhmmss, 0, 2, hour) || !ReadDigits(hhmmss, 2, 2, minute) ||
      !ReadDigits(hhmmss, 4, 2, second) || !ValidTime(hour, minute, second)) {
    return false;
  }
  int64_t seconds = int64_t{hour} * 3600 + minute * 60 + second;
  RangeKind = 2;
  PastTime = future ? -seconds : seconds;
  return true;
}

bool CCommandLine::ParseDays(std::string_view digits, bool future) {
  int days = 0;
  if (!ReadDigits(digits, 0, digits.size(), days) || days > kMaxPastDay) return false;
  RangeKind = 1;
  PastDay = future ? ~days : days;
  return true;
}

bool CCommandLine::ParseSize(std::string_view value) {
  if (value.size() == 1 && LowerAscii(value[0]) == 'a') return true;  // no size filter
  if (value.size() < 3) return false;
  enum State { kNotBegun, kOpen, kClosed };
  struct Section {
    State state = kNotBegun;
    int number = 0;
    int unit = 1;
  } sections[2];
  Section* current = nullptr;
  for (char raw : value) {
    char c = LowerAscii(raw);
    if (c == 'l' || c == 'r') {
      current = &sections[c == 'r' ? 1 : 0];
      if (current->state != kNotBegun) return false;
      current->state = kOpen;
    } else if (IsDigit(c) || c == 'b' || c == 'k' || c == 'm') {
      if (!current || current->state != kOpen) return false;
      if (!IsDigit(c)) {
        current->unit = c == 'b' ? 0 : c == 'k' ? 1 : 2;
        current->state = kClosed;
      } else if (current->number >= kSizeDigitLimit) {
        return false;
      } else {
        current->number = current->number * 10 + (c - '0');
      }
    } else {
      return false;
    }
  }
  if (sections[0].state == kOpen || sections[1].state == kOpen) return false;
  SizeKind = (sections[0].state == kClosed ? 1 : 0) + (sections[1].state == kClosed ? 2 : 0);
  SizeMin = sections[0].number;
  SizeMinUnit = sections[0].unit;
  SizeMax = sections[1].number;
  SizeMaxUnit = sections[1].unit;
  return true;
}

void CCommandLine::ParseFlags(std::string_view token) {
  // Character by character, so that the second byte of a double-byte character is never taken for a
  // letter.
  for (size_t i = 0; i < token.size();) {
    size_t len = matching::CharLen(token, i);
    if (len == 0) len = 1;
    if (len == 1) {
      char c = LowerAscii(token[i]);
      if (c == 't') Text = true;
      if (c == 'f') File = true;
      if (c == 'd') Folder = true;
      if (c == 'g') Go = true;
    }
    i += len;
  }
}
