// The main window driven as a user drives it, on the offscreen platform: validation messages and the focus
// after each, the kind switches, a search from start to end, Escape during a search, and hits of a
// stopped search that never reach the next one's list.
#include "app/serquin_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "app/qt_text_qt.h"
#include "resources/strings.h"
#include "results/list_file_widget.h"
#include "results/list_moji_widget.h"
#include "results/viewer_widget.h"
#include "testkit/qt_app.h"
#include "testkit/temp_tree.h"

namespace {

// Answers the next message box with OK and reports its text.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher() {
    QTimer::singleShot(0, [this] { Answer(); });
  }
  const QString& Text() const { return text_; }

 private:
  void Answer() {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text_ = box->text();
      box->accept();
      return;
    }
    if (++tries_ < 200) QTimer::singleShot(5, [this] { Answer(); });
  }
  QString text_;
  int tries_ = 0;
};

class SerquinDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    profile_.writePath = tree_.Path("Serquin.ini");
    dialog_ = std::make_unique<CSerquinDlg>(profile_, std::vector<std::string>{});
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
  }
  void TearDown() override { dialog_.reset(); }

  template <typename T = QWidget>
  T* Find(int id) const {
    return dialog_->findChild<T*>(QString("id%1").arg(id));
  }
  void Type(int boxId, const QString& text) { Find<QComboBox>(boxId)->setEditText(text); }
  void SetKinds(bool text, bool file, bool folder) {
    const bool want[] = {text, file, folder};
    for (int k = 0; k < 3; ++k) {
      auto* button = Find<QPushButton>(1030 + k);
      if (button->isChecked() != want[k]) button->click();
    }
  }
  // Presses the search button and answers the message box it may show; the box's text.
  QString SearchExpectingMessage() {
    MessageBoxWatcher watcher;
    Find<QPushButton>(1003)->click();
    return watcher.Text();
  }
  bool WaitForEnd() {
    QSignalSpy ended(dialog_.get(), &CSerquinDlg::SearchEnded);
    return ended.wait(20000);
  }

  TempTree tree_;
  ProfileStore profile_;
  std::unique_ptr<CSerquinDlg> dialog_;
};

TEST_F(SerquinDlgTest, ValidationMessagesAndTheFocusAfterEach) {
  tree_.Folder("docs");
  struct Case {
    const char* name;
    QString location;
    QString pattern;
    bool text, file, folder;
    int message;
    int focusId;
  };
  const QString docs = QtFromNative(tree_.Path("docs"));
  const Case cases[] = {
      {"empty location", "", "x", true, false, false, IDS_LOCATION_EMPTY, 1004},
      {"one part missing", docs + ";" + QtFromNative(tree_.Path("none")), "x", true, false, false,
       IDS_LOCATION_UNKNOWN, 1004},
      {"all kinds off", docs, "x", false, false, false, IDS_KINDS_ALL_OFF, 1030},
      {"text search without a string", docs, "", true, false, false, IDS_PATTERN_EMPTY, 1001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Type(1004, c.location);
    Type(1001, c.pattern);
    SetKinds(c.text, c.file, c.folder);
    EXPECT_EQ(SearchExpectingMessage(), QtString(c.message));
    EXPECT_FALSE(dialog_->Searching());
    EXPECT_FALSE(Find<QPushButton>(1003)->isChecked());
    EXPECT_TRUE(Find<QWidget>(1001)->isEnabled());
    QWidget* focus = dialog_->focusWidget();
    EXPECT_TRUE(focus == Find<QWidget>(c.focusId) || (focus && focus->parent() == Find<QWidget>(c.focusId)))
        << (focus ? focus->objectName().toStdString() : "no focus");
  }
  // A file search with an empty string is valid.
  Type(1004, docs);
  Type(1001, "");
  SetKinds(false, true, false);
  Find<QPushButton>(1003)->click();
  EXPECT_TRUE(WaitForEnd());
}

TEST_F(SerquinDlgTest, KindButtonsKeepTextApartFromNameSearches) {
  SetKinds(true, false, false);
  Find<QPushButton>(1031)->click();
  EXPECT_FALSE(Find<QPushButton>(1030)->isChecked());
  EXPECT_TRUE(Find<QPushButton>(1031)->isChecked());
  Find<QPushButton>(1032)->click();
  EXPECT_TRUE(Find<QPushButton>(1031)->isChecked());
  EXPECT_TRUE(dialog_->Conditions().SearchFolder);
  Find<QPushButton>(1030)->click();
  EXPECT_TRUE(dialog_->Conditions().SearchMoji);
  EXPECT_FALSE(dialog_->Conditions().SearchFile || dialog_->Conditions().SearchFolder);
}

TEST_F(SerquinDlgTest, TextSearchFillsTheTextListAndSelectsTheFirstHit) {
  tree_.File("a/one.txt", "alpha\nbeta 日本語\n");
  tree_.File("a/two.txt", "日本語 gamma\n");
  Type(1004, QtFromNative(tree_.Path("a")));
  Type(1001, "日本語");
  SetKinds(true, false, false);
  Find<QPushButton>(1003)->click();
  ASSERT_TRUE(WaitForEnd());
  EXPECT_EQ(dialog_->TextList()->Count(), 2);
  EXPECT_TRUE(dialog_->TextList()->isVisible());
  EXPECT_FALSE(dialog_->FileList()->isVisible());
  EXPECT_EQ(Find<QLabel>(1020)->text(), "2");
  EXPECT_EQ(QApplication::focusWidget(), dialog_->TextList());
  EXPECT_EQ(dialog_->TextList()->SelectedRecords().size(), 1u);
  // The location and the string went to the tops of their histories.
  EXPECT_EQ(Find<QComboBox>(1001)->itemText(0), "日本語");
}

// The selected hit's line shows in the viewer; moving the selection over many rows before the window
// gets to the viewer shows only the last one, once.
TEST_F(SerquinDlgTest, SelectedTextHitShowsInTheViewerOnce) {
  for (int i = 0; i < 20; ++i) tree_.File("v/f" + std::to_string(100 + i) + ".txt", "x\nhit " + std::to_string(i) + "\n");
  Type(1004, QtFromNative(tree_.Path("v")));
  Type(1001, "hit");
  SetKinds(true, false, false);
  Find<QPushButton>(1003)->click();
  ASSERT_TRUE(WaitForEnd());
  ASSERT_EQ(dialog_->TextList()->Count(), 20);
  CViewer* viewer = dialog_->Viewer();
  EXPECT_TRUE(viewer->isVisible());
  QTRY_COMPARE(viewer->document()->firstBlock().text(), QString("hit 0"));
  EXPECT_EQ(viewer->TopLine(), 1);

  QSignalSpy changes(viewer, &QPlainTextEdit::textChanged);
  dialog_->TextList()->selectRow(1);
  QTRY_COMPARE(viewer->document()->firstBlock().text(), QString("hit 1"));
  const qsizetype perShow = changes.count();
  changes.clear();
  for (int row = 2; row < 20; ++row) dialog_->TextList()->selectRow(row);
  QTRY_COMPARE(viewer->document()->firstBlock().text(), QString("hit 19"));
  QCoreApplication::processEvents();
  EXPECT_EQ(changes.count(), perShow);
}

// 100 hits while the window takes none: the search waits on its backlog, so it is surely running.
TEST_F(SerquinDlgTest, EscapeStopsASearchAndASecondEscapeCloses) {
  for (int i = 0; i < 100; ++i) tree_.File("many/f" + std::to_string(i) + ".txt");
  Type(1004, QtFromNative(tree_.Path("many")));
  Type(1001, "f");
  SetKinds(false, true, false);
  dialog_->SearchCommand();
  ASSERT_TRUE(dialog_->Searching());
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_FALSE(dialog_->Searching());
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_TRUE(Find<QWidget>(1001)->isEnabled());
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_FALSE(dialog_->isVisible());
}

// The window starts a new search right after stopping one: what the stopped search left in the queue
// must not land in the new search's list.
TEST_F(SerquinDlgTest, HitsOfAStoppedSearchNeverReachTheNextOne) {
  for (int i = 0; i < 100; ++i) tree_.File("old/f" + std::to_string(i) + ".txt");
  tree_.File("new/only.txt");
  Type(1004, QtFromNative(tree_.Path("old")));
  Type(1001, "f");
  SetKinds(false, true, false);
  dialog_->SearchCommand();
  dialog_->SearchCommand();  // stop: about 80 hits stay queued
  Type(1004, QtFromNative(tree_.Path("new")));
  Type(1001, "only");
  dialog_->SearchCommand();
  ASSERT_TRUE(WaitForEnd());
  EXPECT_EQ(dialog_->FileList()->Count(), 1);
}

TEST_F(SerquinDlgTest, CloseWritesTheProfile) {
  Type(1001, "残す");
  dialog_->close();
  IniFile written;
  std::string error;
  ASSERT_EQ(written.Load(tree_.Path("Serquin.ini"), error), IniFile::LoadStatus::kLoaded) << error;
  EXPECT_FALSE(written.Text().empty());
}

}  // namespace

namespace {

// A profile edited by hand into nonsense still gives a window of at least its designed size, inside the
// screen, with the splitter inside the window.
TEST(SerquinDlgProfile, AbsurdFrameValuesGiveAUsableWindow) {
  ProfileStore profile;
  profile.ini = IniFile(
      "[Frame Section]\r\nSizeW=-500\r\nSizeH=99999999\r\nIchiX=-77777\r\nIchiY=123456789\r\n"
      "ViewerY=2000000000\r\nTemaeF=7\r\n");
  CSerquinDlg dialog(profile, {});
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const QRect screen = dialog.screen()->availableGeometry();
  EXPECT_GE(dialog.width(), dialog.minimumWidth());
  EXPECT_GE(dialog.height(), dialog.minimumHeight());
  EXPECT_TRUE(screen.contains(dialog.frameGeometry().topLeft()));
  EXPECT_LE(dialog.height(), std::max(screen.height(), dialog.minimumHeight()));
  EXPECT_LT(dialog.Settings().Frame.ViewerY, dialog.height());
}

}  // namespace
