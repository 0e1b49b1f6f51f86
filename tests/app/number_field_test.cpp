#include "app/number_field.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberField, TypedTextBecomesANumberWithinTheSpinsBounds) {
  struct Case {
    const char* typed;
    int lower, upper;
    const char* shown;  // nullptr: left as typed
  };
  const Case cases[] = {
      {"007", 0, 32767, "7"},
      {"0", 0, 32767, nullptr},
      {"00", 0, 64, "0"},
      {"12", 0, 64, nullptr},
      {"65", 0, 64, "64"},
      {"99999", 0, 32767, "32767"},
      {"99999999999999999999", 0, 32767, "32767"},  // too long for any int: still above the bound
      {"-5", 0, 64, "0"},
      {"-99999999999999999999", 0, 64, "0"},
      {"", 0, 32767, "0"},
      {"abc", 0, 32767, "0"},
      {"12a", 0, 32767, "0"},
      {"-", 0, 32767, "0"},
      {" 7", 0, 32767, nullptr},
      {"5", 10, 20, "10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::optional<std::string> shown = FixNumberField(c.typed, c.lower, c.upper);
    if (c.shown == nullptr) {
      EXPECT_FALSE(shown.has_value()) << *shown;
    } else {
      EXPECT_EQ(shown.value_or("(as typed)"), c.shown);
    }
  }
}

}  // namespace
