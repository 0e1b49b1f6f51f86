// Recognition of UTF-16 text without a byte-order mark. The first bytes are read as 16-bit units in both
// byte orders and each reading is judged as text: well-formed, nearly free of control codes, made of
// characters that Japanese or English text is written in, with its zero bytes on one side of the units.
//
// Three kinds of file have zero bytes and must not pass: binaries (zero units and control codes
// everywhere), 8-bit text with a stray zero byte, and UTF-32. The hard one is 8-bit text: two ASCII bytes
// read as one unit give 0x2020-0x7E7E, which is mostly kanji, and Shift-JIS pairs read big-endian are
// kanji too. Real UTF-16 text differs from those readings in its ASCII characters (each one holds a zero
// byte on the same side) and, where it has few, in its kana, which no pair of 8-bit text characters forms.
#include <optional>

#include "matching/code_convert.h"

namespace matching {
namespace {

// Enough characters to judge a file by; the rest of the file is not looked at.
constexpr size_t kSampleLength = 4096;

enum class Unit { Latin, Kana, Kanji, Printable, Surrogate, Other, Bad };

struct Range {
  uint16_t first, last;
};

// Blocks of symbols and letters found in Japanese and English documents beyond ASCII, Latin-1, kana and
// kanji. The blocks that pairs of ASCII punctuation and digits fall into (0x2800-0x2FFF, 0x3400-0x4DFF)
// are left out on purpose.
constexpr Range kPrintable[] = {
    {0x0100, 0x024F},  // Latin extended
    {0x0370, 0x04FF},  // Greek, Cyrillic
    {0x2000, 0x20CF},  // general punctuation, super- and subscripts, currency
    {0x2100, 0x27BF},  // letterlike symbols, arrows, mathematics, box drawing, shapes, dingbats
    {0x3190, 0x319F},  // kanbun
    {0x31F0, 0x33FF},  // katakana extension, enclosed and compatibility CJK (㈱, ㌔)
    {0xFE30, 0xFE4F},  // vertical forms
    {0xFFFD, 0xFFFD},  // replacement character
};

Unit Classify(uint32_t u) {
  if (u <= 0xFF) {
    // Tab, LF, FF, CR, ASCII and Latin-1. A zero unit is no text; other control codes are rare in text but
    // some formats use them as marks (an info file's 0x1F and 0x7F).
    if (u == 0) return Unit::Bad;
    bool text = u == 0x09 || u == 0x0A || u == 0x0C || u == 0x0D || (u >= 0x20 && u <= 0x7E) || u >= 0xA0;
    return text ? Unit::Latin : Unit::Other;
  }
  // CJK punctuation, hiragana, katakana, full-width and half-width forms.
  if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0xFF01 && u <= 0xFF9F) || (u >= 0xFFE0 && u <= 0xFFE6)) {
    return Unit::Kana;
  }
  if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF)) return Unit::Kanji;
  if (u >= 0xD800 && u <= 0xDFFF) return Unit::Surrogate;
  for (const Range& r : kPrintable) {
    if (u >= r.first && u <= r.last) return Unit::Printable;
  }
  if ((u >= 0xFDD0 && u <= 0xFDEF) || u >= 0xFFFE) return Unit::Bad;  // noncharacters
  return Unit::Other;
}

// What one reading of the sample holds, in units.
struct Reading {
  size_t units = 0;
  size_t latin = 0;         // 0x0001-0x00FF text: the units whose high byte is the zero
  size_t zeroLow = 0;       // 0xXX00 other than U+3000 and U+2500: a zero byte on the other side
  size_t kanjiZeroLow = 0;  // those of them that are kanji (一, 最, 言)
  size_t zeroFree = 0;      // units without a zero byte
  size_t asciiPairs = 0;    // those of them whose two bytes are both printable ASCII
  size_t kana = 0;
  size_t kanji = 0;
  size_t other = 0;
  size_t bad = 0;
  bool broken = false;  // an unpaired surrogate
};

inline bool IsPrintableAscii(uint32_t b) {
  return b >= 0x20 && b <= 0x7E;
}

inline uint32_t UnitAt(const unsigned char* s, size_t i, bool bigEndian) {
  return bigEndian ? (s[2 * i] << 8 | s[2 * i + 1]) : (s[2 * i] | s[2 * i + 1] << 8);
}

void Tally(Reading& r, Unit unit) {
  switch (unit) {
    case Unit::Latin:
      ++r.latin;
      break;
    case Unit::Kana:
      ++r.kana;
      break;
    case Unit::Kanji:
      ++r.kanji;
      break;
    case Unit::Other:
      ++r.other;
      break;
    case Unit::Bad:
      ++r.bad;
      break;
    default:
      break;
  }
}

// Reads `units` units; `cut`: the input goes on after them, so a high surrogate may end the sample.
// Stops early once the verdict cannot be text: at once on binary data, soon on text in the other order.
Reading Read(const unsigned char* s, size_t units, bool bigEndian, bool cut) {
  Reading r;
  const size_t badLimit = units / 256, otherLimit = units / 16;
  for (size_t i = 0; i < units && r.bad <= badLimit && r.other <= otherLimit && !r.broken; ++i) {
    uint32_t u = UnitAt(s, i, bigEndian);
    ++r.units;
    const Unit unit = Classify(u);
    // U+3000 (the ideographic space) and U+2500 (─, tables) are common in Japanese text.
    if (u > 0xFF && (u & 0xFF) == 0 && u != 0x3000 && u != 0x2500) {
      ++r.zeroLow;
      if (unit == Unit::Kanji) ++r.kanjiZeroLow;
    }
    if ((u >> 8) != 0 && (u & 0xFF) != 0) {
      ++r.zeroFree;
      if (IsPrintableAscii(u >> 8) && IsPrintableAscii(u & 0xFF)) ++r.asciiPairs;
    }
    Tally(r, unit);
    if (unit != Unit::Surrogate) continue;
    if (u >= 0xDC00 || (i + 1 == units ? !cut : (UnitAt(s, i + 1, bigEndian) & 0xFC00) != 0xDC00)) {
      r.broken = true;
    } else if (i + 1 < units) {
      ++i;  // the pair is one character beyond the BMP: an emoji or a rare kanji
      ++r.units;
    }
  }
  return r;
}

// True when the reading is UTF-16 text by every measure; the numbers leave room for real text (a zero unit
// in 256, a few control codes and rare characters) and none for the other kinds of file.
bool LooksLikeText(const Reading& r) {
  if (r.broken || r.latin == 0) return false;
  if (r.bad * 256 > r.units || r.other * 16 > r.units) return false;
  const size_t rest = r.units - r.latin;
  const bool kanaAmongKanji = r.kana * 8 >= rest;
  // The zero bytes stand nearly all on one side. Japanese text has some on the other side in kanji such as
  // 一, 最 and 言, as many as its line breaks where lines are long.
  if ((r.zeroLow - (kanaAmongKanji ? r.kanjiZeroLow : 0)) * 4 > r.latin) return false;
  // 8-bit text read as UTF-16 is made of pairs of ASCII bytes; kana and kanji are not, mostly.
  if (r.zeroFree * 4 >= r.units && r.asciiPairs * 5 > r.zeroFree * 4) return false;
  // Text with few ASCII characters is Japanese only with kana or Japanese punctuation among the kanji.
  return r.latin * 8 >= r.units || kanaAmongKanji;
}

}  // namespace

std::optional<DetectedCode> CCodeConvert::DetectUtf16WithoutMark(const char* sample, size_t length) {
  if (ByteOrderMark(sample, length)) return std::nullopt;
  const auto* s = reinterpret_cast<const unsigned char*>(sample);
  const bool cut = length > kSampleLength;
  const size_t units = (cut ? kSampleLength : length) / 2;
  // Text in one order is garbage in the other (kana become rare kanji, Yi or private-use characters), so
  // at most one order passes in practice; the commoner little-endian one is asked first.
  if (LooksLikeText(Read(s, units, false, cut))) return DetectedCode::Utf16Le;
  if (LooksLikeText(Read(s, units, true, cut))) return DetectedCode::Utf16Be;
  return std::nullopt;
}

}  // namespace matching
