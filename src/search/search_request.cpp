#include "search/search_request.h"

#include <algorithm>
#include <utility>

#include "matching/code_convert.h"
#include "platform/cp932.h"
#include "platform/local_time.h"

void ResetDateRange(SearchConditions& conditions, int64_t now) {
  conditions.DateFrom = platform::StartOfLocalDay(now);
  conditions.DateTo = platform::EndOfLocalDay(now);
  conditions.WholeDay = true;
}

int SearchDepthOf(const SearchConditions& c) {
  if (c.DepthDrawF) return c.Depth;
  return c.SubFolder ? kUnlimitedDepth : 1;
}

namespace {

constexpr int64_t kDay = 86400;

TimeRange DateRangeBounds(const SearchConditions& c) {
  int64_t a = std::min(c.DateFrom, c.DateTo);
  int64_t b = std::max(c.DateFrom, c.DateTo);
  if (!c.WholeDay) return {a, b};
  return {platform::StartOfLocalDay(a), platform::EndOfLocalDay(b)};
}

TimeRange PastDayBounds(const SearchConditions& c, int64_t now) {
  if (c.PastDay >= 0) return {platform::StartOfLocalDay(now - int64_t{c.PastDay} * kDay), now};
  int64_t future = ~int64_t{c.PastDay};
  return {now, platform::EndOfLocalDay(now + future * kDay)};
}

TimeRange PastTimeBounds(const SearchConditions& c, int64_t now) {
  if (c.PastTime >= 0) return {now - c.PastTime, now};
  return {now, now - c.PastTime};
}

// One factor of 1024 at a time; a value whose upper 32 bits exceed 0x3FFFFF would overflow, so it
// saturates to all bits set instead.
uint64_t ScaleByUnit(uint64_t value, int unit) {
  for (int i = 0; i < unit; ++i) {
    if ((value >> 32) > 0x3FFFFF) return UINT64_MAX;
    value *= 1024;
  }
  return value;
}

}  // namespace

TimeRange DateBoundsOf(const SearchConditions& c, int64_t now) {
  switch (c.RangeKind) {
    case 1:
      return PastDayBounds(c, now);
    case 2:
      return PastTimeBounds(c, now);
    default:
      return DateRangeBounds(c);
  }
}

ByteRange SizeBoundsOf(const SearchConditions& c) {
  ByteRange range;
  if (c.SizeKind & 1) range.min = ScaleByUnit(static_cast<uint32_t>(c.SizeMin), c.SizeMinUnit);
  if (c.SizeKind & 2) range.max = ScaleByUnit(static_cast<uint32_t>(c.SizeMax), c.SizeMaxUnit);
  if (range.max < range.min) std::swap(range.min, range.max);
  return range;
}

std::string NativePatternOf(const SearchConditions& c) {
  // A search string whose characters all have codes (〜 U+301C among them: 0x8160 stands for both its
  // forms) is searched in code page 932; only one that lost characters to "?" needs its native form.
  if (c.PatternNative.empty() || platform::Cp932HasEvery(c.PatternNative) ||
      platform::Cp932FromUtf8(c.PatternNative) != c.PatternText) {
    return {};
  }
  return c.PatternNative;
}

std::unique_ptr<SearchRequest> BuildSearchRequest(SearchConditions& c, NotifyTarget& notify,
                                                  SearchShared& shared, int64_t now) {
  auto request = std::make_unique<SearchRequest>();
  request->notify = &notify;
  request->shared = &shared;
  request->locations = std::move(c.Locations);
  c.Locations.clear();
  request->patternSjis = c.PatternText;
  request->patternNative = NativePatternOf(c);
  if (c.SearchMoji && request->patternNative.empty()) {
    PatternForms forms = CCodeConvert::MakePatternForms(c.PatternText, c.ConvertFlag);
    request->patternEuc = std::move(forms.euc);
    request->patternJis = std::move(forms.jis);
    request->patternUtf8 = std::move(forms.utf8);
  }
  request->TextOn = c.SearchMoji && !c.PatternText.empty();
  request->fileSearch = c.SearchFile;
  request->folderSearch = c.SearchFolder;
  request->SearchDepth = SearchDepthOf(c);
  request->folderDetail = c.SearchFolder && c.FolderDetail;
  request->charCode = c.SearchMoji ? c.ConvertFlag : 0;
  request->ignoreCase = c.LetterClassify;
  request->regex = c.BregFlag;
  request->textAllExt = BuildExtSet(c.MojiExtList, c.MojiAll, request->MojiExtSet);
  request->fileAllExt = BuildExtSet(c.FileExtList, c.FileAll, request->FileExtSet);
  if (c.TimeFilter == 1) {
    (c.TimeKind == 0 ? request->CreatedRange : request->WrittenRange) = DateBoundsOf(c, now);
  }
  request->SizeRange = SizeBoundsOf(c);
  request->attributes = {c.AttrReadonly, c.AttrHidden, c.AttrSystem, c.AttrArchived};
  return request;
}
