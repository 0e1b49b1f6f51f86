// Where the viewer colours the search pattern in its shown text: byte ranges of the code page 932 text,
// found by plain comparison or by the regular-expression library. Plain functions; the pane only applies
// the colour to what they return.
#pragma once

#include <cstddef>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

// One coloured run of the shown text: bytes [begin, end).
struct HighlightRange {
  size_t begin = 0;
  size_t end = 0;
  bool operator==(const HighlightRange&) const = default;
};

// Occurrences of `pattern` from the start of `text`, each search starting where the previous occurrence
// ended (no overlaps), only at character boundaries. Exact when `ignoreCase` is off. With it on, the
// search folds every letter that has case in code page 932 (Latin, full-width Latin, Greek, Cyrillic),
// and an occurrence is coloured only when it also equals the pattern under the system's text comparison,
// which folds Latin letters only; an occurrence found but not coloured still moves the search past it.
std::vector<HighlightRange> PlainHighlights(std::string_view text, std::string_view pattern, bool ignoreCase);

// Matches of the search string as a regular expression (compiled by the library with the system's rules,
// case ignored when `ignoreCase`), line by line: each line is searched again from the end of the last
// match. A match that is empty colours nothing and the search moves on by one character, so an
// expression that matches the empty string everywhere still ends. Nothing when it does not compile. A
// requested stop ends the search at the next line (what was found so far is returned).
std::vector<HighlightRange> RegexHighlights(std::string_view text, const std::string& searchString,
                                            bool ignoreCase, std::stop_token stopping = {});
