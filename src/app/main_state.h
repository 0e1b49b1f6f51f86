// Plain rules of the main window that need no toolkit: the kind switches and their exclusivity, and which
// status indicators show.
#pragma once

#include <array>

#include "app/main_layout.h"
#include "search/search_conditions.h"

// The three kind switches of the main window.
enum class SearchKind { Text, File, Folder };

// A click on a kind switch: it toggles; a text search that comes on turns both name searches off, a name
// search that comes on turns text search off. File and folder search may run together.
void ToggleKind(SearchConditions& conditions, SearchKind kind);

// Which status indicators show, by IndicatorSlot: none during a search; otherwise, with at least one kind
// on, "日時" for the date filter, "属性" for any attribute filter, "ｻｲｽﾞ" for a size filter of a text or
// file search; the code indicator for a text search with a fixed code.
std::array<bool, kIndicatorCount> VisibleIndicators(const SearchConditions& conditions, bool searching);

// The code indicator's text: "SJIS", "EUC", "JIS", or empty for automatic detection.
const char* CodeIndicatorText(int convertFlag);
