// The result file: a list's hits as comma-separated text in code page 932 without a byte-order mark, the
// header of column titles first, one row per hit, CR LF after every row (see results/csv_writer.h for the
// cells). The window's save and serquin-cli's --format=csv write their rows through the same CsvRows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct FOUND_F;
struct FOUND_M;

// Takes the bytes of one row; false when they could not be written.
using CsvOut = std::function<bool(std::string_view bytes)>;

// The rows of one list with its columns in display order, handed to `out` one by one.
class CsvRows {
 public:
  // `order`: the logical columns from left to right; `textList`: the text list's columns, else the file
  // list's.
  CsvRows(std::vector<int> order, bool textList, CsvOut out);

  // Each is false when the order names a column the list does not have, or when `out` failed; nothing of
  // that row is written then.
  bool Header();
  // `folderShown`: what the folder column shows for the hit (its display path or its folder).
  bool Row(const FOUND_F& hit, const std::string& folderShown);
  bool Row(const FOUND_M& hit, const std::string& folderShown);

 private:
  std::vector<int> order_;
  bool textList_;
  CsvOut out_;
  std::string row_;  // reused, so that a million rows make no string each
};

// Writes the header and a row for each record, in the records' order. The folder column shows what the
// list shows (the record's display path when `showDisplayPath`). False at the first failure, which ends
// the output.
bool WriteCsv(const std::vector<std::unique_ptr<FOUND_F>>& rows, const std::vector<int>& order,
              bool showDisplayPath, const CsvOut& out);
bool WriteCsv(const std::vector<std::unique_ptr<FOUND_M>>& rows, const std::vector<int>& order,
              bool showDisplayPath, const CsvOut& out);

// Saves a result file at `path` (native): `write` is given where the rows go and says whether it
// succeeded. The bytes go to a temporary file in the same folder that replaces the file at `path` only when
// everything was written, so a failure never destroys an earlier result file. A file without any write
// permission is read-only and is not replaced. False, with errno's value in `error`, on any failure.
bool SaveResultFile(const std::string& path, const std::function<bool(const CsvOut& out)>& write, int& error);
