// File text to Shift-JIS: EUC-JP and JIS by the JIS X 0208 arithmetic, UTF-8 and UTF-16 through the
// platform's code page 932 table.
#include "matching/code_convert.h"

#include <cstring>

#include "platform/cp932.h"

namespace matching {
namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kSo = 0x0E;
constexpr unsigned char kSi = 0x0F;
constexpr unsigned char kSs2 = 0x8E;

// The text up to its first NUL.
std::string_view UpToNul(std::string_view text) {
  const void* nul = std::memchr(text.data(), 0, text.size());
  return nul ? text.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - text.data())) : text;
}

// A JIS X 0208 row/cell byte pair to its Shift-JIS bytes. Every step is taken modulo 256, so any two
// bytes give two bytes.
inline void JisPairToSjis(unsigned char& c1, unsigned char& c2) {
  if (c1 & 1) {
    c1 = static_cast<unsigned char>((c1 >> 1) + 0x71);
    c2 = static_cast<unsigned char>(c2 + 0x1F);
    if (c2 >= 0x7F) ++c2;  // the Shift-JIS trail range skips 0x7F
  } else {
    c1 = static_cast<unsigned char>((c1 >> 1) + 0x70);
    c2 = static_cast<unsigned char>(c2 + 0x7E);
  }
  if (c1 > 0x9F) c1 = static_cast<unsigned char>(c1 + 0x40);  // lead bytes skip 0xA0-0xDF
}

// True when in[i] is the last byte of the text (the input ends after it, or a NUL follows).
inline bool LastByte(const unsigned char* in, size_t length, size_t i) {
  return i + 1 >= length || in[i + 1] == 0;
}

// Converts EUC-JP at `in` into `out`. `out` may be `in` itself: no step writes more bytes than it has
// read, and each step reads its bytes before writing. Returns the number of bytes written.
size_t EucToSjisBytes(const unsigned char* in, size_t length, unsigned char* out) {
  size_t i = 0;
  size_t o = 0;
  while (i < length && in[i] != 0) {
    unsigned char c = in[i];
    if (c < 0x80) {
      out[o++] = c;
      ++i;
      continue;
    }
    if (c == kSs2) {
      if (LastByte(in, length, i)) break;  // SS2 at the end: the text ends
      c = in[++i];
      if (c >= 0xA1 && c <= 0xDF) {
        out[o++] = c;
        ++i;
        continue;
      }
      // Not half-width katakana: the SS2 is dropped and this byte starts a pair.
    }
    if (LastByte(in, length, i)) {
      out[o++] = c;
      break;
    }
    unsigned char c1 = static_cast<unsigned char>(c - 0x80);
    unsigned char c2 = static_cast<unsigned char>(in[i + 1] - 0x80);
    JisPairToSjis(c1, c2);
    out[o++] = c1;
    out[o++] = c2;
    i += 2;
  }
  return o;
}

enum class JisMode { Ascii, Kana, Kanji };

// The mode an escape sequence at in[i] selects, when it is one of the known ones (3 bytes).
inline bool JisEscape(const unsigned char* in, size_t length, size_t i, JisMode& mode) {
  if (i + 2 >= length) return false;
  unsigned char a = in[i + 1];
  unsigned char b = in[i + 2];
  if (a == '$' && (b == 'B' || b == '@')) {
    mode = JisMode::Kanji;
  } else if (a == '(' && (b == 'B' || b == 'J')) {
    mode = JisMode::Ascii;
  } else if (a == '(' && b == 'I') {
    mode = JisMode::Kana;
  } else {
    return false;
  }
  return true;
}

// Converts JIS at `in` into `out`; like EucToSjisBytes, `out` may be `in`.
size_t JisToSjisBytes(const unsigned char* in, size_t length, unsigned char* out) {
  JisMode mode = JisMode::Ascii;
  size_t i = 0;
  size_t o = 0;
  while (i < length && in[i] != 0) {
    unsigned char c = in[i];
    if (c == kEsc && JisEscape(in, length, i, mode)) {
      i += 3;
    } else if (c == kSi || c == kSo) {
      mode = JisMode::Ascii;
      ++i;
    } else if (mode == JisMode::Ascii) {
      out[o++] = c;
      ++i;
    } else if (mode == JisMode::Kana) {
      out[o++] = static_cast<unsigned char>(c + 0x80);
      ++i;
    } else if (LastByte(in, length, i)) {
      out[o++] = c;
      break;
    } else {
      unsigned char c1 = c;
      unsigned char c2 = in[i + 1];
      JisPairToSjis(c1, c2);
      out[o++] = c1;
      out[o++] = c2;
      i += 2;
    }
  }
  return o;
}

using ByteConverter = size_t (*)(const unsigned char*, size_t, unsigned char*);

// Appends the conversion of `in` to `out`; the result is never longer than the input.
void AppendShrinking(ByteConverter convert, std::string_view in, std::string& out) {
  size_t old = out.size();
  out.resize(old + in.size());
  auto* dest = reinterpret_cast<unsigned char*>(out.data() + old);
  size_t written = convert(reinterpret_cast<const unsigned char*>(in.data()), in.size(), dest);
  out.resize(old + written);
}

}  // namespace

void CCodeConvert::EucToSjis(std::string_view euc, std::string& out) {
  AppendShrinking(EucToSjisBytes, euc, out);
}

std::string CCodeConvert::EucToSjis(std::string_view euc) {
  std::string out;
  EucToSjis(euc, out);
  return out;
}

size_t CCodeConvert::EucToSjisInPlace(char* text, size_t length) {
  auto* bytes = reinterpret_cast<unsigned char*>(text);
  return EucToSjisBytes(bytes, length, bytes);
}

void CCodeConvert::JisToSjis(std::string_view jis, std::string& out) {
  AppendShrinking(JisToSjisBytes, jis, out);
}

std::string CCodeConvert::JisToSjis(std::string_view jis) {
  std::string out;
  JisToSjis(jis, out);
  return out;
}

size_t CCodeConvert::JisToSjisInPlace(char* text, size_t length) {
  auto* bytes = reinterpret_cast<unsigned char*>(text);
  return JisToSjisBytes(bytes, length, bytes);
}

void CCodeConvert::Utf8ToSjis(std::string_view utf8, std::string& out) {
  utf8 = UpToNul(utf8);
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  if (platform::IsAscii(utf8)) {
    out.append(utf8);
  } else {
    out += platform::Cp932FromUtf8(utf8);
  }
}

std::string CCodeConvert::Utf8ToSjis(std::string_view utf8) {
  std::string out;
  Utf8ToSjis(utf8, out);
  return out;
}

std::u16string CCodeConvert::Utf16Units(const char* bytes, size_t length, bool bigEndian) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  size_t i = 0;
  if (length >= 2 && (bigEndian ? b[0] == 0xFE && b[1] == 0xFF : b[0] == 0xFF && b[1] == 0xFE)) i = 2;
  std::u16string units((length - i) / 2, u'\0');
  size_t n = 0;
  for (; i + 1 < length; i += 2) {
    auto unit = static_cast<char16_t>(bigEndian ? b[i] << 8 | b[i + 1] : b[i + 1] << 8 | b[i]);
    if (unit == 0) break;
    units[n++] = unit;
  }
  units.resize(n);
  return units;
}

std::string CCodeConvert::Utf16ToSjis(const char* bytes, size_t length, bool bigEndian) {
  std::string text(bytes, length);
  text.resize(Utf16ToSjisInPlace(text.data(), text.size(), bigEndian));
  return text;
}

size_t CCodeConvert::Utf16ToSjisInPlace(char* bytes, size_t length, bool bigEndian) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  size_t skip = 0;
  if (length >= 2 && (bigEndian ? b[0] == 0xFE && b[1] == 0xFF : b[0] == 0xFF && b[1] == 0xFE)) skip = 2;
  return platform::Cp932FromUtf16Bytes(bytes + skip, length - skip, bigEndian, bytes);
}

std::string CCodeConvert::Utf16ToUtf8(const char* bytes, size_t length, bool bigEndian) {
  const std::u16string units = Utf16Units(bytes, length, bigEndian);
  std::string out;
  out.reserve(units.size() * 3);
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t code = units[i];
    if (code >= 0xD800 && code <= 0xDFFF) {
      const bool pair =
          code <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
      code = pair ? 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00) : 0xFFFD;
    }
    platform::AppendUtf8(code, out);
  }
  return out;
}

void CCodeConvert::ToSjis(int fileCode, std::string_view text, std::string& out) {
  switch (fileCode) {
    case 1:
      EucToSjis(text, out);
      break;
    case 2:
      JisToSjis(text, out);
      break;
    case 4:
      Utf8ToSjis(text, out);
      break;
    case 5:
    case 6:
      out += Utf16ToSjis(text, fileCode == 6);
      break;
    default:
      out.append(UpToNul(text));
      break;
  }
}

std::string CCodeConvert::ToSjis(int fileCode, const char* text, size_t length) {
  std::string out;
  ToSjis(fileCode, std::string_view(text, length), out);
  return out;
}

}  // namespace matching
