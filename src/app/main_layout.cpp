#include "app/main_layout.h"

#include <algorithm>
#include <climits>

namespace {

// The splitter band between the text list and the viewer is this high.
constexpr int kSplitterBand = 4;

int Saturate(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void Place(MainLayout& layout, int id, int x, int y, int width, int height) {
  layout.places.push_back({id, {x, y, std::max(width, 0), std::max(height, 0)}});
}

void Place(MainLayout& layout, int id, int x, int y, LayoutSize kept) {
  Place(layout, id, x, y, kept.width, kept.height);
}

// The two rows of boxes and buttons at the top.
void PlaceTopRows(const MainMeasures& m, int w, MainLayout& layout) {
  const int wLabel = m.locationLabel.width;
  const int wBtn = m.searchButton.width;
  const int hBtn = m.searchButton.height;
  const int boxWidth = w - wLabel - wBtn - 22;
  Place(layout, kIdPatternLabel, 6, 12, m.patternLabel);
  Place(layout, kIdPatternBox, wLabel + 6, 8, boxWidth, m.comboHeight);
  Place(layout, kIdSearchButton, w - wBtn - 6, 7, m.searchButton);
  Place(layout, kIdTextButton, w - 4 * wBtn + 6, hBtn + 11, m.textButton);
  Place(layout, kIdFileButton, w - 3 * wBtn, hBtn + 11, m.fileButton);
  Place(layout, kIdFolderButton, w - 2 * wBtn - 6, hBtn + 11, m.folderButton);
  Place(layout, kIdSettingsButton, w - wBtn - 6, hBtn + 11, m.settingsButton);
  Place(layout, kIdLocationLabel, 6, 2 * hBtn + 20, m.locationLabel);
  Place(layout, kIdLocationBox, wLabel + 6, 2 * hBtn + 16, boxWidth, m.comboHeight);
  Place(layout, kIdBrowseButton, w - wBtn - 6, 2 * hBtn + 15, m.browseButton);
}

// The two result lists and, while it is shown, the viewer below the splitter band.
void PlaceLists(const MainMeasures& m, const LayoutState& s, int viewerY, MainLayout& layout) {
  const int w = s.client.width;
  const int h = s.client.height;
  const int hBtn = m.searchButton.height;
  const int hStat = m.hitCount.height;
  const int top = 3 * hBtn + 20;
  const int fullHeight = h - 3 * hBtn - hStat - 22;
  Place(layout, kIdFileList, 2, top, w - 4, fullHeight);
  if (s.viewerShown) {
    Place(layout, kIdTextList, 2, top, w - 4, h - 3 * hBtn - viewerY - 20);
    Place(layout, kIdViewer, 2, h - viewerY + kSplitterBand, w - 4, viewerY - hStat - 6);
  } else {
    Place(layout, kIdTextList, 2, top, w - 4, fullHeight);
  }
}

// The status row: the hit count at the left, the visible indicators from the right edge leftwards with
// 2 pixels between them, the progress field filling the space between, the size grip in the corner.
void PlaceStatusRow(const MainMeasures& m, const LayoutState& s, MainLayout& layout) {
  const int w = s.client.width;
  const int h = s.client.height;
  const int hStat = m.hitCount.height;
  const int wCnt = m.hitCount.width;
  Place(layout, kIdHitCount, 4, h - hStat, m.hitCount);
  int x = w - 10;
  for (int slot = 0; slot < kIndicatorCount; ++slot) {
    if (!s.indicatorVisible[slot]) continue;
    x -= m.indicators[slot].width + 2;
    Place(layout, kIndicatorIds[slot], x, h - hStat, m.indicators[slot]);
  }
  Place(layout, kIdProgress, wCnt + 6, h - hStat, x - wCnt - 8, hStat);
  Place(layout, kIdSizeGrip, w - kSizeGripSize, h - kSizeGripSize, kSizeGripSize, kSizeGripSize);
}

}  // namespace

bool LayoutRect::Contains(int px, int py) const {
  return !Empty() && px >= x && py >= y && static_cast<long long>(px) < static_cast<long long>(x) + width &&
         static_cast<long long>(py) < static_cast<long long>(y) + height;
}

const LayoutRect* MainLayout::Find(int id) const {
  for (const ControlPlace& place : places) {
    if (place.id == id) return &place.rect;
  }
  return nullptr;
}

int ClampViewerY(int viewerY, int clientHeight, int buttonHeight, int statusHeight) {
  long long upper = static_cast<long long>(clientHeight) - 5LL * buttonHeight - 20;
  long long lower = static_cast<long long>(buttonHeight) + statusHeight + 4;
  long long value = std::min<long long>(viewerY, upper);
  return Saturate(std::max(value, lower));
}

MainLayout LayOutMainDialog(const MainMeasures& measures, const LayoutState& state) {
  MainLayout layout;
  layout.viewerY = ClampViewerY(state.viewerY, state.client.height, measures.searchButton.height,
                                measures.hitCount.height);
  PlaceTopRows(measures, state.client.width, layout);
  PlaceLists(measures, state, layout.viewerY, layout);
  PlaceStatusRow(measures, state, layout);
  if (state.viewerShown) {
    const int top = state.client.height - layout.viewerY;
    layout.splitter = {6, top, std::max(state.client.width - 18, 0), kSplitterBand};
  }
  return layout;
}

bool InSizeGrip(LayoutSize client, int x, int y) {
  return LayoutRect{client.width - kSizeGripSize, client.height - kSizeGripSize, kSizeGripSize, kSizeGripSize}
      .Contains(x, y);
}

std::vector<GripLine> SizeGripLines(int width, int height) {
  std::vector<GripLine> lines;
  for (int o : {1, 5, 9}) {
    if (o >= width) break;
    lines.push_back({true, o, height - 1, width, o - 1});
    lines.push_back({false, o + 1, height - 1, width, o});
    lines.push_back({false, o + 2, height - 1, width, o + 1});
  }
  return lines;
}

bool SplitterDrag::Press(const LayoutRect& splitter, int x, int y, int viewerY) {
  if (!splitter.Contains(x, y)) return false;
  dragging_ = true;
  anchor_ = static_cast<long long>(y) + viewerY;
  return true;
}

std::optional<int> SplitterDrag::Move(int y) const {
  if (!dragging_) return std::nullopt;
  return Saturate(anchor_ - y);
}
