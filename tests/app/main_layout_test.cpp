#include "app/main_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// Sizes of a dialog as a toolkit might render its design: W_label 60, H_combo 22, W_btn 75, H_btn 23,
// W_cnt 80, H_stat 18.
MainMeasures Measures() {
  MainMeasures m;
  m.window = {520, 360};
  m.patternLabel = {58, 14};
  m.locationLabel = {60, 14};
  m.comboHeight = 22;
  m.searchButton = {75, 23};
  m.textButton = {70, 20};
  m.fileButton = {71, 20};
  m.folderButton = {72, 20};
  m.settingsButton = {75, 23};
  m.browseButton = {75, 23};
  m.hitCount = {80, 18};
  m.indicators = {LayoutSize{30, 18}, LayoutSize{32, 18}, LayoutSize{34, 18}, LayoutSize{36, 18}};
  return m;
}

LayoutState State(int w, int h, int viewerY, bool viewerShown, std::array<bool, 4> indicators = {}) {
  LayoutState s;
  s.client = {w, h};
  s.viewerY = viewerY;
  s.viewerShown = viewerShown;
  s.indicatorVisible = indicators;
  return s;
}

LayoutRect At(const MainLayout& layout, int id) {
  const LayoutRect* rect = layout.Find(id);
  EXPECT_NE(rect, nullptr) << "control " << id << " is not placed";
  return rect ? *rect : LayoutRect{};
}

TEST(MainLayout, EveryControlOfTheTableWithTheViewerShown) {
  // W 600, H 400, ViewerY 150 (inside 45 .. 265); every indicator visible.
  MainLayout layout = LayOutMainDialog(Measures(), State(600, 400, 150, true, {true, true, true, true}));
  EXPECT_EQ(layout.viewerY, 150);
  std::vector<ControlPlace> expected = {
      {kIdPatternLabel, {6, 12, 58, 14}},
      {kIdPatternBox, {66, 8, 600 - 60 - 75 - 22, 22}},
      {kIdSearchButton, {600 - 75 - 6, 7, 75, 23}},
      {kIdTextButton, {600 - 300 + 6, 34, 70, 20}},
      {kIdFileButton, {600 - 225, 34, 71, 20}},
      {kIdFolderButton, {600 - 150 - 6, 34, 72, 20}},
      {kIdSettingsButton, {519, 34, 75, 23}},
      {kIdLocationLabel, {6, 66, 60, 14}},
      {kIdLocationBox, {66, 62, 443, 22}},
      {kIdBrowseButton, {519, 61, 75, 23}},
      {kIdFileList, {2, 89, 596, 400 - 69 - 18 - 22}},
      {kIdTextList, {2, 89, 596, 400 - 69 - 150 - 20}},
      {kIdViewer, {2, 400 - 150 + 4, 596, 150 - 18 - 6}},
      {kIdHitCount, {4, 382, 80, 18}},
      {kIdCodeIndicator, {590 - 32, 382, 30, 18}},
      {kIdSizeIndicator, {558 - 34, 382, 32, 18}},
      {kIdDateIndicator, {524 - 36, 382, 34, 18}},
      {kIdAttributesIndicator, {488 - 38, 382, 36, 18}},
      {kIdProgress, {86, 382, 450 - 80 - 8, 18}},
      {kIdSizeGrip, {588, 388, 12, 12}},
  };
  EXPECT_EQ(layout.places, expected);
  // The text list ends at the splitter band, the band is 4 pixels, the viewer ends 2 above the status row.
  LayoutRect list = At(layout, kIdTextList), viewer = At(layout, kIdViewer);
  EXPECT_EQ(list.y + list.height, 400 - 150);
  EXPECT_EQ(viewer.y - (list.y + list.height), 4);
  EXPECT_EQ(viewer.y + viewer.height, 400 - 18 - 2);
  EXPECT_EQ(layout.splitter, (LayoutRect{6, 250, 600 - 18, 4}));
}

TEST(MainLayout, ViewerYIsClampedToTheClient) {
  // H_btn 23, H_stat 18: the lower bound is 45; the upper bound is H − 135.
  struct Case {
    const char* name;
    int viewerY;
    int clientHeight;
    int expected;
  };
  Case cases[] = {
      {"5 from the profile grows to H_btn + H_stat + 4", 5, 400, 45},
      {"the default 50 stays", 50, 400, 50},
      {"the lower bound itself stays", 45, 400, 45},
      {"the upper bound itself stays", 265, 400, 265},
      {"one above the upper bound", 266, 400, 265},
      {"huge", 100000, 400, 265},
      {"the largest integer", INT_MAX, 400, 265},
      {"negative", -40, 400, 45},
      {"the smallest integer", INT_MIN, 400, 45},
      {"a client too low for both bounds: the lower bound wins", 100, 150, 45},
      {"a client of height 0", 50, 0, 45},
      {"a negative client height", 50, -1000, 45},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClampViewerY(c.viewerY, c.clientHeight, 23, 18), c.expected) << c.name;
    MainLayout layout = LayOutMainDialog(Measures(), State(600, c.clientHeight, c.viewerY, true));
    EXPECT_EQ(layout.viewerY, c.expected) << c.name;
    EXPECT_EQ(layout.splitter.y, c.clientHeight - c.expected) << c.name;
  }
}

TEST(MainLayout, HiddenViewerLeavesNoSplitterAndTheListFillsToTheStatusRow) {
  MainLayout layout = LayOutMainDialog(Measures(), State(600, 400, 150, false));
  EXPECT_EQ(layout.Find(kIdViewer), nullptr);
  EXPECT_TRUE(layout.splitter.Empty());
  EXPECT_EQ(At(layout, kIdTextList), At(layout, kIdFileList));
  LayoutRect list = At(layout, kIdTextList);
  EXPECT_EQ(list.y + list.height, 400 - 18 - 2);
  for (int y = 0; y < 400; ++y) EXPECT_FALSE(layout.splitter.Contains(100, y)) << y;
  // The stored value is still clamped, so that it is saved in range.
  EXPECT_EQ(LayOutMainDialog(Measures(), State(600, 400, 5, false)).viewerY, 45);
}

TEST(MainLayout, IndicatorsLineUpFromTheRightEdge) {
  struct Case {
    const char* name;
    std::array<bool, 4> visible;  // SJIS, ｻｲｽﾞ, 日時, 属性
    std::vector<ControlPlace> indicators;
    int progressEnd;  // one past the progress field's last pixel
  };
  Case cases[] = {
      {"none: the progress field ends 12 pixels from the edge", {false, false, false, false}, {}, 588},
      {"only 日時 and SJIS",
       {true, false, true, false},
       {{kIdCodeIndicator, {558, 382, 30, 18}}, {kIdDateIndicator, {522, 382, 34, 18}}},
       520},
      {"only 属性", {false, false, false, true}, {{kIdAttributesIndicator, {552, 382, 36, 18}}}, 550},
  };
  for (const Case& c : cases) {
    MainLayout layout = LayOutMainDialog(Measures(), State(600, 400, 150, true, c.visible));
    std::vector<ControlPlace> indicators;
    for (const ControlPlace& place : layout.places) {
      for (int id : kIndicatorIds) {
        if (place.id == id) indicators.push_back(place);
      }
    }
    EXPECT_EQ(indicators, c.indicators) << c.name;
    LayoutRect progress = At(layout, kIdProgress);
    EXPECT_EQ(progress.x, 86) << c.name;
    EXPECT_EQ(progress.x + progress.width, c.progressEnd) << c.name;
  }
}

TEST(MainLayout, TinyAndNegativeClientsGiveNoNegativeSizes) {
  for (LayoutSize client :
       {LayoutSize{0, 0}, LayoutSize{10, 10}, LayoutSize{-50, -50}, LayoutSize{100, 60}}) {
    for (bool viewer : {false, true}) {
      MainLayout layout = LayOutMainDialog(
          Measures(), State(client.width, client.height, 50, viewer, {true, true, true, true}));
      for (const ControlPlace& place : layout.places) {
        EXPECT_GE(place.rect.width, 0) << place.id << " at " << client.width << "x" << client.height;
        EXPECT_GE(place.rect.height, 0) << place.id << " at " << client.width << "x" << client.height;
      }
      EXPECT_GE(layout.splitter.width, 0);
    }
  }
}

TEST(MainLayout, MinimumSizeIsTheDesignedSize) {
  EXPECT_EQ(MinimumWindowSize(Measures()), (LayoutSize{520, 360}));
}

TEST(MainLayout, SplitterDrag) {
  const int h = 400;
  MainLayout layout = LayOutMainDialog(Measures(), State(600, h, 150, true));
  const LayoutRect band = layout.splitter;  // y 250 .. 253, x 6 .. 587
  SplitterDrag drag;
  EXPECT_FALSE(drag.Press(band, 300, band.y - 1, layout.viewerY)) << "above the band";
  EXPECT_FALSE(drag.Press(band, 300, band.y + 4, layout.viewerY)) << "below the band";
  EXPECT_FALSE(drag.Press(band, 5, band.y, layout.viewerY)) << "left of the band";
  EXPECT_FALSE(drag.Press(band, 588, band.y, layout.viewerY)) << "right of the band";
  EXPECT_FALSE(drag.Dragging());
  EXPECT_EQ(drag.Move(100), std::nullopt);

  ASSERT_TRUE(drag.Press(band, 300, band.y + 2, layout.viewerY));
  EXPECT_TRUE(drag.Dragging());
  // Moving up by 30 pixels makes the viewer 30 pixels taller.
  EXPECT_EQ(drag.Move(band.y + 2 - 30), 180);
  // Dragged to the top of the window, the viewer stops at H − 5·H_btn − 20.
  std::optional<int> top = drag.Move(0);
  ASSERT_TRUE(top);
  EXPECT_EQ(LayOutMainDialog(Measures(), State(600, h, *top, true)).viewerY, h - 5 * 23 - 20);
  // Dragged far below the window (the mouse is captured), it stops at the lower bound.
  std::optional<int> below = drag.Move(INT_MAX);
  ASSERT_TRUE(below);
  EXPECT_EQ(LayOutMainDialog(Measures(), State(600, h, *below, true)).viewerY, 45);
  drag.Release();
  EXPECT_FALSE(drag.Dragging());
  EXPECT_EQ(drag.Move(100), std::nullopt);

  // A hidden viewer has an empty region: no press starts a drag.
  EXPECT_FALSE(drag.Press(LayOutMainDialog(Measures(), State(600, h, 150, false)).splitter, 300, 250, 150));
}

TEST(MainLayout, SizeGripHitTest) {
  struct Case {
    int x, y;
    bool inside;
  };
  Case cases[] = {{599, 399, true},  {588, 388, true},  {587, 399, false}, {599, 387, false},
                  {600, 399, false}, {599, 400, false}, {0, 0, false}};
  for (const Case& c : cases) EXPECT_EQ(InSizeGrip({600, 400}, c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(MainLayout, SizeGripPicture) {
  std::vector<GripLine> expected = {
      {true, 1, 11, 12, 0}, {false, 2, 11, 12, 1},  {false, 3, 11, 12, 2},
      {true, 5, 11, 12, 4}, {false, 6, 11, 12, 5},  {false, 7, 11, 12, 6},
      {true, 9, 11, 12, 8}, {false, 10, 11, 12, 9}, {false, 11, 11, 12, 10},
  };
  EXPECT_EQ(SizeGripLines(12, 12), expected);
  EXPECT_EQ(SizeGripLines(6, 12).size(), 6u) << "offset 9 is not below the width 6";
  EXPECT_TRUE(SizeGripLines(1, 12).empty());
}

}  // namespace
