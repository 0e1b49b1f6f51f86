// The rows of the result file: code-page-932 comma-separated text, one row per hit, the header made of the
// column titles, cells in the order the columns are shown. Rows end with CR LF.
#pragma once

#include <string>
#include <vector>

struct FOUND_F;
struct FOUND_M;

// Logical columns of the file list (0 name .. 7 file count) and of the text list (0 file .. 3 line text).
constexpr int kFileColumnCount = 8;
constexpr int kTextColumnCount = 4;

// The header row for the given display order (logical column numbers); false when the order names a
// column the list does not have.
bool CsvHeader(const std::vector<int>& order, bool textList, std::string& row);

// One data row. `folderShown` is what the folder column shows (see results/display_path.h: the display
// path or the folder). Texts are quoted with inner quotes doubled; empty size, type and attribute texts
// give empty cells; numbers are not quoted.
bool CsvRow(const FOUND_F& hit, const std::vector<int>& order, const std::string& folderShown,
            std::string& row);
bool CsvRow(const FOUND_M& hit, const std::vector<int>& order, const std::string& folderShown,
            std::string& row);
