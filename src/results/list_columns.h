// The columns of the two result lists: each logical column's title, default width and alignment, the
// text of a cell, and the widths and order the lists keep in their profile sections ("SearchListFile
// Section" for the file list, "SearchListMoji Section" for the text list), loaded with their clamps when a
// list is set up and saved when it is destroyed.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "results/csv_writer.h"

struct FOUND_F;
struct FOUND_M;

inline constexpr char kSearchListMojiSection[] = "SearchListMoji Section";

// The narrowest a stored column width is loaded as.
inline constexpr int kMinimumColumnWidth = 16;

// One logical column of a list.
struct ColumnInfo {
  int titleId;        // string-table number of its title
  int defaultWidth;   // pixels
  bool rightAligned;  // numbers are right-aligned, texts left-aligned
};

// File list: name, folder, size, date, type, attributes, folder count, file count. Columns 6 and 7 are
// shown only with folder detail.
extern const std::array<ColumnInfo, kFileColumnCount> kFileColumns;
// Text list: file, folder, line, content; all four are always shown.
extern const std::array<ColumnInfo, kTextColumnCount> kTextColumns;

// The column settings of one list.
struct ListColumns {
  // File list: "FolderExF", which shows columns 6 and 7; always on for the text list.
  bool folderDetail = true;
  // By logical column: the width in pixels, or -1 for a column that is not shown.
  std::vector<int> widths;
  // By position from the left: the logical column shown there. It holds exactly the shown columns.
  std::vector<int> order;

  // Whether logical column `column` is shown.
  bool Shown(int column) const;
};

// The file list's columns from "SearchListFile Section". Each width: the column's default when absent or
// negative, then at least 16 and at most `screenWidth` (no upper limit when that is not above 0); columns 6
// and 7 get -1 without folder detail ("FolderExF" 0). The stored order must be a permutation of 0..7, else
// it is 0..7; the order shown is that order without the columns that are not shown. The default widths
// are for the list's classic 9-point font; `defaultPercent` (100 or more) widens them for the font the list
// really has, so a first start shows whole dates and sizes. Stored widths are taken as they are.
ListColumns LoadFileListColumns(const IniFile& ini, int screenWidth, int defaultPercent = 100);
// The text list's columns from "SearchListMoji Section", by the same rules over four columns.
ListColumns LoadTextListColumns(const IniFile& ini, int screenWidth, int defaultPercent = 100);

// Writes the list's current widths (-1 for a column not shown) and order. The stored order is 0..N-1 with
// its first entries replaced by the order shown, so a column hidden now keeps its place at the end and a
// reordering of the shown columns survives a restart. "FolderExF" is never written.
void SaveFileListColumns(IniFile& ini, const ListColumns& columns);
void SaveTextListColumns(IniFile& ini, const ListColumns& columns);

// The text of a cell, by reference into the record; empty for a column the list does not have. The
// folder column shows the record's display path when `showDisplayPath` (relative display on and one
// location searched) and the record has one, else its folder.
const std::string& CellText(const FOUND_F& hit, int column, bool showDisplayPath);
const std::string& CellText(const FOUND_M& hit, int column, bool showDisplayPath);
