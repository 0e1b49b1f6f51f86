#include "results/sort_keys.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "matching/mbcs.h"

namespace {

std::vector<uint32_t> Ranks(const std::vector<std::string>& texts) {
  return sort_keys::TextRanks(texts.size(), [&](size_t i) -> std::string_view { return texts[i]; });
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

// For every pair, the ranks order as the text order does, equal texts included.
void ExpectRanksAgree(const std::vector<std::string>& texts, const char* name) {
  std::vector<uint32_t> ranks = Ranks(texts);
  ASSERT_EQ(ranks.size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    for (size_t j = 0; j < texts.size(); ++j) {
      int expected = Sign(matching::MbsICmp(std::string_view(texts[i]), std::string_view(texts[j])));
      int actual = ranks[i] < ranks[j] ? -1 : (ranks[i] > ranks[j] ? 1 : 0);
      ASSERT_EQ(actual, expected) << name << ": " << i << " vs " << j;
    }
  }
}

TEST(SortKeys, TextRanks) {
  struct Case {
    const char* name;
    std::vector<std::string> texts;
    std::vector<uint32_t> ranks;
  };
  Case cases[] = {
      {"nothing", {}, {}},
      {"one", {"x"}, {0}},
      {"ASCII letters fold, repeats share a place", {"b", "B", "a", "b"}, {1, 1, 0, 1}},
      {"a shorter prefix first", {"abc", "ab", "", "abcd"}, {2, 1, 0, 3}},
      {"full-width letters fold", {"\x82\x60", "\x82\x81", "\x82\x61"}, {0, 0, 1}},
      {"one-byte characters before double-byte ones", {"\x88\x9f", "\xb1", "\xff", "~"}, {3, 1, 2, 0}},
      {"a lone lead byte is one character", {"\x81 ", "\x81\x40"}, {0, 1}},
      {"the text ends at a NUL", {std::string("a\0z", 3), std::string("a\0b", 3), "a"}, {0, 0, 0}},
      {"every text the same", {"same", "SAME", "Same"}, {0, 0, 0}},
      {"one text a prefix of all others, past 16 bytes",
       {"/home/user/projects/a", "/home/user/projects", "/home/user/projects/B", "/home/user/projects/b"},
       {1, 0, 2, 2}},
  };
  for (const Case& c : cases) EXPECT_EQ(Ranks(c.texts), c.ranks) << c.name;
}

// Random texts behind a long shared prefix, so that keys differ only beyond the bytes held inline.
TEST(SortKeys, RandomTextsRankInTheTextOrder) {
  const std::string pieces[] = {"a",        "A",    "z",    "\x82\x60", "\x82\x81",
                                "\x83\x41", "\xb1", "\x81", "\xfd",     "/"};
  std::mt19937 random(97531);
  for (const std::string& prefix : {std::string(), std::string("/home/user/\x93\xfa\x96\x7b/projects/"),
                                    std::string("/home/user/\x93\xfa\x96\x7b/projects/\x81")}) {
    std::vector<std::string> texts;
    for (int i = 0; i < 150; ++i) {
      std::string text = prefix;
      for (int n = random() % 5; n > 0; --n) text += pieces[random() % std::size(pieces)];
      texts.push_back(text);
    }
    ExpectRanksAgree(texts, prefix.c_str());
  }
}

TEST(SortKeys, SortRowKeysIsStableBothWays) {
  std::vector<sort_keys::RowKey> keys = {{{2, 0}, 0}, {{1, 5}, 1}, {{2, 0}, 2}, {{1, 7}, 3}, {{2, 0}, 4}};
  auto rows = [&] {
    std::vector<size_t> out;
    for (const auto& key : keys) out.push_back(key.row);
    return out;
  };
  sort_keys::SortRowKeys(keys, false);
  EXPECT_EQ(rows(), (std::vector<size_t>{1, 3, 0, 2, 4}));
  sort_keys::SortRowKeys(keys, true);
  EXPECT_EQ(rows(), (std::vector<size_t>{0, 2, 4, 3, 1}));
}

TEST(SortKeys, NumberKeys) {
  EXPECT_LT(sort_keys::SmallerFirst(-1), sort_keys::SmallerFirst(0));
  EXPECT_LT(sort_keys::SmallerFirst(INT64_MIN), sort_keys::SmallerFirst(INT64_MAX));
  EXPECT_LT(sort_keys::LargerFirst(5), sort_keys::LargerFirst(4));
  EXPECT_LT(sort_keys::LargerFirst(0), sort_keys::LargerFirst(-1));
}

}  // namespace
