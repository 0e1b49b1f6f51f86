#include "app/settei_fields.h"

#include <algorithm>

#include "platform/local_time.h"

namespace {

int64_t PickerTime(int year, int month, int day, int hour, int minute, int second, int64_t fallback) {
  platform::LocalParts parts{year, month, day, hour, minute, second};
  int64_t time = 0;
  return platform::FromLocal(parts, time) ? time : fallback;
}

int ChoiceIn(int value, int lowest, int highest, int otherwise) {
  return value < lowest || value > highest ? otherwise : value;
}

}  // namespace

Span SplitPastDay(int pastDay) {
  if (pastDay >= 0) return {std::min(pastDay, kMaxPastDays), false};
  return {std::min(~pastDay, kMaxPastDays), true};
}

int JoinPastDay(int64_t days, bool future) {
  const int count = static_cast<int>(std::clamp<int64_t>(days, 0, kMaxPastDays));
  return future ? ~count : count;
}

Span SplitPastTime(int64_t pastTime, int pastDay) {
  const bool past = pastTime > 0 || (pastTime == 0 && pastDay >= 0);
  // The magnitude, computed without negating INT64_MIN.
  const int64_t magnitude = pastTime >= 0 ? std::min(pastTime, kMaxPastSeconds)
                                          : std::min(-std::max(pastTime, -kMaxPastSeconds), kMaxPastSeconds);
  return {magnitude, !past};
}

int64_t JoinPastTime(int64_t seconds, bool future) {
  const int64_t count = std::clamp<int64_t>(seconds, 0, kMaxPastSeconds);
  return future ? -count : count;
}

int64_t EarliestPickerTime() {
  return PickerTime(1970, 1, 1, 0, 0, 0, 0);
}

int64_t LatestPickerTime() {
  return PickerTime(2100, 12, 31, 23, 59, 59, INT64_C(4133980799));
}

void ClampPageConditions(SearchConditions& c, bool regexLibraryPresent) {
  c.TimeFilter = ChoiceIn(c.TimeFilter, 0, 1, 0);
  c.TimeKind = ChoiceIn(c.TimeKind, 0, 1, 1);
  c.RangeKind = ChoiceIn(c.RangeKind, 0, 2, 0);
  c.DateFrom = std::clamp(c.DateFrom, EarliestPickerTime(), LatestPickerTime());
  c.DateTo = std::clamp(c.DateTo, EarliestPickerTime(), LatestPickerTime());
  const Span days = SplitPastDay(c.PastDay);
  const Span time = SplitPastTime(c.PastTime, c.PastDay);
  c.PastDay = JoinPastDay(days.count, days.future);
  c.PastTime = JoinPastTime(time.count, time.future);
  c.SizeKind = ChoiceIn(c.SizeKind, 0, 3, 0);
  c.SizeMin = std::clamp(c.SizeMin, 0, kMaxSizeCount);
  c.SizeMax = std::clamp(c.SizeMax, 0, kMaxSizeCount);
  c.SizeMinUnit = ChoiceIn(c.SizeMinUnit, 0, 2, 1);
  c.SizeMaxUnit = ChoiceIn(c.SizeMaxUnit, 0, 2, 1);
  for (int* attr : {&c.AttrReadonly, &c.AttrHidden, &c.AttrSystem, &c.AttrArchived}) *attr = ChoiceIn(*attr, 0, 2, 0);
  c.Depth = std::clamp(c.Depth, 0, kMaxDepth);
  c.ConvertFlag = ChoiceIn(c.ConvertFlag, 0, 3, 3);
  if (!regexLibraryPresent) c.BregFlag = false;
}
