#include "cli/hit_printer.h"

#include "platform/cp932.h"
#include "platform/paths.h"
#include "results/csv_writer.h"
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
  fwrite(text.data(), 1, text.size(), out_);
}

void HitPrinter::Begin() {
  if (format_ == OutputFormat::Csv && CsvHeader(order_, textList_, row_)) Write(Encode(row_));
}

void HitPrinter::Print(FOUND_F& hit) {
  if (format_ == OutputFormat::Csv) {
    if (showDisplayPath_) hit.displayPath = platform::RelativePath(basePath_, hit.folder);
    if (CsvRow(hit, order_, showDisplayPath_, row_)) Write(Encode(row_));
    return;
  }
  // The native path opens the entry even when code page 932 cannot spell its name.
  row_ = encoding_ == OutputEncoding::Sjis ? platform::JoinPath(hit.folder, hit.name) : hit.nativePath;
  row_ += '\n';
  Write(row_);
}

void HitPrinter::Print(FOUND_M& hit) {
  if (format_ == OutputFormat::Csv) {
    if (showDisplayPath_) hit.displayPath = platform::RelativePath(basePath_, hit.Folder());
    if (CsvRow(hit, order_, showDisplayPath_, row_)) Write(Encode(row_));
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
