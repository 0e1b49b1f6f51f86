#include "results/list_sort.h"

#include <algorithm>
#include <cstring>

#include "matching/mbcs.h"
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

// Sorts by a three-way comparison; descending takes its sign the other way round, so equal rows keep
// their order in both directions.
template <typename Record, typename Compare>
void StableSortRows(std::vector<std::unique_ptr<Record>>& rows, bool descending, Compare compare) {
  if (descending) {
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const std::unique_ptr<Record>& a, const std::unique_ptr<Record>& b) {
                       return compare(*a, *b) > 0;
                     });
  } else {
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const std::unique_ptr<Record>& a, const std::unique_ptr<Record>& b) {
                       return compare(*a, *b) < 0;
                     });
  }
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
  StableSortRows(rows, descending,
                 [column](const FOUND_F& a, const FOUND_F& b) { return CompareFileHits(a, b, column); });
}

void SortTextRows(std::vector<std::unique_ptr<FOUND_M>>& rows, int column, bool descending) {
  StableSortRows(rows, descending,
                 [column](const FOUND_M& a, const FOUND_M& b) { return CompareTextHits(a, b, column); });
}
