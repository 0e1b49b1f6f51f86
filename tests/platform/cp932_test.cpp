#include "platform/cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>

namespace {

using platform::Cp932CanHold;
using platform::Cp932FromUtf16;
using platform::Cp932FromUtf16Bytes;
using platform::Cp932FromUtf8;
using platform::Utf16FromCp932;
using platform::Utf8FromCp932;

// iconv as the reference: the conversion of `in` as a whole, or nothing when iconv rejects it.
std::optional<std::string> Iconv(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(in.size() * 4 + 8, '\0');
  char* inPtr = const_cast<char*>(in.data());
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

std::string Pair(int lead, int trail) {
  return {static_cast<char>(lead), static_cast<char>(trail)};
}

bool IsLead(int b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

TEST(Cp932, EveryDoubleByteCharacterRoundTripsOrTakesIconvsPreferredCode) {
  std::set<int> duplicateRows;
  int defined = 0, duplicates = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLead(lead)) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      std::string code = Pair(lead, trail);
      SCOPED_TRACE(testing::Message() << std::hex << lead << trail);
      std::optional<std::string> expected = Iconv("UTF-8", "CP932", code);
      if (!expected) {
        EXPECT_EQ(Utf8FromCp932(code), "?");
        EXPECT_EQ(Utf16FromCp932(code), u"?");
        continue;
      }
      ++defined;
      std::string utf8 = Utf8FromCp932(code);
      ASSERT_EQ(utf8, *expected);
      std::string back = Cp932FromUtf8(utf8);
      EXPECT_EQ(Cp932FromUtf16(Utf16FromCp932(code)), back);
      if (back == code) continue;
      // A character the code page holds twice: iconv's own choice of code wins, and it reads back alike.
      ++duplicates;
      duplicateRows.insert(lead);
      EXPECT_EQ(back, Iconv("CP932", "UTF-8", utf8).value_or("<rejected>"));
      EXPECT_EQ(Utf8FromCp932(back), utf8);
    }
  }
  EXPECT_GT(defined, 9000);
  // NEC row 13 (0x87), the NEC-selected IBM extensions (0xED, 0xEE) and the IBM extensions (0xFA).
  EXPECT_EQ(duplicates, 398);
  EXPECT_EQ(duplicateRows, (std::set<int>{0x87, 0xED, 0xEE, 0xFA}));
}

// The table from Unicode is built in one conversion of all units; every unit must still convert as iconv
// converts it alone, the one-way mappings (U+00A5 to 0x5C, U+301C to 0x8160) and the rejected units ("?")
// included.
TEST(Cp932, EveryBmpUnitConvertsAsIconvConvertsItAlone) {
  iconv_t cd = iconv_open("CP932", "UTF-16LE");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int mapped = 0;
  for (char32_t unit = 1; unit < 0xFFFF; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 2, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    const std::string expected = ok ? std::string(out, sizeof out - outLeft) : "?";
    mapped += ok;
    ASSERT_EQ(Cp932FromUtf16(std::u16string(1, static_cast<char16_t>(unit))), expected)
        << std::hex << static_cast<unsigned>(unit);
  }
  iconv_close(cd);
  EXPECT_GT(mapped, 9000);
}

TEST(Cp932, DuplicatesTakeMicrosoftsPreferredCode) {
  struct Case {
    int from, to;
  } cases[] = {
      {0x8790, 0x81E0},  // ≒ NEC row 13 -> JIS row 2
      {0x879B, 0x81BF},  // ∩
      {0xED40, 0xFA5C},  // 纊 NEC-selected -> IBM extension
      {0xEEEF, 0xFA40},  // ⅰ
      {0xEEF9, 0x81CA},  // ￢ -> JIS row 2
      {0xFA4A, 0x8754},  // Ⅰ IBM extension -> NEC row 13
      {0xFA58, 0x878A},  // ㈱
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.from);
    EXPECT_EQ(Cp932FromUtf8(Utf8FromCp932(Pair(c.from >> 8, c.from & 0xFF))), Pair(c.to >> 8, c.to & 0xFF));
  }
}

TEST(Cp932, SingleBytes) {
  std::string ascii;
  for (int b = 0; b < 0x80; ++b) ascii += static_cast<char>(b);
  EXPECT_EQ(Cp932FromUtf8(ascii), ascii);  // 0x5C and 0x7E included: Microsoft's table keeps them ASCII
  EXPECT_EQ(Utf8FromCp932(ascii), ascii);
  EXPECT_TRUE(platform::IsAscii(ascii));
  EXPECT_FALSE(platform::IsAscii("abcdefgh\x80"));
  EXPECT_FALSE(platform::IsAscii("\xff"));

  for (int b = 0xA1; b <= 0xDF; ++b) {  // half-width katakana U+FF61..U+FF9F
    SCOPED_TRACE(b);
    std::string byte(1, static_cast<char>(b));
    std::u16string unit(1, static_cast<char16_t>(0xFF61 + b - 0xA1));
    EXPECT_EQ(Utf16FromCp932(byte), unit);
    EXPECT_EQ(Cp932FromUtf16(unit), byte);
    EXPECT_EQ(Cp932FromUtf8(Utf8FromCp932(byte)), byte);
  }
  for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF}) {
    SCOPED_TRACE(b);
    EXPECT_EQ(Utf8FromCp932(std::string(1, static_cast<char>(b))), "?");
  }
}

TEST(Cp932, FromUtf8MarksWhatItCannotConvert) {
  struct Case {
    const char* name;
    std::string utf8;
    std::string cp932;
  } cases[] = {
      {"japanese", "a日本b",
       "a\x93\xfa\x96\x7b"
       "b"},
      {"wave dash takes the full-width tilde's code", "\xe3\x80\x9c", "\x81\x60"},
      {"yen sign becomes the backslash byte", "\xc2\xa5", "\\"},
      {"accented latin is not in the code page", "caf\xc3\xa9", "caf?"},
      {"outside the BMP: one ? per character", "x\xf0\x9f\x98\x80y", "x?y"},
      {"invalid byte",
       "a\xff"
       "b",
       "a?b"},
      {"truncated sequence: one ? per byte",
       "\xe3\x81"
       "A",
       "??A"},
      {"truncated at the end", "\xe6\x97", "??"},
      {"overlong form", "\xc0\xaf", "??"},
      {"encoded surrogate", "\xed\xa0\x80", "???"},
      {"stray continuation bytes", "\x80\xbf", "??"},
      {"beyond U+10FFFF", "\xf4\x90\x80\x80", "????"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Cp932FromUtf8(c.utf8), c.cp932);
  }
}

TEST(Cp932, FromCp932MarksUndefinedBytes) {
  struct Case {
    const char* name;
    std::string cp932;
    std::string utf8;
  } cases[] = {
      {"lead byte at the end", "ab\x82", "ab?"},
      {"lead byte before a byte that cannot trail: that byte stays", "\x82 x", "? x"},
      {"lead byte before a NUL", std::string("\x82\0z", 3), std::string("?\0z", 3)},
      {"undefined pair", "\x85\x40", "?"},
      {"user-defined area maps to private use", "\xf0\x40", "\xee\x80\x80"},
      {"half-width kana", "\xb1", "\xef\xbd\xb1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8FromCp932(c.cp932), c.utf8);
  }
}

TEST(Cp932, Utf16Surrogates) {
  EXPECT_EQ(Cp932FromUtf16(u"a\U0001F600b"), "a?b");
  EXPECT_EQ(Cp932FromUtf16(std::u16string{u'a', 0xD800, u'b'}), "a?b");
  EXPECT_EQ(Cp932FromUtf16(std::u16string{0xDC00, 0xD800}), "??");
  EXPECT_EQ(Cp932FromUtf16(u"日本"), "\x93\xfa\x96\x7b");
}

// Byte pairs in either order, converted over themselves as a file's text is: the output must never overtake
// the input it has yet to read.
TEST(Cp932, Utf16BytesConvertInPlace) {
  struct Case {
    const char* name;
    std::string littleEndian;  // swapped pairwise for the big-endian run
    std::string expected;
  } cases[] = {
      {"ascii", std::string("a\0b\0", 4), "ab"},
      {"kanji and half-width kana", std::string("\xE5\x65\x2C\x67\x71\xFF", 6), "\x93\xfa\x96\x7b\xb1"},
      {"pair beyond the BMP is one ?",
       std::string("\x3D\xD8\x00\xDE"
                   "A\0",
                   6),
       "?A"},
      {"lone high surrogate at the end", std::string("A\0\x3D\xD8", 4), "A?"},
      {"zero unit ends the text", std::string("A\0\0\0B\0", 6), "A"},
      {"odd trailing byte is ignored", std::string("A\0B", 3), "A"},
  };
  for (const Case& c : cases) {
    for (bool bigEndian : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (bigEndian ? " BE" : " LE"));
      std::string bytes = c.littleEndian;
      for (size_t i = 0; bigEndian && i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
      size_t n = Cp932FromUtf16Bytes(bytes.data(), bytes.size(), bigEndian, bytes.data());
      EXPECT_EQ(bytes.substr(0, n), c.expected);
    }
  }
}

// Runs of ASCII units are converted a block at a time: runs of every length and at every alignment, cut by
// zero units, surrogates and characters of one and two bytes, give what the units give one by one.
TEST(Cp932, Utf16BytesInPlaceMatchTheUnitByUnitConversion) {
  const char16_t others[] = {0x0000, 0x007F, 0x0080, 0x00A5, 0x3042, 0x65E5, 0xFF71,
                             0xD83D, 0xDE00, 0xE000, 0xFFFF, 0x7F00, 0x0100, 0x8000};
  std::mt19937 random(932);
  for (int round = 0; round < 20000; ++round) {
    std::u16string units;
    const int length = static_cast<int>(random() % 64);
    while (static_cast<int>(units.size()) < length) {
      if (random() % 3 == 0) {
        units += others[random() % std::size(others)];
      } else {
        for (int run = static_cast<int>(random() % 40); run > 0; --run)
          units += static_cast<char16_t>(1 + random() % 0x7F);
      }
    }
    for (bool bigEndian : {false, true}) {
      std::string bytes;
      for (char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
      }
      if (random() % 2 == 0) bytes += 'x';  // an odd byte at the end
      const std::u16string upToZero = units.substr(0, units.find(char16_t{0}));
      const size_t n = Cp932FromUtf16Bytes(bytes.data(), bytes.size(), bigEndian, bytes.data());
      ASSERT_EQ(bytes.substr(0, n), Cp932FromUtf16(upToZero))
          << "round " << round << (bigEndian ? " BE" : " LE");
    }
  }
}

TEST(Cp932, CanHold) {
  struct Case {
    const char* name;
    std::string utf8;
    bool holds;
    bool hasEvery;  // every character has a code, which may read back as another form
  } cases[] = {
      {"empty", "", true, true},
      {"ascii", "/home/user/a?b", true, true},
      {"japanese and half-width kana", "日本語ｱｲｳ", true, true},
      {"NEC row 13 character", "≒", true, true},
      {"user-defined area", "\xee\x80\x80", true, true},
      {"yen sign comes back as backslash", "\xc2\xa5", false, true},
      {"wave dash comes back as full-width tilde", "\xe3\x80\x9c", false, true},
      {"accented latin", "\xc3\xa9", false, false},
      {"Korean after Japanese", "日本한", false, false},
      {"outside the BMP", "\xf0\x9f\x98\x80", false, false},
      {"invalid UTF-8", "a\xff", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Cp932CanHold(c.utf8), c.holds);
    EXPECT_EQ(platform::Cp932HasEvery(c.utf8), c.hasEvery);
  }
}

}  // namespace
