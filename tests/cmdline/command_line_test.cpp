#include "cmdline/command_line.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

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

CCommandLine Parsed(const std::string& text) {
  CCommandLine record(kNow);
  record.Parse(text);
  return record;
}

TEST(CommandLine, StartsWithNothingGivenAndTodayAsDateRange) {
  CCommandLine r(kNow);
  EXPECT_FALSE(r.LocationGiven || r.PatternGiven || r.Text || r.File || r.Folder || r.Go || r.DateGiven ||
               r.SizeGiven || r.SubFolderGiven || r.ExtensionGiven || r.CodeGiven || r.CaseGiven);
  EXPECT_EQ(r.DateFrom, kTodayStart);
  EXPECT_EQ(r.DateTo, kTodayEnd);
  EXPECT_EQ(r.SubFolder, kNoSubFolders);
  EXPECT_EQ(r.Code, 3);
  EXPECT_EQ(r.SizeMinUnit, 1);
  EXPECT_EQ(r.TimeKind, 1);
}

TEST(CommandLine, TokensSplitAtDashesOutsideQuotesAndUnescape) {
  struct Case {
    std::string text;
    std::vector<std::string> patterns;
  } cases[] = {
      {"-mkeyword", {"keyword"}},
      {"-m\"a-b\"", {"a-b"}},
      {"-ma&quot;b", {"a\"b"}},
      {"-ma&amp;quot;b", {"a&quot;b"}},
      {"-ma&amp;amp;", {"a&amp;"}},
      {"-m  foo bar  ", {"foo bar"}},
      {"-m\"  padded  \"", {"padded"}},
      {"-mfoo -mbar", {"foo", "bar"}},
      {"-mfoo-mbar", {"foo", "bar"}},
      {"-m", {""}},
      {"-M\"x y\"", {"x y"}},
      {"-m\"-\"", {"-"}},
      {"-m\"a\"\"b\"", {"ab"}},
      {"-m\"open quote-runs", {"open quote-runs"}},
      {"leading words -my", {"y"}},
      {"-m\ttab\t", {"\ttab\t"}},
      {"-m\x83\x5c\x95\x5c", {"\x83\x5c\x95\x5c"}},  // double-byte characters ending in a backslash
      {"", {}},
      {"-", {}},
      {"\"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CCommandLine r = Parsed(c.text);
    EXPECT_EQ(r.Patterns, c.patterns);
    EXPECT_EQ(r.PatternGiven, !c.patterns.empty());
  }
}

TEST(CommandLine, FlagTokensAndTheirExclusivity) {
  struct Case {
    std::string text;
    bool text_, file, folder, go;
  } cases[] = {
      {"-t", true, false, false, false},
      {"-tf", true, false, false, false},  // text excludes the name searches
      {"-fd", false, true, true, false},
      {"-f -d -g", false, true, true, true},
      {"-TG", true, false, false, true},
      {"-dir", false, false, true, false},
      {"-x -q", false, false, false, false},
      {"-\x83\x74", false, false, false, false},  // 0x74 "t" is the second byte of a double-byte character
      {"-\x83\x74g", false, false, false, true},
      {"-tg -f", true, false, false, true},  // nothing is cleared by a later token, text still wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CCommandLine r = Parsed(c.text);
    EXPECT_EQ(r.Text, c.text_);
    EXPECT_EQ(r.File, c.file);
    EXPECT_EQ(r.Folder, c.folder);
    EXPECT_EQ(r.Go, c.go);
  }
}

// Runs in a temporary working folder: its own path holds "-", so unquoted paths are written relative.
class CommandLineLocation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(saved_, sizeof saved_), nullptr);
    ASSERT_EQ(chdir(tree_.Root().c_str()), 0);
  }
  void TearDown() override { ASSERT_EQ(chdir(saved_), 0); }

  TempTree tree_;

 private:
  char saved_[4096] = {};
};

TEST_F(CommandLineLocation, IsTheLongFormOfAnExistingEntry) {
  std::string data = tree_.Folder("Data files");
  std::string dashed = tree_.Folder("my-dir");
  std::string sub = tree_.Folder("sub");
  struct Case {
    std::string text;
    std::vector<std::string> locations;
    bool given;
    bool folderFlag;
  } cases[] = {
      {"-b\"" + data + "\"", {data}, true, false},
      {"-bData files", {data}, true, false},  // blanks do not split options
      {"-b\"" + dashed + "\"", {dashed}, true, false},
      // Unquoted, the "-" ends the option: the rest is the flag token "-dir".
      {"-bmy-dir", {"my"}, false, true},
      {"-b\"" + tree_.Root() + "//sub/./../sub/\"", {sub + "/"}, true, false},
      {"-bsub", {sub}, true, false},  // relative to the working folder
      {"-b./sub/", {sub + "/"}, true, false},
      {"-bmissing", {"missing"}, false, false},
      {"-b", {""}, false, false},
      {"-bmissing -bsub", {"missing", sub}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CCommandLine r = Parsed(c.text);
    EXPECT_EQ(r.Locations, c.locations);
    EXPECT_EQ(r.LocationGiven, c.given);
    EXPECT_EQ(r.Folder, c.folderFlag);
  }
}

TEST_F(CommandLineLocation, IsCodePage932OnBothSides) {
  tree_.Folder("\xe6\x97\xa5");  // the native (UTF-8) name of 日
  tree_.Folder("?");
  // 日 in code page 932 names the folder; 0xFF is no character and must not become the "?" folder.
  CCommandLine r = Parsed("-b\x93\xfa -b\xff");
  EXPECT_EQ(r.Locations, (std::vector<std::string>{tree_.Path("\x93\xfa"), "\xff"}));
  EXPECT_TRUE(r.LocationGiven);
  EXPECT_FALSE(Parsed("-b\xff").LocationGiven);
}

TEST(CommandLine, ValueOptions) {
  struct Case {
    std::string text;
    int subFolder;   // 100: not given
    int code;        // -1: not given
    int ignoreCase;  // -1: not given
    int regex;       // -1: not given
  } cases[] = {
      {"-s0", 0, -1, -1, -1},    {"-s5", 5, -1, -1, -1},    {"-s64", 64, -1, -1, -1},
      {"-s99", 64, -1, -1, -1},  {"-s07", 7, -1, -1, -1},   {"-s 7", 7, -1, -1, -1},
      {"-s100", -1, -1, -1, -1}, {"-sx", -1, -1, -1, -1},   {"-sa", -1, -1, -1, -1},
      {"-s", -1, -1, -1, -1},    {"-sb", -2, -1, -1, -1},   {"-sB", -2, -1, -1, -1},
      {"-cs", 100, 0, -1, -1},   {"-cE", 100, 1, -1, -1},   {"-cj", 100, 2, -1, -1},
      {"-cw", 100, 3, -1, -1},   {"-c", 100, 3, -1, -1},    {"-csjis", 100, 3, -1, -1},
      {"-i1", 100, -1, 1, -1},   {"-i0", 100, -1, 0, -1},   {"-i", 100, -1, 0, -1},
      {"-i11", 100, -1, 0, -1},  {"-i 1 ", 100, -1, 1, -1}, {"-r1", 100, -1, -1, 1},
      {"-R1", 100, -1, -1, 1},   {"-ryes", 100, -1, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CCommandLine r = Parsed(c.text);
    EXPECT_EQ(r.SubFolderGiven, c.subFolder != 100);
    if (c.subFolder != 100) {
      EXPECT_EQ(r.SubFolder, c.subFolder);
    }
    EXPECT_EQ(r.CodeGiven, c.code >= 0);
    if (c.code >= 0) {
      EXPECT_EQ(r.Code, c.code);
    }
    EXPECT_EQ(r.CaseGiven, c.ignoreCase >= 0);
    if (c.ignoreCase >= 0) {
      EXPECT_EQ(r.IgnoreCase, c.ignoreCase == 1);
    }
    EXPECT_EQ(r.RegexGiven, c.regex >= 0);
    if (c.regex >= 0) {
      EXPECT_EQ(r.Regex, c.regex == 1);
    }
  }
}

TEST(CommandLine, ExtensionTextIsTakenAsGiven) {
  CCommandLine r = Parsed("-e\"txt; htm\" -t");
  EXPECT_TRUE(r.ExtensionGiven);
  EXPECT_EQ(r.ExtensionText, "txt; htm");
  EXPECT_TRUE(Parsed("-e").ExtensionGiven);
}

TEST(CommandLine, Attributes) {
  struct Case {
    std::string text;
    int readonly, hidden, system, archive;  // -1: not given
  } cases[] = {
      {"-arh1x", 0, 1, -1, -1},         {"-aR2H0S1A2", 2, 0, 1, 2},
      {"-ar3", 0, -1, -1, -1},  // 3 is no state: the letter takes 0 and the digit is skipped
      {"-aa1r", 0, -1, -1, 1},          {"-a", -1, -1, -1, -1},
      {"-a\x83r\x83h", -1, -1, -1, -1},  // second bytes of double-byte characters are no letters
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CCommandLine r = Parsed(c.text);
    EXPECT_EQ(r.ReadonlyGiven, c.readonly >= 0);
    EXPECT_EQ(r.HiddenGiven, c.hidden >= 0);
    EXPECT_EQ(r.SystemGiven, c.system >= 0);
    EXPECT_EQ(r.ArchiveGiven, c.archive >= 0);
    if (c.readonly >= 0) {
      EXPECT_EQ(r.Readonly, c.readonly);
    }
    if (c.hidden >= 0) {
      EXPECT_EQ(r.Hidden, c.hidden);
    }
    if (c.system >= 0) {
      EXPECT_EQ(r.System, c.system);
    }
    if (c.archive >= 0) {
      EXPECT_EQ(r.Archive, c.archive);
    }
  }
}

struct DateCase {
  std::string text;
  int timeFilter, timeKind, rangeKind;
  int64_t from, to;
  bool wholeDay;
  int pastDay;
  int64_t pastTime;
};

TEST(CommandLine, DateSpecifications) {
  const int64_t s = kTodayStart, e = kTodayEnd;
  DateCase cases[] = {
      {"-ja", 0, 1, 0, s, e, true, 0, 0},
      {"-jA", 0, 1, 0, s, e, true, 0, 0},
      {"-jm7", 1, 0, 1, s, e, true, 7, 0},
      {"-jM7", 1, 0, 1, s, e, true, 7, 0},
      {"-juf7", 1, 1, 1, s, e, true, -8, 0},
      {"-juF7", 1, 1, 1, s, e, true, -8, 0},
      {"-ju", 1, 1, 1, s, e, true, 0, 0},
      {"-juf", 1, 1, 1, s, e, true, -1, 0},
      {"-ju32767", 1, 1, 1, s, e, true, 32767, 0},
      {"-juf32767", 1, 1, 1, s, e, true, -32768, 0},  // five digits of future days
      {"-ju013000", 1, 1, 2, s, e, true, 0, 5400},
      {"-jm235959", 1, 0, 2, s, e, true, 0, 86399},
      {"-jmf013000", 1, 0, 2, s, e, true, -1, -5400},
      {"-ju013000x", 1, 1, 2, s, e, true, 0, 5400},  // eighth character ignored
      // 2024-01-01 00:00:00 .. 2024-01-31 23:59:59
      {"-jm20240101,20240131", 1, 0, 0, 1704034800, 1706713199, true, 0, 0},
      // 2024-02-29 00:00:00 .. 2024-03-01 23:59:59
      {"-jm20240229,20240301", 1, 0, 0, 1709132400, 1709305199, true, 0, 0},
      {"-jm20240131,20240101", 1, 0, 0, 1706626800, 1704121199, true, 0, 0},  // kept as entered
      // 2037-12-31, the last day a date may name
      {"-ju20371231,20371231", 1, 1, 0, 2145798000, 2145884399, true, 0, 0},
      // 2024-01-01 08:30:00 .. 2024-01-31 17:30:15
      {"-ju20240101,083000,20240131,173015", 1, 1, 0, 1704065400, 1706689815, false, 0, 0},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(c.text);
    CCommandLine r = Parsed(c.text);
    EXPECT_TRUE(r.DateGiven);
    EXPECT_EQ(r.TimeFilter, c.timeFilter);
    EXPECT_EQ(r.TimeKind, c.timeKind);
    EXPECT_EQ(r.RangeKind, c.rangeKind);
    EXPECT_EQ(r.DateFrom, c.from);
    EXPECT_EQ(r.DateTo, c.to);
    EXPECT_EQ(r.WholeDay, c.wholeDay);
    EXPECT_EQ(r.PastDay, c.pastDay);
    EXPECT_EQ(r.PastTime, c.pastTime);
  }
}

TEST(CommandLine, UnreadableDatesAreNotApplied) {
  const char* texts[] = {
      "-j",
      "-jab",
      "-jx7",
      "-ju32768",
      "-ju99999",
      "-ju123456x9",
      "-ju12a",
      "-ju240000",
      "-ju006000",
      "-ju000060",
      "-ju12a456",
      "-jmf999999",
      "-jmf12a456",
      "-jm20240230,20240301",  // 30 February
      "-jm20230229,20230301",  // not a leap year
      "-jm20241301,20241302",
      "-jm20240100,20240101",
      "-jm20240431,20240501",
      "-jm19691231,20240101",
      "-jm20380101,20380102",
      "-jm20240101;20240131",
      "-jm2024010A,20240131",
      "-jm 20240101,20240131",
      "-ju20240101,243000,20240131,173015",
      "-ju20240101,083000,20240131;173015",
      "-ju20240101,0830000,2024013,173015",
      "-jx20240101,20240131",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    CCommandLine r = Parsed(text);
    EXPECT_FALSE(r.DateGiven);
    // The record keeps the defaults, whatever the failed option had begun to set.
    EXPECT_EQ(r.TimeFilter, 0);
    EXPECT_EQ(r.TimeKind, 1);
    EXPECT_EQ(r.RangeKind, 0);
    EXPECT_EQ(r.DateFrom, kTodayStart);
    EXPECT_EQ(r.PastDay, 0);
    EXPECT_EQ(r.PastTime, 0);
  }
}

TEST(CommandLine, EveryDateOptionStartsFromTheDefaultsAndTheLastDecides) {
  CCommandLine r = Parsed("-jm20240101,20240131 -ju5");
  EXPECT_TRUE(r.DateGiven);
  EXPECT_EQ(r.RangeKind, 1);
  EXPECT_EQ(r.PastDay, 5);
  EXPECT_EQ(r.DateFrom, kTodayStart);
  EXPECT_EQ(r.TimeKind, 1);

  r = Parsed("-jm7 -jbad");
  EXPECT_FALSE(r.DateGiven);
  EXPECT_EQ(r.PastDay, 0);
}

TEST(CommandLine, SizeSpecifications) {
  struct Case {
    std::string text;
    bool applied;
    int kind, min, minUnit, max, maxUnit;
  } cases[] = {
      {"-zl10kr2m", true, 3, 10, 1, 2, 2},
      {"-zr500b", true, 2, 0, 1, 500, 0},
      {"-zL0B", true, 1, 0, 0, 0, 1},
      {"-zl32759k", true, 1, 32759, 1, 0, 1},
      {"-zl0000032759k", true, 1, 32759, 1, 0, 1},
      {"-zR5MlM", true, 3, 0, 2, 5, 2},
      {"-zrm", false, 0, 0, 1, 0, 1},  // shorter than 3 characters
      {"-zrbl", false, 0, 0, 1, 0, 1},
      {"-za", true, 0, 0, 1, 0, 1},
      {"-zA", true, 0, 0, 1, 0, 1},
      {"-zl10", false, 0, 0, 1, 0, 1},      // no unit
      {"-z10k", false, 0, 0, 1, 0, 1},      // no section
      {"-zl32760k", false, 0, 0, 1, 0, 1},  // above the bound
      {"-zl1kl2k", false, 0, 0, 1, 0, 1},   // a section opened twice
      {"-zl1k5", false, 0, 0, 1, 0, 1},     // digit after the section closed
      {"-zl1kk", false, 0, 0, 1, 0, 1},
      {"-zr5l3k", false, 0, 0, 1, 0, 1},  // the maximum left open
      {"-zl1x", false, 0, 0, 1, 0, 1},
      {"-zl1 k", false, 0, 0, 1, 0, 1},
      {"-z", false, 0, 0, 1, 0, 1},
      {"-zab", false, 0, 0, 1, 0, 1},
      {"-zl10k -zbad", false, 0, 0, 1, 0, 1},  // the last one decides
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    CCommandLine r = Parsed(c.text);
    EXPECT_EQ(r.SizeGiven, c.applied);
    EXPECT_EQ(r.SizeKind, c.kind);
    EXPECT_EQ(r.SizeMin, c.min);
    EXPECT_EQ(r.SizeMinUnit, c.minUnit);
    EXPECT_EQ(r.SizeMax, c.max);
    EXPECT_EQ(r.SizeMaxUnit, c.maxUnit);
  }
}

TEST(CommandLine, ParseOptionAloneIgnoresWhatIsNoOption) {
  CCommandLine r(kNow);
  r.ParseOption("mfoo");
  r.ParseOption("-");
  r.ParseOption("");
  EXPECT_FALSE(r.PatternGiven);
  r.ParseOption("-m  foo  ");
  EXPECT_EQ(r.Patterns, std::vector<std::string>{"foo"});
}

}  // namespace
