// The regular-expression adapter: the one place that talks to the run-time library libbregexp.so.
// CBreUse tokens keep the library loaded; CBreg turns the user's search string into the library's
// m<d>...<d>k[i] pattern text, compiles it and matches with it. The program runs without the library:
// then no expression compiles and the caller gets a message saying why.
#pragma once

#include <string>
#include <string_view>

#include "bregexp/bregexp.h"

namespace matching {

// Text that every match of an expression contains, so a scan can pass over the lines without it and
// call the library only for the others.
struct RegexLiteral {
  std::string sjis;  // Shift-JIS; empty when the expression gives none that is certain
  // The same characters as UTF-8, where every one of them has exactly one UTF-8 form that becomes it in
  // Shift-JIS, so a UTF-8 line lacking these bytes cannot hold the Shift-JIS form once converted; empty
  // otherwise (or a shorter run of such characters from sjis).
  std::string utf8;
};

// The longest run of characters that every match of `expression` (the library's Perl syntax, Shift-JIS)
// must contain. Conservative: anything it does not understand gives no literal, never a wrong one. With
// `ignoreCase` only characters without case take part.
RegexLiteral RequiredLiteral(std::string_view expression, bool ignoreCase);

// A use token: the library stays loaded while at least one token exists. Tokens may be made and dropped
// on any thread.
class CBreUse {
 public:
  // Counts up and loads the library if it is not loaded yet (a failure is not reported here).
  CBreUse();
  // Counts down; the last token frees the library.
  virtual ~CBreUse();
  CBreUse(const CBreUse&) = delete;
  CBreUse& operator=(const CBreUse&) = delete;
};

// One compiled regular expression built from the user's search string, plus its own use token. Compile
// once, then match any number of times from one thread at a time.
class CBreg {
 public:
  CBreg() = default;
  virtual ~CBreg();
  CBreg(const CBreg&) = delete;
  CBreg& operator=(const CBreg&) = delete;

  // Builds the pattern text from the search string and compiles it. Returns true when it FAILED; the
  // reason is then in Message() for the caller to show (this never shows anything itself, as it runs on
  // the search worker). Throws the integer 1 when the pattern text cannot be allocated.
  bool Compile(const std::string& searchString, bool ignoreCase);

  // Searches [begin, end) for the first match: > 0 with the whole match in [*matchStart, *matchEnd),
  // 0 for none, < 0 on an error (not compiled, or the library gave up) with Message() filled.
  int Match(const char* begin, const char* end, const char** matchStart, const char** matchEnd);

  // The library's message for the last failed compile or match (NUL-terminated, under 80 bytes).
  const char* Message() const { return message_; }
  // The pattern text of the last Compile, e.g. "m/a.c/ki".
  const std::string& PatternText() const { return patternText_; }
  // What every match of the last compiled expression contains (empty forms when nothing is certain).
  const RegexLiteral& Literal() const { return literal_; }

 private:
  void FreeCompiled();

  char message_[BREGEXP_MESSAGE_SIZE] = {};
  BREGEXP* compiled_ = nullptr;
  std::string patternText_;
  RegexLiteral literal_;
  CBreUse use_;
  // The entry points used with compiled_; they stay valid while use_ keeps the library loaded.
  BMatchProc match_ = nullptr;
  BRegfreeProc free_ = nullptr;
};

// The message of a search that asks for a regular expression holding characters code page 932 lacks: the
// library matches Shift-JIS text only, so it is refused rather than run on the "?" that stand in for them
// (code page 932: "正規表現では Shift_JIS で表せない文字を検索できません", with an English gloss).
extern const char kMessageRegexNotInCodePage[];

// The library's pattern text for a search string: "m" + delimiter + search string + delimiter + "k",
// plus "i" when case is ignored. The search string goes in unchanged (up to a NUL, if it holds one). The
// delimiter is "/", else "!", else the first byte from 0x21 upward that the string does not contain as a
// character of its own (a trail byte equal to it does not count).
std::string MakeRegexPatternText(const std::string& searchString, bool ignoreCase);

// Makes the library available: true when it is loaded and its three entry points were found.
bool LoadRegexLibrary();

// Loads the library and frees it at once: true when it loads and has its three entry points. For
// deciding whether regular expressions can be offered at all.
bool IsRegexLibraryPresent();

// Tests only: look for the library in `folder` instead of the program's own folder (an empty folder
// restores the program's folder), and use the system's library search after it only when
// `allowSystemSearch`. Takes effect at the next load.
void SetRegexLibraryFolderForTesting(const std::string& folder, bool allowSystemSearch);

}  // namespace matching
