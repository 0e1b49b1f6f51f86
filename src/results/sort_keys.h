// The machinery under the result-list sort: texts turned into numbers that order as the text order does,
// and a stable sort of rows by a few numbers. A million rows sort by numbers held side by side, instead
// of comparisons that reach into records scattered in memory and fold their texts character by
// character again at every step.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace sort_keys {

// Numbers as unsigned keys: a smaller value first, or a larger value first.
constexpr uint64_t SmallerFirst(int64_t value) {
  return static_cast<uint64_t>(value) ^ (uint64_t{1} << 63);
}
constexpr uint64_t LargerFirst(int64_t value) {
  return ~SmallerFirst(value);
}

// For texts 0 .. count-1 (`text(i)` gives text i), the place of each among the distinct texts in the
// text order (matching::MbsICmp): a text before another has a smaller place, texts equal in that order
// share one. Each text is read once; repeated texts are folded once.
std::vector<uint32_t> TextRanks(size_t count, const std::function<std::string_view(size_t)>& text);

// The sort key of one row: numbers compared in order, k[0] first.
struct RowKey {
  std::array<uint64_t, 4> k{};
  size_t row = 0;  // the row's index before the sort
};

// Sorts by the numbers, ascending or descending; rows with equal numbers keep their order either way.
void SortRowKeys(std::vector<RowKey>& keys, bool descending);

}  // namespace sort_keys
