// CUtf8Matcher: finding a search string in Unicode text where code page 932 cannot stand in for it. Two
// kinds of search string need it:
// - one code page 932 cannot hold (한국, an emoji, bytes that are no UTF-8): its code-page-932 form has "?"
//   in place of what it lacks and would find every "?"; only Unicode text (UTF-8 files, UTF-16 files read
//   as UTF-8, native names) can hold it;
// - one holding a twin character: code page 932 takes seven characters from two Unicode characters each
//   (〜 U+301C and ～ U+FF5E are both 0x8160), so a Japanese user types either form and means both.
// Text and search string are compared folded (FoldUtf8). Lines are found by a fast search for a piece every
// matching line must contain (the needles), and only those lines are folded and compared.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace matching {

class CSboymoo;

// A character code page 932 takes from two Unicode characters: its code, the JIS form and the Microsoft
// form (the one the code reads back as).
struct TwinCharacter {
  unsigned sjis;
  char32_t jis;
  char32_t microsoft;
};
inline constexpr TwinCharacter kTwinCharacters[] = {
    {0x8160, 0x301C, 0xFF5E}, {0x8161, 0x2016, 0x2225}, {0x817C, 0x2212, 0xFF0D}, {0x815C, 0x2014, 0x2015},
    {0x8191, 0x00A2, 0xFFE0}, {0x8192, 0x00A3, 0xFFE1}, {0x81CA, 0x00AC, 0xFFE2},
};

// Appends the folded form of UTF-8 text to `out`: the JIS form of each twin character becomes its
// Microsoft form and, with `ignoreCase`, the ASCII and full-width Latin capitals become small letters (the
// folding of the Shift-JIS comparison). Bytes of invalid sequences are kept, so they match themselves.
void FoldUtf8(std::string_view text, bool ignoreCase, std::string& out);

// True when the UTF-8 text holds a twin character in either form.
bool HasTwinCharacter(std::string_view utf8);

class CUtf8Matcher {
 public:
  // The search string is UTF-8 (invalid bytes allowed) up to its first NUL. Throws the integer 1 when
  // memory runs out, like CSboymoo.
  CUtf8Matcher(std::string_view pattern, bool ignoreCase);
  ~CUtf8Matcher();
  CUtf8Matcher(const CUtf8Matcher&) = delete;
  CUtf8Matcher& operator=(const CUtf8Matcher&) = delete;

  // True when the folded text holds the folded search string. `scratch` takes the folded text, so that
  // one matcher serves several threads.
  bool Holds(std::string_view text, std::string& scratch) const;

  // Byte strings of which every text that Holds contains at least one, searched with FindNoCase when case
  // is ignored (they fold nothing but ASCII letters). None: any text may hold it.
  const std::vector<std::unique_ptr<CSboymoo>>& Needles() const { return needles_; }
  bool IgnoreCase() const { return ignoreCase_; }
  const std::string& Folded() const { return folded_; }

 private:
  std::string folded_;
  bool ignoreCase_;
  std::vector<std::unique_ptr<CSboymoo>> needles_;
};

// The candidates of one matcher in one text, left to right: each needle's next occurrence is remembered,
// so the text is passed over once per needle however many lines are looked at. The text (length bytes, no
// NUL) may change behind the position last asked for, never ahead of it.
class Utf8Candidates {
 public:
  Utf8Candidates(const CUtf8Matcher& matcher, const char* text, size_t length);

  // The leftmost position at or after `from` where a needle occurs (`from` itself when there are no
  // needles), or nullptr. `from` never goes back between calls.
  const char* Next(const char* from);

 private:
  const CUtf8Matcher& matcher_;
  const char* end_;
  std::vector<const char*> next_;  // each needle's next occurrence, end_ for none, null before the first
};

}  // namespace matching
