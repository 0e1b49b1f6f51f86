#include "matching/code_convert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp932.h"

namespace matching {
namespace {

using namespace std::string_literals;

// Bytes as hex, for readable failures.
std::string Hex(const std::string& s) {
  std::string out;
  char buf[4];
  for (unsigned char c : s) {
    snprintf(buf, sizeof buf, "%02X ", c);
    out += buf;
  }
  return out;
}

struct Case {
  const char* name;
  std::string in;
  std::string out;
};

// Checks the returning, the appending and the in-place form of a conversion to Shift-JIS against each other.
template <typename Returning, typename InPlace>
void ExpectToSjis(const std::vector<Case>& cases, Returning returning, InPlace inPlace) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(returning(c.in)), Hex(c.out));
    std::vector<char> buffer(c.in.begin(), c.in.end());
    size_t length = inPlace(buffer.data(), buffer.size());
    EXPECT_EQ(Hex(std::string(buffer.data(), length)), Hex(c.out));
  }
}

const std::string kSjisNihongo = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語
const std::string kEucNihongo = "\xC6\xFC\xCB\xDC\xB8\xEC";

TEST(CodeConvertTest, EucToSjis) {
  ExpectToSjis(
      {
          {"ASCII copied", "abc\r\n", "abc\r\n"},
          {"kanji", kEucNihongo, kSjisNihongo},
          {"NEC row 13", "\xAD\xA1", "\x87\x40"},
          {"NEC-selected IBM extension", "\xF9\xA1\xFC\xEE", "\xED\x40\xEE\xEC"},
          {"SS2 katakana", "\x8E\xB1\x8E\xDF", "\xB1\xDF"},
          {"SS2 at the end", "a\x8E", "a"},
          {"SS2 before NUL ends the text", "a\x8E\x00zz"s, "a"},
          {"SS2 before other byte is dropped", "\x8E\xF9\xA1", "\xED\x40"},
          {"lone first byte at the end", "a\xA4", "a\xA4"},
          {"first byte before NUL", "a\xA4\x00\xA4\xA2"s, "a\xA4"},
          {"NUL ends the text", "ab\x00\xA4\xA2"s, "ab"},
          {"second byte below 0x80 is taken too",
           "\xA4"
           "ab",
           "\x82\x5F"
           "b"},
          // JIS X 0212 is not recognised: SS3 pairs with the next byte and shifts the pairs after it.
          {"SS3 paired like any byte", "\x8F\xA4\xA2\xA4\xA2", "\x78\x43\x81\xA2\xA2"},
      },
      [](const std::string& s) { return CCodeConvert::EucToSjis(s); }, CCodeConvert::EucToSjisInPlace);
}

TEST(CodeConvertTest, JisToSjis) {
  ExpectToSjis(
      {
          {"kanji between escapes", "\x1B$B\x46\x7C\x4B\x5C\x1B(B", "\x93\xFA\x96\x7B"},
          {"ESC $ @ and ESC ( J", "\x1B$@\x46\x7C\x1B(Jab",
           "\x93\xFA"
           "ab"},
          {"ESC ( I katakana",
           "a\x1B(I\x31\x5F\x1B(B"
           "b",
           "a\xB1\xDF"
           "b"},
          {"line break after the run", "\x1B$B\x46\x7C\x1B(B\r\n", "\x93\xFA\r\n"},
          {"SI consumes only itself",
           "\x1B$B\x46\x7C\x0F"
           "ab",
           "\x93\xFA"
           "ab"},
          {"SO consumes only itself",
           "\x1B(I"
           "1\x0E"
           "1",
           "\xB1"
           "1"},
          {"kanji pair cut by NUL", "\x1B$B\x46\x00\x46\x7C"s, "\x46"},
          {"kanji pair cut by the end", "\x1B$B\x46\x7C\x46", "\x93\xFA\x46"},
          {"unknown escape is data", "\x1B(Xab", "\x1B(Xab"},
          {"escape cut off at the end", "ab\x1B$", "ab\x1B$"},
          {"NUL ends the text",
           "ab\x00"
           "cd"s,
           "ab"},
      },
      [](const std::string& s) { return CCodeConvert::JisToSjis(s); }, CCodeConvert::JisToSjisInPlace);
}

TEST(CodeConvertTest, Utf8ToSjis) {
  std::vector<Case> cases = {
      {"byte-order mark removed",
       "\xEF\xBB\xBF\xE3\x81\x82"
       "a",
       "\x82\xA0"
       "a"},
      {"ASCII", "abc", "abc"},
      {"half-width katakana", "\xEF\xBD\xB1", "\xB1"},
      {"not in code page 932",
       "\xF0\x9F\x98\x80"
       "a",
       "?a"},
      {"invalid byte",
       "\xFF"
       "a",
       "?a"},
      {"NUL ends the text", "a\x00\xE3\x81\x82"s, "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(CCodeConvert::Utf8ToSjis(c.in)), Hex(c.out));
  }
}

TEST(CodeConvertTest, Utf16ToSjis) {
  struct Utf16Case {
    const char* name;
    std::string in;
    bool bigEndian;
    std::string out;
  };
  const Utf16Case cases[] = {
      {"little-endian with mark",
       "\xFF\xFE"
       "A\x00\x42\x30"s,
       false, "A\x82\xA0"},
      {"big-endian with mark",
       "\xFE\xFF\x00"
       "A\x30\x42"s,
       true, "A\x82\xA0"},
      {"little-endian without mark", "A\x00\x42\x30"s, false, "A\x82\xA0"},
      {"mark of the other order is a character",
       "\xFE\xFF"
       "A\x00"s,
       false, "?A"},
      {"zero unit ends the text",
       "A\x00\x00\x00"
       "B\x00"s,
       false, "A"},
      {"odd last byte ignored",
       "A\x00"
       "B"s,
       false, "A"},
      {"surrogate pair",
       "\x3D\xD8\x00\xDE"
       "A\x00"s,
       false, "?A"},
      {"mark only", "\xFF\xFE", false, ""},
      {"one byte", "\xFF", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(CCodeConvert::Utf16ToSjis(c.in, c.bigEndian)), Hex(c.out));
  }
  EXPECT_EQ(CCodeConvert::Utf16Units("\xFE\xFF\x30\x42\x00\x41", 6, true), u"\u3042A");
}

TEST(CodeConvertTest, Utf16ToUtf8KeepsEveryCharacter) {
  struct Case {
    const char* name;
    std::string in;
    bool bigEndian;
    std::string out;
  } cases[] = {
      {"little-endian with mark", "\xFF\xFE\x5C\xD5"s, false, "한"},
      {"big-endian",
       "\xD5\x5C\x00"s
       "A"s,
       true, "한A"},
      {"surrogate pair", "\x3D\xD8\x00\xDE"s, false, "😀"},
      {"lone surrogates",
       "\x00\xDE\x3D\xD8"s
       "A\x00"s,
       false, "\uFFFD\uFFFDA"},
      {"zero unit ends the text",
       "A\x00\x00\x00"s
       "B\x00"s,
       false, "A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CCodeConvert::Utf16ToUtf8(c.in.data(), c.in.size(), c.bigEndian), c.out);
  }
}

TEST(CodeConvertTest, ToSjisByFileCodeAppends) {
  const std::pair<int, std::string> cases[] = {
      {0, kSjisNihongo + "\0x"s},
      {1, kEucNihongo},
      {2, "\x1B$B\x46\x7C\x4B\x5C\x38\x6C\x1B(B"},
      {3, kSjisNihongo},
      {4, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
      {5, "\xE5\x65\x2C\x67\x9E\x8A"},
      {6, "\x65\xE5\x67\x2C\x8A\x9E"},
  };
  for (const auto& [code, text] : cases) {
    SCOPED_TRACE(code);
    std::string out = "x";
    CCodeConvert::ToSjis(code, text, out);
    EXPECT_EQ(Hex(out), Hex("x" + kSjisNihongo));
    EXPECT_EQ(Hex(CCodeConvert::ToSjis(code, text.data(), text.size())), Hex(kSjisNihongo));
  }
}

TEST(CodeConvertTest, SjisToEuc) {
  std::vector<Case> cases = {
      {"ASCII", "abc\r\n", "abc\r\n"},
      {"kanji", kSjisNihongo, kEucNihongo},
      {"half-width katakana", "\xB1\xDF", "\x8E\xB1\x8E\xDF"},
      {"lone first byte at the end", "a\x93", "a\x93"},
      {"NUL ends the text", "a\x00\x93\xFA"s, "a"},
      {"NEC row 13 kept", "\x87\x40", "\xAD\xA1"},
      {"replaced NEC row 13 duplicate", "\x87\x90", "\xA2\xE2"},
      {"replaced IBM Roman numeral", "\xFA\x4A", "\xAD\xB5"},
      {"first IBM kanji", "\xFA\x5C", "\xF9\xA1"},
      {"last IBM kanji", "\xFC\x4B", "\xFC\xEE"},
      {"IBM kanji across a lead byte", "\xFB\x40", "\xFA\xE3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(CCodeConvert::SjisToEuc(c.in)), Hex(c.out));
  }
}

TEST(CodeConvertTest, SjisToJis) {
  std::vector<Case> cases = {
      {"ASCII only has no escape", "abc", "abc"},
      {"kanji run closed", "\x93\xFA\x96\x7B", "\x1B$B\x46\x7C\x4B\x5C\x1B(B"},
      {"kanji inside ASCII",
       "a\x93\xFA"
       "b",
       "a\x1B$B\x46\x7C\x1B(B"
       "b"},
      {"katakana", "\xB1",
       "\x1B(I"
       "1\x1B(B"},
      {"katakana, kanji, ASCII",
       "\xB1\x93\xFA"
       "a",
       "\x1B(I"
       "1\x1B$B\x46\x7C\x1B(B"
       "a"},
      {"lone first byte", "\x93", "\x1B$B\x93\x1B(B"},
      {"NUL ends the text", "a\x00\x93\xFA"s, "a"},
      {"replaced NEC row 13 duplicate", "\x87\x90", "\x1B$B\x22\x62\x1B(B"},
      {"IBM kanji is not moved", "\xFA\x5C", "\x1B$B\x93\x3D\x1B(B"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(CCodeConvert::SjisToJis(c.in)), Hex(c.out));
  }
}

// Every replacement is a duplicate of its target: code page 932 reads both as the same character, and
// the target lies in JIS X 0208 or NEC row 13, which EUC-JP and JIS carry.
TEST(CodeConvertTest, ReplacementTableMapsDuplicatesToStandardCodes) {
  int replaced = 0;
  for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
    uint16_t target = CCodeConvert::ReplacementFor(static_cast<uint16_t>(code));
    if (target == code) continue;
    ++replaced;
    SCOPED_TRACE(testing::Message() << std::hex << code);
    std::string from = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    std::string to = {static_cast<char>(target >> 8), static_cast<char>(target & 0xFF)};
    EXPECT_EQ(platform::Utf8FromCp932(from), platform::Utf8FromCp932(to));
    EXPECT_LT(target, 0x8800);
  }
  EXPECT_EQ(replaced, 24);
}

bool IsLead(int b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Every double-byte character of code page 932 that EUC-JP and JIS can carry comes back from both, as
// itself or (for the duplicates of the replacement table) as its standard code. IBM extensions come back
// from EUC-JP as their NEC-selected duplicates.
TEST(CodeConvertTest, RoundTripsEveryDoubleByteCharacter) {
  int checked = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLead(lead)) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      std::string sjis = {static_cast<char>(lead), static_cast<char>(trail)};
      std::u16string unicode = platform::Utf16FromCp932(sjis);
      if (unicode.size() != 1 || unicode[0] == u'?') continue;  // not defined in the code page
      SCOPED_TRACE(Hex(sjis));
      uint16_t standard = CCodeConvert::ReplacementFor(static_cast<uint16_t>(lead << 8 | trail));
      std::string expected = {static_cast<char>(standard >> 8), static_cast<char>(standard & 0xFF)};
      std::string euc = CCodeConvert::SjisToEuc(sjis);
      if (lead <= 0xEF) {
        ASSERT_EQ(euc.size(), 2u);
        EXPECT_TRUE(static_cast<unsigned char>(euc[0]) >= 0xA1 && static_cast<unsigned char>(euc[1]) >= 0xA1);
        EXPECT_EQ(Hex(CCodeConvert::EucToSjis(euc)), Hex(expected));
        std::string jis = CCodeConvert::SjisToJis(sjis);
        ASSERT_EQ(jis.size(), 8u);
        EXPECT_TRUE(jis[3] >= 0x21 && jis[3] <= 0x7E && jis[4] >= 0x21 && jis[4] <= 0x7E);
        EXPECT_EQ(Hex(CCodeConvert::JisToSjis(jis)), Hex(expected));
        ++checked;
      } else if (lead >= 0xFA && !(lead == 0xFA && (trail <= 0x49 || (trail >= 0x55 && trail <= 0x57)))) {
        // The small Roman numerals and the three symbols before the IBM kanji (0xFA40-0xFA49,
        // 0xFA55-0xFA57) do not fall on their duplicates when moved back; every other extension does.
        EXPECT_EQ(platform::Utf8FromCp932(CCodeConvert::EucToSjis(euc)), platform::Utf8FromCp932(sjis));
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 7000);
}

TEST(CodeConvertTest, RoundTripsHalfWidthKatakana) {
  for (int b = 0xA1; b <= 0xDF; ++b) {
    std::string sjis(1, static_cast<char>(b));
    SCOPED_TRACE(Hex(sjis));
    std::string euc = CCodeConvert::SjisToEuc(sjis);
    EXPECT_EQ(Hex(euc), Hex("\x8E" + sjis));
    EXPECT_EQ(Hex(CCodeConvert::EucToSjis(euc)), Hex(sjis));
    std::string jis = CCodeConvert::SjisToJis(sjis);
    EXPECT_EQ(Hex(jis), Hex("\x1B(I" + std::string(1, static_cast<char>(b - 0x80)) + "\x1B(B"));
    EXPECT_EQ(Hex(CCodeConvert::JisToSjis(jis)), Hex(sjis));
  }
}

TEST(CodeConvertTest, SjisToUtf8AndBack) {
  std::string sjis = kSjisNihongo + "a\xB1\x81\x60";  // 日本語 a ｱ ～
  std::string utf8 = CCodeConvert::SjisToUtf8(sjis);
  EXPECT_EQ(utf8, "日本語aｱ～");
  EXPECT_EQ(Hex(CCodeConvert::Utf8ToSjis(utf8)), Hex(sjis));
  EXPECT_EQ(CCodeConvert::SjisToUtf8("ab\x00\x93\xFA"s), "ab");
}

TEST(CodeConvertTest, MakePatternForms) {
  struct FormCase {
    const char* name;
    std::string pattern;
    std::string euc, jis, utf8;
  };
  const FormCase cases[] = {
      {"ASCII", "abc", "abc", "abc", "abc"},
      {"kanji: bare run", "\x93\xFA\x96\x7B", "\xC6\xFC\xCB\xDC", "\x46\x7C\x4B\x5C", "日本"},
      {"ASCII then kanji", "a\x93\xFA", "a\xC6\xFC", "a\x1B$B\x46\x7C", "a日"},
      {"kanji then ASCII",
       "\x93\xFA"
       "a",
       "\xC6\xFC"
       "a",
       "\x46\x7C\x1B(B"
       "a",
       "日a"},
      {"half-width katakana", "\xB1\xB2", "\x8E\xB1\x8E\xB2", "12", "ｱｲ"},
      {"kanji then katakana", "\x93\xFA\xB1", "\xC6\xFC\x8E\xB1",
       "\x46\x7C\x1B(I"
       "1",
       "日ｱ"},
      {"one ASCII byte", "a", "a", "a", "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PatternForms all = CCodeConvert::MakePatternForms(c.pattern, 3);
    EXPECT_EQ(Hex(all.euc), Hex(c.euc));
    EXPECT_EQ(Hex(all.jis), Hex(c.jis));
    EXPECT_EQ(all.utf8, c.utf8);
  }
  // The setting chooses the forms.
  std::string kanji = "\x93\xFA";
  PatternForms euc = CCodeConvert::MakePatternForms(kanji, 1);
  EXPECT_EQ(Hex(euc.euc), Hex("\xC6\xFC"));
  EXPECT_TRUE(euc.jis.empty() && euc.utf8.empty());
  PatternForms jis = CCodeConvert::MakePatternForms(kanji, 2);
  EXPECT_EQ(Hex(jis.jis), Hex("\x46\x7C"));
  EXPECT_TRUE(jis.euc.empty() && jis.utf8.empty());
  for (int flag : {0, 4, -1}) {
    PatternForms none = CCodeConvert::MakePatternForms(kanji, flag);
    EXPECT_TRUE(none.euc.empty() && none.jis.empty() && none.utf8.empty()) << flag;
  }
}

}  // namespace
}  // namespace matching
