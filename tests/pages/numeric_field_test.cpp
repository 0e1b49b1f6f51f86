#include "pages/numeric_field.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplyNumericFieldRule, CorrectsWhatTheUserTyped) {
  struct Case {
    const char* typed;
    int lower, upper;
    const char* shown;
  } cases[] = {
      {"12", 0, 255, "12"},
      {"300", 0, 255, "255"},
      {"256", 0, 255, "255"},
      {"255", 0, 255, "255"},
      {"a", 0, 255, "0"},
      {"1a", 0, 255, "0"},
      {"", 0, 127, "0"},  // a cleared field
      {"-", 0, 127, "0"},
      {"-3", 0, 127, "0"},  // below the lower bound
      {"-3", -5, 5, "-3"},
      {"-9", -5, 5, "-5"},
      {"3", 5, 9, "5"},
      {"007", 0, 255, "7"},
      {"00", 0, 255, "0"},
      {"0", 0, 255, "0"},                       // a single "0" is already plain
      {"05", 0, 127, "5"},                      // "0" then "5" typed after it
      {"99999999999999999999", 0, 127, "127"},  // too long for an int: above the bound
      {"-99999999999999999999", 0, 127, "0"},
      {" 7", 0, 255, " 7"},  // a number with blanks stays as typed
      {"+7", 0, 255, "+7"},
      {"１２", 0, 255, "0"},  // full-width digits are not a number
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApplyNumericFieldRule(c.typed, c.lower, c.upper), c.shown)
        << "'" << c.typed << "' in " << c.lower << ".." << c.upper;
  }
}

TEST(ApplyNumericFieldRule, ValueIsTheCorrectedNumber) {
  EXPECT_EQ(NumericFieldValue("300", 0, 255), 255);
  EXPECT_EQ(NumericFieldValue("x", 0, 255), 0);
  EXPECT_EQ(NumericFieldValue(" 7 ", 0, 255), 7);
  EXPECT_EQ(NumericFieldValue("-1", 1, 9), 1);
  EXPECT_EQ(ReadFieldNumber("2147483648"), std::nullopt);
  EXPECT_EQ(ReadFieldNumber("-2147483648"), INT32_MIN);
}

}  // namespace
