// "Viewer Section" and "ViewerFix Section": every clamp, the absent-key sentinel, paths resolved when
// they exist, flags kept to -1..2, and the overrides rewritten without gaps.
#include "results/viewer_settings.h"

#include <gtest/gtest.h>

#include "testkit/temp_tree.h"

namespace {

ViewerSettings Loaded(const std::string& profile) {
  ViewerSettings viewer;
  viewer.FixMap["stale"] = 1;  // loading replaces what was there
  LoadViewerSettings(IniFile(profile), viewer);
  return viewer;
}

TEST(ViewerSettingsTest, DefaultsWithoutAProfile) {
  const ViewerSettings viewer = Loaded("");
  EXPECT_TRUE(viewer.ViewerRangeView);
  EXPECT_EQ(viewer.ViewerRange, 1);
  EXPECT_EQ(viewer.ViewerMae, 0);
  EXPECT_EQ(viewer.ViewerAto, 5);
  EXPECT_EQ(viewer.ViewerLookIro, 255u);
  EXPECT_TRUE(viewer.FixMap.empty());
  EXPECT_TRUE(viewer.IsShown());
}

TEST(ViewerSettingsTest, ValuesBroughtIntoRange) {
  struct Case {
    const char* key;
    const char* value;
    int expected;
    int ViewerSettings::*field;
  };
  const Case cases[] = {
      {"ViewerRange", "0", 0, &ViewerSettings::ViewerRange},
      {"ViewerRange", "2", 2, &ViewerSettings::ViewerRange},
      {"ViewerRange", "7", 1, &ViewerSettings::ViewerRange},
      {"ViewerRange", "-1", 1, &ViewerSettings::ViewerRange},
      {"ViewerMae", "300", 255, &ViewerSettings::ViewerMae},
      {"ViewerMae", "255", 255, &ViewerSettings::ViewerMae},
      {"ViewerMae", "-4", 0, &ViewerSettings::ViewerMae},
      {"ViewerAto", "256", 255, &ViewerSettings::ViewerAto},
      {"ViewerAto", "-1", 0, &ViewerSettings::ViewerAto},
      {"ViewerAto", "junk", 0, &ViewerSettings::ViewerAto},
  };
  for (const Case& c : cases) {
    const ViewerSettings viewer = Loaded(std::string("[Viewer Section]\n") + c.key + "=" + c.value + "\n");
    EXPECT_EQ(viewer.*c.field, c.expected) << c.key << "=" << c.value;
  }
  EXPECT_FALSE(Loaded("[Viewer Section]\nViewerRangeView=0\n").ViewerRangeView);
  EXPECT_FALSE(Loaded("[Viewer Section]\nViewerRangeView=0\n").IsShown());
  EXPECT_TRUE(Loaded("[Viewer Section]\nViewerRangeView=-3\n").ViewerRangeView);
  EXPECT_EQ(Loaded("[Viewer Section]\nViewerLookIro=4294967295\n").ViewerLookIro, 4294967295u);
  EXPECT_EQ(Loaded("[Viewer Section]\nViewerLookIro=65280\n").ViewerLookIro, 65280u);
}

TEST(ViewerSettingsTest, Overrides) {
  TempTree tree;
  const std::string folder = tree.Folder("docs");
  const ViewerSettings viewer = Loaded(
      "[ViewerFix Section]\n"
      "Fix0=" + folder + "/./\nFixFlag0=-1\n"
      "Fix1=/no/such/Place\nFixFlag1=2\n"
      "Fix2=/garbage\nFixFlag2=9\n"
      "Fix3=/text\nFixFlag3=x\n"
      "Fix4=/no/such/Place\nFixFlag4=0\n"
      "Fix5=\nFixFlag5=1\n"
      "Fix7=/after/the/gap\nFixFlag7=1\n");
  const std::map<std::string, int> expected = {
      {folder, -1},             // resolved to the folder's own name
      {"/no/such/Place", 0},    // kept as written; the later entry wins
      {"/garbage", -1},         // flags other than 0, 1, 2
      {"/text", 0},             // no digits read as 0, as the profile reader reads them
      {"", 1},                  // present but empty: read, and reading goes on
  };
  EXPECT_EQ(viewer.FixMap, expected);
}

TEST(ViewerSettingsTest, SavedWithoutGapsAndReadBack) {
  ViewerSettings viewer;
  viewer.ViewerRangeView = false;
  viewer.ViewerRange = 2;
  viewer.ViewerMae = 3;
  viewer.ViewerAto = 255;
  viewer.ViewerLookIro = 4294967295u;
  viewer.FixMap = {{"/a", 0}, {"/b", -1}, {"/c\nd", 1}, {"/e", 2}};
  IniFile ini("[ViewerFix Section]\nFix0=/old\nFixFlag0=1\nFix9=/left\n[Other]\nk=v\n");
  SaveViewerSettings(ini, viewer);
  const std::string text = ini.Text();
  EXPECT_NE(text.find("ViewerLookIro=4294967295\r\n"), std::string::npos);
  EXPECT_NE(text.find("Fix0=/a\r\nFixFlag0=0\r\nFix1=/b\r\nFixFlag1=-1\r\nFix2=/e\r\nFixFlag2=2\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("/old"), std::string::npos);
  EXPECT_EQ(text.find("Fix9"), std::string::npos);
  EXPECT_NE(text.find("[Other]\r\nk=v"), std::string::npos);
  ViewerSettings back;
  LoadViewerSettings(ini, back);
  EXPECT_FALSE(back.ViewerRangeView);
  EXPECT_EQ(back.ViewerRange, 2);
  EXPECT_EQ(back.ViewerMae, 3);
  EXPECT_EQ(back.ViewerAto, 255);
  EXPECT_EQ(back.ViewerLookIro, 4294967295u);
  EXPECT_EQ(back.FixMap, (std::map<std::string, int>{{"/a", 0}, {"/b", -1}, {"/e", 2}}));
}

TEST(ViewerSettingsTest, TenThousandOverridesWithGarbageFlags) {
  std::string profile = "[ViewerFix Section]\n";
  for (int n = 0; n < 10000; ++n) {
    profile += "Fix" + std::to_string(n) + "=/p" + std::to_string(n) + "\n";
    profile += "FixFlag" + std::to_string(n) + "=" + (n % 3 == 0 ? "1" : n % 3 == 1 ? "77x" : "") + "\n";
  }
  const ViewerSettings viewer = Loaded(profile);
  ASSERT_EQ(viewer.FixMap.size(), 10000u);
  EXPECT_EQ(viewer.FixMap.at("/p3"), 1);
  EXPECT_EQ(viewer.FixMap.at("/p4"), -1);
  EXPECT_EQ(viewer.FixMap.at("/p5"), -1);
  IniFile ini;
  SaveViewerSettings(ini, viewer);
  ViewerSettings back;
  LoadViewerSettings(ini, back);
  EXPECT_EQ(back.FixMap, viewer.FixMap);
}

}  // namespace
