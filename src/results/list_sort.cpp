#include "results/list_sort.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "matching/mbcs.h"
#include "results/sort_keys.h"
#include "search/found.h"

namespace {

// -1, 0 or 1 for a smaller-first order of two values.
template <typename T>
int Ascending(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

template <typename T>
int LargerFirst(T a, T b) {
  return Ascending(b, a);
}

// Equal bytes are equal text, which is the common case of folders and is settled without reading
// character by character.
int Text(const std::string& a, const std::string& b) {
  if (a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0) return 0;
  return matching::MbsICmp(std::string_view(a), std::string_view(b));
}

int FileTieBreak(const FOUND_F& a, const FOUND_F& b) {
  if (int r = LargerFirst(a.kind, b.kind)) return r;
  if (int r = Text(a.name, b.name)) return r;
  return Text(a.folder, b.folder);
}

int FilePrimary(const FOUND_F& a, const FOUND_F& b, int column) {
  switch (column) {
    case 0:
      return Text(a.name, b.name);
    case 1:
      return Text(a.folder, b.folder);
    case 2:
      if (int r = LargerFirst(a.kind, b.kind)) return r;
      return LargerFirst(a.size, b.size);
    case 3:
      return Ascending(a.written, b.written);
    case 4:
      return Text(a.typeName, b.typeName);
    case 5:
      return Text(a.attributesText, b.attributesText);
    case 6:
      return LargerFirst(a.folderCount, b.folderCount);
    case 7:
      return LargerFirst(a.fileCount, b.fileCount);
    default:
      return 0;
  }
}

// The rows in the order of the sorted keys.
template <typename Record>
void Permute(std::vector<std::unique_ptr<Record>>& rows, const std::vector<sort_keys::RowKey>& keys) {
  std::vector<std::unique_ptr<Record>> sorted(rows.size());
  for (size_t i = 0; i < keys.size(); ++i) sorted[i] = std::move(rows[keys[i].row]);
  rows = std::move(sorted);
}

// Each file row's places of one of its texts among all rows' texts.
std::vector<uint32_t> FileTextRanks(const std::vector<std::unique_ptr<FOUND_F>>& rows,
                                    std::string FOUND_F::*member) {
  return sort_keys::TextRanks(rows.size(), [&](size_t i) -> std::string_view { return (*rows[i]).*member; });
}

// The file list's keys for a column: its primary key, then the tie-break (kind, name, folder), leaving
// out what the primary key already holds.
sort_keys::RowKey FileRowKey(const FOUND_F& hit, int column, uint64_t name, uint64_t folder, uint64_t text) {
  using sort_keys::LargerFirst;
  const uint64_t kind = LargerFirst(hit.kind);
  switch (column) {
    case 0:
      return {{name, kind, folder}};
    case 1:
      return {{folder, kind, name}};
    case 2:
      return {{kind, ~hit.size, name, folder}};
    case 3:
      return {{sort_keys::SmallerFirst(hit.written), kind, name, folder}};
    case 4:
    case 5:
      return {{text, kind, name, folder}};
    case 6:
      return {{LargerFirst(hit.folderCount), kind, name, folder}};
    case 7:
      return {{LargerFirst(hit.fileCount), kind, name, folder}};
    default:
      return {{kind, name, folder}};
  }
}

// For every text row, a number that orders its file by name then folder (`folderFirst`: folder then
// name). Hits of one file share their file record, so the texts are ranked once per file.
std::vector<uint64_t> FileKeys(const std::vector<std::unique_ptr<FOUND_M>>& rows, bool folderFirst) {
  std::vector<std::pair<const HitFile*, size_t>> byFile;
  for (size_t i = 0; i < rows.size(); ++i) byFile.emplace_back(rows[i]->file.get(), i);
  std::sort(byFile.begin(), byFile.end());
  std::vector<const HitFile*> files;
  std::vector<uint32_t> fileOfRow(rows.size());
  for (const auto& [file, row] : byFile) {
    if (files.empty() || files.back() != file) files.push_back(file);
    fileOfRow[row] = static_cast<uint32_t>(files.size() - 1);
  }
  auto names =
      sort_keys::TextRanks(files.size(), [&](size_t i) -> std::string_view { return files[i]->fileName; });
  auto folders =
      sort_keys::TextRanks(files.size(), [&](size_t i) -> std::string_view { return files[i]->folder; });
  std::vector<uint64_t> keys(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    uint64_t name = names[fileOfRow[i]], folder = folders[fileOfRow[i]];
    keys[i] = folderFirst ? (folder << 32) | name : (name << 32) | folder;
  }
  return keys;
}

}  // namespace

void ListSortState::Click(int clickedColumn) {
  descending = clickedColumn == column ? !descending : false;
  column = clickedColumn;
}

int CompareFileHits(const FOUND_F& a, const FOUND_F& b, int column) {
  if (int r = FilePrimary(a, b, column)) return r;
  return FileTieBreak(a, b);
}

// Hits of one file share their file record, so their names and folders are equal without a look at the
// texts: most comparisons of a list with many hits per file end at the line numbers.
int CompareTextHits(const FOUND_M& a, const FOUND_M& b, int column) {
  const bool sameFile = a.file == b.file;
  switch (column) {
    case 1:
      if (!sameFile) {
        if (int r = Text(a.Folder(), b.Folder())) return r;
        if (int r = Text(a.FileName(), b.FileName())) return r;
      }
      return Ascending(a.lineNumber, b.lineNumber);
    case 2:
      if (int r = Ascending(a.lineNumber, b.lineNumber)) return r;
      if (sameFile) return 0;
      if (int r = Text(a.FileName(), b.FileName())) return r;
      return Text(a.Folder(), b.Folder());
    case 3:
      if (int r = Text(a.lineText, b.lineText)) return r;
      if (!sameFile) {
        if (int r = Text(a.FileName(), b.FileName())) return r;
        if (int r = Text(a.Folder(), b.Folder())) return r;
      }
      return Ascending(a.lineNumber, b.lineNumber);
    default:
      if (!sameFile) {
        if (int r = Text(a.FileName(), b.FileName())) return r;
        if (int r = Text(a.Folder(), b.Folder())) return r;
      }
      return Ascending(a.lineNumber, b.lineNumber);
  }
}

void SortFileRows(std::vector<std::unique_ptr<FOUND_F>>& rows, int column, bool descending) {
  std::vector<uint32_t> names = FileTextRanks(rows, &FOUND_F::name);
  std::vector<uint32_t> folders = FileTextRanks(rows, &FOUND_F::folder);
  std::vector<uint32_t> texts;
  if (column == 4) texts = FileTextRanks(rows, &FOUND_F::typeName);
  if (column == 5) texts = FileTextRanks(rows, &FOUND_F::attributesText);
  std::vector<sort_keys::RowKey> keys(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    keys[i] = FileRowKey(*rows[i], column, names[i], folders[i], texts.empty() ? 0 : texts[i]);
    keys[i].row = i;
  }
  sort_keys::SortRowKeys(keys, descending);
  Permute(rows, keys);
}

void SortTextRows(std::vector<std::unique_ptr<FOUND_M>>& rows, int column, bool descending) {
  if (column < 0 || column > 3) column = 0;
  std::vector<uint64_t> files = FileKeys(rows, column == 1);
  std::vector<uint32_t> texts;
  if (column == 3) {
    texts =
        sort_keys::TextRanks(rows.size(), [&](size_t i) -> std::string_view { return rows[i]->lineText; });
  }
  std::vector<sort_keys::RowKey> keys(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    uint64_t line = sort_keys::SmallerFirst(rows[i]->lineNumber);
    if (column == 2) {
      keys[i] = {{line, files[i]}};
    } else if (column == 3) {
      keys[i] = {{texts[i], files[i], line}};
    } else {
      keys[i] = {{files[i], line}};
    }
    keys[i].row = i;
  }
  sort_keys::SortRowKeys(keys, descending);
  Permute(rows, keys);
}
