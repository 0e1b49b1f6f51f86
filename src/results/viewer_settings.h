// The viewer's settings as the profile keeps them in "Viewer Section" and "ViewerFix Section": whether it
// shows at all, its display range, the lines around a hit, the highlight colour and the per-path
// overrides of the range. Plain values; the viewer pane and the settings dialog both work on them.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "app/ini_file.h"

// The viewer's display range.
enum VIEWER_FLAG : int {
  VIEWER_NONE = -1,  // nothing (only as a per-path override)
  VIEWER_ALL = 0,    // the whole file
  VIEWER_LINES = 1,  // lines from (hit line − ViewerMae) to (hit line + ViewerAto)
  VIEWER_HR = 2,     // the "<HR>" range around the hit, with HTML entities decoded
};

struct ViewerSettings {
  bool ViewerRangeView = true;    // the viewer is shown at all
  int ViewerRange = VIEWER_LINES; // 0..2
  int ViewerMae = 0;              // lines before the hit line, 0..255
  int ViewerAto = 5;              // lines after the hit line, 0..255
  uint32_t ViewerLookIro = 255;   // highlight colour, red in the lowest byte
  std::map<std::string, int> FixMap;  // per-path overrides of ViewerRange (-1..2), path compared exactly

  // The viewer has a pane: it is shown at all, with one of its three ranges.
  bool IsShown() const { return ViewerRangeView && ViewerRange >= VIEWER_ALL && ViewerRange <= VIEWER_HR; }
};

// Reads both sections with their clamps (see the definitions).
void LoadViewerSettings(const IniFile& ini, ViewerSettings& viewer);
// Writes "Viewer Section" and rewrites "ViewerFix Section" whole, without gaps.
void SaveViewerSettings(IniFile& ini, const ViewerSettings& viewer);
