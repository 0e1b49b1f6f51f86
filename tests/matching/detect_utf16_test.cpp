// UTF-16 text without a byte-order mark, told apart from the other files with zero bytes in them: binaries,
// UTF-32, and 8-bit text with a zero byte here and there.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "matching/code_convert.h"
#include "platform/cp932.h"

namespace matching {
namespace {

using namespace std::string_literals;

std::vector<char32_t> CodePoints(const std::string& utf8) {
  std::vector<char32_t> codes;
  for (size_t i = 0; i < utf8.size();) {
    char32_t code = 0;
    i += static_cast<size_t>(platform::Utf8SequenceAt(utf8, i, code));
    codes.push_back(code);
  }
  return codes;
}

void PutUnit(std::string& out, uint32_t u, bool bigEndian) {
  char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
  out += bigEndian ? std::string{high, low} : std::string{low, high};
}

// UTF-16 without byte-order mark (surrogate pairs beyond the BMP).
std::string Utf16(const std::string& utf8, bool bigEndian) {
  std::string out;
  for (char32_t c : CodePoints(utf8)) {
    if (c < 0x10000) {
      PutUnit(out, c, bigEndian);
    } else {
      PutUnit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
      PutUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
    }
  }
  return out;
}

std::string Utf32(const std::string& utf8, bool bigEndian) {
  std::string out;
  for (char32_t c : CodePoints(utf8)) {
    std::string unit = {static_cast<char>(c >> 24), static_cast<char>(c >> 16), static_cast<char>(c >> 8),
                        static_cast<char>(c)};
    out += bigEndian ? unit : std::string(unit.rbegin(), unit.rend());
  }
  return out;
}

const char* Name(std::optional<DetectedCode> code) {
  if (!code) return "nothing";
  return *code == DetectedCode::Utf16Le ? "Utf16Le" : *code == DetectedCode::Utf16Be ? "Utf16Be" : "other";
}

const std::string kJapanese =
    "吾輩は猫である。名前はまだ無い。\r\n"
    "どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で泣いていた事だけは記憶している。\r\n"
    "吾輩はここで始めて人間というものを見た。\r\n";
const std::string kEnglish =
    "The quick brown fox jumps over the lazy dog.\r\n"
    "Search tools read every file once; \"quotes\", (parentheses) and 1234 digits.\r\n";
const std::string kMixed =
    "設定ファイル config.ini の Value Section に 3 行あります。\r\n"
    "検索語: Serquin 1.33 — 全角ＡＢＣ と半角ｶﾅ、㈱ と ① も。\r\n";

TEST(DetectUtf16Test, TextInEitherOrder) {
  // Paragraphs indented by an ideographic space, long, with 一 and 最 (units of the form 0xXX00) and one
  // line break each: few zero bytes, some of them on the other side.
  std::string novel;
  for (int i = 0; i < 20; ++i) {
    novel +=
        "　一番最初に言ったことを、もう一度最後まで読み返してみると、この一文の意味がわかる。"
        "一人ひとりが最も大切にしているものは何か、一緒に考えてみよう。\r\n";
  }
  // The first 4 KiB end inside a surrogate pair; the rest of the pair lies beyond.
  const std::string pairCut = std::string(2046, 'a') + "\n𠮷です\n";
  std::string asciiFirst;  // the first 4 KiB hold ASCII characters only
  while (asciiFirst.size() < 2500) asciiFirst += kEnglish;
  asciiFirst += kJapanese;
  struct Case {
    const char* name;
    std::string utf8;
  } cases[] = {
      {"Japanese", kJapanese},
      {"English", kEnglish},
      {"mixed", kMixed},
      {"one short ASCII line", "abc\n"},
      {"ideographic-space paragraphs with 一 and 最", novel},
      {"a table drawn with ─, whose units are 0x2500",
       "┌────┬────────┐\r\n│項目│内容    │\r\n└────┴────────┘\r\n"},
      {"kanji only, one name a line", "北海道\r\n青森県\r\n岩手県\r\n宮城県\r\n秋田県\r\n"},
      {"a character beyond the BMP", "𠮷野家の𠮷は「つちよし」です。😀\r\n"},
      {"ASCII first, Japanese after the first part", asciiFirst},
      {"a surrogate pair cut by the end of the first part", pairCut},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_STREQ(Name(CCodeConvert::DetectUtf16WithoutMark(Utf16(c.utf8, false))), "Utf16Le");
    EXPECT_STREQ(Name(CCodeConvert::DetectUtf16WithoutMark(Utf16(c.utf8, true))), "Utf16Be");
  }
}

// A sample of 32-bit little-endian numbers, counting up from `from`.
std::string Integers(uint32_t from, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    uint32_t v = from + static_cast<uint32_t>(i) * 37;
    for (int k = 0; k < 4; ++k) out += static_cast<char>(v >> (8 * k));
  }
  return out;
}

TEST(DetectUtf16Test, OtherFilesWithZeroBytes) {
  std::string elf =
      "\x7F"
      "ELF\x02\x01\x01\x00"s +
      std::string(8, '\0') + "\x03\x00\x3E\x00\x01\x00\x00\x00"s + Integers(0x4000, 200);
  std::string noise;
  uint32_t x = 12345;
  for (int i = 0; i < 4000; ++i) {
    x = x * 1103515245 + 12345;
    noise += static_cast<char>(i % 5 == 0 ? 0 : (x >> 16) & 0xFF);
  }
  // Compiled Python: two-byte instructions, an opcode and its argument, which is often zero. Read as
  // UTF-16 it has ASCII letters in plenty, between characters of a dozen scripts.
  std::string wordcode;
  for (int i = 0; i < 600; ++i) wordcode += {'d', static_cast<char>(i % 53), 'd', '\0', '\x93', '\x01'};
  std::string prose =
      "the quick brown fox jumps over the lazy dog and keeps on running through the long grass of the field";
  const std::string sjis = platform::Cp932FromUtf8(kJapanese);
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"an executable's header", elf},
      {"32-bit numbers", Integers(1, 500)},
      {"compiled Python", wordcode},
      {"noise with zero bytes", noise},
      {"UTF-32LE English", Utf32(kEnglish, false)},
      {"UTF-32BE English", Utf32(kEnglish, true)},
      {"UTF-32LE Japanese", Utf32(kJapanese, false)},
      {"UTF-32BE Japanese", Utf32(kJapanese, true)},
      {"ASCII with a zero byte at an odd position", prose + "\0"s + prose + "!"},
      {"ASCII with a zero byte at an even position", prose + "!\0"s + prose},
      {"ASCII ending in a zero byte", prose + "\n\0"s},
      // Every zero byte ends a word of three letters, so all stand at odd positions.
      {"zero-separated words of three letters", "usr\0bin\0lib\0etc\0var\0opt\0dev\0run\0srv\0tmp\0"s},
      {"zero-separated names", "/usr/bin/serquin\0/usr/lib/libbregexp.so\0/etc/hosts\0/var/log/syslog\0"s},
      {"zero-separated words of two letters", "ab\0cd\0ef\0gh\0ij\0kl\0mn\0op\0qr\0st\0uv\0wx\0"s},
      // Both orders at once: the zero bytes stand on both sides in equal numbers.
      {"English in both orders, one after the other",
       Utf16("the quick brown fox jumps over the lazy dog\n", false) +
           Utf16("the quick brown fox jumps over the lazy dog\n", true)},
      {"Shift-JIS with a zero byte at an odd position", sjis + "\r\n\0"s},
      {"Shift-JIS with a zero byte at an even position", sjis + "\0"s + sjis},
      // Read big-endian, Shift-JIS pairs are kanji and the zero byte stands where an ASCII character would.
      {"Shift-JIS with a zero byte before a letter", sjis + "\0a"s + sjis},
      {"UTF-8 with a zero byte", kJapanese + "\0"s + kJapanese},
      {"UTF-16 with an unpaired surrogate", Utf16(kJapanese, false) + "\x00\xD8"s + Utf16(kJapanese, false)},
      {"UTF-16 with its byte-order mark (the mark decides)", "\xFF\xFE"s + Utf16(kJapanese, false)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_STREQ(Name(CCodeConvert::DetectUtf16WithoutMark(c.bytes)), "nothing");
  }
}

TEST(DetectUtf16Test, ByteOrderMarks) {
  const std::pair<std::string, std::optional<DetectedCode>> cases[] = {
      {"\x00\x00\xFE\xFF"s, DetectedCode::Utf32Be},
      {"\xFF\xFE\x00\x00"s, DetectedCode::Utf32Le},
      {"\xEF\xBB\xBF", DetectedCode::Utf8},
      {"\xFE\xFF\x00"s, DetectedCode::Utf16Be},
      {"\xFF\xFE", DetectedCode::Utf16Le},
      {"a\xFF\xFE", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [bytes, code] : cases) {
    EXPECT_EQ(CCodeConvert::ByteOrderMark(bytes.data(), bytes.size()), code) << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace matching
