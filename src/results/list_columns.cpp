#include "results/list_columns.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "app/profile.h"
#include "resources/strings.h"
#include "search/found.h"

const std::array<ColumnInfo, kFileColumnCount> kFileColumns = {{
    {IDS_FILE_COLUMN_FIRST + 0, 96, false},
    {IDS_FILE_COLUMN_FIRST + 1, 96, false},
    {IDS_FILE_COLUMN_FIRST + 2, 48, true},
    {IDS_FILE_COLUMN_FIRST + 3, 64, false},
    {IDS_FILE_COLUMN_FIRST + 4, 64, false},
    {IDS_FILE_COLUMN_FIRST + 5, 48, false},
    {IDS_FILE_COLUMN_FIRST + 6, 64, true},
    {IDS_FILE_COLUMN_FIRST + 7, 64, true},
}};

const std::array<ColumnInfo, kTextColumnCount> kTextColumns = {{
    {IDS_TEXT_COLUMN_FIRST + 0, 96, false},
    {IDS_TEXT_COLUMN_FIRST + 1, 96, false},
    {IDS_TEXT_COLUMN_FIRST + 2, 32, true},
    {IDS_TEXT_COLUMN_FIRST + 3, 256, false},
}};

namespace {

// Logical columns 6 and 7 of the file list need folder detail.
constexpr int kFirstDetailColumn = 6;

std::string ColumnKey(const char* base, int index) {
  char key[32];
  snprintf(key, sizeof key, "%s%02d", base, index);
  return key;
}

int LoadWidth(const IniFile& ini, const char* section, int column, int defaultWidth, int screenWidth,
              int defaultPercent) {
  defaultWidth = defaultWidth * std::max(defaultPercent, 100) / 100;
  int width = ini.ReadInt(section, ColumnKey("CtlColWidth", column), defaultWidth);
  if (width < 0) width = defaultWidth;
  width = std::max(width, kMinimumColumnWidth);
  return screenWidth > 0 ? std::min(width, screenWidth) : width;
}

// The stored order when it is a permutation of 0..count-1, else the identity.
std::vector<int> LoadOrder(const IniFile& ini, const char* section, int count) {
  std::vector<int> order(count);
  std::vector<bool> seen(count, false);
  bool valid = true;
  for (int k = 0; k < count; ++k) {
    order[k] = ini.ReadInt(section, ColumnKey("CtlColIndex", k), k);
    if (order[k] < 0 || order[k] >= count || seen[order[k]]) {
      valid = false;
    } else {
      seen[order[k]] = true;
    }
  }
  if (!valid) {
    for (int k = 0; k < count; ++k) order[k] = k;
  }
  return order;
}

// Columns from `shownCount` on are not shown (width -1).
ListColumns Load(const IniFile& ini, const char* section, std::span<const ColumnInfo> infos, int shownCount,
                 int screenWidth, int defaultPercent) {
  ListColumns columns;
  const int count = static_cast<int>(infos.size());
  for (int i = 0; i < count; ++i) {
    columns.widths.push_back(
        i < shownCount ? LoadWidth(ini, section, i, infos[i].defaultWidth, screenWidth, defaultPercent) : -1);
  }
  // A stored order that puts a hidden column among the shown ones (possible after "FolderExF" was
  // changed by hand) still shows every shown column once: the hidden ones are simply left out.
  for (int column : LoadOrder(ini, section, count)) {
    if (columns.Shown(column)) columns.order.push_back(column);
  }
  return columns;
}

void Save(IniFile& ini, const char* section, const ListColumns& columns, int count) {
  for (int i = 0; i < count; ++i) {
    int width = i < static_cast<int>(columns.widths.size()) ? columns.widths[i] : -1;
    ini.WriteString(section, ColumnKey("CtlColWidth", i), std::to_string(width));
  }
  for (int k = 0; k < count; ++k) {
    int column = k < static_cast<int>(columns.order.size()) ? columns.order[k] : k;
    ini.WriteString(section, ColumnKey("CtlColIndex", k), std::to_string(column));
  }
}

const std::string& Empty() {
  static const std::string empty;
  return empty;
}

const std::string& FolderText(const std::string& folder, const std::string& displayPath,
                              bool showDisplayPath) {
  return showDisplayPath && !displayPath.empty() ? displayPath : folder;
}

}  // namespace

bool ListColumns::Shown(int column) const {
  return column >= 0 && column < static_cast<int>(widths.size()) && widths[column] >= 0;
}

ListColumns LoadFileListColumns(const IniFile& ini, int screenWidth, int defaultPercent) {
  bool folderDetail = ini.ReadInt(kSearchListFileSection, "FolderExF", 1) != 0;
  ListColumns columns =
      Load(ini, kSearchListFileSection, kFileColumns, folderDetail ? kFileColumnCount : kFirstDetailColumn,
           screenWidth, defaultPercent);
  columns.folderDetail = folderDetail;
  return columns;
}

ListColumns LoadTextListColumns(const IniFile& ini, int screenWidth, int defaultPercent) {
  return Load(ini, kSearchListMojiSection, kTextColumns, kTextColumnCount, screenWidth, defaultPercent);
}

void SaveFileListColumns(IniFile& ini, const ListColumns& columns) {
  Save(ini, kSearchListFileSection, columns, kFileColumnCount);
}

void SaveTextListColumns(IniFile& ini, const ListColumns& columns) {
  Save(ini, kSearchListMojiSection, columns, kTextColumnCount);
}

const std::string& CellText(const FOUND_F& hit, int column, bool showDisplayPath) {
  switch (column) {
    case 0:
      return hit.name;
    case 1:
      return FolderText(hit.folder, hit.displayPath, showDisplayPath);
    case 2:
      return hit.sizeText;
    case 3:
      return hit.dateText;
    case 4:
      return hit.typeName;
    case 5:
      return hit.attributesText;
    case 6:
      return hit.folderCountText;
    case 7:
      return hit.fileCountText;
    default:
      return Empty();
  }
}

const std::string& CellText(const FOUND_M& hit, int column, bool showDisplayPath) {
  switch (column) {
    case 0:
      return hit.FileName();
    case 1:
      return FolderText(hit.Folder(), hit.displayPath, showDisplayPath);
    case 2:
      return hit.lineNumberText;
    case 3:
      return hit.lineText;
    default:
      return Empty();
  }
}
