#include "cli/hit_printer.h"

#include <cerrno>

#include "platform/cp932.h"
#include "platform/paths.h"
#include "results/csv_writer.h"
#include "results/display_path.h"
#include "search/found.h"

HitPrinter::HitPrinter(FILE* out, OutputFormat format, OutputEncoding encoding, bool textList,
                       bool folderDetail, bool showDisplayPath, std::string basePath)
    : out_(out),
      format_(format),
      encoding_(encoding),
      textList_(textList),
      showDisplayPath_(showDisplayPath),
      basePath_(std::move(basePath)) {
  // The columns in their default order; the file list has its count columns only with folder detail.
  int count = textList ? kTextColumnCount : (folderDetail ? kFileColumnCount : kFileColumnCount - 2);
  for (int i = 0; i < count; ++i) order_.push_back(i);
}

std::string HitPrinter::Encode(const std::string& cp932) const {
  return encoding_ == OutputEncoding::Sjis ? cp932 : platform::Utf8FromCp932(cp932);
}

void HitPrinter::Write(const std::string& text) {
  if (error_ != 0) return;
  if (fwrite(text.data(), 1, text.size(), out_) != text.size()) error_ = errno != 0 ? errno : EIO;
}

bool HitPrinter::Flush() {
  if (error_ == 0 && fflush(out_) != 0) error_ = errno != 0 ? errno : EIO;
  return error_ == 0;
}

void HitPrinter::Begin() {
  if (format_ == OutputFormat::Csv && CsvHeader(order_, textList_, row_)) Write(Encode(row_));
}

void HitPrinter::Print(const FOUND_F& hit) {
  if (format_ == OutputFormat::Csv) {
    if (showDisplayPath_) displayPath_ = DisplayPathOf(hit.folder, basePath_);
    if (CsvRow(hit, order_, FolderShown(hit.folder, displayPath_, showDisplayPath_), row_))
      Write(Encode(row_));
    return;
  }
  // The native path opens the entry even when code page 932 cannot spell its name.
  row_ = encoding_ == OutputEncoding::Sjis ? platform::JoinPath(hit.folder, hit.name) : hit.nativePath;
  row_ += '\n';
  Write(row_);
}

void HitPrinter::Print(const FOUND_M& hit) {
  if (format_ == OutputFormat::Csv) {
    if (showDisplayPath_) displayPath_ = DisplayPathOf(hit.Folder(), basePath_);
    if (CsvRow(hit, order_, FolderShown(hit.Folder(), displayPath_, showDisplayPath_), row_)) {
      Write(Encode(row_));
    }
    return;
  }
  // The row is built in one reused string: a hundred thousand hits make no string each.
  if (encoding_ == OutputEncoding::Sjis) {
    row_ = platform::JoinPath(hit.Folder(), hit.FileName());
  } else {
    row_.assign(hit.NativePath());
  }
  row_ += ':';
  row_ += hit.lineNumberText;
  row_ += ':';
  if (encoding_ == OutputEncoding::Sjis) {
    row_ += hit.lineText;
  } else if (!hit.utf8Line.empty()) {
    row_ += hit.utf8Line;  // a UTF-8 file's own line: no character is lost to the code page
  } else {
    platform::AppendUtf8FromCp932(row_, hit.lineText);
  }
  row_ += '\n';
  Write(row_);
}
