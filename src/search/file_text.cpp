#include "search/file_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

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

// Reads up to `length` bytes of an open file; returns the number actually read (a file may shrink while
// it is read), or SIZE_MAX when `stop` was set between two pieces.
size_t ReadAll(int fd, char* buffer, size_t length, const platform::Event& stop) {
  size_t done = 0;
  while (done < length) {
    if (done > 0 && stop.IsSet()) return SIZE_MAX;
    ssize_t n = read(fd, buffer + done, std::min(length - done, kReadPiece));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
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
  size_t got = ReadAll(fd, text, first, stop);
  if (got == SIZE_MAX) return file;
  file.textLength = strnlen(text, got);
  const bool rest = got == first && got < length;
  auto readRest = [&] {
    const size_t more = ReadAll(fd, text + got, length - got, stop);
    if (more == SIZE_MAX) return false;
    got += more;
    return true;
  };
  if (rest && file.textLength == got) {
    if (!readRest()) return FileText();
    file.textLength += strnlen(text + file.textLength, got - file.textLength);
  }
  file.code = charCode;
  if (got > 0 && charCode == kCodeAuto) {
    file.code = CCodeConvert::FileCodeOf(CCodeConvert::DetectCharCode(text, file.textLength));
  }
  if (rest && file.textLength < first && (file.code == kCodeUtf16Le || file.code == kCodeUtf16Be)) {
    if (!readRest()) return FileText();
  }
  text[got] = text[got + 1] = '\0';
  file.length = got;
  return file;
}
