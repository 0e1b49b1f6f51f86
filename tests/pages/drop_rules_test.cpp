#include "pages/drop_rules.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace {

TEST(DropRules, TextIsCutAtTheLimitOnACharacterBoundary) {
  const std::string a = "\x82\xa0";  // あ in code page 932
  struct Case {
    std::string text;
    size_t limit;
    std::string kept;
  } cases[] = {
      {std::string(300, 'x'), 260, std::string(260, 'x')},
      {std::string(260, 'x'), 260, std::string(260, 'x')},
      {"ab" + a, 3, "ab"},  // the pair would end past the limit
      {"ab" + a, 4, "ab" + a},
      {"a" + a + a, 4, "a" + a},
      {"ab\x82", 260, "ab\x82"},  // a lone lead byte at the end is a character of its own
  };
  for (const Case& c : cases)
    EXPECT_EQ(CutCp932Text(c.text, c.limit), c.kept) << c.text.size() << "/" << c.limit;

  std::string japanese;
  for (int i = 0; i < 300; ++i) japanese += "あ";
  EXPECT_EQ(CutUtf8Text(japanese), japanese.substr(0, 260 * 3)) << "260 characters, not bytes";
  EXPECT_EQ(CutUtf8Text("a😀b", 2), "a😀");
  EXPECT_EQ(CutUtf8Text("a\xff\xfe"
                        "b",
                        2),
            "a\xff");
}

TEST(DropRules, LocationsAreJoinedInDropOrder) {
  struct Case {
    std::vector<std::string> paths;
    std::string current;
    bool shift;
    std::string text;
  } cases[] = {
      {{"/a.txt", "/b.txt"}, "/Docs", false, "/a.txt | /b.txt"},
      {{"/a.txt", "/b.txt"}, "/Docs", true, "/Docs | /a.txt | /b.txt"},
      {{"/home/u/dir/"}, "", false, "/home/u/dir"},
      {{"/"}, "", false, "/"},
      {{"/a.txt"}, "", true, "/a.txt"},  // Shift on an empty box adds no empty location
      {{"/a b/c.txt"}, "x", false, "/a b/c.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(JoinDroppedLocations(c.paths, c.current, c.shift), c.text) << c.text;
}

TEST(DropRules, SearchStringTakesTheNameOfOneFile) {
  struct Case {
    std::vector<std::string> paths;
    std::optional<std::string> name;
  } cases[] = {
      {{"/home/u/memo.txt"}, "memo.txt"},
      {{"/home/u/folder/"}, "folder"},
      {{"/home/u/a.txt", "/home/u/b.txt"}, std::nullopt},
      {{}, std::nullopt},
      {{"/"}, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DroppedPatternName(c.paths), c.name) << testing::PrintToString(c.paths);
}

}  // namespace
