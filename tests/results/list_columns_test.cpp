#include "results/list_columns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/strings.h"
#include "search/found.h"

namespace {

using Ints = std::vector<int>;

constexpr int kScreen = 1920;

std::string FileSection(const std::string& keys) {
  return "[SearchListFile Section]\r\n" + keys;
}

std::string TextSection(const std::string& keys) {
  return "[SearchListMoji Section]\r\n" + keys;
}

TEST(ListColumns, FileListLoad) {
  const Ints defaults = {96, 96, 48, 64, 64, 48, 64, 64};
  struct Case {
    const char* name;
    std::string profile;
    int screenWidth;
    bool folderDetail;
    Ints widths;
    Ints order;
  };
  Case cases[] = {
      {"no profile: all eight in logical order", "", kScreen, true, defaults, {0, 1, 2, 3, 4, 5, 6, 7}},
      {"FolderExF 0: six columns",
       FileSection("FolderExF=0\r\n"),
       kScreen,
       false,
       {96, 96, 48, 64, 64, 48, -1, -1},
       {0, 1, 2, 3, 4, 5}},
      {"FolderExF other than 0 is on",
       FileSection("FolderExF=-3\r\n"),
       kScreen,
       true,
       defaults,
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"a width below 16 is 16",
       FileSection("CtlColWidth02=5\r\n"),
       kScreen,
       true,
       {96, 96, 16, 64, 64, 48, 64, 64},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"a width above the screen is the screen width",
       FileSection("CtlColWidth00=5000\r\n"),
       kScreen,
       true,
       {1920, 96, 48, 64, 64, 48, 64, 64},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"-1 is the default width",
       FileSection("CtlColWidth02=-1\r\n"),
       kScreen,
       true,
       defaults,
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"a width that wraps to negative is the default",
       FileSection("CtlColWidth02=4294967295\r\n"),
       kScreen,
       true,
       defaults,
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"a width without digits reads 0 and becomes 16",
       FileSection("CtlColWidth03=wide\r\n"),
       kScreen,
       true,
       {96, 96, 48, 16, 64, 48, 64, 64},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"an empty width is the default",
       FileSection("CtlColWidth03=\r\n"),
       kScreen,
       true,
       defaults,
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"stored widths of shown columns",
       FileSection("CtlColWidth00=200\r\nCtlColWidth07=17\r\n"),
       kScreen,
       true,
       {200, 96, 48, 64, 64, 48, 64, 17},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"without folder detail stored widths of 6 and 7 are not shown",
       FileSection("FolderExF=0\r\nCtlColWidth06=70\r\n"),
       kScreen,
       false,
       {96, 96, 48, 64, 64, 48, -1, -1},
       {0, 1, 2, 3, 4, 5}},
      {"an unknown screen width sets no upper limit",
       FileSection("CtlColWidth00=5000\r\n"),
       0,
       true,
       {5000, 96, 48, 64, 64, 48, 64, 64},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"a screen narrower than 16: the screen width wins",
       "",
       10,
       true,
       Ints(8, 10),
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"a stored permutation",
       FileSection("CtlColIndex00=7\r\nCtlColIndex01=6\r\nCtlColIndex02=5\r\nCtlColIndex03=4\r\n"
                   "CtlColIndex04=3\r\nCtlColIndex05=2\r\nCtlColIndex06=1\r\nCtlColIndex07=0\r\n"),
       kScreen,
       true,
       defaults,
       {7, 6, 5, 4, 3, 2, 1, 0}},
      {"a duplicate makes the identity",
       FileSection("CtlColIndex03=1\r\nCtlColIndex01=1\r\n"),
       kScreen,
       true,
       defaults,
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"an entry above 7 makes the identity",
       FileSection("CtlColIndex05=9\r\n"),
       kScreen,
       true,
       defaults,
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"a negative entry makes the identity",
       FileSection("CtlColIndex00=-1\r\nCtlColIndex07=0\r\n"),
       kScreen,
       true,
       defaults,
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"a swap that is a permutation is kept",
       FileSection("CtlColIndex00=1\r\nCtlColIndex01=0\r\n"),
       kScreen,
       true,
       defaults,
       {1, 0, 2, 3, 4, 5, 6, 7}},
      {"without folder detail an order naming 6 first still shows the six columns once",
       FileSection("FolderExF=0\r\nCtlColIndex00=6\r\nCtlColIndex01=5\r\nCtlColIndex02=0\r\n"
                   "CtlColIndex03=1\r\nCtlColIndex04=2\r\nCtlColIndex05=3\r\nCtlColIndex06=4\r\n"),
       kScreen,
       false,
       {96, 96, 48, 64, 64, 48, -1, -1},
       {5, 0, 1, 2, 3, 4}},
      {"the text list's section is not read",
       TextSection("CtlColWidth00=300\r\n"),
       kScreen,
       true,
       defaults,
       {0, 1, 2, 3, 4, 5, 6, 7}},
  };
  for (const Case& c : cases) {
    ListColumns columns = LoadFileListColumns(IniFile(c.profile), c.screenWidth);
    EXPECT_EQ(columns.folderDetail, c.folderDetail) << c.name;
    EXPECT_EQ(columns.widths, c.widths) << c.name;
    EXPECT_EQ(columns.order, c.order) << c.name;
  }
}

TEST(ListColumns, TextListLoad) {
  const Ints defaults = {96, 96, 32, 256};
  struct Case {
    const char* name;
    std::string profile;
    Ints widths;
    Ints order;
  };
  Case cases[] = {
      {"no profile", "", defaults, {0, 1, 2, 3}},
      {"CtlColIndex02 of 7 makes the identity", TextSection("CtlColIndex02=7\r\n"), defaults, {0, 1, 2, 3}},
      {"a repeated entry makes the identity", TextSection("CtlColIndex00=3\r\n"), defaults, {0, 1, 2, 3}},
      {"a stored permutation",
       TextSection("CtlColIndex00=3\r\nCtlColIndex01=2\r\nCtlColIndex02=0\r\nCtlColIndex03=1\r\n"),
       defaults,
       {3, 2, 0, 1}},
      {"widths clamped, a negative one is the default",
       TextSection("CtlColWidth00=0\r\nCtlColWidth01=-7\r\nCtlColWidth02=99999\r\nCtlColWidth03=300\r\n"),
       {16, 96, 1920, 300},
       {0, 1, 2, 3}},
      {"keys beyond the four columns are not read",
       TextSection("CtlColIndex04=0\r\nCtlColWidth04=5\r\n"),
       defaults,
       {0, 1, 2, 3}},
      {"no folder detail in this section", TextSection("FolderExF=0\r\n"), defaults, {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    ListColumns columns = LoadTextListColumns(IniFile(c.profile), kScreen);
    EXPECT_EQ(columns.widths, c.widths) << c.name;
    EXPECT_EQ(columns.order, c.order) << c.name;
  }
}

TEST(ListColumns, SaveWritesEveryKeyAndKeepsHiddenColumnsLast) {
  IniFile ini(FileSection("FolderExF=0\r\n"));
  ListColumns columns = LoadFileListColumns(ini, kScreen);
  columns.widths[0] = 150;
  columns.order = {5, 0, 1, 2, 3, 4};  // the user dragged the attributes column to the front
  SaveFileListColumns(ini, columns);
  EXPECT_EQ(ini.Text(),
            FileSection("FolderExF=0\r\n"
                        "CtlColWidth00=150\r\nCtlColWidth01=96\r\nCtlColWidth02=48\r\nCtlColWidth03=64\r\n"
                        "CtlColWidth04=64\r\nCtlColWidth05=48\r\nCtlColWidth06=-1\r\nCtlColWidth07=-1\r\n"
                        "CtlColIndex00=5\r\nCtlColIndex01=0\r\nCtlColIndex02=1\r\nCtlColIndex03=2\r\n"
                        "CtlColIndex04=3\r\nCtlColIndex05=4\r\nCtlColIndex06=6\r\nCtlColIndex07=7\r\n"));
  // The reordering of the six shown columns survives a restart, also one with folder detail back on.
  ListColumns reloaded = LoadFileListColumns(ini, kScreen);
  EXPECT_EQ(reloaded.order, (Ints{5, 0, 1, 2, 3, 4}));
  EXPECT_EQ(reloaded.widths, columns.widths);
  ini.WriteString("SearchListFile Section", "FolderExF", "1");
  ListColumns withDetail = LoadFileListColumns(ini, kScreen);
  EXPECT_EQ(withDetail.order, (Ints{5, 0, 1, 2, 3, 4, 6, 7}));
  EXPECT_EQ(withDetail.widths, (Ints{150, 96, 48, 64, 64, 48, 64, 64}));
}

TEST(ListColumns, SaveAndLoadRoundTrip) {
  IniFile ini;
  ListColumns text = LoadTextListColumns(ini, kScreen);
  text.widths = {40, 50, 60, 500};
  text.order = {3, 1, 2, 0};
  SaveTextListColumns(ini, text);
  ListColumns file = LoadFileListColumns(ini, kScreen);
  file.widths = {100, 110, 120, 130, 140, 150, 160, 170};
  file.order = {1, 0, 3, 2, 5, 4, 7, 6};
  SaveFileListColumns(ini, file);

  ListColumns textAgain = LoadTextListColumns(IniFile(ini.Text()), kScreen);
  ListColumns fileAgain = LoadFileListColumns(IniFile(ini.Text()), kScreen);
  EXPECT_EQ(textAgain.widths, text.widths);
  EXPECT_EQ(textAgain.order, text.order);
  EXPECT_EQ(fileAgain.widths, file.widths);
  EXPECT_EQ(fileAgain.order, file.order);
  EXPECT_EQ(ini.ReadString("SearchListFile Section", "FolderExF", "absent"), "absent") << "never written";
}

TEST(ListColumns, ColumnDefinitions) {
  const char* fileTitles[] = {"ファイル", "フォルダ", "サイズ",  "更新日時",
                              "種類",     "属性",     "ﾌｫﾙﾀﾞ数", "ﾌｧｲﾙ数"};
  const bool fileRight[] = {false, false, true, false, false, false, true, true};
  for (int i = 0; i < kFileColumnCount; ++i) {
    EXPECT_STREQ(LoadStringUtf8(kFileColumns[i].titleId), fileTitles[i]) << i;
    EXPECT_EQ(kFileColumns[i].rightAligned, fileRight[i]) << i;
  }
  const char* textTitles[] = {"ファイル", "フォルダ", "行", "内容"};
  for (int i = 0; i < kTextColumnCount; ++i) {
    EXPECT_STREQ(LoadStringUtf8(kTextColumns[i].titleId), textTitles[i]) << i;
    EXPECT_EQ(kTextColumns[i].rightAligned, i == 2) << i;
  }
}

TEST(ListColumns, CellTexts) {
  FOUND_F f;
  f.name = "a.txt";
  f.folder = "/home/u/docs";
  f.displayPath = "./docs";
  f.sizeText = "1KB";
  f.dateText = "2024/01/02 03:04";
  f.typeName = "TXT";
  f.attributesText = "A";
  f.folderCountText = "3";
  f.fileCountText = "4";
  const char* fileCells[] = {"a.txt", "/home/u/docs", "1KB", "2024/01/02 03:04", "TXT", "A", "3", "4", ""};
  for (int c = 0; c <= 8; ++c) EXPECT_EQ(CellText(f, c, false), fileCells[c]) << c;
  EXPECT_EQ(CellText(f, 1, true), "./docs");
  EXPECT_EQ(CellText(f, -1, true), "");
  f.displayPath.clear();
  EXPECT_EQ(CellText(f, 1, true), "/home/u/docs") << "a record without display path shows its folder";

  auto m = MakeTextHit(MakeHitFile("/home/u/b.txt", "/home/u/b.txt"), 12, "line", 0);
  m->displayPath = ".";
  const char* textCells[] = {"b.txt", "/home/u", "12", "line", ""};
  for (int c = 0; c <= 4; ++c) EXPECT_EQ(CellText(*m, c, false), textCells[c]) << c;
  EXPECT_EQ(CellText(*m, 1, true), ".");
}

}  // namespace
