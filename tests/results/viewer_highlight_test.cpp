// The ranges the viewer colours: plain occurrences (exact, or case ignored with the confirming
// comparison) and regular-expression matches line by line, empty matches included.
#include "results/viewer_highlight.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Ranges = std::vector<HighlightRange>;

TEST(PlainHighlightTest, Occurrences) {
  struct Case {
    const char* name;
    std::string text, pattern;
    bool ignoreCase;
    Ranges expected;
  };
  const std::string hyou = "\x95\x5c";  // 表, whose trail byte is a backslash
  const Case cases[] = {
      {"exact", "abc ABC abc", "abc", false, {{0, 3}, {8, 11}}},
      {"case ignored", "abc ABC Abc", "abc", true, {{0, 3}, {4, 7}, {8, 11}}},
      {"no overlaps", "aaaaa", "aa", false, {{0, 2}, {2, 4}}},
      {"never on a trail byte", "\x83\x41" "A", "A", false, {{2, 3}}},
      {"a double-byte character is found whole", "x" + hyou + "\\", hyou, false, {{1, 3}}},
      {"trail byte not taken for a backslash", hyou + "\\", "\\", false, {{2, 3}}},
      {"full-width letters fold", "\x82\x60\x82\x81", "\x82\x81", true, {{0, 2}, {2, 4}}},
      // Greek capitals are found by the finder but not coloured; the search still moves past them.
      {"found but not coloured", "\x83\x9f\x83\xbf\x83\xbf", "\x83\xbf\x83\xbf", true, {}},
      {"empty pattern", "abc", "", false, {}},
      {"pattern longer than the text", "ab", "abc", true, {}},
      {"at the very end", "xxab", "ab", false, {{2, 4}}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlainHighlights(c.text, c.pattern, c.ignoreCase), c.expected) << c.name;
}

TEST(RegexHighlightTest, MatchesLineByLine) {
  struct Case {
    const char* name;
    std::string text, expression;
    bool ignoreCase;
    Ranges expected;
  };
  const Case cases[] = {
      {"every match of a line", "ab1 ab22\r\nab3", "ab[0-9]+", false, {{0, 3}, {4, 8}, {10, 13}}},
      {"case ignored", "ABC abc", "abc", true, {{0, 3}, {4, 7}}},
      {"case significant", "ABC abc", "abc", false, {{4, 7}}},
      {"never across a line end", "ab\r\ncd", "b\\s*c", false, {}},
      {"empty matches move on one character", "baab", "a*", false, {{1, 3}}},
      {"matches the empty string everywhere", "abc\r\n\r\n\x88\x9f", "x*", false, {}},
      {"double-byte characters", "\x88\x9f\x88\x9f", ".", false, {{0, 2}, {2, 4}}},
      {"lookahead across the match", "aaa", "a(?=a)", false, {{0, 1}, {1, 2}}},
      {"does not compile", "abc", "a(", false, {}},
      {"empty line and empty text", "\r\n", "a", false, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RegexHighlights(c.text, c.expression, c.ignoreCase), c.expected) << c.name;
  }
}

TEST(RegexHighlightTest, EmptyMatchesOverALongLineEnd) {
  // Every position of a megabyte line matches the empty string; the scan must still reach the end.
  const std::string line(1 << 20, 'a');
  EXPECT_TRUE(RegexHighlights(line, "b*", false).empty());
  EXPECT_EQ(RegexHighlights(line + "b", "b*", false), (Ranges{{line.size(), line.size() + 1}}));
}

}  // namespace
