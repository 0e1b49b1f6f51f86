// The main dialog's own layout: every control's rectangle computed from the client size and a few sizes
// measured once from the dialog as designed, the splitter between the text list and the viewer (its
// "ViewerY", the region, the drag), the size grip in the bottom-right corner and the minimum window size.
// All measures are pixels of the client area; nothing here knows a toolkit.
#pragma once

#include <array>
#include <optional>
#include <vector>

// Numeric ids of the main dialog's controls (their toolkit objects are named id<ID>).
enum MainControlId : int {
  kIdPatternBox = 1001,
  kIdPatternLabel = 1002,
  kIdSearchButton = 1003,
  kIdLocationBox = 1004,
  kIdLocationLabel = 1005,
  kIdBrowseButton = 1006,
  kIdSettingsButton = 1007,
  kIdTextList = 1008,
  kIdFileList = 1009,
  kIdViewer = 1010,
  kIdHitCount = 1020,
  kIdProgress = 1021,
  kIdDateIndicator = 1022,
  kIdSizeIndicator = 1023,
  kIdAttributesIndicator = 1024,
  kIdCodeIndicator = 1025,
  kIdTextButton = 1030,
  kIdFileButton = 1031,
  kIdFolderButton = 1032,
  kIdSizeGrip = 1093,
};

struct LayoutSize {
  int width = 0;
  int height = 0;
  bool operator==(const LayoutSize&) const = default;
};

// A rectangle by its top-left corner and size. It holds the points x..x+width-1, y..y+height-1.
struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const LayoutRect&) const = default;

  bool Empty() const { return width <= 0 || height <= 0; }
  // True when the point lies inside (never for an empty rectangle).
  bool Contains(int px, int py) const;
};

// The four status indicators in the order they are placed from the right edge leftwards.
enum IndicatorSlot : int { kSlotCode, kSlotSize, kSlotDate, kSlotAttributes, kIndicatorCount };
// The control id of each slot: "SJIS" 1025, "ｻｲｽﾞ" 1023, "日時" 1022, "属性" 1024.
inline constexpr std::array<int, kIndicatorCount> kIndicatorIds = {kIdCodeIndicator, kIdSizeIndicator,
                                                                   kIdDateIndicator, kIdAttributesIndicator};

// The size of the bottom-right square that is the size grip.
inline constexpr int kSizeGripSize = 12;

// Sizes measured once while the dialog initialises, from the controls as created from the dialog's
// design, before the stored frame is applied. Controls not listed here are sized by the layout.
struct MainMeasures {
  LayoutSize window;          // outer size of the dialog as designed: also the smallest it may become
  LayoutSize patternLabel;    // 1002 "文字列(&M):"
  LayoutSize locationLabel;   // 1005 "場所(&L):"; its width is W_label
  int comboHeight = 0;        // H_combo: height of the pattern box 1001 as created
  LayoutSize searchButton;    // 1003: W_btn × H_btn, which place the button column and the kind buttons
  LayoutSize textButton;      // 1030
  LayoutSize fileButton;      // 1031
  LayoutSize folderButton;    // 1032
  LayoutSize settingsButton;  // 1007
  LayoutSize browseButton;    // 1006
  LayoutSize hitCount;        // 1020: W_cnt × H_stat; H_stat is the height of the status row
  std::array<LayoutSize, kIndicatorCount> indicators;  // by IndicatorSlot
};

// What changes between two layouts.
struct LayoutState {
  LayoutSize client;
  int viewerY = 50;  // stored splitter value: top of the splitter band to the client's bottom
  bool viewerShown = false;
  std::array<bool, kIndicatorCount> indicatorVisible{};  // by IndicatorSlot
};

struct ControlPlace {
  int id = 0;
  LayoutRect rect;
  bool operator==(const ControlPlace&) const = default;
};

struct MainLayout {
  int viewerY = 0;  // "ViewerY" after the clamp: the value to keep and to save
  // Every control the layout moves, in one batch: the viewer only while it is shown, an indicator only
  // while it is visible. A computed width or height below 0 is given as 0.
  std::vector<ControlPlace> places;
  LayoutRect splitter;  // the splitter region; empty while the viewer is hidden

  // The place of a control, or null when this layout does not move it.
  const LayoutRect* Find(int id) const;
};

// "ViewerY" kept inside the client: at most H − 5·H_btn − 20, then at least H_btn + H_stat + 4 (the
// lower bound wins when the two conflict).
int ClampViewerY(int viewerY, int clientHeight, int buttonHeight, int statusHeight);

// The whole layout for one client size and state. The text list and the file list are both placed
// (only one of them is visible); the text list ends at the splitter band while the viewer is shown and
// at the status row otherwise.
MainLayout LayOutMainDialog(const MainMeasures& measures, const LayoutState& state);

// The smallest outer size the window may be given: its designed size.
inline LayoutSize MinimumWindowSize(const MainMeasures& measures) {
  return measures.window;
}

// True when a client point lies in the size grip's square, which answers as the bottom-right sizing
// border so that dragging there resizes the window.
bool InSizeGrip(LayoutSize client, int x, int y);

// One line of the size grip's 12 × 12 picture, from (x0, y0) towards (x1, y1), the end point itself not
// drawn; the picture is first filled with the button-face colour.
struct GripLine {
  bool highlight = false;  // highlight colour, else shadow colour
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
  bool operator==(const GripLine&) const = default;
};

// The diagonal lines of a size-grip picture of the given size, in drawing order: for each offset 1, 5, 9
// below the width, one highlight line and two shadow lines from the bottom edge to the right edge.
std::vector<GripLine> SizeGripLines(int width, int height);

// The splitter drag between the text list and the viewer. The splitter cursor shows while the mouse is
// over the region (MainLayout::splitter.Contains).
class SplitterDrag {
 public:
  // Left button down at a client point: a drag starts when the point is inside the splitter region.
  // True when it started; the window then captures the mouse.
  bool Press(const LayoutRect& splitter, int x, int y, int viewerY);
  // Mouse move while dragging: the new "ViewerY" (not clamped; the next layout clamps it), or nothing
  // when no drag is going on.
  std::optional<int> Move(int y) const;
  // Left button up, or the capture lost for any other reason: the drag ends.
  void Release() { dragging_ = false; }
  bool Dragging() const { return dragging_; }

 private:
  bool dragging_ = false;
  long long anchor_ = 0;  // y + ViewerY at the press
};
