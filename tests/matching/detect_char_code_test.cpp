#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "matching/code_convert.h"
#include "platform/cp932.h"

namespace matching {
namespace {

using namespace std::string_literals;

constexpr int64_t kPenalty = 395578;

const char* Name(DetectedCode code) {
  switch (code) {
    case DetectedCode::Empty:
      return "Empty";
    case DetectedCode::Ascii:
      return "Ascii";
    case DetectedCode::ShiftJis:
      return "ShiftJis";
    case DetectedCode::Jis:
      return "Jis";
    case DetectedCode::EucJp:
      return "EucJp";
    case DetectedCode::Utf8:
      return "Utf8";
    case DetectedCode::Utf16Be:
      return "Utf16Be";
    case DetectedCode::Utf16Le:
      return "Utf16Le";
    case DetectedCode::Utf32Be:
      return "Utf32Be";
    case DetectedCode::Utf32Le:
      return "Utf32Le";
  }
  return "?";
}

struct DetectCase {
  const char* name;
  std::string sample;
  DetectedCode expected;
};

void ExpectDetected(const std::vector<DetectCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_STREQ(Name(CCodeConvert::DetectCharCode(c.sample)), Name(c.expected));
  }
}

// Hiragana あいうえお in each code.
const std::string kSjisHiragana = "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8";
const std::string kEucHiragana = "\xA4\xA2\xA4\xA4\xA4\xA6\xA4\xA8\xA4\xAA";
const std::string kUtf8Hiragana = "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\xE3\x81\x8A";

TEST(DetectCharCodeTest, ByteOrderMarksAndNulPatterns) {
  ExpectDetected({
      {"empty", "", DetectedCode::Empty},
      {"UTF-32BE mark", "\x00\x00\xFE\xFF\x00\x00\x00\x41"s, DetectedCode::Utf32Be},
      {"UTF-32LE mark before UTF-16LE", "\xFF\xFE\x00\x00"s, DetectedCode::Utf32Le},
      {"UTF-8 mark",
       "\xEF\xBB\xBF"
       "abc",
       DetectedCode::Utf8},
      {"UTF-8 mark over Shift-JIS bytes", "\xEF\xBB\xBF" + kSjisHiragana, DetectedCode::Utf8},
      {"UTF-16BE mark", "\xFE\xFF\x30\x42", DetectedCode::Utf16Be},
      {"UTF-16LE mark", "\xFF\xFE\x41\x00"s, DetectedCode::Utf16Le},
      {"UTF-32LE mark needs four bytes", "\xFF\xFE\x00"s, DetectedCode::Utf16Le},
      {"mark not at the start is text", "a\xFF\xFE\x41\x00"s, DetectedCode::Utf16Be},
      // Two NULs in a row within the first 256 bytes: the position of the first pair decides.
      {"NUL pair at 0 mod 4", "\x00\x00\x00\x61"s, DetectedCode::Utf32Be},
      {"NUL pair at 2 mod 4", "\x42\x30\x00\x00"s, DetectedCode::Utf32Le},
      {"NUL pair at odd position decides nothing", "\x61\x00\x00\x00"s, DetectedCode::Utf16Le},
      {"NUL pair beyond the head", std::string(300, 'a') + "\x00\x00"s, DetectedCode::Utf16Be},
      // Single NULs in the window: their parity decides, before any high byte is weighed.
      {"UTF-16BE without mark", "\x00\x61\x00\x62\x00\x63"s, DetectedCode::Utf16Be},
      {"UTF-16LE without mark", "\x61\x00\x62\x00\x63\x00"s, DetectedCode::Utf16Le},
      {"equal parities go to big-endian", "\x00\x61\x62\x00"s, DetectedCode::Utf16Be},
      {"NUL beats high bytes", "a\x00"s + kSjisHiragana, DetectedCode::Utf16Le},
  });
}

TEST(DetectCharCodeTest, JisEscapesAndSevenBitText) {
  std::string farEscape = std::string(2000, 'a');
  for (int i = 0; i < 100; ++i) farEscape += kSjisHiragana;
  farEscape += "\x1B$B";
  ExpectDetected({
      {"ESC $ B", "abc\x1B$BF|K\\\x1B(B", DetectedCode::Jis},
      {"ESC ( I", "\x1B(I1", DetectedCode::Jis},
      {"ESC ( B", "abc\x1B(B", DetectedCode::Jis},
      {"ESC $ ( D", "\x1B$(D", DetectedCode::Jis},
      {"ESC $ B far away, after high bytes", farEscape, DetectedCode::Jis},
      {"ESC ( J alone", "\x1B(Jabc", DetectedCode::Ascii},
      {"cut-off escape", "abc\x1B$", DetectedCode::Ascii},
      {"cut-off ESC $ ( D", "abc\x1B$(", DetectedCode::Ascii},
      {"plain ASCII", "hello world\r\nsecond line\r\n", DetectedCode::Ascii},
      {"SI in the head, no high byte",
       "abc\x0F"
       "def",
       DetectedCode::Jis},
      {"SI beyond the head", std::string(300, 'a') + "\x0F", DetectedCode::Ascii},
      {"ESC without high byte or SI",
       "abc\x1B"
       "def",
       DetectedCode::Ascii},
  });
}

// The window starts at the first NUL, SI, ESC or high byte rounded down to a multiple of 4 and runs for
// 256 bytes: a high byte at position 259 is weighed, one at 260 is not.
TEST(DetectCharCodeTest, WindowStartsAtMultipleOfFourAndSpans256Bytes) {
  auto sample = [](size_t highAt) {
    std::string s(highAt + 1, 'a');
    s[5] = '\x1B';
    s[highAt] = '\xE0';
    return s;
  };
  ExpectDetected({
      {"last byte of the window", sample(259), DetectedCode::ShiftJis},
      {"first byte after the window", sample(260), DetectedCode::Ascii},
  });
}

TEST(DetectCharCodeTest, ScoresDecide) {
  std::string japanese = platform::Cp932FromUtf8(
      "日本語のテキストです。検索ツールはファイルを一つずつ読み、文字コードを判定します。"
      "全角ＡＢＣ１２３、半角ｶﾀｶﾅも少し含みます。");
  ASSERT_GT(japanese.size(), 100u);
  ExpectDetected({
      {"Shift-JIS hiragana", kSjisHiragana, DetectedCode::ShiftJis},
      {"EUC-JP hiragana", kEucHiragana, DetectedCode::EucJp},
      {"UTF-8 hiragana", kUtf8Hiragana, DetectedCode::Utf8},
      {"Shift-JIS text", "title: " + japanese + "\r\n", DetectedCode::ShiftJis},
      {"EUC-JP text", "title: " + CCodeConvert::SjisToEuc(japanese) + "\n", DetectedCode::EucJp},
      {"UTF-8 text", "title: " + CCodeConvert::SjisToUtf8(japanese) + "\n", DetectedCode::Utf8},
      {"JIS text", "title: " + CCodeConvert::SjisToJis(japanese) + "\n", DetectedCode::Jis},
      // Shift-JIS and EUC-JP score 2 each, UTF-8 has an invalid byte: the tie goes to Shift-JIS.
      {"Shift-JIS over EUC-JP on a tie", "\x80\xD0\xA1", DetectedCode::ShiftJis},
      // 0xFD is invalid in Shift-JIS, an unfinished lead byte in the others: EUC-JP wins the tie with UTF-8.
      {"EUC-JP over UTF-8 on a tie", "\xFD", DetectedCode::EucJp},
  });
}

// Kanji in UTF-8 often score higher read as Shift-JIS pairs than as UTF-8, and a window with one or two
// characters ties; a window that is well-formed UTF-8 all the way through decides for UTF-8.
TEST(DetectCharCodeTest, WellFormedUtf8WinsOverScoresThatFavourShiftJis) {
  std::string address =
      "0010000 #CNS \xE5\x8C\x97\xE6\xB5\xB7\xE9\x81\x93\xE6\x9C\xAD"
      "\xE5\xB9\x8C\xE5\xB8\x82\xE5\x8C\x97\xE5\x8C\xBA\n";  // 北海道札幌市北区 in UTF-8
  CharCodeScores scores = CCodeConvert::ScoreWindow(address.data() + 12, address.size() - 12, 12);
  ASSERT_GT(scores.sjis, scores.utf8);  // the case the rule exists for
  std::string sparse = "<p>Copyright \xC2\xA9 2024 \xE6\x97\xA5</p>\n" + std::string(300, 'x');
  std::string cut = "title \xE6\x97\xA5\xE6\x97";  // the sample ends inside a character
  ExpectDetected({
      {"kanji that score higher as Shift-JIS", address + address, DetectedCode::Utf8},
      {"two characters in a long ASCII text", sparse, DetectedCode::Utf8},
      {"a character cut off by the end", cut, DetectedCode::Utf8},
      // Not UTF-8 after all: Shift-JIS hiragana further on (inside the confirmed stretch) break it.
      {"well-formed window, Shift-JIS later", address + std::string(300, 'a') + kSjisHiragana,
       DetectedCode::ShiftJis},
      // Overlong and surrogate forms are not well-formed; the scores decide as before.
      {"overlong form", address + "\xC0\xAF", DetectedCode::ShiftJis},
      {"surrogate", address + "\xED\xA0\x80", DetectedCode::ShiftJis},
      // Well-formed characters with a NUL after them, or only begun before the end, leave the choice to the
      // scores.
      {"first character at the window's fourth byte", "abc" + kUtf8Hiragana, DetectedCode::Utf8},
      {"a NUL after the characters: UTF-16 as the scores say", kUtf8Hiragana + "\0a"s, DetectedCode::Utf16Le},
      {"only a character's start before the end: the scores decide", "ab\xE3\x81", DetectedCode::ShiftJis},
  });
}

// A lone 0xE0 at the end is an unfinished character for all three scorers: every adjusted value is 0,
// and the head decides.
TEST(DetectCharCodeTest, TieBrokenByLineEndsThenCharsetNames) {
  ExpectDetected({
      {"nothing in the head", "abc \xE0", DetectedCode::ShiftJis},
      {"LF only", "abc\ndef\n\xE0", DetectedCode::EucJp},
      {"CR LF", "abc\r\ndef\n\xE0", DetectedCode::ShiftJis},
      {"LF CR", "abc\n\rdef\xE0", DetectedCode::ShiftJis},
      {"CR only", "abc\rdef\xE0", DetectedCode::ShiftJis},
      {"line break beyond the head", std::string(300, 'a') + "\n\xE0", DetectedCode::ShiftJis},
      {"EUC-JP named", "charset=EUC-JP \xE0", DetectedCode::EucJp},
      {"euc named", "encoding: euc-jp \xE0", DetectedCode::EucJp},
      {"UTF-8 named", "charset=UTF-8 \xE0", DetectedCode::Utf8},
      {"names are case-sensitive", "charset=utf-8 \xE0", DetectedCode::ShiftJis},
      {"Shift_JIS named", "charset=Shift_JIS \xE0", DetectedCode::ShiftJis},
      {"UTF-8 before EUC", "UTF-8 or EUC-JP \xE0", DetectedCode::Utf8},
      {"EUC before UTF-8", "EUC-JP or UTF-8 \xE0", DetectedCode::EucJp},
      {"UTF-8 after a Shift-JIS name", "sjis or UTF-8 \xE0", DetectedCode::ShiftJis},
      {"EUC before a Shift-JIS name", "EUC or shift-jis \xE0", DetectedCode::EucJp},
      {"EUC after a Shift-JIS name", "SJIS or EUC \xE0", DetectedCode::ShiftJis},
      {"name beyond the head", std::string(300, 'a') + "EUC-JP\xE0", DetectedCode::ShiftJis},
  });
}

TEST(DetectCharCodeTest, DetectsOnlyTheGivenBytes) {
  // The bytes after the length must not count: the sample below is "ab" followed by UTF-16 text.
  std::string buffer = "ab\x00\x00"s;
  EXPECT_EQ(CCodeConvert::DetectCharCode(buffer.data(), 2), DetectedCode::Ascii);
  EXPECT_EQ(CCodeConvert::DetectCharCode(buffer.data(), 0), DetectedCode::Empty);
}

struct ScoreCase {
  const char* name;
  std::string window;
  int64_t sjis, euc, utf8;
};

TEST(DetectCharCodeTest, ScorerRules) {
  const int64_t p = kPenalty;
  std::vector<ScoreCase> cases = {
      {"Shift-JIS hiragana", "\x82\xA0", 10, 0, -2 * p},
      {"EUC-JP hiragana", "\xA4\xA2", 2, 10, -2 * p},
      {"UTF-8 hiragana", "\xE3\x81\x82", 2, 2, 7},
      {"NUL: invalid everywhere, pending dropped", "\x82\x00\xA0"s, -p, -p, -3 * p},
      {"Shift-JIS 0xFD-0xFF invalid", "\xFD\xFE\xFF", -3 * p, 0, -2 * p},
      {"Shift-JIS ASCII trail byte",
       "\x82"
       "a",
       8, 0, -p},
      {"Shift-JIS lead before control byte", "\x82\x0A", -p, 0, -p},
      {"Shift-JIS single bytes 0x80, 0xA0", "\x80\xA0", 0, 0, -2 * p},
      {"EUC-JP lead then ASCII",
       "\xA4"
       "a",
       1, -p, -p},
      {"EUC-JP SS2 katakana", "\x8E\xB1", 10, 1, -2 * p},
      {"EUC-JP SS3 skips two bytes", "\x8F\xA4\xA2\xA4\xA2", 13, 10, -5 * p},
      {"EUC-JP bytes without meaning",
       "\x80\xA0\xFF"
       "a",
       -p, 0, -3 * p},
      {"UTF-8 two bytes", "\xC3\xA9", 2, 10, 7},
      {"UTF-8 five bytes", "\xF8\x88\x80\x80\x80", 0, 0, 7},
      {"UTF-8 six bytes", "\xFC\x84\x80\x80\x80\x80", 0, 1, 7},
      {"UTF-8 broken sequence",
       "\xE3\x81"
       "a",
       2, 2, -p},
      {"UTF-8 broken sequence, byte not read again", "\xE3\xE3\x81\x82", 10, 2, -3 * p},
      {"UTF-8 stray continuation and 0xFE", "\x80\xFE", -p, 0, -2 * p},
      {"unfinished sequences score nothing", "\xE3\x81", 2, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CharCodeScores s = CCodeConvert::ScoreWindow(c.window.data(), c.window.size(), 0);
    EXPECT_EQ(s.sjis, c.sjis);
    EXPECT_EQ(s.euc, c.euc);
    EXPECT_EQ(s.utf8, c.utf8);
  }
}

TEST(DetectCharCodeTest, ScorerCountsHighBytesAndNulParityFromSamplePosition) {
  std::string window = "\x00\xA4\x00\x41\x82"s;
  CharCodeScores at0 = CCodeConvert::ScoreWindow(window.data(), window.size(), 0);
  EXPECT_EQ(at0.highBytes, 2u);
  EXPECT_EQ(at0.evenNuls, 2u);
  EXPECT_EQ(at0.oddNuls, 0u);
  CharCodeScores at5 = CCodeConvert::ScoreWindow(window.data(), window.size(), 5);
  EXPECT_EQ(at5.evenNuls, 0u);
  EXPECT_EQ(at5.oddNuls, 2u);
}

// Each range of the weight tables, at both of its ends and just outside.
TEST(DetectCharCodeTest, WeightTables) {
  struct Weight {
    unsigned code;
    int weight;
  };
  const Weight sjis[] = {
      {0xA0, 0},   {0xA1, 1},    {0xDF, 1},    {0x8140, 8}, {0x81AC, 8}, {0x81AD, 0}, {0x824E, 0},
      {0x824F, 8}, {0x8258, 8},  {0x8259, 0},  {0x8260, 8}, {0x8279, 8}, {0x8281, 8}, {0x829A, 8},
      {0x829E, 0}, {0x829F, 10}, {0x82F1, 10}, {0x82F2, 0}, {0x8340, 8}, {0x8396, 8}, {0x8397, 0},
      {0x889E, 0}, {0x889F, 10}, {0x9872, 10}, {0x9873, 0}, {0x989F, 2}, {0xEAA4, 2}, {0xEAA5, 0},
      {0xED40, 1}, {0xEEEC, 1},  {0xEEED, 0},  {0xFA40, 0},
  };
  for (const auto& w : sjis) {
    SCOPED_TRACE(testing::Message() << "Shift-JIS 0x" << std::hex << w.code);
    std::string bytes;
    if (w.code > 0xFF) bytes += static_cast<char>(w.code >> 8);
    bytes += static_cast<char>(w.code & 0xFF);
    EXPECT_EQ(CCodeConvert::ScoreWindow(bytes.data(), bytes.size(), 0).sjis, w.weight);
  }
  const Weight euc[] = {
      {0x8EA0, 0}, {0x8EA1, 1},  {0x8EDF, 1},  {0x8EE0, 0}, {0xA1A1, 8}, {0xA2AE, 8}, {0xA2AF, 0},
      {0xA3B0, 8}, {0xA3B9, 8},  {0xA3C1, 8},  {0xA3DA, 8}, {0xA3E1, 8}, {0xA3FA, 8}, {0xA3FB, 0},
      {0xA4A0, 0}, {0xA4A1, 10}, {0xA4F3, 10}, {0xA4F4, 0}, {0xA5A1, 8}, {0xA5F6, 8}, {0xA5F7, 0},
      {0xB0A0, 0}, {0xB0A1, 10}, {0xCFD3, 10}, {0xCFD4, 0}, {0xD0A1, 2}, {0xF4A6, 2}, {0xF4A7, 0},
      {0xF9A1, 1}, {0xFCEE, 1},  {0xFCEF, 0},  {0x9080, 0},
  };
  for (const auto& w : euc) {
    SCOPED_TRACE(testing::Message() << "EUC-JP 0x" << std::hex << w.code);
    std::string bytes = {static_cast<char>(w.code >> 8), static_cast<char>(w.code & 0xFF)};
    EXPECT_EQ(CCodeConvert::ScoreWindow(bytes.data(), bytes.size(), 0).euc, w.weight);
  }
}

TEST(DetectCharCodeTest, FileCodeOfEachResult) {
  const std::pair<DetectedCode, int> cases[] = {
      {DetectedCode::Empty, 0},   {DetectedCode::Ascii, 0},   {DetectedCode::ShiftJis, 0},
      {DetectedCode::Jis, 2},     {DetectedCode::EucJp, 1},   {DetectedCode::Utf8, 4},
      {DetectedCode::Utf16Be, 6}, {DetectedCode::Utf16Le, 5}, {DetectedCode::Utf32Be, 0},
      {DetectedCode::Utf32Le, 0},
  };
  for (const auto& [code, fileCode] : cases) {
    SCOPED_TRACE(Name(code));
    EXPECT_EQ(CCodeConvert::FileCodeOf(code), fileCode);
  }
}

// A long sample is read through in pieces that ask whether to go on: an escape sequence anywhere (across
// a piece boundary too) or a high byte far in still decides, and an answer to end gives Empty.
TEST(DetectCharCodeTest, LongSamplesAskWhetherToGoOn) {
  constexpr size_t kMiB = size_t{1} << 20;
  const std::string ascii(3 * kMiB, 'a');
  std::string escapeAcrossPieces = ascii;
  escapeAcrossPieces.replace(kMiB - 1, 3, "\x1b$B");
  std::string utf8Late = ascii;
  utf8Late.replace(2 * kMiB + 5, 6, "\xe6\x97\xa5\xe6\x9c\xac");  // 日本
  struct Case {
    const char* name;
    const std::string& sample;
    bool abandon;
    DetectedCode expect;
  } cases[] = {
      {"plain ASCII", ascii, false, DetectedCode::Ascii},
      {"escape across a piece boundary", escapeAcrossPieces, false, DetectedCode::Jis},
      {"UTF-8 after two megabytes", utf8Late, false, DetectedCode::Utf8},
      {"asked to end", ascii, true, DetectedCode::Empty},
      {"asked to end before a late character", utf8Late, true, DetectedCode::Empty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto abandon = [&] { return c.abandon; };
    EXPECT_EQ(CCodeConvert::DetectCharCode(c.sample.data(), c.sample.size(), abandon), c.expect);
  }
}

}  // namespace
}  // namespace matching
