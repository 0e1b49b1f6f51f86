#include "matching/mbcs.h"

#include <cstdint>
#include <cstring>

namespace matching {
namespace {

// Where a text ends: the NUL-terminated forms end at the NUL only, the view forms also at the view's end.
// Has(p) is true when p is inside the text; it reads *p only when p is known to be readable.
struct NulEnd {
  bool Has(const char* p) const { return *p != '\0'; }
};
struct ViewEnd {
  const char* end;
  bool Has(const char* p) const { return p != end && *p != '\0'; }
};

template <class End>
size_t CharLenIn(const char* p, End e) {
  if (!e.Has(p)) return 0;
  // Has(p + 1) reads p[1], which exists: p is inside the text, so at worst p[1] is its NUL.
  if (IsLeadByte(static_cast<unsigned char>(p[0])) && e.Has(p + 1) &&
      IsTrailByteValue(static_cast<unsigned char>(p[1])))
    return 2;
  return 1;
}

// The comparison value of the character of `len` bytes at p, after case folding; 0 for the end.
uint32_t FoldedValue(const char* p, size_t len) {
  if (len == 0) return 0;
  auto b0 = static_cast<unsigned char>(p[0]);
  if (len == 1) return (b0 >= 'A' && b0 <= 'Z') ? b0 + 0x20u : b0;
  uint32_t v = (uint32_t{b0} << 8) | static_cast<unsigned char>(p[1]);
  return (v >= 0x8260 && v <= 0x8279) ? v + 0x21 : v;
}

template <class EndA, class EndB>
int CompareFolded(const char* a, EndA ea, const char* b, EndB eb, size_t chars) {
  for (; chars > 0; --chars) {
    size_t la = CharLenIn(a, ea);
    size_t lb = CharLenIn(b, eb);
    uint32_t va = FoldedValue(a, la);
    uint32_t vb = FoldedValue(b, lb);
    if (va != vb) return va < vb ? -1 : 1;
    if (la == 0) return 0;
    a += la;
    b += lb;
  }
  return 0;
}

template <class End>
size_t CountChars(const char* s, End e) {
  size_t n = 0;
  for (size_t len; (len = CharLenIn(s, e)) != 0; s += len) ++n;
  return n;
}

// Offset of the first (or last, when `last`) one-byte character c at a boundary; npos when absent.
template <class End>
size_t FindOneByte(const char* s, End e, char c, bool last) {
  size_t found = std::string_view::npos;
  const char* p = s;
  for (size_t len; (len = CharLenIn(p, e)) != 0; p += len) {
    if (len == 1 && *p == c) {
      found = static_cast<size_t>(p - s);
      if (!last) return found;
    }
  }
  return found;
}

ViewEnd EndOf(std::string_view s) {
  return ViewEnd{s.data() + s.size()};
}

// Lowers s character by character; full-width capitals too when `fullWidth`.
void Lower(std::string& s, bool fullWidth) {
  ViewEnd e = EndOf(s);
  for (size_t i = 0; i < s.size();) {
    size_t len = CharLenIn(s.data() + i, e);
    if (len == 0) {  // a NUL inside the string: keep it and go on with the rest
      ++i;
      continue;
    }
    auto b0 = static_cast<unsigned char>(s[i]);
    if (len == 1 && b0 >= 'A' && b0 <= 'Z') {
      s[i] = static_cast<char>(b0 + 0x20);
    } else if (len == 2 && fullWidth && b0 == 0x82) {
      auto b1 = static_cast<unsigned char>(s[i + 1]);
      if (b1 >= 0x60 && b1 <= 0x79) s[i + 1] = static_cast<char>(b1 + 0x21);
    }
    i += len;
  }
}

}  // namespace

size_t CharLen(const char* p) {
  return CharLenIn(p, NulEnd{});
}

size_t CharLen(std::string_view s, size_t i) {
  if (i >= s.size()) return 0;
  return CharLenIn(s.data() + i, EndOf(s));
}

bool IsTrailAt(const char* start, const char* pos) {
  if (pos <= start) return false;
  // A byte that cannot be a trail byte is never read as one: it starts a character, and so does the byte
  // after it. The characters are read from the last such byte before pos, not from the start (a line of
  // Japanese text has one every few characters); a NUL before pos still ends the text there.
  const char* from = pos;
  while (from > start && IsTrailByteValue(static_cast<unsigned char>(from[-1]))) --from;
  if (from > start && std::memchr(start, '\0', static_cast<size_t>(from - start)) != nullptr) return false;
  for (const char* p = from; p < pos;) {
    size_t len = CharLenIn(p, NulEnd{});
    if (len == 0) return false;  // pos lies beyond the text's NUL
    if (len == 2 && p + 1 == pos) return true;
    p += len;
  }
  return false;
}

bool IsTrailAt(std::string_view text, size_t offset) {
  if (offset == 0 || offset >= text.size()) return false;
  ViewEnd e = EndOf(text);
  for (size_t i = 0; i < offset;) {
    size_t len = CharLenIn(text.data() + i, e);
    if (len == 0) return false;
    if (len == 2 && i + 1 == offset) return true;
    i += len;
  }
  return false;
}

size_t BoundaryAtOrBefore(std::string_view text, size_t limit) {
  if (limit >= text.size()) return text.size();
  ViewEnd e = EndOf(text);
  size_t i = 0;
  while (i < limit) {
    // A NUL inside the view counts as a one-byte character here, so every byte offset stays reachable.
    size_t len = CharLenIn(text.data() + i, e);
    if (len == 0) len = 1;
    if (i + len > limit) break;
    i += len;
  }
  return i;
}

size_t MbsLen(const char* s) {
  return CountChars(s, NulEnd{});
}
size_t MbsLen(std::string_view s) {
  return CountChars(s.data(), EndOf(s));
}

int MbsNICmp(const char* a, const char* b, size_t chars) {
  return CompareFolded(a, NulEnd{}, b, NulEnd{}, chars);
}

int MbsNICmp(std::string_view a, std::string_view b, size_t chars) {
  return CompareFolded(a.data(), EndOf(a), b.data(), EndOf(b), chars);
}

int MbsICmp(const char* a, const char* b) {
  return MbsNICmp(a, b, SIZE_MAX);
}
int MbsICmp(std::string_view a, std::string_view b) {
  return MbsNICmp(a, b, SIZE_MAX);
}

const char* MbsChr(const char* s, char c) {
  if (c == '\0') return s + std::strlen(s);
  size_t at = FindOneByte(s, NulEnd{}, c, false);
  return at == std::string_view::npos ? nullptr : s + at;
}

const char* MbsRChr(const char* s, char c) {
  if (c == '\0') return s + std::strlen(s);
  size_t at = FindOneByte(s, NulEnd{}, c, true);
  return at == std::string_view::npos ? nullptr : s + at;
}

size_t MbsFindChar(std::string_view s, char c) {
  return FindOneByte(s.data(), EndOf(s), c, false);
}
size_t MbsRFindChar(std::string_view s, char c) {
  return FindOneByte(s.data(), EndOf(s), c, true);
}

void MbsLowerAscii(std::string& s) {
  Lower(s, false);
}
void MbsLower(std::string& s) {
  Lower(s, true);
}

}  // namespace matching
