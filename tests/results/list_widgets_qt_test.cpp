// The two result lists as widgets: their models under the model checker, batched announcement of rows,
// columns loaded from and saved to the profile, sorting with the selection following its record, the
// top-row selection at search end, the context menu and the keys the text list takes for the viewer.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/profile.h"
#include "platform/cp932.h"
#include "results/list_columns.h"
#include "results/list_file_widget.h"
#include "results/list_moji_widget.h"
#include "search/found.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "list_widgets_qt_test";
    static char* argv[] = {name, nullptr};
    // Headless unless told otherwise, also when started without the test runner's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

const ::testing::Environment* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

constexpr int kScreenWidth = 1920;

std::unique_ptr<FOUND_F> FileHit(const std::string& name, int kind = 2, uint64_t size = 0,
                                 const std::string& folder = "/data") {
  auto hit = std::make_unique<FOUND_F>();
  hit->kind = kind;
  hit->name = name;
  hit->folder = folder;
  hit->size = size;
  hit->sizeText = SizeText(size, kind == 4);
  hit->nativePath = folder + "/" + name;
  return hit;
}

std::unique_ptr<FOUND_M> TextHit(const std::string& file, int line, const std::string& text = "x",
                                 const std::string& folder = "/data") {
  return MakeTextHit(MakeHitFile(folder + "/" + file, folder + "/" + file), line, text, 0);
}

// A list's settings as the main dialog keeps them.
struct Settings {
  bool soutaiF = false;
  bool singleLocation = true;
  std::string editorFile;
  std::string editorParam;
};

// A font no larger than the classic 9-point one (12 pixels a line, ten digits with the cell margins in 60
// pixels), so the default widths stand as they are; a larger font widens them
// (FirstStartWidthsGrowWithTheFont).
QFont ClassicSizeFont(const QWidget& widget) {
  QFont font = widget.font();
  for (int pixels = 12; pixels > 1; --pixels) {
    font.setPixelSize(pixels);
    const QFontMetrics metrics(font);
    if (metrics.height() <= 12 && metrics.horizontalAdvance("0000000000") + 16 <= 60) break;
  }
  return font;
}

template <class List>
void SetUpList(List& list, Settings& settings, const IniFile& profile = IniFile()) {
  list.setFont(ClassicSizeFont(list));
  list.Setup(settings.soutaiF, settings.singleLocation, settings.editorFile, settings.editorParam, profile,
             kScreenWidth);
}

std::vector<int> Widths(const QTableView& list) {
  std::vector<int> widths;
  for (int column = 0; column < list.horizontalHeader()->count(); ++column) {
    widths.push_back(list.horizontalHeader()->sectionSize(column));
  }
  return widths;
}

QString Cell(const QTableView& list, int row, int column) {
  return list.model()->index(row, column).data().toString();
}

std::vector<std::string> FileNames(const CListFile& list) {
  std::vector<std::string> names;
  for (const auto& hit : list.Rows()) names.push_back(hit->name);
  return names;
}

// Announces the waiting rows and lets the view lay them out, as the event loop of the window does.
void Settle(ResultListView& list) {
  list.FlushAppends();
  QCoreApplication::processEvents();
}

void SelectRow(QTableView& list, int row) {
  list.selectionModel()->setCurrentIndex(list.model()->index(row, 0),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int SelectedRowOf(const QTableView& list) {
  const QModelIndexList rows = list.selectionModel()->selectedRows();
  return rows.size() == 1 ? rows.front().row() : -1;
}

// The middle of a row's first cell, in viewport coordinates.
QPoint RowPoint(const QTableView& list, int row) {
  return list.visualRect(list.model()->index(row, 0)).center();
}

// A double click as the window system delivers it: a click, then the second press as a double click.
void DoubleClick(QTableView& list, int row) {
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, row));
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, row));
}

TEST(ResultListModels, StayConsistentWhileAppendingSortingAndClearing) {
  Settings settings;
  CListFile files;
  CListMoji texts;
  SetUpList(files, settings);
  SetUpList(texts, settings);
  QAbstractItemModelTester fileTester(files.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  QAbstractItemModelTester textTester(texts.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 30; ++i) {
      files.Append(
          FileHit("f" + std::to_string(i % 7), i % 3 == 0 ? 4 : 2, static_cast<uint64_t>(i * 997 % 50)));
      texts.Append(TextHit("t" + std::to_string(i % 5), 30 - i));
    }
    files.FlushAppends();
    SelectRow(files, 3);
    SelectRow(texts, 4);
    for (int column = 0; column < kFileColumnCount; ++column) files.SortByColumn(column);
    for (int column = 0; column < kTextColumnCount; ++column) texts.SortByColumn(column);
    // Rows appended after a sort are announced by the next batch, unsorted.
    files.Append(FileHit("late"));
    texts.Append(TextHit("late", 1));
    files.FlushAppends();
    texts.FlushAppends();
    EXPECT_EQ(files.Rows().back()->name, "late");
    files.Clear();
    texts.Clear();
    EXPECT_EQ(files.model()->rowCount(), 0);
    EXPECT_EQ(texts.Count(), 0);
  }
}

TEST(ResultListModels, AnnounceAppendedRowsInBatches) {
  Settings settings;
  CListMoji list;
  SetUpList(list, settings);
  for (int line = 1; line <= 3; ++line) list.Append(TextHit("a.txt", line));
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.model()->rowCount(), 0);
  list.FlushAppends();
  EXPECT_EQ(list.model()->rowCount(), 3);

  // Without an explicit flush the waiting rows are announced by the list's own timer, in one insertion.
  QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
  for (int line = 4; line <= 10; ++line) list.Append(TextHit("a.txt", line));
  EXPECT_EQ(list.model()->rowCount(), 3);
  ASSERT_TRUE(QTest::qWaitFor([&] { return list.model()->rowCount() == 10; }));
  ASSERT_EQ(inserted.size(), 1);
  EXPECT_EQ(inserted[0][1].toInt(), 3);
  EXPECT_EQ(inserted[0][2].toInt(), 9);

  // A sort and a clear take the waiting rows with them.
  list.Append(TextHit("b.txt", 1));
  list.SortByColumn(2);
  EXPECT_EQ(list.model()->rowCount(), 11);
  list.Append(TextHit("c.txt", 1));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  list.FlushAppends();
  EXPECT_EQ(list.model()->rowCount(), 0);
}

TEST(ResultListColumns, FirstStartWidthsGrowWithTheFont) {
  Settings settings;
  CListMoji texts;
  QFont big = texts.font();
  big.setPixelSize(24);
  texts.setFont(big);
  const IniFile profile(std::string("[SearchListMoji Section]\nCtlColWidth03=300\n"));
  texts.Setup(settings.soutaiF, settings.singleLocation, settings.editorFile, settings.editorParam, profile,
              kScreenWidth);
  const std::vector<int> widths = Widths(texts);
  EXPECT_GT(widths[0], 96);
  EXPECT_GT(widths[2], 32);
  EXPECT_EQ(widths[3], 300) << "a width the user set stays as it is";
}

TEST(ResultListColumns, FirstStartShowsEveryColumnAtItsDefaultWidth) {
  Settings settings;
  CListFile files;
  CListMoji texts;
  SetUpList(files, settings);
  SetUpList(texts, settings);
  EXPECT_TRUE(files.FolderDetail());
  EXPECT_EQ(Widths(files), (std::vector<int>{96, 96, 48, 64, 64, 48, 64, 64}));
  EXPECT_EQ(files.ColumnDisplayOrder(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(Widths(texts), (std::vector<int>{96, 96, 32, 256}));
  EXPECT_EQ(texts.ColumnDisplayOrder(), (std::vector<int>{0, 1, 2, 3}));

  const QStringList fileTitles = {"ファイル", "フォルダ", "サイズ",  "更新日時",
                                  "種類",     "属性",     "ﾌｫﾙﾀﾞ数", "ﾌｧｲﾙ数"};
  for (int column = 0; column < kFileColumnCount; ++column) {
    EXPECT_EQ(files.model()->headerData(column, Qt::Horizontal).toString(), fileTitles[column]);
  }
  const QStringList textTitles = {"ファイル", "フォルダ", "行", "内容"};
  for (int column = 0; column < kTextColumnCount; ++column) {
    EXPECT_EQ(texts.model()->headerData(column, Qt::Horizontal).toString(), textTitles[column]);
  }

  // Numbers right-aligned, texts left-aligned, in the cells as in the titles.
  files.Append(FileHit("a"));
  files.FlushAppends();
  const std::vector<bool> fileRight = {false, false, true, false, false, false, true, true};
  for (int column = 0; column < kFileColumnCount; ++column) {
    const int alignment = files.model()->index(0, column).data(Qt::TextAlignmentRole).toInt();
    EXPECT_EQ((alignment & Qt::AlignRight) != 0, fileRight[column]) << column;
    EXPECT_EQ(files.model()->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), alignment);
  }
  texts.Append(TextHit("a", 1));
  texts.FlushAppends();
  for (int column = 0; column < kTextColumnCount; ++column) {
    const int alignment = texts.model()->index(0, column).data(Qt::TextAlignmentRole).toInt();
    EXPECT_EQ((alignment & Qt::AlignRight) != 0, column == 2) << column;
  }
}

// A line number is never cut short: the line column grows to hold its digits and is not narrowed again.
TEST(ResultListColumns, LineColumnGrowsToHoldTheLargestLineNumber) {
  Settings settings;
  CListMoji texts;
  SetUpList(texts, settings);
  const int start = Widths(texts)[2];
  texts.Append(TextHit("a", 7));
  EXPECT_EQ(Widths(texts)[2], start);
  texts.Append(TextHit("a", 1234567));
  const int grown = Widths(texts)[2];
  EXPECT_GE(grown, texts.fontMetrics().horizontalAdvance("1234567") + 8);
  texts.Clear();
  texts.Append(TextHit("a", 3));
  EXPECT_EQ(Widths(texts)[2], grown);
}

TEST(ResultListColumns, StoredWidthsAndOrdersAreClampedOrReplaced) {
  struct Case {
    const char* name;
    std::string section;
    std::string profile;
    std::vector<int> widths;
    std::vector<int> order;
  };
  const std::string file = "[SearchListFile Section]\n";
  const std::string text = "[SearchListMoji Section]\n";
  const std::vector<Case> cases = {
      {"narrow width raised",
       file,
       "CtlColWidth02=5\n",
       {96, 96, 16, 64, 64, 48, 64, 64},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"wide width cut",
       file,
       "CtlColWidth00=5000\n",
       {1920, 96, 48, 64, 64, 48, 64, 64},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"negative width default",
       file,
       "CtlColWidth02=-1\n",
       {96, 96, 48, 64, 64, 48, 64, 64},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"permutation kept",
       file,
       "CtlColIndex00=7\nCtlColIndex01=6\nCtlColIndex02=5\nCtlColIndex03=4\n"
       "CtlColIndex04=3\nCtlColIndex05=2\nCtlColIndex06=1\nCtlColIndex07=0\n",
       {96, 96, 48, 64, 64, 48, 64, 64},
       {7, 6, 5, 4, 3, 2, 1, 0}},
      {"duplicate order",
       file,
       "CtlColIndex03=1\nCtlColIndex01=1\n",
       {96, 96, 48, 64, 64, 48, 64, 64},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"order out of range",
       file,
       "CtlColIndex05=9\n",
       {96, 96, 48, 64, 64, 48, 64, 64},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {"text order out of range", text, "CtlColIndex02=7\n", {96, 96, 32, 256}, {0, 1, 2, 3}},
      {"text swap kept",
       text,
       "CtlColIndex00=3\nCtlColIndex03=0\nCtlColWidth03=300\n",
       {96, 96, 32, 300},
       {3, 1, 2, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Settings settings;
    const IniFile profile(c.section + c.profile);
    std::unique_ptr<ResultListView> list;
    if (c.section == file) {
      auto files = std::make_unique<CListFile>();
      SetUpList(*files, settings, profile);
      list = std::move(files);
    } else {
      auto texts = std::make_unique<CListMoji>();
      SetUpList(*texts, settings, profile);
      list = std::move(texts);
    }
    EXPECT_EQ(Widths(*list), c.widths);
    EXPECT_EQ(list->ColumnDisplayOrder(), c.order);
  }
}

TEST(ResultListColumns, WithoutFolderDetailSixColumnsShowAndAReorderingSurvivesARestart) {
  Settings settings;
  IniFile profile("[SearchListFile Section]\nFolderExF=0\nCtlColWidth01=120\n");
  {
    CListFile list;
    SetUpList(list, settings, profile);
    EXPECT_FALSE(list.FolderDetail());
    EXPECT_EQ(list.model()->columnCount(), 6);
    EXPECT_EQ(Widths(list), (std::vector<int>{96, 120, 48, 64, 64, 48}));
    // The user drags "属性" to the front and widens "サイズ".
    list.horizontalHeader()->moveSection(5, 0);
    list.horizontalHeader()->resizeSection(2, 70);
    list.SaveColumns(profile);
  }
  const char* section = kSearchListFileSection;
  EXPECT_EQ(profile.ReadInt(section, "CtlColWidth06", 0), -1);
  EXPECT_EQ(profile.ReadInt(section, "CtlColWidth07", 0), -1);
  EXPECT_EQ(profile.ReadInt(section, "CtlColWidth02", 0), 70);
  const std::vector<int> saved = {5, 0, 1, 2, 3, 4, 6, 7};
  for (int k = 0; k < kFileColumnCount; ++k) {
    char key[16];
    snprintf(key, sizeof key, "CtlColIndex%02d", k);
    EXPECT_EQ(profile.ReadInt(section, key, -2), saved[static_cast<size_t>(k)]) << key;
  }
  EXPECT_EQ(profile.ReadString(section, "FolderExF", "absent"), "0");  // kept as the user wrote it

  CListFile restarted;
  SetUpList(restarted, settings, profile);
  EXPECT_EQ(restarted.ColumnDisplayOrder(), (std::vector<int>{5, 0, 1, 2, 3, 4}));
  EXPECT_EQ(Widths(restarted), (std::vector<int>{96, 120, 70, 64, 64, 48}));

  // The text list keeps its own section the same way.
  IniFile textProfile;
  {
    CListMoji texts;
    SetUpList(texts, settings, textProfile);
    texts.horizontalHeader()->moveSection(3, 1);
    texts.horizontalHeader()->resizeSection(3, 400);
    texts.SaveColumns(textProfile);
  }
  CListMoji textsAgain;
  SetUpList(textsAgain, settings, textProfile);
  EXPECT_EQ(textsAgain.ColumnDisplayOrder(), (std::vector<int>{0, 3, 1, 2}));
  EXPECT_EQ(Widths(textsAgain), (std::vector<int>{96, 96, 32, 400}));
}

TEST(ResultListColumns, AListNeverSetUpWritesNothing) {
  IniFile profile("[SearchListFile Section]\nCtlColWidth00=200\n");
  CListFile list;
  list.SaveColumns(profile);
  EXPECT_EQ(profile.ReadInt(kSearchListFileSection, "CtlColWidth00", 0), 200);
  EXPECT_EQ(profile.ReadInt(kSearchListFileSection, "CtlColWidth01", 0), 0);
}

TEST(ResultListSorting, SizeClickedTwiceGivesFoldersFirstLargerFirstThenTheReverse) {
  Settings settings;
  CListFile list;
  SetUpList(list, settings);
  list.Append(FileHit("small.txt", 2, 10));
  list.Append(FileHit("dir-small", 4, 100));
  list.Append(FileHit("big.txt", 2, 5000));
  list.Append(FileHit("dir-big", 4, 9000));
  list.show();
  list.FlushAppends();
  // Through the header, as the user clicks it: the view's own sorting must not run as well.
  QHeaderView* header = list.horizontalHeader();
  const QPoint sizeTitle(header->sectionViewportPosition(2) + header->sectionSize(2) / 2,
                         header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeTitle);
  EXPECT_EQ(FileNames(list), (std::vector<std::string>{"dir-big", "dir-small", "big.txt", "small.txt"}));
  EXPECT_EQ(header->sortIndicatorSection(), 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeTitle);
  EXPECT_EQ(FileNames(list), (std::vector<std::string>{"small.txt", "big.txt", "dir-small", "dir-big"}));
  EXPECT_EQ(Cell(list, 0, 0), "small.txt");
  // Another column starts ascending again; a search start forgets the sort.
  list.SortByColumn(0);
  EXPECT_EQ(FileNames(list), (std::vector<std::string>{"big.txt", "dir-big", "dir-small", "small.txt"}));
  EXPECT_FALSE(list.SortState().descending);
  list.Clear();
  EXPECT_EQ(list.SortState().column, -1);
  EXPECT_EQ(header->sortIndicatorSection(), -1);
}

TEST(ResultListSorting, SelectionFollowsItsRecordAndIsScrolledIntoView) {
  Settings settings;
  CListMoji list;
  SetUpList(list, settings);
  list.resize(400, 200);
  list.show();
  for (int line = 1; line <= 300; ++line) list.Append(TextHit("a.txt", line));
  Settle(list);
  SelectRow(list, 2);  // line 3
  const FOUND_M* chosen = list.SelectedRecords().at(0);
  QSignalSpy selected(&list, &CListMoji::RecordSelected);
  list.SortByColumn(2);  // by line
  list.SortByColumn(2);  // by line, descending: line 3 moves to row 297
  ASSERT_EQ(list.SelectedRecords().size(), 1u);
  EXPECT_EQ(list.SelectedRecords()[0], chosen);
  EXPECT_EQ(SelectedRowOf(list), 297);
  EXPECT_EQ(list.currentIndex().row(), 297);
  EXPECT_TRUE(list.viewport()->rect().intersects(list.visualRect(list.model()->index(297, 0))));
  EXPECT_TRUE(selected.isEmpty());  // the same record: nothing new for the viewer
}

TEST(ResultListSelection, SelectTopIfNoneSelectsTheTopVisibleRowOnce) {
  Settings settings;
  CListFile list;
  SetUpList(list, settings);
  list.resize(400, 200);
  list.show();
  QApplication::setActiveWindow(&list);
  EXPECT_FALSE(list.SelectTopIfNone());  // no rows

  for (int i = 0; i < 100; ++i) list.Append(FileHit("f" + std::to_string(i)));
  Settle(list);
  list.scrollTo(list.model()->index(40, 0), QAbstractItemView::PositionAtTop);
  const int top = list.rowAt(0);
  ASSERT_GT(top, 0);
  list.clearFocus();
  // The appended rows need no flush by the caller.
  list.Append(FileHit("late"));
  EXPECT_TRUE(list.SelectTopIfNone());
  EXPECT_EQ(SelectedRowOf(list), top);
  EXPECT_EQ(list.currentIndex().row(), top);
  EXPECT_EQ(list.rowAt(0), top);
  EXPECT_EQ(QApplication::focusWidget(), &list);
  EXPECT_EQ(list.model()->rowCount(), 101);

  SelectRow(list, top + 1);
  EXPECT_FALSE(list.SelectTopIfNone());
  EXPECT_EQ(SelectedRowOf(list), top + 1);
}

TEST(ResultListMenu, ItemsDependOnTheListAndTheSelection) {
  Settings settings;
  CListFile files;
  SetUpList(files, settings);
  files.Append(FileHit("dir", 4));
  files.Append(FileHit("a.txt", 2));
  files.FlushAppends();
  EXPECT_EQ(files.BuildContextMenu(), nullptr);

  struct Case {
    int row;
    bool editorEnabled;
  };
  for (const Case& c : {Case{0, false}, Case{1, true}}) {
    SelectRow(files, c.row);
    std::unique_ptr<QMenu> menu = files.BuildContextMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 5);
    const QStringList texts = {"関連付けで開く(&J)", "指定したエディタで開く(&E)", "フォルダを開く(&O)", "",
                               "フルパスをコピー(&P)"};
    const std::vector<int> commands = {32771, 32772, 32773, 0, 32774};
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(actions[i]->isSeparator(), i == 3);
      EXPECT_EQ(actions[i]->text(), texts[i]);
      if (i != 3) {
        EXPECT_EQ(actions[i]->data().toInt(), commands[static_cast<size_t>(i)]);
      }
    }
    EXPECT_EQ(actions[1]->isEnabled(), c.editorEnabled) << c.row;
    EXPECT_EQ(menu->defaultAction(), actions[0]);
  }

  CListMoji texts;
  SetUpList(texts, settings);
  texts.Append(TextHit("a.txt", 1));
  texts.FlushAppends();
  EXPECT_EQ(texts.BuildContextMenu(), nullptr);
  SelectRow(texts, 0);
  std::unique_ptr<QMenu> menu = texts.BuildContextMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->defaultAction(), menu->actions()[1]);
  for (const QAction* action : menu->actions()) EXPECT_TRUE(action->isEnabled());
}

TEST(ResultListMenu, RightClickMenuKeyAndDoubleClickEmitCommands) {
  Settings settings;
  CListFile list;
  SetUpList(list, settings);
  list.resize(400, 200);
  list.show();
  for (int i = 0; i < 50; ++i) list.Append(FileHit("f" + std::to_string(i)));
  Settle(list);
  int menusRun = 0;
  QPoint menuAt;
  list.SetMenuRunner([&](QMenu&, const QPoint& at) {
    ++menusRun;
    menuAt = at;
    return 32773;
  });
  QSignalSpy commands(&list, &CListFile::MenuCommand);
  auto menuKey = [&] {
    QTest::keyPress(&list, Qt::Key_Menu);
    QTest::keyRelease(&list, Qt::Key_Menu);
  };

  // Nothing selected: no menu from either.
  menuKey();
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, RowPoint(list, 1),
                               list.viewport()->mapToGlobal(RowPoint(list, 1)));
  QApplication::sendEvent(list.viewport(), &rightClick);
  EXPECT_EQ(menusRun, 0);

  SelectRow(list, 1);
  QApplication::sendEvent(list.viewport(), &rightClick);
  ASSERT_EQ(commands.size(), 1);
  EXPECT_EQ(commands.takeFirst()[0].toInt(), 32773);
  EXPECT_EQ(menuAt, list.viewport()->mapToGlobal(RowPoint(list, 1)));

  // The menu key opens it at the selected row's corner, and only while that row is in sight.
  menuKey();
  ASSERT_EQ(commands.size(), 1);
  commands.clear();
  EXPECT_EQ(menuAt, list.viewport()->mapToGlobal(list.visualRect(list.model()->index(1, 0)).topLeft()));
  // A keyboard request the platform derives from the key opens no second menu.
  QContextMenuEvent keyboardRequest(QContextMenuEvent::Keyboard, RowPoint(list, 1),
                                    list.viewport()->mapToGlobal(RowPoint(list, 1)));
  QApplication::sendEvent(list.viewport(), &keyboardRequest);
  EXPECT_EQ(menusRun, 2);
  list.scrollTo(list.model()->index(30, 0), QAbstractItemView::PositionAtTop);  // row 1 above the top
  EXPECT_FALSE(list.KeyboardMenuPosition().has_value());
  menuKey();
  SelectRow(list, 49);
  list.scrollToTop();  // row 49 below the bottom
  EXPECT_FALSE(list.KeyboardMenuPosition().has_value());
  menuKey();
  EXPECT_EQ(menusRun, 2);

  // Double click: open by association in the file list, in the editor in the text list.
  list.scrollToTop();
  DoubleClick(list, 2);
  ASSERT_EQ(commands.size(), 1);
  EXPECT_EQ(commands.takeFirst()[0].toInt(), 32771);
  CListMoji texts;
  SetUpList(texts, settings);
  texts.resize(400, 200);
  texts.show();
  texts.Append(TextHit("a.txt", 1));
  Settle(texts);
  QSignalSpy textCommands(&texts, &CListMoji::MenuCommand);
  DoubleClick(texts, 0);
  ASSERT_EQ(textCommands.size(), 1);
  EXPECT_EQ(textCommands[0][0].toInt(), 32772);
}

TEST(ResultListKeys, SpaceInTheTextListPagesTheViewerAndNothingElse) {
  Settings settings;
  CListMoji list;
  SetUpList(list, settings);
  list.show();
  list.Append(TextHit("a.txt", 1));
  list.Append(TextHit(" b.txt", 2));  // a name a text search for a blank would find
  list.FlushAppends();
  SelectRow(list, 0);
  QSignalSpy pages(&list, &CListMoji::PageViewer);
  QTest::keyClick(&list, Qt::Key_Space);
  QTest::keyClick(&list, Qt::Key_Space, Qt::ShiftModifier);
  ASSERT_EQ(pages.size(), 2);
  EXPECT_FALSE(pages[0][0].toBool());
  EXPECT_TRUE(pages[1][0].toBool());
  EXPECT_EQ(SelectedRowOf(list), 0);

  // A Space through the input method, half- or full-width: consumed as well.
  for (const QString& blank : {QStringLiteral(" "), QStringLiteral("\u3000")}) {
    QInputMethodEvent ime;
    ime.setCommitString(blank);
    QApplication::sendEvent(&list, &ime);
  }
  EXPECT_EQ(pages.size(), 4);
  EXPECT_EQ(SelectedRowOf(list), 0);
}

TEST(ResultListKeys, TheFileListConsumesOnlyTheInputMethodSpace) {
  Settings settings;
  CListFile list;
  SetUpList(list, settings);
  list.show();
  list.Append(FileHit("a.txt"));
  list.Append(FileHit(" b.txt"));
  list.Append(FileHit("c.txt"));
  list.FlushAppends();
  SelectRow(list, 0);
  QInputMethodEvent ime;
  ime.setCommitString(QStringLiteral(" "));
  QApplication::sendEvent(&list, &ime);
  EXPECT_EQ(SelectedRowOf(list), 0);
  // Other committed text still searches the rows by their first letters.
  QInputMethodEvent letter;
  letter.setCommitString(QStringLiteral("c"));
  QApplication::sendEvent(&list, &letter);
  EXPECT_EQ(SelectedRowOf(list), 2);

  // A plain Space keeps the view's own meaning: it selects the current row.
  list.selectionModel()->clearSelection();
  list.selectionModel()->setCurrentIndex(list.model()->index(1, 0), QItemSelectionModel::NoUpdate);
  ASSERT_EQ(SelectedRowOf(list), -1);
  QTest::keyClick(&list, Qt::Key_Space);
  EXPECT_EQ(SelectedRowOf(list), 1);
}

TEST(ResultListSelection, SelectingATextRowOffersItsRecord) {
  Settings settings;
  CListMoji list;
  SetUpList(list, settings);
  list.resize(400, 200);
  list.show();
  list.Append(TextHit("a.txt", 1));
  list.Append(TextHit("b.txt", 2));
  Settle(list);
  QSignalSpy selected(&list, &CListMoji::RecordSelected);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, 1));
  SelectRow(list, 0);
  SelectRow(list, 0);  // already selected: nothing new
  ASSERT_EQ(selected.size(), 2);
  EXPECT_EQ(selected[0][0].value<const FOUND_M*>(), list.Rows()[1].get());
  EXPECT_EQ(selected[1][0].value<const FOUND_M*>(), list.Rows()[0].get());
}

TEST(ResultListCells, FolderColumnShowsDisplayPathsOnlyForRelativeDisplayOfOneLocation) {
  struct Case {
    bool soutaiF;
    bool singleLocation;
    const char* shown;
  };
  const Case cases[] = {{true, true, "./sub"},
                        {true, false, "/base/sub"},
                        {false, true, "/base/sub"},
                        {false, false, "/base/sub"}};
  Settings settings;
  CListFile files;
  CListMoji texts;
  SetUpList(files, settings);
  SetUpList(texts, settings);
  auto fileHit = FileHit("a.txt", 2, 0, "/base/sub");
  fileHit->displayPath = "./sub";
  files.Append(std::move(fileHit));
  auto textHit = TextHit("a.txt", 1, "x", "/base/sub");
  textHit->displayPath = "./sub";
  texts.Append(std::move(textHit));
  files.FlushAppends();
  texts.FlushAppends();
  // The settings are read when a cell is asked for: changing them needs no new Setup.
  for (const Case& c : cases) {
    settings.soutaiF = c.soutaiF;
    settings.singleLocation = c.singleLocation;
    files.RefreshTexts();
    EXPECT_EQ(Cell(files, 0, 1), c.shown) << c.soutaiF << c.singleLocation;
    EXPECT_EQ(Cell(texts, 0, 1), c.shown) << c.soutaiF << c.singleLocation;
  }
  // Code page 932 texts reach the view as the characters they spell.
  files.Append(FileHit(platform::Cp932FromUtf8("検索.txt")));
  files.FlushAppends();
  EXPECT_EQ(Cell(files, 1, 0), QStringLiteral("検索.txt"));
}

}  // namespace
