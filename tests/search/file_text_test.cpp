// Converting a large file's text to Shift-JIS a piece at a time gives what converting it whole gives, and a
// stop ends the conversion.
#include <gtest/gtest.h>

#include <string>

#include "matching/code_convert.h"
#include "platform/event.h"
#include "search/file_text.h"
#include "search/search_conditions.h"

namespace {

using matching::CCodeConvert;

// `line` repeated to about `size` bytes, with `tail` after it.
std::string Text(const std::string& line, size_t size, const std::string& tail) {
  std::string text;
  while (text.size() < size) text += line;
  return text + tail;
}

// Lines (of fewer than 64 bytes) to a little before `at`, "a" up to `at`, then `tail`: its first LF is the
// first one at or after `at`.
std::string At(const std::string& line, size_t at, const std::string& tail) {
  std::string text;
  while (text.size() + line.size() + 64 < at) text += line;
  return text + std::string(at - text.size(), 'a') + tail;
}

TEST(FileTextTest, ConversionInPiecesGivesTheWholeConversion) {
  constexpr size_t kMiB = size_t{1} << 20;
  const std::string euc = "\xC6\xFC\xCB\xDC\xB8\xEC text\n";               // 日本語 text
  const std::string utf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E text\n";  // 日本語 text
  struct Case {
    const char* name;
    int code;
    std::string text;
  } cases[] = {
      {"EUC-JP", kCodeEuc, Text(euc, 3 * kMiB, "end\n")},
      // Where a piece would end, an LF that a dropped SS2 makes the first byte of a pair with the next line.
      {"EUC-JP, SS2 before an LF", kCodeEuc, At(euc, kMiB + 10, "\x8E\nX" + Text(euc, kMiB, "end"))},
      {"UTF-8 with a byte-order mark", kCodeUtf8, "\xEF\xBB\xBF" + Text(utf8, 3 * kMiB, "end\n")},
      // Where a piece would end, a line that begins with a byte-order mark, which only the text's start
      // drops.
      {"UTF-8, a mark after an LF", kCodeUtf8,
       At(utf8, kMiB + 10, "\n\xEF\xBB\xBFX" + Text(utf8, kMiB, "end"))},
      {"JIS, converted whole", kCodeJis, Text("\x1B$BF|K\\\x1B(B text\n", 2 * kMiB, "")},
  };
  platform::Event stop(platform::Event::Mode::Manual);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    ASSERT_TRUE(ToSjisUnlessStopped(c.code, c.text.data(), c.text.size(), out, stop));
    EXPECT_TRUE(out == CCodeConvert::ToSjis(c.code, c.text.data(), c.text.size()));
  }
  stop.Set();
  std::string out;
  EXPECT_FALSE(ToSjisUnlessStopped(kCodeEuc, cases[0].text.data(), cases[0].text.size(), out, stop));
}

}  // namespace
