#include "app/search_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "resources/strings.h"
#include "testkit/collect_notify.h"
#include "testkit/temp_tree.h"

namespace {

using platform::Cp932FromUtf8;

constexpr int64_t kNow = 1765000000;

TEST(ValidateSearch, TheFirstFailingCheckDecidesTheMessage) {
  TempTree tree;
  const std::string folder = tree.Folder("data");
  struct Case {
    const char* name;
    std::string location;
    bool text, file, folder;
    std::string pattern;
    int message;
  } cases[] = {
      {"empty location", "", true, false, false, "x", IDS_LOCATION_EMPTY},
      {"empty location before kinds all off", "", false, false, false, "", IDS_LOCATION_EMPTY},
      {"one part missing", folder + ";" + tree.Path("missing"), true, false, false, "x",
       IDS_LOCATION_UNKNOWN},
      {"only separators", " | ; ", true, false, false, "x", IDS_LOCATION_UNKNOWN},
      {"all kinds off", folder, false, false, false, "x", IDS_KINDS_ALL_OFF},
      {"text search without a string", folder, true, false, false, "", IDS_PATTERN_EMPTY},
      {"file search without a string starts", folder, false, true, false, "", 0},
      {"folder search without a string starts", folder, false, false, true, "", 0},
      {"text search starts", folder, true, false, false, "x", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions;
    conditions.FolderText = c.location;
    conditions.SearchMoji = c.text, conditions.SearchFile = c.file, conditions.SearchFolder = c.folder;
    conditions.PatternText = c.pattern;
    EXPECT_EQ(ValidateSearch(conditions), c.message);
  }
}

TEST(ResolveLocations, SplitsAtSeparatorsOutsideQuotes) {
  TempTree tree;
  const std::string a = tree.Folder("a"), b = tree.Folder("b"), semi = tree.Folder("x;y");
  // Regression: "ポ" is 0x83 0x7C in code page 932, and the text was split at that "|" byte.
  const std::string po = tree.Folder("ポ");
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> locations;
    std::string basePath;  // code page 932
  } cases[] = {
      {"one folder", a, {a}, a},
      {"two by semicolon, blanks trimmed", " " + a + " ; " + b + " ", {a, b}, b},
      {"two by bar", a + "|" + b, {a, b}, b},
      {"a quoted semicolon is part of the path", "\"" + semi + "\"", {semi}, semi},
      {"a folder's entries", a + "/", {a + "/"}, a},
      {"the root's entries", "/", {"/"}, "/"},
      {"a name holding the bar byte", po + "|" + a, {po, a}, a},
      {"a name holding the bar byte alone", po, {po}, Cp932FromUtf8(po)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> locations;
    std::string basePath;
    EXPECT_TRUE(ResolveLocations(c.text, locations, basePath));
    EXPECT_EQ(locations, c.locations);
    EXPECT_EQ(basePath, c.basePath);
  }
  std::vector<std::string> locations;
  std::string basePath;
  EXPECT_FALSE(ResolveLocations(tree.File("file.txt") + "/", locations, basePath)) << "a file has no entries";
}

// Regression: a folder named in characters code page 932 lacks gave message 225, though the walk finds
// the same folder inside a tree.
TEST(ValidateSearch, LocationCodePage932CannotSpellIsFoundByItsNativeForm) {
  TempTree tree;
  for (const char* name : {"한국", "emoji😀", "bad\xff"}) {
    SCOPED_TRACE(name);
    const std::string folder = tree.Folder(name);
    SearchConditions c;
    c.FolderText = Cp932FromUtf8(folder);
    c.FolderNative = folder;
    c.PatternText = "x";
    EXPECT_EQ(ValidateSearch(c), 0);
    EXPECT_EQ(c.Locations, std::vector<std::string>{folder});

    // The user edited the box since: the native form no longer stands for its text and is dropped.
    c.FolderText = Cp932FromUtf8(tree.Path("other"));
    EXPECT_EQ(ValidateSearch(c), IDS_LOCATION_UNKNOWN);
    EXPECT_EQ(c.FolderNative, "");
  }
}

TEST(EndsInBlank, AsciiAndFullWidthBlanksOnly) {
  EXPECT_TRUE(EndsInBlank("abc "));
  EXPECT_TRUE(EndsInBlank("abc\x81\x40"));
  EXPECT_FALSE(EndsInBlank("abc"));
  EXPECT_FALSE(EndsInBlank(""));
  // 0x81 0x81 0x40: the 0x81 0x40 pair is the trail of one character and an "@".
  EXPECT_FALSE(EndsInBlank("\x81\x81\x40"));
}

TEST(SearchSession, StartPushesTheHistoriesAndSetsTheSingleLocationFlag) {
  TempTree tree;
  const std::string a = tree.Folder("a"), b = tree.Folder("b");
  SearchShared unused;
  CollectNotify notify(unused);
  SearchSession session(notify);
  HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
  SearchConditions c;
  c.SearchMoji = false, c.SearchFile = true;
  c.FolderText = a + ";" + b;
  c.PatternText = "zz";
  ASSERT_EQ(session.Validate(c), 0);
  ASSERT_TRUE(session.Start(c, locations, patterns, kNow));
  session.Finish();
  EXPECT_FALSE(session.SingleLocation());
  EXPECT_TRUE(c.Locations.empty()) << "the request took the resolved locations";
  EXPECT_EQ(locations.Texts(), std::vector<std::string>{a + ";" + b});
  EXPECT_EQ(patterns.Texts(), std::vector<std::string>{"zz"});

  c.FolderText = a;
  ASSERT_EQ(session.Validate(c), 0);
  ASSERT_TRUE(session.Start(c, locations, patterns, kNow));
  session.Finish();
  EXPECT_TRUE(session.SingleLocation());
  EXPECT_EQ(locations.Texts(), (std::vector<std::string>{a, a + ";" + b}));
}

// A new search right after a stopped one: what the earlier search left queued carries its identity and
// is not taken for the new search's.
TEST(SearchSession, NotificationsCarryTheIdentityOfTheirSearch) {
  TempTree tree;
  for (int i = 0; i < 20; ++i) tree.File("f" + std::to_string(i) + ".txt", "hit\n");
  SearchShared unused;
  CollectNotify notify(unused);
  SearchSession session(notify);
  HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
  std::vector<uint64_t> identities;
  for (int run = 0; run < 2; ++run) {
    SearchConditions c;
    c.FolderText = tree.Root();
    c.PatternText = "hit";
    c.MojiAll = true;
    ASSERT_EQ(session.Validate(c), 0);
    ASSERT_TRUE(session.Start(c, locations, patterns, kNow));
    notify.WaitForEnds(run + 1);
    session.Finish();
    identities.push_back(session.CurrentSearch());
  }
  ASSERT_NE(identities[0], identities[1]);
  ASSERT_EQ(notify.textHits.size(), 40u);
  ASSERT_EQ(notify.ends.size(), 2u);
  // The first search's notifications, then the second's: each run ends with its own end notification.
  size_t firstRun = 0;
  while (firstRun < notify.searches.size() && notify.searches[firstRun] == identities[0]) ++firstRun;
  for (size_t i = firstRun; i < notify.searches.size(); ++i) EXPECT_EQ(notify.searches[i], identities[1]);
  EXPECT_GE(firstRun, 21u);
  EXPECT_FALSE(session.IsCurrent(Notification(kMsgTextHit, 0, identities[0])));
  EXPECT_TRUE(session.IsCurrent(Notification(kMsgTextHit, 0, identities[1])));
  EXPECT_FALSE(session.IsCurrent(Notification(kMsgTextHit, 0, 0)));
}

}  // namespace
