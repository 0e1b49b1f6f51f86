#include "app/number_field.h"

#include <algorithm>
#include <cstdint>

namespace {

// The text read as a signed decimal (leading blanks allowed, then an optional "-" and digits, nothing
// after), saturated to the int64 range; nullopt when it is no number.
std::optional<int64_t> ReadSigned(std::string_view text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return std::nullopt;
  const bool negative = text[i] == '-';
  if (negative) ++i;
  if (i == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    // Saturate far beyond any bound instead of overflowing.
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT64_C(1) << 40);
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<std::string> FixNumberField(std::string_view text, int lower, int upper) {
  const std::optional<int64_t> value = ReadSigned(text);
  if (!value) return std::string("0");
  if (*value > upper) return std::to_string(upper);
  if (*value < lower) return std::to_string(lower);
  if (text.size() >= 2 && text[0] == '0') return std::to_string(*value);
  return std::nullopt;
}
