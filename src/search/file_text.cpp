#include "search/file_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "matching/code_convert.h"
#include "platform/file_buffer.h"
#include "search/search.h"
#include "search/search_conditions.h"

using matching::CCodeConvert;

namespace {

// Reads up to `length` bytes of an open file; returns the number actually read (a file may shrink while
// it is read).
size_t ReadAll(int fd, char* buffer, size_t length) {
  size_t done = 0;
  while (done < length) {
    ssize_t n = read(fd, buffer + done, length - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

// The file code of a file read in automatic mode. `text` holds `got` bytes of the file's first part, the
// first zero byte at `textLength` (or none when it equals `got`). Zero bytes would end 8-bit text, but they
// are part of UTF-32 (whose mark holds zeros) and of UTF-16 text with or without a mark: those are looked
// for in the bytes as they are.
int DetectedFileCode(const char* text, size_t textLength, size_t got) {
  if (textLength < got) {
    if (auto mark = CCodeConvert::ByteOrderMark(text, got)) return CCodeConvert::FileCodeOf(*mark);
    if (auto utf16 = CCodeConvert::DetectUtf16WithoutMark(text, got)) return CCodeConvert::FileCodeOf(*utf16);
  }
  return CCodeConvert::FileCodeOf(CCodeConvert::DetectCharCode(text, textLength));
}

}  // namespace

size_t ScannedLength(int fd) {
  struct stat st;
  // Only regular files are read: a fifo or a device could block the scan or never end.
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) return 0;
  return static_cast<uint64_t>(st.st_size) > kLargestScannedFile ? kLargestScannedFile
                                                                 : static_cast<size_t>(st.st_size);
}

FileText ReadFileText(int fd, platform::FileBuffer& buffer, int charCode) {
  constexpr size_t kFirstPart = 64 * 1024;
  FileText file;
  const size_t length = ScannedLength(fd);
  if (length == 0 || !buffer.Reserve(length + 2)) return file;  // no memory abandons this file only
  char* text = buffer.Data();
  const size_t first = std::min(length, kFirstPart);
  size_t got = ReadAll(fd, text, first);
  file.textLength = strnlen(text, got);
  const bool rest = got == first && got < length;
  if (rest && file.textLength == got) {
    got += ReadAll(fd, text + got, length - got);
    file.textLength += strnlen(text + file.textLength, got - file.textLength);
  }
  file.code = charCode;
  if (got > 0 && charCode == kCodeAuto) {
    file.code = DetectedFileCode(text, file.textLength, got);
  }
  if (rest && file.textLength < first && (file.code == kCodeUtf16Le || file.code == kCodeUtf16Be)) {
    got += ReadAll(fd, text + got, length - got);
  }
  text[got] = text[got + 1] = '\0';
  file.length = got;
  return file;
}
