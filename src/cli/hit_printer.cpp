#include "cli/hit_printer.h"

#include <cerrno>

#include "platform/cp932.h"
#include "platform/paths.h"
#include "results/csv_writer.h"
#include "results/display_path.h"
#include "search/found.h"

namespace {

// The columns in their default order; the file list has its count columns only with folder detail.
std::vector<int> DefaultOrder(bool textList, bool folderDetail) {
  int count = textList ? kTextColumnCount : (folderDetail ? kFileColumnCount : kFileColumnCount - 2);
  std::vector<int> order;
  for (int i = 0; i < count; ++i) order.push_back(i);
  return order;
}

}  // namespace

HitPrinter::HitPrinter(FILE* out, OutputFormat format, OutputEncoding encoding, bool textList,
                       bool folderDetail, bool showDisplayPath, std::string basePath)
    : out_(out),
      format_(format),
      encoding_(encoding),
      showDisplayPath_(showDisplayPath),
      basePath_(std::move(basePath)),
      csv_(DefaultOrder(textList, folderDetail), textList,
           [this](std::string_view row) { return WriteRow(row); }) {}

std::string HitPrinter::Encode(const std::string& cp932) const {
  return encoding_ == OutputEncoding::Sjis ? cp932 : platform::Utf8FromCp932(cp932);
}

void HitPrinter::Write(std::string_view text) {
  if (error_ != 0) return;
  if (fwrite(text.data(), 1, text.size(), out_) != text.size()) error_ = errno != 0 ? errno : EIO;
}

bool HitPrinter::WriteRow(std::string_view cp932) {
  if (encoding_ == OutputEncoding::Sjis) {
    Write(cp932);
  } else {
    encoded_.clear();
    platform::AppendUtf8FromCp932(encoded_, cp932);
    Write(encoded_);
  }
  return error_ == 0;
}

bool HitPrinter::Flush() {
  if (error_ == 0 && fflush(out_) != 0) error_ = errno != 0 ? errno : EIO;
  return error_ == 0;
}

void HitPrinter::Begin() {
  if (format_ == OutputFormat::Csv) csv_.Header();
}

void HitPrinter::Print(const FOUND_F& hit) {
  if (format_ == OutputFormat::Csv) {
    if (showDisplayPath_) displayPath_ = DisplayPathOf(hit.folder, basePath_);
    csv_.Row(hit, FolderShown(hit.folder, displayPath_, showDisplayPath_));
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
    csv_.Row(hit, FolderShown(hit.Folder(), displayPath_, showDisplayPath_));
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
