// Shift-JIS to EUC-JP, JIS and UTF-8, and the pattern forms built from them.
#include <algorithm>
#include <cstring>
#include <utility>

#include "matching/code_convert.h"
#include "platform/cp932.h"

namespace matching {
namespace {

constexpr unsigned char kSs2 = 0x8E;
constexpr std::string_view kToAscii = "\x1B(B";
constexpr std::string_view kToKana = "\x1B(I";
constexpr std::string_view kToKanji = "\x1B$B";

enum class JisMode { Ascii, Kana, Kanji };

// Codes per lead byte in Shift-JIS code order: trail bytes 0x40-0x7E, then 0x80-0xFC.
constexpr int kCodesPerLead = 188;
// Distance from an IBM extension (0xFA40-0xFC4B) to its NEC-selected duplicate (0xED40-0xEEFC).
constexpr int kIbmToNecSelected = 2472;

std::string_view UpToNul(std::string_view text) {
  const void* nul = std::memchr(text.data(), 0, text.size());
  return nul ? text.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - text.data())) : text;
}

inline bool IsTrail(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

inline bool IsHalfWidthKana(unsigned char c) {
  return c >= 0xA1 && c <= 0xDF;
}

// A Shift-JIS byte pair to its JIS X 0208 row/cell bytes, every step modulo 256.
inline void SjisPairToJis(unsigned char& c1, unsigned char& c2) {
  int lead = c1;
  if (c2 < 0x9F) {
    lead = lead < 0xA0 ? (lead - 0x81) * 2 + 0x21 : (lead - 0xE0) * 2 + 0x5F;
    c2 = static_cast<unsigned char>(c2 > 0x7F ? c2 - 0x20 : c2 - 0x1F);
  } else {
    lead = lead < 0xA0 ? (lead - 0x81) * 2 + 0x22 : (lead - 0xE0) * 2 + 0x60;
    c2 = static_cast<unsigned char>(c2 - 0x7E);
  }
  c1 = static_cast<unsigned char>(lead);
}

// Moves an IBM extension back to the NEC-selected range in code order (0xFA5C becomes 0xED40).
// A pair whose second byte is no trail byte has no place in that order and is left as it is.
inline void IbmToNecSelected(unsigned char& c1, unsigned char& c2) {
  if (!IsTrail(c2)) return;
  int index = c1 * kCodesPerLead + (c2 < 0x7F ? c2 - 0x40 : c2 - 0x41) - kIbmToNecSelected;
  int cell = index % kCodesPerLead;
  c1 = static_cast<unsigned char>(index / kCodesPerLead);
  c2 = static_cast<unsigned char>(cell < 0x3F ? 0x40 + cell : 0x41 + cell);
}

// The pair at in[i], in[i + 1] after the replacement table.
inline void ReplacedPair(const unsigned char* in, size_t i, unsigned char& c1, unsigned char& c2) {
  uint16_t code = CCodeConvert::ReplacementFor(static_cast<uint16_t>(in[i] << 8 | in[i + 1]));
  c1 = static_cast<unsigned char>(code >> 8);
  c2 = static_cast<unsigned char>(code & 0xFF);
}

// Writes the EUC-JP form of `in` at `out`, which has room for twice the input; returns its end.
char* SjisToEucBytes(const unsigned char* in, size_t length, char* out) {
  for (size_t i = 0; i < length; ++i) {
    unsigned char c = in[i];
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
    } else if (IsHalfWidthKana(c)) {
      *out++ = static_cast<char>(kSs2);
      *out++ = static_cast<char>(c);
    } else if (i + 1 >= length) {
      *out++ = static_cast<char>(c);  // a lone first byte ends the text
    } else {
      unsigned char c1, c2;
      ReplacedPair(in, i++, c1, c2);
      // First bytes 0xFD-0xFF are no IBM extensions and take the plain arithmetic like every other.
      if (c1 >= 0xFA && c1 <= 0xFC) IbmToNecSelected(c1, c2);
      SjisPairToJis(c1, c2);
      *out++ = static_cast<char>(c1 + 0x80);
      *out++ = static_cast<char>(c2 + 0x80);
    }
  }
  return out;
}

// Writes the JIS form of `in` at `out`, which has room for four times the input plus three; returns
// its end. Every byte costs at most an escape sequence and itself; the text may close with one more.
char* SjisToJisBytes(const unsigned char* in, size_t length, char* out) {
  JisMode mode = JisMode::Ascii;
  auto enter = [&](JisMode wanted) {
    if (mode == wanted) return;
    mode = wanted;
    std::string_view escape = wanted == JisMode::Ascii  ? kToAscii
                              : wanted == JisMode::Kana ? kToKana
                                                        : kToKanji;
    out = std::copy(escape.begin(), escape.end(), out);
  };
  for (size_t i = 0; i < length; ++i) {
    unsigned char c = in[i];
    if (c < 0x80) {
      enter(JisMode::Ascii);
      *out++ = static_cast<char>(c);
    } else if (IsHalfWidthKana(c)) {
      enter(JisMode::Kana);
      *out++ = static_cast<char>(c - 0x80);
    } else {
      enter(JisMode::Kanji);
      if (i + 1 >= length) {
        *out++ = static_cast<char>(c);  // a lone first byte ends the text
        break;
      }
      unsigned char c1, c2;
      ReplacedPair(in, i++, c1, c2);
      SjisPairToJis(c1, c2);
      *out++ = static_cast<char>(c1);
      *out++ = static_cast<char>(c2);
    }
  }
  enter(JisMode::Ascii);
  return out;
}

}  // namespace

uint16_t CCodeConvert::ReplacementFor(uint16_t code) {
  // NEC row-13 duplicates go to their JIS X 0208 codes; IBM-extension duplicates to the NEC or JIS X 0208
  // codes, so that the EUC-JP and JIS forms use the standard codes.
  switch (code) {
    case 0x8790:
      return 0x81E0;  // ≒
    case 0x8791:
      return 0x81DF;  // ≡
    case 0x8792:
      return 0x81E7;  // ∫
    case 0x8795:
      return 0x81E3;  // √
    case 0x8796:
      return 0x81DB;  // ⊥
    case 0x8797:
      return 0x81DA;  // ∠
    case 0x879A:
      return 0x81E6;  // ∵
    case 0x879B:
      return 0x81BF;  // ∩
    case 0x879C:
      return 0x81BE;  // ∪
    case 0xFA54:
      return 0x81CA;  // ￢
    case 0xFA58:
      return 0x878A;  // ㈱
    case 0xFA59:
      return 0x8782;  // №
    case 0xFA5A:
      return 0x8784;  // ℡
    case 0xFA5B:
      return 0x81E6;  // ∵
    default:
      break;
  }
  if (code >= 0xFA4A && code <= 0xFA53) return static_cast<uint16_t>(0x8754 + (code - 0xFA4A));  // Ⅰ-Ⅹ
  return code;
}

void CCodeConvert::SjisToEuc(std::string_view sjis, std::string& out) {
  sjis = UpToNul(sjis);
  size_t old = out.size();
  out.resize(old + 2 * sjis.size());
  char* end =
      SjisToEucBytes(reinterpret_cast<const unsigned char*>(sjis.data()), sjis.size(), out.data() + old);
  out.resize(static_cast<size_t>(end - out.data()));
}

std::string CCodeConvert::SjisToEuc(std::string_view sjis) {
  std::string out;
  SjisToEuc(sjis, out);
  return out;
}

void CCodeConvert::SjisToJis(std::string_view sjis, std::string& out) {
  sjis = UpToNul(sjis);
  size_t old = out.size();
  out.resize(old + 4 * sjis.size() + kToAscii.size());
  char* end =
      SjisToJisBytes(reinterpret_cast<const unsigned char*>(sjis.data()), sjis.size(), out.data() + old);
  out.resize(static_cast<size_t>(end - out.data()));
}

std::string CCodeConvert::SjisToJis(std::string_view sjis) {
  std::string out;
  SjisToJis(sjis, out);
  return out;
}

void CCodeConvert::SjisToUtf8(std::string_view sjis, std::string& out) {
  sjis = UpToNul(sjis);
  if (platform::IsAscii(sjis)) {
    out.append(sjis);
  } else {
    out += platform::Utf8FromCp932(sjis);
  }
}

std::string CCodeConvert::SjisToUtf8(std::string_view sjis) {
  std::string out;
  SjisToUtf8(sjis, out);
  return out;
}

PatternForms CCodeConvert::MakePatternForms(std::string_view pattern, int convertFlag) {
  PatternForms forms;
  if (convertFlag == 1 || convertFlag == 3) forms.euc = SjisToEuc(pattern);
  if (convertFlag == 2 || convertFlag == 3) {
    std::string jis = SjisToJis(pattern);
    if (jis.size() > 2 && std::string_view(jis).ends_with(kToAscii)) jis.resize(jis.size() - kToAscii.size());
    std::string_view opening = std::string_view(jis).substr(0, 3);
    if (opening == kToAscii || opening == kToKanji || opening == kToKana) jis.erase(0, 3);
    forms.jis = std::move(jis);
  }
  if (convertFlag == 3) forms.utf8 = SjisToUtf8(pattern);
  return forms;
}

}  // namespace matching
