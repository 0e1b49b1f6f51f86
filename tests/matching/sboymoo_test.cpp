#include "matching/sboymoo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace matching {
namespace {

constexpr long kNone = -1;

// A text in exactly sized heap buffers, so the address checker reports any read beyond them: `withNul`
// holds the bytes and a NUL, `bare` the bytes up to the first NUL alone (the length forms' text, which
// holds no NUL and must be searched without reading text[length]).
struct ExactText {
  explicit ExactText(const std::string& s) : size(std::min(s.size(), s.find('\0'))) {
    withNul = std::make_unique<char[]>(s.size() + 1);
    std::memcpy(withNul.get(), s.data(), s.size());
    withNul[s.size()] = '\0';
    bare = std::make_unique<char[]>(size == 0 ? 1 : size);
    std::memcpy(bare.get(), s.data(), size);
  }
  size_t size;
  std::unique_ptr<char[]> withNul, bare;
};

enum class Kind { kExact, kNoCase, kMbcs };

// Offset found by the NUL-terminated form, after checking that the length form agrees.
long Search(const CSboymoo& bm, Kind kind, const std::string& s) {
  ExactText t(s);
  const char* viaNul = nullptr;
  const char* viaLength = nullptr;
  switch (kind) {
    case Kind::kExact:
      viaNul = bm.Find(t.withNul.get());
      viaLength = bm.Find(t.bare.get(), t.size);
      break;
    case Kind::kNoCase:
      viaNul = bm.FindNoCase(t.withNul.get());
      viaLength = bm.FindNoCase(t.bare.get(), t.size);
      break;
    case Kind::kMbcs:
      viaNul = bm.FindNoCaseMbcs(t.withNul.get());
      viaLength = bm.FindNoCaseMbcs(t.bare.get(), t.size);
      break;
  }
  long a = viaNul == nullptr ? kNone : viaNul - t.withNul.get();
  long b = viaLength == nullptr ? kNone : viaLength - t.bare.get();
  EXPECT_EQ(a, b) << "NUL-terminated and length forms disagree";
  return a;
}

bool Boundary(const CSboymoo& bm, const std::string& s, bool ignoreCase) {
  ExactText t(s);
  bool a = bm.HasHitOnBoundary(t.withNul.get(), ignoreCase);
  bool b = bm.HasHitOnBoundary(t.bare.get(), t.size, ignoreCase);
  EXPECT_EQ(a, b) << "NUL-terminated and length forms disagree";
  return a;
}

struct Case {
  const char* name;
  std::string pattern, text;
  long exact, noCase, mbcs;  // expected offsets of Find, FindNoCase, FindNoCaseMbcs
};

TEST(SboymooTest, SearchesFindTheLeftmostOccurrence) {
  const Case cases[] = {
      {"abcab in xxabcabx", "abcab", "xxabcabx", 2, 2, 2},
      {"one-byte pattern", "b", "abcb", 1, 1, 1},
      {"pattern longer than text", "abcdef", "abc", kNone, kNone, kNone},
      {"pattern longer than text, same start", "abcd", "ABC", kNone, kNone, kNone},
      {"empty pattern gives the end", "", "abc", 3, 3, 3},
      {"empty pattern, empty text", "", "", 0, 0, 0},
      {"empty text", "a", "", kNone, kNone, kNone},
      {"at the start", "ab", "abxx", 0, 0, 0},
      {"at the very end", "xyz", "aaaxyz", 3, 3, 3},
      {"overlapping candidates", "aab", "aaaab", 2, 2, 2},
      {"periodic text", "aaa", "aaaa", 0, 0, 0},
      {"Data in my DATA file", "Data", "my DATA file", kNone, 3, 3},
      {"first letter in both cases", "data", "xDxdATAx", kNone, 3, 3},
      // ア (0x83 0x41) inside 0x8383 'A': every search reports offset 1, a trail byte.
      {"ア over a character boundary", "\x83\x41", "\x83\x83\x41", 1, 1, 1},
      // ア against ヂ (0x83 0x61): the byte-wise fold takes 0x41 and 0x61 as letters, the character fold not.
      {"byte fold meets trail bytes", "\x83\x41", "\x83\x61", kNone, 0, kNone},
      {"ＡＢＣ matches ａｂｃ", "\x82\x60\x82\x61\x82\x62", "x\x82\x81\x82\x82\x82\x83", kNone, kNone, 1},
      {"ａｂｃ matches ＡＢＣ", "\x82\x81\x82\x82\x82\x83", "\x82\x60\x82\x61\x82\x62", kNone, kNone, 0},
      {"full-width does not match ascii", "\x82\x60", "Aa", kNone, kNone, kNone},
      {"greek does not fold", "\x83\x9f", "\x83\xbf", kNone, kNone, kNone},
      // A pattern ending in a lone lead byte: the character fold sees 0x82 0x60 (Ａ) in the text as one
      // character that differs from the lone 0x82; bytes match.
      {"lone lead at the pattern's end", "a\x82", "A\x82\x60 a\x82 ", 4, 0, 4},
      {"lone lead byte pattern", "\x81", "\x81\x40\x81 ", 0, 0, 2},
      {"first byte >= 0x80 alone", "\xb1\xb2", "\xb1\xb1\xb2", 1, 1, 1},
      {"NUL ends the text", "cd", std::string("ab\0cd", 5), kNone, kNone, kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSboymoo bm(c.pattern.c_str());
    EXPECT_EQ(Search(bm, Kind::kExact, c.text), c.exact);
    EXPECT_EQ(Search(bm, Kind::kNoCase, c.text), c.noCase);
    EXPECT_EQ(Search(bm, Kind::kMbcs, c.text), c.mbcs);
  }
}

TEST(SboymooTest, FirstBytesAndPatternCopy) {
  struct FirstCase {
    const char* pattern;
    const char* firstBytes;
  };
  const FirstCase cases[] = {
      {"Data", "dD"}, {"data", "dD"}, {"\x82\x60", "\x82"}, {"\xb1", "\xb1"}, {"1a", "1"}, {"", ""},
  };
  for (const FirstCase& c : cases) {
    SCOPED_TRACE(c.pattern);
    CSboymoo bm(c.pattern);
    EXPECT_STREQ(bm.FirstBytes(), c.firstBytes);
    EXPECT_EQ(bm.Length(), static_cast<int32_t>(std::strlen(c.pattern)));
  }
  char pattern[] = "abc";
  CSboymoo bm(pattern);
  pattern[0] = 'x';
  EXPECT_STREQ(bm.Pattern(), "abc");
  EXPECT_EQ(Search(bm, Kind::kExact, "xabc"), 1);
}

TEST(SboymooTest, HasHitOnBoundarySkipsHitsOnTrailBytes) {
  struct BoundaryCase {
    const char* name;
    std::string pattern, text;
    bool exact, noCase;  // expected for ignoreCase false / true
  };
  const BoundaryCase cases[] = {
      {"ア only on a trail byte", "\x83\x41", "\x83\x83\x41", false, false},
      {"ア on a trail byte, then on a boundary", "\x83\x41", "\x83\x83\x41\x83\x41", true, true},
      // 表 (0x95 0x5C) whose bytes end ヵ (0x83 0x95) and begin a backslash.
      {"表 split across two characters", "\x95\x5c", "\x83\x95\\", false, false},
      {"表 split, then whole", "\x95\x5c", "\x83\x95\\\x95\x5c", true, true},
      {"letter case", "Data", "my DATA", false, true},
      {"full-width case", "\x82\x60", "\x82\x81", false, true},
      {"empty pattern, text", "", "abc", true, true},
      {"empty pattern, empty text", "", "", false, false},
      {"no occurrence", "xyz", "abc", false, false},
  };
  for (const BoundaryCase& c : cases) {
    SCOPED_TRACE(c.name);
    CSboymoo bm(c.pattern.c_str());
    EXPECT_EQ(Boundary(bm, c.text, false), c.exact);
    EXPECT_EQ(Boundary(bm, c.text, true), c.noCase);
  }
}

// The exact search learns the length of a NUL-terminated text in pieces of some kilobytes and switches
// between memchr jumps and table shifts; hits on either side of those seams must be found.
TEST(SboymooTest, FindsHitsAcrossLongTexts) {
  // sparse, dense, dense with near misses (the pattern's last two bytes without the rest), double-byte
  const std::string fillers[] = {std::string(1, 'x'), "ab", "abb", "\x82\xa0"};
  const size_t offsets[] = {0, 4090, 4095, 4096, 8190, 12285, 16384, 40000};
  for (const std::string& filler : fillers) {
    for (size_t offset : offsets) {
      SCOPED_TRACE(::testing::PrintToString(filler) + " " + std::to_string(offset));
      std::string text;
      while (text.size() < offset) text += filler;
      text.resize(offset);
      text += "abcab";
      text += std::string(100, 'b');
      CSboymoo bm("abcab");
      EXPECT_EQ(Search(bm, Kind::kExact, text), static_cast<long>(offset));
      EXPECT_EQ(Search(bm, Kind::kNoCase, text), static_cast<long>(offset));
      EXPECT_EQ(Search(bm, Kind::kMbcs, text), static_cast<long>(offset));
    }
  }
}

// Naive references: is there a match at i, judged by each search's own rule?
bool RefLead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool RefTrail(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}
unsigned char Lower(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

// Folded characters of s[from, s.size()), reading at most `limit` characters.
std::vector<unsigned> RefChars(const std::string& s, size_t from, size_t limit) {
  std::vector<unsigned> out;
  for (size_t i = from; i < s.size() && out.size() < limit;) {
    auto c = static_cast<unsigned char>(s[i]);
    if (RefLead(c) && i + 1 < s.size() && RefTrail(static_cast<unsigned char>(s[i + 1]))) {
      unsigned v = c * 256u + static_cast<unsigned char>(s[i + 1]);
      out.push_back(v >= 0x8260 && v <= 0x8279 ? v + 0x21 : v);
      i += 2;
    } else {
      out.push_back(Lower(c));
      ++i;
    }
  }
  return out;
}

bool RefMatchAt(Kind kind, const std::string& p, const std::string& s, size_t i) {
  if (kind == Kind::kMbcs) {
    std::vector<unsigned> want = RefChars(p, 0, SIZE_MAX);
    return RefChars(s, i, want.size()) == want;
  }
  if (i + p.size() > s.size()) return false;
  for (size_t j = 0; j < p.size(); ++j) {
    auto a = static_cast<unsigned char>(s[i + j]), b = static_cast<unsigned char>(p[j]);
    if (kind == Kind::kExact ? a != b : Lower(a) != Lower(b)) return false;
  }
  return true;
}

long RefSearch(Kind kind, const std::string& p, const std::string& s) {
  if (p.empty()) return static_cast<long>(s.size());
  for (size_t i = 0; i < s.size(); ++i)
    if (RefMatchAt(kind, p, s, i)) return static_cast<long>(i);
  return kNone;
}

bool RefIsTrail(const std::string& s, size_t at) {
  for (size_t i = 0; i < at;) {
    bool pair = RefLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
                RefTrail(static_cast<unsigned char>(s[i + 1]));
    if (pair && i + 1 == at) return true;
    i += pair ? 2 : 1;
  }
  return false;
}

bool RefBoundary(Kind kind, const std::string& p, const std::string& s) {
  if (p.empty()) return !s.empty();
  for (size_t i = 0; i < s.size(); ++i)
    if (RefMatchAt(kind, p, s, i) && !RefIsTrail(s, i)) return true;
  return false;
}

// Random texts and patterns over a small alphabet, so that matches, near matches, case pairs, lead bytes
// and trail bytes all occur; texts range from empty to a few thousand bytes so that the long-text scan
// paths are taken too.
TEST(SboymooTest, AgreesWithNaiveSearchOnRandomTexts) {
  const char alphabet[] = {'a',    'A',    'b',    'B',    '\x82', '\x60',
                           '\x81', '\x83', '\x41', '\x61', '\x5c', '\x95'};
  std::mt19937 rng(20240932);
  auto randomBytes = [&](size_t size, size_t letters) {
    std::string s(size, ' ');
    for (char& c : s) c = alphabet[rng() % letters];
    return s;
  };
  for (int round = 0; round < 6000; ++round) {
    const size_t letters = 2 + rng() % (std::size(alphabet) - 1);
    const size_t textSize = round % 50 == 0 ? rng() % 6000 : rng() % 40;
    std::string text = randomBytes(textSize, letters);
    std::string pattern;
    if (rng() % 2 == 0 && !text.empty()) {  // often a piece of the text, so that it is found
      size_t at = rng() % text.size();
      pattern = text.substr(at, rng() % 6);
    } else {
      pattern = randomBytes(rng() % 6, letters);
    }
    CSboymoo bm(pattern.c_str());
    for (Kind kind : {Kind::kExact, Kind::kNoCase, Kind::kMbcs}) {
      long expected = RefSearch(kind, pattern, text);
      long got = Search(bm, kind, text);
      if (got != expected) {
        ADD_FAILURE() << "kind " << static_cast<int>(kind) << " pattern " << ::testing::PrintToString(pattern)
                      << " text " << ::testing::PrintToString(text) << " got " << got << " expected "
                      << expected;
        return;
      }
    }
    for (bool ignoreCase : {false, true}) {
      bool expected = RefBoundary(ignoreCase ? Kind::kMbcs : Kind::kExact, pattern, text);
      if (Boundary(bm, text, ignoreCase) != expected) {
        ADD_FAILURE() << "boundary ignoreCase " << ignoreCase << " pattern "
                      << ::testing::PrintToString(pattern) << " text " << ::testing::PrintToString(text);
        return;
      }
    }
  }
}

}  // namespace
}  // namespace matching
