// The per-search snapshot handed to the worker thread: the conditions normalised into bounds, sets and
// converted pattern forms. The worker takes it over and frees it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "search/filters.h"
#include "search/search_conditions.h"

class NotifyTarget;
struct SearchShared;

// SearchDepth value for "all subfolders".
constexpr int kUnlimitedDepth = 0x7FFFFFFF;

struct SearchRequest {
  NotifyTarget* notify = nullptr;  // receives the notifications
  SearchShared* shared = nullptr;  // stop event, current-folder text, pending count; outlives the search
  uint64_t searchId = 0;           // carried by every notification of this search
  std::vector<std::string> locations;  // native paths, moved out of the conditions
  std::string patternSjis;
  std::string patternEuc;
  std::string patternJis;
  std::string patternUtf8;
  // The search string in UTF-8 when code page 932 cannot hold it (patternSjis then has "?" in place of what
  // it lacks and must never be searched for; the other forms stay empty); empty otherwise.
  std::string patternNative;
  bool TextOn = false;  // text search runs: SearchMoji with a non-empty pattern
  bool fileSearch = false;
  bool folderSearch = false;
  int SearchDepth = 1;  // 0, 1..64 or kUnlimitedDepth
  bool folderDetail = false;
  int charCode = 0;
  bool ignoreCase = false;
  bool regex = false;
  // The engine owns its extension sets, so nothing the front end does during a search can touch them.
  ExtSet MojiExtSet;
  ExtSet FileExtSet;
  bool textAllExt = true;
  bool fileAllExt = true;
  TimeRange CreatedRange;
  TimeRange WrittenRange;
  ByteRange SizeRange;
  AttrConditions attributes;
};

// SearchDepth from DepthDrawF, Depth and SubFolder.
int SearchDepthOf(const SearchConditions& conditions);

// The (from, to) pair of the date filter for `now`, by RangeKind, in local calendar days.
TimeRange DateBoundsOf(const SearchConditions& conditions, int64_t now);

// The size bounds in bytes by SizeKind (unit arithmetic saturates at all bits set; swapped when the
// maximum is below the minimum).
ByteRange SizeBoundsOf(const SearchConditions& conditions);

// PatternNative when code page 932 lacks some of its characters and it still stands for PatternText
// (PatternText is its conversion), else empty.
std::string NativePatternOf(const SearchConditions& conditions);

// Builds the request for a validated search start. The resolved locations are moved out of
// `conditions.Locations`, which is left empty.
std::unique_ptr<SearchRequest> BuildSearchRequest(SearchConditions& conditions, NotifyTarget& notify,
                                                  SearchShared& shared, int64_t now);
