// CCodeConvert: character-code detection of file text, conversion of file text to Shift-JIS (code page
// 932, the system's text) and of the search pattern from Shift-JIS into the codes files may be in.
//
// Every function is static and keeps no state: the only table (the Shift-JIS replacement pairs used on the
// way to EUC-JP and JIS) is constant, so any number of threads may convert at once.
//
// Input and output conventions, shared by every conversion unless its comment says otherwise:
// - Input is (pointer, length) or a string_view. Nothing outside it is read.
// - The text of a conversion (UTF-16 input excepted) ends at its first NUL byte or at the end of the input,
//   whichever comes first; the NUL and what follows are ignored. A byte that needs a partner but stands at
//   the end is handled as if a NUL followed it.
// - The appending forms add to the end of `out` (whose earlier content stays) and write no NUL of their own;
//   `out.c_str()` is still a C string. The input must not lie inside `out`.
// - Bytes that form no valid character go through the same arithmetic as valid ones: the result may hold
//   meaningless bytes (a NUL included) but every conversion terminates after one pass over its input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace matching {

// Result of DetectCharCode. The numbers are fixed; FileCodeOf maps them to the file codes.
enum class DetectedCode : int {
  Empty = 0,  // no bytes
  Ascii = 2,  // 7-bit text without JIS signs
  ShiftJis = 3,
  Jis = 4,
  EucJp = 5,
  Utf8 = 7,
  Utf16Be = 8,
  Utf16Le = 9,
  Utf32Be = 10,  // recognised, never converted: searched as Shift-JIS
  Utf32Le = 11,
};

// The search pattern in the codes other than Shift-JIS; a form not asked for stays empty.
struct PatternForms {
  std::string euc;  // EUC-JP
  std::string jis;  // bare JIS: the escape sequence that opens the pattern and the one that closes it removed
  std::string utf8;  // UTF-8 without byte-order mark
};

// The measures detection compares, for one window of the sample.
struct CharCodeScores {
  int64_t sjis = 0;        // score - 395578 * invalid bytes, for Shift-JIS
  int64_t euc = 0;         // the same for EUC-JP
  int64_t utf8 = 0;        // the same for UTF-8
  uint32_t highBytes = 0;  // bytes >= 0x80
  uint32_t evenNuls = 0;   // NUL bytes at even positions of the sample
  uint32_t oddNuls = 0;    // NUL bytes at odd positions of the sample
};

class CCodeConvert {
 public:
  CCodeConvert() = delete;

  // ---- Detection ----

  // Decides the character code of a file from its bytes. Every byte of the sample is seen as given, NUL
  // bytes included; only the first 256 bytes, one 256-byte window and (for JIS escapes) the whole sample
  // are examined, plus up to 64 KiB from the window when a well-formed UTF-8 window is confirmed against
  // scores that favour Shift-JIS or EUC-JP. Never fails: an empty sample is Empty.
  static DetectedCode DetectCharCode(const char* sample, size_t length);
  // The same, asking `abandon` once a megabyte in the passes over the whole sample: when it answers true,
  // the detection ends at once with Empty (a search that is stopped).
  static DetectedCode DetectCharCode(const char* sample, size_t length, const std::function<bool()>& abandon);
  static DetectedCode DetectCharCode(std::string_view sample) {
    return DetectCharCode(sample.data(), sample.size());
  }

  // The code a byte-order mark at the start of the sample stands for (UTF-32 marks first), or nothing.
  static std::optional<DetectedCode> ByteOrderMark(const char* sample, size_t length);

  // Utf16Le or Utf16Be when the sample, which has no byte-order mark, reads as UTF-16 text in that order:
  // well-formed, nearly free of control codes, mostly characters of Japanese or English text, its zero bytes
  // nearly all on one side of the units. Judges at most the first 4 KiB; nothing for binary data, 8-bit text
  // with zero bytes in it, UTF-32, or a sample with a mark.
  static std::optional<DetectedCode> DetectUtf16WithoutMark(const char* sample, size_t length);
  static std::optional<DetectedCode> DetectUtf16WithoutMark(std::string_view sample) {
    return DetectUtf16WithoutMark(sample.data(), sample.size());
  }

  // The measures of the scorers over `window`, whose first byte stands at `position` in the sample
  // (positions decide the parity of NUL bytes). This is what DetectCharCode compares; exposed for tests and
  // diagnostics.
  static CharCodeScores ScoreWindow(const char* window, size_t length, size_t position);

  // The file code (0 Shift-JIS, 1 EUC-JP, 2 JIS, 4 UTF-8, 5 UTF-16LE, 6 UTF-16BE) a detection result
  // stands for: Empty, Ascii, ShiftJis and both UTF-32 results are searched as Shift-JIS.
  static int FileCodeOf(DetectedCode code);

  // ---- File text to Shift-JIS ----

  // EUC-JP to Shift-JIS: half-width katakana after SS2 (0x8E) become single bytes, pairs go through the
  // JIS X 0208 arithmetic, bytes below 0x80 are copied. JIS X 0212 (0x8F) is not recognised.
  static void EucToSjis(std::string_view euc, std::string& out);
  static std::string EucToSjis(std::string_view euc);
  // In place (the result is never longer); returns the new length. No NUL is written.
  static size_t EucToSjisInPlace(char* text, size_t length);

  // JIS (ISO-2022-JP) to Shift-JIS. The mode starts as ASCII; ESC $ B and ESC $ @ select kanji,
  // ESC ( B and ESC ( J ASCII, ESC ( I half-width katakana; SI and SO select ASCII. Other escape
  // sequences are data.
  static void JisToSjis(std::string_view jis, std::string& out);
  static std::string JisToSjis(std::string_view jis);
  // In place (the result is never longer); returns the new length. No NUL is written.
  static size_t JisToSjisInPlace(char* text, size_t length);

  // UTF-8 to Shift-JIS, a leading byte-order mark removed. Characters code page 932 lacks, and the bytes of
  // invalid sequences, become "?".
  static void Utf8ToSjis(std::string_view utf8, std::string& out);
  static std::string Utf8ToSjis(std::string_view utf8);

  // The 16-bit units of UTF-16 text in the given byte order, in native order: a leading byte-order mark of
  // that order is skipped; the units end at the first zero unit or where fewer than two bytes remain.
  static std::u16string Utf16Units(const char* bytes, size_t length, bool bigEndian);
  // UTF-16 text (as Utf16Units reads it) to Shift-JIS; unmappable characters and surrogates become "?".
  // The NUL rule of the other conversions does not apply: only a zero unit ends the text.
  static std::string Utf16ToSjis(const char* bytes, size_t length, bool bigEndian);
  // The same conversion written over the bytes themselves (the result is never longer); returns its
  // length. The text scan converts a UTF-16 file in its own buffer this way.
  static size_t Utf16ToSjisInPlace(char* bytes, size_t length, bool bigEndian);
  static std::string Utf16ToSjis(std::string_view bytes, bool bigEndian) {
    return Utf16ToSjis(bytes.data(), bytes.size(), bigEndian);
  }

  // UTF-16 text (as Utf16Units reads it) to UTF-8, every character kept: a search string code page 932
  // cannot hold is looked for in this form. A surrogate without its partner becomes U+FFFD.
  static std::string Utf16ToUtf8(const char* bytes, size_t length, bool bigEndian);

  // File text in the file code `fileCode` to Shift-JIS, appended to `out`: 1 EUC-JP, 2 JIS, 4 UTF-8,
  // 5 UTF-16LE, 6 UTF-16BE; any other code is Shift-JIS already and is copied up to its first NUL.
  static void ToSjis(int fileCode, std::string_view text, std::string& out);
  static std::string ToSjis(int fileCode, const char* text, size_t length);

  // ---- Shift-JIS to the file codes ----

  // The code a Shift-JIS double-byte code is replaced by before conversion to EUC-JP or JIS (NEC row-13
  // and IBM-extension duplicates of other codes), or `code` itself when it has no replacement.
  static uint16_t ReplacementFor(uint16_t code);

  // Shift-JIS to EUC-JP: half-width katakana get SS2 (0x8E), pairs are replaced by ReplacementFor and go
  // through the JIS X 0208 arithmetic; IBM extensions (first byte 0xFA-0xFC) are first moved back to the
  // NEC-selected range (0xFA5C becomes 0xED40), so they land on EUC-JP 0xF9A1-0xFCFE.
  static void SjisToEuc(std::string_view sjis, std::string& out);
  static std::string SjisToEuc(std::string_view sjis);

  // Shift-JIS to JIS: ESC ( B, ESC ( I and ESC $ B switch between ASCII, half-width katakana and kanji as
  // the text needs; the text ends in ASCII mode. Pairs are replaced by ReplacementFor (no IBM shift).
  static void SjisToJis(std::string_view sjis, std::string& out);
  static std::string SjisToJis(std::string_view sjis);

  // Shift-JIS to UTF-8 without byte-order mark; bytes code page 932 does not define become "?".
  static void SjisToUtf8(std::string_view sjis, std::string& out);
  static std::string SjisToUtf8(std::string_view sjis);

  // The forms of a Shift-JIS search pattern by the character-code setting: 1 the EUC-JP form, 2 the JIS
  // form, 3 all three, any other value none. The JIS form is bare: a closing ESC ( B is dropped, then an
  // opening ESC ( B, ESC $ B or ESC ( I, so it matches a run inside a JIS file whatever opened the run.
  static PatternForms MakePatternForms(std::string_view pattern, int convertFlag);
};

}  // namespace matching

// The search engine names these without the namespace.
using matching::CCodeConvert;
using matching::DetectedCode;
using matching::PatternForms;
