#include "app/number_field.h"

#include <algorithm>
#include <cstdint>

namespace {

// The text read as a signed decimal (blanks around it allowed, an optional sign, then digits), saturated
// far beyond any bound; nullopt when it is no number.
std::optional<int64_t> ReadSigned(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  size_t i = 0;
  const bool negative = text[0] == '-';
  if (text[0] == '-' || text[0] == '+') ++i;
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
