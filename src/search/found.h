// The hit records. A search thread creates each one on the heap and hands it to the front end with a
// notification; from then on the front end (its result list) owns it. Texts are code page 932; the native
// path is the one that opens the entry, also when code page 932 cannot spell its name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {
struct EntryStatus;
}

// One file or folder hit.
struct FOUND_F {
  int kind = 2;                 // 2 file, 4 folder
  std::string name;             // the entry's name
  std::string folder;           // the folder holding it, without a trailing "/" ("/" for the root)
  std::string displayPath;      // filled by the front end (relative form), else empty
  uint64_t size = 0;            // file: its length; folder: accumulated size with folder detail, else 0
  std::string sizeText;         // "%lluKB", "<%lluKB>" for a folder with detail, empty for one without
  int64_t written = 0;          // last-write time
  std::string dateText;         // short date and time of `written`
  std::string typeName;         // "TXT ファイル", "ファイル フォルダー" ...
  std::string attributesText;   // "R", "H", "S", "A" in this order
  int fileCount = 0;            // folder with detail: files found inside
  std::string fileCountText;    // "%d" with detail, else empty
  int folderCount = 0;          // folder with detail: subfolders found inside
  std::string folderCountText;  // "%d" with detail, else empty
  std::string nativePath;       // full native path
};

// One text hit: one line of one file.
// The file of one or more text hits. All hits of one file share it, so a file with thousands of matching
// lines holds its path once and a hit costs only its line.
struct HitFile {
  std::string fileName;    // part of the full path after its last "/"
  std::string folder;      // part before it, without the "/" (empty when there is none)
  std::string nativePath;  // full native path of the file
};

struct FOUND_M {
  int kind = 1;
  std::shared_ptr<const HitFile> file;  // never null in a posted hit
  std::string displayPath;              // filled by the front end, else empty
  int lineNumber = 0;                   // from 1
  std::string lineNumberText;           // "%d"
  std::string lineText;                 // the line without its break, tabs replaced by blanks
  int charCode = 0;                     // FileCode in which the file was read
  std::string utf8Line;  // the line as a UTF-8 file holds it (tabs as blanks), when the front end asks
                         // for it (see NotifyTarget::WantsUtf8Lines); else empty

  const std::string& FileName() const { return file->fileName; }
  const std::string& Folder() const { return file->folder; }
  const std::string& NativePath() const { return file->nativePath; }
};

// "%lluKB" of the size in kilobytes rounded up; with `bracket` "<%lluKB>" (a folder with folder detail).
std::string SizeText(uint64_t size, bool bracket);

// "R", "H", "S", "A" for the attribute bits present, in this order.
std::string AttributesText(uint32_t attributes);

// Builds a file (kind 2) or folder (kind 4) hit from an entry's names and status. `folderDetail` decides
// whether a folder carries its size and counts as texts.
std::unique_ptr<FOUND_F> MakeNameHit(int kind, std::string_view cp932Name, std::string_view cp932Folder,
                                     std::string nativePath, const platform::EntryStatus& status,
                                     uint64_t size, int files, int folders, bool folderDetail);

// The file record of a file's text hits; the full path is split at its last "/" into folder and file name.
std::shared_ptr<const HitFile> MakeHitFile(std::string_view cp932FullPath, std::string nativePath);

// Builds a text hit of a file.
std::unique_ptr<FOUND_M> MakeTextHit(std::shared_ptr<const HitFile> file, int lineNumber,
                                     std::string lineText, int charCode, std::string_view utf8Line = {});
// Writes a text hit into `hit`, a new record or one a front end handed back for reuse: every field ends as
// MakeTextHit sets it, and the strings keep the room they have, so that reusing a record allocates nothing.
void FillTextHit(FOUND_M& hit, std::shared_ptr<const HitFile> file, int lineNumber, std::string lineText,
                 int charCode, std::string_view utf8Line);
