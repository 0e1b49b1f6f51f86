// The main window's part of the profile "Serquin.ini": the search conditions, the settings, the window
// frame and the four histories, loaded once at start and saved once at exit. The result lists and the
// viewer keep their own sections in the same file; saving leaves those untouched.
#pragma once

#include <functional>

#include "app/app_settings.h"
#include "app/history_list.h"
#include "app/ini_file.h"
#include "search/search_conditions.h"

// Section names of the main window's part of the profile, and of the file list's section that holds
// "FolderExF".
inline constexpr char kFrameSection[] = "Frame Section";
inline constexpr char kRirekiMaximumSection[] = "RirekiMaximum Section";
inline constexpr char kValueSection[] = "Value Section";
inline constexpr char kConditionSection[] = "Condition Section";
inline constexpr char kFilterExtSection[] = "FilterExt Section";
inline constexpr char kFilterSection[] = "Filter Section";
inline constexpr char kSearchListFileSection[] = "SearchListFile Section";

// The default of both extension histories when the profile holds none.
inline constexpr char kDefaultExtensions[] = "txt;html;htm";

// The key of a numbered list entry: the base name and the index in lower-case hexadecimal ("Folder10" for
// index 16).
std::string ListKey(const char* base, int index);

// Loads the stored conditions, settings, frame values and histories, clamping every value into its range.
// The location and pattern boxes are emptied first and filled from the profile (the first entry selected,
// or the placeholder when none); FolderText and PatternText become their selected texts. `FolderDetail`
// comes from the file list's "FolderExF". A stored regular-expression flag is dropped when
// `regexLibraryPresent` (asked only then) says the library cannot be loaded. Fields that are not stored
// (the date range, TimeFilter, SizeKind, Locations, BasePath) keep their values.
void LoadProfile(const IniFile& ini, SearchConditions& conditions, AppSettings& settings,
                 HistoryList& locationBox, HistoryList& patternBox,
                 const std::function<bool()>& regexLibraryPresent);

// Writes the conditions, settings and histories into `ini` in the profile's order: the frame (the four
// placement keys only when all four are set), the history sizes, the two box histories (their section
// rewritten whole), the conditions and settings, the extension histories (their section rewritten
// whole) and the filters. Each history keeps at most its maximum entries; a lone placeholder is not
// written, nor is an entry that holds a line break (the file cannot hold it).
void SaveProfile(IniFile& ini, const SearchConditions& conditions, const AppSettings& settings,
                 const HistoryList& locationBox, const HistoryList& patternBox);

// The window's restored rectangle in work-area coordinates.
struct FrameRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Where the window goes from its stored frame values: each size first limited to the work area, then
// raised to at least the designed size; each edge first limited so the window ends inside the work area,
// then raised to at least 0.
FrameRect PlaceFrame(const FrameSettings& frame, int designedWidth, int designedHeight, int workWidth,
                     int workHeight);
