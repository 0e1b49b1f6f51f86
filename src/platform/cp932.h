// Code page 932 (the system's text encoding) to and from Unicode, using Microsoft's table as glibc's
// iconv ships it under the name "CP932". The tables are built once, on first use, and shared by all
// threads, so converting a name costs a table lookup per character and never an iconv_open.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// UTF-8 to code page 932. A character the code page cannot hold, and every byte of an invalid UTF-8
// sequence, becomes "?" (the code page's default character). Pure ASCII input is returned unchanged.
std::string Cp932FromUtf8(std::string_view utf8);

// Code page 932 to UTF-8. A byte pair or single byte the table does not define becomes "?".
std::string Utf8FromCp932(std::string_view cp932);
// The same, appended to `out` (no string of its own: for output written line after line).
void AppendUtf8FromCp932(std::string& out, std::string_view cp932);

// UTF-16 (native order code units) to code page 932; unmappable characters and lone surrogates become "?".
std::string Cp932FromUtf16(std::u16string_view utf16);

// UTF-16 code units stored as byte pairs (big- or little-endian), up to `length` bytes or the first zero
// unit, to code page 932 written at `out`, with the same "?" rules; returns the bytes written. `out` may
// be `bytes` itself: a unit of two bytes becomes at most two, so the output never overtakes the input,
// and a file's text converts in its own buffer without a second copy.
size_t Cp932FromUtf16Bytes(const char* bytes, size_t length, bool bigEndian, char* out);

// Code page 932 to UTF-16; undefined bytes become u'?'.
std::u16string Utf16FromCp932(std::string_view cp932);

// The well-formed UTF-8 sequence at offset i of text: its length (1 to 4) with its code point in `code`, or
// 0 when the bytes there start none (a bad lead or continuation byte, an overlong form, a surrogate, a code
// point above U+10FFFF, a sequence cut by the end).
int Utf8SequenceAt(std::string_view text, size_t i, char32_t& code);
// Appends the UTF-8 form of a code point (at most U+10FFFF, no surrogate) to out.
void AppendUtf8(char32_t code, std::string& out);

// True when every byte is below 0x80 (such text is the same in UTF-8 and code page 932).
bool IsAscii(std::string_view text);

// True when the UTF-8 text converts to code page 932 and back to the same bytes, i.e. the
// code-page-932 form can stand for it without loss.
bool Cp932CanHold(std::string_view utf8);

// True when code page 932 has a code for every character of the UTF-8 text, i.e. its conversion puts no
// "?" in place of one. Weaker than Cp932CanHold: a code may read back as another form of the character
// (〜 U+301C becomes 0x8160, which reads back as ～ U+FF5E).
bool Cp932HasEvery(std::string_view utf8);

}  // namespace platform
