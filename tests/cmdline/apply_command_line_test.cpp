#include "cmdline/apply_command_line.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"

#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "cmdline/command_line.h"
#include "cmdline/composer.h"
#include "testkit/temp_tree.h"

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

constexpr int64_t kNow = 1715736030;         // 2024-05-15 10:20:30
constexpr int64_t kTodayStart = 1715698800;  // 2024-05-15 00:00:00
constexpr int64_t kTodayEnd = 1715785199;    // 2024-05-15 23:59:59

auto Fields(const SearchConditions& c) {
  return std::tie(c.PatternText, c.FolderText, c.SearchMoji, c.SearchFile, c.SearchFolder, c.Locations,
                  c.BasePath, c.FolderDetail, c.DepthDrawF, c.SubFolder, c.Depth, c.ConvertFlag,
                  c.LetterClassify, c.BregFlag, c.MojiExtList, c.FileExtList, c.MojiAll, c.FileAll,
                  c.TimeFilter, c.TimeKind, c.RangeKind, c.DateFrom, c.DateTo, c.WholeDay, c.PastDay,
                  c.PastTime, c.SizeKind, c.SizeMin, c.SizeMax, c.SizeMinUnit, c.SizeMaxUnit, c.AttrReadonly,
                  c.AttrHidden, c.AttrSystem, c.AttrArchived);
}

// Conditions as a profile might have left them: file search with date and size filters in force.
SearchConditions Profile() {
  SearchConditions c;
  c.SearchMoji = false;
  c.SearchFile = true;
  c.DepthDrawF = true;
  c.Depth = 3;
  c.MojiExtList = {"txt"};
  c.FileExtList = {"c"};
  c.FileAll = false;
  c.TimeFilter = 1, c.TimeKind = 0, c.RangeKind = 2;
  c.DateFrom = 1704034800, c.DateTo = 1706713199, c.WholeDay = false;
  c.PastDay = 3, c.PastTime = 100;
  c.SizeKind = 3, c.SizeMin = 5, c.SizeMax = 9, c.SizeMinUnit = 0, c.SizeMaxUnit = 2;
  c.AttrReadonly = 1;
  return c;
}

void ResetDate(SearchConditions& c) {
  c.TimeFilter = 0, c.TimeKind = 1, c.RangeKind = 0;
  c.DateFrom = kTodayStart, c.DateTo = kTodayEnd, c.WholeDay = true;
  c.PastDay = 0, c.PastTime = 0;
}

TEST(ApplyCommandLine, ReplacesOnlyTheGivenConditions) {
  struct Case {
    std::string text;
    std::function<void(SearchConditions&)> expect;
  } cases[] = {
      {"", [](SearchConditions&) {}},
      {"-t", [](SearchConditions& c) { c.SearchMoji = true, c.SearchFile = false; }},
      {"-fd", [](SearchConditions& c) { c.SearchFolder = true; }},
      {"-etxt;htm -t",
       [](SearchConditions& c) {
         c.SearchMoji = true, c.SearchFile = false;
         c.MojiExtList = {"txt;htm", "txt"};
       }},
      // Prepended as given: the extension history may hold it twice.
      {"-e\"c\" -d",
       [](SearchConditions& c) {
         c.SearchFile = false, c.SearchFolder = true;
         c.FileExtList = {"c", "c"};
       }},
      {"-etxt", [](SearchConditions&) {}},  // no kind: nowhere to put it
      {"-f -g",
       [](SearchConditions& c) {
         c.FileAll = true;
         c.TimeFilter = 0, c.SizeKind = 0;
       }},
      {"-fg -ec",
       [](SearchConditions& c) {
         c.FileExtList = {"c", "c"};
         c.TimeFilter = 0, c.SizeKind = 0;
       }},
      {"-tg",
       [](SearchConditions& c) {
         c.SearchMoji = true, c.SearchFile = false, c.TimeFilter = 0, c.SizeKind = 0;
       }},
      {"-g -jm7 -zl1k",
       [](SearchConditions& c) {
         ResetDate(c);
         c.TimeFilter = 1, c.TimeKind = 0, c.RangeKind = 1, c.PastDay = 7;
         c.SizeKind = 1, c.SizeMin = 1, c.SizeMax = 0, c.SizeMinUnit = 1, c.SizeMaxUnit = 1;
       }},
      {"-sb", [](SearchConditions& c) { c.DepthDrawF = false, c.SubFolder = true; }},
      {"-sa", [](SearchConditions& c) { c.DepthDrawF = false, c.SubFolder = false; }},
      {"-s0", [](SearchConditions& c) { c.Depth = 0; }},
      {"-s99", [](SearchConditions& c) { c.Depth = 64; }},
      {"-i1 -cs -r1 -ah2s1",
       [](SearchConditions& c) {
         c.LetterClassify = true, c.ConvertFlag = 0, c.BregFlag = true, c.AttrHidden = 2, c.AttrSystem = 1;
       }},
      {"-ar", [](SearchConditions& c) { c.AttrReadonly = 0; }},
      {"-jx -zl10", [](SearchConditions&) {}},  // unreadable: the profile's filters stay
      {"-ja -za",
       [](SearchConditions& c) {
         ResetDate(c);
         c.SizeKind = 0, c.SizeMin = 0, c.SizeMax = 0, c.SizeMinUnit = 1, c.SizeMaxUnit = 1;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SearchConditions actual = Profile();
    SearchConditions expected = Profile();
    c.expect(expected);
    HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
    EXPECT_FALSE(ApplyCommandLine(c.text, actual, locations, patterns, kNow).startSearch);
    EXPECT_EQ(Fields(actual), Fields(expected));
  }
}

TEST(ApplyCommandLine, LocationsAndPatternsGoToTheTopsOfTheBoxes) {
  HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
  locations.AddPlaceholderIfEmpty();
  patterns.AddPlaceholderIfEmpty();
  patterns.AppendIfAbsent("old");
  SearchConditions c;
  ApplyCommandLine(std::string("-b/nowhere/Abc -b -b/nowhere/abc -b/nowhere/x -mAbc -mabc -mAbc -m"), c,
                   locations, patterns, kNow);
  EXPECT_EQ(locations.Texts(), (std::vector<std::string>{"/nowhere/x", "/nowhere/abc"}));
  EXPECT_EQ(locations.SelectedText(), "/nowhere/x");
  EXPECT_EQ(patterns.Texts(), (std::vector<std::string>{"", "Abc", "abc", "old"}));
  EXPECT_EQ(patterns.Selected(), 0);
}

TEST(ApplyCommandLine, StartsOnlyWithLocationPatternKindAndGo) {
  TempTree tree;
  std::string data = tree.Folder("Data files");
  std::string at = "-b\"" + data + "\"";
  struct Case {
    std::string text;
    bool startsSearch;
  } cases[] = {
      {at + " -mkeyword -tg", true},
      {"-gf -mkeyword " + at, true},
      {at + " -mkeyword -dg", true},
      {at + " -mkeyword -t", false},
      {at + " -tg", false},
      {at + " -mkeyword -g", false},
      {"-mkeyword -tg", false},
      {"-b\"" + tree.Path("missing") + "\" -mkeyword -tg", false},  // reaches the box, but starts nothing
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SearchConditions conditions;
    HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
    EXPECT_EQ(ApplyCommandLine(c.text, conditions, locations, patterns, kNow).startSearch, c.startsSearch);
  }
}

TEST(CommandTextFromArgs, KeepsEveryArgumentWhole) {
  struct Case {
    std::vector<std::string> args;
    std::string text;
    std::vector<std::string> patterns;
    std::string extension;
  } cases[] = {
      {{"-mfoo bar"}, "-m\"foo bar\"", {"foo bar"}, ""},
      {{"-m", "foo bar"}, "-m \"foo bar\"", {"foo bar"}, ""},
      {{"-ma-b"}, "-m\"a-b\"", {"a-b"}, ""},
      {{"-m", "-1"}, "-m \"-1\"", {"-1"}, ""},
      {{"-ma\"b&c"}, "-ma&quot;b&amp;c", {"a\"b&c"}, ""},
      {{"-ma&quot;b"}, "-ma&amp;quot;b", {"a&quot;b"}, ""},
      {{"-m\"-x y-\""}, "-m\"&quot;-x y-&quot;\"", {"\"-x y-\""}, ""},
      {{"-t", "-sb", "-e*", "-m\x83\x5c"}, "-t -sb -e* -m\x83\x5c", {"\x83\x5c"}, "*"},
      {{"-e", "txt;htm", "-mx"}, "-e txt;htm -mx", {"x"}, "txt;htm"},
      {{"-", "-mx"}, "\"-\" -mx", {"x"}, ""},
      {{"-1", "-mx"}, "\"-1\" -mx", {"x"}, ""},
      {{"-\xe9", "-mx"}, "\"-\xe9\" -mx", {"x"}, ""},
      {{}, "", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string text = CommandTextFromArgs(c.args);
    EXPECT_EQ(text, c.text);
    CCommandLine r(kNow);
    r.Parse(text);
    EXPECT_EQ(r.Patterns, c.patterns);
    EXPECT_EQ(r.ExtensionText, c.extension);
  }
}

TEST(CommandTextFromArgs, LocationWithDashAndBlankRoundTrips) {
  TempTree tree;
  std::string folder = tree.Folder("my-dir & more");
  CCommandLine r(kNow);
  r.Parse(CommandTextFromArgs({"-t", "-b" + folder, "-mx", "-g"}));
  EXPECT_TRUE(r.LocationGiven);
  EXPECT_EQ(r.Locations, std::vector<std::string>{folder});
  EXPECT_TRUE(r.Text && r.Go);
}

TEST(SingleLocationArgument, OnlyOneArgumentNotBeginningWithADash) {
  using Args = std::vector<std::string>;
  EXPECT_TRUE(IsSingleLocationArgument(Args{"/tmp"}));
  EXPECT_TRUE(IsSingleLocationArgument(Args{""}));
  EXPECT_FALSE(IsSingleLocationArgument(Args{"-t"}));
  EXPECT_FALSE(IsSingleLocationArgument(Args{}));
  EXPECT_FALSE(IsSingleLocationArgument(Args{"/tmp", "/usr"}));
}

TEST(SingleLocationArgument, ExistingEntryGoesToTheTopOfTheLocationBox) {
  TempTree tree;
  std::string folder = tree.Folder("my-dir");
  HistoryList box(HistoryKind::Location);
  box.AddPlaceholderIfEmpty();
  SearchConditions conditions;
  EXPECT_FALSE(ApplySingleLocationArgument(tree.Path("missing"), box, conditions));
  EXPECT_FALSE(ApplySingleLocationArgument("", box, conditions));
  EXPECT_EQ(box.Items(), std::vector<HistoryItem>{{""}});
  EXPECT_TRUE(ApplySingleLocationArgument(folder + "/./", box, conditions));
  EXPECT_EQ(conditions.FolderNative, "");
  EXPECT_EQ(box.Texts(), std::vector<std::string>{folder + "/"});
  EXPECT_EQ(box.Selected(), 0);
}

TEST(SingleLocationArgument, HandOverTextKeepsADashInThePath) {
  TempTree tree;
  std::string folder = tree.Folder("my-dir");
  EXPECT_EQ(SingleLocationHandOverText(tree.Path("missing")), "");
  std::string text = SingleLocationHandOverText(folder);
  EXPECT_EQ(text, "-b\"" + folder + "\"");
  CCommandLine r(kNow);
  r.Parse(text);
  EXPECT_TRUE(r.LocationGiven);
  EXPECT_EQ(r.Locations, std::vector<std::string>{folder});
}

// The composed line, applied to other conditions, gives back the conditions it was composed from.
TEST(ApplyCommandLine, ComposedLineRestoresTheConditions) {
  TempTree tree;
  std::string folder = tree.Folder("my-dir x");
  struct Case {
    const char* name;
    std::function<void(SearchConditions&)> set;
    std::string pattern;
  } cases[] = {
      {"text search", [](SearchConditions&) {}, "foo bar"},
      {"file and folder search",
       [](SearchConditions& c) {
         c.SearchMoji = false, c.SearchFile = c.SearchFolder = true;
         c.DepthDrawF = true, c.Depth = 5, c.BregFlag = true, c.ConvertFlag = 1;
         c.AttrReadonly = 1, c.AttrHidden = 2, c.AttrArchived = 1;
         c.FileExtList = {"c;h"}, c.FileAll = false;
         c.TimeFilter = 1, c.TimeKind = 0, c.RangeKind = 0;
         c.DateFrom = 1704034800, c.DateTo = 1706713199;
         c.SizeKind = 3, c.SizeMin = 10, c.SizeMax = 2, c.SizeMaxUnit = 2;
       },
       "a\"b&c-d"},
      {"folder search with an exact range",
       [](SearchConditions& c) {
         c.SearchMoji = false, c.SearchFolder = true, c.SubFolder = true;
         c.TimeFilter = 1, c.RangeKind = 0, c.WholeDay = false;
         c.DateFrom = 1704065400, c.DateTo = 1706689815;
         c.SizeKind = 1, c.SizeMin = 0, c.SizeMinUnit = 0;
       },
       "&quot;"},
      {"past days and the largest size",
       [](SearchConditions& c) {
         c.LetterClassify = true, c.ConvertFlag = 2, c.MojiAll = false, c.MojiExtList = {"txt; log"};
         c.TimeFilter = 1, c.RangeKind = 1, c.PastDay = 30;
         c.SizeKind = 2, c.SizeMax = 32759, c.SizeMaxUnit = 2;
       },
       "x"},
      {"future days beyond 9999",
       [](SearchConditions& c) { c.TimeFilter = 1, c.RangeKind = 1, c.PastDay = ~12000; }, "x"},
      {"future time span",
       [](SearchConditions& c) {
         c.SearchMoji = false, c.SearchFile = true, c.TimeFilter = 1, c.TimeKind = 0, c.RangeKind = 2,
         c.PastTime = -5400;
       },
       "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchConditions original;
    c.set(original);
    std::string text = Compose(BuildComposerRecord(original, folder, c.pattern));
    SearchConditions applied = Profile();
    HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
    EXPECT_FALSE(ApplyCommandLine(text, applied, locations, patterns, kNow).startSearch);
    EXPECT_EQ(locations.SelectedText(), folder);
    EXPECT_EQ(patterns.SelectedText(), c.pattern);
    EXPECT_EQ(Compose(BuildComposerRecord(applied, locations.SelectedText(), patterns.SelectedText())), text);
  }
}

// Regression: a location or pattern that code page 932 cannot spell reached the conditions as "?"s, and a
// location so named could never start a search.
TEST(ApplyCommandLine, NativeFormsOfWhatCodePage932CannotHold) {
  TempTree tree;
  const std::string korea = tree.Folder("\xed\x95\x9c\xea\xb5\xad");  // 한국
  const std::string kana = tree.Folder("\xe3\x81\x8b");               // か
  struct Case {
    const char* name;
    std::vector<std::string> args;
    bool native;  // the text needs its native form
    std::string folderNative, patternNative;
    bool startsSearch;
  } cases[] = {
      {"code page 932 holds everything", {"-b" + kana, "-mhello", "-tg"}, false, "", "", true},
      {"a location it cannot spell", {"-b" + korea, "-mhello", "-tg"}, true, korea, "", true},
      {"a pattern it cannot spell",
       {"-b" + kana, "-m\xf0\x9f\x98\x80", "-tg"},
       true,
       "",
       "\xf0\x9f\x98\x80",
       true},
      {"the last location decides", {"-b" + korea, "-b" + kana, "-mx", "-t"}, true, "", "", false},
      {"a missing location keeps its form but starts nothing",
       {"-b" + korea + "/nowhere", "-mx", "-tg"},
       true,
       korea + "/nowhere",
       "",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CommandLineText text = CommandLineTextFromArgs(c.args);
    EXPECT_EQ(!text.native.empty(), c.native);
    SearchConditions conditions;
    HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
    EXPECT_EQ(ApplyCommandLine(text, conditions, locations, patterns, kNow).startSearch, c.startsSearch);
    EXPECT_EQ(conditions.FolderNative, c.folderNative);
    EXPECT_EQ(conditions.PatternNative, c.patternNative);
    // The boxes hold the code-page-932 form, for which the native form stands.
    if (!c.folderNative.empty()) {
      EXPECT_EQ(locations.SelectedText(), platform::Cp932FromUtf8(c.folderNative));
    }
  }
  // The start-up argument alone: the same native form.
  SearchConditions conditions;
  HistoryList box(HistoryKind::Location);
  EXPECT_TRUE(ApplySingleLocationArgument(korea, box, conditions));
  EXPECT_EQ(conditions.FolderNative, korea);
}

}  // namespace
