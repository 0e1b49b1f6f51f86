#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "platform/local_time_formats.h"

namespace {

using platform::EndOfLocalDay;
using platform::FromLocal;
using platform::LocalParts;
using platform::StartOfLocalDay;
using platform::ToLocal;

// Sets the time zone for one test and puts the previous one back afterwards. The zones are POSIX rule
// strings, which need no zone files.
class LocalTimeTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("TZ")) saved_ = old;
  }
  void TearDown() override {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  static void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  static int64_t At(int year, int month, int day, int hour, int minute, int second) {
    int64_t time = 0;
    EXPECT_TRUE(FromLocal(LocalParts{year, month, day, hour, minute, second}, time));
    return time;
  }

  std::optional<std::string> saved_;
};

constexpr const char* kTokyo = "JST-9";
constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";
// Daylight saving began at midnight (00:00 became 01:00) and ended at midnight (00:00 became 23:00).
constexpr const char* kSaoPaulo2018 = "<-03>3<-02>,M11.1.0/0,M2.3.0/0";

TEST_F(LocalTimeTest, PartsRoundTrip) {
  UseZone(kTokyo);
  LocalParts parts;
  ASSERT_TRUE(ToLocal(0, parts));
  EXPECT_EQ(parts.year, 1970);
  EXPECT_EQ(parts.hour, 9);
  int64_t time = 0;
  ASSERT_TRUE(FromLocal(LocalParts{2024, 2, 29, 23, 59, 58}, time));
  EXPECT_EQ(time, 1709218798);
  ASSERT_TRUE(ToLocal(time, parts));
  EXPECT_EQ((std::array{parts.year, parts.month, parts.day, parts.hour, parts.minute, parts.second}),
            (std::array{2024, 2, 29, 23, 59, 58}));
  // One second before 1970 UTC is a real time, though mktime reports it as -1.
  ASSERT_TRUE(FromLocal(LocalParts{1970, 1, 1, 8, 59, 59}, time));
  EXPECT_EQ(time, -1);
  EXPECT_FALSE(ToLocal(INT64_MAX, parts));
  EXPECT_FALSE(FromLocal(LocalParts{INT_MAX, 13, 1, 0, 0, 0}, time));  // the year runs past int
  EXPECT_FALSE(FromLocal(LocalParts{INT_MIN, 1, 1, 0, 0, 0}, time));
}

TEST_F(LocalTimeTest, DayBounds) {
  struct Case {
    const char* name;
    const char* zone;
    int year, month, day;
    int64_t length;  // seconds in that local day
  } cases[] = {
      {"plain day", kTokyo, 2024, 5, 1, 86400},
      {"plain day in a daylight-saving zone", kBerlin, 2024, 7, 15, 86400},
      {"clocks forward", kBerlin, 2024, 3, 31, 23 * 3600},
      {"clocks back", kBerlin, 2024, 10, 27, 25 * 3600},
      {"midnight skipped", kSaoPaulo2018, 2018, 11, 4, 23 * 3600},
      {"last hour repeated", kSaoPaulo2018, 2019, 2, 16, 25 * 3600},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseZone(c.zone);
    int64_t noon = At(c.year, c.month, c.day, 12, 0, 0);
    int64_t start = StartOfLocalDay(noon);
    int64_t end = EndOfLocalDay(noon);
    EXPECT_EQ(end - start + 1, c.length);
    // The bounds are the day's first and last seconds: one second outside lies in another day.
    LocalParts parts;
    ASSERT_TRUE(ToLocal(start, parts));
    EXPECT_EQ(parts.day, c.day);
    ASSERT_TRUE(ToLocal(start - 1, parts));
    EXPECT_NE(parts.day, c.day);
    ASSERT_TRUE(ToLocal(end, parts));
    EXPECT_EQ(parts.day, c.day);
    ASSERT_TRUE(ToLocal(end + 1, parts));
    EXPECT_NE(parts.day, c.day);
    EXPECT_EQ(StartOfLocalDay(start), start);
    EXPECT_EQ(EndOfLocalDay(end), end);
    EXPECT_EQ(StartOfLocalDay(end), start);
  }
}

TEST_F(LocalTimeTest, UnconvertibleTimeIsItsOwnBound) {
  UseZone(kTokyo);
  EXPECT_EQ(StartOfLocalDay(INT64_MAX), INT64_MAX);
  EXPECT_EQ(EndOfLocalDay(INT64_MIN), INT64_MIN);
  EXPECT_EQ(platform::FormatShortDateTime(INT64_MAX), "");
}

TEST_F(LocalTimeTest, FormatShortDateTimeInTheCLocale) {
  // The C locale's formats give way to the short Japanese-style ones. The formats are chosen at the first
  // formatting in the process, which is this one.
  setenv("LC_ALL", "C.UTF-8", 1);
  UseZone(kTokyo);
  EXPECT_EQ(platform::FormatShortDateTime(At(2024, 3, 5, 7, 8, 9)), "2024/03/05 07:08");
  EXPECT_EQ(platform::FormatShortDateTime(At(1999, 12, 31, 23, 59, 59)), "1999/12/31 23:59");
}

TEST(ShortFormats, ChosenFromLocaleFormats) {
  struct Case {
    const char* locale;
    const char* dFmt;
    const char* tFmt;
    const char* tFmtAmPm;
    const char* date;
    const char* time;
  } cases[] = {
      {"ja_JP", "%Y年%m月%d日", "%H時%M分%S秒", "%p%I時%M分%S秒", "%Y年%m月%d日", "%H時%M分"},
      {"ko_KR", "%Y년 %m월 %d일", "%H시 %M분 %S초", "%p %I시 %M분 %S초", "%Y년 %m월 %d일", "%H시 %M분"},
      {"en_US", "%m/%d/%Y", "%r", "%I:%M:%S %p", "%m/%d/%Y", "%I:%M %p"},
      {"de_DE", "%d.%m.%Y", "%T", "", "%d.%m.%Y", "%H:%M"},
      {"fi_FI", "%d.%m.%Y", "%H.%M.%S", "", "%d.%m.%Y", "%H.%M"},
      {"sv_SE", "%F", "%T", "", "%Y-%m-%d", "%H:%M"},
      {"with a unit after the seconds' separator", "%D", "%H:%M:%S Uhr", "", "%m/%d/%y", "%H:%M Uhr"},
      {"flags and modifiers", "%-d/%-m/%Y", "%OH:%OM:%OS", "", "%-d/%-m/%Y", "%OH:%OM"},
      {"no seconds at all", "%e %b %Y", "%R", "", "%e %b %Y", "%H:%M"},
      {"empty formats", "", "", "", "%Y/%m/%d", "%H:%M"},
      {"date without a year, time without minutes", "%d.%m", "%H", "", "%Y/%m/%d", "%H:%M"},
      {"composite conversions that hide the other part", "%c", "%X", "", "%Y/%m/%d", "%H:%M"},
      {"not UTF-8", "%Y\xc7\xaf%m", "%H\xbb\xfe%M", "", "%Y/%m/%d", "%H:%M"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    platform::detail::ShortFormats formats = platform::detail::ChooseShortFormats(c.dFmt, c.tFmt, c.tFmtAmPm);
    EXPECT_EQ(formats.date, c.date);
    EXPECT_EQ(formats.time, c.time);
  }
}

}  // namespace
