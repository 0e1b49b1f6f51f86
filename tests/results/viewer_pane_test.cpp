// The pane's form of the shown text: lines gathered into paragraphs, long lines in parts, where each
// line begins, and the coloured ranges as pane positions.
#include "results/viewer_pane.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The separators of `text` in order: 'L' a line separator, 'P' a paragraph break.
std::string Breaks(const std::u16string& text) {
  std::string breaks;
  for (char16_t u : text) {
    if (u == u'\u2028') breaks += 'L';
    if (u == u'\n') breaks += 'P';
  }
  return breaks;
}

std::string Lines(int count, size_t length) {
  std::string text;
  for (int k = 0; k < count; ++k) text += std::string(length, 'a') + "\r\n";
  return text;
}

TEST(PaneText, LinesGatherIntoParagraphsUpToALineCountOrALength) {
  struct Case {
    const char* name;
    std::string sjis;
    std::string breaks;
  };
  const Case cases[] = {
      {"short lines: 32 to a paragraph", Lines(40, 3), std::string(31, 'L') + "P" + std::string(8, 'L')},
      {"long lines: the paragraph ends at the first line end after 512 characters", Lines(5, 300), "LPLPL"},
      {"a line of 5,000 characters: a part break after 4,096", std::string(5000, 'b') + "\r\nc\r\n", "PPL"},
      {"no line end", "abc", ""},
  };
  for (const Case& c : cases) {
    const PaneText pane = MakePaneText(c.sjis, 1, true);
    EXPECT_EQ(Breaks(pane.text), c.breaks) << c.name;
    // Each line begins after a separator of its own (a part break is not a line end).
    for (size_t line = 1; line < pane.linePositions.size(); ++line) {
      const char16_t before = pane.text[static_cast<size_t>(pane.linePositions[line]) - 1];
      EXPECT_TRUE(before == u'\u2028' || before == u'\n') << c.name << " line " << line + 1;
    }
  }
  // Two-byte characters count one unit each, as the pane holds them.
  const PaneText kanji = MakePaneText("\x8a\xbf\x8e\x9a\r\nx", 2, true);
  EXPECT_EQ(kanji.text, u"\u6f22\u5b57\u2028x");
  EXPECT_EQ(kanji.linePositions, (std::vector<int>{0, 3}));
}

TEST(PaneText, TheTopLineIsFoundAndOneBeyondTheTextGivesTheLastLine) {
  const std::string text = Lines(40, 3);  // 40 lines and the empty one after the last line end
  struct Case {
    int topLine;
    int position;
  };
  for (const Case& c : {Case{1, 0}, Case{2, 4}, Case{33, 128}, Case{41, 160}, Case{500, 160}}) {
    const PaneText pane = MakePaneText(text, c.topLine);
    EXPECT_EQ(pane.topPosition, c.position) << c.topLine;
    EXPECT_TRUE(pane.linePositions.empty());
  }
}

TEST(PaneText, ColouredRangesKeepTheirCharactersAcrossEveryKindOfBreak) {
  // "x" after a line separator, after a paragraph break, and on both sides of a part break.
  const std::string sjis = Lines(31, 1) + "x\r\nx" + std::string(4094, 'a') + "xx\r\n";
  const PaneText pane = MakePaneText(sjis, 1);
  std::vector<HighlightRange> ranges;
  for (size_t at = sjis.find('x'); at != std::string::npos; at = sjis.find('x', at + 1))
    ranges.push_back({at, at + 1});
  const std::vector<int> positions = PanePositions(sjis, ranges);
  ASSERT_EQ(positions.size(), 2 * ranges.size());
  for (size_t k = 0; k < positions.size(); k += 2) {
    // A range that ends a part holds the part's break too, which the pane does not colour.
    std::u16string held = pane.text.substr(static_cast<size_t>(positions[k]),
                                           static_cast<size_t>(positions[k + 1] - positions[k]));
    std::erase(held, u'\n');
    EXPECT_EQ(held, u"x") << k / 2;
  }
}

}  // namespace
