// Reading one file's text for the text scan: the whole file (up to the largest size scanned) into a
// reusable buffer, the text ending at its first zero byte, and the character code decided.
#pragma once

#include <cstddef>
#include <string>

namespace platform {
class Event;
class FileBuffer;
}  // namespace platform

// What was read of one file. `length` 0: nothing to scan (not a regular file, empty, unreadable, no
// memory for it, or the search was stopped while it was read).
struct FileText {
  size_t length = 0;      // bytes in the buffer, followed by two zero bytes
  size_t textLength = 0;  // bytes before the first zero byte
  int code = 0;           // the file code it is read in (the setting, or the detected code when automatic)
};

// Reads the open file into `buffer` and decides its code from `charCode` (3: detect; a first part with zero
// bytes is tested for UTF-16 without a byte-order mark). The text ends at its first zero byte, so a file with
// one near its start (a binary file: an image, a library, a disk image of gigabytes) is read only up to its
// first part; the rest is read only for UTF-16, whose text holds zero bytes. A large file is read a piece at
// a time, with a look at `stop` between pieces.
FileText ReadFileText(int fd, platform::FileBuffer& buffer, int charCode, const platform::Event& stop);

// The size a regular, non-empty file would be read with (capped at the largest size scanned), or 0.
size_t ScannedLength(int fd);

// The text of a file in code `code` converted to Shift-JIS into `out`, as CCodeConvert::ToSjis converts it,
// with a look at `stop` between pieces of about a megabyte of EUC-JP or UTF-8 text; false when `stop` ended
// it. JIS, whose mode carries from line to line, and UTF-16 are converted whole.
bool ToSjisUnlessStopped(int code, const char* text, size_t length, std::string& out,
                         const platform::Event& stop);
