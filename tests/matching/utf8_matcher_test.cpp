// The Unicode matcher: both forms of every twin character, the folding rules, and candidates that never
// pass over a line the matcher holds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "matching/utf8_matcher.h"
#include "platform/cp932.h"

namespace {

using matching::CUtf8Matcher;
using matching::kTwinCharacters;

std::string Utf8(char32_t c) {
  std::string out;
  platform::AppendUtf8(c, out);
  return out;
}

bool Holds(const std::string& pattern, const std::string& text, bool ignoreCase = false) {
  std::string scratch;
  return CUtf8Matcher(pattern, ignoreCase).Holds(text, scratch);
}

// The lines of `text` (LF breaks) in which the candidates stop, each once.
std::vector<std::string> CandidateLines(const CUtf8Matcher& matcher, const std::string& text) {
  std::vector<std::string> lines;
  matching::Utf8Candidates candidates(matcher, text.data(), text.size());
  for (const char* cursor = text.data(); const char* hit = candidates.Next(cursor);) {
    size_t start = text.rfind('\n', static_cast<size_t>(hit - text.data()));
    start = start == std::string::npos ? 0 : start + 1;
    size_t end = text.find('\n', static_cast<size_t>(hit - text.data()));
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    cursor = text.data() + std::min(end + 1, text.size());
  }
  return lines;
}

// Each pair is the two Unicode characters code page 932 gives one code: the table must agree with the
// code page, and a search string with either form, alone or within a word, finds both in a line.
TEST(Utf8MatcherTest, TwinCharactersMatchInEitherForm) {
  for (const auto& twin : kTwinCharacters) {
    const std::string jis = Utf8(twin.jis), microsoft = Utf8(twin.microsoft);
    SCOPED_TRACE(jis + " " + microsoft);
    const std::string code{static_cast<char>(twin.sjis >> 8), static_cast<char>(twin.sjis & 0xFF)};
    EXPECT_EQ(platform::Cp932FromUtf8(jis), code);
    EXPECT_EQ(platform::Cp932FromUtf8(microsoft), code);
    EXPECT_EQ(platform::Utf8FromCp932(code), microsoft);
    EXPECT_TRUE(matching::HasTwinCharacter("x" + jis));
    // Each form alone, and within a word (the needles are then the word's other characters).
    for (auto wrap :
         {+[](const std::string& c) { return c; }, +[](const std::string& c) { return "語" + c + "x"; }}) {
      for (const std::string& form : {jis, microsoft}) {
        for (bool ignoreCase : {false, true}) {
          const CUtf8Matcher matcher(wrap(form), ignoreCase);
          const std::string text = "none\n" + wrap(jis) + " jis\nnone\n" + wrap(microsoft) + " ms\n";
          std::vector<std::string> found;
          std::string scratch;
          for (const std::string& line : CandidateLines(matcher, text)) {
            if (matcher.Holds(line, scratch)) found.push_back(line);
          }
          EXPECT_EQ(found, (std::vector<std::string>{wrap(jis) + " jis", wrap(microsoft) + " ms"}));
        }
      }
    }
  }
  EXPECT_FALSE(matching::HasTwinCharacter("検索 ~ - | \\"));
}

TEST(Utf8MatcherTest, FoldingRules) {
  struct Case {
    const char* name;
    std::string pattern;
    std::string text;
    bool ignoreCase;
    bool holds;
  } cases[] = {
      {"Korean", "한국", "x 한국어", false, true},
      {"Korean, another syllable", "한국", "한극", false, false},
      {"emoji", "😀", "a😀b", false, true},
      {"ASCII case kept", "Key", "key", false, false},
      {"ASCII case folded", "Key", "kEY", true, true},
      {"full-width case folded", "Ｋｅｙ한", "ｋＥＹ한", true, true},
      {"full-width case kept", "Ｋｅｙ한", "ｋＥＹ한", false, false},
      {"widths never fold", "key한", "ｋｅｙ한", true, false},
      {"invalid bytes match themselves", "a\xff", "xa\xff", false, true},
      {"invalid bytes are not a character", "a\xff", "a?", false, false},
      {"replacement ? is never the character", "한", "?", false, false},
      {"the search string ends at a NUL", std::string("한\0x", 5), "한", false, true},
      {"two-byte and three-byte forms", "a¢b", "a￠b", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Holds(c.pattern, c.text, c.ignoreCase), c.holds);
  }
}

// Random lines over a small alphabet of both twin forms, letters of both widths and cases, Korean and
// invalid bytes: the candidates stop in every line the matcher holds, whatever needles it chose.
TEST(Utf8MatcherTest, CandidatesNeverPassOverAMatchingLine) {
  const std::vector<std::string> alphabet = {"a", "A",  "ｂ", "Ｂ",   "〜", "～",
                                             "¢", "￠", "한", "\xff", " ",  "x"};
  std::mt19937 random(7);
  auto word = [&](size_t most) {
    std::string s;
    for (size_t n = random() % most + 1; n > 0; --n) s += alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 300; ++round) {
    const std::string pattern = word(4);
    const bool ignoreCase = round % 2 == 1;
    const CUtf8Matcher matcher(pattern, ignoreCase);
    std::string text;
    std::vector<std::string> expect;
    std::string scratch;
    for (int i = 0; i < 30; ++i) {
      const std::string line = word(12);
      text += line + "\n";
      if (matcher.Holds(line, scratch)) expect.push_back(line);
    }
    std::vector<std::string> found;
    for (const std::string& line : CandidateLines(matcher, text)) {
      if (matcher.Holds(line, scratch)) found.push_back(line);
    }
    ASSERT_EQ(found, expect) << "pattern " << pattern << (ignoreCase ? " without case" : "");
  }
}

}  // namespace
