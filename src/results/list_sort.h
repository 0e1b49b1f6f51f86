// Sorting of the two result lists by a column: the comparison of each logical column with its
// tie-breaks, the direction a header click chooses, and a stable sort of the owned records. Texts compare
// in the system's text order (matching::MbsICmp: ASCII and full-width Latin letters without case,
// double-byte characters as units). The comparison functions are the definition of the order and allocate
// nothing; the sort functions give exactly their order, but turn each row's keys into numbers once (the
// texts ranked in the text order) and sort those, so a million rows sort in about a second.
#pragma once

#include <memory>
#include <vector>

struct FOUND_F;
struct FOUND_M;

// The sort state of one list: the column of the current sort and its direction.
struct ListSortState {
  int column = -1;  // logical column of the current sort; -1 when not sorted since the last Reset
  bool descending = false;

  // A click on the header of `clickedColumn`: the same column again reverses the direction, another
  // column starts in ascending order.
  void Click(int clickedColumn);
  // Every search start: not sorted, ascending.
  void Reset() { *this = ListSortState{}; }
};

// The file list's order for logical column `column` (0 name .. 7 file count), ascending: negative when a
// sorts before b, 0 when they are equal in every key. Primary keys: 0 name; 1 folder (also when display
// paths are shown); 2 kind then size, larger first; 3 last-write time, older first; 4 type name;
// 5 attributes text; 6 folder count, larger first; 7 file count, larger first. Ties: kind, larger first,
// then name, then folder. Another column number compares by the ties alone.
int CompareFileHits(const FOUND_F& a, const FOUND_F& b, int column);

// The text list's order for logical column `column`, ascending: 0 file name, folder, line; 1 folder,
// file name, line; 2 line, file name, folder; 3 line text, file name, folder, line. Line numbers compare
// as signed integers, smaller first; another column number compares as column 0.
int CompareTextHits(const FOUND_M& a, const FOUND_M& b, int column);

// Sorts the rows by the column, in the order of CompareFileHits / CompareTextHits; `descending` reverses
// the whole order, ties included. Rows equal in every key keep their order (the sort is stable). The
// records themselves do not move, so a pointer to a selected record finds it again at its new row.
void SortFileRows(std::vector<std::unique_ptr<FOUND_F>>& rows, int column, bool descending);
void SortTextRows(std::vector<std::unique_ptr<FOUND_M>>& rows, int column, bool descending);
