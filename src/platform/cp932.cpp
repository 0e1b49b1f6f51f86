#include "platform/cp932.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

constexpr char16_t kNone = 0xFFFF;  // no mapping; U+FFFF is a noncharacter, never a table value
constexpr int kLeadCount = 60;      // 0x81-0x9F and 0xE0-0xFC

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
int LeadIndex(unsigned char lead) {
  return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

// What one code-page-932 character becomes in UTF-8: its bytes, how many of them, and how many bytes of
// code page 932 it takes. Four bytes in all, so that it is written with one copy.
struct Utf8Piece {
  char bytes[3];
  unsigned char lengths;  // UTF-8 length in bits 0-1, bytes taken in bits 2-3
};
static_assert(sizeof(Utf8Piece) == 4);

// The two directions of Microsoft's code page 932 table. Both are asked of iconv character by character,
// so that where the code page holds a character twice (NEC row 13, the NEC-selected and the IBM
// extensions) the Unicode-to-932 direction keeps the code iconv itself prefers.
class Tables {
 public:
  Tables();
  Tables(const Tables&) = delete;
  Tables& operator=(const Tables&) = delete;

  // The code of `unit` in code page 932 (below 0x100 for one byte, lead << 8 | trail for two), or kNone.
  char16_t ToCp932(char16_t unit) const { return toCp932_[unit]; }
  // The code of `unit` as its bytes stand in memory, the first in the low half ("?" for a unit without
  // a code): a code of two bytes is the one whose high half is not zero, as no trail byte is zero.
  uint16_t Written(char16_t unit) const { return written_[unit]; }
  // The character of one byte that is not a lead byte, or kNone.
  char16_t FromSingle(unsigned char b) const { return single_[b]; }
  // The character of a lead and a trail byte, or kNone.
  char16_t FromPair(unsigned char lead, unsigned char trail) const { return pair_[LeadIndex(lead)][trail]; }

  // The UTF-8 form of the character at a byte that is no lead byte, and of a lead and a next byte, as
  // AppendUtf8FromCp932 writes it ("?" for what the table does not define; a lead byte whose next byte
  // cannot trail is taken alone).
  const Utf8Piece& Utf8OfSingle(unsigned char b) const { return utf8Single_[b]; }
  const Utf8Piece& Utf8OfPair(unsigned char lead, unsigned char next) const {
    return utf8Pair_[LeadIndex(lead)][next];
  }

 private:
  void BuildToUnicode(iconv_t cd);
  void BuildFromUnicode(iconv_t cd);
  void BuildUtf8Pieces();

  char16_t toCp932_[0x10000];
  uint16_t written_[0x10000];
  char16_t single_[0x100];
  char16_t pair_[kLeadCount][0x100];
  Utf8Piece utf8Single_[0x100];
  Utf8Piece utf8Pair_[kLeadCount][0x100];
};

Tables::Tables() {
  for (auto& unit : toCp932_) unit = kNone;
  for (auto& unit : single_) unit = kNone;
  for (auto& row : pair_) {
    for (auto& unit : row) unit = kNone;
  }
  // ASCII is the same in both; it stays usable even if iconv lacks the code page.
  for (char16_t c = 0; c < 0x80; ++c) toCp932_[c] = single_[c] = c;
  iconv_t toUnicode = iconv_open("WCHAR_T", "CP932");
  if (toUnicode != reinterpret_cast<iconv_t>(-1)) {
    BuildToUnicode(toUnicode);
    iconv_close(toUnicode);
  }
  // Dropping what it cannot convert saves a call per such unit; a converter that knows no "//IGNORE"
  // stops at each of them instead, which BuildFromUnicode handles too.
  iconv_t fromUnicode = iconv_open("CP932//IGNORE", "WCHAR_T");
  if (fromUnicode == reinterpret_cast<iconv_t>(-1)) fromUnicode = iconv_open("CP932", "WCHAR_T");
  if (fromUnicode != reinterpret_cast<iconv_t>(-1)) {
    BuildFromUnicode(fromUnicode);
    iconv_close(fromUnicode);
  }
  BuildUtf8Pieces();
  for (size_t unit = 0; unit < 0x10000; ++unit) {
    const char16_t code = toCp932_[unit] == kNone ? u'?' : toCp932_[unit];
    written_[unit] = static_cast<uint16_t>(code < 0x100 ? code : (code >> 8 | (code & 0xFF) << 8));
  }
}

void Tables::BuildToUnicode(iconv_t cd) {
  // One call for every byte and pair instead of one each (eleven thousand calls cost milliseconds at every
  // start): each code is followed by a line feed, which is no byte of a code (trail bytes are 0x40 and
  // above), so the output splits into one piece per code. A code the converter rejects is passed over
  // whole, up to its line feed, which leaves its piece empty: as when it is converted alone.
  std::string in;
  in.reserve(3 * 0x3000);
  for (int b = 0x80; b < 0x100; ++b) {
    if (IsLeadByte(static_cast<unsigned char>(b))) continue;
    in += static_cast<char>(b);
    in += '\n';
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
      in += static_cast<char>(lead);
      in += static_cast<char>(trail);
      in += '\n';
    }
  }
  std::vector<wchar_t> out(in.size());  // at most one unit a byte
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = reinterpret_cast<char*>(out.data());
  size_t outLeft = out.size() * sizeof(wchar_t);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) return;  // the codes not reached stay unmapped
    const auto* lf = static_cast<const char*>(memchr(inPtr, '\n', inLeft));
    if (lf == nullptr || lf == inPtr) return;
    inLeft -= static_cast<size_t>(lf - inPtr);
    inPtr = const_cast<char*>(lf);
  }
  out.resize(static_cast<size_t>(reinterpret_cast<wchar_t*>(outPtr) - out.data()));
  const auto* code = reinterpret_cast<const unsigned char*>(in.data());
  for (size_t i = 0, start = 0; i < out.size(); ++i) {
    if (out[i] != L'\n') continue;
    const bool pair = IsLeadByte(code[0]);
    if (i - start == 1 && out[start] < 0xFFFF) {
      (pair ? pair_[LeadIndex(code[0])][code[1]] : single_[code[0]]) = static_cast<char16_t>(out[start]);
    }
    code += pair ? 3 : 2;
    start = i + 1;
  }
}

void Tables::BuildFromUnicode(iconv_t cd) {
  // One call for all units instead of one per unit (65,000 calls cost about ten milliseconds at every
  // start): each unit is followed by a line feed, which no code of another unit contains (trail bytes are
  // 0x40 and above), so the output splits into one piece per unit. The converter drops a unit it cannot
  // convert, which leaves that unit's piece empty.
  std::vector<wchar_t> in;
  in.reserve(2 * 0x10000);
  for (wchar_t unit = 0x80; unit < 0xFFFF; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    in.push_back(unit);
    in.push_back(L'\n');
  }
  std::string out(2 * in.size(), '\0');  // at most two bytes a unit and one a line feed
  char* inPtr = reinterpret_cast<char*>(in.data());
  size_t inLeft = in.size() * sizeof(wchar_t);
  char* outPtr = out.data();
  size_t outLeft = out.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    const size_t before = inLeft;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
    // A converter that stops at a unit it cannot convert (rather than dropping it) has it skipped here.
    if (inLeft == before && errno == EILSEQ) {
      inPtr += sizeof(wchar_t);
      inLeft -= sizeof(wchar_t);
    } else if (inLeft == before) {
      return;  // no progress for another reason: the units not reached stay unmapped
    }
  }
  out.resize(static_cast<size_t>(outPtr - out.data()));
  const wchar_t* unit = in.data();
  for (size_t start = 0, lf; (lf = out.find('\n', start)) != std::string::npos; start = lf + 1, unit += 2) {
    const auto* piece = reinterpret_cast<const unsigned char*>(out.data() + start);
    const size_t n = lf - start;
    if (n == 1 && !IsLeadByte(piece[0])) {
      toCp932_[*unit] = piece[0];
    } else if (n == 2 && IsLeadByte(piece[0]) && IsTrailByte(piece[1])) {
      toCp932_[*unit] = static_cast<char16_t>(piece[0] << 8 | piece[1]);
    }
  }
}

// Every character as DecodeCp932 reads it and PutUtf8 writes it, so that printing a line costs a lookup
// and a copy per character.
void Tables::BuildUtf8Pieces() {
  auto piece = [](char16_t unit, size_t taken) {
    if (unit == kNone) unit = u'?';
    Utf8Piece p{};
    size_t n = 0;
    if (unit < 0x80) {
      p.bytes[n++] = static_cast<char>(unit);
    } else if (unit < 0x800) {
      p.bytes[n++] = static_cast<char>(0xC0 | unit >> 6);
      p.bytes[n++] = static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      p.bytes[n++] = static_cast<char>(0xE0 | unit >> 12);
      p.bytes[n++] = static_cast<char>(0x80 | (unit >> 6 & 0x3F));
      p.bytes[n++] = static_cast<char>(0x80 | (unit & 0x3F));
    }
    p.lengths = static_cast<unsigned char>(n | taken << 2);
    return p;
  };
  for (int b = 0; b < 0x100; ++b) utf8Single_[b] = piece(single_[b], 1);
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int next = 0; next < 0x100; ++next) {
      const bool trail = IsTrailByte(static_cast<unsigned char>(next));
      utf8Pair_[LeadIndex(static_cast<unsigned char>(lead))][next] =
          trail ? piece(pair_[LeadIndex(static_cast<unsigned char>(lead))][next], 2) : piece(kNone, 1);
    }
  }
}

const Tables& GetTables() {
  // Built on first use; the language guarantees one thread builds it while the others wait.
  static const Tables tables;
  return tables;
}

// The length of the well-formed UTF-8 sequence at p (1 to 4) with its code point, or 0 when the bytes
// there do not start one (bad lead byte, bad or missing continuation, overlong form, surrogate, > U+10FFFF).
int DecodeUtf8(const unsigned char* p, size_t left, char32_t& code) {
  unsigned char b = p[0];
  if (b < 0x80) {
    code = b;
    return 1;
  }
  int length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the first continuation byte
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (left < static_cast<size_t>(length) || p[1] < low || p[1] > high) return 0;
  char32_t value = b & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
    value = value << 6 | (p[k] & 0x3F);
  }
  code = value;
  return length;
}

// Appends the code-page-932 form of one BMP character (or "?") at out; returns the new end.
char* PutCp932(const Tables& tables, char32_t code, char* out) {
  char16_t mapped = code <= 0xFFFF ? tables.ToCp932(static_cast<char16_t>(code)) : kNone;
  if (mapped == kNone) {
    *out++ = '?';
  } else if (mapped < 0x100) {
    *out++ = static_cast<char>(mapped);
  } else {
    *out++ = static_cast<char>(mapped >> 8);
    *out++ = static_cast<char>(mapped & 0xFF);
  }
  return out;
}

// Decodes the code-page-932 character at p; returns the bytes it takes (1 or 2) and sets unit (u'?' when
// undefined). A lead byte without a valid trail byte after it is taken alone, so the byte after it is
// read again as a character of its own.
size_t DecodeCp932(const Tables& tables, const unsigned char* p, size_t left, char16_t& unit) {
  unsigned char b = p[0];
  if (b < 0x80) {
    unit = b;
    return 1;
  }
  if (!IsLeadByte(b)) {
    unit = tables.FromSingle(b);
    if (unit == kNone) unit = u'?';
    return 1;
  }
  if (left < 2 || !IsTrailByte(p[1])) {
    unit = u'?';
    return 1;
  }
  unit = tables.FromPair(b, p[1]);
  if (unit == kNone) unit = u'?';
  return 2;
}

char* PutUtf8(char16_t unit, char* out) {
  if (unit < 0x80) {
    *out++ = static_cast<char>(unit);
  } else if (unit < 0x800) {
    *out++ = static_cast<char>(0xC0 | unit >> 6);
    *out++ = static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | unit >> 12);
    *out++ = static_cast<char>(0x80 | (unit >> 6 & 0x3F));
    *out++ = static_cast<char>(0x80 | (unit & 0x3F));
  }
  return out;
}

size_t AsciiPrefixLength(std::string_view text) {
  size_t i = 0;
  // Eight bytes at a time: names are mostly ASCII, and this test runs for every name of a walk.
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t chunk;
    std::memcpy(&chunk, text.data() + i, 8);
    if (chunk & 0x8080808080808080ULL) break;
  }
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  return i;
}

}  // namespace

int Utf8SequenceAt(std::string_view text, size_t i, char32_t& code) {
  if (i >= text.size()) return 0;
  return DecodeUtf8(reinterpret_cast<const unsigned char*>(text.data()) + i, text.size() - i, code);
}

void AppendUtf8(char32_t code, std::string& out) {
  if (code < 0x10000) {
    char bytes[3];
    out.append(bytes, static_cast<size_t>(PutUtf8(static_cast<char16_t>(code), bytes) - bytes));
    return;
  }
  out += static_cast<char>(0xF0 | code >> 18);
  out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
  out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
  out += static_cast<char>(0x80 | (code & 0x3F));
}

bool IsAscii(std::string_view text) {
  return AsciiPrefixLength(text) == text.size();
}

std::string Cp932FromUtf8(std::string_view utf8) {
  size_t i = AsciiPrefixLength(utf8);
  if (i == utf8.size()) return std::string(utf8);
  const Tables& tables = GetTables();
  // Every UTF-8 sequence is at least as long as what it becomes, so the input's length is enough.
  std::string result(utf8.size(), '\0');
  std::memcpy(result.data(), utf8.data(), i);
  char* out = result.data() + i;
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const size_t n = utf8.size();
  while (i < n) {
    // Lines of Japanese text are ASCII and three-byte characters; both are taken here without the general
    // decoder (E1-EC and EE-EF lead bytes take any continuation bytes: no overlong form, no surrogate).
    const unsigned char b = p[i];
    if (b < 0x80) {
      *out++ = static_cast<char>(b);
      ++i;
      continue;
    }
    if (b >= 0xE1 && b <= 0xEF && b != 0xED && i + 2 < n && (p[i + 1] & 0xC0) == 0x80 &&
        (p[i + 2] & 0xC0) == 0x80) {
      out = PutCp932(
          tables, static_cast<char32_t>((b & 0x0F) << 12 | (p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F)), out);
      i += 3;
      continue;
    }
    char32_t code = 0;
    int length = DecodeUtf8(p + i, n - i, code);
    if (length == 0) {
      *out++ = '?';  // one "?" for every byte that does not belong to a well-formed sequence
      ++i;
      continue;
    }
    out = PutCp932(tables, code, out);
    i += static_cast<size_t>(length);
  }
  result.resize(static_cast<size_t>(out - result.data()));
  return result;
}

std::string Utf8FromCp932(std::string_view cp932) {
  std::string result;
  AppendUtf8FromCp932(result, cp932);
  return result;
}

void AppendUtf8FromCp932(std::string& result, std::string_view cp932) {
  size_t i = AsciiPrefixLength(cp932);
  if (i == cp932.size()) {
    result.append(cp932);
    return;
  }
  const Tables& tables = GetTables();
  const size_t start = result.size();
  // One byte can become three (half-width kana); each character is written as four bytes, the last of
  // which the next character overwrites, so one byte more is made room for.
  result.resize(start + i + 3 * (cp932.size() - i) + 1);
  std::memcpy(result.data() + start, cp932.data(), i);
  char* out = result.data() + start + i;
  const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
  const size_t n = cp932.size();
  while (i < n) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      *out++ = static_cast<char>(b);
      ++i;
      continue;
    }
    const Utf8Piece& piece = !IsLeadByte(b) ? tables.Utf8OfSingle(b)
                             : i + 1 < n    ? tables.Utf8OfPair(b, p[i + 1])
                                            : tables.Utf8OfSingle('?');
    std::memcpy(out, &piece, sizeof piece);
    out += piece.lengths & 3;
    i += piece.lengths >> 2;
  }
  result.resize(static_cast<size_t>(out - result.data()));
}

std::string Cp932FromUtf16(std::u16string_view utf16) {
  const Tables& tables = GetTables();
  std::string result(2 * utf16.size(), '\0');
  char* out = result.data();
  for (size_t i = 0; i < utf16.size(); ++i) {
    char16_t unit = utf16[i];
    if (unit >= 0xD800 && unit <= 0xDFFF) {
      // A surrogate pair names a character beyond the BMP, which the code page lacks: one "?" for it.
      if (unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) ++i;
      *out++ = '?';
      continue;
    }
    out = PutCp932(tables, unit, out);
  }
  result.resize(static_cast<size_t>(out - result.data()));
  return result;
}

namespace {

// The units of UTF-16 text in byte pairs of either order, from bytes[i] up to the next block of
// kBlockUnits units, converted one at a time; returns false at a zero unit (the end of the text).
constexpr size_t kBlockUnits = 8;

template <bool kBigEndian>
bool ConvertUnits(const Tables& tables, const unsigned char* b, size_t length, size_t& at, char*& to) {
  auto unitAt = [&](size_t i) {
    return static_cast<char16_t>(kBigEndian ? b[i] << 8 | b[i + 1] : b[i + 1] << 8 | b[i]);
  };
  // Worked on in locals, which stay in registers, and handed back at the end.
  size_t i = at;
  char* out = to;
  bool more = true;
  for (const size_t end = std::min(length & ~size_t{1}, i + 2 * kBlockUnits); i < end; i += 2) {
    const char16_t unit = unitAt(i);  // read before anything is written over it
    if (unit < 0x80) {
      if (unit == 0) {
        more = false;
        break;
      }
      *out++ = static_cast<char>(unit);
      continue;
    }
    if ((unit & 0xF800) == 0xD800) {
      // A surrogate pair names a character beyond the BMP, which the code page lacks: one "?" for it.
      if (unit <= 0xDBFF && i + 3 < length) {
        const char16_t next = unitAt(i + 2);
        if (next >= 0xDC00 && next <= 0xDFFF) i += 2;
      }
      *out++ = '?';
      continue;
    }
    // As PutCp932, without a branch on the length: both bytes of the code are written, high byte first,
    // and `out` moves by the length. A one-byte code writes one byte beyond it, which is still within
    // the two bytes of the unit just read, and the next character writes over it.
    char16_t mapped = tables.ToCp932(unit);
    if (mapped == kNone) mapped = u'?';
    const bool twoBytes = mapped > 0xFF;
    out[0] = static_cast<char>(twoBytes ? mapped >> 8 : mapped);
    out[1] = static_cast<char>(mapped & 0xFF);
    out += twoBytes ? 2 : 1;
  }
  at = i;
  to = out;
  return more;
}

// Little-endian UTF-16 from bytes[at] in blocks of eight units, as long as a block holds no zero unit and
// no surrogate (those are left to ConvertUnits): a block of ASCII is packed at once, any other takes one
// lookup a unit in the table of written codes, without a branch. Moves `at` and `to` past what it
// converted. The output never overtakes the input: a unit is read before its code is written, and the
// code, of at most two bytes, ends no further on than the unit did.
void ConvertBlocks(const Tables& tables, const unsigned char* b, size_t length, size_t& at, char*& to) {
#if defined(__SSE2__)
  size_t i = at;
  char* out = to;
  const __m128i zero = _mm_setzero_si128(), limit = _mm_set1_epi16(0x80);
  const __m128i surrogateBits = _mm_set1_epi16(static_cast<short>(0xF800));
  const __m128i surrogate = _mm_set1_epi16(static_cast<short>(0xD800));
  for (; i + 2 * kBlockUnits <= length; i += 2 * kBlockUnits) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const __m128i special = _mm_or_si128(_mm_cmpeq_epi16(units, zero),
                                         _mm_cmpeq_epi16(_mm_and_si128(units, surrogateBits), surrogate));
    if (_mm_movemask_epi8(special) != 0) break;
    // A unit of 0x8000 or more is negative as a signed 16-bit number, so one signed range test sees it too.
    const __m128i ascii = _mm_and_si128(_mm_cmpgt_epi16(units, zero), _mm_cmpgt_epi16(limit, units));
    if (_mm_movemask_epi8(ascii) == 0xFFFF) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(units, units));
      out += kBlockUnits;
      continue;
    }
    for (size_t k = i; k < i + 2 * kBlockUnits; k += 2) {
      const uint16_t code = tables.Written(static_cast<char16_t>(b[k + 1] << 8 | b[k]));
      out[0] = static_cast<char>(code & 0xFF);
      out[1] = static_cast<char>(code >> 8);
      out += code > 0xFF ? 2 : 1;
    }
  }
  at = i;
  to = out;
#else
  (void)tables, (void)b, (void)length, (void)at, (void)to;
#endif
}

template <bool kBigEndian>
size_t ConvertUtf16(const unsigned char* b, size_t length, char* out) {
  const Tables& tables = GetTables();
  char* const start = out;
  // Most blocks of little-endian text go whole; the units of a block with a zero unit or a surrogate,
  // and of big-endian text, go one at a time.
  for (size_t i = 0; i + 1 < length;) {
    if (!kBigEndian) ConvertBlocks(tables, b, length, i, out);
    if (!ConvertUnits<kBigEndian>(tables, b, length, i, out)) break;
  }
  return static_cast<size_t>(out - start);
}

}  // namespace

size_t Cp932FromUtf16Bytes(const char* bytes, size_t length, bool bigEndian, char* out) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return bigEndian ? ConvertUtf16<true>(b, length, out) : ConvertUtf16<false>(b, length, out);
}

std::u16string Utf16FromCp932(std::string_view cp932) {
  const Tables& tables = GetTables();
  std::u16string result;
  result.reserve(cp932.size());
  const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
  for (size_t i = 0; i < cp932.size();) {
    char16_t unit = 0;
    i += DecodeCp932(tables, p + i, cp932.size() - i, unit);
    result.push_back(unit);
  }
  return result;
}

namespace {

// Whether every character of the UTF-8 text has a code page 932 code; with `roundTrip`, one that also
// reads back as the same character.
bool Cp932Maps(std::string_view utf8, bool roundTrip) {
  size_t i = AsciiPrefixLength(utf8);
  if (i == utf8.size()) return true;
  const Tables& tables = GetTables();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  while (i < utf8.size()) {
    char32_t code = 0;
    int length = DecodeUtf8(p + i, utf8.size() - i, code);
    if (length == 0 || code > 0xFFFF) return false;
    char16_t mapped = tables.ToCp932(static_cast<char16_t>(code));
    if (mapped == kNone) return false;
    // Some characters are taken one way only (U+00A5 YEN SIGN becomes 0x5C, U+301C WAVE DASH becomes
    // 0x8160, which reads back as U+FF5E): for a round trip the code must read back as the same character.
    char16_t back = mapped < 0x100 ? tables.FromSingle(static_cast<unsigned char>(mapped))
                                   : tables.FromPair(static_cast<unsigned char>(mapped >> 8),
                                                     static_cast<unsigned char>(mapped & 0xFF));
    if (roundTrip && back != code) return false;
    i += static_cast<size_t>(length);
  }
  return true;
}

}  // namespace

bool Cp932CanHold(std::string_view utf8) {
  return Cp932Maps(utf8, true);
}

bool Cp932HasEvery(std::string_view utf8) {
  return Cp932Maps(utf8, false);
}

}  // namespace platform
