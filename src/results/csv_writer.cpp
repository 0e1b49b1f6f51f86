#include "results/csv_writer.h"

#include "resources/strings.h"
#include "search/found.h"

namespace {

// A quoted cell. A quote inside the text is doubled, so that a spreadsheet reads the cell back as the text
// (a line of source code holds quotes and commas on nearly every line). A quote byte is never the second
// byte of a double-byte character, so the doubling needs no character walk.
void Quoted(std::string& row, const std::string& text) {
  row += '"';
  for (size_t from = 0;;) {
    size_t quote = text.find('"', from);
    row.append(text, from, quote == std::string::npos ? std::string::npos : quote + 1 - from);
    if (quote == std::string::npos) break;
    row += '"';
    from = quote + 1;
  }
  row += '"';
}

// Quoted unless empty: an empty text gives an empty cell.
void QuotedOrEmpty(std::string& row, const std::string& text) {
  if (!text.empty()) Quoted(row, text);
}

bool FileCell(const FOUND_F& hit, int column, const std::string& folderShown, std::string& row) {
  switch (column) {
    case 0:
      Quoted(row, hit.name);
      return true;
    case 1:
      Quoted(row, folderShown);
      return true;
    case 2:
      QuotedOrEmpty(row, hit.sizeText);
      return true;
    case 3:
      Quoted(row, hit.dateText);
      return true;
    case 4:
      QuotedOrEmpty(row, hit.typeName);
      return true;
    case 5:
      QuotedOrEmpty(row, hit.attributesText);
      return true;
    case 6:
      row += hit.folderCountText;
      return true;
    case 7:
      row += hit.fileCountText;
      return true;
    default:
      return false;
  }
}

bool TextCell(const FOUND_M& hit, int column, const std::string& folderShown, std::string& row) {
  switch (column) {
    case 0:
      Quoted(row, hit.FileName());
      return true;
    case 1:
      Quoted(row, folderShown);
      return true;
    case 2:
      row += hit.lineNumberText;
      return true;
    case 3:
      Quoted(row, hit.lineText);
      return true;
    default:
      return false;
  }
}

template <typename CellFn>
bool Row(const std::vector<int>& order, std::string& row, CellFn cell) {
  row.clear();
  for (size_t i = 0; i < order.size(); ++i) {
    if (i > 0) row += ',';
    if (!cell(order[i])) return false;
  }
  row += "\r\n";
  return true;
}

}  // namespace

bool CsvHeader(const std::vector<int>& order, bool textList, std::string& row) {
  int count = textList ? kTextColumnCount : kFileColumnCount;
  int first = textList ? IDS_TEXT_COLUMN_FIRST : IDS_FILE_COLUMN_FIRST;
  return Row(order, row, [&](int column) {
    if (column < 0 || column >= count) return false;
    Quoted(row, LoadString(first + column));
    return true;
  });
}

bool CsvRow(const FOUND_F& hit, const std::vector<int>& order, const std::string& folderShown,
            std::string& row) {
  return Row(order, row, [&](int column) { return FileCell(hit, column, folderShown, row); });
}

bool CsvRow(const FOUND_M& hit, const std::vector<int>& order, const std::string& folderShown,
            std::string& row) {
  return Row(order, row, [&](int column) { return TextCell(hit, column, folderShown, row); });
}
