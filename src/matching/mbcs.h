// Code page 932 (Shift-JIS) character rules shared by the whole system: lead and trail bytes, character
// boundaries, case-insensitive comparison and double-byte-aware character search. They depend on no locale.
//
// A character is one byte, or a lead byte (0x81-0x9F, 0xE0-0xFC) followed by a byte of the trail range
// (0x40-0x7E, 0x80-0xFC). A lead byte followed by anything else (a NUL, a control character, a blank) stands
// alone as a one-byte character and the next byte starts a new character: broken text thus resynchronises at
// once, and a NUL is never taken into a character. Every function here splits text by this one rule.
//
// Case folding (the comparisons and MbsLower): ASCII letters, and the full-width Latin capitals
// Ａ-Ｚ (0x8260-0x8279) with their small letters ａ-ｚ (0x8281-0x829A). Every other character compares
// exactly, as a unit: one-byte characters by their byte value, double-byte characters as lead * 256 + trail,
// so every one-byte character sorts before every double-byte character.
//
// The NUL-terminated forms stop at the NUL. The string_view forms stop at the view's end or at a NUL inside
// it, whichever comes first, so both forms see the same text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace matching {

// True for a byte that begins a double-byte character when a trail byte follows.
constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// True for a byte value that can be the second byte of a double-byte character.
constexpr bool IsTrailByteValue(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Byte length of the character at p: 0 at the NUL, else 1 or 2. Never reads past a NUL.
size_t CharLen(const char* p);
// Byte length of the character at offset i of s: 0 at or past the end (or at a NUL), else 1 or 2.
size_t CharLen(std::string_view s, size_t i);

// True when pos is the second byte of a double-byte character, scanning characters from start. False when
// pos is not after start or lies beyond the NUL that ends start's text (nothing past the NUL is read).
bool IsTrailAt(const char* start, const char* pos);
// True when offset is the second byte of a double-byte character of text.
bool IsTrailAt(std::string_view text, size_t offset);

// The largest character boundary of text that is not beyond limit (limit itself when it is one; the
// text's length when limit exceeds it). Used to cut text to a byte budget without splitting a character.
size_t BoundaryAtOrBefore(std::string_view text, size_t limit);

// Number of characters (not bytes) in the text.
size_t MbsLen(const char* s);
size_t MbsLen(std::string_view s);

// Compares at most `chars` characters of a and b with case folding. Returns <0, 0 or >0; 0 when the first
// `chars` characters are equal, or when both texts end equal before that.
int MbsNICmp(const char* a, const char* b, size_t chars);
int MbsNICmp(std::string_view a, std::string_view b, size_t chars);

// Compares whole texts with case folding: the system's text order (sorting, highlighting). The sign is a
// strict weak order: texts compare as sequences of folded character values, a shorter prefix first.
int MbsICmp(const char* a, const char* b);
int MbsICmp(std::string_view a, std::string_view b);

// First / last occurrence of the one-byte character c at a character boundary (a trail byte equal to c does
// not count), or nullptr. For c == '\0' the text's terminating NUL is returned.
const char* MbsChr(const char* s, char c);
const char* MbsRChr(const char* s, char c);
// The same on a view: the offset of the first / last occurrence, or std::string_view::npos (always for '\0').
size_t MbsFindChar(std::string_view s, char c);
size_t MbsRFindChar(std::string_view s, char c);

// Lowers the ASCII letters only; double-byte characters (whose trail byte may look like a letter) are kept.
void MbsLowerAscii(std::string& s);
// Lowers with the code page's case mapping: ASCII letters and the full-width Latin capitals, the same folding
// the comparisons use. This is the lowering for extension lists and the extension test, so "ＴＸＴ" and
// "ｔｘｔ" stand for one extension just as they match one another in a name search.
void MbsLower(std::string& s);

}  // namespace matching
