#include "search/filters.h"

#include <gtest/gtest.h>

#include "platform/dir_reader.h"

TEST(BuildExtSet, TurnsListTextsIntoLowerCaseExtensions) {
  struct Case {
    const char* list;
    bool all;
    bool expectAll;
    std::vector<std::string> expect;
  } cases[] = {
      {"txt;html;htm", false, false, {".txt", ".html", ".htm"}},
      {"TXT;*.Htm;.c", false, false, {".txt", ".htm", ".c"}},
      {"", false, false, {"."}},
      {"txt;;c", false, false, {".txt", ".", ".c"}},
      {"txt; htm", false, false, {".txt", ". htm"}},
      {"txt  ;c", false, false, {".txt", ".c"}},
      {"txt;*.*", false, true, {}},
      {".*;txt", false, true, {}},
      {"txt", true, true, {".txt"}},
      {"txt;", false, false, {".txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    ExtSet set{".old"};
    EXPECT_EQ(BuildExtSet({c.list}, c.all, set), c.expectAll);
    EXPECT_EQ(set, ExtSet(c.expect.begin(), c.expect.end()));
  }
  ExtSet set;
  EXPECT_FALSE(BuildExtSet({}, false, set));
  EXPECT_EQ(set, ExtSet{"."});
}

TEST(BuildExtSet, DropsEntriesLongerThan256Characters) {
  ExtSet set;
  BuildExtSet({std::string(255, 'a') + ";" + std::string(256, 'b')}, false, set);
  EXPECT_EQ(set.size(), 1u);
  EXPECT_TRUE(set.count("." + std::string(255, 'a')));
}

TEST(MatchesExt, TakesTheExtensionFromTheLastDot) {
  ExtSet set;
  BuildExtSet({"txt;html;htm;gz"}, false, set);
  struct Case {
    const char* name;
    bool pass;
  } cases[] = {
      {"a.TXT", true}, {"a.txt.bak", false}, {"txt", false}, {"a.tar.gz", true}, {".txt", true}, {"a.", false},
      {"\x95\x5C.txt", true},  // a double-byte name before the dot
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MatchesExt(c.name, set), c.pass);
  }
  ExtSet none;
  BuildExtSet({""}, false, none);
  EXPECT_TRUE(MatchesExt("Makefile", none));
  EXPECT_TRUE(MatchesExt("name.", none));
  EXPECT_FALSE(MatchesExt("a.c", none));
}

TEST(Filters, DateSizeAndAttributeBoundsAreInclusive) {
  TimeRange open;
  TimeRange range{100, 200};
  EXPECT_TRUE(MatchesDate(INT64_MIN, INT64_MAX, open, open));
  EXPECT_TRUE(MatchesDate(0, 100, open, range));
  EXPECT_TRUE(MatchesDate(0, 200, open, range));
  EXPECT_FALSE(MatchesDate(0, 201, open, range));
  EXPECT_FALSE(MatchesDate(99, 150, range, open));

  EXPECT_FALSE(MatchesSize(1023, {1024, UINT64_MAX}));
  EXPECT_TRUE(MatchesSize(1024, {1024, UINT64_MAX}));
  EXPECT_TRUE(MatchesSize(0, {0, 0}));
  EXPECT_FALSE(MatchesSize(1, {0, 0}));

  using namespace platform;
  AttrConditions readonlyNotHidden{1, 2, 0, 0};
  EXPECT_TRUE(MatchesAttr(kAttrReadonly | kAttrArchive, readonlyNotHidden));
  EXPECT_FALSE(MatchesAttr(kAttrReadonly | kAttrHidden, readonlyNotHidden));
  EXPECT_FALSE(MatchesAttr(kAttrArchive, readonlyNotHidden));
  EXPECT_TRUE(MatchesAttr(kAttrSystem, AttrConditions{0, 0, 1, 2}));
  EXPECT_FALSE(MatchesAttr(kAttrSystem | kAttrArchive, AttrConditions{0, 0, 1, 2}));
}
