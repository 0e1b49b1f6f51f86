// The values the settings dialog edits: a copy of the main window's conditions and settings taken when
// it opens, edited by its pages, and handed back on OK or Apply.
#pragma once

#include "app/app_settings.h"
#include "results/viewer_settings.h"
#include "search/search_conditions.h"

struct SetteiValues {
  // The search conditions; the pages edit the filter and condition fields (dates, sizes, attributes,
  // depth, codes, case, regular expressions, extension lists and their "all" switches, FolderDetail).
  SearchConditions conditions;
  // OptionTab, WhiteCheck, SoutaiF, CustomIro, EditorFile, EditorParam, WaveFile, MutexF, Frame.TemaeF
  // (always on top), RirekiKind and the four history maxima.
  AppSettings settings;
  // ViewerRangeView, ViewerRange, ViewerMae, ViewerAto, ViewerLookIro.
  ViewerSettings viewer;
};
