// The text the viewer shows for a text hit: the file re-read whole, cut to the display range (the whole
// file, the lines around the hit, or the part between two "<HR>" tags), converted to code page 932 with
// every line ending in CR LF, and, for the "<HR>" range, HTML entities decoded. Plain functions: the pane
// only puts the result on the screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The part of a text that is shown, in units of that text (bytes, or 16-bit units of UTF-16 text), and
// the line of the hit within it (from 1).
struct ViewerCut {
  size_t begin = 0;
  size_t end = 0;
  int hitLine = 1;
};

// Lines from max(1, line - before) through line + after, each with its line end (CR LF, lone CR or lone
// LF). Lines count from 1; a text with fewer lines gives what there is.
ViewerCut CutLines(std::string_view text, int line, int before, int after);
ViewerCut CutLines(std::u16string_view text, int line, int before, int after);

// The "<HR>" range holding line `line`: it starts after the last "<HR>" or "<HR ...>" tag (letter case
// ignored) on the lines before the hit line (past the line end when the tag ends its line) and ends just
// before the first such tag from the start of the hit line on, else at the end of the text.
ViewerCut CutHrRange(std::string_view text, int line);
ViewerCut CutHrRange(std::u16string_view text, int line);

// Gives every line end the form CR LF: a lone LF gets a CR before it, a lone CR a LF after it.
std::string WithCrLf(std::string_view text);

// Decodes "&lt;", "&gt;", "&quot;", "&nbsp;" (to a blank) and "&amp;" (letter case significant), each "&"
// once from the start; the character it becomes is not read again, so "&amp;lt;" gives "&lt;".
std::string DecodeEntities(std::string_view text);

// One state of a file as the system sees it: a file whose stamp differs from the one it had when it was
// read has changed (or is another file) since.
struct FileStamp {
  uint64_t device = 0, inode = 0, size = 0;
  int64_t modified = 0, changed = 0;  // nanoseconds of the last write and of the last change of its entry
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at the native path; all zero when it cannot be looked at.
FileStamp StampOf(const std::string& nativePath);

// What the viewer shows of one file.
struct ViewerText {
  bool loaded = false;  // false: the file could not be read (or the range is not 0, 1 or 2); show nothing
  std::string text;     // code page 932, every line ending in CR LF
  int topLine = 1;      // the line of the shown text to scroll to the top
};

// Everything a load needs to know about the hit and the settings.
struct ViewerRequest {
  int charCode =
      0;           // the file code the hit was read in: 1 EUC-JP, 2 JIS, 4 UTF-8, 5/6 UTF-16 LE/BE, else SJIS
  int range = 1;   // 0 whole file, 1 lines around the hit, 2 the "<HR>" range
  int line = 1;    // the hit's line, from 1
  int before = 0;  // ViewerMae
  int after = 5;   // ViewerAto
  // When `partAfter` > 0: only the lines around the hit within the range, `partBefore` lines before it
  // and `partAfter` from it on (a first part of a large text, shown while the whole is prepared; the
  // whole text's lines exactly, as long as a JIS line starts in ASCII).
  int partBefore = 0;
  int partAfter = 0;
};

// The shown text of the file's bytes (read whole). The text of every code but UTF-16 ends at its first
// zero byte, as the text scan reads it.
ViewerText MakeViewerText(std::string_view bytes, const ViewerRequest& request);

// A file's bytes as read for the viewer.
struct ViewerFile {
  std::unique_ptr<char[]> data;  // null when the file could not be opened or read
  size_t size = 0;
  FileStamp stamp;
  std::string_view Bytes() const { return {data.get(), size}; }
};

// Reads the file at the native path whole (a regular file of at most 2^31 - 17 bytes).
ViewerFile ReadViewerFile(const std::string& nativePath);
