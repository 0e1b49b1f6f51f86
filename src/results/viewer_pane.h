// The pane's form of the viewer's shown text: code page 932 text whose lines end in CR LF becomes UTF-16
// text with one paragraph per line, a line longer than a paragraph may be put into parts, and the
// coloured byte ranges become pane positions. Plain functions: the pane only takes what they compute.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "results/viewer_highlight.h"

// A line longer than this is put into the pane in parts of this many characters, each a paragraph of
// its own: the toolkit lays out a paragraph whole, and one of megabytes would hold the window for
// minutes. The pane wraps long lines anyway, so only where one part ends shows.
inline constexpr int kLongestParagraph = 4096;

// Lines go into the pane's paragraphs together, at most this many lines to one, separated by line
// separators, and a paragraph ends at the first line end after this many characters: the toolkit's
// work to take a document grows with its paragraphs (a file of 280,000 lines one paragraph each takes
// most of a second), while a paragraph is laid out only when it comes into view.
inline constexpr int kParagraphLines = 32;
inline constexpr int kParagraphCharacters = 512;

struct PaneText {
  // Every CR LF a line separator (U+2028) or, where a paragraph ends, a '\n'; every part of a long line
  // ends in a '\n' too.
  std::u16string text;
  int topPosition = 0;  // where line `topLine` begins, the last line if it is beyond the text
  // With `everyLine`: where each line begins, line 1 first.
  std::vector<int> linePositions;
};

// The pane's text of `sjis` (code page 932, every line ending in CR LF) with line `topLine` (from 1)
// found; `everyLine` also lists where every line begins.
PaneText MakePaneText(std::string_view sjis, int topLine, bool everyLine = false);

// The pane positions of the coloured ranges of `sjis`, [begin, end) pairs in ascending order.
std::vector<int> PanePositions(std::string_view sjis, const std::vector<HighlightRange>& ranges);
