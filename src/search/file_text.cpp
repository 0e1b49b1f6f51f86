#include "search/file_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include "matching/code_convert.h"
#include "platform/event.h"
#include "platform/file_buffer.h"
#include "search/search.h"
#include "search/search_conditions.h"

using matching::CCodeConvert;

namespace {

// Bytes read by one call: small enough that a stop is seen within a millisecond from the disk cache and
// within tens of milliseconds from a slow disk, large enough that the calls cost nothing next to the copying.
constexpr size_t kReadPiece = size_t{2} << 20;

// Reads bytes [got, length) of an open file into `text` a piece at a time, adding to `got` what was read (a
// file may shrink while it is read). While no zero byte has been met (`textLength` equals `got`), the text
// length grows with each piece up to its first zero byte, measured while the piece is still in the cache.
// False when `stop` was set between two pieces.
bool ReadPieces(int fd, char* text, size_t length, size_t& got, size_t& textLength,
                const platform::Event& stop) {
  const size_t start = got;
  while (got < length) {
    if (got > start && stop.IsSet()) return false;
    ssize_t n = read(fd, text + got, std::min(length - got, kReadPiece));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (textLength == got) textLength += strnlen(text + got, static_cast<size_t>(n));
    got += static_cast<size_t>(n);
  }
  return true;
}

// The file code of a file read in automatic mode. `text` holds `got` bytes of the file's first part, the
// first zero byte at `textLength` (or none when it equals `got`). Zero bytes would end 8-bit text, but they
// are part of UTF-32 (whose mark holds zeros) and of UTF-16 text with or without a mark: those are looked
// for in the bytes as they are.
// Detection reads a text without any high byte through to its end: a large one asks `stopped` on the way.
int DetectedFileCode(const char* text, size_t textLength, size_t got, const std::function<bool()>& stopped) {
  if (textLength < got) {
    if (auto mark = CCodeConvert::ByteOrderMark(text, got)) return CCodeConvert::FileCodeOf(*mark);
    if (auto utf16 = CCodeConvert::DetectUtf16WithoutMark(text, got)) return CCodeConvert::FileCodeOf(*utf16);
  }
  return CCodeConvert::FileCodeOf(CCodeConvert::DetectCharCode(text, textLength, stopped));
}

}  // namespace

size_t ScannedLength(int fd) {
  struct stat st;
  // Only regular files are read: a fifo or a device could block the scan or never end.
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) return 0;
  return static_cast<uint64_t>(st.st_size) > kLargestScannedFile ? kLargestScannedFile
                                                                 : static_cast<size_t>(st.st_size);
}

FileText ReadFileText(int fd, platform::FileBuffer& buffer, int charCode, const platform::Event& stop) {
  constexpr size_t kFirstPart = 64 * 1024;
  FileText file;
  const size_t length = ScannedLength(fd);
  if (length == 0 || !buffer.Reserve(length + 2)) return file;  // no memory abandons this file only
  char* text = buffer.Data();
  const size_t first = std::min(length, kFirstPart);
  size_t got = 0;
  if (!ReadPieces(fd, text, first, got, file.textLength, stop)) return FileText();
  const bool rest = got == first && got < length;
  if (rest && file.textLength == got && !ReadPieces(fd, text, length, got, file.textLength, stop)) {
    return FileText();
  }
  file.code = charCode;
  if (got > 0 && charCode == kCodeAuto) {
    file.code = DetectedFileCode(text, file.textLength, got, [&stop] { return stop.IsSet(); });
    if (stop.IsSet()) return FileText();
  }
  // UTF-16 text is full of zero bytes: its length is the file's.
  if (rest && file.textLength < first && (file.code == kCodeUtf16Le || file.code == kCodeUtf16Be)) {
    size_t ignored = 0;
    if (!ReadPieces(fd, text, length, got, ignored, stop)) return FileText();
  }
  text[got] = text[got + 1] = '\0';
  file.length = got;
  return file;
}

namespace {

constexpr size_t kConvertPiece = size_t{1} << 20;

// Where a piece of EUC-JP or UTF-8 text from `from` may end: behind the first LF at least a piece on, where
// both codes start afresh as they do in the whole text. An LF that a dropped SS2 makes the first byte of a
// pair is passed over, and so is a split that would put a byte-order mark at a piece's start (the
// conversion drops a mark there, while the whole text only drops the one at its very start).
const char* PieceEnd(int code, const char* from, const char* end) {
  if (static_cast<size_t>(end - from) <= kConvertPiece) return end;
  for (const char* to = from + kConvertPiece;;) {
    const auto* lf = static_cast<const char*>(memchr(to, '\n', static_cast<size_t>(end - to)));
    if (lf == nullptr || lf + 1 == end) return end;
    to = lf + 1;
    const bool afterSs2 = code == kCodeEuc && static_cast<unsigned char>(lf[-1]) == 0x8E;
    const bool markNext = code == kCodeUtf8 && end - to >= 3 && memcmp(to, "\xEF\xBB\xBF", 3) == 0;
    if (!afterSs2 && !markNext) return to;
  }
}

}  // namespace

bool ToSjisUnlessStopped(int code, const char* text, size_t length, std::string& out,
                         const platform::Event& stop) {
  out.clear();
  if (code != kCodeEuc && code != kCodeUtf8) {
    CCodeConvert::ToSjis(code, std::string_view(text, length), out);
    return true;
  }
  out.reserve(length);  // neither code grows in Shift-JIS
  const char* end = text + length;
  for (const char* from = text; from < end;) {
    if (from > text && stop.IsSet()) return false;
    const char* to = PieceEnd(code, from, end);
    CCodeConvert::ToSjis(code, std::string_view(from, static_cast<size_t>(to - from)), out);
    from = to;
  }
  return true;
}
