#include "matching/mbcs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace matching {
namespace {

// Reference character split, written from the code page's ranges: a lead byte pairs with a following
// trail-range byte; anything else is one byte.
bool RefLead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool RefTrail(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// For every byte of s (up to its first NUL), whether it is the second byte of a double-byte character.
std::vector<bool> RefTrailFlags(const std::string& s) {
  std::vector<bool> trail(s.size() + 1, false);
  for (size_t i = 0; i < s.size() && s[i] != '\0';) {
    auto c = static_cast<unsigned char>(s[i]);
    if (RefLead(c) && i + 1 < s.size() && RefTrail(static_cast<unsigned char>(s[i + 1]))) {
      trail[i + 1] = true;
      i += 2;
    } else {
      ++i;
    }
  }
  return trail;
}

// The folded character values of s, the reference for the comparisons.
std::vector<unsigned> RefKeys(const std::string& s) {
  std::vector<unsigned> keys;
  for (size_t i = 0; i < s.size() && s[i] != '\0';) {
    auto c = static_cast<unsigned char>(s[i]);
    if (RefLead(c) && i + 1 < s.size() && RefTrail(static_cast<unsigned char>(s[i + 1]))) {
      unsigned v = c * 256u + static_cast<unsigned char>(s[i + 1]);
      keys.push_back(v >= 0x8260 && v <= 0x8279 ? v + 0x21 : v);
      i += 2;
    } else {
      keys.push_back(c >= 'A' && c <= 'Z' ? c + 32u : c);
      ++i;
    }
  }
  return keys;
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}

TEST(MbcsTest, LeadAndTrailRangesAtTheirEdges) {
  struct Case {
    unsigned char byte;
    bool lead, trail;
  };
  const Case cases[] = {
      {0x00, false, false}, {0x3F, false, false}, {0x40, false, true},  {0x5C, false, true},
      {0x7E, false, true},  {0x7F, false, false}, {0x80, false, true},  {0x81, true, true},
      {0x9F, true, true},   {0xA0, false, true},  {0xA1, false, true},  {0xDF, false, true},
      {0xE0, true, true},   {0xFC, true, true},   {0xFD, false, false}, {0xFF, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.byte));
    EXPECT_EQ(IsLeadByte(c.byte), c.lead);
    EXPECT_EQ(IsTrailByteValue(c.byte), c.trail);
  }
}

// Every first byte x every second byte, after prefixes that leave the pair on a character boundary,
// in both the NUL-terminated and the view form.
TEST(MbcsTest, IsTrailAtAgreesWithReferenceForEveryBytePair) {
  const std::string prefixes[] = {"", "a", "\x88\x9f", "ab\x83\x41", "\x81 "};
  for (const std::string& prefix : prefixes) {
    for (int first = 1; first < 256; ++first) {
      for (int second = 1; second < 256; ++second) {
        std::string s = prefix + static_cast<char>(first) + static_cast<char>(second);
        std::vector<bool> expected = RefTrailFlags(s);
        for (size_t at = prefix.size(); at <= s.size(); ++at) {
          bool viaPointer = IsTrailAt(s.c_str(), s.c_str() + at);
          bool viaView = IsTrailAt(std::string_view(s), at);
          if (viaPointer != expected[at] || viaView != expected[at]) {
            ADD_FAILURE() << "prefix size " << prefix.size() << " bytes " << first << "," << second << " at "
                          << at;
            return;
          }
        }
      }
    }
  }
}

// Longer texts than the pairs above, with bytes that cannot be trail bytes (where the characters are read
// from) and NULs (which end the text) at random places.
TEST(MbcsTest, IsTrailAtAgreesWithReferenceOnRandomTexts) {
  const char alphabet[] = {'\x81', '\x9f', '\xe0', '\xfc', '\x88', 'A', '\x5c', ' ', '\x7f', '\xfd', '\0'};
  std::mt19937 rng(932);
  for (int round = 0; round < 20000; ++round) {
    std::string s(rng() % 40, ' ');
    const size_t letters = 5 + rng() % (std::size(alphabet) - 4);
    for (char& c : s) c = alphabet[rng() % letters];
    std::vector<bool> expected = RefTrailFlags(s);
    for (size_t at = 0; at <= s.size(); ++at) {
      if (IsTrailAt(s.c_str(), s.c_str() + at) != expected[at]) {
        ADD_FAILURE() << ::testing::PrintToString(s) << " at " << at;
        return;
      }
    }
  }
}

TEST(MbcsTest, IsTrailAtFollowsChainsOfLeadBytes) {
  // 0x83 0x83 ... 'A': the characters pair from the start, so 'A' is a trail byte after an odd run only.
  for (size_t run = 1; run <= 6; ++run) {
    SCOPED_TRACE(run);
    std::string s(run, '\x83');
    s += 'A';
    EXPECT_EQ(IsTrailAt(s.c_str(), s.c_str() + run), run % 2 == 1);
    // Seen from a later start the pairing can change: start one byte on.
    EXPECT_EQ(IsTrailAt(s.c_str() + 1, s.c_str() + run), run % 2 == 0);
  }
  const char* s = "ab";
  EXPECT_FALSE(IsTrailAt(s, s));
  EXPECT_FALSE(IsTrailAt(s + 1, s));
}

TEST(MbcsTest, NeverReadsPastTheNul) {
  // Exactly sized buffers: the address checker reports any read beyond them.
  auto text = std::make_unique<char[]>(4);
  std::memcpy(text.get(), "ab\x81", 4);  // a lead byte right before the NUL
  EXPECT_FALSE(IsTrailAt(text.get(), text.get() + 3));
  EXPECT_FALSE(IsTrailAt(text.get(), text.get() + 4));
  EXPECT_EQ(MbsLen(text.get()), 3u);
  EXPECT_EQ(CharLen(text.get() + 2), 1u);
  EXPECT_EQ(CharLen(text.get() + 3), 0u);
  EXPECT_EQ(MbsRChr(text.get(), 'b'), text.get() + 1);
  EXPECT_EQ(MbsChr(text.get(), 'z'), nullptr);
  EXPECT_GT(MbsNICmp(text.get(), "ab", 10), 0);
  EXPECT_EQ(MbsICmp(text.get(), "AB\x81"), 0);
  // The view form stops at the view's end even where the bytes go on.
  EXPECT_EQ(CharLen(std::string_view("\x88\x9f", 1), 0), 1u);
  EXPECT_EQ(MbsLen(std::string_view("\x88\x9f"
                                    "a",
                                    1)),
            1u);
}

TEST(MbcsTest, CharLenAndMbsLen) {
  struct Case {
    const char* name;
    std::string text;
    size_t chars;
  };
  const Case cases[] = {
      {"empty", "", 0},
      {"ascii", "abc", 3},
      {"double-byte", "\x95\x5c\x8e\xa6", 2},  // 表示
      {"half-width kana is one byte", "\xb1\xb2", 2},
      {"lead before a blank stands alone", "\x81 a", 3},
      {"lead at the end stands alone", "a\x82", 2},
      {"lead then lead pairs", "\x83\x83\x41", 2},
      {"NUL ends the text", std::string("ab\0cd", 5), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MbsLen(c.text.c_str()), c.chars);
    EXPECT_EQ(MbsLen(std::string_view(c.text)), c.chars);
  }
  EXPECT_EQ(CharLen("\x95\x5c"), 2u);
  EXPECT_EQ(CharLen(std::string_view("a\x95\x5c"), 1), 2u);
  EXPECT_EQ(CharLen(std::string_view("a\x95\x5c"), 2), 1u);  // read as if a character began there
  EXPECT_EQ(CharLen(std::string_view("a"), 5), 0u);
}

TEST(MbcsTest, BoundaryAtOrBeforeNeverSplitsACharacter) {
  const std::string s =
      "a\x95\x5c"
      "b";  // a 表 b
  const size_t expected[] = {0, 1, 1, 3, 4, 4, 4};
  for (size_t limit = 0; limit < std::size(expected); ++limit) {
    SCOPED_TRACE(limit);
    EXPECT_EQ(BoundaryAtOrBefore(s, limit), expected[limit]);
  }
}

TEST(MbcsTest, MbsNICmpFoldsOnlyLettersAndComparesCharactersAsUnits) {
  struct Case {
    const char* name;
    std::string a, b;
    size_t chars;
    int sign;
  };
  const Case cases[] = {
      {"ascii letters fold", "Data", "dATA", 4, 0},
      {"full-width capitals fold", "\x82\x60\x82\x61\x82\x62", "\x82\x81\x82\x82\x82\x83", 3,
       0},  // ＡＢＣ ａｂｃ
      {"Ｚ and ｚ", "\x82\x79", "\x82\x9a", 1, 0},
      {"full-width and ascii differ", "\x82\x60", "A", 1, 1},
      // ア (0x8341) and ヂ (0x8361): the trail bytes look like 'A' and 'a' but must not fold.
      {"trail bytes do not fold", "\x83\x41", "\x83\x61", 1, -1},
      {"greek capital does not fold", "\x83\x9f", "\x83\xbf", 1, -1},
      {"only the first chars count", "abcX", "ABCy", 3, 0},
      {"chars counts characters not bytes",
       "\x95\x5c"
       "a",
       "\x95\x5c"
       "b",
       1, 0},
      {"shorter text first", "ab", "abc", 3, -1},
      {"both end early", "ab", "AB", 10, 0},
      {"zero chars", "x", "y", 0, 0},
      {"lone lead at end is a character", "a\x82", "a", 5, 1},
      {"one-byte before double-byte", "\xb1", "\x81\x40", 1, -1},
      {"letters compare lowered", "_", "a", 1, -1},
      {"lowered capital after underscore", "A", "_", 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Sign(MbsNICmp(c.a.c_str(), c.b.c_str(), c.chars)), c.sign);
    EXPECT_EQ(Sign(MbsNICmp(std::string_view(c.a), std::string_view(c.b), c.chars)), c.sign);
    EXPECT_EQ(Sign(MbsNICmp(c.b.c_str(), c.a.c_str(), c.chars)), -c.sign);
  }
}

// Random texts over bytes chosen to meet every rule (letters of both cases, full-width letters, lead bytes
// with valid and invalid trails): MbsICmp must order them exactly as the reference's key sequences,
// which makes it a strict weak order.
TEST(MbcsTest, MbsICmpOrdersLikeFoldedKeySequences) {
  const char alphabet[] = {'a',    'A',    'b',    '_',    ' ',    '\x82', '\x60',
                           '\x81', '\x83', '\x41', '\x61', '\xb1', '\x9a'};
  std::mt19937 rng(932);
  auto randomText = [&] {
    std::string s(rng() % 7, ' ');
    for (char& c : s) c = alphabet[rng() % std::size(alphabet)];
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    std::string a = randomText(), b = randomText();
    std::vector<unsigned> ka = RefKeys(a), kb = RefKeys(b);
    int expected = ka < kb ? -1 : (kb < ka ? 1 : 0);
    int viaPointer = Sign(MbsICmp(a.c_str(), b.c_str()));
    int viaView = Sign(MbsICmp(std::string_view(a), std::string_view(b)));
    if (viaPointer != expected || viaView != expected) {
      ADD_FAILURE() << "a=" << ::testing::PrintToString(a) << " b=" << ::testing::PrintToString(b);
      return;
    }
  }
}

TEST(MbcsTest, CharacterSearchSkipsTrailBytes) {
  struct Case {
    const char* name;
    std::string text;
    char c;
    size_t first, last;  // npos: absent
  };
  constexpr size_t kNo = std::string_view::npos;
  const Case cases[] = {
      {"backslash only inside 表", "\x95\x5c", '\\', kNo, kNo},
      {"backslash after 表", "\x95\x5c\\", '\\', 2, 2},
      {"backslash before and after", "a\\\x95\x5c\\b", '\\', 1, 4},
      {"letter as trail of ア",
       "\x83\x41"
       "A",
       'A', 2, 2},
      {"dots", "a.tar.gz", '.', 1, 5},
      {"lone lead byte is a character", "a\x82", '\x82', 1, 1},
      {"lead of a pair is not a one-byte character", "\x82\x60", '\x82', kNo, kNo},
      {"absent", "abc", 'z', kNo, kNo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const char* s = c.text.c_str();
    EXPECT_EQ(MbsChr(s, c.c), c.first == kNo ? nullptr : s + c.first);
    EXPECT_EQ(MbsRChr(s, c.c), c.last == kNo ? nullptr : s + c.last);
    EXPECT_EQ(MbsFindChar(c.text, c.c), c.first);
    EXPECT_EQ(MbsRFindChar(c.text, c.c), c.last);
  }
  const char* s = "ab";
  EXPECT_EQ(MbsChr(s, '\0'), s + 2);
  EXPECT_EQ(MbsRChr(s, '\0'), s + 2);
}

TEST(MbcsTest, LoweringKeepsDoubleByteCharacters) {
  struct Case {
    const char* name;
    std::string text, ascii, full;
  };
  const Case cases[] = {
      {"ascii", "ReadMe.TXT", "readme.txt", "readme.txt"},
      {"trail byte 'A' of ア kept",
       "\x83\x41"
       "B",
       "\x83\x41"
       "b",
       "\x83\x41"
       "b"},
      {"full-width capitals", ".\x82\x73\x82\x77\x82\x73", ".\x82\x73\x82\x77\x82\x73",
       ".\x82\x94\x82\x98\x82\x94"},
      {"full-width small letters stay", "\x82\x81", "\x82\x81", "\x82\x81"},
      {"lone lead before a letter", "\x81 A", "\x81 a", "\x81 a"},
      {"NUL inside kept", std::string("A\0B", 3), std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string ascii = c.text, full = c.text;
    MbsLowerAscii(ascii);
    MbsLower(full);
    EXPECT_EQ(ascii, c.ascii);
    EXPECT_EQ(full, c.full);
  }
}

}  // namespace
}  // namespace matching
