// The regular-expression adapter: the pattern text and its delimiter, compiling and matching through the
// library loaded at run time from the test program's folder, and the library being absent or incomplete.
#include "matching/breg.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <filesystem>
#include <string>
#include <thread>

#include "platform/cp932.h"

#include "testkit/temp_tree.h"

namespace matching {
namespace {

namespace fs = std::filesystem;

const std::string kHyou = "\x95\x5c";  // 表: its second byte is the backslash
// "正規表現ライブラリ libbregexp.so を読み込めません"
const std::string kCannotLoad =
    "\x90\xb3\x8b\x4b\x95\x5c\x8c\xbb\x83\x89\x83\x43\x83\x75\x83\x89\x83\x8a libbregexp.so "
    "\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1";
// "正規表現ライブラリ libbregexp.so に必要な関数がありません"
const std::string kMissingEntry =
    "\x90\xb3\x8b\x4b\x95\x5c\x8c\xbb\x83\x89\x83\x43\x83\x75\x83\x89\x83\x8a libbregexp.so "
    "\x82\xc9\x95\x4b\x97\x76\x82\xc8\x8a\xd6\x90\x94\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";

// Every printable ASCII character from "!" (0x21) to "[" (0x5B), each a character of its own.
std::string BytesFrom21To5B() {
  std::string s;
  for (int c = 0x21; c <= 0x5B; ++c) s += static_cast<char>(c);
  return s;
}

TEST(BregPatternTextTest, DelimiterAndFlags) {
  struct Case {
    const char* name;
    std::string searchString;
    bool ignoreCase;
    std::string expected;
  };
  const std::string upTo5B = BytesFrom21To5B();
  std::string everyDelimiter;  // every byte that could delimit, as characters of their own
  for (int c = 0x21; c <= 0xFF; ++c) {
    if (!((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))) everyDelimiter += static_cast<char>(c);
  }
  const Case cases[] = {
      {"case ignored", "a.c", true, "m/a.c/ki"},
      {"case significant", "a.c", false, "m/a.c/k"},
      {"slash present", "a/b", false, "m!a/b!k"},
      {"slash and bang present", "a/b!c", false, "m\"a/b!c\"k"},
      {"empty", "", true, "m//ki"},
      {"trail byte equal to the backslash does not count", upTo5B + kHyou, false,
       "m\\" + upTo5B + kHyou + "\\k"},
      {"a backslash of its own counts", upTo5B + "\\" + kHyou, false, "m]" + upTo5B + "\\" + kHyou + "]k"},
      // A lone lead byte at the end would take a delimiter of the trail range (0x40-0x7E) as its
      // second byte, so the first free byte after that range is used.
      {"lone lead byte at the end", upTo5B.substr(0, 0x1F) + "\x81", false,
       "m\x7f" + upTo5B.substr(0, 0x1F) + "\x81\x7fk"},
      {"text after a NUL is not part of it", std::string("a\0/", 3), false, "m/a/k"},
      {"no byte left to delimit", everyDelimiter, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MakeRegexPatternText(c.searchString, c.ignoreCase), c.expected);
  }
}

TEST(RequiredLiteralTest, TakesOnlyWhatEveryMatchMustContain) {
  const std::string nihon = "\x93\xfa\x96\x7b";    // 日本
  const std::string toukyou = "\x93\x8c\x8b\x9e";  // 東京
  struct Case {
    const char* name;
    std::string expression;
    bool ignoreCase;
    std::string sjis;
  };
  const Case cases[] = {
      {"longest run, the first of equals", nihon + ".*" + toukyou, false, nihon},
      {"plain text", "abc", false, "abc"},
      {"anchors end a run only", "^abc$", false, "abc"},
      {"optional character taken back", "ab*c", false, "a"},
      {"optional character in the middle", "abc?de", false, "ab"},
      {"repeated character kept once", "x+yz", false, "yz"},
      {"repetition made optional by a second quantifier", "ab+??", false, "a"},
      {"repetition repeated", "ab+*", false, "a"},
      {"bounded repeat taken back", "a{2,3}bc", false, "bc"},
      {"escaped sign is itself", "\\.txt", false, ".txt"},
      {"escape with digits after it", "\\x41BC", false, ""},
      {"class escape, then text", "\\d+" + nihon, false, nihon},
      {"property in braces", "\\p{Han}" + nihon, false, nihon},
      {"escape before a double-byte character", "\\" + kHyou + "x", false, "x"},
      {"double-byte character with a backslash trail", kHyou + "x", false, kHyou + "x"},
      {"group stepped over", "(foo)bar1", false, "bar1"},
      {"alternation inside a group", "(?:x|y)long", false, "long"},
      {"scoped option group", "(?i:x)abc", false, "abc"},
      {"class stepped over", "[a-z]+word", false, "word"},
      {"class with an escaped bracket", "[\\]]xy", false, "xy"},
      {"nested class", "[[:alpha:]]xyz", false, "xyz"},
      {"alternation at the top", "a|bcd", false, ""},
      {"option switch", "(?i)abc", false, ""},
      {"comment", "(?#c)abc", false, ""},
      {"bracket first in a class", "[]a]bcd", false, ""},
      {"bracket first in a negated class", "[^]a]bcd", false, ""},
      {"quoted text", "\\Qa.b\\E", false, ""},
      {"unbalanced parenthesis", "ab)", false, ""},
      {"open class", "ab[cd", false, ""},
      {"letters do not take part when case is ignored", "abc", true, ""},
      {"signs and digits do when case is ignored", "a1-2b", true, "1-2"},
      {"kanji do when case is ignored", "x" + nihon, true, nihon},
      {"full-width letters do not when case is ignored", "\x82\x60\x82\x81" + kHyou, true, kHyou},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RequiredLiteral(c.expression, c.ignoreCase).sjis, c.sjis);
  }
}

TEST(RequiredLiteralTest, Utf8FormOnlyForCharactersWithOneSource) {
  struct Case {
    const char* name;
    std::string expression;
    std::string utf8;
  };
  const Case cases[] = {
      {"kanji", "\x93\xfa\x96\x7b.*", "\xe6\x97\xa5\xe6\x9c\xac"},
      {"a question mark stands for every character the code page lacks", "\\?ab", "ab"},
      {"none", "a|b", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RequiredLiteral(c.expression, false).utf8, c.utf8);
  }
  // The UTF-8 form is built from the code points up to U+FFFF: every code point beyond becomes "?".
  for (char32_t cp = 0x10000; cp <= 0x10FFFF; cp += 0x3F) {
    const std::string utf8 = {
        static_cast<char>(0xF0 | (cp >> 18)), static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
        static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    ASSERT_EQ(platform::Cp932FromUtf8(utf8), "?") << static_cast<unsigned>(cp);
  }
}

// Every double-byte character that takes part in a literal when case is ignored matches no other
// double-byte character without case: the lines skipped for lacking it cannot match.
TEST(RequiredLiteralTest, CaselessLiteralCharactersFoldToNothingElse) {
  std::string all;
  std::vector<std::string> caseless;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string c = {static_cast<char>(lead), static_cast<char>(trail)};
      all += c;
      if (RequiredLiteral(c, true).sjis == c) caseless.push_back(c);
    }
  }
  CBreUse keep;  // one load of the library for all the compiles
  for (const std::string& c : caseless) {
    CBreg breg;
    ASSERT_FALSE(breg.Compile(c, true)) << breg.Message();
    const char* start = nullptr;
    for (const char* from = all.data(); breg.Match(from, all.data() + all.size(), &start, nullptr) > 0;
         from = start + 2) {
      ASSERT_EQ(std::string(start, 2), c);
    }
  }
}

// Every test restores the loader to the program's folder and the system search.
class BregTest : public ::testing::Test {
 protected:
  void TearDown() override { SetRegexLibraryFolderForTesting("", true); }

  static std::string RealLibraryPath() {
    return (fs::read_symlink("/proc/self/exe").parent_path() / "libbregexp.so").string();
  }
};

TEST_F(BregTest, CompilesAndMatches) {
  struct Case {
    const char* name;
    std::string searchString;
    bool ignoreCase;
    std::string text;
    int found;  // 1 match, 0 none
    long start;
    long end;
  };
  const Case cases[] = {
      {"ignore case", "a.c", true, "xABCx", 1, 1, 4},
      {"case significant", "a.c", false, "xABCx", 0, -1, -1},
      {"slash in the expression", "a/b", false, "xa/b", 1, 1, 4},
      {"no match on a trail byte", "A", false, "\x83\x41", 0, -1, -1},
      {"double-byte character across a boundary", kHyou, false, "\x8c\x95\x5c\x40", 0, -1, -1},
      {"double-byte character on a boundary", kHyou, false, "\x8c\x95" + kHyou, 1, 2, 4},
      {"empty match at the start", "x*", false, "abc", 1, 0, 0},
      {"empty search string", "", false, "abc", 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CBreg breg;
    ASSERT_FALSE(breg.Compile(c.searchString, c.ignoreCase)) << breg.Message();
    const char* start = nullptr;
    const char* end = nullptr;
    const char* text = c.text.c_str();
    const int result = breg.Match(text, text + c.text.size(), &start, &end);
    EXPECT_EQ(result > 0 ? 1 : result, c.found) << breg.Message();
    if (c.found == 1) {
      EXPECT_EQ(start - text, c.start);
      EXPECT_EQ(end - text, c.end);
    }
  }
}

TEST_F(BregTest, RejectedExpressionLeavesTheLibrarysMessage) {
  CBreg breg;
  EXPECT_TRUE(breg.Compile("(abc", false));
  EXPECT_STREQ(breg.Message(), "end pattern with unmatched parenthesis");
  const char text[] = "abc";
  EXPECT_LT(breg.Match(text, text + 3, nullptr, nullptr), 0);

  // The same object compiles again once the expression is good.
  EXPECT_FALSE(breg.Compile("b", false));
  EXPECT_GT(breg.Match(text, text + 3, nullptr, nullptr), 0);
}

TEST_F(BregTest, MatchBeforeCompileFails) {
  CBreg breg;
  const char text[] = "abc";
  EXPECT_LT(breg.Match(text, text + 3, nullptr, nullptr), 0);
  EXPECT_STREQ(breg.Message(), "error");
}

TEST_F(BregTest, RunawayExpressionEndsWithAMessage) {
  CBreg breg;
  ASSERT_FALSE(breg.Compile("(a+)+[bc]", false));
  const std::string line(40, 'a');
  EXPECT_LT(breg.Match(line.data(), line.data() + line.size(), nullptr, nullptr), 0);
  EXPECT_GT(std::string(breg.Message()).size(), 0u);
  EXPECT_LT(std::string(breg.Message()).size(), 80u);
}

TEST_F(BregTest, PresentBesideTheProgram) {
  EXPECT_TRUE(IsRegexLibraryPresent());
  CBreUse token;
  EXPECT_TRUE(LoadRegexLibrary());
}

TEST_F(BregTest, AbsentLibraryFailsCompileWithAClearMessage) {
  TempTree empty;
  SetRegexLibraryFolderForTesting(empty.Root(), false);
  EXPECT_FALSE(IsRegexLibraryPresent());
  CBreg breg;
  EXPECT_TRUE(breg.Compile("abc", false));
  EXPECT_EQ(breg.Message(), kCannotLoad);
  EXPECT_LT(kCannotLoad.size(), 80u);
  const char text[] = "abc";
  EXPECT_LT(breg.Match(text, text + 3, nullptr, nullptr), 0);
  EXPECT_EQ(breg.PatternText(), "m/abc/k");  // built all the same
}

TEST_F(BregTest, LibraryWithoutTheEntryPointsIsNotUsed) {
  // Any other shared library stands in for one that lacks BMatch.
  void* libm = dlopen("libm.so.6", RTLD_NOW);
  ASSERT_NE(libm, nullptr);
  link_map* map = nullptr;
  ASSERT_EQ(dlinfo(libm, RTLD_DI_LINKMAP, &map), 0);
  TempTree folder;
  fs::create_symlink(map->l_name, folder.Path("libbregexp.so"));
  dlclose(libm);

  SetRegexLibraryFolderForTesting(folder.Root(), false);
  EXPECT_FALSE(IsRegexLibraryPresent());
  EXPECT_FALSE(LoadRegexLibrary());
  CBreg breg;
  EXPECT_TRUE(breg.Compile("abc", false));
  EXPECT_EQ(breg.Message(), kMissingEntry);
}

TEST_F(BregTest, LoadsFromTheGivenFolder) {
  TempTree folder;
  fs::create_symlink(RealLibraryPath(), folder.Path("libbregexp.so"));
  SetRegexLibraryFolderForTesting(folder.Root(), false);
  EXPECT_TRUE(IsRegexLibraryPresent());
  CBreg breg;
  EXPECT_FALSE(breg.Compile("abc", false)) << breg.Message();
}

TEST_F(BregTest, LibraryStaysLoadedWhileATokenExists) {
  {
    CBreUse token;  // loads from the program's folder
    TempTree empty;
    SetRegexLibraryFolderForTesting(empty.Root(), false);
    CBreg breg;
    EXPECT_FALSE(breg.Compile("abc", false)) << breg.Message();
  }
  // The last token freed it; the empty folder has none to load again.
  TempTree empty;
  SetRegexLibraryFolderForTesting(empty.Root(), false);
  CBreg breg;
  EXPECT_TRUE(breg.Compile("abc", false));
  EXPECT_EQ(breg.Message(), kCannotLoad);
}

TEST_F(BregTest, TokensOnTwoThreads) {
  // The window thread and the search worker make and drop tokens at the same time.
  auto work = [](int* failures) {
    for (int i = 0; i < 200; ++i) {
      CBreg breg;
      const char text[] = "xabcx";
      if (breg.Compile("b+c", true) || breg.Match(text, text + 5, nullptr, nullptr) <= 0) ++*failures;
    }
  };
  CBreUse keep;  // as the main window's token does, so the library is not reloaded each time
  int failuresA = 0, failuresB = 0;
  std::thread a(work, &failuresA);
  std::thread b(work, &failuresB);
  a.join();
  b.join();
  EXPECT_EQ(failuresA, 0);
  EXPECT_EQ(failuresB, 0);
}

}  // namespace
}  // namespace matching
