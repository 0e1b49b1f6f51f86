#include "search/search_request.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "search/notify.h"
#include "search/shared_state.h"
#include "testkit/collect_notify.h"

namespace {

// Calendar arithmetic is checked in a zone without daylight saving, so that days are 86400 s long.
class SearchRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
  static int64_t At(int y, int mo, int d, int h, int mi, int s) {
    struct tm t = {};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    return timegm(&t);
  }
};

TEST_F(SearchRequestTest, DepthFollowsTheSubfolderChoice) {
  struct Case {
    bool depthDraw;
    bool subFolder;
    int depth;
    int expect;
  } cases[] = {{false, false, 5, 1}, {false, true, 5, kUnlimitedDepth}, {true, true, 0, 0}, {true, false, 64, 64}};
  for (const Case& c : cases) {
    SearchConditions conditions;
    conditions.DepthDrawF = c.depthDraw;
    conditions.SubFolder = c.subFolder;
    conditions.Depth = c.depth;
    EXPECT_EQ(SearchDepthOf(conditions), c.expect);
  }
}

TEST_F(SearchRequestTest, DateBoundsByRangeKind) {
  int64_t now = At(2024, 3, 15, 12, 30, 0);
  struct Case {
    const char* name;
    int rangeKind;
    int64_t from, to;
    bool wholeDay;
    int pastDay;
    int64_t pastTime;
    TimeRange expect;
  } cases[] = {
      {"whole days", 0, At(2024, 1, 31, 10, 0, 0), At(2024, 1, 1, 9, 0, 0), true, 0, 0,
       {At(2024, 1, 1, 0, 0, 0), At(2024, 1, 31, 23, 59, 59)}},
      {"exact times, backwards", 0, At(2024, 1, 31, 10, 0, 0), At(2024, 1, 1, 9, 0, 0), false, 0, 0,
       {At(2024, 1, 1, 9, 0, 0), At(2024, 1, 31, 10, 0, 0)}},
      {"today", 1, 0, 0, true, 0, 0, {At(2024, 3, 15, 0, 0, 0), now}},
      {"past 7 days", 1, 0, 0, true, 7, 0, {At(2024, 3, 8, 0, 0, 0), now}},
      {"next 7 days", 1, 0, 0, true, ~7, 0, {now, At(2024, 3, 22, 23, 59, 59)}},
      {"past 90 minutes", 2, 0, 0, true, 0, 5400, {now - 5400, now}},
      {"next 90 minutes", 2, 0, 0, true, 0, -5400, {now, now + 5400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions;
    conditions.RangeKind = c.rangeKind;
    conditions.DateFrom = c.from;
    conditions.DateTo = c.to;
    conditions.WholeDay = c.wholeDay;
    conditions.PastDay = c.pastDay;
    conditions.PastTime = c.pastTime;
    TimeRange range = DateBoundsOf(conditions, now);
    EXPECT_EQ(range.from, c.expect.from);
    EXPECT_EQ(range.to, c.expect.to);
  }
}

TEST_F(SearchRequestTest, SizeBoundsScaleSaturateAndSwap) {
  struct Case {
    const char* name;
    int kind, min, minUnit, max, maxUnit;
    uint64_t expectMin, expectMax;
  } cases[] = {
      {"none", 0, 5, 1, 5, 1, 0, UINT64_MAX},
      {"minimum 1 KB", 1, 1, 1, 0, 1, 1024, UINT64_MAX},
      {"maximum 0 bytes", 2, 0, 1, 0, 0, 0, 0},
      {"range 10 KB .. 2 MB", 3, 10, 1, 2, 2, 10240, 2097152},
      {"swapped range", 3, 2, 2, 10, 1, 10240, 2097152},
      {"largest", 2, 0, 1, 32767, 2, 0, 32767ull * 1048576},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions;
    conditions.SizeKind = c.kind;
    conditions.SizeMin = c.min;
    conditions.SizeMinUnit = c.minUnit;
    conditions.SizeMax = c.max;
    conditions.SizeMaxUnit = c.maxUnit;
    ByteRange range = SizeBoundsOf(conditions);
    EXPECT_EQ(range.min, c.expectMin);
    EXPECT_EQ(range.max, c.expectMax);
  }
}

TEST_F(SearchRequestTest, BuildsTheSnapshotAndTakesTheLocations) {
  SearchShared shared;
  CollectNotify notify(shared);
  SearchConditions conditions;
  conditions.PatternText = "abc";
  conditions.Locations = {"/a/", "/b"};
  conditions.TimeFilter = 1;
  conditions.TimeKind = 0;
  conditions.RangeKind = 2;
  conditions.PastTime = 60;
  conditions.SearchFolder = true;  // the engine accepts any combination of kinds
  auto request = BuildSearchRequest(conditions, notify, shared, 1000000);
  EXPECT_TRUE(conditions.Locations.empty());
  EXPECT_EQ(request->locations, (std::vector<std::string>{"/a/", "/b"}));
  EXPECT_TRUE(request->TextOn);
  EXPECT_TRUE(request->folderDetail);
  EXPECT_EQ(request->charCode, 3);
  EXPECT_EQ(request->CreatedRange.from, 1000000 - 60);
  EXPECT_TRUE(request->WrittenRange.IsOpen());
  EXPECT_FALSE(request->textAllExt);
  EXPECT_TRUE(request->fileAllExt);
  EXPECT_FALSE(request->patternUtf8.empty());

  conditions.PatternText.clear();
  conditions.SearchFolder = false;
  conditions.SearchMoji = true;
  request = BuildSearchRequest(conditions, notify, shared, 0);
  EXPECT_FALSE(request->TextOn);
  EXPECT_FALSE(request->folderDetail);

  conditions.SearchMoji = false;
  conditions.SearchFile = true;
  conditions.PatternText = "x";
  request = BuildSearchRequest(conditions, notify, shared, 0);
  EXPECT_EQ(request->charCode, 0);
  EXPECT_TRUE(request->patternEuc.empty() && request->patternJis.empty() && request->patternUtf8.empty());
}

// The native form of the search string is used only when code page 932 lacks one of its characters and
// the box still shows its conversion; a form code page 932 merely reads back differently (〜 U+301C) is
// searched in code page 932 like any other.
TEST_F(SearchRequestTest, NativePatternOnlyForCharactersCodePage932Lacks) {
  SearchShared shared;
  CollectNotify notify(shared);
  struct Case {
    const char* name;
    std::string text;
    std::string native;
    std::string expect;
  } cases[] = {
      {"Korean", platform::Cp932FromUtf8("한국"), "한국", "한국"},
      {"invalid bytes", "a?", "a\xff", "a\xff"},
      {"the box was edited since", "??x", "한국", ""},
      {"wave dash in its JIS form", platform::Cp932FromUtf8("〜"), "〜", ""},
      {"none kept", "abc", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions;
    conditions.PatternText = c.text;
    conditions.PatternNative = c.native;
    auto request = BuildSearchRequest(conditions, notify, shared, 0);
    EXPECT_EQ(request->patternNative, c.expect);
    // The code-page-932 forms of a string the code page cannot hold would find "?": none are made.
    EXPECT_EQ(request->patternUtf8.empty(), !c.expect.empty());
  }
}

}  // namespace
