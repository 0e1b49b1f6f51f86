#include "cmdline/composer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

namespace {

// Local time is Japan's (UTC+9, no daylight saving) in every test here, so the expected times are fixed.
class JapanTime : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("TZ", "JST-9", 1);
    tzset();
  }
};
const auto* const kZone = ::testing::AddGlobalTestEnvironment(new JapanTime);

constexpr int64_t kNow = 1715736030;  // 2024-05-15 10:20:30

TEST(Composer, QuoteValue) {
  struct Case {
    std::string text, quoted;
  } cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"foo bar", "\"foo bar\""},
      {"/tmp/a-b", "\"/tmp/a-b\""},
      {"-", "\"-\""},
      {"a\"b&c", "a&quot;b&amp;c"},
      {"&quot;", "&amp;quot;"},
      {"\"x y\"", "\"&quot;x y&quot;\""},
      {"\x83\x5c\x95\x5c", "\x83\x5c\x95\x5c"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(QuoteValue(c.text), c.quoted);
  }
}

TEST(Composer, TextSearchOfTheMainWindow) {
  SearchConditions c;
  c.LetterClassify = true;
  c.MojiExtList = {"txt;htm", "c"};
  EXPECT_EQ(Compose(BuildComposerRecord(c, "/tmp/x", "foo bar")),
            "-b/tmp/x -m\"foo bar\" -t -ar0h0s0a0 -sa -r0 -i1 -cw -etxt;htm -ja -za");
}

TEST(Composer, RecordFromConditions) {
  struct Case {
    const char* name;
    std::function<void(SearchConditions&)> set;
    std::string location, pattern, expected;
  } cases[] = {
      {"dash in the location, quote and ampersand in the pattern", [](SearchConditions&) {}, "/tmp/a-b",
       "a\"b&c", "-b\"/tmp/a-b\" -ma&quot;b&amp;c -t -ar0h0s0a0 -sa -r0 -i0 -cw -etxt;html;htm -ja -za"},
      {"several locations as typed", [](SearchConditions&) {}, "/a | /b", "x",
       "-b\"/a | /b\" -mx -t -ar0h0s0a0 -sa -r0 -i0 -cw -etxt;html;htm -ja -za"},
      {"file and folder search with every option",
       [](SearchConditions& c) {
         c.SearchMoji = false;
         c.SearchFile = c.SearchFolder = true;
         c.DepthDrawF = true;
         c.Depth = 0;
         c.ConvertFlag = 1;
         c.BregFlag = true;
         c.AttrReadonly = 1, c.AttrHidden = 2, c.AttrSystem = 0, c.AttrArchived = 1;
         c.FileAll = false;
         c.FileExtList = {"c;h"};
         c.TimeFilter = 1, c.TimeKind = 0, c.RangeKind = 0;
         c.DateFrom = 1704034800 + 3600, c.DateTo = 1706713199 - 3600;  // times inside the two days
         c.SizeKind = 3, c.SizeMin = 10, c.SizeMinUnit = 1, c.SizeMax = 2, c.SizeMaxUnit = 2;
       },
       "", "", "-b -m -fd -ar1h2s0a1 -s0 -r1 -i0 -ce -ec;h -jm20240101,20240131 -zl10kr2m"},
      {"no search kind leaves the flag piece out",
       [](SearchConditions& c) {
         c.SearchMoji = false;
         c.SubFolder = true;
         c.ConvertFlag = 2;
         c.FileExtList.clear();
         c.FileAll = false;
       },
       "/x", "y", "-b/x -my -ar0h0s0a0 -sb -r0 -i0 -cj -e -ja -za"},
      {"all extensions", [](SearchConditions& c) { c.MojiAll = true, c.DepthDrawF = true, c.Depth = 64; },
       "/x", "y", "-b/x -my -t -ar0h0s0a0 -s64 -r0 -i0 -cw -e* -ja -za"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions conditions;
    c.set(conditions);
    EXPECT_EQ(Compose(BuildComposerRecord(conditions, c.location, c.pattern)), c.expected);
  }
}

TEST(Composer, DatePieces) {
  struct Case {
    const char* name;
    int timeFilter, timeKind, rangeKind;
    int64_t from, to;
    bool wholeDay;
    int pastDay;
    int64_t pastTime;
    std::string piece;
  } cases[] = {
      {"no date filter", 0, 1, 2, 0, 0, false, 3, 4, "-ja"},
      {"whole days of January 2024", 1, 0, 0, 1704034800, 1706713199, true, 0, 0, "-jm20240101,20240131"},
      {"exact range", 1, 1, 0, 1704065400, 1706689815, false, 0, 0, "-ju20240101,083000,20240131,173015"},
      {"past days", 1, 0, 1, 0, 0, true, 7, 0, "-jm7"},
      {"future days", 1, 1, 1, 0, 0, true, -8, 0, "-juf7"},
      {"past time", 1, 1, 2, 0, 0, true, 0, 86399, "-ju235959"},
      {"future 90 minutes", 1, 1, 2, 0, 0, true, -1, -5400, "-juf013000"},
      {"unknown date kind", 1, 2, 1, 0, 0, true, 7, 0, ""},
      {"unknown filter value", 2, 1, 1, 0, 0, true, 7, 0, ""},
      {"unknown range kind", 1, 1, 3, 0, 0, true, 7, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CCommandLine r(kNow);
    r.DateGiven = true;
    r.TimeFilter = c.timeFilter, r.TimeKind = c.timeKind, r.RangeKind = c.rangeKind;
    r.DateFrom = c.from, r.DateTo = c.to, r.WholeDay = c.wholeDay;
    r.PastDay = c.pastDay, r.PastTime = c.pastTime;
    EXPECT_EQ(Compose(r), c.piece);
  }
}

TEST(Composer, OtherPieces) {
  struct Case {
    const char* name;
    std::function<void(CCommandLine&)> set;
    std::string text;
  } cases[] = {
      {"nothing given", [](CCommandLine&) {}, ""},
      {"text wins over the name searches", [](CCommandLine& r) { r.Text = r.File = r.Go = true; }, "-tg"},
      {"go alone", [](CCommandLine& r) { r.Go = true; }, "-g"},
      {"some attributes", [](CCommandLine& r) { r.HiddenGiven = r.ArchiveGiven = true, r.Archive = 2; },
       "-ah0a2"},
      {"no subfolders", [](CCommandLine& r) { r.SubFolderGiven = true; }, "-sa"},
      {"code out of range", [](CCommandLine& r) { r.CodeGiven = true, r.Code = 7; }, "-cw"},
      {"empty extension", [](CCommandLine& r) { r.ExtensionGiven = true; }, "-e"},
      {"location given without entries", [](CCommandLine& r) { r.LocationGiven = true; }, "-b"},
      {"first pattern only",
       [](CCommandLine& r) {
         r.PatternGiven = true, r.Patterns = {"a b", "c"};
       },
       "-m\"a b\""},
      {"no size filter", [](CCommandLine& r) { r.SizeGiven = true; }, "-za"},
      {"minimum in bytes", [](CCommandLine& r) { r.SizeGiven = true, r.SizeKind = 1, r.SizeMinUnit = 0; },
       "-zl0b"},
      {"maximum in megabytes",
       [](CCommandLine& r) { r.SizeGiven = true, r.SizeKind = 2, r.SizeMax = 500, r.SizeMaxUnit = 2; },
       "-zr500m"},
      {"unknown unit is kilobytes",
       [](CCommandLine& r) { r.SizeGiven = true, r.SizeKind = 2, r.SizeMax = 5, r.SizeMaxUnit = 9; },
       "-zr5k"},
      {"unknown size kind", [](CCommandLine& r) { r.SizeGiven = true, r.SizeKind = 4; }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CCommandLine r(kNow);
    c.set(r);
    EXPECT_EQ(Compose(r), c.text);
  }
}

// Composing, parsing and composing again gives the same text.
TEST(Composer, ComposedTextParsesBackToTheSameRecord) {
  const char* texts[] = {
      "-m\"foo bar\" -t -ar0h0s0a0 -sa -r0 -i1 -cw -etxt;htm -ja -za",
      "-m\"a&quot;b&amp;c-d\" -fdg -ar1h2 -sb -r1 -i0 -cs -e\"c; h-x\" -jm20240101,20240131 -zl10kr2m",
      "-m -d -s64 -cj -e -ju20240101,083000,20240131,173015 -zr32759b",
      "-m&amp;quot; -f -s0 -ce -e* -juf32767 -zl0m",
      "-jmf013000 -za",
      "-ju235959",
      "-jm0",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    CCommandLine first(kNow);
    first.Parse(text);
    std::string composed = Compose(first);
    EXPECT_EQ(composed, text);
    CCommandLine second(kNow);
    second.Parse(composed);
    EXPECT_EQ(Compose(second), composed);
    EXPECT_EQ(second.Patterns, first.Patterns);
    EXPECT_EQ(second.ExtensionText, first.ExtensionText);
  }
}

}  // namespace
