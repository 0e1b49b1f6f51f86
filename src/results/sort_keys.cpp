#include "results/sort_keys.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "matching/mbcs.h"

namespace sort_keys {
namespace {

// A text's folded form encoded so that comparing bytes gives the text order: an ASCII character is its
// folded byte, another one-byte character 0x80 and its byte, a double-byte character its folded two bytes
// (the lead is 0x81 or above, so it follows every one-byte character). No encoded byte is 0, so the first
// 16 bytes, padded with zeros, order before any longer key that begins with them.
struct TextKey {
  uint64_t head[2] = {0, 0};  // the first 16 bytes, big-endian
  size_t offset = 0;          // the key in the arena, after the bytes all keys share
  size_t length = 0;
  uint32_t id = 0;  // which distinct text
};

void AppendFolded(std::string_view text, std::string& arena) {
  for (size_t i = 0, len; (len = matching::CharLen(text, i)) != 0; i += len) {
    auto b0 = static_cast<unsigned char>(text[i]);
    if (len == 2) {
      auto b1 = static_cast<unsigned char>(text[i + 1]);
      if (b0 == 0x82 && b1 >= 0x60 && b1 <= 0x79) b1 += 0x21;  // full-width capitals fold
      arena += static_cast<char>(b0);
      arena += static_cast<char>(b1);
    } else if (b0 < 0x80) {
      arena += static_cast<char>(b0 >= 'A' && b0 <= 'Z' ? b0 + 0x20 : b0);
    } else {
      arena += static_cast<char>(0x80);
      arena += static_cast<char>(b0);
    }
  }
}

TextKey MakeKey(std::string_view text, uint32_t id, std::string& arena) {
  TextKey key;
  key.id = id;
  key.offset = arena.size();
  AppendFolded(text, arena);
  key.length = arena.size() - key.offset;
  return key;
}

// Drops the bytes every key begins with (the folders of one location share its path, often longer than
// the 16 bytes of a head), then fills each head from what remains.
void SetHeads(std::vector<TextKey>& keys, const std::string& arena) {
  if (keys.empty()) return;
  const char* first = arena.data() + keys[0].offset;
  size_t common = keys[0].length;
  for (const TextKey& key : keys) {
    common = std::min(common, key.length);
    const char* p = arena.data() + key.offset;
    common = std::mismatch(first, first + common, p).first - first;
  }
  for (TextKey& key : keys) {
    key.offset += common;
    key.length -= common;
    for (size_t i = 0; i < 16 && i < key.length; ++i) {
      key.head[i / 8] |= uint64_t{static_cast<unsigned char>(arena[key.offset + i])} << (56 - 8 * (i % 8));
    }
  }
}

int Compare(const TextKey& a, const TextKey& b, const std::string& arena) {
  if (a.head[0] != b.head[0]) return a.head[0] < b.head[0] ? -1 : 1;
  if (a.head[1] != b.head[1]) return a.head[1] < b.head[1] ? -1 : 1;
  if (a.length <= 16 && b.length <= 16) return 0;
  // Equal heads and no zero byte in a key: both keys are at least 16 bytes long.
  size_t common = std::min(a.length, b.length) - 16;
  if (int r = std::memcmp(arena.data() + a.offset + 16, arena.data() + b.offset + 16, common)) return r;
  return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
}

// The distinct texts (equal bytes) and, for every text, the index of its distinct text. An open-addressing
// table of indices finds repeats without an allocation per text.
void Distinct(size_t count, const std::function<std::string_view(size_t)>& text,
              std::vector<std::string_view>& distinct, std::vector<uint32_t>& idOfText) {
  size_t slots = 16;
  while (slots < 2 * count) slots *= 2;
  constexpr uint32_t kEmpty = UINT32_MAX;
  std::vector<uint32_t> table(slots, kEmpty);
  std::vector<size_t> hashes;  // of the distinct texts, so that most probes compare no bytes
  std::hash<std::string_view> hash;
  idOfText.resize(count);
  for (size_t i = 0; i < count; ++i) {
    std::string_view t = text(i);
    const size_t h = hash(t);
    size_t slot = h & (slots - 1);
    while (table[slot] != kEmpty && (hashes[table[slot]] != h || distinct[table[slot]] != t)) {
      slot = (slot + 1) & (slots - 1);
    }
    if (table[slot] == kEmpty) {
      table[slot] = static_cast<uint32_t>(distinct.size());
      distinct.push_back(t);
      hashes.push_back(h);
    }
    idOfText[i] = table[slot];
  }
}

}  // namespace

std::vector<uint32_t> TextRanks(size_t count, const std::function<std::string_view(size_t)>& text) {
  std::vector<std::string_view> distinct;
  std::vector<uint32_t> idOfText;
  Distinct(count, text, distinct, idOfText);

  std::string arena;
  std::vector<TextKey> keys;
  keys.reserve(distinct.size());
  for (size_t id = 0; id < distinct.size(); ++id) keys.push_back(MakeKey(distinct[id], id, arena));
  SetHeads(keys, arena);
  std::sort(keys.begin(), keys.end(),
            [&](const TextKey& a, const TextKey& b) { return Compare(a, b, arena) < 0; });

  std::vector<uint32_t> rankOfId(distinct.size());
  uint32_t rank = 0;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i > 0 && Compare(keys[i - 1], keys[i], arena) != 0) ++rank;
    rankOfId[keys[i].id] = rank;
  }
  std::vector<uint32_t> ranks(count);
  for (size_t i = 0; i < count; ++i) ranks[i] = rankOfId[idOfText[i]];
  return ranks;
}

void SortRowKeys(std::vector<RowKey>& keys, bool descending) {
  if (descending) {
    std::stable_sort(keys.begin(), keys.end(), [](const RowKey& a, const RowKey& b) { return b.k < a.k; });
  } else {
    std::stable_sort(keys.begin(), keys.end(), [](const RowKey& a, const RowKey& b) { return a.k < b.k; });
  }
}

}  // namespace sort_keys
