// The four filters every walked entry must pass before it is scanned or reported: extension (files only),
// date, size and attributes, tested in that order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// Lower-case extensions with their leading dot (".txt"), or "." for "no extension".
using ExtSet = std::unordered_set<std::string>;

struct TimeRange {
  int64_t from = INT64_MIN;  // inclusive
  int64_t to = INT64_MAX;    // inclusive
  bool IsOpen() const { return from == INT64_MIN && to == INT64_MAX; }
};

struct ByteRange {
  uint64_t min = 0;           // inclusive
  uint64_t max = UINT64_MAX;  // inclusive
  bool IsOpen() const { return min == 0 && max == UINT64_MAX; }
};

// Attribute conditions: 0 either, 1 must have, 2 must not have.
struct AttrConditions {
  int readonly = 0;
  int hidden = 0;
  int system = 0;
  int archived = 0;
  bool IsOpen() const { return readonly == 0 && hidden == 0 && system == 0 && archived == 0; }
};

// Entries longer than this are dropped from an extension set: no real extension is that long.
constexpr size_t kMaxExtLength = 256;

// One piece of an extension list as the set holds it: trailing blanks trimmed, "txt", ".txt" and
// "*.txt" all ".txt", lower-cased; an empty piece is "." (no extension).
std::string NormaliseExtEntry(std::string entry);

// Fills `set` from the head entry of an extension-list history ("txt;html;htm", "*.txt", ...). Returns
// true when every extension is accepted: `all` itself, or an entry ".*" / "*.*" in the list (the set is
// then empty).
bool BuildExtSet(const std::vector<std::string>& list, bool all, ExtSet& set);

// The extension of a code-page-932 name as the set holds it: from its last "." (double-byte aware),
// lower-cased; "." when there is none.
std::string ExtensionOf(std::string_view name);

bool MatchesExt(std::string_view name, const ExtSet& set);
bool MatchesDate(int64_t created, int64_t written, const TimeRange& createdRange, const TimeRange& writtenRange);
bool MatchesSize(uint64_t size, const ByteRange& range);
bool MatchesAttr(uint32_t attributes, const AttrConditions& conditions);
