#include "app/settei_fields.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/local_time.h"

namespace {

TEST(SetteiFields, DaySpanIsACountAndADirection) {
  struct Case {
    int pastDay;
    int64_t days;
    bool future;
  };
  const Case cases[] = {{0, 0, false},  {7, 7, false},          {-1, 0, true},
                        {-4, 3, true},  {40000, 32767, false},  {INT_MIN, 32767, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pastDay);
    const Span span = SplitPastDay(c.pastDay);
    EXPECT_EQ(span.count, c.days);
    EXPECT_EQ(span.future, c.future);
    if (c.pastDay >= -32768 && c.pastDay <= 32767) {
      EXPECT_EQ(JoinPastDay(span.count, span.future), c.pastDay);
    }
  }
  EXPECT_EQ(JoinPastDay(99999, false), 32767);
  EXPECT_EQ(JoinPastDay(-3, true), ~0);
}

TEST(SetteiFields, TimeSpanDirectionFollowsTheDaySpanAtZero) {
  struct Case {
    int64_t pastTime;
    int pastDay;
    int64_t seconds;
    bool future;
  };
  const Case cases[] = {
      {3600, -4, 3600, false},  {-3600, 0, 3600, true},       {0, 0, 0, false},
      {0, -1, 0, true},         {90000, 0, 86399, false},     {-90000, 0, 86399, true},
      {INT64_MIN, 0, 86399, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pastTime);
    const Span span = SplitPastTime(c.pastTime, c.pastDay);
    EXPECT_EQ(span.count, c.seconds);
    EXPECT_EQ(span.future, c.future);
  }
  EXPECT_EQ(JoinPastTime(3600, true), -3600);
  EXPECT_EQ(JoinPastTime(100000, false), 86399);
}

// Every field a page edits ends within what its control holds and what a search accepts.
TEST(SetteiFields, AbsurdValuesAreClampedIntoTheControlsRanges) {
  SearchConditions c;
  c.TimeFilter = 7;
  c.TimeKind = -2;
  c.RangeKind = 9;
  c.DateFrom = INT64_MIN;
  c.DateTo = INT64_MAX;
  c.PastDay = INT_MIN;
  c.PastTime = INT64_MAX;
  c.SizeKind = 12;
  c.SizeMin = -5;
  c.SizeMax = 1 << 30;
  c.SizeMinUnit = 3;
  c.SizeMaxUnit = -1;
  c.AttrReadonly = 3;
  c.AttrHidden = -1;
  c.Depth = 10000;
  c.ConvertFlag = -1;
  c.BregFlag = true;
  ClampPageConditions(c, false);
  EXPECT_EQ(c.TimeFilter, 0);
  EXPECT_EQ(c.TimeKind, 1);
  EXPECT_EQ(c.RangeKind, 0);
  platform::LocalParts from, to;
  ASSERT_TRUE(platform::ToLocal(c.DateFrom, from));
  ASSERT_TRUE(platform::ToLocal(c.DateTo, to));
  EXPECT_EQ(from.year, 1970);
  EXPECT_EQ(to.year, 2100);
  EXPECT_EQ(c.PastDay, ~32767);
  EXPECT_EQ(c.PastTime, 86399);
  EXPECT_EQ(c.SizeKind, 0);
  EXPECT_EQ(c.SizeMin, 0);
  EXPECT_EQ(c.SizeMax, 32767);
  EXPECT_EQ(c.SizeMinUnit, 1);
  EXPECT_EQ(c.SizeMaxUnit, 1);
  EXPECT_EQ(c.AttrReadonly, 0);
  EXPECT_EQ(c.AttrHidden, 0);
  EXPECT_EQ(c.Depth, 64);
  EXPECT_EQ(c.ConvertFlag, 3);
  EXPECT_FALSE(c.BregFlag);

  SearchConditions keep;
  keep.BregFlag = true;
  keep.PastDay = -4;
  keep.PastTime = -60;
  ClampPageConditions(keep, true);
  EXPECT_TRUE(keep.BregFlag);
  EXPECT_EQ(keep.PastDay, -4);
  EXPECT_EQ(keep.PastTime, -60);
}

}  // namespace
