// How the settings pages show the condition fields that do not map one to one onto a control: the day
// and time spans as a magnitude plus a direction, the date range within the pickers' calendar, and the
// clamping of every value the pages edit into the range its control can show.
#pragma once

#include <cstdint>

#include "search/search_conditions.h"

// Bounds of the pages' number fields (their spin controls).
inline constexpr int kMaxPastDays = 32767;
inline constexpr int kMaxSizeCount = 32767;
inline constexpr int kMaxDepth = 64;
// The time-span picker holds a time of day: at most 23:59:59.
inline constexpr int64_t kMaxPastSeconds = 86399;

// A span as the date page shows it: a count (days or seconds) and a direction.
struct Span {
  int64_t count = 0;
  bool future = false;
};

// PastDay as a day count and direction: a negative value v is the next ~v days. The count is clamped to
// 0..32767.
Span SplitPastDay(int pastDay);
// The PastDay of a day count (clamped to 0..32767) and direction: the count, or its complement for future.
int JoinPastDay(int64_t days, bool future);
// PastTime as seconds (its magnitude, clamped to 0..86399) and a direction: past when PastTime is
// positive, or 0 with PastDay not negative; else future.
Span SplitPastTime(int64_t pastTime, int pastDay);
// The PastTime of a number of seconds (clamped to 0..86399) and direction: negated for future.
int64_t JoinPastTime(int64_t seconds, bool future);

// The calendar the date pickers offer: 1970-01-01 00:00:00 to 2100-12-31 23:59:59, local time.
int64_t EarliestPickerTime();
int64_t LatestPickerTime();

// Clamps every field the date, attribute and search-condition pages edit into what their controls can
// hold: out-of-range choices to their start value, numbers to their bounds, dates into the pickers'
// calendar, spans to their pickers. The regular-expression flag is dropped when `regexLibraryPresent`
// is false, since no search could use it.
void ClampPageConditions(SearchConditions& conditions, bool regexLibraryPresent);
