#include "search/found.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>

#include "platform/dir_reader.h"
#include "platform/file_type.h"
#include "platform/local_time.h"

std::string SizeText(uint64_t size, bool bracket) {
  char text[32];
  // Rounded up, so that a file of 1 byte shows 1KB and only an empty one 0KB. Adding 1023 cannot wrap
  // for the 64-bit sizes a file system reports below 2^64 - 1023; the division is done first to be safe.
  uint64_t kb = size / 1024 + (size % 1024 != 0 ? 1 : 0);
  snprintf(text, sizeof text, bracket ? "<%" PRIu64 "KB>" : "%" PRIu64 "KB", kb);
  return text;
}

std::string AttributesText(uint32_t attributes) {
  std::string text;
  if (attributes & platform::kAttrReadonly) text += 'R';
  if (attributes & platform::kAttrHidden) text += 'H';
  if (attributes & platform::kAttrSystem) text += 'S';
  if (attributes & platform::kAttrArchive) text += 'A';
  return text;
}

std::unique_ptr<FOUND_F> MakeNameHit(int kind, std::string_view cp932Name, std::string_view cp932Folder,
                                     std::string nativePath, const platform::EntryStatus& status,
                                     uint64_t size, int files, int folders, bool folderDetail) {
  auto hit = std::make_unique<FOUND_F>();
  hit->kind = kind;
  hit->name = cp932Name;
  hit->folder = cp932Folder;
  hit->written = status.written;
  hit->dateText = platform::FormatShortDateTime(status.written);
  hit->typeName = platform::FileTypeName(cp932Name, kind == 4);
  hit->attributesText = AttributesText(status.attributes);
  hit->nativePath = std::move(nativePath);
  if (kind == 2) {
    hit->size = size;
    hit->sizeText = SizeText(size, false);
  } else if (folderDetail) {
    hit->size = size;
    hit->sizeText = SizeText(size, true);
    hit->fileCount = files;
    hit->fileCountText = std::to_string(files);
    hit->folderCount = folders;
    hit->folderCountText = std::to_string(folders);
  }
  return hit;
}

std::shared_ptr<const HitFile> MakeHitFile(std::string_view cp932FullPath, std::string nativePath) {
  auto file = std::make_shared<HitFile>();
  // "/" is never a byte of a double-byte character, so a plain search for the last one is exact.
  size_t slash = cp932FullPath.rfind('/');
  if (slash == std::string_view::npos) {
    file->fileName = cp932FullPath;
  } else {
    file->fileName = cp932FullPath.substr(slash + 1);
    // An entry of the root keeps "/" as its folder, so that folder and name join back to its path.
    file->folder = slash == 0 ? std::string("/") : std::string(cp932FullPath.substr(0, slash));
  }
  file->nativePath = std::move(nativePath);
  return file;
}

std::unique_ptr<FOUND_M> MakeTextHit(std::shared_ptr<const HitFile> file, int lineNumber,
                                     std::string lineText, int charCode, std::string_view utf8Line) {
  auto hit = std::make_unique<FOUND_M>();
  FillTextHit(*hit, std::move(file), lineNumber, std::move(lineText), charCode, utf8Line);
  return hit;
}

void FillTextHit(FOUND_M& hit, std::shared_ptr<const HitFile> file, int lineNumber, std::string lineText,
                 int charCode, std::string_view utf8Line) {
  // A record that once held a very long line gives its room back rather than keeping it for short ones.
  constexpr size_t kLongestKept = 4096;
  hit.kind = 1;
  hit.file = std::move(file);
  hit.displayPath.clear();
  hit.lineNumber = lineNumber;
  char digits[16];
  const auto written = std::to_chars(digits, digits + sizeof digits, lineNumber);
  hit.lineNumberText.assign(digits, written.ptr);
  hit.lineText = std::move(lineText);
  hit.charCode = charCode;
  if (hit.utf8Line.capacity() > kLongestKept && utf8Line.size() <= kLongestKept) {
    // A move-assignment of a short string would copy it into the long room and keep that.
    hit.utf8Line.clear();
    hit.utf8Line.shrink_to_fit();
  }
  hit.utf8Line.assign(utf8Line);
}
