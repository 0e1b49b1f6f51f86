#include "pages/numeric_field.h"

#include "app/number_field.h"

#include <cstdint>
#include <string>

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

struct Parsed {
  bool number = false;  // sign and digits, nothing else but blanks around them
  bool negative = false;
  bool overflow = false;  // more than an int holds
  int64_t value = 0;
};

Parsed Parse(std::string_view text) {
  Parsed parsed;
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) parsed.negative = text[i++] == '-';
  const size_t digitsStart = i;
  // Past INT32 either way; saturating here keeps the arithmetic within int64_t however long the text.
  constexpr int64_t kSaturated = int64_t{1} << 40;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (parsed.value < kSaturated) parsed.value = parsed.value * 10 + (text[i] - '0');
  }
  if (i == digitsStart) return parsed;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return parsed;
  parsed.number = true;
  if (parsed.negative) parsed.value = -parsed.value;
  parsed.overflow = parsed.value > INT32_MAX || parsed.value < INT32_MIN;
  return parsed;
}

}  // namespace

// One rule for every number field of the settings pages: FixNumberField.
std::string ApplyNumericFieldRule(std::string_view text, int lower, int upper) {
  return FixNumberField(text, lower, upper).value_or(std::string(text));
}

std::optional<int> ReadFieldNumber(std::string_view text) {
  const Parsed parsed = Parse(text);
  if (!parsed.number || parsed.overflow) return std::nullopt;
  return static_cast<int>(parsed.value);
}

int NumericFieldValue(std::string_view text, int lower, int upper) {
  return *ReadFieldNumber(ApplyNumericFieldRule(text, lower, upper));
}
