// The main window as a drop target: synthesised drags and drops over the location box, the search-string
// box and elsewhere, with and without Shift.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "app/qt_text_qt.h"
#include "app/serquin_dlg.h"
#include "results/list_file_widget.h"
#include "testkit/qt_app.h"
#include "testkit/temp_tree.h"

namespace {

constexpr int kPatternBox = 1001;
constexpr int kLocationBox = 1004;
constexpr int kFileList = 1009;

class SerquinDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    profile_.writePath = tree_.Path("Serquin.ini");
    dialog_ = std::make_unique<CSerquinDlg>(profile_, std::vector<std::string>{});
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
  }

  QWidget* Control(int id) const { return dialog_->findChild<QWidget*>(QString("id%1").arg(id)); }
  QComboBox* Box(int id) const { return static_cast<QComboBox*>(Control(id)); }
  QPoint Over(int id) const { return Control(id)->geometry().center(); }

  // Drags `data` to `at` and drops it there. Whether the drag showed the copy cursor there.
  bool Drop(QMimeData& data, QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(dialog_.get(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(dialog_.get(), &move);
    const bool copies = enter.isAccepted() && move.isAccepted() && move.dropAction() == Qt::CopyAction;
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(dialog_.get(), &drop);
    EXPECT_EQ(drop.isAccepted(), copies);
    return copies;
  }

  static QList<QUrl> Urls(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    return urls;
  }

  TempTree tree_;
  ProfileStore profile_;
  std::unique_ptr<CSerquinDlg> dialog_;
};

TEST_F(SerquinDropTest, TextGoesIntoEitherBoxAndNowhereElse) {
  struct Case {
    const char* name;
    int target;
    QString text;
    bool copies;
  } cases[] = {
      {"search string", kPatternBox, "検索語", true},
      {"location", kLocationBox, "/home/user/文書", true},
      {"result list", kFileList, "nothing", false},
  };
  for (const Case& c : cases) {
    Box(kPatternBox)->setEditText("old");
    Box(kLocationBox)->setEditText("old");
    QMimeData data;
    data.setText(c.text);
    EXPECT_EQ(Drop(data, Over(c.target)), c.copies) << c.name;
    for (int box : {kPatternBox, kLocationBox}) {
      EXPECT_EQ(Box(box)->currentText(), box == c.target ? c.text : "old") << c.name << " " << box;
    }
  }
  // The toolkit hands a drag to the first widget under the pointer that takes drops: over either box that
  // must be the window itself, not the box's own edit, which would insert the text at the pointer.
  for (int box : {kPatternBox, kLocationBox}) {
    QWidget* target = dialog_->childAt(Over(box));
    while (target && !target->acceptDrops()) target = target->parentWidget();
    EXPECT_EQ(target, dialog_.get()) << box;
  }
  // A disabled box takes nothing (the boxes are disabled while a search runs).
  Box(kPatternBox)->setEnabled(false);
  QMimeData data;
  data.setText("late");
  EXPECT_FALSE(Drop(data, Over(kPatternBox)));
  EXPECT_EQ(Box(kPatternBox)->currentText(), "old");
}

TEST_F(SerquinDropTest, TextIsCutAt260) {
  QMimeData unicode;
  unicode.setText(QString(300, QChar(0x3042)));  // あ × 300
  Drop(unicode, Over(kPatternBox));
  EXPECT_EQ(Box(kPatternBox)->currentText(), QString(260, QChar(0x3042))) << "260 characters";

  // Text in code page 932 is cut at 260 bytes: 130 double-byte characters.
  QMimeData cp932;
  std::string bytes;
  for (int i = 0; i < 200; ++i) bytes += "\x82\xa0";
  cp932.setData("text/plain;charset=Shift_JIS",
                QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  Drop(cp932, Over(kLocationBox));
  EXPECT_EQ(Box(kLocationBox)->currentText(), QString(130, QChar(0x3042)));
}

TEST_F(SerquinDropTest, FilesOnTheLocationBoxAreJoined) {
  struct Case {
    Qt::KeyboardModifiers keys;
    QString before;
    QString after;
  } cases[] = {
      {Qt::NoModifier, "/Docs", "/a.txt | /b.txt"},
      {Qt::ShiftModifier, "/Docs", "/Docs | /a.txt | /b.txt"},
      {Qt::ShiftModifier, "", "/a.txt | /b.txt"},
  };
  for (const Case& c : cases) {
    Box(kLocationBox)->setEditText(c.before);
    QMimeData data;
    data.setUrls(Urls({"/a.txt", "/b.txt"}));
    // File managers offer the paths as text too; the file list wins.
    data.setText("file:///a.txt\nfile:///b.txt");
    EXPECT_TRUE(Drop(data, Over(kLocationBox), c.keys));
    EXPECT_EQ(Box(kLocationBox)->currentText(), c.after) << c.before.toStdString() << " " << c.keys;
  }
}

TEST_F(SerquinDropTest, OneFileNamesTheSearchString) {
  Box(kPatternBox)->setEditText("old");
  QMimeData two;
  two.setUrls(Urls({"/x/a.txt", "/x/b.txt"}));
  Drop(two, Over(kPatternBox));
  EXPECT_EQ(Box(kPatternBox)->currentText(), "old");
  QMimeData one;
  one.setUrls(Urls({"/x/メモ.txt"}));
  Drop(one, Over(kPatternBox));
  EXPECT_EQ(Box(kPatternBox)->currentText(), "メモ.txt");
  QMimeData elsewhere;
  elsewhere.setUrls(Urls({"/x/c.txt"}));
  EXPECT_FALSE(Drop(elsewhere, Over(kFileList)));
  EXPECT_EQ(Box(kPatternBox)->currentText(), "メモ.txt");
}

// A folder whose name code page 932 cannot spell, dropped as the location, is searched under its own name.
TEST_F(SerquinDropTest, DroppedFolderCp932CannotSpellIsSearched) {
  tree_.File("한글 폴더/alpha.txt");
  QMimeData data;
  data.setUrls(Urls({QtFromNative(tree_.Path("한글 폴더")) + "/"}));
  ASSERT_TRUE(Drop(data, Over(kLocationBox)));
  EXPECT_EQ(Box(kLocationBox)->currentText(), QtFromNative(tree_.Path("한글 폴더")));
  Box(kPatternBox)->setEditText("alpha");
  for (int id : {1030, 1031, 1032}) {
    auto* kind = static_cast<QPushButton*>(Control(id));
    if (kind->isChecked() != (id == 1031)) kind->click();
  }
  QSignalSpy ended(dialog_.get(), &CSerquinDlg::SearchEnded);
  static_cast<QPushButton*>(Control(1003))->click();
  ASSERT_TRUE(ended.wait(20000));
  EXPECT_EQ(dialog_->FileList()->Count(), 1);
}

}  // namespace
