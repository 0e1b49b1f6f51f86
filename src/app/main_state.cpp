#include "app/main_state.h"

void ToggleKind(SearchConditions& c, SearchKind kind) {
  switch (kind) {
    case SearchKind::Text:
      c.SearchMoji = !c.SearchMoji;
      if (c.SearchMoji) c.SearchFile = c.SearchFolder = false;
      break;
    case SearchKind::File:
      c.SearchFile = !c.SearchFile;
      if (c.SearchFile) c.SearchMoji = false;
      break;
    case SearchKind::Folder:
      c.SearchFolder = !c.SearchFolder;
      if (c.SearchFolder) c.SearchMoji = false;
      break;
  }
}

std::array<bool, kIndicatorCount> VisibleIndicators(const SearchConditions& c, bool searching) {
  std::array<bool, kIndicatorCount> visible{};
  if (searching) return visible;
  const bool anyKind = c.SearchMoji || c.SearchFile || c.SearchFolder;
  if (anyKind) {
    visible[kSlotDate] = c.TimeFilter == 1;
    visible[kSlotAttributes] =
        c.AttrReadonly != 0 || c.AttrHidden != 0 || c.AttrSystem != 0 || c.AttrArchived != 0;
    // The size filter never applies to folders, so folder search alone does not show it.
    visible[kSlotSize] = c.SizeKind != 0 && (c.SearchMoji || c.SearchFile);
  }
  visible[kSlotCode] = c.SearchMoji && *CodeIndicatorText(c.ConvertFlag) != '\0';
  return visible;
}

const char* CodeIndicatorText(int convertFlag) {
  switch (convertFlag) {
    case 0: return "SJIS";
    case 1: return "EUC";
    case 2: return "JIS";
    default: return "";
  }
}
