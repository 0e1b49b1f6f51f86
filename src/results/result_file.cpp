#include "results/result_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/replacing_file.h"
#include "results/csv_writer.h"
#include "results/list_columns.h"
#include "search/found.h"

namespace {

template <typename Hit>
bool WriteRows(const std::vector<std::unique_ptr<Hit>>& rows, const std::vector<int>& order, bool textList,
               bool showDisplayPath, const CsvOut& out) {
  CsvRows csv(order, textList, out);
  if (!csv.Header()) return false;
  for (const std::unique_ptr<Hit>& hit : rows) {
    if (!csv.Row(*hit, CellText(*hit, 1, showDisplayPath))) return false;
  }
  return true;
}

// Read-only as the platform's attribute means it: nobody may write the file.
bool IsReadOnlyFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

}  // namespace

CsvRows::CsvRows(std::vector<int> order, bool textList, CsvOut out)
    : order_(std::move(order)), textList_(textList), out_(std::move(out)) {}

bool CsvRows::Header() {
  return CsvHeader(order_, textList_, row_) && out_(row_);
}

bool CsvRows::Row(const FOUND_F& hit, const std::string& folderShown) {
  return !textList_ && CsvRow(hit, order_, folderShown, row_) && out_(row_);
}

bool CsvRows::Row(const FOUND_M& hit, const std::string& folderShown) {
  return textList_ && CsvRow(hit, order_, folderShown, row_) && out_(row_);
}

bool WriteCsv(const std::vector<std::unique_ptr<FOUND_F>>& rows, const std::vector<int>& order,
              bool showDisplayPath, const CsvOut& out) {
  return WriteRows(rows, order, false, showDisplayPath, out);
}

bool WriteCsv(const std::vector<std::unique_ptr<FOUND_M>>& rows, const std::vector<int>& order,
              bool showDisplayPath, const CsvOut& out) {
  return WriteRows(rows, order, true, showDisplayPath, out);
}

bool SaveResultFile(const std::string& path, const std::function<bool(const CsvOut& out)>& write,
                    int& error) {
  error = 0;
  // Renaming over a file needs only the folder's permission; a read-only file is still refused, as the
  // user protected it.
  if (IsReadOnlyFile(path)) return error = EACCES, false;
  platform::ReplacingFile file;
  if (!file.Open(path)) return error = file.Error(), false;
  const CsvOut out = [&file](std::string_view bytes) { return file.Write(bytes); };
  if (!write(out)) {
    error = file.Error() != 0 ? file.Error() : EINVAL;
    return false;
  }
  if (!file.Commit()) return error = file.Error(), false;
  return true;
}
